// The generated lexicon tables, checked the way a learner meets them: every category is walked
// batch by batch exactly as the drills advance and jump, and every target is typed by the code
// its hint shows. Each failure names the batch and the target, and the test reports them all.

#include "code_explanation.h"
#include "gb2312.h"
#include "practice_plan.h"
#include "table.h"
#include "table_rows.h"

#include <QHash>
#include <QSet>
#include <QStringEncoder>
#include <QTest>

#include <algorithm>

using lexicon::Table;

namespace {

const QString kData = QStringLiteral(VARDELO_BUILD_DATA_DIR);
constexpr int kSteps = 150; // more than a full cycle of the longest category

// Code page 936 restricted to GB2312 proper: two bytes a character, in a cell GB2312 assigns.
bool isGb2312(const QString& text) {
    static gb2312::Checker checker;
    return checker.isDoubleByteText(text);
}

bool isWubiCode(const QString& code) {
    if (code.isEmpty() || code.size() > 4)
        return false;
    for (QChar c : code) {
        if (c < QLatin1Char('a') || c > QLatin1Char('y'))
            return false;
    }
    return true;
}

// Walks a drill's batches the way it advances: one batch on each time, then the end-marker tests
// in their order, each on the batch shown at that moment (a jump loads the batch at once). The
// last slot of a batch is the one the markers are looked for in. Returns the batches shown and
// how often a marker sent the counter back.
struct Walk {
    QSet<int> shown;
    int jumps = 0;
};

Walk walkBatches(Table& table, const QString& key, int firstSlotField, int slotCount,
                 const QList<QPair<QString, int>>& markers, int start, int first, int last, QStringList& errors) {
    Walk walk;
    QStringList row(slotCount);
    auto load = [&](int batch) {
        if (batch < first || batch > last)
            errors << QStringLiteral("batch %1 lies outside %2-%3").arg(batch).arg(first).arg(last);
        if (!table.locate(key, QString::number(batch)))
            errors << QStringLiteral("batch %1 does not exist").arg(batch);
        for (int i = 0; i < slotCount; ++i)
            row[i] = table.read(QStringLiteral("n%1").arg(firstSlotField + i));
        walk.shown.insert(batch);
    };
    int counter = start;
    load(counter);
    for (int step = 0; step < kSteps && errors.isEmpty(); ++step) {
        load(++counter);
        for (const auto& [marker, target] : markers) {
            if (row.last() == marker) {
                counter = target;
                load(counter);
                ++walk.jumps;
            }
        }
    }
    return walk;
}

// Every row of a table, straight from SQLite, in table order.
QList<QStringList> allRows(const QString& table, const QStringList& fields) {
    return tableRows(kData + QLatin1Char('/') + table + QStringLiteral(".db"),
                     QStringLiteral("SELECT %1 FROM %2 ORDER BY id").arg(fields.join(QLatin1Char(',')), table));
}

// A character's full code: its longest code in wb.db.
QHash<QString, QString> fullCodes() {
    QHash<QString, QString> full;
    for (const QStringList& r : allRows(QStringLiteral("wb"), {QStringLiteral("dm"), QStringLiteral("hz")})) {
        QString& f = full[r[1]];
        if (r[0].size() > f.size())
            f = r[0];
    }
    return full;
}

QString ruleCode(const QString& phrase, const QHash<QString, QString>& full) {
    QStringList f;
    for (QChar c : phrase)
        f << full.value(QString(c));
    return drills::phraseCode(f);
}

// The drills look up the whole typed text after every keystroke, and the first row found wins.
// Typing the code the hint shows must give the target at its last letter and not before: an
// earlier match would accept it early and leave the rest of the code in the next box.
void checkTyping(Table& table, const QString& codeField, const QString& textField, const QString& where,
                 const QString& target, const QString& code, QStringList& errors) {
    for (int k = 0; k <= code.size(); ++k) {
        const bool gives = table.locate(codeField, code.left(k)) && table.read(textField) == target;
        if (k < code.size() && gives) {
            errors << where + QStringLiteral(": %1 gives it before its code %2 is complete").arg(code.left(k), code);
            return;
        }
        if (k == code.size() && !gives)
            errors << where + QStringLiteral(": typing %1 gives %2").arg(code, table.read(textField));
    }
}

// The batches a character category shows, walked as the drill advances.
Walk characterWalk(const drills::CharacterCategory& plan, Table& zk, QStringList& errors) {
    const auto [first, last] = drills::batchRange(plan);
    QList<QPair<QString, int>> markers;
    for (const drills::EndMarker& m : drills::kCharacterEndMarkers)
        markers.append({QString::fromUtf8(m.text), m.jumpTo});
    return walkBatches(zk, QStringLiteral("no"), 1, 15, markers, plan.startBatch, first, last, errors);
}

// The batches a phrase category shows.
Walk phraseWalk(const drills::PhraseCategory& plan, Table& czzk, QStringList& errors) {
    const auto [first, last] = drills::batchRange(plan);
    QList<QPair<QString, int>> markers;
    for (const drills::PhraseCategory& c : drills::kPhraseCategory)
        markers.append({QString::fromUtf8(c.endMarker.text), c.endMarker.jumpTo});
    return walkBatches(czzk, QStringLiteral("n1"), 2, 5, markers, plan.startBatch, first, last, errors);
}

// The rows the long phrases show, one a row from the start to the end marker, twice round.
Walk longPhraseWalk(Table& czzk, QStringList& errors) {
    Walk walk;
    QString label;
    auto load = [&](int row) {
        if (!czzk.locate(QStringLiteral("n1"), QString::number(row)))
            errors << QStringLiteral("row %1 does not exist").arg(row);
        else
            label = czzk.read(QStringLiteral("n2"));
        walk.shown.insert(row);
    };
    const drills::PhraseCategory& plan = drills::kLongPhrases;
    int counter = plan.startBatch;
    load(counter);
    for (int step = 0; walk.jumps < 2 && step < 10000 && errors.isEmpty(); ++step) {
        load(++counter);
        if (label == QString::fromUtf8(plan.endMarker.text)) {
            counter = plan.endMarker.jumpTo;
            load(counter);
            ++walk.jumps;
        }
    }
    return walk;
}

enum class Kind { KeyName, Root, FirstLevel, SecondLevel, ThirdLevel, Identification };

} // namespace

class TstLexiconData : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void allTextIsGb2312();
    void characterCategory_data();
    void characterCategory();
    void phraseCategory_data();
    void phraseCategory();
    void longPhrases();
    void everyBatchRowIsReached();

private:
    void checkPhrase(const QString& where, const QString& phrase, QStringList& errors);

    QHash<QString, QString> m_full;
    Table m_czwb{QStringLiteral("Table3")};
};

void TstLexiconData::initTestCase() {
    m_full = fullCodes();
    QVERIFY2(m_full.size() >= 6763, "wb.db lacks characters");
    m_czwb.open(kData, QStringLiteral("czwb.db"));
}

void TstLexiconData::allTextIsGb2312() {
    QStringList errors;
    for (const QString& t : {QStringLiteral("wb"), QStringLiteral("jm"), QStringLiteral("bm")}) {
        for (const QStringList& r : allRows(t, {QStringLiteral("dm"), QStringLiteral("hz")})) {
            if (!isWubiCode(r[0]) || r[1].size() != 1 || !isGb2312(r[1]))
                errors << t + QStringLiteral(": ") + r.join(QLatin1Char(' '));
        }
    }
    for (const QStringList& r : allRows(QStringLiteral("czwb"), {QStringLiteral("n1"), QStringLiteral("n2")})) {
        if (!isWubiCode(r[0]) || r[1].size() < 2 || !isGb2312(r[1]))
            errors << QStringLiteral("czwb: ") + r.join(QLatin1Char(' '));
    }
    QVERIFY2(errors.isEmpty(), qPrintable(errors.mid(0, 20).join(QLatin1Char('\n'))));
}

void TstLexiconData::characterCategory_data() {
    QTest::addColumn<int>("category");
    QTest::addColumn<int>("kind");
    const Kind kinds[drills::kCharacterCategories] = {Kind::KeyName,     Kind::Root,       Kind::FirstLevel,
                                                      Kind::SecondLevel, Kind::ThirdLevel, Kind::Identification};
    for (int c = 0; c < drills::kCharacterCategories; ++c)
        QTest::newRow(drills::kCharacterCategory[c].caption) << c << int(kinds[c]);
}

void TstLexiconData::characterCategory() {
    QFETCH(int, category);
    QFETCH(int, kind);
    // The batches a category may show run from the lowest it visits to just before the next
    // category's.
    const drills::CharacterCategory& plan = drills::kCharacterCategory[category];
    const QString codeTable = QString::fromUtf8(plan.codeTable);

    Table zk(QStringLiteral("Table2"));
    zk.open(kData, QStringLiteral("zk.db"));
    Table codes(QStringLiteral("Table1"));
    codes.open(kData, codeTable);

    QStringList errors;
    const Walk walk = characterWalk(plan, zk, errors);
    QVERIFY2(walk.jumps >= 2, "the category never closes its cycle");

    for (int batch : walk.shown) {
        QVERIFY(zk.locate(QStringLiteral("no"), QString::number(batch)));
        QSet<QString> seen;
        for (int i = 1; i <= 15; ++i) {
            const QString target = zk.read(QStringLiteral("n%1").arg(i));
            const QString where = QStringLiteral("batch %1 slot %2 %3").arg(batch).arg(i).arg(target);
            if (target.size() != 1 || !isGb2312(target)) {
                errors << where + QStringLiteral(": not one GB2312 character");
                continue;
            }
            if (seen.contains(target))
                errors << where + QStringLiteral(": twice in the batch");
            seen.insert(target);

            // The hint shows the first code of the target; typing it letter by letter must give
            // the target by its last letter.
            if (!codes.locate(QStringLiteral("hz"), target)) {
                errors << where + QStringLiteral(": no hint code");
                continue;
            }
            const QString code = codes.read(QStringLiteral("dm"));
            checkTyping(codes, QStringLiteral("dm"), QStringLiteral("hz"), where, target, code, errors);

            const QString full = m_full.value(target);
            bool rightKind = false;
            switch (Kind(kind)) {
            case Kind::KeyName:
                rightKind = code.size() == 4 && code == QString(code[0]).repeated(4);
                break;
            case Kind::Root:
                rightKind = code == full;
                break;
            case Kind::FirstLevel:
                rightKind = code.size() == 1;
                break;
            case Kind::SecondLevel:
                rightKind = code.size() == 2;
                break;
            case Kind::ThirdLevel:
                rightKind = code.size() == 3 && full.size() == 4 && full.startsWith(code);
                break;
            case Kind::Identification:
                rightKind = code.size() == 3 && code == full && drills::isIdentificationLetter(code.back());
                break;
            }
            if (!rightKind)
                errors << where + QStringLiteral(": hint code %1 (full code %2) is not what the category teaches")
                                      .arg(code, full);
        }
    }
    QVERIFY2(errors.isEmpty(), qPrintable(errors.mid(0, 20).join(QLatin1Char('\n'))));
}

void TstLexiconData::checkPhrase(const QString& where, const QString& phrase, QStringList& errors) {
    if (!isGb2312(phrase)) {
        errors << where + QStringLiteral(": not GB2312");
        return;
    }
    if (!m_czwb.locate(QStringLiteral("n2"), phrase)) {
        errors << where + QStringLiteral(": not in czwb.db");
        return;
    }
    const QString code = m_czwb.read(QStringLiteral("n1"));
    if (code != ruleCode(phrase, m_full))
        errors << where + QStringLiteral(": code %1, the rule gives %2").arg(code, ruleCode(phrase, m_full));
    checkTyping(m_czwb, QStringLiteral("n1"), QStringLiteral("n2"), where, phrase, code, errors);
}

void TstLexiconData::phraseCategory_data() {
    QTest::addColumn<int>("category");
    for (int c = 0; c < drills::kPhraseCategories; ++c)
        QTest::newRow(drills::kPhraseCategory[c].caption) << c;
}

void TstLexiconData::phraseCategory() {
    QFETCH(int, category);
    // Two-, three- and four-character phrases; a run's batches run from the lowest it visits to
    // just before the next run's (the long phrases follow the last).
    const drills::PhraseCategory& plan = drills::kPhraseCategory[category];
    const int length = category + 2;

    Table czzk(QStringLiteral("Table4"));
    czzk.open(kData, QStringLiteral("czzk.db"));
    QStringList errors;
    const Walk walk = phraseWalk(plan, czzk, errors);
    QVERIFY2(walk.jumps >= 2, "the category never closes its cycle");

    for (int batch : walk.shown) {
        QVERIFY(czzk.locate(QStringLiteral("n1"), QString::number(batch)));
        QSet<QString> seen;
        for (int i = 2; i <= 6; ++i) {
            const QString phrase = czzk.read(QStringLiteral("n%1").arg(i));
            const QString where = QStringLiteral("batch %1 slot %2 %3").arg(batch).arg(i - 1).arg(phrase);
            if (phrase.size() != length)
                errors << where + QStringLiteral(": not %1 characters").arg(length);
            if (seen.contains(phrase))
                errors << where + QStringLiteral(": twice in the batch");
            seen.insert(phrase);
            checkPhrase(where, phrase, errors);
        }
    }
    QVERIFY2(errors.isEmpty(), qPrintable(errors.mid(0, 20).join(QLatin1Char('\n'))));
}

// Long-phrase rows show one phrase at a time (n2); the other fields must still hold phrases, since
// the five-phrase page reads them when its own batch number has no row.
void TstLexiconData::longPhrases() {
    Table czzk(QStringLiteral("Table4"));
    czzk.open(kData, QStringLiteral("czzk.db"));
    QStringList errors;
    const Walk walk = longPhraseWalk(czzk, errors);
    QVERIFY2(walk.jumps == 2, "the long phrases never close their cycle");

    for (int row : walk.shown) {
        QVERIFY(czzk.locate(QStringLiteral("n1"), QString::number(row)));
        QSet<QString> seen;
        for (int i = 2; i <= 6; ++i) {
            const QString phrase = czzk.read(QStringLiteral("n%1").arg(i));
            const QString where = QStringLiteral("row %1 field n%2 %3").arg(row).arg(i).arg(phrase);
            if (phrase.size() < 5)
                errors << where + QStringLiteral(": shorter than five characters");
            if (seen.contains(phrase))
                errors << where + QStringLiteral(": twice in the row");
            seen.insert(phrase);
            checkPhrase(where, phrase, errors);
        }
    }
    QVERIFY2(errors.isEmpty(), qPrintable(errors.mid(0, 20).join(QLatin1Char('\n'))));
}

// A batch the walks never reach would mean an end marker in the wrong place cut a cycle short.
// Walks every drill itself, so that it gives the same verdict run alone as after the other tests.
void TstLexiconData::everyBatchRowIsReached() {
    Table zk(QStringLiteral("Table2"));
    zk.open(kData, QStringLiteral("zk.db"));
    Table czzk(QStringLiteral("Table4"));
    czzk.open(kData, QStringLiteral("czzk.db"));
    QStringList errors;
    QSet<int> characterBatches;
    for (const drills::CharacterCategory& plan : drills::kCharacterCategory)
        characterBatches += characterWalk(plan, zk, errors).shown;
    QSet<int> phraseRows = longPhraseWalk(czzk, errors).shown;
    for (const drills::PhraseCategory& plan : drills::kPhraseCategory)
        phraseRows += phraseWalk(plan, czzk, errors).shown;
    QVERIFY2(errors.isEmpty(), qPrintable(errors.mid(0, 20).join(QLatin1Char('\n'))));

    QStringList unreached;
    for (const QStringList& r : allRows(QStringLiteral("zk"), {QStringLiteral("no")})) {
        if (!characterBatches.contains(r[0].toInt()))
            unreached << QStringLiteral("zk ") + r[0];
    }
    for (const QStringList& r : allRows(QStringLiteral("czzk"), {QStringLiteral("n1")})) {
        if (!phraseRows.contains(r[0].toInt()))
            unreached << QStringLiteral("czzk ") + r[0];
    }
    QVERIFY2(unreached.isEmpty(), qPrintable(unreached.join(QLatin1Char(' '))));
}

QTEST_GUILESS_MAIN(TstLexiconData)
#include "tst_lexicon_data.moc"
