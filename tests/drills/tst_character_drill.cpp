// The single-character drill, driven as a learner drives it, on small fixture tables.

#include "counter.h"
#include "drill_fixture.h"
#include "fixture_tables.h"
#include "fuzz_events.h"

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
    void acceptingASlotMovesFocusAndHint();
    void wrongCodeChangesNothingAndEscEmptiesTheBox();
    void slotFifteenCompletesTheBatchAlone();
    void endMarkersJumpInOrderOnTheBatchShown();
    void endMarkerKeyNamesGoTo103();
    void missingBatchKeepsLabel1();
    void hintKeepsPreviousCodeForUnknownTarget();
    void checkedCategoryDoesNothingUntilAnotherIsChosen();
    void hiddenHintStillFollowsTheFocus();
    void batchThatCannotBePractisedSaysSo();
    void missingCodeTableIsReportedAndDrillGoesOn();
    void codeBoxHoldsOnlyLetters_data();
    void codeBoxHoldsOnlyLetters();
    void capitalsShowAndNeverMatch_data();
    void capitalsShowAndNeverMatch();
    void hintOptionGivesTheFocusBack_data();
    void hintOptionGivesTheFocusBack();
    void fuzz();
    void counterArithmetic_data();
    void counterArithmetic();

private:
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
    QCOMPARE(d.Memo1.lines().size(), 6);
    QCOMPARE(d.Memo1.lines()[4], QStringLiteral("    捺(点)区：Y U I O P   折区：N B V C X "));
    QVERIFY(d.Panel13.visible());
    QCOMPARE(d.dats.caption(), QStringLiteral("答案提示"));
    // Codes typed now are looked up but never accepted.
    m->typeInto(1, code(0));
    QCOMPARE(d.h[1].text(), character(0));
    QVERIFY(d.Edit[1].text().isEmpty());
    QCOMPARE(d.Ed[1].text(), code(0));
}

void TestCharacterDrill::choosingACategory_data() {
    QTest::addColumn<int>("category");
    QTest::addColumn<QString>("memo0");
    const char* const memo0[] = {
        "☆键名汉字：(连击四次同一个键)",
        "☆成字字根：(该字即作为一个字根，又是一个独立的字)",
        "☆高频字,也叫一级简码(击一键加空格）",
        "☆二级简码：",
        "☆三级简码：",
        "☆末笔画识别码： 如果拆开击键后不能出现该字，则需要末笔画识别码。",
    };
    for (int c = 1; c <= drills::kCharacterCategories; ++c)
        QTest::newRow(drills::kCharacterCategory[c - 1].caption) << c << QString::fromUtf8(memo0[c - 1]);
}

void TestCharacterDrill::choosingACategory() {
    QFETCH(int, category);
    QFETCH(QString, memo0);
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
    QCOMPARE(d.Memo1.lines()[0], memo0);
    QCOMPARE(m->pictures.maps, QList<drills::KeyboardMap>{plan.map});
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

void TestCharacterDrill::acceptingASlotMovesFocusAndHint() {
    auto& d = *m->d;
    d.RadioButton[1].check();
    QCOMPARE(m->targets(), batchOf(0));
    QCOMPARE(d.Panel13.caption(), code(0));
    m->typeInto(7, code(6).left(3));
    QVERIFY(d.Edit[7].text().isEmpty());
    m->type(code(6).right(1));
    QCOMPARE(d.Edit[7].text(), character(6));
    QVERIFY(d.Ed[7].text().isEmpty());
    QVERIFY(d.h[7].text().isEmpty());
    QCOMPARE(m->focus.current(), &d.Ed[8]);
    QCOMPARE(d.Panel13.caption(), code(7));
    QCOMPARE(d.zi.caption(), character(7));
    // Accepting the same slot again only repeats the steps.
    m->typeInto(7, code(6));
    QCOMPARE(d.Edit[7].text(), character(6));
    QCOMPARE(m->focus.current(), &d.Ed[8]);
}

void TestCharacterDrill::wrongCodeChangesNothingAndEscEmptiesTheBox() {
    auto& d = *m->d;
    d.RadioButton[1].check();
    m->typeInto(2, code(5)); // the code of another slot's character
    QCOMPARE(d.h[2].text(), character(5));
    QCOMPARE(d.Ed[2].text(), code(5));
    QVERIFY(d.Edit[2].text().isEmpty());
    QCOMPARE(m->focus.current(), &d.Ed[2]);
    m->escape(2);
    QVERIFY(d.Ed[2].text().isEmpty());
    QCOMPARE(d.h[2].text(), character(5)); // the result box keeps what it held
    m->escape(2);                          // Esc in an empty box changes nothing
    m->type(code(1));
    QCOMPARE(d.Edit[2].text(), character(1));
}

void TestCharacterDrill::slotFifteenCompletesTheBatchAlone() {
    auto& d = *m->d;
    d.RadioButton[1].check();
    m->typeInto(1, QStringLiteral("zz"));
    m->typeInto(2, QStringLiteral("y"));
    m->typeInto(15, code(14));
    QCOMPARE(d.edit16.text(), QStringLiteral("101"));
    QCOMPARE(m->targets(), batchOf(15));
    QCOMPARE(d.Ed[1].text(), QStringLiteral("zz")); // codes left in 1-14 stay
    QCOMPARE(d.Ed[2].text(), QStringLiteral("y"));
    QVERIFY(d.Ed[15].text().isEmpty());
    for (int n = 1; n <= 15; ++n) {
        QVERIFY(d.Edit[n].text().isEmpty());
        QVERIFY(d.h[n].text().isEmpty());
    }
    QCOMPARE(m->focus.current(), &d.Ed[1]);
    QVERIFY(d.Ed[1].allSelected()); // the first keystroke replaces the code left there
    QCOMPARE(d.Panel13.caption(), code(15));
    m->type(code(15));
    QCOMPARE(d.Edit[1].text(), character(15));
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

void TestCharacterDrill::endMarkerKeyNamesGoTo103() {
    auto& d = *m->d;
    d.RadioButton[1].check();
    m->typeInto(15, code(14));
    m->typeInto(15, code(29)); // 102 closes with 已
    QCOMPARE(d.edit16.text(), QStringLiteral("103"));
    QCOMPARE(m->targets(), batchOf(45));
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

void TestCharacterDrill::hintKeepsPreviousCodeForUnknownTarget() {
    auto& d = *m->d;
    d.RadioButton[1].check();
    d.Label[4].setCaption(QStringLiteral("嗯")); // not in the code table
    m->focus.set(d.Ed[3]);
    QCOMPARE(d.Panel13.caption(), code(2));
    m->focus.set(d.Ed[4], controls::Focus::Reason::Tab);
    QCOMPARE(d.Panel13.caption(), code(2));
    QCOMPARE(d.zi.caption(), QStringLiteral("嗯"));
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

void TestCharacterDrill::hiddenHintStillFollowsTheFocus() {
    auto& d = *m->d;
    d.RadioButton[1].check();
    d.RadioButton23.check();
    QVERIFY(!d.Panel13.visible());
    m->typeInto(5, code(4));
    QCOMPARE(d.Panel13.caption(), code(5));
    QCOMPARE(d.zi.caption(), character(5));
    d.RadioButton22.check();
    QVERIFY(d.Panel13.visible());
    QCOMPARE(d.zi.caption(), character(5));
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
    QStringList fields{QStringLiteral("no")};
    QList<QStringList> rows{{QStringLiteral("100")}, {QStringLiteral("101")}, {QStringLiteral("131")}};
    for (int n = 1; n <= 15; ++n) {
        fields << QStringLiteral("n%1").arg(n);
        rows[0] << character(n - 1);
        rows[1] << (n == 15 ? QString() : character(15 + n));
        rows[2] << (n == 7 ? QString() : character(30 + n));
    }
    writeTable(dir.filePath(QStringLiteral("zk.db")), QStringLiteral("zk"), fields, rows);
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
    QCOMPARE(d.Memo1.lines()[0], QStringLiteral("☆成字字根：(该字即作为一个字根，又是一个独立的字)"));
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
    QCOMPARE(d.Memo1.lines()[0], QStringLiteral("☆高频字,也叫一级简码(击一键加空格）"));
    QCOMPARE(drill.pictures.maps.back(), drills::KeyboardMap::FirstLevel);
    // Another category reopens wb.db and the drill works again.
    d.RadioButton[1].check();
    drill.typeInto(1, code(0));
    QCOMPARE(d.Edit[1].text(), character(0));
}

void TestCharacterDrill::codeBoxHoldsOnlyLetters_data() {
    QTest::addColumn<QString>("edit");
    QTest::newRow("pasted line break") << "aa\naa";
    QTest::newRow("blank after a code") << "aa ";
    QTest::newRow("blank alone") << " ";
    QTest::newRow("Chinese committed by an input method") << "人";
    QTest::newRow("digit") << "a1";
}

void TestCharacterDrill::codeBoxHoldsOnlyLetters() {
    QFETCH(QString, edit);
    auto& d = *m->d;
    d.RadioButton[1].check();
    m->typeInto(1, QStringLiteral("a"));
    QVERIFY(!d.Ed[1].edit(edit));
    for (QChar c : edit)
        if (c.unicode() > 0x7f || !c.isLetter())
            QVERIFY(!d.Ed[1].type(c));
    QCOMPARE(d.Ed[1].text(), QStringLiteral("a"));
    // The slot still takes its code afterwards.
    d.Ed[1].clear();
    m->type(code(0));
    QCOMPARE(d.Edit[1].text(), character(0));
}

// Caps Lock or Shift: the letters show as typed, so the learner sees why nothing is accepted.
void TestCharacterDrill::capitalsShowAndNeverMatch_data() {
    QTest::addColumn<QString>("typed");
    QTest::newRow("Caps Lock") << code(0).toUpper();
    QTest::newRow("Shift on the last letter") << code(0).left(3) + code(0).right(1).toUpper();
}

void TestCharacterDrill::capitalsShowAndNeverMatch() {
    QFETCH(QString, typed);
    auto& d = *m->d;
    d.RadioButton[1].check();
    m->type(typed);
    QCOMPARE(d.Ed[1].text(), typed);
    QVERIFY(d.Edit[1].text().isEmpty());
    QVERIFY(m->focus.has(d.Ed[1]));
    m->escape(1);
    m->type(code(0));
    QCOMPARE(d.Edit[1].text(), character(0));
}

// A learner's click on 提示 or 不提示 (or Space on it after Tab) puts the focus back into the code
// box the learner was typing in, half-typed code and all; checking an option by program moves
// nothing.
void TestCharacterDrill::hintOptionGivesTheFocusBack_data() {
    QTest::addColumn<int>("reason");
    QTest::newRow("click") << int(controls::Focus::Reason::Mouse);
    QTest::newRow("Tab, then Space") << int(controls::Focus::Reason::Tab);
}

void TestCharacterDrill::hintOptionGivesTheFocusBack() {
    QFETCH(int, reason);
    auto& d = *m->d;
    d.RadioButton[1].check();
    m->typeInto(3, code(2).left(2));
    for (controls::RadioButton* option : {&d.RadioButton23, &d.RadioButton22}) {
        m->focus.set(*option, static_cast<controls::Focus::Reason>(reason));
        option->check();
        QVERIFY(m->focus.has(d.Ed[3]));
        QVERIFY(!d.Ed[3].allSelected());
        QCOMPARE(d.Panel13.visible(), option == &d.RadioButton22);
    }
    QCOMPARE(d.zi.caption(), character(2));
    m->type(code(2).mid(2));
    QCOMPARE(d.Edit[3].text(), character(2));
    QVERIFY(m->focus.has(d.Ed[4]));
    // Checked by program, as at start-up, with the focus elsewhere: the focus stays there.
    m->focus.set(d.RadioButton[2], controls::Focus::Reason::Mouse);
    d.RadioButton23.check();
    QVERIFY(m->focus.has(d.RadioButton[2]));
}

void TestCharacterDrill::fuzz() {
    // Random letters, Esc, Backspace, focus moves, category and hint switches, with the
    // drill's invariants checked after every event.
    auto& d = *m->d;
    QRandomGenerator rng(20261207);
    const QString letters = QStringLiteral("mabcdeqgnz ");
    const int events = fuzzEvents(20000);
    for (int step = 0; step < events; ++step) {
        const int what = rng.bounded(100);
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
                    m->table1.locate(QStringLiteral("hz"), d.Label[slot].caption());
                    const QString c = m->table1.read(QStringLiteral("dm"));
                    for (QChar ch : c)
                        box->type(ch);
                }
            } else {
                box->type(letters[rng.bounded(letters.size())]);
            }
        } else {
            m->focus.set(d.Ed[1]);
        }
        bool ok = false;
        d.edit16.text().toInt(&ok);
        QVERIFY2(ok, qPrintable(d.edit16.text()));
        for (int n = 1; n <= 15; ++n) {
            QVERIFY(d.Ed[n].text().size() <= 4);
            if (!d.Edit[n].text().isEmpty())
                QCOMPARE(d.Edit[n].text(), d.Label[n].caption());
        }
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
}

void TestCharacterDrill::counterArithmetic() {
    QFETCH(QString, text);
    QFETCH(QString, next);
    QCOMPARE(drills::nextNumber(text), next);
}

QTEST_GUILESS_MAIN(TestCharacterDrill)
#include "tst_character_drill.moc"
