#pragma once
// Sheets for a reviewer and for working on the cut shapes, not shipped: PNG files written where
// asked.

#include "data.h"

#include <QString>
#include <QStringList>

#include <vector>

// Every counter value of the root drill in order with the picture it shows at both sizes, its
// picture number and its key.
void writeContactSheet(const std::vector<RootPicture>& pictures, const std::vector<int>& order, const QString& path);

// Key by key, the key on the root chart and the root map at 1x and enlarged, every root large
// with its picture and its line of roots.txt; then every cut root beside its host.
void writeReviewSheet(const Data& data, const QString& path);

// Cut roots or host characters on a twentieth grid (data may be null: hosts only).
void writeZoomSheet(const Data* data, const QStringList& items, const QString& path);
