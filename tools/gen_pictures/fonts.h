#pragma once
// The faces the pictures are drawn with, loaded from Debian's font files, with no fallback: what
// a face lacks must be noticed, not patched from elsewhere.

#include <QFont>
#include <QString>

// Song for roots and running text, Kai for key names and titles, the sans face for letters,
// digits and the few roots the Song face lacks, Letter for key letters and codes.
enum class Face { Song, Kai, Sans, SansBold, Letter };

// Loads the font files; stops the run if a CJK face draws 匕 like 七.
void loadFonts();

QFont font(Face face, int pixelSize);

bool covers(const QFont& f, char32_t codePoint);

// Stops the run if f lacks a glyph of text (spaces and line breaks aside).
void requireGlyphs(const QFont& f, const QString& text);

// The font files the pictures are drawn from, a line each: its SHA-256 and its path. Written
// beside the pictures, so that a later check can tell whether it draws from the same files.
QString fontRecord();
