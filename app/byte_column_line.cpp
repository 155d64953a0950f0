#include "byte_column_line.h"

#include "gb_text.h"

#include <QAccessibleWidget>
#include <QPainter>

namespace app {

namespace {

class AccessibleLine : public QAccessibleWidget {
public:
    explicit AccessibleLine(ByteColumnLine* line) : QAccessibleWidget(line, QAccessible::StaticText) {}
    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name || t == QAccessible::Value)
            return static_cast<const ByteColumnLine*>(widget())->text();
        return QAccessibleWidget::text(t);
    }
};

QAccessibleInterface* accessibleLine(const QString&, QObject* object) {
    auto* line = dynamic_cast<ByteColumnLine*>(object);
    return line ? new AccessibleLine(line) : nullptr;
}

} // namespace

ByteColumnLine::ByteColumnLine(QWidget* parent) : QWidget(parent) {
    static const bool installed = (QAccessible::installFactory(accessibleLine), true);
    (void)installed;
    setFocusPolicy(Qt::NoFocus);
    setAutoFillBackground(true);
}

void ByteColumnLine::setText(const QString& text) {
    if (text == m_text)
        return;
    m_text = text;
    update();
    if (QAccessible::isActive()) {
        QAccessibleEvent changed(this, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&changed);
    }
}

void ByteColumnLine::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setPen(palette().color(QPalette::WindowText));
    const qreal column = font().pixelSize() / 2.0;
    qreal x = m_left;
    for (QChar c : m_text) {
        const int bytes = gb::isDoubleByte(c) ? 2 : 1;
        p.drawText(QRectF(x, 0, column * bytes, height()), Qt::AlignCenter, QString(c));
        x += column * bytes;
    }
}

} // namespace app
