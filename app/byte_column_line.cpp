#include "byte_column_line.h"

#include "gb_text.h"

#include <QAccessibleWidget>
#include <QMouseEvent>
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

int ByteColumnLine::indexAt(int x) const {
    const qreal column = font().pixelSize() / 2.0;
    qreal left = m_left;
    for (qsizetype i = 0; i < m_text.size(); ++i) {
        const qreal right = left + column * (gb::isDoubleByte(m_text.at(i)) ? 2 : 1);
        if (x >= left && x < right)
            return static_cast<int>(i);
        left = right;
    }
    return -1;
}

void ByteColumnLine::mousePressEvent(QMouseEvent* event) {
    if (onClick)
        onClick(indexAt(event->position().toPoint().x()));
    QWidget::mousePressEvent(event);
}

} // namespace app
