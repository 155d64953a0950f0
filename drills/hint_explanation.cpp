#include "hint_explanation.h"

#include <utility>

namespace drills {

HintExplanation::HintExplanation(Of of, std::function<QString()> folder, std::function<InView()> inView)
    : m_of(of), m_folder(std::move(folder)), m_inView(std::move(inView)) {}

void HintExplanation::update() {
    InView v = m_inView();
    // Asked after every event, a timer's tick too: the same target under the same code is
    // explained as before.
    if (m_asked && v.target == m_last.target && v.code == m_last.code)
        return;
    m_asked = true;
    m_last = std::move(v);
    if (m_last.target.isEmpty() && !m_explainer) {
        m_current = {};
        return;
    }
    if (!m_explainer)
        m_explainer.emplace(m_folder());
    m_current = m_of == Of::Character ? m_explainer->character(m_last.target, m_last.code)
                                      : m_explainer->phrase(m_last.target, m_last.code);
}

QList<lexicon::TableError> HintExplanation::takeNewFaults() {
    return m_explainer ? m_explainer->takeNewFaults() : QList<lexicon::TableError>();
}

} // namespace drills
