#pragma once
// Widget helpers more than one page uses.

#include <QColor>
#include <QFont>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QRect>
#include <QString>

#include <functional>
#include <utility>

class QRadioButton;

namespace controls {
class Captioned;
using Label = Captioned;
class Memo;
class RadioButton;
} // namespace controls

namespace app {

class Binder;

// The window's colours: the light system colours the layout was drawn for, whatever the desktop's
// theme. The pictures, the blue and yellow texts and the white map panel are made for them; under
// a dark theme the window would mix dark system colours with those, and lose its contrast.
const QPalette& lightPalette();

// The system colours the layout names, from lightPalette().
QColor buttonFace();
QColor buttonShadow();
QColor windowText();
QColor scrollBar();
inline const QColor kSkyBlue(0xA6, 0xCA, 0xF0);
inline const QColor kBlue(0x00, 0x00, 0xFF);
inline const QColor kYellow(0xFF, 0xFF, 0x00);

// Places a new widget of type W on `parent` with an objectName and a geometry.
template <class W, class... Args>
W* place(QWidget* parent, const QString& name, const QRect& geometry, Args&&... args) {
    auto* w = new W(std::forward<Args>(args)..., parent);
    w->setObjectName(name);
    w->setGeometry(geometry);
    return w;
}

// A bevelled panel: raised or lowered outer and inner bevels of one pixel each.
enum class Bevel { None, Raised, Lowered };
QFrame* panel(QWidget* parent, const QString& name, const QRect& geometry, Bevel outer, Bevel inner);
// A panel with a caption drawn centred.
QLabel* captionPanel(QWidget* parent, const QString& name, const QRect& geometry, Bevel outer, Bevel inner);

void setColours(QWidget* w, const QColor& text, const QColor& background = QColor());

// What a control is, in words, for screen readers and anything else that reads the window from
// outside, where the control's own text does not already say it (a code box, a picture, the hint
// panel): given where the view creates the widget. A label, a panel caption or a drawn line shows
// its content as its name, so what it is becomes its description.
template <class W> W* named(W* w, const QString& name) {
    w->setAccessibleName(name);
    return w;
}
template <class W> W* described(W* w, const QString& description) {
    w->setAccessibleDescription(description);
    return w;
}

// An entry box for Wubi codes: plain letters even while a Chinese input method is active.
class CodeEdit : public QLineEdit {
public:
    explicit CodeEdit(QWidget* parent = nullptr);
    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;
};

// A code box: black Song letters of `pixelSize` on white.
CodeEdit* codeBox(QWidget* parent, const QString& name, const QRect& geometry, int pixelSize,
                  Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter);

// The hint column's two options (show the hint, hide it), one above the other on a lowered frame.
void hintColumnOptions(QWidget* column, const QString& frameName, const QRect& geometry, controls::RadioButton& on,
                       controls::RadioButton& off, Binder& binder);

// A category choice of a slot drill: a click, even on the category already chosen, leaves the
// focus where the drill puts it (the code box), so the letters typed next are not lost; Tab still
// reaches it.
void categoryOption(QRadioButton* option);

// The notice a slot drill shows at a code box that holds capitals, bound to `notice`: drawn over
// what lies under the box, its left edge at the box's (kept inside `parent`), just below it.
// `boxAt(where)` gives the geometry, in `parent`, of the box the drill says it stands at.
// The line on a wrong code is shown the same way, named `said` for screen readers.
void capitalsNotice(QWidget* parent, controls::Label& notice, std::function<int()> where,
                    std::function<QRect(int)> boxAt, Binder& binder, const QString& said = QStringLiteral("大写提醒"));

// The rules memo of a slot drill page, bound to `memo`: its lines in the Song face, unwrapped, on
// the panel's colour.
void rulesMemo(QWidget* parent, controls::Memo& memo, const QRect& geometry, Binder& binder);

// A title over its shadow: two labels of one font, the shadow made first so that the title lies
// over it, each in its colour on no background. Gives the shadow's label and the title's.
struct TitleLayer {
    controls::Label& control;
    QRect geometry;
    QColor colour;
};
std::pair<QLabel*, QLabel*> shadowedTitle(QWidget* parent, const TitleLayer& shadow, const TitleLayer& title,
                                          const QFont& font, Binder& binder);

// Where the learner is in a drill's cycle ("第 3 批，共 12 批"), as `text` gives it after every event,
// in a small label named `name`; hidden while the text is empty.
QLabel* positionLabel(QWidget* parent, const QString& name, const QRect& geometry, std::function<QString()> text,
                      Binder& binder, Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter);

// A picture compiled into the program, decoded the first time it is shown, so that start-up
// decodes only what is in view.
class Picture : public QLabel {
public:
    Picture(QWidget* parent, const QString& name, const QRect& geometry, QString resource);

    // Takes the size of its picture once decoded, keeping its top-left corner.
    void setSizedToPicture(bool fit) { m_sizedToPicture = fit; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    QString m_resource;
    bool m_sizedToPicture = false;
};

} // namespace app
