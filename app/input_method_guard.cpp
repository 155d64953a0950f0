#include "input_method_guard.h"

#include "schema.h"

#include <QInputMethodEvent>

#include <algorithm>

namespace app {

namespace {

bool isCodeLetters(const QString& text) {
    return !text.isEmpty() && std::all_of(text.begin(), text.end(),
                                          [](QChar c) { return lexicon::schema::isLetterKey(c) && c.isLower(); });
}

} // namespace

bool InputMethodGuard::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::InputMethod)
        return false;
    auto* im = static_cast<QInputMethodEvent*>(event);
    const bool showsPreedit = watched == m_preeditOwner && !m_preedit.isEmpty();
    if (isCodeLetters(im->commitString()) && !watched->property(kTakesCodeLetters).toBool()) {
        im->setCommitString(QString());
        m_echo.clear();
    } else if (!im->commitString().isEmpty()) {
        if (!showsPreedit && im->commitString() == m_echo) {
            im->setCommitString(QString());
            m_echo.clear();
        } else {
            m_echo = showsPreedit ? m_preedit : QString();
        }
    } else if (!im->preeditString().isEmpty()) {
        m_echo.clear();
    }
    // Every input-method event replaces the preedit its box shows.
    if (!im->preeditString().isEmpty()) {
        m_preeditOwner = watched;
        m_preedit = im->preeditString();
    } else if (watched == m_preeditOwner) {
        m_preedit.clear();
    }
    return false;
}

} // namespace app
