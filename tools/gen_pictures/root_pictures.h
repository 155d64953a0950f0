#pragma once
// The root drill's pictures, zigen1.jpg … zigen195.jpg: one root each, black on white, centred.

#include "data.h"
#include "outputs.h"

#include <QImage>

#include <vector>

Outputs rootPictureOutputs(const std::vector<RootPicture>& pictures);

// One root as its picture shows it (the key-name character at its own size), at scale device
// pixels per pixel.
QImage rootPictureImage(const Root& root, bool keyName, qreal scale);
