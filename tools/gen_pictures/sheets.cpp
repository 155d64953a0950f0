#include "sheets.h"

#include "charts.h"
#include "drawing.h"
#include "fonts.h"
#include "output_files.h"
#include "picture_files.h"
#include "root_pictures.h"

#include <algorithm>

namespace {

// The contact sheet of the root drill, not part of the program: every counter value in order
// with the picture it shows at both sizes, its picture number and its key.
void drawContactSheet(QPainter& p, const std::vector<RootPicture>& pictures, const std::vector<int>& order,
                      QSize size) {
    p.fillRect(QRectF(QPointF(0, 0), size), Qt::white);
    const QFont label = font(Face::Sans, 11);
    const QFont letter = font(Face::SansBold, 16);
    std::vector<int> shown(pictures.size() + 1);
    auto cell = [&](int index, int number, const QString& caption) {
        const RootPicture& pic = pictures[size_t(number - 1)];
        const QPointF at((index % 15) * 120 + 4, (index / 15) * 104 + 4);
        p.setPen(QColor(0xcc, 0xcc, 0xcc));
        p.drawRect(QRectF(at - QPointF(2, 2), QSizeF(118, 102)));
        p.drawImage(at, rootPictureImage(*pic.root, pic.root == &pic.key->roots.front(), 2));
        p.drawImage(at + QPointF(80, 0), rootPictureImage(*pic.root, pic.root == &pic.key->roots.front(), 1));
        text(p, letter, zoneColours(pic.key->zone()).accent, QRectF(at + QPointF(80, 42), QSizeF(38, 30)),
             Qt::AlignCenter, QString(pic.key->letter));
        text(p, label, ink, QRectF(at + QPointF(0, 78), QSizeF(114, 18)), Qt::AlignLeft | Qt::AlignVCenter, caption);
    };
    for (size_t i = 0; i < order.size(); ++i) {
        cell(int(i), order[i], QStringLiteral("%1: zigen%2").arg(i + 1).arg(order[i]));
        shown[size_t(order[i])]++;
    }
    int extra = int(order.size());
    for (size_t n = 1; n < shown.size(); ++n)
        if (shown[n] == 0)
            cell(extra++, int(n), QStringLiteral("zigen%1 unused").arg(n));
}

// Text for a label in f, with characters f lacks written as U+XXXX.
QString printable(const QFont& f, const QString& s) {
    QString out;
    for (char32_t c : s.toUcs4())
        out += covers(f, c) || c == U'\n' || c == U' ' ? QString::fromUcs4(&c, 1)
                                                       : QStringLiteral("U+%1").arg(uint(c), 4, 16).toUpper();
    return out;
}

// The crop of a rendered picture that shows one key, at its own pixels and enlarged.
void drawCrop(QPainter& p, const QImage& image, const QRectF& source, const QPointF& at, int zoom) {
    const QRect src = source.toAlignedRect();
    const QImage piece = image.copy(src);
    p.drawImage(at, piece);
    p.drawImage(QRectF(at + QPointF(piece.width() + 6, 0), QSizeF(piece.size() * zoom)), piece);
}

// The host of a cut root drawn from origin at scale (of its outline at refPx), with the kept
// (green) and removed (red) shapes over it; with a grid, its inked box in twentieths, labelled
// every tenth, for working out the shapes.
void drawHost(QPainter& p, const Root& root, const QPointF& origin, qreal scale, bool grid) {
    const QPainterPath outline = outlineOf(root.host);
    const QRectF whole = outline.boundingRect();
    auto at = [&](qreal fx, qreal fy) { return origin + QPointF(fx * whole.width(), fy * whole.height()) * scale; };
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.translate(origin);
    p.scale(scale, scale);
    p.translate(-whole.topLeft());
    p.fillPath(outline, ink);
    p.restore();
    for (int t = 0; grid && t <= 20; ++t) {
        p.setPen(QPen(QColor(0x40, 0x90, 0xff, t % 2 ? 0x60 : 0xc0), 0));
        p.drawLine(at(t / 20.0, 0), at(t / 20.0, 1));
        p.drawLine(at(0, t / 20.0), at(1, t / 20.0));
        if (t % 2 == 0) {
            p.setPen(QColor(0x20, 0x60, 0xc0));
            p.setFont(font(Face::Sans, 10));
            p.drawText(at(t / 20.0, 1) + QPointF(-6, 14), QString::number(t / 20.0));
            p.drawText(at(0, t / 20.0) + QPointF(-19, 4), QString::number(t / 20.0));
        }
    }
    auto mapShape = [&](const QPolygonF& shape) {
        QPolygonF out;
        for (const QPointF& pt : shape)
            out << at(pt.x(), pt.y());
        return out;
    };
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(0, 160, 0), grid ? 2 : 1));
    for (const QPolygonF& f : root.keep)
        p.drawPolygon(mapShape(f));
    p.setPen(QPen(QColor(220, 0, 0), grid ? 2 : 1));
    for (const QPolygonF& f : root.erase)
        p.drawPolygon(mapShape(f));
}

// The review sheet, not part of the program: key by key, the key as the root chart and the root
// keyboard map show it at 1x (and enlarged, pixel for pixel), then every root large with its
// root picture and its line of the data; below, every cut root's host with the kept (green) and
// removed (red) shapes and the root as cut.
void drawReviewSheet(QPainter& p, const Data& data, const std::map<QChar, QRectF>& chartKeys,
                     const std::map<QChar, QRectF>& mapKeys, const QImage& chart, const QImage& map, QSize size) {
    p.fillRect(QRectF(QPointF(0, 0), size), Qt::white);
    const QFont small = font(Face::Song, 10);
    const QFont letter = font(Face::SansBold, 20);
    qreal y = 4;
    for (const Key& k : data.keys) {
        text(p, letter, zoneColours(k.zone()).accent, QRectF(4, y, 40, 30), Qt::AlignCenter, QString(k.letter));
        text(p, small, ink, QRectF(4, y + 30, 40, 14), Qt::AlignCenter, QString::number(k.code));
        const QRectF c = chartKeys.at(k.letter);
        drawCrop(p, chart, c, QPointF(48, y), 2);
        const QRectF m = mapKeys.at(k.letter);
        drawCrop(p, map, m, QPointF(48 + 3 * c.width() + 24, y), 2);
        qreal x = 48 + 3 * c.width() + 24 + 3 * m.width() + 24;
        int i = 0;
        for (const Root& r : k.roots) {
            const QRectF cellRect(x + i * 96, y, 94, 156);
            p.setPen(QColor(0xdd, 0xdd, 0xdd));
            p.drawRect(cellRect.adjusted(0, 0, -1, -1));
            drawRoot(p, r, QRectF(cellRect.left() + 4, y + 2, 52, 52), 50, ink);
            p.drawImage(QPointF(cellRect.left() + 56, y + 8), rootPictureImage(r, &r == &k.roots.front(), 1));
            text(p, small, softInk, QRectF(cellRect.left() + 3, y + 56, 90, 98),
                 Qt::AlignLeft | Qt::AlignTop | Qt::TextWrapAnywhere,
                 printable(small, QStringLiteral("%1%2 %3\n%4").arg(k.letter).arg(i + 1).arg(r.label, r.note)));
            ++i;
        }
        y += 162;
    }
    int j = 0;
    for (const Key& k : data.keys) {
        for (const Root& r : k.roots) {
            if (r.host.isEmpty())
                continue;
            const QRectF cellRect((j % 6) * 330 + 4, y + (j / 6) * 170, 326, 166);
            p.setPen(QColor(0xcc, 0xcc, 0xcc));
            p.drawRect(cellRect.adjusted(0, 0, -1, -1));
            const QRectF whole = outlineOf(r.host).boundingRect();
            drawHost(p, r, cellRect.topLeft() + QPointF(8, 20), 140 / std::max(whole.width(), whole.height()), false);
            Root cut = r;
            cut.label = QStringLiteral("cut");
            drawRoot(p, cut, QRectF(cellRect.left() + 170, cellRect.top() + 16, 150, 146), 140, ink);
            text(p, small, softInk, QRectF(cellRect.left() + 4, cellRect.top() + 2, 300, 14), Qt::AlignLeft,
                 printable(small, QStringLiteral("%1 %2 (cut from %3)").arg(k.letter).arg(r.label, r.host)));
            ++j;
        }
    }
}

// Roots or host characters very large on a twentieth grid, for working out cut shapes: each cut
// root's host with its kept (green) and removed (red) shapes, and the root as cut beside it.
void drawZoom(QPainter& p, const Data* data, const QStringList& items, QSize size) {
    p.fillRect(QRectF(QPointF(0, 0), size), Qt::white);
    const qreal big = 400;
    for (qsizetype i = 0; i < items.size(); ++i) {
        Root root;
        root.label = items[i];
        root.host = items[i];
        for (const Key& k : data ? data->keys : std::vector<Key>())
            for (const Root& r : k.roots)
                if (r.label == items[i] && !r.host.isEmpty())
                    root = r;
        const QPointF origin(20 + i * 2 * (big + 40), 20);
        drawHost(p, root, origin, big / refPx, true);
        if (root.label == root.host)
            continue;
        drawRoot(p, root, QRectF(origin.x() + big + 40, origin.y(), big, big), big, QColor(0x22, 0x22, 0x2a));
    }
}

// The picture of `file` among outputs, rendered at 1x.
QImage renderedPicture(const Outputs& outputs, const QString& file) {
    for (const Output& out : outputs)
        if (out.name == file)
            return renderPicture(out);
    fail(QStringLiteral("no picture %1").arg(file));
}

void writeSheet(QSize size, const QString& path, std::function<void(QPainter&)> draw) {
    Output sheet{path, size, std::move(draw), false};
    sheet.opaque = true;
    writePicture(sheet, path);
}

} // namespace

void writeContactSheet(const std::vector<RootPicture>& pictures, const std::vector<int>& order, const QString& path) {
    const QSize size(15 * 120 + 4, 14 * 104 + 4);
    writeSheet(size, path, [&](QPainter& p) { drawContactSheet(p, pictures, order, size); });
}

void writeReviewSheet(const Data& data, const QString& path) {
    const Outputs charts = chartOutputs(data);
    const QImage chart = renderedPicture(charts, assets::kRootChart.path());
    const QImage map = renderedPicture(charts, assets::kRootMap.path());
    int cuts = 0;
    for (const Key& k : data.keys)
        for (const Root& r : k.roots)
            cuts += r.host.isEmpty() ? 0 : 1;
    const QSize size(2000, 25 * 162 + 8 + (cuts + 5) / 6 * 170);
    writeSheet(size, path,
               [&](QPainter& p) { drawReviewSheet(p, data, rootChartKeys(), rootMapKeys(), chart, map, size); });
}

void writeZoomSheet(const Data* data, const QStringList& items, const QString& path) {
    const QSize size(int(items.size()) * 880, 460);
    writeSheet(size, path, [&](QPainter& p) { drawZoom(p, data, items, size); });
}
