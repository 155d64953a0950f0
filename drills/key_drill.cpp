#include "key_drill.h"

#include "counter.h"
#include "schema.h"

namespace drills {

KeyDrill::KeyDrill(Controls c, QLatin1String keys, std::function<void(int)> showItem)
    : m_c(c), m_keys(keys), m_showItem(std::move(showItem)) {
    m_c.counter.hide();
    m_c.advance.hide();
    if (m_c.hideAll)
        m_c.hideAll->hide();
    m_c.entry.setMaxLength(1);
    m_c.entry.setUpperCase(true);
    m_c.entry.accepts = isKeyText;
}

int KeyDrill::item() const {
    // Only the plain decimal of an item number names it: "01" or " 1" load nothing.
    const QString& text = m_c.counter.text();
    bool ok = false;
    const int n = text.toInt(&ok);
    return ok && n >= 1 && n <= items() && QString::number(n) == text ? n : 0;
}

void KeyDrill::counterChange() {
    if (const int n = item()) {
        m_c.answer.setCaption(QString(key(n)));
        m_showItem(n);
    }
    if (m_c.counter.text() == QString::number(items() + 1))
        m_c.counter.setText(QStringLiteral("1"));
}

void KeyDrill::entryChange() {
    // The empty text never accepts: clearing the box runs this again, and must end there.
    if (!m_c.entry.text().isEmpty() && m_c.entry.text() == m_c.answer.caption()) {
        if (m_c.hideAll)
            m_c.hideAll->click();
        m_c.entry.setAllSelected(true);
        m_c.entry.clear();
        m_c.advance.click();
    } else {
        m_c.entry.setAllSelected(true);
    }
}

void KeyDrill::advanceClick() {
    m_c.counter.setText(nextNumber(m_c.counter.text()));
}

bool KeyDrill::isKeyText(const QString& text) {
    if (text.isEmpty())
        return true;
    return text.size() == 1 && lexicon::schema::isLetterKey(text.at(0));
}

} // namespace drills
