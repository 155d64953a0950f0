#include "controls.h"

#include <algorithm>

namespace controls {

void Edit::changed() {
    if (onChange)
        onChange();
}

void Edit::setText(const QString& t) {
    if (t == m_text)
        return;
    m_text = t;
    m_allSelected = false;
    changed();
}

void Edit::clear() {
    m_text.clear();
    m_allSelected = false;
    changed();
}

bool Edit::edit(const QString& typed) {
    const QString t = m_upperCase ? typed.toUpper() : typed;
    if (m_maxLength > 0 && t.size() > m_maxLength && t.size() > m_text.size())
        return false; // the box refuses what would take it past its maximum length
    if (accepts && !accepts(t))
        return false;
    setText(t);
    return true;
}

bool Edit::type(QChar c) {
    return edit(m_allSelected ? QString(c) : m_text + c);
}

void Edit::backspace() {
    if (m_allSelected) {
        setText(QString());
        return;
    }
    if (!m_text.isEmpty())
        setText(m_text.left(m_text.size() - 1));
}

RadioButton* RadioGroup::checked() const {
    for (RadioButton* b : m_buttons)
        if (b->isChecked())
            return b;
    return nullptr;
}

RadioButton::RadioButton(QString name, QString caption, RadioGroup& group)
    : Control(std::move(name)), m_caption(std::move(caption)), m_group(group) {
    m_group.add(this);
}

void RadioButton::check() {
    if (m_checked)
        return;
    for (RadioButton* b : m_group.buttons())
        b->m_checked = false;
    m_checked = true;
    if (onClick)
        onClick();
}

void Focus::set(Control& c, Reason reason) {
    if (m_current == &c || !c.visible() || !c.enabled())
        return;
    m_current = &c;
    if (reason != Reason::Back)
        c.focusReceived(reason != Reason::Mouse);
    if (c.onEnter)
        c.onEnter();
}

Control* Focus::tabTarget(bool forward) const {
    const auto at = std::find(m_tabRange.begin(), m_tabRange.end(), m_current);
    if (m_current == nullptr || at == m_tabRange.end())
        return nullptr;
    if (forward) {
        for (auto next = at + 1; next != m_tabRange.end(); ++next)
            if ((*next)->canFocus())
                return *next;
    } else {
        for (auto previous = at; previous != m_tabRange.begin();)
            if ((*--previous)->canFocus())
                return *previous;
    }
    return m_current;
}

} // namespace controls
