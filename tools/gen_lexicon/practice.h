#pragma once
// Chooses the practice material and lays it out in the batch rows the drills walk through.
//
// Single characters: six categories, each a run of 15-character batches from its start batch to a
// closing batch whose 15th character is the category's end marker (the drill jumps away from the
// closing batch the moment it is reached, so it is never practised). Phrases: three runs of
// five-phrase batches closed the same way by a fifth phrase, and a run of one-phrase rows from 200
// closed by a row whose first phrase is the end marker.
//
// A target is taught one code. Its row (that code, the target) goes first in the code table, so
// the code gives the target and the target's hint shows that code; two targets can therefore not
// share a code, and the later one is dropped.

#include "dictionary.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

namespace gen {

struct CharCategory {
    QString name;
    int start = 0;
    int lastBatch = 0; // the closing batch must not lie beyond it
    QString endMarker;
    bool firstLevel = false; // taught from jm.db, not wb.db
    QStringList targets;     // distinct, in practice order
    QHash<QString, QString> taught;
    QList<QStringList> batches; // from `start`; the closing batch is the last
};

struct PhraseCategory {
    QString name;
    int start = 0;
    int lastBatch = 0;
    QString endMarker;
    bool oneAtATime = false; // rows from 200: one phrase practised per row, in n2
    QStringList phrases;
    QList<QStringList> rows; // five phrases each, from `start`; the closing row is the last
};

struct Lists {
    QStringList keyNameBatches;
    QStringList firstLevelBatches;
    QStringList characterRoots;
    QStringList notIdentification;
    QStringList earlyPhrases;
    QStringList addedPhrases;
    QStringList excludedPhrases;
};

struct Practice {
    QList<CharCategory> characters;
    QList<PhraseCategory> phrases;
    QList<Entry> addedPhrases; // phrases the dictionary lacks, with the rule's code
    QStringList notes;         // what was dropped and why
};

// Throws std::runtime_error when the lists or the dictionary cannot give a consistent layout.
Practice choosePractice(const Dictionary& dict, const Lists& lists);

// Rows of the five tables, in table order.
QList<QStringList> codeTableRows(const Dictionary& dict, const Practice& practice);   // wb
QList<QStringList> firstLevelRows(const Practice& practice);                          // jm
QList<QStringList> characterBatchRows(const Practice& practice);                      // zk
QList<QStringList> phraseTableRows(const Dictionary& dict, const Practice& practice); // czwb
QList<QStringList> phraseBatchRows(const Practice& practice);                         // czzk
// Every code the dictionary gives each character, by code and then as an input method lists them
// (weight, then file order): the lookup page's, which, unlike wb.db, keeps the short codes of
// characters the drills teach a longer code.
QList<QStringList> lookupCodeRows(const Dictionary& dict); // bm

} // namespace gen
