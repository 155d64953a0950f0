#pragma once
// The lexicon tables' layout, in one place: each table file, its fields in column order and what
// each field holds. The table reader checks a file against it, the generator writes the files by
// it, and the drills and the test fixtures name every field through it, never by the field's text:
// two tables use one name for different things (czwb.db's code and czzk.db's batch number are
// both "n1"). Every table also has an INTEGER PRIMARY KEY, which no field names, giving its row
// order.

#include <QList>
#include <QString>
#include <QStringList>

namespace lexicon::schema {

// A code table: a Wubi code and the character or phrase it gives, looked up either way.
struct CodeTable {
    QString code; // one to four letters
    QString text; // the character or phrase
};

// A batch table: numbered batches of targets in slot order.
struct BatchTable {
    QString number;      // the batch number as a counter box writes it: "100", never "0100"
    QStringList targets; // slot 1's target first
};

// cf.db: a drilled character, its full code and the roots that make it up.
struct ExplanationTable {
    QString character;
    QString code;
    QString split; // as tools/gen_lexicon/lists/splits.txt writes it
};

// No value the drills use comes near this: the longest phrase has nine characters, a batch number
// a few digits. A longer value is a broken table, not a phrase; the generator writes none.
inline constexpr int kLongestValue = 32;
// A code box holds four letters, so a longer code could never be typed.
inline constexpr int kLongestCode = 4;
// A letter of a Wubi code as the tables hold it: a to y, z being no key of the scheme.
inline bool isCodeLetter(QChar c) {
    return c >= u'a' && c <= u'y';
}
// A letter key as the code boxes take it: a to z in either case. A capital is a code typed with
// Caps Lock on, which the drills point out; z is the lookup's any letter.
inline bool isLetterKey(QChar c) {
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}
// The longest phrase of the dictionary; the phrase page shows one this long whole.
inline constexpr int kLongestPhrase = 9;

inline constexpr int kCharactersPerBatch = 15;
inline constexpr int kPhrasesPerBatch = 5;

inline QStringList numberedFields(int first, int count) {
    QStringList fields;
    for (int n = first; n < first + count; ++n)
        fields << QStringLiteral("n") + QString::number(n);
    return fields;
}

// wb.db, the character codes the drills look typed codes up in, and jm.db, the first-level short
// codes; bm.db, every code the dictionary gives each character, as the lookup page answers them.
inline const CodeTable kCharacterCodes{QStringLiteral("dm"), QStringLiteral("hz")};
// zk.db: fifteen characters a batch.
inline const BatchTable kCharacterBatches{QStringLiteral("no"), numberedFields(1, kCharactersPerBatch)};
// czwb.db: the phrase codes.
inline const CodeTable kPhraseCodes{QStringLiteral("n1"), QStringLiteral("n2")};
// czzk.db: five phrases a batch; a row of the long phrases practises its first.
inline const BatchTable kPhraseBatches{QStringLiteral("n1"), numberedFields(2, kPhrasesPerBatch)};
inline const ExplanationTable kExplanations{QStringLiteral("hz"), QStringLiteral("dm"), QStringLiteral("cf")};

// The table files.
inline constexpr char kCharacterCodeFile[] = "wb.db";
inline constexpr char kFirstLevelFile[] = "jm.db";
inline constexpr char kCharacterBatchFile[] = "zk.db";
inline constexpr char kPhraseCodeFile[] = "czwb.db";
inline constexpr char kPhraseBatchFile[] = "czzk.db";
inline constexpr char kExplanationFile[] = "cf.db";
inline constexpr char kLookupCodeFile[] = "bm.db";

struct File {
    QString name;        // "wb.db"; the table inside is named without ".db"
    QStringList fields;  // in column order
    QStringList located; // the fields the program locates on, which the generator indexes
};

// clang-format off
inline const QList<File> kFiles = {
    {QLatin1String(kCharacterCodeFile), {kCharacterCodes.code, kCharacterCodes.text},
                                        {kCharacterCodes.code, kCharacterCodes.text}},
    {QLatin1String(kFirstLevelFile), {kCharacterCodes.code, kCharacterCodes.text},
                                     {kCharacterCodes.code, kCharacterCodes.text}},
    {QLatin1String(kCharacterBatchFile), QStringList{kCharacterBatches.number} + kCharacterBatches.targets,
                                         {kCharacterBatches.number}},
    {QLatin1String(kPhraseCodeFile), {kPhraseCodes.code, kPhraseCodes.text}, {kPhraseCodes.code, kPhraseCodes.text}},
    {QLatin1String(kPhraseBatchFile), QStringList{kPhraseBatches.number} + kPhraseBatches.targets,
                                      {kPhraseBatches.number}},
    {QLatin1String(kExplanationFile), {kExplanations.character, kExplanations.code, kExplanations.split},
                                      {kExplanations.character}},
    {QLatin1String(kLookupCodeFile), {kCharacterCodes.code, kCharacterCodes.text},
                                     {kCharacterCodes.code, kCharacterCodes.text}},
};
// clang-format on

// What a field holds, which says what a sound value of it is.
enum class Holds {
    Code,      // one to four letters a to y, never empty
    Character, // one character
    Phrase,    // at most kLongestPhrase characters
    Text,      // anything else (batch numbers, splits): at most kLongestValue characters
};

inline Holds holds(const QString& fileName, const QString& field) {
    const QString file = fileName.endsWith(QLatin1String(".db")) ? fileName : fileName + QLatin1String(".db");
    const auto is = [&file](const char* name) { return file == QLatin1String(name); };
    if (is(kCharacterCodeFile) || is(kFirstLevelFile) || is(kLookupCodeFile))
        return field == kCharacterCodes.code ? Holds::Code : Holds::Character;
    if (is(kPhraseCodeFile))
        return field == kPhraseCodes.code ? Holds::Code : Holds::Phrase;
    if (is(kCharacterBatchFile))
        return kCharacterBatches.targets.contains(field) ? Holds::Character : Holds::Text;
    if (is(kPhraseBatchFile))
        return kPhraseBatches.targets.contains(field) ? Holds::Phrase : Holds::Text;
    if (is(kExplanationFile)) {
        if (field == kExplanations.code)
            return Holds::Code;
        return field == kExplanations.character ? Holds::Character : Holds::Text;
    }
    return Holds::Text;
}

// The layout of table file `name` ("wb.db", or "wb" for the same), or null for a file that is no
// lexicon table.
inline const File* fileOf(const QString& name) {
    for (const File& f : kFiles)
        if (f.name == name || f.name.chopped(3) == name)
            return &f;
    return nullptr;
}

} // namespace lexicon::schema
