#pragma once
// Where each drill's material starts and where it wraps round: the start batches, the end markers
// and the batches they jump to, the code table each category looks codes up in and the keyboard
// map it shows. The drills, the table generator (which must lay the batches out so that these
// hold) and the data tests all read them from here.

#include "schema.h"

namespace drills {

// The keyboard maps of the picture-hint panel a drill may ask for.
enum class KeyboardMap { KeyNames, FirstLevel, Roots };

// A character or phrase that, found last in a batch just reached, sends the counter to `jumpTo`.
struct EndMarker {
    const char* text;
    int jumpTo;
};

// The single-character drill's six categories, in the order of their buttons (RadioButton1-6).
struct CharacterCategory {
    const char* caption;
    const char* codeTable;
    int startBatch;
    KeyboardMap map;
    const char* endMarker; // the 15th character of the category's closing batch
};
inline constexpr int kCharacterCategories = 6;
// clang-format off
inline constexpr CharacterCategory kCharacterCategory[kCharacterCategories] = {
    {"键名字",   lexicon::schema::kCharacterCodeFile, 100, KeyboardMap::KeyNames,   "已"},
    {"成字字根", lexicon::schema::kCharacterCodeFile, 131, KeyboardMap::Roots,      "匕"},
    {"一级简码", lexicon::schema::kFirstLevelFile,    116, KeyboardMap::FirstLevel, "中"},
    {"二级简码", lexicon::schema::kCharacterCodeFile, 151, KeyboardMap::Roots,      "空"},
    {"三级简码", lexicon::schema::kCharacterCodeFile, 191, KeyboardMap::Roots,      "蕃"},
    {"识别码",   lexicon::schema::kCharacterCodeFile, 207, KeyboardMap::Roots,      "冈"},
};
// clang-format on
// Tested in this order after every advance, each against the 15th target of the batch shown then.
// The batch a marker jumps to belongs to the category it closes.
inline constexpr EndMarker kCharacterEndMarkers[] = {
    {"已", 103}, {"匕", 131}, {"空", 151}, {"蕃", 191}, {"冈", 207}, {"中", 120},
};

// The phrase drill's categories (RadioButton7-9: five phrases a batch in czzk.db) and the
// long-phrase mode (RadioButton10: one phrase a row from row 200, read from field n2).
struct PhraseCategory {
    const char* caption;
    int startBatch;
    EndMarker endMarker; // the fifth phrase of a batch, or the long phrase of a row
};
inline constexpr int kPhraseCategories = 3;
inline constexpr PhraseCategory kPhraseCategory[kPhraseCategories] = {
    {"双字词", 100, {"限定", 100}},
    {"三字词", 137, {"有效期", 137}},
    {"四字词", 169, {"程序设计", 167}}, // four-character phrases go on from 167, not from their start
};
inline constexpr PhraseCategory kLongPhrases = {"多字词", 200, {"中央书记处", 200}};

// Where a character marker sends the counter (0 for a text that is no marker).
constexpr int jumpOf(const char* marker) {
    for (const EndMarker& m : kCharacterEndMarkers) {
        int i = 0;
        while (m.text[i] != 0 && m.text[i] == marker[i])
            ++i;
        if (m.text[i] == 0 && marker[i] == 0)
            return m.jumpTo;
    }
    return 0;
}

// The batches a category may show: from the lowest it visits (its start, or the batch its end
// marker jumps to when that is lower) to the one before the next category's lowest; the category
// that comes last runs on to kLastBatch, beyond any a table holds.
struct BatchRange {
    int first;
    int last;
};
inline constexpr int kLastBatch = 9999;

constexpr int firstBatchOf(const CharacterCategory& c) {
    const int jump = jumpOf(c.endMarker);
    return jump > 0 && jump < c.startBatch ? jump : c.startBatch;
}

constexpr int firstBatchOf(const PhraseCategory& c) {
    return c.endMarker.jumpTo < c.startBatch ? c.endMarker.jumpTo : c.startBatch;
}

constexpr BatchRange batchRange(const CharacterCategory& c) {
    BatchRange r{firstBatchOf(c), kLastBatch};
    for (const CharacterCategory& other : kCharacterCategory) {
        if (firstBatchOf(other) > r.first && firstBatchOf(other) - 1 < r.last)
            r.last = firstBatchOf(other) - 1;
    }
    return r;
}

// Of a phrase category or of the long phrases, which follow them.
constexpr BatchRange batchRange(const PhraseCategory& c) {
    BatchRange r{firstBatchOf(c), kLastBatch};
    for (const PhraseCategory& other : kPhraseCategory) {
        if (firstBatchOf(other) > r.first && firstBatchOf(other) - 1 < r.last)
            r.last = firstBatchOf(other) - 1;
    }
    if (firstBatchOf(kLongPhrases) > r.first && firstBatchOf(kLongPhrases) - 1 < r.last)
        r.last = firstBatchOf(kLongPhrases) - 1;
    return r;
}

static_assert(batchRange(kCharacterCategory[0]).first == 100 && batchRange(kCharacterCategory[0]).last == 115);
static_assert(batchRange(kPhraseCategory[1]).last == 166 && batchRange(kPhraseCategory[2]).first == 167);
static_assert(batchRange(kLongPhrases).first == 200 && batchRange(kLongPhrases).last == kLastBatch);

} // namespace drills
