#pragma once
// Ending the run with a message, and writing a picture file; shared by the generator's sources.

#include <QImage>
#include <QString>

// Prints the message and ends the run with a failure.
[[noreturn]] void fail(const QString& message);

// Writes `image` as JPEG (".jpg") or PNG, or fails.
void save(const QImage& image, const QString& path);
