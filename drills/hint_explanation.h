#pragma once
// What an explanation strip under a drill's hint shows: the explanation of the code the hint has in
// view, from an explainer of cf.db of its own. The drill that owns it says what is in view (the
// target whose code the hint shows and that code, or no target while the hint shows none); the
// window asks again after every event (update) and hands on, once, each fault of the table the
// explainer met (takeNewFaults).

#include "code_explainer.h"

#include <QList>
#include <QString>

#include <functional>
#include <optional>

namespace drills {

class HintExplanation {
public:
    enum class Of { Character, Phrase };
    struct InView {
        QString target; // empty: the hint shows no code
        QString code;   // as the hint shows it
    };
    // `folder` gives the data folder when the explainer is first needed (a drill's tables may not
    // be open yet when it is made).
    HintExplanation(Of of, std::function<QString()> folder, std::function<InView()> inView);

    void update();
    const Explanation& current() const { return m_current; }
    QList<lexicon::TableError> takeNewFaults();

private:
    Of m_of;
    std::function<QString()> m_folder;
    std::function<InView()> m_inView;
    std::optional<CodeExplainer> m_explainer;
    Explanation m_current;
    InView m_last; // what m_current explains
    bool m_asked = false;
};

} // namespace drills
