#pragma once
// The strip under the hint's code that explains it, on the single-character and phrase drill
// pages. It only reads what the drills show (the hint's text and whether the hint is shown) after
// every event, and looks the explanation up itself: no drill chain knows of it.

#include "code_explainer.h"

#include <QHash>
#include <QPixmap>
#include <QWidget>

class QLabel;

namespace app {

class Binder;
class Form;

// Columns of a root (or a stroke, a character, a reason) over its letters, centred in the strip.
class ExplanationStrip : public QWidget {
public:
    ExplanationStrip(QWidget* parent, const QRect& geometry, int topPixels);
    void setExplanation(const drills::Explanation& e);
    const drills::Explanation& explanation() const { return m_explanation; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int widthOf(const drills::ExplanationCell& cell) const;
    const QPixmap& picture(int number);

    drills::Explanation m_explanation;
    QFont m_topFont;
    QFont m_reasonFont;
    QFont m_letterFont;
    int m_topPixels;
    QHash<int, QPixmap> m_pictures;
};

// Under the single-character drill's hint code (panel `Panel13`), in `geometry` of `column`.
ExplanationStrip* addCharacterExplanation(QWidget* column, const QRect& geometry, Form& form, Binder& binder);
// In the phrase drill's hint panel `Panel16`, in `geometry` (above the code, in the room the
// phrase's first two lines leave).
ExplanationStrip* addPhraseExplanation(QWidget* panel16, const QRect& geometry, Form& form, Binder& binder);

} // namespace app
