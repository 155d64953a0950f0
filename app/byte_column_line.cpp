#include "byte_column_line.h"

#include "gb_text.h"

#include <QPainter>

namespace app {

ByteColumnLine::ByteColumnLine(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::NoFocus);
    setAutoFillBackground(true);
}

void ByteColumnLine::setText(const QString& text) {
    if (text == m_text)
        return;
    m_text = text;
    update();
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
