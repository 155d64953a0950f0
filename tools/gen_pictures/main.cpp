// Draws the trainer's reference pictures: the Wubi 86 root chart, the mnemonic chart, the three
// keyboard maps and the root drill's pictures, each also at twice the size for high-density
// screens; with them the About page's pictures and the icons (about_pictures.cpp), all written
// into the assets folder and listed in its manifest.
//
// Everything is drawn from Debian's CJK font files with Qt's painter, so the pictures can be
// remade on any machine with the same fonts. A root without a code point of its own is cut from
// the glyph of a host character that contains it (see data/roots.txt). Font fallback is switched
// off and every character is checked against the font it is drawn with: a missing glyph stops
// the run instead of leaving an empty box in a picture a learner studies from.
//
// Aids for a reviewer and for working on the cut shapes, not used by the program:
//   --contact FILE.png   the root drill's pictures in the drill's order, with number and key
//   --review FILE.png    every root of every key at 1x on the charts and enlarged, with its line
//                        of data, and every cut root beside its host with the shapes marked
//   gen_pictures --data DIR --zoom 皮头,虍 --sheet zoom.png   cut roots or hosts on a fine grid

#include "about_pictures.h"
#include "output_files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
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

#include "outputs.h"

#include <iconv.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>
#include <memory>
#include <vector>

namespace {

void note(const QString& message) {
    static QSet<QString> said;
    if (!said.contains(message)) {
        said.insert(message);
        std::printf("gen_pictures: %s\n", qPrintable(message));
    }
}

// ---- Fonts -------------------------------------------------------------------------------

enum class Face { Song, Kai, Sans, SansBold, Letter };

struct FontFile {
    const char* path;
    const char* family;
};

// Song for roots and running text, Kai for key names and titles, the sans face for letters,
// digits and for the few roots the Song face lacks. All draw the mainland standard forms that
// Wubi 86 is defined on (checked by checkMainlandForms).
const FontFile fontFiles[] = {
    {"/usr/share/fonts/opentype/noto/NotoSerifCJK-Regular.ttc", "Noto Serif CJK SC"},
    {"/usr/share/fonts/truetype/arphic-gkai00mp/gkai00mp.ttf", "AR PL KaitiM GB"},
    {"/usr/share/fonts/opentype/noto/NotoSansCJK-Regular.ttc", "Noto Sans CJK SC"},
    {"/usr/share/fonts/opentype/noto/NotoSansCJK-Bold.ttc", "Noto Sans CJK SC"},
    // key letters and the About page's address: Q keeps its tail at 10 pixels, and l, 1, I and
    // O, 0 differ at a glance
    {"/usr/share/fonts/truetype/dejavu/DejaVuSansMono-Bold.ttf", "DejaVu Sans Mono"},
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
    const char* family = face == Face::Song     ? fontFiles[0].family
                         : face == Face::Kai    ? fontFiles[1].family
                         : face == Face::Letter ? fontFiles[4].family
                                                : fontFiles[2].family;
    QFont f(QString::fromLatin1(family));
    f.setPixelSize(pixelSize);
    f.setWeight(face == Face::SansBold || face == Face::Letter ? QFont::Bold : QFont::Normal);
    // No silent substitution: what a font lacks must be noticed, not patched from elsewhere.
    // Hinting and anti-aliasing are fixed here rather than left to the machine's font settings,
    // so that the pictures come out the same wherever they are rendered.
    f.setHintingPreference(QFont::PreferVerticalHinting);
    f.setStyleStrategy(
        QFont::StyleStrategy(QFont::NoFontMerging | QFont::PreferAntialias | QFont::NoSubpixelAntialias));
    const QString got = QFontInfo(f).family();
    if (got != QString::fromLatin1(family))
        fail(QStringLiteral("asked for font %1, got %2").arg(QString::fromLatin1(family), got));
    return f;
}

// Where the longest vertical stroke of `character` stands, as a fraction of its inked width.
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

// Taiwan-form faces (even those named "CN") draw 匕 with its first stroke crossing the vertical,
// so that it reads as 七 and a learner types the wrong key. In the mainland form the 丿 only
// meets the vertical, which then stands at the left edge of the character; in 七 (and in a
// Taiwan-form 匕) the crossing stroke reaches well left of it. Measured: the vertical of 匕 at
// 0.06-0.13 of its width in Noto Serif/Sans CJK SC, AR PL SungtiL GB and AR PL KaitiM GB, at
// 0.24-0.29 in AR PL UMing CN and UKai CN; that of 七 at 0.39-0.48 in all six.
void checkMainlandForms(const QFont& f) {
    const qreal bi = verticalStrokeAt(f, QStringLiteral("匕")), qi = verticalStrokeAt(f, QStringLiteral("七"));
    if (qi < 0.3)
        fail(QStringLiteral("cannot tell the form of 匕 in %1: the vertical of 七 stands at %2 of its width")
                 .arg(f.family())
                 .arg(qi, 0, 'f', 2));
    if (bi > 0.18)
        fail(QStringLiteral("%1 draws 匕 like 七 (its vertical at %2 of its width, 七's at %3): not the mainland form")
                 .arg(f.family())
                 .arg(bi, 0, 'f', 2)
                 .arg(qi, 0, 'f', 2));
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
    QString note;                       // what the root is, for the review sheet
    QString host;                       // character the root is cut from, if any
    QString hint;                       // reading hint the charts print after it, such as (半)
    bool wide = false;                  // given two cells on the charts where the key has room
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

// The lines of a data file without blank lines and comments; a comment after a line's data is
// kept in notes (by line) when asked for.
QStringList dataLines(const QString& path, QStringList* notes = nullptr) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        fail(QStringLiteral("cannot read %1").arg(path));
    QStringList lines;
    QTextStream in(&file);
    in.setEncoding(QStringConverter::Utf8);
    while (!in.atEnd()) {
        QString line = in.readLine();
        QString comment;
        const qsizetype hash = line.indexOf(QLatin1Char('#'));
        if (hash >= 0) {
            comment = line.mid(hash + 1).trimmed();
            line.truncate(hash);
        }
        line = line.trimmed();
        if (line.isEmpty())
            continue;
        lines << line;
        if (notes)
            *notes << comment;
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

    QStringList notes;
    const QStringList rootLines = dataLines(dir + QStringLiteral("/roots.txt"), &notes);
    for (qsizetype n = 0; n < rootLines.size(); ++n) {
        const QString& line = rootLines[n];
        const QStringList f = line.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
        Key* k = f.size() >= 2 && f[0].size() == 1 ? data.find(f[0][0]) : nullptr;
        if (!k)
            fail(QStringLiteral("bad root line: %1").arg(line));
        Root r;
        r.label = f[1];
        r.note = notes[n];
        int i = 2;
        if (i < f.size() && f[i].startsWith(QLatin1Char('('))) {
            if (!f[i].endsWith(QLatin1Char(')')) || f[i].size() < 3)
                fail(QStringLiteral("bad reading hint %1 in: %2").arg(f[i], line));
            r.hint = f[i++];
        }
        if (i < f.size() && f[i] == QStringLiteral("wide")) {
            r.wide = true;
            ++i;
        }
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

// Positions are snapped to whole device pixels of the image being rendered.
qreal snap(qreal v) {
    return std::round(v * renderScale()) / renderScale();
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

// Roots are resolved at this em size, where path cutting and curve flattening are exact enough,
// and scaled down when drawn.
constexpr qreal refPx = 1000;

struct Glyph {
    QPainterPath path; // at refPx, relative to the baseline origin
    QRectF ink;        // inked box of path
    qreal scale = 1;   // a small cut piece is enlarged to read like a whole root
};

QPainterPath outlineOf(const QString& character, QString* fontName = nullptr) {
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

const Glyph& glyphOf(const Root& root) {
    static std::map<QString, Glyph> cache;
    auto it = cache.find(root.label + QLatin1Char('|') + root.host);
    if (it == cache.end())
        it = cache.emplace(root.label + QLatin1Char('|') + root.host, resolveRoot(root)).first;
    return it->second;
}

// Draws a root centred on its inked box in cell, px being the em size of a whole character.
// The ink's top left corner is put on a device pixel so that horizontal strokes stay sharp.
// With fill, a root whose ink is smaller than fill em either way (a top or side form, a few
// dots) is enlarged until it is, up to 1.4 times: roots are seen one by one, and at 16 pixels a
// pair of dots is otherwise a smudge. Whole characters already fill their em and keep their size,
// so that 囗 stays larger than 口.
void drawRoot(QPainter& p, const Root& root, const QRectF& cell, qreal px, const QColor& colour, qreal fill = 0,
              qreal maxGrow = 1.4) {
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

// A key: its zone's colour, with a border unless the roots fill it to the edge.
void keyCap(QPainter& p, const QRectF& r, int zone, qreal radius, bool border = true) {
    const ZoneColours c = zoneColours(zone);
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(border ? QPen(c.border, 1) : QPen(Qt::NoPen));
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

// The roots of a key as a chart lays them out: rows of cells filled in order, a cell for each
// root, two for one marked wide in the data (宀, 艹, 爫) where the key has room, and the room of
// its reading hint for a root that has one.
struct RootRows {
    std::vector<std::vector<size_t>> rows; // indices into the roots laid out
    int columns = 0;                       // cells a row holds
    qreal fit = 0;                         // the largest em size the cells allow
    qreal widest = 0;                      // cells the fullest row takes
};

// A reading hint may take up to a quarter of a cell beyond its row, the cells closing up to make
// room: a pixel less between roots is better than a third row of smaller ones.
constexpr qreal hintOverflow = 0.25;

RootRows fillRows(const std::vector<qreal>& cells, int columns, const QRectF& area, qreal rowSpace) {
    RootRows r;
    r.columns = columns;
    qreal used = columns + 1;
    for (size_t i = 0; i < cells.size(); ++i) {
        if (used + cells[i] > columns + hintOverflow + 1e-9) {
            r.rows.emplace_back();
            used = 0;
        }
        r.rows.back().push_back(i);
        used += cells[i];
        r.widest = std::max(r.widest, used);
    }
    r.fit = std::min(area.width() / columns, area.height() / r.rows.size() - rowSpace);
    return r;
}

// Reading hints on the charts: as in the mnemonic chart's, a size below the roots, and grey.
constexpr int chartHintPx = 12;

qreal hintRun(QPainter* p, const QString& hint, int size, qreal x, qreal baseline);

// Lays the roots of a key in a grid centred in area, as large as area allows up to maxPx: a key
// with few roots shows them larger. A root marked wide (a flat one: in one cell it is 4 to 6
// pixels high at 1x and its strokes run together) is given two cells and drawn larger to fill
// them, when that leaves the key's roots at 16 pixels or more. Returns the em size used, so that a chart can say how
// small its smallest roots are.
int drawRootGrid(QPainter& p, const std::vector<Root>& roots, size_t first, const QRectF& area, int maxPx,
                 qreal rowSpace, const QColor& colour, const QColor& firstColour) {
    if (first >= roots.size())
        return maxPx;
    const size_t n = roots.size() - first;
    auto layout = [&](bool wide, int* px) {
        RootRows best;
        for (size_t rows = 1; rows <= n; ++rows) {
            for (int columns = 1;; ++columns) {
                std::vector<qreal> cells;
                for (size_t i = first; i < roots.size(); ++i) {
                    const bool keyName = i == 0;
                    qreal c = wide && !keyName && roots[i].wide ? 2 : 1;
                    if (!roots[i].hint.isEmpty())
                        c += hintRun(nullptr, roots[i].hint, chartHintPx, 0, 0) / (area.width() / columns);
                    cells.push_back(c);
                }
                const RootRows r = fillRows(cells, columns, area, rowSpace);
                if (r.rows.size() > rows)
                    continue;
                if (r.fit > best.fit + 0.01)
                    best = r;
                break;
            }
        }
        // Two pixels between neighbours where the key has room; a crowded key gives them up
        // before its roots go below 16 pixels.
        *px = std::min({maxPx, int(best.fit + 0.01), std::max(16, int(area.width() / best.columns - 2))});
        return best;
    };
    int narrowPx = 0, widePx = 0;
    const RootRows narrow = layout(false, &narrowPx), wide = layout(true, &widePx);
    const bool useWide = widePx >= std::min(narrowPx, 16);
    const RootRows& grid = useWide ? wide : narrow;
    const int px = useWide ? widePx : narrowPx;
    const qreal pitchX = std::min(area.width() / std::max<qreal>(grid.columns, grid.widest), px + 4.0);
    const qreal pitchY = std::min(area.height() / grid.rows.size(), px + 4.0);
    const qreal top = area.top() + (area.height() - grid.rows.size() * pitchY) / 2;
    const QFontMetricsF hintMetrics(font(Face::Song, chartHintPx));
    for (size_t row = 0; row < grid.rows.size(); ++row) {
        std::vector<qreal> widths;
        qreal rowWidth = 0;
        for (size_t i : grid.rows[row]) {
            const Root& root = roots[first + i];
            const bool keyName = first + i == 0;
            widths.push_back(useWide && !keyName && root.wide ? 2 * pitchX : pitchX);
            rowWidth += widths.back() + (root.hint.isEmpty() ? 0 : hintRun(nullptr, root.hint, chartHintPx, 0, 0));
        }
        qreal x = area.left() + (area.width() - rowWidth) / 2;
        for (size_t j = 0; j < grid.rows[row].size(); ++j) {
            const Root& root = roots[first + grid.rows[row][j]];
            const bool keyName = first + grid.rows[row][j] == 0;
            const QRectF cell(x, top + row * pitchY, widths[j], pitchY);
            if (widths[j] > pitchX) {
                // As large as the two cells allow, up to 1.5 times: enough for 爫 and 𧰨 to read, and
                // little enough that its strokes are not much heavier than its neighbours'.
                const Glyph& g = glyphOf(root);
                const qreal grow = std::min({1.5, (cell.width() - 3) * refPx / (px * g.ink.width()),
                                             (cell.height() - 1) * refPx / (px * g.ink.height())});
                drawRoot(p, root, cell, px, colour, 10, grow);
            } else {
                drawRoot(p, root, cell, px, keyName ? firstColour : colour, keyName ? 0 : 0.95);
            }
            x += widths[j];
            if (!root.hint.isEmpty()) {
                const qreal baseline = cell.center().y() + (hintMetrics.ascent() - hintMetrics.descent()) / 2;
                x += hintRun(&p, root.hint, chartHintPx, x, baseline);
            }
        }
    }
    return px;
}

// ---- The pictures ------------------------------------------------------------------------

// The root chart of the first page: every key with its letter, area-position code, key-name
// character and roots, laid out as on the keyboard. Ten keys side by side leave a key 66 pixels:
// four columns of 16-pixel roots, so the header (key name, letter, code) is kept to one line.
const QSize rootChartSize(676, 231);
constexpr qreal chartGap = 1;

KeyboardGeometry rootChartKeyboard() {
    const qreal rowHeight = (rootChartSize.height() - 2 - 2 * chartGap) / 3;
    return keyboard(QRectF(1, 1, rootChartSize.width() - 2, 0), rowHeight, chartGap);
}

std::map<QChar, QRectF> rootChartKeys() {
    return rootChartKeyboard().rects;
}

void drawRootChart(QPainter& p, Data& data, QSize size) {
    p.fillRect(QRectF(QPointF(0, 0), size), QColor(0xf5, 0xf9, 0xfd));
    const KeyboardGeometry kb = rootChartKeyboard();
    const QFont letterFont = font(Face::Letter, 11);
    const QFont codeFont = font(Face::Sans, 10);
    const QFont nameFont = font(Face::Kai, 21);
    const qreal header = 22;
    int smallest = 99;

    for (const Key& k : data.keys) {
        const QRectF r = kb.rects.at(k.letter);
        const ZoneColours c = zoneColours(k.zone());
        keyCap(p, r, k.zone(), 3);
        text(p, nameFont, c.accent, QRectF(r.left() + 2, r.top() + 1, 26, header), Qt::AlignLeft | Qt::AlignVCenter,
             k.name);
        text(p, letterFont, ink, QRectF(r.left(), r.top() + 1, r.width() - 4, 11), Qt::AlignRight | Qt::AlignVCenter,
             QString(k.letter));
        text(p, codeFont, c.accent, QRectF(r.left(), r.top() + 11, r.width() - 4, 11),
             Qt::AlignRight | Qt::AlignVCenter, QString::number(k.code));
        smallest = std::min(smallest, drawRootGrid(p, k.roots, 1,
                                                   QRectF(r.left(), r.top() + header, r.width(), r.height() - header),
                                                   22, 1, ink, ink));
    }
    note(QStringLiteral("root chart: roots at %1 px or more").arg(smallest));

    const QRectF z = kb.rects.at(QLatin1Char('Z'));
    keyCap(p, z, 0, 3);
    text(p, letterFont, ink, QRectF(z.left(), z.top() + 1, z.width() - 4, 11), Qt::AlignRight | Qt::AlignVCenter,
         QStringLiteral("Z"));
    text(p, font(Face::Song, 13), softInk, z.adjusted(2, 12, -2, -2), Qt::AlignCenter, QStringLiteral("万能\n学习键"));

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

// A reading hint is smaller and greyer than its verse, but no smaller than 12 pixels, the least
// at which these characters stay readable at 1x.
// Reading hints in brackets: a pixel below the verse, so that at 1x their ink is 11 pixels high.
int hintPx(int px) {
    return std::max(13, px - 1);
}
// Between a zone code's digits and its letter.
constexpr qreal badgeGap = 2;
int badgePx(int px) {
    return std::max(9, px * 2 / 3);
}

// Lays out a reading hint from x in grey at size and returns its width; draws it too when p is
// given. Its parentheses take only the room their ink needs: a full em each is too much in a
// chart this tight.
qreal hintRun(QPainter* p, const QString& hint, int size, qreal x, qreal baseline) {
    const QFont f = font(Face::Song, size);
    const QFontMetricsF metrics(f);
    qreal w = 0;
    for (QChar ch : hint) {
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

// Lays out one run from x and returns its width; draws it too when p is given.
qreal run(QPainter* p, const Run& r, int px, qreal x, qreal baseline) {
    if (r.hint)
        return hintRun(p, r.text, hintPx(px), x, baseline);
    const QFont f = font(Face::Song, px);
    if (p)
        textAt(*p, f, ink, x, baseline, r.text);
    return QFontMetricsF(f).horizontalAdvance(r.text);
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

// The pieces of a verse in at most maxLines lines, as narrow as possible (the widest line the
// least); a verse has few pieces, so every way of breaking it is tried.
std::vector<Piece> narrowestLines(const std::vector<Piece>& all, int px, int maxLines) {
    const int breaks = int(all.size()) - 1;
    std::vector<Piece> best;
    qreal bestWidth = 1e9;
    for (unsigned mask = 0; mask < (1u << breaks); ++mask) {
        std::vector<Piece> lines(1);
        for (size_t i = 0; i < all.size(); ++i) {
            if (i > 0 && (mask & (1u << (i - 1))))
                lines.emplace_back();
            lines.back().insert(lines.back().end(), all[i].begin(), all[i].end());
        }
        if (int(lines.size()) > maxLines)
            continue;
        qreal width = 0;
        for (const Piece& line : lines)
            width = std::max(width, lineWidth(line, px));
        if (width < bestWidth - 0.01) {
            bestWidth = width;
            best = lines;
        }
    }
    return best;
}

// Lays out the verses at px: first each as few lines as maxLineEm allows, which fixes how many
// lines each row of the chart has; then each verse is broken again as narrowly as its row's lines
// allow, so that no column is wider than it needs to be.
VerseLayout layoutVerses(const Data& data, int px, qreal maxLineEm) {
    VerseLayout v;
    v.px = px;
    v.lineHeight = px + 3;
    v.badgeWidth =
        std::ceil(QFontMetricsF(font(Face::SansBold, badgePx(px))).horizontalAdvance(QStringLiteral("55")) + badgeGap +
                  QFontMetricsF(font(Face::Letter, badgePx(px))).horizontalAdvance(QStringLiteral("W"))) +
        5;
    for (int i = 0; i < 25; ++i) {
        // Fill each line with as many pieces as fit; a piece wider than a line stands alone.
        int lines = 0;
        qreal width = 1e9;
        for (const Piece& piece : pieces(data.keys[size_t(i)].verse)) {
            width += lineWidth(piece, px);
            if (width > maxLineEm * px) {
                ++lines;
                width = lineWidth(piece, px);
            }
        }
        v.rowLines[i % 5] = std::max(v.rowLines[i % 5], lines);
    }
    for (int i = 0; i < 25; ++i) {
        const std::vector<Piece> lines = narrowestLines(pieces(data.keys[size_t(i)].verse), px, v.rowLines[i % 5]);
        for (const Piece& line : lines)
            v.columnWidth[i / 5] = std::max(v.columnWidth[i / 5], v.badgeWidth + lineWidth(line, px));
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
    // The largest type that fits; at each size, lines from short to long, since a longer line
    // can save a whole line in the tallest row.
    bool fits = false;
    for (int px = 16; px >= 11 && !fits; --px) {
        for (qreal lineEm : {8.6, 9.0, 9.4, 9.8, 10.2}) {
            v = layoutVerses(data, px, lineEm);
            qreal width = 0, height = titleHeight + 4 * rowGap;
            for (int i = 0; i < 5; ++i) {
                width += v.columnWidth[i];
                height += v.rowLines[i] * v.lineHeight;
            }
            fits = width + 2 * margin + 4 * 4 <= size.width() && height + 4 <= size.height();
            if (fits)
                break;
        }
    }
    if (!fits)
        fail(QStringLiteral("the verses do not fit the mnemonic chart"));
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
    const QFont letterFont = font(Face::Letter, badgePx(v.px));
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
            // The zone code in the zone's colour, the key letter apart from it in dark ink and the
            // letter face, so that 44O never reads as 440.
            const QString digits = QString::number(k.code);
            const qreal digitsWidth = QFontMetricsF(badgeFont).horizontalAdvance(digits);
            const qreal letterWidth = QFontMetricsF(letterFont).horizontalAdvance(QString(k.letter));
            const qreal start = badge.center().x() - (digitsWidth + badgeGap + letterWidth) / 2;
            text(p, badgeFont, c.accent, QRectF(start, badge.top(), digitsWidth + 1, badge.height()),
                 Qt::AlignLeft | Qt::AlignVCenter, digits);
            text(p, letterFont, ink,
                 QRectF(start + digitsWidth + badgeGap, badge.top(), letterWidth + 1, badge.height()),
                 Qt::AlignLeft | Qt::AlignVCenter, QString(k.letter));
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
    const QFont letterFont = font(Face::Letter, 12);
    const QFont charFont = font(Face::Kai, 26);
    for (const Key& k : data.keys) {
        const QRectF r = kb.rects.at(k.letter);
        keyCap(p, r, k.zone(), 4);
        text(p, letterFont, softInk, QRectF(r.left() + 3, r.top() + 1, 14, 14), Qt::AlignLeft | Qt::AlignTop,
             QString(k.letter));
        text(p, charFont, zoneColours(k.zone()).accent, r.adjusted(4, 6, 0, 0), Qt::AlignCenter, character(k));
    }
    const QRectF z = kb.rects.at(QLatin1Char('Z'));
    keyCap(p, z, 0, 4);
    text(p, letterFont, softInk, QRectF(z.left() + 3, z.top() + 1, 14, 14), Qt::AlignLeft | Qt::AlignTop,
         QStringLiteral("Z"));
    const qreal captionTop = kb.rects.at(QLatin1Char('Z')).bottom();
    text(p, font(Face::Kai, 17), ink, QRectF(0, captionTop, size.width(), size.height() - captionTop), Qt::AlignCenter,
         caption);
}

// The root map of the hint panel. A keyboard ten keys wide cannot give twelve roots 16 pixels
// each in a panel 173 pixels high, so the keys stand in their area-position table: one row per
// zone (横 竖 撇 捺 折), positions 1 to 5 from left to right, each key with its letter, code
// and roots in two lines of up to six.
const QSize rootMapSize(599, 173);

std::map<QChar, QRectF> rootMapKeys() {
    const QString order = QStringLiteral("GFDSAHJKLMTREWQYUIOPNBVCX");
    const qreal gapX = 2, gapY = 1;
    const qreal w = (rootMapSize.width() - 2 - 4 * gapX) / 5;
    const qreal h = (rootMapSize.height() - 2 - 4 * gapY) / 5;
    std::map<QChar, QRectF> keys;
    for (int i = 0; i < 25; ++i)
        keys[order[i]] = QRectF(snap(1 + (i % 5) * (w + gapX)), snap(1 + (i / 5) * (h + gapY)), snap(w), snap(h));
    return keys;
}

void drawRootMap(QPainter& p, Data& data, QSize size) {
    p.fillRect(QRectF(QPointF(0, 0), size), Qt::white);
    const std::map<QChar, QRectF> keys = rootMapKeys();
    const QFont letterFont = font(Face::Letter, 13);
    const QFont codeFont = font(Face::Sans, 10);
    const qreal side = 17;
    int smallest = 99;
    for (const Key& k : data.keys) {
        const QRectF r = keys.at(k.letter);
        const ZoneColours c = zoneColours(k.zone());
        keyCap(p, r, k.zone(), 3, false);
        text(p, letterFont, ink, QRectF(r.left(), r.top() + 2, side, 15), Qt::AlignCenter, QString(k.letter));
        text(p, codeFont, c.accent, QRectF(r.left(), r.top() + 17, side, 13), Qt::AlignCenter, QString::number(k.code));
        // No larger than 18 pixels on the keys with few roots, so that 口 on K stays smaller than
        // 囗 among the many roots of L.
        smallest = std::min(smallest, drawRootGrid(p, k.roots, 0,
                                                   QRectF(r.left() + side, r.top(), r.width() - side - 1, r.height()),
                                                   18, 0, ink, c.accent));
    }
    note(QStringLiteral("root map: roots at %1 px or more").arg(smallest));
}

// ---- Checks against the dictionary and the drill -------------------------------------------

// Every root drawn from its own code point must be one the dictionary puts on its key: each of
// the character's codes starts with the key's letter. Characters the dictionary lacks (most
// radical forms) are left to the review sheet.
void checkDictionary(const Data& data, const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        fail(QStringLiteral("cannot read the dictionary %1").arg(path));
    QTextStream in(&file);
    in.setEncoding(QStringConverter::Utf8);
    std::map<QString, QStringList> codes;
    bool header = true;
    while (!in.atEnd()) {
        const QString line = in.readLine();
        if (header) {
            header = line.trimmed() != QStringLiteral("...");
            continue;
        }
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        const QStringList f = line.split(QLatin1Char('\t'));
        // Codes starting with z are the dictionary's own look-up aids, not Wubi codes.
        if (f.size() >= 2 && f[0].toUcs4().size() == 1 && !f[1].startsWith(QLatin1Char('z')))
            codes[f[0]] << f[1];
    }
    if (codes.empty())
        fail(QStringLiteral("no entries in the dictionary %1").arg(path));
    int checked = 0, absent = 0;
    for (const Key& k : data.keys) {
        for (const Root& r : k.roots) {
            if (!r.isCodePoint())
                continue;
            const auto it = codes.find(r.label);
            if (it == codes.end()) {
                ++absent;
                continue;
            }
            for (const QString& code : it->second)
                if (!code.startsWith(k.letter.toLower()))
                    fail(QStringLiteral("root %1 is drawn on key %2, but the dictionary codes it %3")
                             .arg(r.label, QString(k.letter), code));
            ++checked;
        }
    }
    note(QStringLiteral("dictionary: %1 roots with a code point checked, %2 not in it").arg(checked).arg(absent));
}

// A cut that catches the edge of a neighbouring stroke leaves a speck beside the root. Every
// piece of ink a cut root is made of must be larger than a speck: the root is drawn at 100
// pixels, and each connected piece of ink counted.
void checkCutsLeaveNoSpecks(const Data& data) {
    const int size = 120;
    QStringList specks;
    for (const Key& k : data.keys) {
        for (const Root& r : k.roots) {
            if (r.host.isEmpty())
                continue;
            QImage image(size, size, QImage::Format_Grayscale8);
            image.fill(255);
            {
                QPainter p(&image);
                drawRoot(p, r, QRectF(0, 0, size, size), 100, Qt::black);
            }
            std::vector<int> seen(size_t(size * size), 0);
            for (int start = 0; start < size * size; ++start) {
                if (seen[size_t(start)] || image.constScanLine(start / size)[start % size] > 160)
                    continue;
                int area = 0;
                std::vector<int> stack{start};
                seen[size_t(start)] = 1;
                while (!stack.empty()) {
                    const int at = stack.back();
                    stack.pop_back();
                    ++area;
                    for (int dy = -1; dy <= 1; ++dy)
                        for (int dx = -1; dx <= 1; ++dx) {
                            const int x = at % size + dx, y = at / size + dy;
                            if (x < 0 || y < 0 || x >= size || y >= size || seen[size_t(y * size + x)] ||
                                image.constScanLine(y)[x] > 160)
                                continue;
                            seen[size_t(y * size + x)] = 1;
                            stack.push_back(y * size + x);
                        }
                }
                if (area < 15)
                    specks << QStringLiteral("the cut of root %1 from %2 leaves a speck of %3 pixels at (%4, %5)")
                                  .arg(r.label, r.host)
                                  .arg(area)
                                  .arg(start % size)
                                  .arg(start / size);
            }
        }
    }
    if (!specks.isEmpty())
        fail(specks.join(QStringLiteral("\n")) + QStringLiteral("\n(at 100 pixels in a 120-pixel square)"));
}

// The root pictures are numbered key by key in this order (the third zone runs Q W E R T), each
// key's roots in the order of the data.
const QString pictureKeyOrder = QStringLiteral("GFDSAHJKLMQWERTYUIOPNBVCX");

struct RootPicture {
    int number = 0; // zigenN
    const Key* key = nullptr;
    const Root* root = nullptr;
};

std::vector<RootPicture> rootPictures(const Data& data) {
    std::vector<RootPicture> pictures;
    for (QChar letter : pictureKeyOrder)
        for (const Key& k : data.keys)
            if (k.letter == letter)
                for (const Root& r : k.roots)
                    pictures.push_back({int(pictures.size()) + 1, &k, &r});
    return pictures;
}

// Counter value -> picture number, in the drill's order; each key letter is checked against the
// picture's group.
std::vector<int> loadDrillOrder(const QString& dir, const std::vector<RootPicture>& pictures) {
    std::vector<int> order;
    for (const QString& line : dataLines(dir + QStringLiteral("/root_drill.txt"))) {
        const QStringList f = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        const QString letters = f.isEmpty() ? QString() : f.back();
        if (f.size() != 16 || letters.size() != 15)
            fail(QStringLiteral("bad drill line: %1").arg(line));
        for (int i = 0; i < 15; ++i) {
            const int n = f[i].toInt();
            if (n < 1 || n > int(pictures.size()) || pictures[size_t(n - 1)].key->letter != letters[i])
                fail(QStringLiteral("drill line: picture %1 is not on key %2: %3").arg(f[i], letters[i], line));
            order.push_back(n);
        }
    }
    if (order.size() != pictures.size())
        fail(QStringLiteral("the drill lists %1 counter values, not %2").arg(order.size()).arg(pictures.size()));
    return order;
}

// ---- Root pictures and sheets -------------------------------------------------------------

const QSize rootPictureSize(38, 38);
constexpr int rootPicturePx = 32;

// One root of the root drill: black on white, centred.
void drawRootPicture(QPainter& p, const Root& root, bool keyName) {
    p.fillRect(QRectF(QPointF(0, 0), rootPictureSize), Qt::white);
    drawRoot(p, root, QRectF(QPointF(0, 0), rootPictureSize), rootPicturePx, Qt::black, keyName ? 0 : 0.9);
}

QImage rootPictureImage(const Root& root, bool keyName, qreal scale) {
    return render(rootPictureSize, scale, QImage::Format_RGB32,
                  [&](QPainter& p) { drawRootPicture(p, root, keyName); });
}

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
void drawReviewSheet(QPainter& p, Data& data, const std::map<QChar, QRectF>& chartKeys,
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

} // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    QString dataDir, outDir, sheet, zoom, dict, contact, review, verify;
    const QStringList args = app.arguments();
    for (int i = 1; i + 1 < args.size(); i += 2) {
        QString* value = args[i] == QStringLiteral("--data")      ? &dataDir
                         : args[i] == QStringLiteral("--out")     ? &outDir
                         : args[i] == QStringLiteral("--sheet")   ? &sheet
                         : args[i] == QStringLiteral("--zoom")    ? &zoom
                         : args[i] == QStringLiteral("--dict")    ? &dict
                         : args[i] == QStringLiteral("--contact") ? &contact
                         : args[i] == QStringLiteral("--review")  ? &review
                         : args[i] == QStringLiteral("--verify")  ? &verify
                                                                  : nullptr;
        if (!value)
            fail(QStringLiteral("unknown option %1").arg(args[i]));
        *value = args[i + 1];
    }
    if (args.size() % 2 == 0 || ((dataDir.isEmpty() || dict.isEmpty()) && zoom.isEmpty()))
        fail(QStringLiteral("usage: gen_pictures --data DIR --dict WUBI86.dict.yaml [--out DIR [--verify DIR]]\n"
                            "                    [--contact FILE.png] [--review FILE.png]\n"
                            "       gen_pictures [--data DIR] --zoom ROOT,ROOT,... --sheet FILE.png"));

    loadFonts();
    for (Face face : {Face::Song, Face::Kai, Face::Sans})
        checkMainlandForms(font(face, 20));
    if (!zoom.isEmpty()) {
        if (sheet.isEmpty())
            fail(QStringLiteral("--zoom needs --sheet FILE.png to write to"));
        const QStringList items = zoom.split(QLatin1Char(','), Qt::SkipEmptyParts);
        std::unique_ptr<Data> data;
        if (!dataDir.isEmpty())
            data = std::make_unique<Data>(loadData(dataDir));
        const QSize size(int(items.size()) * 880, 460);
        save(render(size, 1, QImage::Format_RGB32, [&](QPainter& p) { drawZoom(p, data.get(), items, size); }), sheet);
        return 0;
    }
    Data data = loadData(dataDir);
    checkDictionary(data, dict);
    checkCutsLeaveNoSpecks(data);
    const std::vector<RootPicture> pictures = rootPictures(data);
    const std::vector<int> drillOrder = loadDrillOrder(dataDir, pictures);

    Outputs outputs;
    outputs.push_back({QStringLiteral("pictures/image1.jpg"), rootChartSize,
                       [&](QPainter& p) { drawRootChart(p, data, rootChartSize); }});
    outputs.push_back({QStringLiteral("pictures/image2.jpg"), QSize(695, 176),
                       [&](QPainter& p) { drawMnemonicChart(p, data, QSize(695, 176)); }});
    outputs.push_back({QStringLiteral("pictures/image7.jpg"), QSize(459, 173), [&](QPainter& p) {
                           drawCharacterMap(
                               p, data, QSize(459, 173), [](const Key& k) { return k.name; },
                               QStringLiteral("键名字键位图"));
                       }});
    outputs.push_back({QStringLiteral("pictures/image8.jpg"), QSize(459, 173), [&](QPainter& p) {
                           drawCharacterMap(
                               p, data, QSize(459, 173), [](const Key& k) { return k.level1; },
                               QStringLiteral("一级简码键位图"));
                       }});
    outputs.push_back(
        {QStringLiteral("pictures/image9.jpg"), rootMapSize, [&](QPainter& p) { drawRootMap(p, data, rootMapSize); }});
    for (const RootPicture& pic : pictures)
        outputs.push_back({QStringLiteral("pictures/zigen/zigen%1.jpg").arg(pic.number), rootPictureSize,
                           [pic](QPainter& p) { drawRootPicture(p, *pic.root, pic.root == &pic.key->roots.front()); }});

    for (Output& out : aboutOutputs())
        outputs.push_back(std::move(out));

    if (!outDir.isEmpty())
        writeOutputs(outputs, outDir);
    if (!contact.isEmpty()) {
        const QSize size(15 * 120 + 4, 14 * 104 + 4);
        save(render(size, 1, QImage::Format_RGB32,
                    [&](QPainter& p) { drawContactSheet(p, pictures, drillOrder, size); }),
             contact);
    }
    if (!review.isEmpty()) {
        const QImage chart =
            render(rootChartSize, 1, QImage::Format_RGB32, [&](QPainter& p) { drawRootChart(p, data, rootChartSize); });
        const QImage map =
            render(rootMapSize, 1, QImage::Format_RGB32, [&](QPainter& p) { drawRootMap(p, data, rootMapSize); });
        int cuts = 0;
        for (const Key& k : data.keys)
            for (const Root& r : k.roots)
                cuts += r.host.isEmpty() ? 0 : 1;
        const QSize size(2000, 25 * 162 + 8 + (cuts + 5) / 6 * 170);
        save(render(size, 1, QImage::Format_RGB32,
                    [&](QPainter& p) { drawReviewSheet(p, data, rootChartKeys(), rootMapKeys(), chart, map, size); }),
             review);
    }
    if (!verify.isEmpty()) {
        if (outDir.isEmpty())
            fail(QStringLiteral("--verify needs --out DIR to render into"));
        if (!sameOutputs(outputs, verify, outDir))
            fail(QStringLiteral("the files in %1 are not what the generator makes now: run the `pictures` target")
                     .arg(verify));
        std::printf("the pictures and icons in %s are up to date\n", qPrintable(verify));
    }
    return 0;
}
