#pragma once
// The pictures the generator writes: each is drawn at its size and, unless told otherwise, again
// at twice the size as NAME@2x.EXT beside it. A source file that adds pictures appends to the
// list that main() writes; the checksum manifest then covers them too.

#include <QPainter>
#include <QSize>
#include <QString>

#include <functional>
#include <vector>

struct Output {
    QString name; // path under the pictures folder, such as "zigen/zigen1.jpg"; .jpg or .png
    QSize size;
    std::function<void(QPainter&)> draw;
    bool withDouble = true;
};

using Outputs = std::vector<Output>;
