// The single-character drill, driven as a learner drives it, on small fixture tables.

#include "code_explanation.h"
#include "counter.h"
#include "drill_fixture.h"
#include "fixture_tables.h"
#include "fuzz_events.h"
#include "schema.h"

#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

using fixture::character;
using fixture::code;

namespace {
QString batchOf(int first, const QString& last = QString()) {
    QString s;
    for (int i = 0; i < 15; ++i)
        s += character(first + i);
    if (!last.isNull())
        s.replace(14, 1, last);
    return s;
}
} // namespace

class TestCharacterDrill : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();

    void startState();
    void choosingACategory_data();
    void choosingACategory();
    void firstLevelAcceptsOnOneLetterAndBlankGoesOn();
    void endMarkersJumpInOrderOnTheBatchShown();
    void identificationMemoTableFollowsTheRule();
    void missingBatchKeepsLabel1();
    void checkedCategoryDoesNothingUntilAnotherIsChosen();
    void batchThatCannotBePractisedSaysSo();
    void missingCodeTableIsReportedAndDrillGoesOn();
    void fuzz();
    void fuzzOnBrokenValues();
    void counterArithmetic_data();
    void counterArithmetic();

private:
    void randomLearner(fixture::Drill& drill, bool broken, int& failures);
    QTemporaryDir m_dir;
    std::unique_ptr<fixture::Drill> m;
};

void TestCharacterDrill::initTestCase() {
    QVERIFY(m_dir.isValid());
    fixture::writeTables(m_dir.path());
}

void TestCharacterDrill::init() {
    m = std::make_unique<fixture::Drill>(m_dir.path());
}

void TestCharacterDrill::startState() {
    auto& d = *m->d;
    QCOMPARE(d.edit16.text(), QStringLiteral("099"));
    QVERIFY(m->targets().isEmpty());
    QCOMPARE(d.GroupBox1.checked(), nullptr);
    QCOMPARE(d.Memo1.lines(), drills::CharacterDrill::initialMemoLines());
    QVERIFY(d.Panel13.visible());
    QCOMPARE(d.dats.caption(), QStringLiteral("答案提示"));
}

void TestCharacterDrill::choosingACategory_data() {
    QTest::addColumn<int>("category");
    for (int c = 1; c <= drills::kCharacterCategories; ++c)
        QTest::newRow(drills::kCharacterCategory[c - 1].caption) << c;
}

void TestCharacterDrill::choosingACategory() {
    QFETCH(int, category);
    const drills::CharacterCategory& plan = drills::kCharacterCategory[category - 1];
    auto& d = *m->d;
    // Leave something in every kind of box first.
    m->typeInto(3, QStringLiteral("ab"));
    d.Edit[5].setText(QStringLiteral("x"));

    d.RadioButton[category].check();
    QCOMPARE(m->table1.tableName(), QString::fromUtf8(plan.codeTable));
    QCOMPARE(d.edit16.text(), QString::number(plan.startBatch));
    for (int n = 1; n <= 15; ++n) {
        QVERIFY(d.Ed[n].text().isEmpty());
        QVERIFY(d.Edit[n].text().isEmpty());
        QVERIFY(d.h[n].text().isEmpty());
    }
    QCOMPARE(m->focus.current(), &d.Ed[1]);
    QCOMPARE(d.zi.caption(), d.Label[1].caption());
    QCOMPARE(d.Memo1.lines(), drills::CharacterDrill::memoLines(category));
    QCOMPARE(m->pictures.maps, QList<drills::KeyboardMap>{plan.map});
}

// The "识别码" memo's table: both halves in one column order, every letter the identification
// letter of its row's last stroke and its column's shape.
void TestCharacterDrill::identificationMemoTableFollowsTheRule() {
    const QStringList lines = drills::CharacterDrill::memoLines(6);
    const QStringList heading = lines[2].split(QLatin1Char(' '), Qt::SkipEmptyParts);
    QCOMPARE(heading.size(), 8);
    QCOMPARE(heading.mid(0, 4), heading.mid(4, 4));
    const QStringList strokes = {QStringLiteral("横"), QStringLiteral("竖"), QStringLiteral("撇"), QStringLiteral("捺"),
                                 QStringLiteral("折")};
    const QStringList shapes = {QStringLiteral("左右型"), QStringLiteral("上下型"), QStringLiteral("杂合型")};
    QStringList seen;
    for (int l = 3; l <= 5; ++l) {
        const QStringList cells = lines[l].split(QLatin1Char(' '), Qt::SkipEmptyParts);
        QVERIFY2(cells.size() == 4 || cells.size() == 8, qPrintable(lines[l]));
        for (int half = 0; half < cells.size() / 4; ++half) {
            const QString stroke = cells[4 * half].chopped(1); // "撇："
            QVERIFY2(strokes.contains(stroke), qPrintable(stroke));
            seen << stroke;
            for (int column = 1; column <= 3; ++column) {
                const int shape = static_cast<int>(shapes.indexOf(heading[4 * half + column])) + 1;
                QVERIFY(shape >= 1);
                const QChar want = drills::identificationLetter(static_cast<drills::Stroke>(strokes.indexOf(stroke)),
                                                                static_cast<drills::Shape>(shape));
                QCOMPARE(cells[4 * half + column], QString(want.toUpper()));
            }
        }
    }
    seen.sort();
    QStringList all = strokes;
    all.sort();
    QCOMPARE(seen, all);
}

void TestCharacterDrill::firstLevelAcceptsOnOneLetterAndBlankGoesOn() {
    auto& d = *m->d;
    d.RadioButton[3].check();
    QCOMPARE(m->targets(), QStringLiteral("一地在要工上是中国同和的有人我"));
    QCOMPARE(d.Panel13.caption(), QStringLiteral("g")); // the hint reads jm.db
    QCOMPARE(d.Memo1.lines()[2], QStringLiteral("    横区：一地在要工   竖区：上是中国同   撇区：和的有人我"));
    m->type(QStringLiteral("g"));
    QCOMPARE(d.Edit[1].text(), QStringLiteral("一"));
    QCOMPARE(m->focus.current(), &d.Ed[2]);
    QCOMPARE(d.Panel13.caption(), QStringLiteral("f"));
    // The blank the rules memo asks for after a code is no part of any code: the next box stays
    // empty and takes its code.
    m->type(QStringLiteral(" "));
    QVERIFY(d.Ed[2].text().isEmpty());
    m->type(QStringLiteral("f"));
    QCOMPARE(d.Edit[2].text(), QStringLiteral("地"));
}

void TestCharacterDrill::endMarkersJumpInOrderOnTheBatchShown() {
    auto& d = *m->d;
    d.RadioButton[1].check();
    d.edit16.setText(QStringLiteral("129"));
    QCOMPARE(m->targets(), batchOf(75));
    // 130 closes with 匕 -> 131, which closes with 中, tested later in the order -> 120, which
    // closes with 已; that test came first, so 120 stays.
    m->typeInto(15, code(89));
    QCOMPARE(d.edit16.text(), QStringLiteral("120"));
    QCOMPARE(m->targets(), batchOf(60, QStringLiteral("已")));
    // The hint shows the slot that has the focus, of the batch on show, not batch 130's.
    QVERIFY(m->focus.has(d.Ed[1]));
    QCOMPARE(d.zi.caption(), character(60));
    QCOMPARE(d.Panel13.caption(), code(60));
    m->type(code(60));
    QCOMPARE(d.Edit[1].text(), character(60));
}

void TestCharacterDrill::missingBatchKeepsLabel1() {
    auto& d = *m->d;
    d.RadioButton[1].check();
    d.edit16.setText(QStringLiteral("103"));
    d.Label[1].setCaption(QStringLiteral("旧"));
    m->typeInto(15, code(59)); // 104 is missing
    QCOMPARE(d.edit16.text(), QStringLiteral("104"));
    QCOMPARE(m->targets(), QStringLiteral("旧") + batchOf(45).mid(1));
    // The counter keeps rising past the table's end; the last batch found shows again.
    m->typeInto(15, code(59));
    QCOMPARE(d.edit16.text(), QStringLiteral("105"));
}

void TestCharacterDrill::checkedCategoryDoesNothingUntilAnotherIsChosen() {
    auto& d = *m->d;
    d.RadioButton[1].check();
    m->typeInto(15, code(14));
    m->typeInto(3, QStringLiteral("ab"));
    d.RadioButton[1].check(); // already checked: nothing
    QCOMPARE(d.edit16.text(), QStringLiteral("101"));
    QCOMPARE(d.Ed[3].text(), QStringLiteral("ab"));
    d.RadioButton[3].check();
    d.RadioButton[1].check();
    QCOMPARE(d.edit16.text(), QStringLiteral("100"));
    QCOMPARE(m->targets(), batchOf(0));
    QVERIFY(d.Ed[3].text().isEmpty());
    QCOMPARE(m->table1.tableName(), QStringLiteral("wb.db"));
}

// What the learner sees of a category that cannot be practised: the category chosen with its
// rules, every slot empty, no code box to type into, no hint.
static void checkCannotBePractised(const fixture::Drill& m, int category) {
    const auto& d = *m.d;
    QCOMPARE(d.GroupBox1.checked(), &d.RadioButton[category]);
    QCOMPARE(m.targets(), QString());
    for (int n = 1; n <= 15; ++n) {
        QVERIFY(!d.Ed[n].enabled());
        QVERIFY(d.Ed[n].text().isEmpty());
        QVERIFY(d.Edit[n].text().isEmpty());
        QVERIFY(d.h[n].text().isEmpty());
        QVERIFY(!m.focus.has(d.Ed[n]));
    }
    QVERIFY(d.Panel13.caption().isEmpty());
    QVERIFY(d.zi.caption().isEmpty());
}

// A batch with an empty target cannot be practised: it fails where it is loaded, by an advance
// or by a category, naming the row and the field, and leaves nothing half-loaded.
void TestCharacterDrill::batchThatCannotBePractisedSaysSo() {
    QTemporaryDir dir;
    fixture::writeTables(dir.path());
    QList<QStringList> rows{{QStringLiteral("100")}, {QStringLiteral("101")}, {QStringLiteral("131")}};
    for (int n = 1; n <= 15; ++n) {
        rows[0] << character(n - 1);
        rows[1] << (n == 15 ? QString() : character(15 + n));
        rows[2] << (n == 7 ? QString() : character(30 + n));
    }
    writeTable(dir.filePath(QStringLiteral("zk.db")), QStringLiteral("zk"),
               lexicon::Table::fieldsOf(QStringLiteral("zk.db")), rows);
    fixture::Drill m(dir.path());
    auto& d = *m.d;

    d.RadioButton[1].check();
    for (int n = 1; n < 15; ++n)
        m.type(code(n - 1));
    try {
        m.type(code(14));
        QFAIL("batch 101 loaded");
    } catch (const lexicon::TableError& e) {
        for (const QString& part : {QStringLiteral("zk.db"), QStringLiteral("第 2 行的字段 n15 为空")})
            QVERIFY2(e.message().contains(part), qPrintable(e.message()));
    }
    QCOMPARE(d.edit16.text(), QStringLiteral("101"));
    checkCannotBePractised(m, 1);

    // Chosen, a category whose start batch cannot be practised shows its rules and its map.
    m.pictures.maps.clear();
    QVERIFY_THROWS_EXCEPTION(lexicon::TableError, d.RadioButton[2].check());
    checkCannotBePractised(m, 2);
    QCOMPARE(d.Memo1.lines(), drills::CharacterDrill::memoLines(2));
    QCOMPARE(m.pictures.maps, QList<drills::KeyboardMap>{drills::KeyboardMap::Roots});

    // Another category works again from its start.
    d.RadioButton[1].check();
    QCOMPARE(m.focus.current(), &d.Ed[1]);
    m.type(code(0));
    QCOMPARE(d.Edit[1].text(), character(0));
    QCOMPARE(d.zi.caption(), character(1));
}

void TestCharacterDrill::missingCodeTableIsReportedAndDrillGoesOn() {
    QTemporaryDir dir;
    fixture::writeTables(dir.path());
    QVERIFY(QFile::remove(dir.filePath(QStringLiteral("jm.db"))));
    fixture::Drill drill(dir.path());
    auto& d = *drill.d;
    d.RadioButton[1].check();
    try {
        d.RadioButton[3].check();
        QFAIL("no error");
    } catch (const lexicon::TableError& e) {
        QVERIFY(e.message().contains(QStringLiteral("jm.db")));
        QVERIFY(e.message().contains(dir.path()));
    }
    // The batch was not loaded; the code table stays closed and nothing can be typed.
    QCOMPARE(d.edit16.text(), QStringLiteral("100"));
    QVERIFY(!drill.table1.isOpen());
    checkCannotBePractised(drill, 3);
    QCOMPARE(d.Memo1.lines(), drills::CharacterDrill::memoLines(3));
    QCOMPARE(drill.pictures.maps.back(), drills::KeyboardMap::FirstLevel);
    // Another category reopens wb.db and the drill works again.
    d.RadioButton[1].check();
    drill.typeInto(1, code(0));
    QCOMPARE(d.Edit[1].text(), character(0));
}

void TestCharacterDrill::fuzz() {
    int failures = 0;
    randomLearner(*m, false, failures);
}

// The same learner on tables with broken values in the rows the drill reaches: codes no one can
// type (a digit, NULL, empty, capitals, z), a slot of two characters, a line break, a character
// outside GB2312. Each failure ends its event's chain as at the window's event boundary.
void TestCharacterDrill::fuzzOnBrokenValues() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    fixture::writeTables(dir.path());
    const auto hz = [](int i) { return QStringLiteral("'%1'").arg(character(i)); };
    changeTable(dir.filePath(QStringLiteral("wb.db")),
                QStringLiteral("UPDATE wb SET dm = 'mb1a' WHERE hz = %1; UPDATE wb SET dm = NULL WHERE hz = %2;"
                               "UPDATE wb SET dm = '' WHERE hz = %3; UPDATE wb SET dm = 'MAAA' WHERE hz = %4;"
                               "UPDATE wb SET dm = 'zz' WHERE hz = %5;")
                    .arg(hz(2), hz(5), hz(16), hz(20), hz(31)));
    changeTable(dir.filePath(QStringLiteral("zk.db")),
                QStringLiteral("UPDATE zk SET n4 = n4 || n5 WHERE no = '101'; UPDATE zk SET n9 = n9 || char(10) "
                               "WHERE no = '103'; UPDATE zk SET n3 = char(54620) WHERE no = '120';"));
    fixture::Drill drill(dir.path());
    int failures = 0;
    randomLearner(drill, true, failures);
    QVERIFY(failures > 0);
}

// Random letters, Esc, Backspace, focus moves, category and hint switches, with the drill's
// invariants checked after every event. On broken tables (`broken`) a TableError ends the event, as
// the window's event boundary ends it, and is counted in `failures`; the hint then never shows a
// code no one can type.
void TestCharacterDrill::randomLearner(fixture::Drill& drill, bool broken, int& failures) {
    fixture::Drill* m = &drill;
    auto& d = *m->d;
    failures = 0;
    QRandomGenerator rng(20261207);
    const QString letters = QStringLiteral("mabcdeqgnz GQ"); // capitals as Caps Lock gives them
    const int events = fuzzEvents(20000);
    for (int step = 0; step < events; ++step) {
        const int what = rng.bounded(100);
        try {
            if (what < 2) {
                d.RadioButton[1 + rng.bounded(6)].check();
            } else if (what < 4) {
                (rng.bounded(2) ? d.RadioButton22 : d.RadioButton23).check();
            } else if (what < 10) {
                m->focus.set(d.Ed[1 + rng.bounded(15)], controls::Focus::Reason::Mouse);
            } else if (what < 12) {
                m->focus.set(d.Ed[1 + rng.bounded(15)], controls::Focus::Reason::Tab);
            } else if (what < 15) {
                m->escape(1 + rng.bounded(15));
            } else if (auto* box = dynamic_cast<controls::Edit*>(m->focus.current());
                       box && !box->name().startsWith(QLatin1String("Edit"))) {
                if (what < 25) {
                    box->backspace();
                } else if (what < 60) {
                    // Mostly the right code for the focused slot, letter by letter.
                    int slot = 1;
                    while (slot <= 15 && &d.Ed[slot] != box)
                        ++slot;
                    if (slot <= 15) {
                        m->table1.locate(lexicon::schema::kCharacterCodes.text, d.Label[slot].caption());
                        const QString c = m->table1.read(lexicon::schema::kCharacterCodes.code);
                        for (QChar ch : c)
                            box->type(ch);
                    }
                } else {
                    box->type(letters[rng.bounded(letters.size())]);
                }
            } else {
                m->focus.set(d.Ed[1]);
            }
        } catch (const lexicon::TableError&) {
            if (!broken)
                throw;
            ++failures;
        }
        const QString hint = d.Panel13.caption();
        const bool codeLetters = std::all_of(hint.begin(), hint.end(),
                                             [](QChar c) { return c >= QLatin1Char('a') && c <= QLatin1Char('y'); });
        if (!hint.isEmpty() && (hint.size() > 4 || !codeLetters))
            QFAIL(qPrintable(QStringLiteral("the hint shows %1").arg(hint)));
        bool ok = false;
        d.edit16.text().toInt(&ok);
        if (!ok)
            QFAIL(qPrintable(d.edit16.text()));
        for (int n = 1; n <= 15; ++n) {
            if (d.Ed[n].text().size() > 4 || (!d.Edit[n].text().isEmpty() && d.Edit[n].text() != d.Label[n].caption()))
                QFAIL(qPrintable(QStringLiteral("slot %1: code %2, accepted %3, target %4")
                                     .arg(n)
                                     .arg(d.Ed[n].text(), d.Edit[n].text(), d.Label[n].caption())));
        }
        // The Caps Lock notice stands only at a box that holds a capital.
        if (d.capsNotice.visible() && d.Ed[d.capitalsAt()].text() == d.Ed[d.capitalsAt()].text().toLower())
            QFAIL("the Caps Lock notice stands at a box without capitals");
    }
}

void TestCharacterDrill::counterArithmetic_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("next");
    QTest::newRow("leading zero") << "099"
                                  << "100";
    QTest::newRow("plain") << "25"
                           << "26";
    QTest::newRow("phrase start") << "99"
                                  << "100";
    QTest::newRow("large") << "99999"
                           << "100000";
    QTest::newRow("empty counts as zero") << ""
                                          << "1";
    QTest::newRow("not a number counts as zero") << "x1"
                                                 << "1";
    // No text can make the count overflow.
    QTest::newRow("largest 64-bit number") << "9223372036854775807"
                                           << "9223372036854775808";
    QTest::newRow("beyond 64 bits") << "99999999999999999999999"
                                    << "100000000000000000000000";
    QTest::newRow("zeros") << "000"
                           << "1";
    QTest::newRow("negative") << "-9223372036854775808"
                              << "-9223372036854775807";
}

void TestCharacterDrill::counterArithmetic() {
    QFETCH(QString, text);
    QFETCH(QString, next);
    QCOMPARE(drills::nextNumber(text), next);
}

QTEST_GUILESS_MAIN(TestCharacterDrill)
#include "tst_character_drill.moc"
