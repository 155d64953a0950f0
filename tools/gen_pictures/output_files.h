#pragma once
// The one path from a drawing to a file: every output is rendered here (renderPicture) and
// written here, the assets folder's files with their checksum manifest (writeOutputs), a sheet on
// its own (writePicture). With them, what the generator's sources share to report and stop.

#include "outputs.h"

#include <QByteArray>
#include <QImage>
#include <QString>
#include <QStringList>

// Prints the message and ends the run with a failure.
[[noreturn]] void fail(const QString& message);

// Prints the message, once however often it is given.
void note(const QString& message);

// The output drawn at `times` its own scale: on white (a JPEG, or an opaque PNG) or transparent.
QImage renderPicture(const Output& out, qreal times = 1);

// The device pixels per drawing unit of the image being rendered now (1 between renderings).
qreal renderScale();

// Writes the output at its own scale to `path`, as JPEG (".jpg") or PNG.
void writePicture(const Output& out, const QString& path);

// Writes every output, and its double where it has one, under `dir`, and the manifest
// `dir`/manifest.sha256 that lists them all.
void writeOutputs(const Outputs& outputs, const QString& dir);

// Every file an output makes, by path under the assets folder.
QStringList fileNames(const Output& out);

bool isPicture(const QString& name);

// The files the manifest under `dir` lists, in its order.
QStringList manifestFiles(const QString& dir);

QByteArray readFile(const QString& path);
