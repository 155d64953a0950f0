#pragma once
// What every picture is drawn with: text checked against its face, positions on whole device
// pixels, the roots resolved from the fonts (cut from a host where they have no code point of
// their own) and drawn into a cell, and the colours of the five zones.

#include "data.h"

#include <QColor>
#include <QFont>
#include <QPainter>
#include <QPainterPath>
#include <QRectF>

// Positions are snapped to whole device pixels of the image being rendered.
qreal snap(qreal v);

void text(QPainter& p, const QFont& f, const QColor& colour, const QRectF& rect, int flags, const QString& s);

// Draws s with its baseline's left end at (x, baseline); returns the advance.
qreal textAt(QPainter& p, const QFont& f, const QColor& colour, qreal x, qreal baseline, const QString& s);

// Roots are resolved at this em size, where path cutting and curve flattening are exact enough,
// and scaled down when drawn.
constexpr qreal refPx = 1000;

struct Glyph {
    QPainterPath path; // at refPx, relative to the baseline origin
    QRectF ink;        // inked box of path
    qreal scale = 1;   // a small cut piece is enlarged to read like a whole root
};

// The outline of a character at refPx from the Song face, or from the sans face when the Song
// face lacks it; fontName gets the face used.
QPainterPath outlineOf(const QString& character, QString* fontName = nullptr);

// A root's outline at refPx, resolved once.
const Glyph& glyphOf(const Root& root);

// Draws a root centred on its inked box in cell, px being the em size of a whole character.
// The ink's top left corner is put on a device pixel so that horizontal strokes stay sharp.
// With fill, a root whose ink is smaller than fill em either way (a top or side form, a few
// dots) is enlarged until it is, up to 1.4 times: roots are seen one by one, and at 16 pixels a
// pair of dots is otherwise a smudge. Whole characters already fill their em and keep their size,
// so that 囗 stays larger than 口.
void drawRoot(QPainter& p, const Root& root, const QRectF& cell, qreal px, const QColor& colour, qreal fill = 0,
              qreal maxGrow = 1.4);

struct ZoneColours {
    QColor fill, border, accent;
};

ZoneColours zoneColours(int zone);

inline const QColor ink(0x22, 0x22, 0x2a);
inline const QColor softInk(0x55, 0x5d, 0x6b);
