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

void Edit::edit(const QString& t) {
    if (m_maxLength > 0 && t.size() > m_maxLength && t.size() > m_text.size())
        return; // the box refuses what would take it past its maximum length
    setText(t);
}

bool Edit::type(QChar c) {
    if (m_allSelected) {
        setText(QString(c));
        return true;
    }
    if (m_maxLength > 0 && m_text.size() >= m_maxLength)
        return false;
    setText(m_text + c);
    return true;
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
    c.focusReceived(reason == Reason::Mouse);
    if (c.onEnter)
        c.onEnter();
}

void Focus::next(const std::vector<Control*>& tabOrder) {
    const auto it = std::find(tabOrder.begin(), tabOrder.end(), m_current);
    if (it == tabOrder.end())
        return;
    const std::size_t start = static_cast<std::size_t>(it - tabOrder.begin());
    for (std::size_t i = 1; i < tabOrder.size(); ++i) {
        Control* c = tabOrder[(start + i) % tabOrder.size()];
        if (c->canFocus()) {
            set(*c, Reason::Tab);
            return;
        }
    }
}

QString nextNumber(const QString& counterText) {
    bool ok = false;
    const qlonglong n = counterText.trimmed().toLongLong(&ok);
    return QString::number((ok ? n : 0) + 1);
}

} // namespace controls
