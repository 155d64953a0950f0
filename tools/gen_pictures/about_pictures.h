#pragma once
// The About page's pictures and the program's icons.

#include <QPainter>
#include <QString>

// Writes image3.jpg … image6.jpg (with @2x versions) into `pictureDir`, and the icon as
// vardelo-32.png, -64, -128, -256 and vardelo.svg into `iconDir`.
void writeAboutPictures(const QString& pictureDir, const QString& iconDir);

// The icon in a 32-unit square: the window's own icon is the same drawing.
void drawIcon(QPainter& p);
