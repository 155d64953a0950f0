#pragma once
// The Wubi 86 dictionary as the generator sees it: GB2312 entries only, in file order, with the
// facts the practice data is chosen from (each character's codes and its full code).

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

namespace gen {

struct Entry {
    QString text;
    QString code;
    double weight = 0;
    int order = 0; // position in the file: the tie-break wherever weights are equal
};

struct Dictionary {
    QList<Entry> characters; // single GB2312 characters
    QList<Entry> phrases;    // GB2312 texts of two or more characters
    // Every code of a character, shortest first; the last one is its full code.
    QHash<QString, QStringList> codesOf;
    // Weight of the entry (character, code).
    QHash<QString, double> weightOf;
    int commentedOut = 0;
    int notWubiCodes = 0;
    int notGb2312 = 0;

    QString fullCode(const QString& hz) const;
    double weight(const QString& text, const QString& code) const;
};

// Reads the rows after the header's "..." line. Throws std::runtime_error when the file cannot
// be read or holds no rows.
Dictionary readDictionary(const QString& path);

// GB2312 in the sense of code page 936 restricted to GB2312's own rows: every character encodes
// to two bytes, lead 0xA1-0xF7, trail 0xA1-0xFE.
bool isGb2312(const QString& text);
// A GB2312 hanzi (rows 16-87); level 1 is the first 3,755 of them (rows 16-55).
bool isGb2312Hanzi(const QString& ch);
bool isLevel1(const QString& ch);
bool allLevel1(const QString& text);

// The Wubi phrase rule, from the characters' full codes: two characters take the first two
// codes of each; three take the first code of the first two and the first two of the third; four
// or more take the first codes of characters 1, 2, 3 and the last. Empty when a character has no
// code or the text is shorter than two characters.
QString phraseCode(const QString& phrase, const Dictionary& dict);

// Text split into characters (a GB2312 text never holds surrogate pairs, but the dictionary
// does, so split by code point).
QStringList characters(const QString& text);

} // namespace gen
