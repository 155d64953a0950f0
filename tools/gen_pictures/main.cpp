// Draws the trainer's reference pictures: the Wubi 86 root chart, the mnemonic chart, the three
// keyboard maps and the icon, each also at twice the size for high-density screens.
//
// Everything is drawn from Debian's CJK font files with Qt's painter, so the pictures can be
// remade on any machine with the same fonts. A root without a code point of its own is cut from
// the glyph of a host character that contains it (see data/roots.txt). Font fallback is switched
// off and every character is checked against the font it is drawn with: a missing glyph stops
// the run instead of leaving an empty box in a picture a learner studies from.
//
// Two aids for working on the cut shapes, not used by the build:
//   gen_pictures --data DIR --sheet roots.png   every root large, each cut beside its host
//   gen_pictures --zoom 皮虍 --sheet zoom.png     host characters on a tenth grid

#include "about_pictures.h"

#include <QDir>
#include <QFile>
#include <QFont>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRegularExpression>
#include <QSet>
#include <QStringList>
#include <QTextStream>

#include <iconv.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>
#include <vector>

namespace {

[[noreturn]] void fail(const QString& message) {
    std::fprintf(stderr, "gen_pictures: %s\n", qPrintable(message));
    std::exit(1);
}

void note(const QString& message) {
    static QSet<QString> said;
    if (!said.contains(message)) {
        said.insert(message);
        std::printf("gen_pictures: %s\n", qPrintable(message));
    }
}

// ---- Fonts -------------------------------------------------------------------------------

enum class Face { Song, Kai, Sans, SansBold };

struct FontFile {
    const char* path;
    const char* family;
};

// Song for roots and running text, Kai for key names and titles, the sans face for letters,
// digits and for the few roots the Song face lacks.
const FontFile fontFiles[] = {
    {"/usr/share/fonts/truetype/arphic/uming.ttc", "AR PL UMing CN"},
    {"/usr/share/fonts/truetype/arphic/ukai.ttc", "AR PL UKai CN"},
    {"/usr/share/fonts/opentype/noto/NotoSansCJK-Regular.ttc", "Noto Sans CJK SC"},
    {"/usr/share/fonts/opentype/noto/NotoSansCJK-Bold.ttc", "Noto Sans CJK SC"},
};

void loadFonts() {
    for (const FontFile& file : fontFiles) {
        const int id = QFontDatabase::addApplicationFont(QString::fromLatin1(file.path));
        if (id < 0)
            fail(QStringLiteral("cannot load font file %1").arg(QString::fromLatin1(file.path)));
        if (!QFontDatabase::applicationFontFamilies(id).contains(QString::fromLatin1(file.family)))
            fail(QStringLiteral("%1 does not provide %2")
                     .arg(QString::fromLatin1(file.path), QString::fromLatin1(file.family)));
    }
}

QFont font(Face face, int pixelSize) {
    const char* family = face == Face::Song  ? fontFiles[0].family
                         : face == Face::Kai ? fontFiles[1].family
                                             : fontFiles[2].family;
    QFont f(QString::fromLatin1(family));
    f.setPixelSize(pixelSize);
    f.setWeight(face == Face::SansBold ? QFont::Bold : QFont::Normal);
    // No silent substitution: what a font lacks must be noticed, not patched from elsewhere.
    f.setStyleStrategy(QFont::StyleStrategy(QFont::NoFontMerging | QFont::PreferAntialias));
    const QString got = QFontInfo(f).family();
    if (got != QString::fromLatin1(family))
        fail(QStringLiteral("asked for font %1, got %2").arg(QString::fromLatin1(family), got));
    return f;
}

bool covers(const QFont& f, char32_t codePoint) {
    return QFontMetricsF(f).inFontUcs4(codePoint);
}

void requireGlyphs(const QFont& f, const QString& text) {
    for (char32_t c : text.toUcs4()) {
        if (c == U' ' || c == U'\n')
            continue;
        if (!covers(f, c))
            fail(QStringLiteral("font %1 has no glyph for %2 (U+%3) in \"%4\"")
                     .arg(f.family(), QString::fromUcs4(&c, 1))
                     .arg(uint(c), 4, 16, QLatin1Char('0'))
                     .arg(text));
    }
}

// ---- Data --------------------------------------------------------------------------------

struct Root {
    QString label;                      // the code point, or a short name for a root that has none
    QString host;                       // character the root is cut from, if any
    std::vector<QPolygonF> keep, erase; // fractions of the host's inked box
    int copies = 1;                     // drawn side by side, `spacing` em apart
    qreal spacing = 0;
    bool isCodePoint() const { return label.toUcs4().size() == 1; }
};

struct Key {
    QChar letter;
    int code = 0;
    QString name;   // key-name character
    QString level1; // first-level short-code character
    QString verse;
    std::vector<Root> roots; // key-name character first
    int zone() const { return code / 10; }
};

struct Data {
    std::vector<Key> keys; // in zone order, 11 … 55
    Key* find(QChar letter) {
        for (Key& k : keys)
            if (k.letter == letter)
                return &k;
        return nullptr;
    }
};

QStringList dataLines(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        fail(QStringLiteral("cannot read %1").arg(path));
    QStringList lines;
    QTextStream in(&file);
    in.setEncoding(QStringConverter::Utf8);
    while (!in.atEnd()) {
        QString line = in.readLine();
        const qsizetype hash = line.indexOf(QLatin1Char('#'));
        if (hash >= 0)
            line.truncate(hash);
        line = line.trimmed();
        if (!line.isEmpty())
            lines << line;
    }
    return lines;
}

bool isGb2312(const QString& text) {
    iconv_t cd = iconv_open("GB2312", "UTF-8");
    if (cd == iconv_t(-1))
        fail(QStringLiteral("iconv cannot convert to GB2312"));
    QByteArray in = text.toUtf8();
    QByteArray out(in.size() * 2 + 4, '\0');
    char* src = in.data();
    char* dst = out.data();
    size_t srcLeft = size_t(in.size());
    size_t dstLeft = size_t(out.size());
    const bool ok = iconv(cd, &src, &srcLeft, &dst, &dstLeft) != size_t(-1) && srcLeft == 0;
    iconv_close(cd);
    return ok;
}

// "+x0,y0,x1,y1" is a rectangle; three or more points make a polygon.
QPolygonF parseShape(const QString& token, const QString& line) {
    const QStringList parts = token.mid(1).split(QLatin1Char(','));
    bool ok = parts.size() % 2 == 0 && parts.size() >= 4;
    std::vector<double> v;
    for (const QString& part : parts) {
        v.push_back(part.toDouble(&ok));
        if (!ok)
            break;
    }
    if (!ok || (v.size() == 4 && (v[0] >= v[2] || v[1] >= v[3])))
        fail(QStringLiteral("bad shape %1 in: %2").arg(token, line));
    if (v.size() == 4)
        return QPolygonF(QRectF(QPointF(v[0], v[1]), QPointF(v[2], v[3])));
    QPolygonF polygon;
    for (size_t i = 0; i < v.size(); i += 2)
        polygon << QPointF(v[i], v[i + 1]);
    return polygon;
}

Data loadData(const QString& dir) {
    Data data;
    for (const QString& line : dataLines(dir + QStringLiteral("/keys.txt"))) {
        const QStringList f = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (f.size() != 4 || f[0].size() != 1)
            fail(QStringLiteral("bad key line: %1").arg(line));
        Key k;
        k.letter = f[0][0];
        k.code = f[1].toInt();
        k.name = f[2];
        k.level1 = f[3];
        data.keys.push_back(k);
    }
    const QString zoneOrder = QStringLiteral("GFDSAHJKLMTREWQYUIOPNBVCX");
    if (data.keys.size() != 25)
        fail(QStringLiteral("keys.txt must list 25 keys"));
    for (int i = 0; i < 25; ++i) {
        const Key& k = data.keys[size_t(i)];
        if (k.letter != zoneOrder[i] || k.code != (i / 5 + 1) * 10 + i % 5 + 1)
            fail(QStringLiteral("keys.txt: key %1 is out of order or has the wrong code").arg(k.letter));
    }

    for (const QString& line : dataLines(dir + QStringLiteral("/verses.txt"))) {
        const QStringList f = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        Key* k = f.size() == 3 && f[1].size() == 1 ? data.find(f[1][0]) : nullptr;
        if (!k || k->code != f[0].toInt())
            fail(QStringLiteral("bad verse line: %1").arg(line));
        if (!isGb2312(QString(f[2]).remove(QLatin1Char('|'))))
            fail(QStringLiteral("verse is not GB2312: %1").arg(line));
        k->verse = f[2];
    }

    for (const QString& line : dataLines(dir + QStringLiteral("/roots.txt"))) {
        const QStringList f = line.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
        Key* k = f.size() >= 2 && f[0].size() == 1 ? data.find(f[0][0]) : nullptr;
        if (!k)
            fail(QStringLiteral("bad root line: %1").arg(line));
        Root r;
        r.label = f[1];
        int i = 2;
        if (i < f.size() && f[i] == QStringLiteral("cut")) {
            if (i + 1 >= f.size())
                fail(QStringLiteral("cut without a host: %1").arg(line));
            r.host = f[i + 1];
            for (i += 2; i < f.size(); ++i) {
                if (f[i].startsWith(QLatin1Char('+')))
                    r.keep.push_back(parseShape(f[i], line));
                else if (f[i].startsWith(QLatin1Char('-')))
                    r.erase.push_back(parseShape(f[i], line));
                else if (f[i].startsWith(QLatin1Char('x')) && f[i].contains(QLatin1Char('@'))) {
                    bool okCount = false, okSpacing = false;
                    r.copies = f[i].mid(1).section(QLatin1Char('@'), 0, 0).toInt(&okCount);
                    r.spacing = f[i].section(QLatin1Char('@'), 1).toDouble(&okSpacing);
                    if (!okCount || !okSpacing || r.copies < 1 || r.copies > 4)
                        fail(QStringLiteral("bad repeat %1 in: %2").arg(f[i], line));
                } else
                    fail(QStringLiteral("unexpected %1 in: %2").arg(f[i], line));
            }
            if (r.keep.empty())
                fail(QStringLiteral("cut keeps nothing: %1").arg(line));
        } else if (i < f.size()) {
            fail(QStringLiteral("unexpected %1 in: %2").arg(f[i], line));
        }
        if (!r.isCodePoint() && r.host.isEmpty())
            fail(QStringLiteral("root %1 has neither a code point nor a host").arg(r.label));
        k->roots.push_back(r);
    }

    size_t rootCount = 0;
    for (const Key& k : data.keys)
        rootCount += k.roots.size();
    if (rootCount != 195)
        fail(QStringLiteral("roots.txt lists %1 roots; the Wubi 86 chart has 195").arg(rootCount));
    for (const Key& k : data.keys) {
        if (k.verse.isEmpty())
            fail(QStringLiteral("no verse for key %1").arg(k.letter));
        if (k.roots.empty() || k.roots.front().label != k.name)
            fail(QStringLiteral("the roots of key %1 must start with its key name").arg(k.letter));
        if (k.roots.size() > 12)
            fail(QStringLiteral("key %1 has more roots than a key cell holds").arg(k.letter));
    }
    return data;
}

// ---- Drawing helpers ---------------------------------------------------------------------

qreal deviceScale = 1; // set per rendering; positions are snapped to whole device pixels

qreal snap(qreal v) {
    return std::round(v * deviceScale) / deviceScale;
}

void text(QPainter& p, const QFont& f, const QColor& colour, const QRectF& rect, int flags, const QString& s) {
    requireGlyphs(f, s);
    p.setFont(f);
    p.setPen(colour);
    p.drawText(rect, flags, s);
}

// Draws s with its baseline's left end at (x, baseline); returns the advance.
qreal textAt(QPainter& p, const QFont& f, const QColor& colour, qreal x, qreal baseline, const QString& s) {
    requireGlyphs(f, s);
    p.setFont(f);
    p.setPen(colour);
    p.drawText(QPointF(snap(x), snap(baseline)), s);
    return QFontMetricsF(f).horizontalAdvance(s);
}

struct Glyph {
    QFont font;
    QString text;
    QPainterPath clip; // empty: the whole glyph
    QRectF ink;        // inked box of what is drawn, relative to the baseline origin
    int copies = 1;
    qreal step = 0;  // distance between copies
    qreal scale = 1; // a small cut piece is enlarged to read like a whole root
};

Glyph resolveRoot(const Root& root, int px) {
    Glyph g;
    const QFont song = font(Face::Song, px);
    const QFont sans = font(Face::Sans, px);
    bool cut = !root.isCodePoint();
    if (root.isCodePoint()) {
        const char32_t c = root.label.toUcs4().front();
        g.text = root.label;
        if (covers(song, c)) {
            g.font = song;
        } else if (covers(sans, c)) {
            g.font = sans;
            note(QStringLiteral("root %1 is drawn from Noto Sans CJK SC (not in AR PL UMing CN)").arg(root.label));
        } else if (!root.host.isEmpty()) {
            cut = true;
            note(QStringLiteral("root %1 is in no font; cut from %2").arg(root.label, root.host));
        } else {
            fail(QStringLiteral("root %1 is in no font and has no host to cut it from").arg(root.label));
        }
    }
    if (cut) {
        g.text = root.host;
        const char32_t c = root.host.toUcs4().front();
        g.font = covers(song, c) ? song : sans;
        requireGlyphs(g.font, g.text);
    }
    QPainterPath outline;
    outline.addText(0, 0, g.font, g.text);
    if (!cut) {
        g.ink = outline.boundingRect();
        return g;
    }
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
    g.clip = keep;
    g.ink = outline.intersected(keep).boundingRect();
    if (g.ink.isEmpty())
        fail(QStringLiteral("cutting root %1 from %2 leaves nothing").arg(root.label, root.host));
    g.copies = root.copies;
    g.step = root.spacing * px;
    g.ink = g.ink.united(g.ink.translated((g.copies - 1) * g.step, 0));
    g.scale = std::clamp(0.8 * px / std::max(g.ink.width(), g.ink.height()), 1.0, 1.4);
    return g;
}

// Draws a root centred on its inked box in cell.
void drawRoot(QPainter& p, const Root& root, const QRectF& cell, int px, const QColor& colour) {
    const Glyph g = resolveRoot(root, px);
    for (int i = 0; i < g.copies; ++i) {
        p.save();
        if (g.scale == 1) {
            const QPointF offset = cell.center() - g.ink.center();
            p.translate(snap(offset.x() + i * g.step), snap(offset.y()));
        } else {
            p.translate(cell.center());
            p.scale(g.scale, g.scale);
            p.translate(-g.ink.center() + QPointF(i * g.step, 0));
        }
        if (!g.clip.isEmpty())
            p.setClipPath(g.clip, Qt::IntersectClip);
        p.setFont(g.font);
        p.setPen(colour);
        p.drawText(QPointF(0, 0), g.text);
        p.restore();
    }
}

// ---- Look --------------------------------------------------------------------------------

struct ZoneColours {
    QColor fill, border, accent;
};

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

const QColor ink(0x22, 0x22, 0x2a);
const QColor softInk(0x55, 0x5d, 0x6b);

const char* const zoneNames[] = {"横区", "竖区", "撇区", "捺区", "折区"};

void keyCap(QPainter& p, const QRectF& r, int zone, qreal radius) {
    const ZoneColours c = zoneColours(zone);
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(c.border, 1));
    p.setBrush(c.fill);
    p.drawRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);
    p.restore();
}

// The letter keys as they lie on a keyboard: rows QWERTYUIOP, ASDFGHJKL and ZXCVBNM, the
// lower rows shifted right by a quarter and three quarters of a key.
struct KeyboardGeometry {
    QRectF area;  // where the top row starts (left, top) and its full width
    qreal pitchX; // distance between neighbouring keys
    qreal pitchY; // distance between rows
    qreal gap;    // space between keys
    std::map<QChar, QRectF> rects;
};

KeyboardGeometry keyboard(const QRectF& area, qreal rowHeight, qreal gap) {
    KeyboardGeometry k;
    k.area = area;
    k.gap = gap;
    k.pitchX = (area.width() + gap) / 10;
    k.pitchY = rowHeight + gap;
    const char* rows[] = {"QWERTYUIOP", "ASDFGHJKL", "ZXCVBNM"};
    const qreal shift[] = {0, 0.25, 0.75};
    for (int row = 0; row < 3; ++row) {
        for (int i = 0; rows[row][i]; ++i) {
            const qreal x = area.left() + (shift[row] + i) * k.pitchX;
            const qreal y = area.top() + row * k.pitchY;
            k.rects[QChar::fromLatin1(rows[row][i])] = QRectF(snap(x), snap(y), snap(k.pitchX - gap), rowHeight);
        }
    }
    return k;
}

// Space to the right of M, for a caption or a legend.
QRectF besideBottomRow(const KeyboardGeometry& k) {
    const QRectF m = k.rects.at(QLatin1Char('M'));
    return QRectF(QPointF(m.right() + k.gap, m.top()), QPointF(k.area.right(), m.bottom()));
}

// Lays the roots of a key in a grid centred in area, as large as area allows up to maxPx:
// a key with few roots shows them larger.
void drawRootGrid(QPainter& p, const std::vector<Root>& roots, size_t first, const QRectF& area, int maxPx,
                  const QColor& colour, const QColor& firstColour) {
    const int n = int(roots.size() - first);
    if (n <= 0)
        return;
    int columns = n;
    qreal pitch = 0;
    for (int rows = 1; rows <= n; ++rows) {
        const int cols = (n + rows - 1) / rows;
        const qreal fit = std::min(area.width() / cols, area.height() / rows);
        if (fit > pitch + 0.01) {
            pitch = fit;
            columns = cols;
        }
    }
    const int px = std::min(maxPx, int(pitch - 1));
    pitch = std::min(pitch, qreal(maxPx + 2));
    const int rows = (n + columns - 1) / columns;
    const qreal top = area.top() + (area.height() - rows * pitch) / 2;
    for (int i = 0; i < n; ++i) {
        const int row = i / columns;
        const int inRow = std::min(columns, n - row * columns);
        const qreal left = area.left() + (area.width() - inRow * pitch) / 2;
        const QRectF cell(left + (i % columns) * pitch, top + row * pitch, pitch, pitch);
        drawRoot(p, roots[first + size_t(i)], cell, px, i == 0 && first == 0 ? firstColour : colour);
    }
}

// ---- The pictures ------------------------------------------------------------------------

// The root chart of the first page: every key with its letter, area-position code, key-name
// character and roots, laid out as on the keyboard.
void drawRootChart(QPainter& p, Data& data, QSize size) {
    p.fillRect(QRectF(QPointF(0, 0), size), QColor(0xf5, 0xf9, 0xfd));
    const qreal gap = 3;
    const qreal rowHeight = (size.height() - 4 - 2 * gap) / 3;
    const KeyboardGeometry kb = keyboard(QRectF(2, 2, size.width() - 4, size.height() - 4), rowHeight, gap);
    const QFont letterFont = font(Face::SansBold, 12);
    const QFont codeFont = font(Face::Sans, 11);
    const QFont nameFont = font(Face::Kai, 24);
    const int rootPx = 20;

    for (const Key& k : data.keys) {
        const QRectF r = kb.rects.at(k.letter);
        const ZoneColours c = zoneColours(k.zone());
        keyCap(p, r, k.zone(), 4);
        const qreal header = 27;
        text(p, nameFont, c.accent, QRectF(r.left() + 3, r.top() + 1, 28, header), Qt::AlignLeft | Qt::AlignVCenter,
             k.name);
        text(p, letterFont, ink, QRectF(r.left(), r.top() + 1, r.width() - 5, 14), Qt::AlignRight | Qt::AlignVCenter,
             QString(k.letter));
        text(p, codeFont, c.accent, QRectF(r.left(), r.top() + 14, r.width() - 5, 13),
             Qt::AlignRight | Qt::AlignVCenter, QString::number(k.code));
        drawRootGrid(p, k.roots, 1, QRectF(r.left() + 1, r.top() + header, r.width() - 2, r.height() - header - 2),
                     rootPx, ink, ink);
    }

    const QRectF z = kb.rects.at(QLatin1Char('Z'));
    keyCap(p, z, 0, 4);
    text(p, letterFont, ink, QRectF(z.left(), z.top() + 1, z.width() - 5, 14), Qt::AlignRight | Qt::AlignVCenter,
         QStringLiteral("Z"));
    text(p, font(Face::Song, 13), softInk, z.adjusted(2, 14, -2, -2), Qt::AlignCenter, QStringLiteral("万能\n学习键"));

    // Title and the zones, in the room the short bottom row leaves.
    const QRectF side = besideBottomRow(kb).adjusted(6, 0, 0, 0);
    text(p, font(Face::Kai, 17), ink, QRectF(side.left(), side.top(), side.width(), 24), Qt::AlignCenter,
         QStringLiteral("五笔字型字根总表"));
    const QFont legendFont = font(Face::Song, 12);
    const qreal cellW = side.width() / 3;
    for (int zone = 1; zone <= 5; ++zone) {
        const int col = (zone - 1) % 3;
        const int row = (zone - 1) / 3;
        const QRectF cell(side.left() + col * cellW, side.top() + 28 + row * 22, cellW - 3, 18);
        keyCap(p, QRectF(cell.left(), cell.top() + 2, 14, 14), zone, 3);
        text(p, font(Face::SansBold, 10), zoneColours(zone).accent, QRectF(cell.left(), cell.top() + 2, 14, 14),
             Qt::AlignCenter, QString::number(zone));
        text(p, legendFont, ink, QRectF(cell.left() + 16, cell.top(), cellW - 16, 18), Qt::AlignLeft | Qt::AlignVCenter,
             QString::fromUtf8(zoneNames[zone - 1]));
    }
}

// One verse split into the pieces it may be broken between: after a full-width comma, and at
// a '|' in the data (not printed). A piece is made of runs; a reading hint in parentheses is a
// smaller run.
struct Run {
    QString text;
    bool hint;
};
using Piece = std::vector<Run>;

std::vector<Piece> pieces(const QString& verse) {
    std::vector<Piece> out(1);
    QString current;
    bool inHint = false;
    auto flush = [&]() {
        if (!current.isEmpty())
            out.back().push_back({current, inHint});
        current.clear();
    };
    for (QChar ch : verse) {
        if (ch == QChar(0xff08)) { // （
            flush();
            inHint = true;
            current += ch;
        } else if (ch == QChar(0xff09)) { // ）
            current += ch;
            flush();
            inHint = false;
        } else if (ch == QLatin1Char('|')) {
            flush();
            out.emplace_back();
        } else {
            current += ch;
            if (ch == QChar(0xff0c)) { // ，
                flush();
                out.emplace_back();
            }
        }
    }
    flush();
    if (out.back().empty())
        out.pop_back();
    return out;
}

int hintPx(int px) {
    return px * 7 / 10;
}
int badgePx(int px) {
    return std::max(9, px * 2 / 3);
}

// Lays out one run from x and returns its width; draws it too when p is given. The parentheses
// of a hint take only the room their ink needs: a full em each is too much in a chart this
// tight.
qreal run(QPainter* p, const Run& r, int px, qreal x, qreal baseline) {
    const QFont f = font(Face::Song, r.hint ? hintPx(px) : px);
    const QFontMetricsF metrics(f);
    if (!r.hint) {
        if (p)
            textAt(*p, f, ink, x, baseline, r.text);
        return metrics.horizontalAdvance(r.text);
    }
    qreal w = 0;
    for (QChar ch : r.text) {
        const QString one(ch);
        qreal shift = 0, advance = metrics.horizontalAdvance(one);
        if (ch == QChar(0xff08) || ch == QChar(0xff09)) {
            const QRectF inkBox = metrics.tightBoundingRect(one);
            const qreal pad = 0.12 * f.pixelSize();
            shift = pad - inkBox.left();
            advance = inkBox.width() + 2 * pad;
        }
        if (p)
            textAt(*p, f, softInk, x + w + shift, baseline, one);
        w += advance;
    }
    return w;
}

qreal lineWidth(const Piece& line, int px) {
    qreal w = 0;
    for (const Run& r : line)
        w += run(nullptr, r, px, 0, 0);
    // A comma ending a line hangs half into the margin, as in ordinary Chinese typesetting.
    if (!line.empty() && !line.back().hint && line.back().text.endsWith(QChar(0xff0c)))
        w -= px / 2.0;
    return w;
}

struct VerseLayout {
    int px = 0;
    qreal lineHeight = 0;
    qreal badgeWidth = 0;
    std::vector<std::vector<Piece>> lines; // per key: the lines of its verse
    qreal columnWidth[5] = {};
    int rowLines[5] = {};
};

VerseLayout layoutVerses(const Data& data, int px, qreal maxLineEm) {
    VerseLayout v;
    v.px = px;
    v.lineHeight = px + 3;
    v.badgeWidth =
        std::ceil(QFontMetricsF(font(Face::SansBold, badgePx(px))).horizontalAdvance(QStringLiteral("55W"))) + 5;
    for (int i = 0; i < 25; ++i) {
        const Key& k = data.keys[size_t(i)];
        // Fill each line with as many pieces as fit; a piece wider than a line stands alone.
        std::vector<Piece> lines;
        for (const Piece& piece : pieces(k.verse)) {
            Piece joined = lines.empty() ? Piece() : lines.back();
            joined.insert(joined.end(), piece.begin(), piece.end());
            if (!lines.empty() && lineWidth(joined, px) <= maxLineEm * px)
                lines.back() = joined;
            else
                lines.push_back(piece);
        }
        const int zone = i / 5, pos = i % 5;
        for (const Piece& line : lines)
            v.columnWidth[zone] = std::max(v.columnWidth[zone], v.badgeWidth + lineWidth(line, px));
        v.rowLines[pos] = std::max(v.rowLines[pos], int(lines.size()));
        v.lines.push_back(lines);
    }
    return v;
}

// The mnemonic chart: a title and the 25 verses, one column per zone.
void drawMnemonicChart(QPainter& p, Data& data, QSize size) {
    p.fillRect(QRectF(QPointF(0, 0), size), QColor(0xff, 0xfd, 0xf6));
    p.setPen(QPen(QColor(0xd8, 0xcf, 0xb8), 1));
    p.drawRect(QRectF(0.5, 0.5, size.width() - 1, size.height() - 1));

    const qreal titleHeight = 22;
    const qreal rowGap = 3;
    const qreal margin = 4;
    VerseLayout v;
    for (int px = 16; px >= 11; --px) {
        v = layoutVerses(data, px, 8.6);
        qreal width = 0, height = titleHeight + 4 * rowGap;
        for (int i = 0; i < 5; ++i) {
            width += v.columnWidth[i];
            height += v.rowLines[i] * v.lineHeight;
        }
        if (width + 2 * margin + 4 * 4 <= size.width() && height + 4 <= size.height())
            break;
        if (px == 11)
            fail(QStringLiteral("the verses do not fit the mnemonic chart"));
    }
    note(QStringLiteral("mnemonic chart: verses at %1 px").arg(v.px));

    text(p, font(Face::Kai, 18), ink, QRectF(0, 1, size.width(), titleHeight), Qt::AlignCenter,
         QStringLiteral("五笔字型字根助记词"));

    qreal used = 0;
    for (qreal w : v.columnWidth)
        used += w;
    const qreal columnGap = (size.width() - 2 * margin - used) / 4;
    qreal contentHeight = 0;
    for (int n : v.rowLines)
        contentHeight += n * v.lineHeight;
    const qreal spare = size.height() - titleHeight - 2 - contentHeight;
    const qreal gapY = spare / 5; // above every row, and below the last half of it
    const QFont badgeFont = font(Face::SansBold, badgePx(v.px));
    const QFont verseFont = font(Face::Song, v.px);
    const qreal ascent = QFontMetricsF(verseFont).ascent();

    qreal x = margin;
    for (int zone = 0; zone < 5; ++zone) {
        const ZoneColours c = zoneColours(zone + 1);
        qreal y = titleHeight + gapY * 0.6;
        for (int pos = 0; pos < 5; ++pos) {
            const int i = zone * 5 + pos;
            const Key& k = data.keys[size_t(i)];
            const QRectF badge(x, y + (v.lineHeight - v.px - 2) / 2, v.badgeWidth - 3, v.px + 2);
            p.save();
            p.setRenderHint(QPainter::Antialiasing);
            p.setPen(Qt::NoPen);
            p.setBrush(c.fill);
            p.drawRoundedRect(badge, 3, 3);
            p.restore();
            text(p, badgeFont, c.accent, badge, Qt::AlignCenter, QString::number(k.code) + QString(k.letter));
            qreal lineY = y;
            for (const Piece& line : v.lines[size_t(i)]) {
                qreal lx = x + v.badgeWidth;
                const qreal baseline = lineY + (v.lineHeight - v.px) / 2 + ascent - 1;
                for (const Run& r : line)
                    lx += run(&p, r, v.px, lx, baseline);
                lineY += v.lineHeight;
            }
            y += v.rowLines[pos] * v.lineHeight + gapY;
        }
        x += v.columnWidth[zone] + columnGap;
    }
}

// A keyboard of large characters, one per letter key, with a caption line under it.
void drawCharacterMap(QPainter& p, Data& data, QSize size, const std::function<QString(const Key&)>& character,
                      const QString& caption) {
    p.fillRect(QRectF(QPointF(0, 0), size), Qt::white);
    const qreal gap = 3;
    const qreal captionHeight = 26;
    const qreal rowHeight = std::floor((size.height() - 2 - captionHeight - 2 * gap) / 3);
    const KeyboardGeometry kb = keyboard(QRectF(2, 2, size.width() - 4, 0), rowHeight, gap);
    const QFont letterFont = font(Face::SansBold, 10);
    const QFont charFont = font(Face::Kai, 26);
    for (const Key& k : data.keys) {
        const QRectF r = kb.rects.at(k.letter);
        keyCap(p, r, k.zone(), 4);
        text(p, letterFont, softInk, QRectF(r.left() + 3, r.top() + 1, 12, 12), Qt::AlignLeft | Qt::AlignTop,
             QString(k.letter));
        text(p, charFont, zoneColours(k.zone()).accent, r.adjusted(4, 6, 0, 0), Qt::AlignCenter, character(k));
    }
    const QRectF z = kb.rects.at(QLatin1Char('Z'));
    keyCap(p, z, 0, 4);
    text(p, letterFont, softInk, QRectF(z.left() + 3, z.top() + 1, 12, 12), Qt::AlignLeft | Qt::AlignTop,
         QStringLiteral("Z"));
    const qreal captionTop = kb.rects.at(QLatin1Char('Z')).bottom();
    text(p, font(Face::Kai, 17), ink, QRectF(0, captionTop, size.width(), size.height() - captionTop), Qt::AlignCenter,
         caption);
}

// The root keyboard map of the hint panel: letter, area-position code and roots on every key.
void drawRootMap(QPainter& p, Data& data, QSize size) {
    p.fillRect(QRectF(QPointF(0, 0), size), Qt::white);
    const qreal gap = 2;
    const qreal rowHeight = (size.height() - 2 - 2 * gap) / 3;
    const KeyboardGeometry kb = keyboard(QRectF(1, 1, size.width() - 2, 0), rowHeight, gap);
    const QFont letterFont = font(Face::SansBold, 11);
    const QFont codeFont = font(Face::Sans, 10);
    for (const Key& k : data.keys) {
        const QRectF r = kb.rects.at(k.letter);
        const ZoneColours c = zoneColours(k.zone());
        keyCap(p, r, k.zone(), 3);
        text(p, letterFont, ink, QRectF(r.left() + 3, r.top(), 20, 13), Qt::AlignLeft | Qt::AlignVCenter,
             QString(k.letter));
        text(p, codeFont, c.accent, QRectF(r.left(), r.top(), r.width() - 3, 13), Qt::AlignRight | Qt::AlignVCenter,
             QString::number(k.code));
        drawRootGrid(p, k.roots, 0, QRectF(r.left() + 1, r.top() + 12, r.width() - 2, r.height() - 13), 17, ink,
                     c.accent);
    }
    const QRectF z = kb.rects.at(QLatin1Char('Z'));
    keyCap(p, z, 0, 3);
    text(p, letterFont, ink, QRectF(z.left() + 3, z.top(), 20, 13), Qt::AlignLeft | Qt::AlignVCenter,
         QStringLiteral("Z"));
    text(p, font(Face::Song, 12), softInk, z.adjusted(2, 12, -2, -2), Qt::AlignCenter, QStringLiteral("学习键"));
    const QRectF side = besideBottomRow(kb).adjusted(4, 0, 0, 0);
    text(p, font(Face::Kai, 16), ink, side, Qt::AlignCenter, QStringLiteral("五笔字型\n字根键位图"));
}

// A key cap with 五 on it.
void drawIcon(QPainter& p, QSize size) {
    p.fillRect(QRectF(QPointF(0, 0), size), Qt::transparent);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF cap(1, 1.5, 30, 29.5);
    p.setPen(QPen(QColor(0x1d, 0x4f, 0x8c), 1));
    p.setBrush(QColor(0x2c, 0x6c, 0xb8));
    p.drawRoundedRect(cap, 6, 6);
    QLinearGradient face(0, 3, 0, 26);
    face.setColorAt(0, QColor(0x6f, 0xa8, 0xe6));
    face.setColorAt(1, QColor(0x3a, 0x7f, 0xcc));
    p.setPen(Qt::NoPen);
    p.setBrush(face);
    p.drawRoundedRect(QRectF(3, 2.5, 26, 24.5), 4.5, 4.5);
    text(p, font(Face::SansBold, 21), Qt::white, QRectF(3, 2.5, 26, 24.5), Qt::AlignCenter, QStringLiteral("五"));
}

// ---- Output ------------------------------------------------------------------------------

QImage render(QSize size, qreal scale, QImage::Format format, const std::function<void(QPainter&)>& draw) {
    QImage image(size * scale, format);
    image.fill(Qt::white);
    if (format == QImage::Format_ARGB32_Premultiplied)
        image.fill(Qt::transparent);
    deviceScale = scale;
    QPainter p(&image);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.scale(scale, scale);
    draw(p);
    p.end();
    deviceScale = 1;
    return image;
}

void save(const QImage& image, const QString& path) {
    const bool jpeg = path.endsWith(QStringLiteral(".jpg"));
    if (!image.save(path, jpeg ? "JPG" : "PNG", jpeg ? 95 : -1))
        fail(QStringLiteral("cannot write %1").arg(path));
    std::printf("wrote %s (%dx%d)\n", qPrintable(path), image.width(), image.height());
}

void picture(const QString& dir, const QString& name, QSize size, const std::function<void(QPainter&)>& draw,
             bool withDouble = true) {
    const bool jpeg = name.endsWith(QStringLiteral(".jpg"));
    const QImage::Format format = jpeg ? QImage::Format_RGB32 : QImage::Format_ARGB32_Premultiplied;
    save(render(size, 1, format, draw), dir + QLatin1Char('/') + name);
    if (withDouble) {
        const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
        save(render(size, 2, format, draw),
             dir + QLatin1Char('/') + name.left(dot) + QStringLiteral("@2x") + name.mid(dot));
    }
}

// A review sheet, not part of the program: every root large, and every cut root beside its
// host with the kept (green) and removed (red) rectangles marked.
void drawRootSheet(QPainter& p, Data& data, QSize size) {
    p.fillRect(QRectF(QPointF(0, 0), size), Qt::white);
    const QFont small = font(Face::Song, 11);
    int i = 0;
    for (const Key& k : data.keys) {
        for (const Root& r : k.roots) {
            const QRectF cell((i % 20) * 60, (i / 20) * 70, 60, 70);
            p.setPen(QColor(0xcc, 0xcc, 0xcc));
            p.drawRect(cell.adjusted(0, 0, -1, -1));
            drawRoot(p, r, QRectF(cell.left() + 6, cell.top() + 2, 48, 48), 44, ink);
            drawRoot(p, r, QRectF(cell.left() + 2, cell.top() + 52, 16, 16), 15, ink);
            text(p, small, softInk, QRectF(cell.left() + 18, cell.top() + 52, 42, 16), Qt::AlignCenter,
                 QString(k.letter) + (r.isCodePoint() ? QString() : r.label.left(3)));
            ++i;
        }
    }
    int j = 0;
    const qreal top = 14 * 70 + 10;
    for (const Key& k : data.keys) {
        for (const Root& r : k.roots) {
            if (r.host.isEmpty())
                continue;
            const QRectF cell((j % 6) * 200, top + (j / 6) * 100, 200, 100);
            p.setPen(QColor(0xcc, 0xcc, 0xcc));
            p.drawRect(cell.adjusted(0, 0, -1, -1));
            const QFont hostFont = font(Face::Song, 88);
            QPainterPath outline;
            outline.addText(0, 0, hostFont, r.host);
            const QRectF whole = outline.boundingRect();
            const QPointF origin = QPointF(cell.left() + 50, cell.top() + 50) - whole.center();
            p.setFont(hostFont);
            p.setPen(ink);
            p.drawText(origin, r.host);
            auto at = [&](qreal fx, qreal fy) {
                return QPointF(origin.x() + whole.x() + fx * whole.width(),
                               origin.y() + whole.y() + fy * whole.height());
            };
            auto map = [&](const QPolygonF& shape) {
                QPolygonF out;
                for (const QPointF& pt : shape)
                    out << at(pt.x(), pt.y());
                return out;
            };
            p.setBrush(Qt::NoBrush);
            p.setPen(QPen(QColor(0x99, 0xcc, 0xff, 0x80), 0));
            for (int t = 0; t <= 10; ++t) {
                p.drawLine(at(t / 10.0, 0), at(t / 10.0, 1));
                p.drawLine(at(0, t / 10.0), at(1, t / 10.0));
            }
            p.setPen(QPen(QColor(0, 160, 0), 1));
            for (const QPolygonF& f : r.keep)
                p.drawPolygon(map(f));
            p.setPen(QPen(QColor(220, 0, 0), 1));
            for (const QPolygonF& f : r.erase)
                p.drawPolygon(map(f));
            Root cut = r;
            cut.label = QStringLiteral("cut");
            drawRoot(p, cut, QRectF(cell.left() + 104, cell.top() + 4, 92, 92), 88, ink);
            text(p, small, softInk, QRectF(cell.left() + 2, cell.top() + 2, 60, 14), Qt::AlignLeft,
                 QString(k.letter) +
                     (r.isCodePoint() ? QStringLiteral("U+%1").arg(uint(r.label.toUcs4().front()), 0, 16) : r.label));
            ++j;
        }
    }
}

// Host characters large on a tenth grid, for working out cut shapes: not part of the program.
void drawZoom(QPainter& p, const QString& hosts, QSize size) {
    p.fillRect(QRectF(QPointF(0, 0), size), Qt::white);
    const QFont hostFont = font(Face::Song, 200);
    int i = 0;
    for (char32_t c : hosts.toUcs4()) {
        const QString host = QString::fromUcs4(&c, 1);
        QPainterPath outline;
        outline.addText(0, 0, hostFont, host);
        const QRectF whole = outline.boundingRect();
        const QPointF origin = QPointF(i * 240 + 120, 120) - whole.center();
        p.setFont(hostFont);
        p.setPen(ink);
        p.drawText(origin, host);
        p.setPen(QPen(QColor(0x40, 0x90, 0xff, 0xa0), 0));
        for (int t = 0; t <= 10; ++t) {
            const qreal x = origin.x() + whole.x() + t * whole.width() / 10;
            const qreal y = origin.y() + whole.y() + t * whole.height() / 10;
            p.drawLine(QPointF(x, origin.y() + whole.top()), QPointF(x, origin.y() + whole.bottom()));
            p.drawLine(QPointF(origin.x() + whole.left(), y), QPointF(origin.x() + whole.right(), y));
        }
        ++i;
    }
}

} // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    QString dataDir, outDir, iconDir, sheet, zoom;
    const QStringList args = app.arguments();
    for (int i = 1; i + 1 < args.size(); i += 2) {
        if (args[i] == QStringLiteral("--data"))
            dataDir = args[i + 1];
        else if (args[i] == QStringLiteral("--out"))
            outDir = args[i + 1];
        else if (args[i] == QStringLiteral("--icon-out"))
            iconDir = args[i + 1];
        else if (args[i] == QStringLiteral("--sheet"))
            sheet = args[i + 1];
        else if (args[i] == QStringLiteral("--zoom"))
            zoom = args[i + 1];
        else
            fail(QStringLiteral("unknown option %1").arg(args[i]));
    }
    if ((dataDir.isEmpty() || (outDir.isEmpty() && sheet.isEmpty())) && zoom.isEmpty())
        fail(QStringLiteral("usage: gen_pictures --data DIR --out DIR [--icon-out DIR] [--sheet FILE.png]\n"
                            "       gen_pictures --zoom CHARACTERS --sheet FILE.png"));

    loadFonts();
    if (!zoom.isEmpty()) {
        if (sheet.isEmpty())
            fail(QStringLiteral("--zoom needs --sheet FILE.png to write to"));
        const QSize size(240 * int(zoom.toUcs4().size()), 240);
        save(render(size, 1, QImage::Format_RGB32, [&](QPainter& p) { drawZoom(p, zoom, size); }), sheet);
        return 0;
    }
    Data data = loadData(dataDir);

    if (!sheet.isEmpty()) {
        const QSize size(1200, 14 * 70 + 10 + 7 * 100);
        save(render(size, 1, QImage::Format_RGB32, [&](QPainter& p) { drawRootSheet(p, data, size); }), sheet);
    }
    if (outDir.isEmpty())
        return 0;
    if (!QDir().mkpath(outDir))
        fail(QStringLiteral("cannot create %1").arg(outDir));

    picture(outDir, QStringLiteral("image1.jpg"), QSize(676, 231),
            [&](QPainter& p) { drawRootChart(p, data, QSize(676, 231)); });
    picture(outDir, QStringLiteral("image2.jpg"), QSize(695, 176),
            [&](QPainter& p) { drawMnemonicChart(p, data, QSize(695, 176)); });
    picture(outDir, QStringLiteral("image7.jpg"), QSize(459, 173), [&](QPainter& p) {
        drawCharacterMap(
            p, data, QSize(459, 173), [](const Key& k) { return k.name; }, QStringLiteral("键名字键位图"));
    });
    picture(outDir, QStringLiteral("image8.jpg"), QSize(459, 173), [&](QPainter& p) {
        drawCharacterMap(
            p, data, QSize(459, 173), [](const Key& k) { return k.level1; }, QStringLiteral("一级简码键位图"));
    });
    picture(outDir, QStringLiteral("image9.jpg"), QSize(599, 173),
            [&](QPainter& p) { drawRootMap(p, data, QSize(599, 173)); });
    picture(outDir, QStringLiteral("icon.png"), QSize(32, 32), [&](QPainter& p) { drawIcon(p, QSize(32, 32)); });
    if (!iconDir.isEmpty()) {
        const QImage big = render(QSize(32, 32), 4, QImage::Format_ARGB32_Premultiplied,
                                  [&](QPainter& p) { drawIcon(p, QSize(32, 32)); });
        save(big, iconDir + QStringLiteral("/vardelo.png"));
    }
    writeAboutPictures(outDir, QDir(outDir).filePath(QStringLiteral("../icons")));
    return 0;
}
