#pragma once
// Rendering, writing and checking the generator's files; shared by the generator's sources.

#include "outputs.h"

#include <QImage>
#include <QString>

// Prints the message and ends the run with a failure.
[[noreturn]] void fail(const QString& message);

// Writes `image` as JPEG (".jpg") or PNG, or fails.
void save(const QImage& image, const QString& path);

// Draws into a new image of `size` drawing units at `scale` device pixels per unit, on white
// (RGB32) or transparent (ARGB32_Premultiplied).
QImage render(QSize size, qreal scale, QImage::Format format, const std::function<void(QPainter&)>& draw);

// The device pixels per drawing unit of the image being rendered now (1 between renderings).
qreal renderScale();

// Writes every output, and its double where it has one, under `dir`, and the manifest
// `dir`/manifest.sha256 that lists them all.
void writeOutputs(const Outputs& outputs, const QString& dir);

// Compares the files under `committedDir` with those just written under `madeDir`: the same
// list in the manifest, and each file the same picture within the tolerance. Prints every file
// that differs with its largest difference, and returns whether all matched.
bool sameOutputs(const Outputs& outputs, const QString& committedDir, const QString& madeDir);
