#pragma once
// Control state with the window's rules, free of widgets.
//
// Every page's state machine is built from these objects. The rules they carry are the ones the
// chains of handlers depend on:
//  - assigning a different text runs the change handler at once, nested, before the assigning code
//    goes on; assigning the same text runs nothing;
//  - clearing a single-line box always runs its change handler, even when it was empty;
//  - clearing a typed line (TypedLine) from a handler runs nothing;
//  - checking an unchecked radio button unchecks the rest of its group, then runs its click
//    handler; checking a checked one, or unchecking, runs nothing;
//  - clicking a button by program runs its click handler;
//  - moving the focus runs the enter handler of the control that receives it, unless it already
//    had the focus; a box that receives the focus other than by a mouse click selects its text.
//
// Views read this state after every event and show it; they never hold state of their own.

#include <QString>
#include <QStringList>

#include <algorithm>
#include <functional>
#include <memory>
#include <vector>

namespace controls {

using Handler = std::function<void()>;

class Focus;

// What every control has: a name (the objectName of its widget), visibility, enabled state and an
// enter handler that runs when it receives the focus.
class Control {
public:
    explicit Control(QString name) : m_name(std::move(name)) {}
    virtual ~Control() = default;
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    const QString& name() const { return m_name; }

    bool visible() const { return m_visible; }
    void setVisible(bool v) { m_visible = v; }
    void show() { m_visible = true; }
    void hide() { m_visible = false; }

    bool enabled() const { return m_enabled; }
    void setEnabled(bool e) { m_enabled = e; }

    // Whether Tab and Enter stop here (hidden and disabled controls never take the focus).
    bool tabStop() const { return m_tabStop; }
    void setTabStop(bool t) { m_tabStop = t; }
    bool canFocus() const { return m_visible && m_enabled && m_tabStop; }

    Handler onEnter;

    // A character key that reaches the control (Esc is 27). The handler may change the key;
    // setting it to 0 swallows it.
    std::function<void(QChar&)> onKeyPress;
    void keyPress(QChar& key) {
        if (onKeyPress)
            onKeyPress(key);
    }

protected:
    // Called when the control receives the focus, before the enter handler.
    // `select`: the focus arrived by Tab or by program, not by a click or by coming back.
    virtual void focusReceived(bool select) { (void)select; }
    friend class Focus;

private:
    QString m_name;
    bool m_visible = true;
    bool m_enabled = true;
    bool m_tabStop = true;
};

// A caption and a click handler. As a label (labels, panels, the hint code) its caption runs
// nothing when it changes, and one the learner can click (a link) runs its click handler; as a
// button its click handler runs when clicked by the learner or by program.
class Captioned : public Control {
public:
    using Control::Control;
    const QString& caption() const { return m_caption; }
    void setCaption(const QString& c) { m_caption = c; }
    void click() {
        if (onClick)
            onClick();
    }
    Handler onClick;

private:
    QString m_caption;
};
using Label = Captioned;
using Button = Captioned;

// A single-line entry box.
class Edit : public Control {
public:
    using Control::Control;

    const QString& text() const { return m_text; }

    // Assignment by program or by the learner: runs the change handler when the text differs.
    void setText(const QString& t);
    // Clearing always runs the change handler, even when the box was already empty.
    void clear();

    // At most this many characters may be typed (0: no limit). Assignment by program is not cut.
    int maxLength() const { return m_maxLength; }
    void setMaxLength(int n) { m_maxLength = n; }

    // Letters the learner types arrive in upper case (assignment by program is not changed).
    bool upperCase() const { return m_upperCase; }
    void setUpperCase(bool u) { m_upperCase = u; }

    // True while the whole text is selected, so that the next keystroke replaces it.
    bool allSelected() const { return m_allSelected; }
    void setAllSelected(bool s) { m_allSelected = s; }

    // The learner's edit as a view reports it: the box now holds `t` (in upper case if the box
    // turns letters so), unless that would take it past its maximum length or the box's own rule
    // refuses it (then nothing changes and the view shows the box's text again). Returns whether
    // it was taken.
    bool edit(const QString& t);
    // Types one character as the learner would: it replaces a selected text, otherwise it is
    // appended; refused as edit() refuses. Returns whether it was taken.
    bool type(QChar c);
    // Backspace at the end of the text (or over a selected text).
    void backspace();

    Handler onChange;
    // The box's rule for what the learner may leave in it (none: anything). Assignment by program
    // is not checked.
    std::function<bool(const QString&)> accepts;

protected:
    void focusReceived(bool select) override { m_allSelected = select && !m_text.isEmpty(); }

private:
    void changed();
    QString m_text;
    int m_maxLength = 0;
    bool m_upperCase = false;
    bool m_allSelected = false;
};

class RadioButton;

// The radio buttons of one parent: checking one unchecks the others.
class RadioGroup {
public:
    void add(RadioButton* b) { m_buttons.push_back(b); }
    const std::vector<RadioButton*>& buttons() const { return m_buttons; }
    RadioButton* checked() const;

private:
    std::vector<RadioButton*> m_buttons;
};

class RadioButton : public Control {
public:
    RadioButton(QString name, QString caption, RadioGroup& group);

    const QString& caption() const { return m_caption; }
    bool isChecked() const { return m_checked; }

    // Checking by program or by a learner's click: runs nothing when already checked; otherwise
    // unchecks the rest of the group, then runs the click handler.
    void check();
    // Unchecking runs nothing.
    void uncheck() { m_checked = false; }

    Handler onClick;

private:
    QString m_caption;
    RadioGroup& m_group;
    bool m_checked = false;
};

class CheckBox : public Control {
public:
    CheckBox(QString name, QString caption) : Control(std::move(name)), m_caption(std::move(caption)) {}
    const QString& caption() const { return m_caption; }
    bool isChecked() const { return m_checked; }
    // A learner's click toggles the mark, then runs the click handler.
    void click() {
        m_checked = !m_checked;
        if (onClick)
            onClick();
    }
    Handler onClick;

private:
    QString m_caption;
    bool m_checked = false;
};

// A timer is its enabled state plus a tick; the view owns the real timer and calls tick().
class Timer {
public:
    explicit Timer(QString name, int intervalMs, bool enabled)
        : m_name(std::move(name)), m_interval(intervalMs), m_enabled(enabled) {}
    const QString& name() const { return m_name; }
    int interval() const { return m_interval; }
    bool enabled() const { return m_enabled; }
    // Enabling a running timer leaves it running; disabling a stopped one does nothing.
    void setEnabled(bool e) { m_enabled = e; }
    // A tick of a disabled timer is never delivered.
    void tick() {
        if (m_enabled && onTimer)
            onTimer();
    }
    // The free integer every timer carries.
    int tag = 0;
    Handler onTimer;

private:
    QString m_name;
    int m_interval;
    bool m_enabled;
};

// The one focus of the window.
class Focus {
public:
    // Back: the focus returns to the control that had it when its page was left or the window
    // lost the focus; the control is found as the learner left it (a half-typed code kept as it
    // was, selected only if it was).
    enum class Reason { Program, Tab, Mouse, Back };

    Control* current() const { return m_current; }
    bool has(const Control& c) const { return m_current == &c; }

    // Gives `c` the focus and runs its enter handler, unless it already has the focus. Giving the
    // focus to a control that cannot take it (hidden or disabled) does nothing.
    void set(Control& c, Reason reason = Reason::Program);
    // The focus went to something the state machines do not know (a page tab, a selector).
    void setOther() { m_current = nullptr; }

    // While one of `range` has the focus, Tab and Enter move it only within `range`, in its order,
    // and go no further than its ends: a typing run keeps the keyboard in its typed lines, where a
    // stray Enter can never reach a button that ends the run. Elsewhere the window's tab order
    // decides. A mouse click still moves the focus anywhere. An empty range lifts the rule.
    void setTabRange(std::vector<Control*> range) { m_tabRange = std::move(range); }
    const std::vector<Control*>& tabRange() const { return m_tabRange; }
    // Where Tab (forward) or Shift+Tab takes the focus from within the range (possibly where it
    // is); null when the range does not hold the focus.
    Control* tabTarget(bool forward) const;

private:
    Control* m_current = nullptr;
    std::vector<Control*> m_tabRange;
};

// A multi-line box that shows one typed line (the typing test). Unlike Edit, clearing it from a
// handler runs nothing: its change handler runs for the learner's own edits only.
class TypedLine : public Control {
public:
    using Control::Control;
    const QString& text() const { return m_text; }
    // Caret position in characters (QChar units) of text().
    int caret() const { return m_caret; }
    void clear() {
        m_text.clear();
        m_caret = 0;
    }
    // The line now holds `t` with the caret at `caret`; runs the change handler when the text
    // differs.
    void edit(const QString& t, int caret) {
        const bool differs = t != m_text;
        m_text = t;
        m_caret = std::clamp(caret, 0, static_cast<int>(m_text.size()));
        if (differs && onChange)
            onChange();
    }
    // The learner's input as the view tells it apart, handled by the page's rules when it has them:
    // an edit that leaves the line holding `t` with the caret at `caret` (a key, a paste, a
    // deletion), and an input method's commit of one or more characters at the caret. Without a
    // rule the edit is taken as it is and the commit is one such edit.
    void learnerEdit(const QString& t, int caret) {
        if (onLearnerEdit)
            onLearnerEdit(t, caret);
        else
            edit(t, caret);
    }
    void commit(const QString& s) {
        if (onCommit)
            onCommit(s);
        else
            edit(QString(m_text).insert(m_caret, s), m_caret + static_cast<int>(s.size()));
    }
    void setCaret(int c) { m_caret = std::clamp(c, 0, static_cast<int>(m_text.size())); }
    Handler onChange;
    std::function<void(const QString&, int)> onLearnerEdit;
    std::function<void(const QString&)> onCommit;

private:
    QString m_text;
    int m_caret = 0;
};

// A multi-line box read and written line by line (the rules memos). Writing a line the box no
// longer has (the learner may have deleted lines) is skipped.
class Memo : public Control {
public:
    Memo(QString name, QStringList lines) : Control(std::move(name)), m_lines(std::move(lines)) {}
    const QStringList& lines() const { return m_lines; }
    void setLine(int index, const QString& text) {
        if (index >= 0 && index < m_lines.size())
            m_lines[index] = text;
    }
    // The learner's edit as a view reports it.
    void edit(const QStringList& lines) { m_lines = lines; }

private:
    QStringList m_lines;
};

// A family of like controls numbered from `first` (Ed1 ... Ed15, Memo3 ... Memo6), named from the
// family and the number. `make(n)` builds member n.
template <class T> class Family {
public:
    template <class Make> Family(int count, Make make, int first = 1) : m_first(first) {
        m_items.reserve(static_cast<std::size_t>(count));
        for (int n = first; n < first + count; ++n)
            m_items.push_back(make(n));
    }
    T& operator[](int n) { return *m_items.at(index(n)); }
    const T& operator[](int n) const { return *m_items.at(index(n)); }
    int size() const { return static_cast<int>(m_items.size()); }
    int first() const { return m_first; }
    int last() const { return m_first + size() - 1; }

private:
    std::size_t index(int n) const { return static_cast<std::size_t>(n - m_first); }
    int m_first;
    std::vector<std::unique_ptr<T>> m_items;
};

// The usual maker: members named prefix + number, built from the name alone.
template <class T> auto named(const QString& prefix) {
    return [prefix](int n) { return std::make_unique<T>(prefix + QString::number(n)); };
}

} // namespace controls
