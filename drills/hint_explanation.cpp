#include "hint_explanation.h"

#include <utility>

namespace drills {

HintExplanation::HintExplanation(Of of, std::function<QString()> folder, std::function<InView()> inView)
    : m_of(of), m_folder(std::move(folder)), m_inView(std::move(inView)) {}

void HintExplanation::update() {
    const InView v = m_inView();
    if (v.target.isEmpty() && !m_explainer) {
        m_current = {};
        return;
    }
    if (!m_explainer)
        m_explainer.emplace(m_folder());
    m_current =
        m_of == Of::Character ? m_explainer->character(v.target, v.code) : m_explainer->phrase(v.target, v.code);
}

QList<lexicon::TableError> HintExplanation::takeNewFaults() {
    return m_explainer ? m_explainer->takeNewFaults() : QList<lexicon::TableError>();
}

} // namespace drills
