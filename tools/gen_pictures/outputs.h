#pragma once
// The files the generator writes, all through one path (output_files.h), which also lists them
// in the assets folder's checksum manifest. A picture is drawn in its own units at
// `scale` device pixels per unit and, unless told otherwise, again at twice that as
// NAME@2x.EXT beside it. A file that is not a picture (the scalable icon) gives its bytes.

#include <QByteArray>
#include <QPainter>
#include <QSize>
#include <QString>

#include <functional>
#include <vector>

struct Output {
    QString name; // path under the assets folder, such as "pictures/zigen/zigen1.jpg"; .jpg, .png or other
    QSize size;   // in drawing units
    std::function<void(QPainter&)> draw;
    bool withDouble = true;
    qreal scale = 1;                             // device pixels per drawing unit of the file itself
    std::function<QByteArray()> bytes = nullptr; // set instead of draw for a file that is not a picture
    bool opaque = false;                         // drawn on white even as PNG (the sheets)
};

using Outputs = std::vector<Output>;
