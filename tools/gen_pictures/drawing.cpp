#include "drawing.h"

#include "fonts.h"
#include "output_files.h"

#include <QFontMetricsF>

#include <algorithm>
#include <cmath>
#include <map>

qreal snap(qreal v) {
    return std::round(v * renderScale()) / renderScale();
}

void text(QPainter& p, const QFont& f, const QColor& colour, const QRectF& rect, int flags, const QString& s) {
    requireGlyphs(f, s);
    p.setFont(f);
    p.setPen(colour);
    p.drawText(rect, flags, s);
}

qreal textAt(QPainter& p, const QFont& f, const QColor& colour, qreal x, qreal baseline, const QString& s) {
    requireGlyphs(f, s);
    p.setFont(f);
    p.setPen(colour);
    p.drawText(QPointF(snap(x), snap(baseline)), s);
    return QFontMetricsF(f).horizontalAdvance(s);
}

QPainterPath outlineOf(const QString& character, QString* fontName) {
    const QFont song = font(Face::Song, int(refPx));
    const QFont sans = font(Face::Sans, int(refPx));
    const char32_t c = character.toUcs4().front();
    const QFont& f = covers(song, c) ? song : sans;
    requireGlyphs(f, character);
    if (fontName)
        *fontName = f.family();
    QPainterPath outline;
    outline.addText(0, 0, f, character);
    outline.setFillRule(Qt::WindingFill);
    return outline;
}

namespace {

Glyph resolveRoot(const Root& root) {
    Glyph g;
    // A root with a host is cut from it even when it has a code point of its own: no font may
    // have that code point, or its glyph may not be the piece the host holds (冎 beside 骨).
    const bool cut = !root.isCodePoint() || !root.host.isEmpty();
    if (!cut) {
        const char32_t c = root.label.toUcs4().front();
        if (covers(font(Face::Song, 20), c)) {
        } else if (covers(font(Face::Sans, 20), c)) {
            note(QStringLiteral("root %1 is drawn from %2 (not in %3)")
                     .arg(root.label, font(Face::Sans, 20).family(), font(Face::Song, 20).family()));
        } else {
            fail(QStringLiteral("root %1 is in no font and has no host to cut it from").arg(root.label));
        }
    }
    if (!cut) {
        g.path = outlineOf(root.label);
        g.ink = g.path.boundingRect();
        return g;
    }
    const QPainterPath outline = outlineOf(root.host);
    const QRectF whole = outline.boundingRect();
    auto map = [&whole](const QPolygonF& shape) {
        QPainterPath path;
        QPolygonF mapped;
        for (const QPointF& pt : shape)
            mapped << QPointF(whole.x() + pt.x() * whole.width(), whole.y() + pt.y() * whole.height());
        path.addPolygon(mapped);
        path.closeSubpath();
        return path;
    };
    QPainterPath keep, erase;
    for (const QPolygonF& shape : root.keep)
        keep = keep.united(map(shape));
    for (const QPolygonF& shape : root.erase)
        erase = erase.united(map(shape));
    if (!erase.isEmpty())
        keep = keep.subtracted(erase);
    const QPainterPath piece = outline.intersected(keep);
    if (piece.boundingRect().isEmpty())
        fail(QStringLiteral("cutting root %1 from %2 leaves nothing").arg(root.label, root.host));
    for (int i = 0; i < root.copies; ++i)
        g.path.addPath(piece.translated(i * root.spacing * refPx, 0));
    g.path.setFillRule(Qt::WindingFill);
    g.ink = g.path.boundingRect();
    g.scale = std::clamp(0.8 * refPx / std::max(g.ink.width(), g.ink.height()), 1.0, 1.4);
    return g;
}

} // namespace

const Glyph& glyphOf(const Root& root) {
    static std::map<QString, Glyph> cache;
    auto it = cache.find(root.label + QLatin1Char('|') + root.host);
    if (it == cache.end())
        it = cache.emplace(root.label + QLatin1Char('|') + root.host, resolveRoot(root)).first;
    return it->second;
}

void drawRoot(QPainter& p, const Root& root, const QRectF& cell, qreal px, const QColor& colour, qreal fill,
              qreal maxGrow) {
    const Glyph& g = glyphOf(root);
    const qreal grow = std::clamp(fill * refPx / std::max(g.ink.width(), g.ink.height()), 1.0, std::max(1.0, maxGrow));
    const qreal s = px * std::max(g.scale, grow) / refPx;
    const QPointF topLeft = cell.center() - QPointF(g.ink.width(), g.ink.height()) * s / 2;
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.translate(snap(topLeft.x()), snap(topLeft.y()));
    p.scale(s, s);
    p.translate(-g.ink.topLeft());
    p.fillPath(g.path, colour);
    p.restore();
}

ZoneColours zoneColours(int zone) {
    switch (zone) {
    case 1: // horizontal strokes
        return {QColor(0xfb, 0xe4, 0xe1), QColor(0xd4, 0x8f, 0x87), QColor(0xa8, 0x36, 0x30)};
    case 2: // vertical strokes
        return {QColor(0xe2, 0xf1, 0xdc), QColor(0x8d, 0xbb, 0x7f), QColor(0x2f, 0x6e, 0x27)};
    case 3: // left-falling strokes
        return {QColor(0xfd, 0xf0, 0xc8), QColor(0xcf, 0xad, 0x5c), QColor(0x8a, 0x5a, 0x00)};
    case 4: // right-falling strokes and dots
        return {QColor(0xdc, 0xea, 0xf9), QColor(0x86, 0xab, 0xd6), QColor(0x23, 0x55, 0x92)};
    case 5: // turning strokes
        return {QColor(0xec, 0xe3, 0xf6), QColor(0xa8, 0x8c, 0xc8), QColor(0x5c, 0x35, 0x8c)};
    default: // the Z key, which carries no roots
        return {QColor(0xee, 0xee, 0xec), QColor(0xb4, 0xb4, 0xb0), QColor(0x66, 0x66, 0x66)};
    }
}
