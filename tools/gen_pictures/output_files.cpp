#include "output_files.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {

const QString manifestName = QStringLiteral("manifest.sha256");

qreal currentScale = 1;

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

QByteArray readFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        fail(QStringLiteral("cannot read %1").arg(path));
    return file.readAll();
}

void writeFile(const QByteArray& bytes, const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size() || !file.flush())
        fail(QStringLiteral("cannot write %1").arg(path));
    std::printf("wrote %s\n", qPrintable(path));
}

// Every file an output makes, by path under the assets folder.
QStringList fileNames(const Output& out) {
    QStringList names{out.name};
    if (out.withDouble && out.draw) {
        const qsizetype dot = out.name.lastIndexOf(QLatin1Char('.'));
        names << out.name.left(dot) + QStringLiteral("@2x") + out.name.mid(dot);
    }
    return names;
}

bool isPicture(const QString& name) {
    return name.endsWith(QStringLiteral(".jpg")) || name.endsWith(QStringLiteral(".png"));
}

// The files the manifest lists, in its order.
QStringList manifestFiles(const QString& dir) {
    QStringList names;
    for (const QByteArray& line : readFile(dir + QLatin1Char('/') + manifestName).split('\n'))
        if (!line.isEmpty())
            names << QString::fromUtf8(line.mid(66));
    return names;
}

} // namespace

void fail(const QString& message) {
    std::fprintf(stderr, "gen_pictures: %s\n", qPrintable(message));
    std::exit(1);
}

void save(const QImage& image, const QString& path) {
    const bool jpeg = path.endsWith(QStringLiteral(".jpg"));
    if (!image.save(path, jpeg ? "JPG" : "PNG", jpeg ? 95 : -1))
        fail(QStringLiteral("cannot write %1").arg(path));
    std::printf("wrote %s (%dx%d)\n", qPrintable(path), image.width(), image.height());
}

qreal renderScale() {
    return currentScale;
}

QImage render(QSize size, qreal scale, QImage::Format format, const std::function<void(QPainter&)>& draw) {
    QImage image((QSizeF(size) * scale).toSize(), format);
    image.fill(format == QImage::Format_RGB32 ? QColor(Qt::white) : QColor(Qt::transparent));
    currentScale = scale;
    QPainter p(&image);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.scale(scale, scale);
    draw(p);
    p.end();
    currentScale = 1;
    return image;
}

void writeOutputs(const Outputs& outputs, const QString& dir) {
    // The manifest: a SHA-256 line ("HASH  PATH", as sha256sum writes it) for every file, sorted
    // by path, so that the committed files can be checked against it and stray ones found.
    QStringList lines;
    for (const Output& out : outputs) {
        const QStringList names = fileNames(out);
        for (int i = 0; i < names.size(); ++i) {
            const QString path = dir + QLatin1Char('/') + names[i];
            if (!QDir().mkpath(QFileInfo(path).path()))
                fail(QStringLiteral("cannot create the folder of %1").arg(path));
            if (!out.draw) {
                writeFile(out.bytes(), path);
            } else {
                const bool jpeg = path.endsWith(QStringLiteral(".jpg"));
                save(render(out.size, out.scale * (i + 1),
                            jpeg ? QImage::Format_RGB32 : QImage::Format_ARGB32_Premultiplied, out.draw),
                     path);
            }
            lines << QString::fromLatin1(QCryptographicHash::hash(readFile(path), QCryptographicHash::Sha256).toHex()) +
                         QStringLiteral("  ") + names[i];
        }
    }
    std::sort(lines.begin(), lines.end(), [](const QString& a, const QString& b) { return a.mid(66) < b.mid(66); });
    writeFile((lines.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8(), dir + QLatin1Char('/') + manifestName);
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
