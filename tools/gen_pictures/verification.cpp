#include "verification.h"

#include "drawing.h"
#include "output_files.h"

#include <QFile>
#include <QImage>
#include <QRegularExpression>
#include <QTextStream>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>

namespace {

// How far a picture rendered on another machine may stray from the committed one. With the
// same Debian fonts and the generator's fixed hinting, the outlines are the same everywhere, but
// the painter's anti-aliasing is not bit-exact from one build or processor to the next: edge
// pixels may move by a few levels, and JPEG spreads such a change over its 8x8 block. Measured
// on the committed pictures: a random change of up to ±8 levels on every anti-aliased pixel
// moves no pixel of any picture, after JPEG, by more than 17 levels, and ±12 by at most 23.
// A stroke added to or taken from a root moves dozens of pixels by a hundred levels or more.
//
// A pixel counts as different when one of its channels (alpha included) differs by more than
// this many levels of 255:
const int kChannelTolerance = 24;
// and a picture fails when more of its pixels than this differ, a few being let through so that
// a stray edge pixel on another machine does not fail a correct picture,
const int kAllowedPixels = 4;
// or when any pixel differs by more than this: it has turned from ink to paper or back, which
// no rounding of an edge does. A stroke of 2x1 pixels added to a root on the 1x root chart
// changes only 3 pixels by more than kChannelTolerance, but those by 204 levels.
const int kInkChange = 128;

struct Difference {
    int largest = 0; // levels, the largest channel difference of any pixel
    int pixels = 0;  // pixels beyond kChannelTolerance
};

Difference compare(const QImage& committed, const QImage& made) {
    const QImage a = committed.convertToFormat(QImage::Format_ARGB32);
    const QImage b = made.convertToFormat(QImage::Format_ARGB32);
    Difference d;
    for (int y = 0; y < a.height(); ++y) {
        const QRgb* la = reinterpret_cast<const QRgb*>(a.constScanLine(y));
        const QRgb* lb = reinterpret_cast<const QRgb*>(b.constScanLine(y));
        for (int x = 0; x < a.width(); ++x) {
            const int diff = std::max({std::abs(qRed(la[x]) - qRed(lb[x])), std::abs(qGreen(la[x]) - qGreen(lb[x])),
                                       std::abs(qBlue(la[x]) - qBlue(lb[x])), std::abs(qAlpha(la[x]) - qAlpha(lb[x]))});
            d.largest = std::max(d.largest, diff);
            d.pixels += diff > kChannelTolerance ? 1 : 0;
        }
    }
    return d;
}

// A text file with numbers (the scalable icon): the same words, and numbers within a hundredth.
bool sameText(const QByteArray& committed, const QByteArray& made, qreal* largest) {
    static const QRegularExpression number(QStringLiteral("-?[0-9]+(\\.[0-9]+)?"));
    const QString a = QString::fromUtf8(committed), b = QString::fromUtf8(made);
    QString wordsA = a, wordsB = b;
    wordsA.replace(number, QStringLiteral("#"));
    wordsB.replace(number, QStringLiteral("#"));
    if (wordsA != wordsB)
        return false;
    auto ia = number.globalMatch(a), ib = number.globalMatch(b);
    *largest = 0;
    while (ia.hasNext() && ib.hasNext())
        *largest = std::max(*largest, std::abs(ia.next().captured().toDouble() - ib.next().captured().toDouble()));
    return *largest <= 0.0101;
}

} // namespace

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

bool sameOutputs(const Outputs& outputs, const QString& committedDir, const QString& madeDir) {
    bool same = true;
    const QStringList committed = manifestFiles(committedDir), made = manifestFiles(madeDir);
    for (const QString& name : made)
        if (!committed.contains(name)) {
            std::fprintf(stderr, "%s: not committed\n", qPrintable(name));
            same = false;
        }
    for (const QString& name : committed)
        if (!made.contains(name)) {
            std::fprintf(stderr, "%s: committed, but the generator no longer makes it\n", qPrintable(name));
            same = false;
        }
    int largest = 0, mostPixels = 0;
    QString largestIn, mostPixelsIn;
    for (const Output& out : outputs) {
        for (const QString& name : fileNames(out)) {
            if (!committed.contains(name))
                continue;
            const QString a = committedDir + QLatin1Char('/') + name, b = madeDir + QLatin1Char('/') + name;
            if (!isPicture(name)) {
                qreal by = 0;
                if (!sameText(readFile(a), readFile(b), &by)) {
                    std::fprintf(stderr, "%s: differs (numbers by up to %g, or words)\n", qPrintable(name), by);
                    same = false;
                }
                continue;
            }
            const QImage ia(a), ib(b);
            if (ia.isNull() || ib.isNull())
                fail(QStringLiteral("cannot decode %1 or %2").arg(a, b));
            if (ia.size() != ib.size()) {
                std::fprintf(stderr, "%s: %dx%d committed, %dx%d made\n", qPrintable(name), ia.width(), ia.height(),
                             ib.width(), ib.height());
                same = false;
                continue;
            }
            const Difference d = compare(ia, ib);
            if (d.largest > largest) {
                largest = d.largest;
                largestIn = name;
            }
            if (d.pixels > mostPixels) {
                mostPixels = d.pixels;
                mostPixelsIn = name;
            }
            if (d.pixels > kAllowedPixels || d.largest > kInkChange) {
                std::fprintf(stderr,
                             "%s: %d pixels differ by more than %d levels (%d allowed), the largest difference "
                             "%d levels (%d allowed)\n",
                             qPrintable(name), d.pixels, kChannelTolerance, kAllowedPixels, d.largest, kInkChange);
                same = false;
            }
        }
    }
    std::printf("largest difference: %d levels%s%s; most pixels beyond %d levels: %d%s%s\n", largest,
                largestIn.isEmpty() ? "" : " in ", qPrintable(largestIn), kChannelTolerance, mostPixels,
                mostPixelsIn.isEmpty() ? "" : " in ", qPrintable(mostPixelsIn));
    return same;
}
