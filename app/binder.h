#pragma once
// Ties the widget-free controls to their widgets. What the learner does (an edit, a click, a key,
// a focus move, a timer tick) is handed to the state machines as one event; after every event the
// whole state is shown again. Widgets never hold state of their own.

#include "controls.h"
#include "form.h"

#include <QHash>
#include <QObject>

#include <functional>
#include <vector>

class QCheckBox;
class QInputMethodEvent;
class QKeyEvent;
class QMouseEvent;
class QLabel;
class QPushButton;
class QLineEdit;
class QPlainTextEdit;
class QRadioButton;
class QTimer;
class QWidget;

namespace typing {
class RichLine;
}

namespace app {

class ByteColumnLine;

class Binder : public QObject {
public:
    Binder(Form& form, QObject* parent);

    // Runs the handlers of one event at the event boundary, then shows the state again.
    void event(const std::function<void()>& handlers);
    // Shows the state: texts, captions, checks, visibility, enabled states, the focus.
    void sync();

    void edit(controls::Edit& control, QLineEdit* widget);
    void label(controls::Label& control, QLabel* widget);
    void radio(controls::RadioButton& control, QRadioButton* widget);
    void button(controls::Button& control, QPushButton* widget);
    void checkBox(controls::CheckBox& control, QCheckBox* widget);
    // A label the learner clicks like a link: hand cursor, and a click runs its click handler.
    void link(controls::Label& control, QLabel* widget);
    void memo(controls::Memo& control, QPlainTextEdit* widget);
    // A typed line with the input method on: the learner's edits go to the line, which may refuse
    // them, and its caret follows the widget's.
    void typedLine(controls::TypedLine& control, QLineEdit* widget);
    // A passage or mark line of the typing test, shown in byte columns.
    void richLine(const typing::RichLine& control, ByteColumnLine* widget);
    // A timer's tick is an event; one whose handler shows nothing can skip showing the state.
    enum class TickShows { State, Nothing };
    void timer(controls::Timer& control, QTimer* widget, TickShows shows = TickShows::State);
    // Visibility and enabled state only (pictures, panels).
    void visibility(controls::Control& control, QWidget* widget);
    // A control that takes the focus: its enter handler runs when its widget receives the focus,
    // and character keys reach its key handler.
    void focusable(controls::Control& control, QWidget* widget);
    // Extra showing done after every event (panel colours, a label sized to its caption).
    void onSync(std::function<void()> show) { m_extra.push_back(std::move(show)); }
    // What a tick of a timer bound with TickShows::Nothing does show.
    void onTick(const controls::Timer& control, std::function<void()> show) {
        m_tickShows[&control].push_back(std::move(show));
    }

    QWidget* widgetOf(const controls::Control& control) const { return m_widgets.value(&control); }
    // True while the state is being shown: a focus move Qt makes by itself then is none of the
    // learner's.
    bool syncing() const { return m_syncing; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void applyFocus();
    // The four kinds of event the binder takes from its widgets.
    void linkReleased(controls::Label& link, QWidget* widget, QMouseEvent* mouse);
    void focusIn(controls::Control& c, QObject* watched, Qt::FocusReason reason);
    void inputMethod(QObject* watched, QInputMethodEvent* im);
    bool keyPress(controls::Control& c, QKeyEvent* key);

    Form& m_form;
    std::vector<std::function<void()>> m_syncs;
    std::vector<std::function<void()>> m_extra;
    QHash<const controls::Control*, QWidget*> m_widgets;
    QHash<QObject*, controls::Control*> m_controls;
    QHash<QObject*, controls::TypedLine*> m_typedLines;
    QHash<QObject*, controls::Label*> m_links;
    QHash<const controls::Timer*, std::vector<std::function<void()>>> m_tickShows;
    bool m_syncing = false;
};

} // namespace app
