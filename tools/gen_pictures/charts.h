#pragma once
// The charts: the root chart of the first page (image1), and the mnemonic chart, the key-name
// and first-level short-code maps and the root map of the picture-hint panel (image2, image7,
// image8, image9).

#include "data.h"
#include "outputs.h"

#include <QChar>
#include <QRectF>

#include <map>

Outputs chartOutputs(const Data& data);

// Where each key lies in the root chart and in the root map, for the review sheet's crops.
std::map<QChar, QRectF> rootChartKeys();
std::map<QChar, QRectF> rootMapKeys();
