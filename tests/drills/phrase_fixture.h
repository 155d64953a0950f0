#pragma once
// Small phrase tables for the phrase drill's tests, and a learner who types into them.

#include "controls.h"
#include "learner.h"
#include "phrase_drill.h"
#include "recording_desktop.h"
#include "recording_pictures.h"
#include "table.h"

#include <memory>

namespace phrases {

// Made-up phrases of `length` characters and their four-letter codes; long(i) is a phrase of six.
QString phrase(int i, int length = 2);
QString code(int i, int length = 2);
QString longPhrase(int i);
QString longCode(int i);

// The five phrases from phrase(first), with the fifth replaced by `last` when given.
QStringList batch(int first, int length, const QString& last = QString());

// Writes czwb.db and czzk.db into `folder`.
//  czzk.db, five to a batch:
//   - two characters: 100 phrase(0-4), 101 phrase(5-9), 102 phrase(10-13) and 限定; 103 is missing;
//     110 phrase(15-19), 111 is missing, 112 phrase(20-24)
//   - three characters: 137 phrase(30-34), 138 phrase(35-38) and 有效期
//   - four characters: 167 phrase(40-44), 169 phrase(45-49), 170 phrase(50-53) and 程序设计
//  czzk.db, one at a time: 200 long(0), 201 long(1), 202 missing, 203 long(3), 204 中央书记处;
//   fields n3-n6 of these rows hold long(10-13)
//  czwb.db: the code of every phrase above, then odd rows: an empty code giving phrase(0), a code
//   "kkkk" giving an empty phrase
void writeTables(const QString& folder, bool czwb = true, bool czzk = true);

// The drill on its own tables, opened as at start-up, with the hint switched on.
struct Drill : fixture::Learner {
    explicit Drill(const QString& folder);
    QString folder;
    lexicon::Table table3{QStringLiteral("Table3")};
    lexicon::Table table4{QStringLiteral("Table4")};
    RecordingPictures pictures;
    RecordingDesktop desktop;
    std::unique_ptr<drills::PhraseDrill> d;

    // The learner clicks a category button, which takes the focus from the code boxes.
    void choose(int category) {
        focus.setOther();
        d->RadioButton[category].check();
    }
    using Learner::typeInto;
    void typeInto(int slot, const QString& letters) { typeInto(d->czt[slot], letters); }
    // The five targets, and the accepted boxes (an empty one as "_"), joined by "|".
    QString targets() const;
    QString accepted() const;
};

} // namespace phrases
