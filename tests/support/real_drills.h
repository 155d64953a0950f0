#pragma once
// The slot drills on the real generated tables (VARDELO_BUILD_DATA_DIR), opened as at start-up,
// with the hint on: what the data tests and the benchmarks drive.

#include "character_drill.h"
#include "phrase_drill.h"
#include "recording_desktop.h"
#include "recording_pictures.h"
#include "schema.h"

namespace test_support {

inline const QString kRealData = QStringLiteral(VARDELO_BUILD_DATA_DIR);

// What a slot drill is given, its code and batch tables open.
struct RealTables {
    RealTables(const char* codeFile, const char* batchFile, const QString& codeMember, const QString& batchMember)
        : codes(codeMember), batches(batchMember) {
        codes.open(kRealData, QLatin1String(codeFile));
        batches.open(kRealData, QLatin1String(batchFile));
    }
    controls::Focus focus;
    lexicon::Table codes;
    lexicon::Table batches;
    RecordingPictures pictures;
    RecordingDesktop desktop;
};

struct RealCharacterDrill : RealTables {
    RealCharacterDrill()
        : RealTables(lexicon::schema::kCharacterCodeFile, lexicon::schema::kCharacterBatchFile,
                     QStringLiteral("Table1"), QStringLiteral("Table2")) {
        d.RadioButton22.check();
    }
    drills::CharacterDrill d{focus, codes, batches, kRealData, pictures};
};

struct RealPhraseDrill : RealTables {
    RealPhraseDrill()
        : RealTables(lexicon::schema::kPhraseCodeFile, lexicon::schema::kPhraseBatchFile, QStringLiteral("Table3"),
                     QStringLiteral("Table4")) {
        d.RadioButton24.check();
    }
    drills::PhraseDrill d{focus, codes, batches, pictures, desktop};
};

} // namespace test_support
