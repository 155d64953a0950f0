// gen_lexicon <wubi86.dict.yaml> <lists folder> <output folder> [--report]
//
// Builds the lexicon tables (wb.db, jm.db, zk.db, czwb.db, czzk.db, bm.db for the lookup page, and cf.db behind the
// code explanations) from the Wubi 86 dictionary and the curated lists (splits.txt among them), and puts the
// dictionary's licence notice beside them. The same inputs always give the same bytes. --report prints the categories,
// the batch counts and every character or phrase left out, with the reason.

#include "dictionary.h"
#include "practice.h"
#include "schema.h"
#include "splits.h"
#include "table_file.h"

#include <QDir>
#include <QFile>
#include <QTextStream>

#include <cstdio>
#include <exception>

namespace {

// One entry per line; '#' starts a comment, blank lines are skipped. An entry is the first
// whitespace-separated word of its line.
QStringList readList(const QDir& folder, const QString& name) {
    QFile file(folder.filePath(name));
    if (!file.open(QIODevice::ReadOnly))
        throw std::runtime_error("cannot read " + file.fileName().toStdString());
    QStringList out;
    for (QString line : QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'))) {
        const int hash = line.indexOf(QLatin1Char('#'));
        if (hash >= 0)
            line.truncate(hash);
        const QStringList words = line.simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (!words.isEmpty())
            out << words.first();
    }
    return out;
}

void copyFile(const QString& from, const QString& to) {
    QFile in(from);
    if (!in.open(QIODevice::ReadOnly))
        throw std::runtime_error("cannot read " + from.toStdString());
    const QByteArray bytes = in.readAll();
    QFile out(to + QStringLiteral(".part"));
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate) || out.write(bytes) != bytes.size())
        throw std::runtime_error("cannot write " + to.toStdString());
    out.close();
    QFile::remove(to);
    if (!out.rename(to))
        throw std::runtime_error("cannot write " + to.toStdString());
}

void report(const gen::Dictionary& dict, const gen::Practice& practice) {
    QTextStream out(stdout);
    out << "dictionary: " << dict.characters.size() << " character rows (" << dict.codesOf.size() << " characters), "
        << dict.phrases.size() << " phrase rows; skipped " << dict.commentedOut << " commented-out, "
        << dict.notWubiCodes << " z-code, " << dict.notGb2312 << " non-GB2312 rows\n";
    for (const gen::CharCategory& cat : practice.characters) {
        out << cat.name << ": batches " << cat.start << "-" << cat.start + cat.batches.size() - 1 << " ("
            << cat.batches.size() - 1 << " practised + closing), " << cat.targets.size() << " characters\n";
    }
    for (const gen::PhraseCategory& cat : practice.phrases) {
        out << cat.name << ": rows " << cat.start << "-" << cat.start + cat.rows.size() - 1 << " ("
            << cat.rows.size() - 1 << " practised + closing), " << cat.phrases.size() << " phrases\n";
    }
    for (const gen::Entry& e : practice.addedPhrases)
        out << "added phrase " << e.text << " " << e.code << "\n";
    for (const QString& n : practice.notes)
        out << n << "\n";
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 4 || argc > 5 || (argc == 5 && QByteArray(argv[4]) != "--report")) {
        std::fprintf(stderr, "usage: gen_lexicon <wubi86.dict.yaml> <lists folder> <output folder> [--report]\n");
        return 2;
    }
    try {
        const QString dictPath = QFile::decodeName(argv[1]);
        const QDir lists(QFile::decodeName(argv[2]));
        const QDir outDir(QFile::decodeName(argv[3]));
        if (!QDir().mkpath(outDir.path()))
            throw std::runtime_error("cannot create " + outDir.path().toStdString());

        const gen::Dictionary dict = gen::readDictionary(dictPath);
        gen::Lists l;
        l.keyNameBatches = readList(lists, QStringLiteral("key_name_batches.txt"));
        l.firstLevelBatches = readList(lists, QStringLiteral("first_level_batches.txt"));
        l.characterRoots = readList(lists, QStringLiteral("character_roots.txt"));
        l.notIdentification = readList(lists, QStringLiteral("not_identification.txt"));
        l.earlyPhrases = readList(lists, QStringLiteral("early_phrases.txt"));
        l.addedPhrases = readList(lists, QStringLiteral("added_phrases.txt"));
        l.excludedPhrases = readList(lists, QStringLiteral("excluded_phrases.txt"));
        const gen::Practice practice = gen::choosePractice(dict, l);

        const auto write = [&outDir](const char* file, const QList<QStringList>& rows) {
            gen::writeLexiconTable(outDir.path(), QLatin1String(file), rows);
        };
        write(lexicon::schema::kCharacterCodeFile, gen::codeTableRows(dict, practice));
        write(lexicon::schema::kFirstLevelFile, gen::firstLevelRows(practice));
        write(lexicon::schema::kCharacterBatchFile, gen::characterBatchRows(practice));
        write(lexicon::schema::kPhraseCodeFile, gen::phraseTableRows(dict, practice));
        write(lexicon::schema::kPhraseBatchFile, gen::phraseBatchRows(practice));
        write(lexicon::schema::kLookupCodeFile, gen::lookupCodeRows(dict));
        QStringList splitNotes;
        QFile splitsFile(lists.filePath(QStringLiteral("splits.txt")));
        if (!splitsFile.open(QIODevice::ReadOnly))
            throw std::runtime_error("cannot read " + splitsFile.fileName().toStdString());
        const QList<QStringList> splitRows =
            gen::splitTableRows(dict, QString::fromUtf8(splitsFile.readAll()).split(QLatin1Char('\n')), splitNotes);
        write(lexicon::schema::kExplanationFile, splitRows);
        copyFile(lists.filePath(QStringLiteral("COPYING.wubi86")), outDir.filePath(QStringLiteral("COPYING.wubi86")));

        if (argc == 5) {
            report(dict, practice);
            for (const QString& n : splitNotes)
                std::printf("%s\n", qPrintable(n));
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "gen_lexicon: %s\n", e.what());
        return 1;
    }
    return 0;
}
