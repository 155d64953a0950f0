#include "widgets.h"

#include "binder.h"
#include "fonts.h"

#include <QApplication>
#include <QFile>
#include <QPainter>
#include <QPalette>
#include <QPlainTextEdit>
#include <QRadioButton>

#include <algorithm>

namespace app {

const QPalette& lightPalette() {
    static const QPalette palette = [] {
        QPalette p;
        const struct {
            QPalette::ColorRole role;
            QRgb normal;
            QRgb disabled;
        } colours[] = {
            {QPalette::WindowText, 0xff000000, 0xffbebebe},    {QPalette::Button, 0xffefefef, 0xffefefef},
            {QPalette::Light, 0xffffffff, 0xffffffff},         {QPalette::Midlight, 0xffcacaca, 0xffcacaca},
            {QPalette::Dark, 0xff9f9f9f, 0xffbebebe},          {QPalette::Mid, 0xffb8b8b8, 0xffb8b8b8},
            {QPalette::Text, 0xff000000, 0xffbebebe},          {QPalette::BrightText, 0xffffffff, 0xffffffff},
            {QPalette::ButtonText, 0xff000000, 0xffbebebe},    {QPalette::Base, 0xffffffff, 0xffefefef},
            {QPalette::Window, 0xffefefef, 0xffefefef},        {QPalette::Shadow, 0xff767676, 0xffb1b1b1},
            {QPalette::Highlight, 0xff308cc6, 0xff919191},     {QPalette::HighlightedText, 0xffffffff, 0xffffffff},
            {QPalette::Link, 0xff0000ff, 0xff0000ff},          {QPalette::LinkVisited, 0xffff00ff, 0xffff00ff},
            {QPalette::AlternateBase, 0xfff7f7f7, 0xfff7f7f7}, {QPalette::ToolTipBase, 0xffffffdc, 0xffffffdc},
            {QPalette::ToolTipText, 0xff000000, 0xff000000},   {QPalette::PlaceholderText, 0x80000000, 0x80000000},
        };
        // Every role of every group is set, so nothing of a desktop theme shows through, not even
        // after the desktop switches theme while the program runs.
        for (const auto& c : colours) {
            p.setColor(QPalette::Active, c.role, QColor::fromRgba(c.normal));
            p.setColor(QPalette::Inactive, c.role, QColor::fromRgba(c.normal));
            p.setColor(QPalette::Disabled, c.role, QColor::fromRgba(c.disabled));
        }
        return p;
    }();
    return palette;
}

QColor buttonFace() {
    return lightPalette().color(QPalette::Button);
}
QColor buttonShadow() {
    // Darker than the bevels' shadow: the accepted characters are yellow on it, and read at 5:1.
    return QColor(0x69, 0x69, 0x69);
}
QColor windowText() {
    return lightPalette().color(QPalette::WindowText);
}
QColor scrollBar() {
    return QColor(0xC8, 0xC8, 0xC8);
}

namespace {

// Draws one-pixel bevels in the manner of the classic raised and lowered panels: outer first.
void drawBevels(QWidget* w, Bevel outer, Bevel inner) {
    QPainter p(w);
    const QColor light = w->palette().color(QPalette::Light);
    const QColor dark = w->palette().color(QPalette::Dark);
    QRect r = w->rect();
    for (Bevel b : {outer, inner}) {
        if (b == Bevel::None)
            continue;
        p.setPen(b == Bevel::Raised ? light : dark);
        p.drawLine(r.topLeft(), r.topRight());
        p.drawLine(r.topLeft(), r.bottomLeft());
        p.setPen(b == Bevel::Raised ? dark : light);
        p.drawLine(r.bottomLeft(), r.bottomRight());
        p.drawLine(r.topRight(), r.bottomRight());
        r.adjust(1, 1, -1, -1);
    }
}

template <class Base> class Bevelled : public Base {
public:
    Bevelled(Bevel outer, Bevel inner, QWidget* parent) : Base(parent), m_outer(outer), m_inner(inner) {}

protected:
    void paintEvent(QPaintEvent* e) override {
        Base::paintEvent(e);
        drawBevels(this, m_outer, m_inner);
    }

private:
    Bevel m_outer;
    Bevel m_inner;
};

} // namespace

QFrame* panel(QWidget* parent, const QString& name, const QRect& geometry, Bevel outer, Bevel inner) {
    auto* f = new Bevelled<QFrame>(outer, inner, parent);
    f->setObjectName(name);
    f->setGeometry(geometry);
    return f;
}

QLabel* captionPanel(QWidget* parent, const QString& name, const QRect& geometry, Bevel outer, Bevel inner) {
    auto* l = new Bevelled<QLabel>(outer, inner, parent);
    l->setObjectName(name);
    l->setGeometry(geometry);
    l->setAlignment(Qt::AlignCenter);
    l->setTextFormat(Qt::PlainText);
    return l;
}

void setColours(QWidget* w, const QColor& text, const QColor& background) {
    QPalette pal = w->palette();
    // The disabled group keeps the desktop's greyed text, so a disabled control looks disabled.
    for (auto group : {QPalette::Active, QPalette::Inactive})
        for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
            pal.setColor(group, role, text);
    if (background.isValid()) {
        pal.setColor(QPalette::Window, background);
        pal.setColor(QPalette::Base, background);
        w->setAutoFillBackground(true);
    }
    w->setPalette(pal);
}

CodeEdit::CodeEdit(QWidget* parent) : QLineEdit(parent) {
    setAttribute(Qt::WA_InputMethodEnabled, false);
}

QVariant CodeEdit::inputMethodQuery(Qt::InputMethodQuery query) const {
    // The attribute alone does not keep an active input method away; answering "not enabled"
    // does, so the learner's letters arrive as letters.
    if (query == Qt::ImEnabled)
        return false;
    return QLineEdit::inputMethodQuery(query);
}

CodeEdit* codeBox(QWidget* parent, const QString& name, const QRect& geometry, int pixelSize, Qt::Alignment alignment) {
    auto* box = place<CodeEdit>(parent, name, geometry);
    box->setFont(fonts::code(pixelSize));
    box->setAlignment(alignment);
    setColours(box, Qt::black, Qt::white);
    return box;
}

void hintColumnOptions(QWidget* column, const QString& frameName, const QRect& geometry, controls::RadioButton& on,
                       controls::RadioButton& off, Binder& binder) {
    QFrame* frame = panel(column, frameName, geometry, Bevel::Lowered, Bevel::None);
    const int top[] = {8, 30};
    controls::RadioButton* options[] = {&on, &off};
    for (int i = 0; i < 2; ++i) {
        auto* r = place<QRadioButton>(frame, options[i]->name(), QRect(8, top[i], 62, 18));
        r->setFont(fonts::song(13));
        // A click, even on the option already chosen, leaves the focus in the code box where
        // typing goes on; Tab still reaches the options.
        r->setFocusPolicy(Qt::TabFocus);
        binder.radio(*options[i], r);
    }
}

void categoryOption(QRadioButton* option) {
    option->setFocusPolicy(Qt::TabFocus);
}

void rulesMemo(QWidget* parent, controls::Memo& memo, const QRect& geometry, Binder& binder) {
    auto* box = named(place<QPlainTextEdit>(parent, memo.name(), geometry), QStringLiteral("规则说明"));
    box->setFont(fonts::song(13));
    box->setLineWrapMode(QPlainTextEdit::NoWrap);
    // The lines are a pixel higher in the mainland Song face than in the face the box was sized
    // for; a narrower inner margin keeps the six lines that hold the rules whole in view, the last
    // one not cut at the bottom. The learner's own lines below them are reached by the scroll bar.
    box->document()->setDocumentMargin(1);
    setColours(box, windowText(), buttonFace());
    binder.memo(memo, box);
}

std::pair<QLabel*, QLabel*> shadowedTitle(QWidget* parent, const TitleLayer& shadow, const TitleLayer& title,
                                          const QFont& font, Binder& binder) {
    const auto layer = [&](const TitleLayer& t) {
        auto* l = place<QLabel>(parent, t.control.name(), t.geometry);
        l->setFont(font);
        l->setAttribute(Qt::WA_TranslucentBackground);
        setColours(l, t.colour);
        binder.label(t.control, l);
        return l;
    };
    QLabel* below = layer(shadow);
    return {below, layer(title)};
}

QLabel* positionLabel(QWidget* parent, const QString& name, const QRect& geometry, std::function<QString()> text,
                      Binder& binder, Qt::Alignment alignment) {
    auto* label = place<QLabel>(parent, name, geometry);
    label->setFont(fonts::song(13));
    label->setAlignment(alignment);
    auto show = [label, text = std::move(text)] {
        const QString now = text();
        if (label->text() == now && label->isHidden() == now.isEmpty())
            return;
        label->setText(now);
        described(label, QStringLiteral("练到哪里：") + now);
        label->setVisible(!now.isEmpty());
    };
    show();
    binder.onSync(show);
    return label;
}

void capitalsNotice(QWidget* parent, controls::Label& notice, std::function<int()> where,
                    std::function<QRect(int)> boxAt, Binder& binder, const QString& said) {
    auto* w = described(new QLabel(parent), said);
    w->setObjectName(notice.name());
    w->setFont(fonts::song(13));
    w->setMargin(2);
    w->setFrameStyle(QFrame::Box | QFrame::Plain);
    // Dark red on a pale yellow, as a tool tip stands out from the page.
    setColours(w, QColor(0x99, 0x00, 0x00), QColor(0xFF, 0xFF, 0xE1));
    w->setAttribute(Qt::WA_TransparentForMouseEvents);
    binder.label(notice, w);
    binder.onSync([w, parent, where = std::move(where), boxAt = std::move(boxAt)] {
        if (!w->isVisibleTo(parent))
            return;
        w->adjustSize();
        const QRect box = boxAt(where());
        const int left = std::clamp(box.left(), 2, std::max(2, parent->width() - w->width() - 2));
        if (w->pos() != QPoint(left, box.bottom() + 1))
            w->move(left, box.bottom() + 1);
        w->raise();
    });
}

Picture::Picture(QWidget* parent, const QString& name, const QRect& geometry, QString resource)
    : QLabel(parent), m_resource(std::move(resource)) {
    setObjectName(name);
    setGeometry(geometry);
    setScaledContents(false);
}

void Picture::showEvent(QShowEvent* event) {
    if (pixmap().isNull()) {
        // A high-DPI screen gets the double-resolution picture; only the one picture is decoded.
        QString path = m_resource;
        qreal ratio = 1.0;
        if (devicePixelRatioF() > 1.0) {
            QString sharp = path;
            sharp.insert(sharp.lastIndexOf(QLatin1Char('.')), QLatin1String("@2x"));
            if (QFile::exists(sharp)) {
                path = sharp;
                ratio = 2.0;
            }
        }
        QPixmap picture(path);
        picture.setDevicePixelRatio(ratio);
        setPixmap(picture);
        if (m_sizedToPicture)
            resize(picture.deviceIndependentSize().toSize());
    }
    QLabel::showEvent(event);
}

} // namespace app
