#pragma once
// Small lexicon tables for the drill tests, and a learner who types into them.

#include "character_drill.h"
#include "controls.h"
#include "learner.h"
#include "recording_pictures.h"
#include "table.h"

#include <QTemporaryDir>

#include <memory>

namespace fixture {

// Characters of the practice pool and their made-up four-letter codes.
QString character(int i);
QString code(int i);

// Writes wb.db, jm.db and zk.db into `folder`:
//  - wb.db: the pool's codes, a decoy code "qqqq" giving 鑫 (no target), odd rows: an empty code,
//    a code "kkkk" giving an empty character
//  - jm.db: the 25 first-level short codes
//  - zk.db: batches 100-103 (102 closes with 已), 116 (first-level), 120 (closes with 已),
//    129, 130 (closes with 匕), 131 (closes with 中), 207 (closes with 冈); 104 is missing.
void writeTables(const QString& folder);

// A drill on its own tables, opened as at start-up.
struct Drill : Learner {
    explicit Drill(const QString& folder);
    QString folder;
    lexicon::Table table1{QStringLiteral("Table1")};
    lexicon::Table table2{QStringLiteral("Table2")};
    RecordingPictures pictures;
    std::unique_ptr<drills::CharacterDrill> d;

    using Learner::escape;
    using Learner::typeInto;
    void typeInto(int slot, const QString& letters) { typeInto(d->Ed[slot], letters); }
    void escape(int slot) { escape(d->Ed[slot]); }
    // The targets on show, as one string.
    QString targets() const;
    QString accepted() const;
};

} // namespace fixture
