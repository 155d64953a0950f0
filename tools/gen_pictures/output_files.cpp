#include "output_files.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QSet>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace {

const QString manifestName = QStringLiteral("manifest.sha256");

qreal currentScale = 1;

void writeFile(const QByteArray& bytes, const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size() || !file.flush())
        fail(QStringLiteral("cannot write %1").arg(path));
    std::printf("wrote %s\n", qPrintable(path));
}

// Draws an output into a new image of its size at scale device pixels per drawing unit, on white
// (a JPEG, or an opaque PNG) or transparent.
QImage render(const Output& out, qreal scale) {
    const bool opaque = out.opaque || out.name.endsWith(QStringLiteral(".jpg"));
    const QImage::Format format = opaque ? QImage::Format_RGB32 : QImage::Format_ARGB32_Premultiplied;
    QImage image((QSizeF(out.size) * scale).toSize(), format);
    image.fill(opaque ? QColor(Qt::white) : QColor(Qt::transparent));
    currentScale = scale;
    QPainter p(&image);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.scale(scale, scale);
    out.draw(p);
    p.end();
    currentScale = 1;
    return image;
}

// Writes `image` as JPEG (".jpg") or PNG, or fails.
void save(const QImage& image, const QString& path) {
    const bool jpeg = path.endsWith(QStringLiteral(".jpg"));
    if (!image.save(path, jpeg ? "JPG" : "PNG", jpeg ? 95 : -1))
        fail(QStringLiteral("cannot write %1").arg(path));
    std::printf("wrote %s (%dx%d)\n", qPrintable(path), image.width(), image.height());
}

} // namespace

void fail(const QString& message) {
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

qreal renderScale() {
    return currentScale;
}

QImage renderPicture(const Output& out, qreal times) {
    return render(out, out.scale * times);
}

void writePicture(const Output& out, const QString& path) {
    save(render(out, out.scale), path);
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
            if (out.draw)
                save(renderPicture(out, i + 1), path);
            else
                writeFile(out.bytes(), path);
            lines << QString::fromLatin1(QCryptographicHash::hash(readFile(path), QCryptographicHash::Sha256).toHex()) +
                         QStringLiteral("  ") + names[i];
        }
    }
    std::sort(lines.begin(), lines.end(), [](const QString& a, const QString& b) { return a.mid(66) < b.mid(66); });
    writeFile((lines.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8(), dir + QLatin1Char('/') + manifestName);
}

QByteArray readFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        fail(QStringLiteral("cannot read %1").arg(path));
    return file.readAll();
}

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

QStringList manifestFiles(const QString& dir) {
    QStringList names;
    for (const QByteArray& line : readFile(dir + QLatin1Char('/') + manifestName).split('\n'))
        if (!line.isEmpty())
            names << QString::fromUtf8(line.mid(66));
    return names;
}
