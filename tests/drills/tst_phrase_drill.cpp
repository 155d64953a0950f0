// The phrase drill, five to a batch and one at a time, driven as a learner drives it, on small
// fixture tables.

#include "counter.h"
#include "fixture_tables.h"
#include "fuzz_events.h"
#include "phrase_fixture.h"

#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

using drills::PhraseDrill;
using phrases::code;
using phrases::longCode;
using phrases::longPhrase;
using phrases::phrase;

namespace {
QString joined(const QStringList& l) {
    return l.join(QLatin1Char('|'));
}
QString batchOf(int first, int length, const QString& last = QString()) {
    return joined(phrases::batch(first, length, last));
}
const QString kNone = QStringLiteral("_|_|_|_|_");
} // namespace

class TestPhraseDrill : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();

    void startState();
    void choosingACategory_data();
    void choosingACategory();
    void fifthPhraseTypedIntoItsAcceptedBoxAdvances();
    void endMarkers_data();
    void endMarkers();
    void missingBatchReadsTheSharedCurrentRow();
    void longPhrasesStartAtRow200();
    void longPhraseAcceptedAndNextShownWithItsHint();
    void longPhrasesAfterAReviewAreNoAnswersOfIt();
    void longPhrasesWrapAtTheEndMarkerAndGaps();
    void otherCategoryHidesThePanelAndBackRestarts();
    void emptyPhrasesNeverAccept();
    void phrasesThatCannotBePractisedSaySo();
    void missingTableIsReportedAndThePageRecovers_data();
    void missingTableIsReportedAndThePageRecovers();
    void longPhraseBoxHoldsOnlyLetters_data();
    void longPhraseBoxHoldsOnlyLetters();
    void hintOptionGivesTheFocusBackToTheLongPhraseBox_data();
    void hintOptionGivesTheFocusBackToTheLongPhraseBox();
    void headingOpensThePhraseRules();
    void fuzz();
    void fuzzOnBrokenValues();

private:
    void randomLearner(phrases::Drill& drill, bool broken, int& failures);
    QTemporaryDir m_dir;
    std::unique_ptr<phrases::Drill> m;
};

void TestPhraseDrill::initTestCase() {
    QVERIFY(m_dir.isValid());
    phrases::writeTables(m_dir.path());
}

void TestPhraseDrill::init() {
    m = std::make_unique<phrases::Drill>(m_dir.path());
}

void TestPhraseDrill::startState() {
    auto& d = *m->d;
    QCOMPARE(d.Edit17.text(), QStringLiteral("99"));
    QCOMPARE(d.Edit20.text(), QStringLiteral("169"));
    QCOMPARE(m->targets(), QStringLiteral("||||"));
    QCOMPARE(d.Panel6.checked(), nullptr);
    QVERIFY(!d.Panel5.visible());
    QVERIFY(d.Panel16.visible());
    QCOMPARE(d.Label20.caption(), QStringLiteral("答案提示"));
    QCOMPARE(d.Memo2.lines(), PhraseDrill::initialMemoLines());
}

void TestPhraseDrill::choosingACategory_data() {
    QTest::addColumn<int>("category");
    QTest::addColumn<QString>("targets");
    QTest::addColumn<QString>("hintCode");
    QTest::newRow("双字词") << 7 << batchOf(0, 2) << code(0);
    QTest::newRow("三字词") << 8 << batchOf(30, 3) << code(30, 3);
    QTest::newRow("四字词") << 9 << batchOf(45, 4) << code(45, 4);
}

void TestPhraseDrill::choosingACategory() {
    QFETCH(int, category);
    QFETCH(QString, targets);
    QFETCH(QString, hintCode);
    auto& d = *m->d;
    // Leave something in every kind of box, and a line the category does not write.
    m->typeInto(3, QStringLiteral("ab"));
    d.cztext[2].edit(QStringLiteral("字"));
    d.Memo2.setLine(7, QStringLiteral("笔记"));

    d.RadioButton[category].check();
    QCOMPARE(d.Edit17.text(),
             QString::number(drills::kPhraseCategory[category - PhraseDrill::kFirstCategory].startBatch));
    QCOMPARE(m->targets(), targets);
    QCOMPARE(m->accepted(), kNone);
    for (int n = 1; n <= PhraseDrill::kSlots; ++n) {
        QVERIFY(d.czt[n].text().isEmpty());
        QVERIFY(d.czh[n].text().isEmpty());
    }
    QCOMPARE(m->focus.current(), &d.czt[1]);
    QCOMPARE(d.zi2.caption(), d.cz[1].caption());
    QCOMPARE(d.czts.caption(), hintCode);
    QStringList memo = PhraseDrill::memoLines(category);
    memo[7] = QStringLiteral("笔记");
    QCOMPARE(d.Memo2.lines(), memo);
    QCOMPARE(m->pictures.maps, QList<drills::KeyboardMap>{drills::KeyboardMap::Roots});
    QVERIFY(!d.Panel5.visible());
}

void TestPhraseDrill::fifthPhraseTypedIntoItsAcceptedBoxAdvances() {
    auto& d = *m->d;
    d.RadioButton[7].check();
    // Accepted boxes 1-4 run nothing; a wrong text in the fifth neither.
    for (int n = 1; n <= 4; ++n)
        d.cztext[n].edit(phrase(4));
    d.cztext[5].edit(phrase(3));
    QCOMPARE(d.Edit17.text(), QStringLiteral("100"));
    d.cztext[5].edit(QString());
    d.cztext[5].edit(phrase(4)); // pasted, or committed by an input method
    QCOMPARE(d.Edit17.text(), QStringLiteral("101"));
    QCOMPARE(m->targets(), batchOf(5, 2));
    QCOMPARE(m->accepted(), kNone);
    QCOMPARE(m->focus.current(), &d.czt[1]);
}

void TestPhraseDrill::endMarkers_data() {
    QTest::addColumn<int>("category");
    QTest::addColumn<QString>("before"); // the batch completed
    QTest::addColumn<int>("first");      // its first phrase
    QTest::addColumn<int>("length");
    QTest::addColumn<int>("replacedFirst"); // the first phrase of the batch the marker closes
    QTest::addColumn<int>("jumpFirst");     // the first phrase of the batch it sends the counter to
    QTest::newRow("有效期 -> 137") << 8 << "137" << 30 << 3 << 35 << 30;
    QTest::newRow("程序设计 -> 167, not 169") << 9 << "169" << 45 << 4 << 50 << 40;
}

void TestPhraseDrill::endMarkers() {
    QFETCH(int, category);
    QFETCH(QString, before);
    QFETCH(int, first);
    QFETCH(int, length);
    QFETCH(int, replacedFirst);
    QFETCH(int, jumpFirst);
    auto& d = *m->d;
    d.RadioButton[category].check();
    d.Edit17.setText(before);
    m->typeInto(5, code(first + 4, length));
    const drills::EndMarker& marker = drills::kPhraseCategory[category - PhraseDrill::kFirstCategory].endMarker;
    QCOMPARE(d.Edit17.text(), QString::number(marker.jumpTo));
    QCOMPARE(m->targets(), batchOf(jumpFirst, length));
    QCOMPARE(m->accepted(), kNone);
    QCOMPARE(m->focus.current(), &d.czt[1]);
    // The hint shows the slot that has the focus, of the batch on show, not the replaced one's.
    Q_UNUSED(replacedFirst);
    QCOMPARE(d.zi2.caption(), phrase(jumpFirst, length));
    QCOMPARE(d.czts.caption(), code(jumpFirst, length));
    m->type(d.czts.caption());
    QCOMPARE(m->focus.current(), &d.czt[2]);
    QCOMPARE(d.zi2.caption(), d.cz[2].caption());
}

void TestPhraseDrill::missingBatchReadsTheSharedCurrentRow() {
    auto& d = *m->d;
    d.RadioButton[7].check();
    d.Edit17.setText(QStringLiteral("110"));
    m->typeInto(5, code(19)); // 111 is missing: the phrases of 110 again, under the new number
    QCOMPARE(d.Edit17.text(), QStringLiteral("111"));
    QCOMPARE(m->targets(), batchOf(15, 2));
    m->typeInto(5, code(19));
    QCOMPARE(d.Edit17.text(), QStringLiteral("112"));
    QCOMPARE(m->targets(), batchOf(20, 2));

    // The long phrases locate on the same table: a missing batch number then reads slots 2-5 from
    // the row they located, while slot 1 keeps its phrase.
    d.RadioButton[10].check();
    d.Edit17.setText(QStringLiteral("103"));
    QCOMPARE(m->targets(), joined({phrase(20), longPhrase(10), longPhrase(11), longPhrase(12), longPhrase(13)}));
}

void TestPhraseDrill::longPhrasesStartAtRow200() {
    auto& d = *m->d;
    d.RadioButton[7].check();
    m->type(code(0));
    m->typeInto(3, QStringLiteral("ab"));
    const QString underPanel = m->targets() + m->accepted();
    m->pictures.maps.clear();

    d.RadioButton[10].check();
    QVERIFY(d.Panel5.visible());
    QCOMPARE(d.Edit20.text(), QStringLiteral("200"));
    QCOMPARE(d.Label24.caption(), longPhrase(0));
    QVERIFY(d.Edit18.text().isEmpty());
    QCOMPARE(m->focus.current(), &d.Edit18);
    QCOMPARE(d.zi2.caption(), longPhrase(0));
    QCOMPARE(d.czts.caption(), longCode(0));
    QCOMPARE(d.Memo2.lines(), PhraseDrill::memoLines(PhraseDrill::kLongPhraseCategory));
    QCOMPARE(m->pictures.maps, QList<drills::KeyboardMap>{drills::KeyboardMap::Roots});
    // The slots keep their state under the panel, and take no focus while covered.
    QCOMPARE(d.Edit17.text(), QStringLiteral("100"));
    QCOMPARE(m->targets() + m->accepted(), underPanel);
    QCOMPARE(d.czt[3].text(), QStringLiteral("ab"));
    m->focus.set(d.czt[3], controls::Focus::Reason::Tab);
    QCOMPARE(m->focus.current(), &d.Edit18);
}

void TestPhraseDrill::longPhraseAcceptedAndNextShownWithItsHint() {
    auto& d = *m->d;
    d.RadioButton[10].check();
    m->type(longCode(0).left(3));
    QCOMPARE(d.Label24.caption(), longPhrase(0));
    m->type(longCode(0).right(1));
    QVERIFY(d.Edit18.text().isEmpty());
    QVERIFY(d.Edit19.text().isEmpty());
    QCOMPARE(d.Edit20.text(), QStringLiteral("201"));
    QCOMPARE(d.Label24.caption(), longPhrase(1));
    QCOMPARE(d.zi2.caption(), longPhrase(1));
    QCOMPARE(d.czts.caption(), longCode(1));
    QCOMPARE(m->focus.current(), &d.Edit18);
    // The code of another phrase changes nothing.
    m->type(longCode(3));
    QCOMPARE(d.Edit18.text(), longCode(3));
    QCOMPARE(d.Label24.caption(), longPhrase(1));
    QCOMPARE(d.Edit20.text(), QStringLiteral("201"));
}

// A long phrase that is on the missed list, typed in "多字词" after "练错词": the review was left,
// so that is no answer of it.
void TestPhraseDrill::longPhrasesAfterAReviewAreNoAnswersOfIt() {
    auto& d = *m->d;
    d.missed.missed(longPhrase(0));
    d.RadioButton31.check();
    QCOMPARE(d.cz[1].caption(), longPhrase(0));
    d.RadioButton[10].check();
    m->type(longCode(0));
    QCOMPARE(d.Label24.caption(), longPhrase(1));
    QCOMPARE(d.missed.rightInARow(longPhrase(0)), 0);
}

void TestPhraseDrill::longPhrasesWrapAtTheEndMarkerAndGaps() {
    auto& d = *m->d;
    d.RadioButton[10].check();
    m->type(longCode(0));
    m->type(longCode(1)); // 202 is missing: the phrase of 201 shows a second time
    QCOMPARE(d.Edit20.text(), QStringLiteral("202"));
    QCOMPARE(d.Label24.caption(), longPhrase(1));
    m->type(longCode(1));
    QCOMPARE(d.Edit20.text(), QStringLiteral("203"));
    QCOMPARE(d.Label24.caption(), longPhrase(3));
    m->type(longCode(3)); // 204 holds the end marker
    QCOMPARE(d.Edit20.text(), QString::number(drills::kLongPhrases.endMarker.jumpTo));
    QCOMPARE(d.Label24.caption(), longPhrase(0));
    QCOMPARE(d.zi2.caption(), longPhrase(0));
    QCOMPARE(d.czts.caption(), longCode(0));
}

void TestPhraseDrill::otherCategoryHidesThePanelAndBackRestarts() {
    auto& d = *m->d;
    d.RadioButton[10].check();
    m->type(longCode(0));
    d.RadioButton[8].check();
    QVERIFY(!d.Panel5.visible());
    QCOMPARE(d.Edit20.text(), QStringLiteral("201"));
    QCOMPARE(m->focus.current(), &d.czt[1]);
    m->focus.set(d.Edit18, controls::Focus::Reason::Tab);
    QCOMPARE(m->focus.current(), &d.czt[1]);
    d.RadioButton[10].check();
    QCOMPARE(d.Edit20.text(), QStringLiteral("200"));
    QCOMPARE(d.Label24.caption(), longPhrase(0));
    // Back from row 200 itself: the counter holds "200" already, the phrase is still row 200's.
    d.RadioButton[7].check();
    d.RadioButton[10].check();
    QCOMPARE(d.Label24.caption(), longPhrase(0));
    QCOMPARE(d.zi2.caption(), longPhrase(0));
}

void TestPhraseDrill::emptyPhrasesNeverAccept() {
    auto& d = *m->d;
    // czwb.db gives phrase(0) for the empty code: the clear step must not accept slot 1 with it.
    d.RadioButton[7].check();
    QCOMPARE(m->accepted(), kNone);
    QCOMPARE(m->focus.current(), &d.czt[1]);
    // A code giving an empty phrase accepts nothing.
    m->type(QStringLiteral("kkkk"));
    QCOMPARE(m->accepted(), kNone);
    QCOMPARE(d.czt[1].text(), QStringLiteral("kkkk"));
    m->choose(10);
    m->type(QStringLiteral("kkkk"));
    QCOMPARE(d.Edit20.text(), QStringLiteral("200"));
    QCOMPARE(d.Label24.caption(), longPhrase(0));
}

namespace {

// What the learner sees of a category that cannot be practised: the category chosen with its
// rules, the slots (or the one-phrase panel) empty, no code box to type into, no hint.
void checkCannotBePractised(const phrases::Drill& m, int category) {
    const auto& d = *m.d;
    QCOMPARE(d.Panel6.checked(), &d.RadioButton[category]);
    QCOMPARE(d.Panel5.visible(), category == PhraseDrill::kLongPhraseCategory);
    QCOMPARE(m.targets(), QStringLiteral("||||"));
    QCOMPARE(m.accepted(), kNone);
    for (int n = 1; n <= PhraseDrill::kSlots; ++n) {
        QVERIFY(!d.czt[n].enabled());
        QVERIFY(d.czt[n].text().isEmpty());
        QVERIFY(!m.focus.has(d.czt[n]));
    }
    QVERIFY(d.Label24.caption().isEmpty());
    QVERIFY(!d.Edit18.enabled());
    QVERIFY(!m.focus.has(d.Edit18));
    QVERIFY(d.czts.caption().isEmpty());
    QVERIFY(d.zi2.caption().isEmpty());
    QCOMPARE(d.Memo2.lines()[0], PhraseDrill::memoLines(category)[0]);
}

} // namespace

// A batch or a row with an empty phrase cannot be practised: it fails where it is loaded, by an
// advance or by a category, naming the row and the field, and leaves nothing half-loaded.
void TestPhraseDrill::phrasesThatCannotBePractisedSaySo() {
    QTemporaryDir dir;
    phrases::writeTables(dir.path());
    QStringList b101 = phrases::batch(5, 2);
    b101[4].clear();
    QStringList b137 = phrases::batch(30, 3);
    b137[1].clear();
    writeTable(dir.filePath(QStringLiteral("czzk.db")), QStringLiteral("czzk"),
               lexicon::Table::fieldsOf(QStringLiteral("czzk.db")),
               {QStringList{QStringLiteral("100")} + phrases::batch(0, 2),
                QStringList{QStringLiteral("101")} + b101,
                QStringList{QStringLiteral("137")} + b137,
                {QStringLiteral("200"), longPhrase(0)},
                {QStringLiteral("201"), QString()}});
    phrases::Drill m(dir.path());
    auto& d = *m.d;

    m.choose(7);
    for (int i = 0; i < 4; ++i)
        m.type(code(i));
    try {
        m.type(code(4));
        QFAIL("batch 101 loaded");
    } catch (const lexicon::TableError& e) {
        for (const QString& part : {QStringLiteral("czzk.db"), QStringLiteral("第 2 行的字段 n6 为空")})
            QVERIFY2(e.message().contains(part), qPrintable(e.message()));
    }
    QCOMPARE(d.Edit17.text(), QStringLiteral("101"));
    checkCannotBePractised(m, 7);

    m.pictures.maps.clear();
    QVERIFY_THROWS_EXCEPTION(lexicon::TableError, m.choose(8));
    checkCannotBePractised(m, 8);
    QCOMPARE(m.pictures.maps, QList<drills::KeyboardMap>{drills::KeyboardMap::Roots});

    m.choose(10);
    QCOMPARE(d.Label24.caption(), longPhrase(0));
    QVERIFY_THROWS_EXCEPTION(lexicon::TableError, m.type(longCode(0)));
    QCOMPARE(d.Edit20.text(), QStringLiteral("201"));
    checkCannotBePractised(m, 10);

    // Another category works again from its start.
    m.choose(7);
    QCOMPARE(m.targets(), batchOf(0, 2));
    QCOMPARE(m.focus.current(), &d.czt[1]);
    m.type(code(0));
    QCOMPARE(d.cztext[1].text(), phrase(0));
    QCOMPARE(d.zi2.caption(), phrase(1));
}

void TestPhraseDrill::missingTableIsReportedAndThePageRecovers_data() {
    QTest::addColumn<QString>("table");
    QTest::addColumn<int>("category");
    QTest::newRow("czwb.db, five to a batch") << "czwb.db" << 7;
    QTest::newRow("czzk.db, five to a batch") << "czzk.db" << 9;
    QTest::newRow("czwb.db, one at a time") << "czwb.db" << 10;
    QTest::newRow("czzk.db, one at a time") << "czzk.db" << 10;
}

void TestPhraseDrill::missingTableIsReportedAndThePageRecovers() {
    QFETCH(QString, table);
    QFETCH(int, category);
    QTemporaryDir dir;
    phrases::writeTables(dir.path(), table != QLatin1String("czwb.db"), table != QLatin1String("czzk.db"));
    phrases::Drill drill(dir.path());
    auto& d = *drill.d;
    try {
        d.RadioButton[category].check();
        QFAIL("no error");
    } catch (const lexicon::TableError& e) {
        QVERIFY(e.message().contains(table));
        QVERIFY(e.message().contains(dir.path()));
    }
    // Nothing was loaded, and the category says it cannot be practised.
    QCOMPARE(d.Edit17.text(), QStringLiteral("99"));
    QCOMPARE(d.Edit20.text(), QStringLiteral("169"));
    checkCannotBePractised(drill, category);

    // Once the table is there, choosing a category works.
    phrases::writeTables(dir.path());
    drill.choose(category == 8 ? 7 : 8);
    drill.choose(category);
    if (category == 10) {
        drill.type(longCode(0));
        QCOMPARE(d.Label24.caption(), longPhrase(1));
    } else {
        drill.type(d.czts.caption());
        QCOMPARE(d.cztext[1].text(), d.cz[1].caption());
    }
}

// The one-phrase panel's code box takes what the slots' code boxes take (tst_slot_drill): letters
// only, capitals shown and never matching, Esc emptying it.
void TestPhraseDrill::longPhraseBoxHoldsOnlyLetters_data() {
    QTest::addColumn<QString>("edit");
    QTest::newRow("pasted line break") << "ab\ncd";
    QTest::newRow("blank after a code") << "ab ";
    QTest::newRow("Chinese committed by an input method") << "中国";
    QTest::newRow("five letters") << "abcde";
}

void TestPhraseDrill::longPhraseBoxHoldsOnlyLetters() {
    QFETCH(QString, edit);
    auto& d = *m->d;
    m->choose(PhraseDrill::kLongPhraseCategory);
    m->type(QStringLiteral("a"));
    QVERIFY(!d.Edit18.edit(edit));
    QCOMPARE(d.Edit18.text(), QStringLiteral("a"));
    m->escape(d.Edit18);
    QVERIFY(d.Edit18.text().isEmpty());
    m->escape(d.Edit18); // Esc in an empty box changes nothing
    m->type(longCode(0).toUpper());
    QCOMPARE(d.Edit18.text(), longCode(0).toUpper());
    QCOMPARE(d.Edit20.text(), QStringLiteral("200"));
    m->escape(d.Edit18);
    QCOMPARE(d.Label24.caption(), longPhrase(0));
    m->type(longCode(0));
    QVERIFY(d.Edit18.text().isEmpty());
    QCOMPARE(d.Edit20.text(), QStringLiteral("201"));
}

// While the one-phrase panel is shown, 提示 and 不提示 give the focus back to its code box.
void TestPhraseDrill::hintOptionGivesTheFocusBackToTheLongPhraseBox_data() {
    QTest::addColumn<int>("reason");
    QTest::newRow("click") << int(controls::Focus::Reason::Mouse);
    QTest::newRow("Tab, then Space") << int(controls::Focus::Reason::Tab);
}

void TestPhraseDrill::hintOptionGivesTheFocusBackToTheLongPhraseBox() {
    QFETCH(int, reason);
    auto& d = *m->d;
    m->choose(7);
    m->typeInto(3, code(2).left(2));
    m->choose(PhraseDrill::kLongPhraseCategory);
    const QString right = d.czts.caption();
    m->type(right.left(2));
    for (controls::RadioButton* option : {&d.RadioButton25, &d.RadioButton24}) {
        m->focus.set(*option, static_cast<controls::Focus::Reason>(reason));
        option->check();
        QCOMPARE(m->focus.current(), &d.Edit18);
        QVERIFY(!d.Edit18.allSelected());
        QCOMPARE(d.Panel16.visible(), option == &d.RadioButton24);
    }
    m->type(right.mid(2));
    QCOMPARE(d.Edit20.text(), QStringLiteral("201"));
}

void TestPhraseDrill::headingOpensThePhraseRules() {
    m->d->Label20.click();
    QCOMPARE(m->desktop.urls, QStringList{drills::kPhraseCodeRulesUrl});
    QVERIFY(QUrl(drills::kPhraseCodeRulesUrl).isValid());
}

void TestPhraseDrill::fuzz() {
    int failures = 0;
    randomLearner(*m, false, failures);
}

// The same learner on tables with broken values in the rows the drill reaches: phrase codes no one
// can type, a phrase longer than the page shows, a line break in a long phrase. Each failure ends
// its event's chain as at the window's event boundary.
void TestPhraseDrill::fuzzOnBrokenValues() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    phrases::writeTables(dir.path());
    const auto quoted = [](const QString& text) { return QStringLiteral("'%1'").arg(text); };
    changeTable(dir.filePath(QStringLiteral("czwb.db")),
                QStringLiteral("UPDATE czwb SET n1 = '!!!!' WHERE n2 = %1; UPDATE czwb SET n1 = NULL WHERE n2 = %2;"
                               "UPDATE czwb SET n1 = 'C' || substr(n1, 2) WHERE n2 = %3;")
                    .arg(quoted(phrase(1, 2)), quoted(phrase(6, 2)), quoted(phrase(31, 3))));
    changeTable(dir.filePath(QStringLiteral("czzk.db")),
                QStringLiteral("UPDATE czzk SET n4 = printf('%.*c', 32, 'a') WHERE n1 = '110';"
                               "UPDATE czzk SET n2 = n2 || char(10) WHERE n1 = '201';"));
    phrases::Drill drill(dir.path());
    int failures = 0;
    randomLearner(drill, true, failures);
    QVERIFY(failures > 0);
}

// Random categories, hint switches, focus moves, letters, right codes, Esc, Backspace and pastes
// into the accepted boxes, with the drill's invariants checked after every event. On broken tables
// (`broken`) a TableError ends the event, as the window's event boundary ends it, and is counted in
// `failures`; the hint then never shows a code no one can type.
void TestPhraseDrill::randomLearner(phrases::Drill& drill, bool broken, int& failures) {
    phrases::Drill* m = &drill;
    auto& d = *m->d;
    failures = 0;
    QRandomGenerator rng(20261207);
    const QString letters = QStringLiteral("cdelkaz ");
    QList<controls::Edit*> boxes{&d.Edit18};
    for (int n = 1; n <= PhraseDrill::kSlots; ++n)
        boxes << &d.czt[n] << &d.cztext[n];
    const int events = fuzzEvents(100000);
    int batches = 0, rows = 0;
    for (int step = 0; step < events; ++step) {
        const QString batchBefore = d.Edit17.text();
        const QString rowBefore = d.Edit20.text();
        const int what = rng.bounded(100);
        bool advancing = false; // an event that may complete a batch or a phrase
        try {
            if (what < 2) {
                d.RadioButton[7 + rng.bounded(4)].check();
                advancing = true;
            } else if (what < 4) {
                (rng.bounded(2) ? d.RadioButton24 : d.RadioButton25).check();
            } else if (what < 12) {
                m->focus.set(*boxes[rng.bounded(boxes.size())],
                             rng.bounded(2) ? controls::Focus::Reason::Mouse : controls::Focus::Reason::Tab);
            } else if (auto* box = dynamic_cast<controls::Edit*>(m->focus.current())) {
                advancing = box == &d.Edit18 || box == &d.czt[5] || box == &d.cztext[5];
                if (what < 16) {
                    m->escape(*box);
                } else if (what < 24) {
                    box->backspace();
                } else if (what < 30 && box->name().startsWith(QLatin1String("cztext"))) {
                    // A paste: mostly a target of the batch, sometimes anything.
                    box->edit(rng.bounded(3) ? d.cz[1 + rng.bounded(5)].caption() : QStringLiteral("字词"));
                } else if (what < 65) {
                    // Mostly the code the hint shows, letter by letter, after Esc on a wrong start.
                    const QString hint = d.czts.caption();
                    if (!hint.startsWith(box->text()) && rng.bounded(2))
                        m->escape(*box);
                    for (QChar c : hint)
                        box->type(c);
                } else {
                    box->type(letters[rng.bounded(letters.size())]);
                }
            } else {
                m->focus.set(d.Panel5.visible() ? d.Edit18 : d.czt[1]);
            }
        } catch (const lexicon::TableError&) {
            if (!broken)
                throw;
            ++failures;
        }
        const QString hint = d.czts.caption();
        if (!hint.isEmpty() && (hint.size() > 4 || !std::all_of(hint.begin(), hint.end(), [](QChar c) {
                                    return c >= QLatin1Char('a') && c <= QLatin1Char('y');
                                })))
            QFAIL(qPrintable(QStringLiteral("the hint shows %1").arg(hint)));

        for (const QString* counter : {&d.Edit17.text(), &d.Edit20.text()}) {
            bool ok = false;
            counter->toInt(&ok);
            QVERIFY2(ok, qPrintable(*counter));
        }
        batches += d.Edit17.text() != batchBefore;
        rows += d.Edit20.text() != rowBefore;
        // Counters move only when the learner completes a batch or a phrase, or chooses a category.
        if (!advancing) {
            QCOMPARE(d.Edit17.text(), batchBefore);
            QCOMPARE(d.Edit20.text(), rowBefore);
        }
        // One mode at a time: the panel's code box, or the slots' boxes, never both.
        const bool panel = d.Panel5.visible();
        // A batch that could not be loaded leaves its boxes disabled.
        if (broken ? d.Edit18.enabled() && !panel : d.Edit18.enabled() != panel)
            QFAIL("the long-phrase box enabled without its panel, or the other way round");
        for (int n = 1; n <= PhraseDrill::kSlots; ++n) {
            const bool wrong = broken ? (d.czt[n].enabled() || d.cztext[n].enabled()) && panel
                                      : d.czt[n].enabled() != !panel || d.cztext[n].enabled() != !panel;
            if (wrong)
                QFAIL(qPrintable(QStringLiteral("slot %1 enabled under the panel, or disabled without it").arg(n)));
        }
        if (m->focus.current())
            QVERIFY(m->focus.current()->enabled());
        for (const controls::Edit* code : {&d.Edit18, &d.czt[1], &d.czt[2], &d.czt[3], &d.czt[4], &d.czt[5]})
            QVERIFY(code->text().size() <= 4 && drills::isCodeText(code->text()));
    }
    // The run went through the long chains, not only round them.
    if (broken)
        return;
    QVERIFY2(batches > events / 200 && rows > events / 200, qPrintable(QStringLiteral("%1 %2").arg(batches).arg(rows)));
}

QTEST_GUILESS_MAIN(TestPhraseDrill)
#include "tst_phrase_drill.moc"
