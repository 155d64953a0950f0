#include "binder.h"

#include "byte_column_line.h"
#include "rich_line.h"

#include <QApplication>
#include <QCheckBox>
#include <QFocusEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QValidator>

namespace app {

namespace {

// The box's own rule, asked before the widget takes an edit: a text the rule refuses never
// reaches the widget, not even for a moment (typed, pasted, dropped or committed by an input
// method).
class RuleValidator : public QValidator {
public:
    RuleValidator(std::function<bool(const QString&)> rule, QObject* parent)
        : QValidator(parent), m_rule(std::move(rule)) {}
    State validate(QString& text, int&) const override { return m_rule(text) ? Acceptable : Invalid; }

private:
    std::function<bool(const QString&)> m_rule;
};

} // namespace

Binder::Binder(Form& form, QObject* parent) : QObject(parent), m_form(form) {
    // Focus that moves to a widget no state machine knows (a page tab, a selector) leaves the
    // state machines without focus, so coming back runs the enter handler again.
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
        // Focus that Qt moves by itself while the state is being shown (a focused button being
        // disabled) is no event of the learner's; the state's own focus is applied after it.
        if (!m_syncing && now && !m_controls.contains(now))
            m_form.focus.setOther();
    });
}

void Binder::event(const std::function<void()>& handlers) {
    m_form.run(handlers);
    sync();
}

void Binder::sync() {
    if (m_syncing)
        return;
    m_syncing = true;
    for (const auto& s : m_syncs)
        s();
    for (const auto& s : m_extra)
        s();
    applyFocus();
    m_syncing = false;
}

void Binder::applyFocus() {
    controls::Control* c = m_form.focus.current();
    QWidget* w = c ? m_widgets.value(c) : nullptr;
    if (!w || w->hasFocus() || !w->isVisible())
        return;
    // The box's selection was shown with its text; a focus move keeps it.
    w->setFocus(Qt::OtherFocusReason);
}

void Binder::visibility(controls::Control& c, QWidget* w) {
    m_widgets.insert(&c, w);
    m_syncs.push_back([&c, w] {
        if (w->isHidden() == c.visible())
            w->setVisible(c.visible());
        if (w->isEnabled() != c.enabled())
            w->setEnabled(c.enabled());
    });
}

void Binder::focusable(controls::Control& c, QWidget* w) {
    m_widgets.insert(&c, w);
    m_controls.insert(w, &c);
    w->installEventFilter(this);
    // A control that is no tab stop for a while still takes a click; only the keyboard passes it.
    const Qt::FocusPolicy policy = w->focusPolicy();
    const auto untabbed = static_cast<Qt::FocusPolicy>(policy & ~Qt::TabFocus);
    m_syncs.push_back([&c, w, policy, untabbed] {
        const Qt::FocusPolicy want = c.tabStop() ? policy : untabbed;
        if (w->focusPolicy() != want)
            w->setFocusPolicy(want);
    });
}

void Binder::edit(controls::Edit& c, QLineEdit* w) {
    visibility(c, w);
    focusable(c, w);
    if (c.maxLength() > 0)
        w->setMaxLength(c.maxLength());
    if (c.accepts)
        w->setValidator(new RuleValidator(c.accepts, w));
    w->setText(c.text());
    connect(w, &QLineEdit::textEdited, this, [this, &c](const QString& text) { event([&] { c.edit(text); }); });
    m_syncs.push_back([&c, w] {
        if (w->text() != c.text())
            w->setText(c.text());
        // A text the box keeps selected (a wrong key letter, a code met again on Tab) is shown
        // selected, so the next key replaces it.
        if (c.allSelected() && !w->text().isEmpty() && w->selectedText() != w->text())
            w->selectAll();
    });
}

void Binder::label(controls::Label& c, QLabel* w) {
    visibility(c, w);
    w->setTextFormat(Qt::PlainText);
    m_syncs.push_back([&c, w] {
        if (w->text() != c.caption())
            w->setText(c.caption());
    });
}

void Binder::radio(controls::RadioButton& c, QRadioButton* w) {
    visibility(c, w);
    focusable(c, w);
    w->setText(c.caption());
    // The group's rule is the state machine's: a click on a checked button runs nothing.
    w->setAutoExclusive(false);
    connect(w, &QRadioButton::clicked, this, [this, &c] { event([&] { c.check(); }); });
    m_syncs.push_back([&c, w] {
        if (w->isChecked() != c.isChecked())
            w->setChecked(c.isChecked());
    });
}

void Binder::button(controls::Button& c, QPushButton* w) {
    visibility(c, w);
    focusable(c, w);
    w->setText(c.caption());
    connect(w, &QPushButton::clicked, this, [this, &c] { event([&] { c.click(); }); });
}

void Binder::checkBox(controls::CheckBox& c, QCheckBox* w) {
    visibility(c, w);
    focusable(c, w);
    w->setText(c.caption());
    connect(w, &QCheckBox::clicked, this, [this, &c] { event([&] { c.click(); }); });
    m_syncs.push_back([&c, w] {
        if (w->isChecked() != c.isChecked())
            w->setChecked(c.isChecked());
    });
}

void Binder::link(controls::Label& c, QLabel* w) {
    w->setCursor(Qt::PointingHandCursor);
    m_links.insert(w, &c);
    w->installEventFilter(this);
}

void Binder::memo(controls::Memo& c, QPlainTextEdit* w) {
    visibility(c, w);
    focusable(c, w);
    w->setTabChangesFocus(true);
    connect(w, &QPlainTextEdit::textChanged, this, [this, &c, w] {
        if (!m_syncing)
            c.edit(w->toPlainText().split(QLatin1Char('\n')));
    });
    m_syncs.push_back([this, &c, w] {
        const QString text = c.lines().join(QLatin1Char('\n'));
        if (w->toPlainText() != text) {
            const bool was = m_syncing;
            m_syncing = true;
            w->setPlainText(text);
            m_syncing = was;
        }
    });
}

void Binder::typedLine(controls::TypedLine& c, QLineEdit* w) {
    visibility(c, w);
    focusable(c, w);
    m_typedLines.insert(w, &c);
    connect(w, &QLineEdit::textEdited, this, [this, &c, w](const QString& text) {
        const int caret = w->cursorPosition();
        event([&] { c.learnerEdit(text, caret); });
    });
    connect(w, &QLineEdit::cursorPositionChanged, this, [this, &c, w](int, int now) {
        // A caret move changes no text and runs nothing. Showing the state moves the widget's
        // caret too, which is no move of the learner's.
        if (!m_syncing && w->text() == c.text())
            c.setCaret(now);
    });
    m_syncs.push_back([&c, w] {
        // Shows the line's text again: after a clear, a commit, or an edit it changed or refused.
        if (w->text() != c.text()) {
            w->setText(c.text());
            w->setCursorPosition(c.caret());
        }
    });
}

void Binder::richLine(const typing::RichLine& c, ByteColumnLine* w) {
    w->setObjectName(c.name());
    m_syncs.push_back([&c, w] { w->setText(c.text()); });
}

void Binder::timer(controls::Timer& c, QTimer* w, TickShows shows) {
    w->setInterval(c.interval());
    connect(w, &QTimer::timeout, this, [this, &c, shows] {
        if (shows == TickShows::State)
            event([&] { c.tick(); });
        else {
            m_form.run([&] { c.tick(); });
            for (const auto& show : m_tickShows.value(&c))
                show();
        }
    });
    m_syncs.push_back([&c, w] {
        // Enabling a running timer leaves its period undisturbed.
        if (c.enabled() && !w->isActive())
            w->start();
        else if (!c.enabled() && w->isActive())
            w->stop();
    });
}

bool Binder::eventFilter(QObject* watched, QEvent* ev) {
    if (controls::Label* link = m_links.value(watched)) {
        if (ev->type() == QEvent::MouseButtonRelease)
            linkReleased(*link, static_cast<QWidget*>(watched), static_cast<QMouseEvent*>(ev));
        return false;
    }
    controls::Control* c = m_controls.value(watched);
    if (!c)
        return false;
    switch (ev->type()) {
    case QEvent::FocusIn:
        focusIn(*c, watched, static_cast<QFocusEvent*>(ev)->reason());
        return false;
    case QEvent::InputMethod:
        inputMethod(watched, static_cast<QInputMethodEvent*>(ev));
        return false;
    case QEvent::KeyPress:
        return keyPress(*c, static_cast<QKeyEvent*>(ev));
    default:
        return false;
    }
}

// A left click released over the link runs its click handler.
void Binder::linkReleased(controls::Label& link, QWidget* widget, QMouseEvent* mouse) {
    if (mouse->button() == Qt::LeftButton && widget->rect().contains(mouse->position().toPoint()))
        event([&] { link.click(); });
}

void Binder::focusIn(controls::Control& c, QObject* watched, Qt::FocusReason reason) {
    if (m_syncing || m_form.focus.has(c))
        return;
    // Focus that comes back to a widget (its page shown again, the window active again, a popup
    // closed) finds it as the learner left it: a half-typed code kept, the caret after it.
    const bool back =
        reason == Qt::OtherFocusReason || reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason;
    const auto how = reason == Qt::MouseFocusReason                                     ? controls::Focus::Reason::Mouse
                     : reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason ? controls::Focus::Reason::Tab
                     : back                                                             ? controls::Focus::Reason::Back
                            : controls::Focus::Reason::Program;
    event([&] { m_form.focus.set(c, how); });
    auto* edit = dynamic_cast<controls::Edit*>(&c);
    auto* line = qobject_cast<QLineEdit*>(watched);
    if (back && edit && line && !edit->allSelected())
        line->end(false);
}

// An input method's commit is the learner's own kind of input, told apart from a key or a paste:
// it goes to the line's commit rule, and the widget sees only the rest of the event (the preedit
// it shows next).
void Binder::inputMethod(QObject* watched, QInputMethodEvent* im) {
    controls::TypedLine* line = m_typedLines.value(watched);
    if (line && !im->commitString().isEmpty() && im->replacementLength() == 0) {
        const QString committed = im->commitString();
        im->setCommitString(QString());
        event([&] { line->commit(committed); });
    }
}

// A character key (or Escape) goes to the control's key handler; true when the handler swallowed
// it, which keeps it from the widget.
bool Binder::keyPress(controls::Control& c, QKeyEvent* key) {
    QChar ch = key->key() == Qt::Key_Escape ? QChar(27) : key->text().isEmpty() ? QChar() : key->text().at(0);
    if (ch.isNull() || !c.onKeyPress)
        return false;
    event([&] { c.keyPress(ch); });
    return ch.isNull();
}

} // namespace app
