#pragma once
// Text as the typing test counts it: GB2312 in the sense of Windows code page 936, where a Chinese
// character or a full-width sign takes two bytes and an ASCII character one. Lengths and caret
// positions of the typed, passage and mark lines are all counted in these bytes.
//
// The encoding is Qt's own GBK codec (ICU), never a table of ours, so the byte counts are exactly
// what the code page gives.

#include <QByteArray>
#include <QChar>
#include <QString>

namespace gb {

// The text in code page 936. A character the code page cannot encode comes out as one '?'.
QByteArray encode(const QString& text);

// Bytes the text takes in code page 936.
int byteLength(const QString& text);

// A double-byte character of GB2312 proper: two bytes in the code page, in a cell GB2312 assigns
// (gb2312.h); not the code page's own signs in the empty cells of rows 1-9, its user-defined rows
// (the private-use code points) or its wider character set.
bool isDoubleByte(QChar c);

// A Chinese character of GB2312 (rows 16-87), as against its signs and punctuation (rows 1-9).
bool isHanzi(QChar c);

// A single-byte character a typed line may hold: printable ASCII. Control characters (a line
// break, a tab) are not text of a line.
bool isSingleByte(QChar c);

// Whether every character of `text` is one a typed line may hold.
bool isTypeable(const QString& text);

} // namespace gb
