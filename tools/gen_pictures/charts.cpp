#include "charts.h"

#include "drawing.h"
#include "fonts.h"
#include "output_files.h"
#include "picture_files.h"

#include <QFontMetricsF>

#include <algorithm>
#include <cmath>
#include <functional>

namespace {

// ---- Keys --------------------------------------------------------------------------------

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

// ---- Roots on a key ----------------------------------------------------------------------

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

// The fewest rows that give the roots from first the largest cells in area, each wide root two
// cells when asked; px gets the em size the roots are drawn at.
RootRows layoutRoots(const std::vector<Root>& roots, size_t first, const QRectF& area, int maxPx, qreal rowSpace,
                     bool wide, int* px) {
    const size_t n = roots.size() - first;
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
    // Two pixels between neighbours where the key has room; a crowded key gives them up before
    // its roots go below 16 pixels.
    *px = std::min({maxPx, int(best.fit + 0.01), std::max(16, int(area.width() / best.columns - 2))});
    return best;
}

// Lays the roots of a key in a grid centred in area, as large as area allows up to maxPx: a key
// with few roots shows them larger. A root marked wide (a flat one: in one cell it is 4 to 6
// pixels high at 1x and its strokes run together) is given two cells and drawn larger to fill
// them, when that leaves the key's roots at 16 pixels or more. Returns the em size used, so that
// a chart can say how small its smallest roots are.
int drawRootGrid(QPainter& p, const std::vector<Root>& roots, size_t first, const QRectF& area, int maxPx,
                 qreal rowSpace, const QColor& colour, const QColor& firstColour) {
    if (first >= roots.size())
        return maxPx;
    int narrowPx = 0, widePx = 0;
    const RootRows narrow = layoutRoots(roots, first, area, maxPx, rowSpace, false, &narrowPx),
                   wide = layoutRoots(roots, first, area, maxPx, rowSpace, true, &widePx);
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

// ---- The root chart ----------------------------------------------------------------------

// The root chart of the first page: every key with its letter, area-position code, key-name
// character and roots, laid out as on the keyboard. Ten keys side by side leave a key 66 pixels:
// four columns of 16-pixel roots, so the header (key name, letter, code) is kept to one line.
const QSize rootChartSize = assets::kRootChart.size();
constexpr qreal chartGap = 1;

KeyboardGeometry rootChartKeyboard() {
    const qreal rowHeight = (rootChartSize.height() - 2 - 2 * chartGap) / 3;
    return keyboard(QRectF(1, 1, rootChartSize.width() - 2, 0), rowHeight, chartGap);
}

} // namespace

std::map<QChar, QRectF> rootChartKeys() {
    return rootChartKeyboard().rects;
}

namespace {

void drawRootChart(QPainter& p, const Data& data, QSize size) {
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

// ---- The mnemonic chart ------------------------------------------------------------------

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

// Reading hints in brackets: a pixel below the verse, so that at 1x their ink is 11 pixels high.
int hintPx(int px) {
    return std::max(13, px - 1);
}
// Between a zone code's digits and its letter.
constexpr qreal badgeGap = 2;

int badgePx(int px) {
    return std::max(9, px * 2 / 3);
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

// The room the mnemonic chart keeps above and around its verses.
constexpr qreal titleHeight = 22;
constexpr qreal rowGap = 3;
constexpr qreal margin = 4;

// The verses at the largest type that fits the chart; at each size, lines from short to long,
// since a longer line can save a whole line in the tallest row.
VerseLayout fitVerses(const Data& data, QSize size) {
    for (int px = 16; px >= 11; --px) {
        for (qreal lineEm : {8.6, 9.0, 9.4, 9.8, 10.2}) {
            const VerseLayout v = layoutVerses(data, px, lineEm);
            qreal width = 0, height = titleHeight + 4 * rowGap;
            for (int i = 0; i < 5; ++i) {
                width += v.columnWidth[i];
                height += v.rowLines[i] * v.lineHeight;
            }
            if (width + 2 * margin + 4 * 4 <= size.width() && height + 4 <= size.height()) {
                note(QStringLiteral("mnemonic chart: verses at %1 px").arg(v.px));
                return v;
            }
        }
    }
    fail(QStringLiteral("the verses do not fit the mnemonic chart"));
}

// A key's badge before its verse: the zone code in the zone's colour, the key letter apart from it
// in dark ink and the letter face, so that 44O never reads as 440.
void drawBadge(QPainter& p, const Key& k, const QRectF& badge, int px) {
    const ZoneColours c = zoneColours(k.zone());
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(c.fill);
    p.drawRoundedRect(badge, 3, 3);
    p.restore();
    const QFont badgeFont = font(Face::SansBold, badgePx(px));
    const QFont letterFont = font(Face::Letter, badgePx(px));
    const QString digits = QString::number(k.code);
    const qreal digitsWidth = QFontMetricsF(badgeFont).horizontalAdvance(digits);
    const qreal letterWidth = QFontMetricsF(letterFont).horizontalAdvance(QString(k.letter));
    const qreal start = badge.center().x() - (digitsWidth + badgeGap + letterWidth) / 2;
    text(p, badgeFont, c.accent, QRectF(start, badge.top(), digitsWidth + 1, badge.height()),
         Qt::AlignLeft | Qt::AlignVCenter, digits);
    text(p, letterFont, ink, QRectF(start + digitsWidth + badgeGap, badge.top(), letterWidth + 1, badge.height()),
         Qt::AlignLeft | Qt::AlignVCenter, QString(k.letter));
}

// The mnemonic chart: a title and the 25 verses, one column per zone.
void drawMnemonicChart(QPainter& p, const Data& data, QSize size) {
    p.fillRect(QRectF(QPointF(0, 0), size), QColor(0xff, 0xfd, 0xf6));
    p.setPen(QPen(QColor(0xd8, 0xcf, 0xb8), 1));
    p.drawRect(QRectF(0.5, 0.5, size.width() - 1, size.height() - 1));

    const VerseLayout v = fitVerses(data, size);

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
    const QFont verseFont = font(Face::Song, v.px);
    const qreal ascent = QFontMetricsF(verseFont).ascent();

    qreal x = margin;
    for (int zone = 0; zone < 5; ++zone) {
        qreal y = titleHeight + gapY * 0.6;
        for (int pos = 0; pos < 5; ++pos) {
            const int i = zone * 5 + pos;
            const Key& k = data.keys[size_t(i)];
            drawBadge(p, k, QRectF(x, y + (v.lineHeight - v.px - 2) / 2, v.badgeWidth - 3, v.px + 2), v.px);
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

// ---- The keyboard maps -------------------------------------------------------------------

// A keyboard of large characters, one per letter key, with a caption line under it.
void drawCharacterMap(QPainter& p, const Data& data, QSize size, const std::function<QString(const Key&)>& character,
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
const QSize rootMapSize = assets::kRootMap.size();

} // namespace

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

namespace {

void drawRootMap(QPainter& p, const Data& data, QSize size) {
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

} // namespace

Outputs chartOutputs(const Data& data) {
    const Data* d = &data;
    const auto map = [d](const Key& k) { return k.name; };
    const auto level1 = [d](const Key& k) { return k.level1; };
    (void)map;
    (void)level1;
    Outputs outputs;
    outputs.push_back(
        {assets::kRootChart.path(), rootChartSize, [d](QPainter& p) { drawRootChart(p, *d, rootChartSize); }});
    outputs.push_back({assets::kMnemonicChart.path(), assets::kMnemonicChart.size(),
                       [d](QPainter& p) { drawMnemonicChart(p, *d, assets::kMnemonicChart.size()); }});
    outputs.push_back({assets::kKeyNameMap.path(), assets::kKeyNameMap.size(), [d](QPainter& p) {
                           drawCharacterMap(
                               p, *d, assets::kKeyNameMap.size(), [](const Key& k) { return k.name; },
                               QStringLiteral("键名字键位图"));
                       }});
    outputs.push_back({assets::kLevel1Map.path(), assets::kLevel1Map.size(), [d](QPainter& p) {
                           drawCharacterMap(
                               p, *d, assets::kLevel1Map.size(), [](const Key& k) { return k.level1; },
                               QStringLiteral("一级简码键位图"));
                       }});
    outputs.push_back({assets::kRootMap.path(), rootMapSize, [d](QPainter& p) { drawRootMap(p, *d, rootMapSize); }});
    return outputs;
}
