#include "glyph_forms.h"

#include <QImage>
#include <QPainter>
#include <QPainterPath>

namespace glyph_forms {

qreal verticalStrokeAt(const QFont& face, const QString& character) {
    QFont f = face;
    f.setPixelSize(200);
    QPainterPath path;
    path.addText(0, 0, f, character);
    const QRectF ink = path.boundingRect();
    QImage image(ink.size().toSize() + QSize(4, 4), QImage::Format_Grayscale8);
    image.fill(0);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.translate(QPointF(2, 2) - ink.topLeft());
    p.fillPath(path, Qt::white);
    p.end();
    int longest = 0, at = 0;
    for (int x = 0; x < image.width(); ++x) {
        int run = 0;
        for (int y = 0; y < image.height(); ++y) {
            run = image.constScanLine(y)[x] > 128 ? run + 1 : 0;
            if (run > longest) {
                longest = run;
                at = x;
            }
        }
    }
    return (at - 2) / ink.width();
}

BiForm measureBi(const QFont& face) {
    return {verticalStrokeAt(face, QStringLiteral("匕")), verticalStrokeAt(face, QStringLiteral("七"))};
}

} // namespace glyph_forms
