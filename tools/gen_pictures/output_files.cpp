#include "output_files.h"

#include <cstdio>
#include <cstdlib>

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
