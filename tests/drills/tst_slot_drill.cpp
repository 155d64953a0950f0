// The chain the single-character and phrase drills share (slot_drill.h), driven as a learner drives
// it: every case runs on both drills, each on its own fixture tables, through the controls the
// drill gives the chain.

#include "drill_fixture.h"
#include "phrase_fixture.h"
#include "slot_drill.h"

#include <QTemporaryDir>
#include <QTest>

#include <functional>

namespace {

// One drill with its first category's material: item(k) and code(k) are the k-th target of its
// start batch and the batches after it (the fixture tables number both drills' batches from 100).
struct Chain {
    Chain(const QString& drill, const QString& folder) {
        if (drill == QLatin1String("characters")) {
            characters = std::make_unique<fixture::Drill>(folder);
            auto& d = *characters->d;
            learner = characters.get();
            c = std::make_unique<drills::SlotDrill::Controls>(
                drills::SlotDrill::Controls{d.Label, d.Edit, d.Ed, d.h, d.edit16, d.Button9, d.Button8, d.Panel13,
                                            d.Panel13, d.zi, d.RadioButton22, d.RadioButton23, d.capsNotice});
            capitalsAt = [&d] { return d.capitalsAt(); };
            first = &d.RadioButton[1];
            other = &d.RadioButton[2];
            review = &d.RadioButton30;
            note = &d.wrongCodeNote;
            missed = &d.missed;
            memo = &d.Memo1;
            position = [&d] { return d.batchPosition(); };
            item = [](int k) { return fixture::character(k); };
            code = [](int k) { return fixture::code(k); };
            keepsCodes = true;
            firstJump = drills::jumpOf(drills::kCharacterCategory[0].endMarker);
        } else {
            phrases = std::make_unique<phrases::Drill>(folder);
            auto& d = *phrases->d;
            learner = phrases.get();
            c = std::make_unique<drills::SlotDrill::Controls>(
                drills::SlotDrill::Controls{d.cz, d.cztext, d.czt, d.czh, d.Edit17, d.Button1, d.Button2, d.Panel16,
                                            d.czts, d.zi2, d.RadioButton24, d.RadioButton25, d.capsNotice});
            capitalsAt = [&d] { return d.capitalsAt(); };
            first = &d.RadioButton[drills::PhraseDrill::kFirstCategory];
            other = &d.RadioButton[drills::PhraseDrill::kFirstCategory + 1];
            review = &d.RadioButton31;
            note = &d.wrongCodeNote;
            missed = &d.missed;
            memo = &d.Memo2;
            position = [&d] { return d.batchPosition(); };
            item = [](int k) { return phrases::phrase(k); };
            code = [](int k) { return phrases::code(k); };
            keepsCodes = false;
            firstJump = drills::kPhraseCategory[0].endMarker.jumpTo;
        }
        size = c->target.size();
    }

    // The learner clicks the first category, which takes the focus from the code boxes.
    void choose() {
        learner->focus.setOther();
        first->check();
    }
    void typeInto(int slot, const QString& letters) { learner->typeInto(c->code[slot], letters); }
    void type(const QString& letters) { learner->type(letters); }
    void escape(int slot) { learner->escape(c->code[slot]); }
    controls::Focus& focus() { return learner->focus; }
    // The targets from item(first) on, and the accepted boxes (an empty one as "_").
    QStringList items(int first) const {
        QStringList s;
        for (int n = 0; n < size; ++n)
            s << item(first + n);
        return s;
    }
    QStringList targets() const {
        QStringList s;
        for (int n = 1; n <= size; ++n)
            s << c->target[n].caption();
        return s;
    }
    QStringList accepted() const {
        QStringList s;
        for (int n = 1; n <= size; ++n)
            s << (c->accepted[n].text().isEmpty() ? QStringLiteral("_") : c->accepted[n].text());
        return s;
    }
    QStringList none() const { return QStringList(size, QStringLiteral("_")); }

    std::unique_ptr<fixture::Drill> characters;
    std::unique_ptr<phrases::Drill> phrases;
    fixture::Learner* learner = nullptr;
    std::unique_ptr<drills::SlotDrill::Controls> c;
    controls::RadioButton* first = nullptr;  // the first category
    controls::RadioButton* other = nullptr;  // another
    controls::RadioButton* review = nullptr; // "练错字" or "练错词"
    drills::MissedItems* missed = nullptr;
    controls::Memo* memo = nullptr;
    controls::Label* note = nullptr; // the line on a wrong code
    std::function<QString(int)> item, code;
    std::function<QString()> position; // which batch of how many
    std::function<int()> capitalsAt;   // where the capitals notice stands
    bool keepsCodes = false;           // an advance keeps the codes left in the slots before the last
    int firstJump = 0;                 // where the first category's end marker sends the counter
    int size = 0;                      // slots
};

const char* const kDrills[] = {"characters", "phrases"};

} // namespace

class TestSlotDrill : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();

    void beforeAnyCategory_data() { addDrills(); }
    void beforeAnyCategory();
    void slotAcceptedOnTheKeystrokeThatCompletesItsCode_data() { addDrills(); }
    void slotAcceptedOnTheKeystrokeThatCompletesItsCode();
    void otherSlotsCodeAcceptsNothingAndEscEmptiesTheBox_data() { addDrills(); }
    void otherSlotsCodeAcceptsNothingAndEscEmptiesTheBox();
    void lastSlotCompletesTheBatch_data() { addDrills(); }
    void lastSlotCompletesTheBatch();
    void acceptedBoxesAreTheLearnersToo_data() { addDrills(); }
    void acceptedBoxesAreTheLearnersToo();
    void endMarkerJumpsAndTheHintShowsTheBatchShown_data() { addDrills(); }
    void endMarkerJumpsAndTheHintShowsTheBatchShown();
    void categoryChosenWithTheFocusInSlotOne_data() { addDrills(); }
    void categoryChosenWithTheFocusInSlotOne();
    void hiddenHintStillFollowsTheFocus_data() { addDrills(); }
    void hiddenHintStillFollowsTheFocus();
    void targetWithNoCodeShowsNoCode_data() { addDrills(); }
    void targetWithNoCodeShowsNoCode();
    void codeBoxHoldsOnlyLetters_data();
    void codeBoxHoldsOnlyLetters();
    void capitalsShowAndNeverMatch_data();
    void capitalsShowAndNeverMatch();
    void hintOptionGivesTheFocusBack_data();
    void hintOptionGivesTheFocusBack();
    void missesGathered_data() { addDrills(); }
    void missesGathered();
    void reviewWithNothingMissedAsksNothing_data() { addDrills(); }
    void reviewWithNothingMissedAsksNothing();
    void reviewAsksTheMissesUntilTypedRightInARow_data() { addDrills(); }
    void reviewAsksTheMissesUntilTypedRightInARow();
    void missedBatchesGoRoundTheList();
    void positionInTheCycle_data() { addDrills(); }
    void positionInTheCycle();
    void wrongCodeLineFollowsTheBoxAndTheHint_data() { addDrills(); }
    void wrongCodeLineFollowsTheBoxAndTheHint();

private:
    static void addDrills() {
        QTest::addColumn<QString>("drill");
        for (const char* drill : kDrills)
            QTest::newRow(drill) << drill;
    }
    // The drill of the current row, its first category chosen unless `choose` is false.
    std::unique_ptr<Chain> chain(bool choose = true) {
        QFETCH(QString, drill);
        auto m = std::make_unique<Chain>(drill, m_dir.path());
        if (choose)
            m->choose();
        return m;
    }

    QTemporaryDir m_dir;
};

void TestSlotDrill::initTestCase() {
    QVERIFY(m_dir.isValid());
    fixture::writeTables(m_dir.path());
    phrases::writeTables(m_dir.path());
}

void TestSlotDrill::beforeAnyCategory() {
    auto m = chain(false);
    const auto& c = *m->c;
    QCOMPARE(m->targets(), QStringList(m->size, QString()));
    // A slot without a target has no code to show, though the code table holds a row whose text
    // is empty too.
    m->focus().set(c.code[2], controls::Focus::Reason::Mouse);
    QVERIFY(c.hintCode.caption().isEmpty());
    QVERIFY(c.hintTarget.caption().isEmpty());
    // Codes typed now are looked up but never accepted, and the last slot advances nothing.
    const QString counter = c.counter.text();
    m->typeInto(1, m->code(0));
    QCOMPARE(c.found[1].text(), m->item(0));
    QCOMPARE(c.code[1].text(), m->code(0));
    m->typeInto(m->size, m->code(m->size - 1));
    QCOMPARE(m->accepted(), m->none());
    QCOMPARE(c.counter.text(), counter);
}

void TestSlotDrill::slotAcceptedOnTheKeystrokeThatCompletesItsCode() {
    auto m = chain();
    const auto& c = *m->c;
    QCOMPARE(m->targets(), m->items(0));
    QCOMPARE(&c.code[1], m->focus().current());
    QCOMPARE(c.hintTarget.caption(), m->item(0));
    QCOMPARE(c.hintCode.caption(), m->code(0));
    m->type(m->code(0).left(3));
    QCOMPARE(m->accepted(), m->none());
    m->type(m->code(0).right(1));
    QCOMPARE(c.accepted[1].text(), m->item(0));
    QVERIFY(c.code[1].text().isEmpty());
    QVERIFY(c.found[1].text().isEmpty());
    QCOMPARE(m->focus().current(), &c.code[2]);
    QCOMPARE(c.hintTarget.caption(), m->item(1));
    QCOMPARE(c.hintCode.caption(), m->code(1));
    // A blank typed after a code, as the rules memo suggests, is no part of any code.
    m->type(QStringLiteral(" "));
    QVERIFY(c.code[2].text().isEmpty());
    m->type(m->code(1));
    QCOMPARE(m->focus().current(), &c.code[3]);
    // Accepting a slot again only repeats the steps, and leaves the other slots' codes.
    m->typeInto(4, QStringLiteral("ab"));
    m->typeInto(2, m->code(1));
    QVERIFY(c.code[2].text().isEmpty());
    QCOMPARE(c.accepted[2].text(), m->item(1));
    QCOMPARE(m->focus().current(), &c.code[3]);
    QCOMPARE(c.code[4].text(), QStringLiteral("ab"));
}

void TestSlotDrill::otherSlotsCodeAcceptsNothingAndEscEmptiesTheBox() {
    auto m = chain();
    const auto& c = *m->c;
    m->typeInto(2, m->code(3));
    QCOMPARE(c.found[2].text(), m->item(3));
    QCOMPARE(c.code[2].text(), m->code(3));
    QCOMPARE(m->accepted(), m->none());
    QCOMPARE(m->focus().current(), &c.code[2]);
    // Backspace corrects it; Esc empties the box.
    for (int i = 0; i < 4; ++i)
        c.code[2].backspace();
    QVERIFY(c.code[2].text().isEmpty());
    m->type(m->code(3));
    m->escape(2);
    QVERIFY(c.code[2].text().isEmpty());
    QCOMPARE(c.found[2].text(), m->item(3)); // the result box keeps what it held
    m->escape(2);                            // Esc in an empty box changes nothing
    QVERIFY(c.code[2].text().isEmpty());
    QCOMPARE(m->targets(), m->items(0));
    QCOMPARE(m->focus().current(), &c.code[2]);
    m->type(m->code(1).left(3));
    QCOMPARE(m->accepted(), m->none());
    m->type(m->code(1).right(1));
    QCOMPARE(c.accepted[2].text(), m->item(1));
}

void TestSlotDrill::lastSlotCompletesTheBatch() {
    auto m = chain();
    const auto& c = *m->c;
    const int last = m->size;
    m->typeInto(2, m->code(1));
    m->typeInto(1, QStringLiteral("zz"));
    m->typeInto(3, QStringLiteral("y"));
    m->typeInto(last, m->code(last - 1).left(3));
    QCOMPARE(c.counter.text(), QStringLiteral("100"));
    m->type(m->code(last - 1).right(1));
    QCOMPARE(c.counter.text(), QStringLiteral("101"));
    QCOMPARE(m->targets(), m->items(last));
    QCOMPARE(m->accepted(), m->none());
    for (int n = 1; n <= last; ++n)
        QVERIFY(c.found[n].text().isEmpty());
    QVERIFY(c.code[last].text().isEmpty());
    // The character drill keeps the codes left in the other slots, the phrase drill clears them.
    QCOMPARE(c.code[1].text(), m->keepsCodes ? QStringLiteral("zz") : QString());
    QCOMPARE(c.code[3].text(), m->keepsCodes ? QStringLiteral("y") : QString());
    QCOMPARE(m->focus().current(), &c.code[1]);
    QCOMPARE(c.code[1].allSelected(), m->keepsCodes); // the first keystroke replaces a code left there
    QCOMPARE(c.hintTarget.caption(), m->item(last));
    QCOMPARE(c.hintCode.caption(), m->code(last));
    m->type(m->code(last));
    QCOMPARE(c.accepted[1].text(), m->item(last));
}

// The accepted boxes stay boxes the learner may enter and edit: Tab (or Enter) from the last code
// box reaches the first of them, and an edit there, a deletion or a character an input method
// commits, sets off nothing; only the last one acts, completing the batch when it holds its target.
void TestSlotDrill::acceptedBoxesAreTheLearnersToo() {
    auto m = chain();
    const auto& c = *m->c;
    m->typeInto(1, m->code(0));
    m->focus().set(c.code[m->size], controls::Focus::Reason::Mouse);
    m->focus().set(c.accepted[1], controls::Focus::Reason::Tab);
    QVERIFY(c.accepted[1].allSelected());
    c.accepted[1].backspace();
    QVERIFY(c.accepted[1].text().isEmpty());
    QVERIFY(c.accepted[1].edit(m->item(1)));
    QCOMPARE(c.counter.text(), QStringLiteral("100"));
    QCOMPARE(m->targets(), m->items(0));
    QCOMPARE(c.hintTarget.caption(), m->item(m->size - 1)); // the hint stays with the last code box
    QVERIFY(c.code[1].text().isEmpty() && c.code[2].text().isEmpty());
    QVERIFY(c.accepted[m->size].edit(m->item(m->size - 1)));
    QCOMPARE(c.counter.text(), QStringLiteral("101"));
}

// Batch 102 closes with the first category's end marker.
void TestSlotDrill::endMarkerJumpsAndTheHintShowsTheBatchShown() {
    auto m = chain();
    const auto& c = *m->c;
    const int last = m->size;
    c.counter.setText(QStringLiteral("101"));
    m->typeInto(last, m->code(2 * last - 1));
    QCOMPARE(c.counter.text(), QString::number(m->firstJump));
    const int first = (m->firstJump - 100) * last;
    QCOMPARE(m->targets(), m->items(first));
    QCOMPARE(m->accepted(), m->none());
    // The hint shows the slot that has the focus, of the batch on show, not of the one replaced.
    QCOMPARE(m->focus().current(), &c.code[1]);
    QCOMPARE(c.hintTarget.caption(), m->item(first));
    QCOMPARE(c.hintCode.caption(), m->code(first));
    m->type(c.hintCode.caption());
    QCOMPARE(c.accepted[1].text(), m->item(first));
    QCOMPARE(c.hintTarget.caption(), m->item(first + 1));
}

// Under a desktop style whose buttons take no focus on a click, a category chosen while the learner
// types in slot 1 leaves the focus there: the hint still shows slot 1 of the batch now on show.
void TestSlotDrill::categoryChosenWithTheFocusInSlotOne() {
    auto m = chain();
    const auto& c = *m->c;
    m->type(m->code(0).left(2));
    QCOMPARE(m->focus().current(), &c.code[1]);
    m->other->check();
    QCOMPARE(m->focus().current(), &c.code[1]);
    QVERIFY(c.code[1].text().isEmpty());
    QVERIFY(c.target[1].caption() != m->item(0));
    QCOMPARE(c.hintTarget.caption(), c.target[1].caption());
    m->type(c.hintCode.caption());
    QCOMPARE(c.accepted[1].text(), c.target[1].caption());
    QCOMPARE(m->focus().current(), &c.code[2]);
}

void TestSlotDrill::hiddenHintStillFollowsTheFocus() {
    auto m = chain();
    const auto& c = *m->c;
    c.hintOff.check();
    QVERIFY(!c.hint.visible());
    m->typeInto(2, m->code(1));
    QCOMPARE(c.hintTarget.caption(), m->item(2));
    QCOMPARE(c.hintCode.caption(), m->code(2));
    m->focus().set(c.code[4], controls::Focus::Reason::Tab);
    QCOMPARE(c.hintTarget.caption(), m->item(3));
    QCOMPARE(c.hintCode.caption(), m->code(3));
    c.hintOn.check();
    QVERIFY(c.hint.visible());
    QCOMPARE(c.hintTarget.caption(), m->item(3));
}

void TestSlotDrill::targetWithNoCodeShowsNoCode() {
    // A target the code table does not hold: the hint shows it with no code, not with the code of
    // the slot the learner comes from.
    auto m = chain();
    const auto& c = *m->c;
    const QString unknown = QStringLiteral("嗯嗯");
    c.target[4].setCaption(unknown);
    m->focus().set(c.code[3]);
    QCOMPARE(c.hintCode.caption(), m->code(2));
    m->focus().set(c.code[4], controls::Focus::Reason::Tab);
    QCOMPARE(c.hintTarget.caption(), unknown);
    QCOMPARE(c.hintCode.caption(), QString());
    m->focus().set(c.code[3], controls::Focus::Reason::Tab);
    QCOMPARE(c.hintTarget.caption(), m->item(2));
    QCOMPARE(c.hintCode.caption(), m->code(2));
}

void TestSlotDrill::codeBoxHoldsOnlyLetters_data() {
    QTest::addColumn<QString>("drill");
    QTest::addColumn<QString>("edit");
    for (const char* drill : kDrills) {
        QTest::addRow("%s: pasted line break", drill) << drill << "ab\ncd";
        QTest::addRow("%s: blank after a code", drill) << drill << "ab ";
        QTest::addRow("%s: blank alone", drill) << drill << " ";
        QTest::addRow("%s: Chinese committed by an input method", drill) << drill << "中国";
        QTest::addRow("%s: digit", drill) << drill << "a1";
        QTest::addRow("%s: five letters", drill) << drill << "abcde";
    }
}

void TestSlotDrill::codeBoxHoldsOnlyLetters() {
    QFETCH(QString, edit);
    auto m = chain();
    auto& box = m->c->code[1];
    m->type(QStringLiteral("a"));
    QVERIFY(!box.edit(edit));
    for (QChar c : edit)
        if (c.unicode() > 0x7f || !c.isLetter())
            QVERIFY(!box.type(c));
    QCOMPARE(box.text(), QStringLiteral("a"));
    // The slot still takes its code afterwards.
    box.clear();
    m->type(m->code(0));
    QCOMPARE(m->c->accepted[1].text(), m->item(0));
}

// Caps Lock or Shift: the letters show as typed, so the learner sees why nothing is accepted.
void TestSlotDrill::capitalsShowAndNeverMatch_data() {
    QTest::addColumn<QString>("drill");
    QTest::addColumn<int>("capitals"); // from the left; 0 for the last letter alone
    for (const char* drill : kDrills) {
        QTest::addRow("%s: Caps Lock", drill) << drill << 4;
        QTest::addRow("%s: Shift on the first letter", drill) << drill << 1;
        QTest::addRow("%s: Shift on the last letter", drill) << drill << 0;
    }
}

void TestSlotDrill::capitalsShowAndNeverMatch() {
    QFETCH(int, capitals);
    auto m = chain();
    const auto& c = *m->c;
    const QString right = m->code(0);
    const QString typed =
        capitals ? right.left(capitals).toUpper() + right.mid(capitals) : right.left(3) + right.right(1).toUpper();
    QVERIFY(!c.capitals.visible());
    m->type(typed);
    QCOMPARE(c.code[1].text(), typed);
    QVERIFY(c.accepted[1].text().isEmpty());
    QCOMPARE(m->focus().current(), &c.code[1]);
    // The learner is told, at the box, why nothing matches.
    QVERIFY(c.capitals.visible());
    QCOMPARE(m->capitalsAt(), 1);
    QCOMPARE(c.capitals.caption(), QStringLiteral("大写字母打不出编码，请关闭大写锁定"));
    // Another box without capitals leaves the notice where it is; one with capitals takes it.
    m->typeInto(3, m->code(2));
    QCOMPARE(m->capitalsAt(), 1);
    m->typeInto(2, QStringLiteral("G"));
    QCOMPARE(m->capitalsAt(), 2);
    // Emptied, that box gives the notice back to box 1, which still holds capitals.
    m->escape(2);
    QVERIFY(c.capitals.visible());
    QCOMPARE(m->capitalsAt(), 1);
    m->typeInto(1, QString());
    c.code[1].backspace();
    QCOMPARE(c.capitals.visible(), capitals != 0); // gone with the last capital
    m->escape(1);
    QVERIFY(!c.capitals.visible());
    m->type(right);
    QCOMPARE(c.accepted[1].text(), m->item(0));
    QVERIFY(!c.capitals.visible());
}

// A learner's click on 提示 or 不提示 (or Space on it after Tab) puts the focus back into the code
// box the learner was typing in, half-typed code and all; checking an option by program moves
// nothing.
void TestSlotDrill::hintOptionGivesTheFocusBack_data() {
    QTest::addColumn<QString>("drill");
    QTest::addColumn<int>("reason");
    for (const char* drill : kDrills) {
        QTest::addRow("%s: click", drill) << drill << int(controls::Focus::Reason::Mouse);
        QTest::addRow("%s: Tab, then Space", drill) << drill << int(controls::Focus::Reason::Tab);
    }
}

void TestSlotDrill::hintOptionGivesTheFocusBack() {
    QFETCH(int, reason);
    auto m = chain();
    const auto& c = *m->c;
    m->typeInto(3, m->code(2).left(2));
    for (controls::RadioButton* option : {&c.hintOff, &c.hintOn}) {
        m->focus().set(*option, static_cast<controls::Focus::Reason>(reason));
        option->check();
        QCOMPARE(m->focus().current(), &c.code[3]);
        QVERIFY(!c.code[3].allSelected());
        QCOMPARE(c.hint.visible(), option == &c.hintOn);
    }
    QCOMPARE(c.hintTarget.caption(), m->item(2));
    m->type(m->code(2).mid(2));
    QCOMPARE(c.accepted[3].text(), m->item(2));
    QCOMPARE(m->focus().current(), &c.code[4]);
    // Checked by program, as at start-up, with the focus elsewhere: the focus stays there.
    m->focus().set(*m->other, controls::Focus::Reason::Mouse);
    c.hintOff.check();
    QCOMPARE(m->focus().current(), m->other);
}

QTEST_GUILESS_MAIN(TestSlotDrill)
#include "tst_slot_drill.moc"

// A miss: a code as long as the target's that gives another item or nothing, or the hint switched
// on by the learner. Half a code, a right code, or the hint switched by program is none.
void TestSlotDrill::missesGathered() {
    auto m = chain();
    const auto& c = *m->c;
    m->type(m->code(1).left(3)); // half a code of the next item, in slot 1
    QVERIFY(m->missed->isEmpty());
    m->type(m->code(1).right(1)); // the whole code of another item
    QCOMPARE(m->missed->items(), QStringList{m->item(0)});
    m->escape(1);
    m->type(m->code(0));
    QCOMPARE(c.accepted[1].text(), m->item(0));
    m->type(QStringLiteral("zzzz")); // slot 2: four letters that give nothing
    QCOMPARE(m->missed->items(), (QStringList{m->item(0), m->item(1)}));
    m->escape(2);
    m->type(m->code(1));
    m->type(m->code(2)); // slot 3 right at once
    QCOMPARE(m->missed->size(), 2);
    // The hint switched off and on by the learner shows the code of slot 4's item: a miss.
    c.hintOff.check();
    c.hintOn.check();
    QCOMPARE(m->missed->size(), 2);
    m->focus().set(c.hintOff, controls::Focus::Reason::Mouse);
    c.hintOff.check();
    QCOMPARE(m->missed->size(), 2);
    m->focus().set(c.hintOn, controls::Focus::Reason::Mouse);
    c.hintOn.check();
    QCOMPARE(m->missed->items(), (QStringList{m->item(0), m->item(1), m->item(3)}));
    QCOMPARE(m->focus().current(), &c.code[4]);
    // A miss again sets the count of right answers back, without a second entry.
    m->type(QStringLiteral("zzzz"));
    QCOMPARE(m->missed->size(), 3);
}

void TestSlotDrill::reviewWithNothingMissedAsksNothing() {
    auto m = chain();
    const auto& c = *m->c;
    m->review->check();
    QCOMPARE(m->targets(), QStringList(m->size, QString()));
    for (int n = 1; n <= m->size; ++n)
        QVERIFY(!c.code[n].enabled());
    QVERIFY(m->memo->lines()[4].contains(QStringLiteral("还没有打错的")));
    QVERIFY(m->memo->lines()[3].contains(QStringLiteral("关闭窗口即清空")));
    // A fixed category afterwards is as it always was.
    m->first->check();
    QCOMPARE(m->targets(), m->items(0));
    QVERIFY(c.code[1].enabled());
}

void TestSlotDrill::reviewAsksTheMissesUntilTypedRightInARow() {
    auto m = chain();
    const auto& c = *m->c;
    const QString a = m->item(0), b = m->item(1);
    m->missed->missed(a);
    m->missed->missed(b);
    m->review->check();
    QStringList cycled;
    for (int n = 0; n < m->size; ++n)
        cycled << (n % 2 ? b : a);
    QCOMPARE(m->targets(), cycled);
    QCOMPARE(c.counter.text(), QStringLiteral("1"));
    QCOMPARE(m->focus().current(), &c.code[1]);
    QVERIFY(m->memo->lines()[4].contains(QStringLiteral("2")));
    // a right; b missed on the way, then right: b's count starts again.
    m->type(m->code(0));
    QCOMPARE(m->missed->rightInARow(a), 1);
    m->type(m->code(0));
    QCOMPARE(c.accepted[2].text(), QString());
    m->escape(2);
    m->type(m->code(1));
    QCOMPARE(c.accepted[2].text(), b);
    QCOMPARE(m->missed->rightInARow(b), 0);
    // a right twice more: three in a row, but a stays on the list while the batch on show still
    // asks it, and leaves with that batch.
    m->type(m->code(0));
    m->type(m->code(1));
    if (m->size > 5) {
        m->type(m->code(0));
        QVERIFY(m->missed->leaving(a));
        QCOMPARE(m->missed->items(), (QStringList{a, b}));
        // The batch's later slots ask a again: those answers count.
        QCOMPARE(m->targets(), cycled);
        m->type(m->code(1));
        m->type(m->code(0));
        QCOMPARE(m->missed->rightInARow(a), 4);
        m->typeInto(m->size, m->code(0));
    } else {
        m->type(m->code(0)); // the batch's last slot: three in a row as the batch ends
    }
    QCOMPARE(m->missed->items(), QStringList{b});
    QVERIFY(m->memo->lines()[4].contains(b));
    QVERIFY(!m->memo->lines()[4].contains(a));
    // The last slot advanced to the list's next batch: b alone.
    QCOMPARE(c.counter.text(), QStringLiteral("2"));
    QCOMPARE(m->targets(), QStringList(m->size, b));
    // b typed right until three in a row: still asked to the batch's end, then nothing is left to
    // ask and nothing to type into.
    while (!m->missed->leaving(b))
        m->type(m->code(1));
    QCOMPARE(m->missed->items(), QStringList{b});
    QVERIFY(c.code[m->size].enabled());
    m->typeInto(m->size, m->code(1));
    QVERIFY(m->missed->isEmpty());
    QCOMPARE(m->targets(), QStringList(m->size, QString()));
    for (int n = 1; n <= m->size; ++n)
        QVERIFY(!c.code[n].enabled());
    QVERIFY(m->memo->lines()[4].contains(QStringLiteral("都已练对")));
    // A miss meanwhile elsewhere is asked when the review is chosen again.
    m->first->check();
    m->type(m->code(3));
    m->review->check();
    QCOMPARE(m->targets(), QStringList(m->size, m->item(0)));
}

void TestSlotDrill::missedBatchesGoRoundTheList() {
    drills::MissedItems missed;
    int changes = 0;
    missed.onChange = [&] { ++changes; };
    QVERIFY(missed.batch(1, 5).isEmpty());
    for (const char* s : {"甲", "乙", "丙", "丁", "戊", "己", "庚"})
        missed.missed(QString::fromUtf8(s));
    missed.missed(QStringLiteral("乙"));
    missed.missed(QString());
    QCOMPARE(changes, 7);
    QCOMPARE(missed.batch(1, 5), QStringList({"甲", "乙", "丙", "丁", "戊"}));
    QCOMPARE(missed.batch(2, 5), QStringList({"己", "庚", "甲", "乙", "丙"}));
    QCOMPARE(missed.batchesPerRound(5), 2);
    QCOMPARE(missed.batch(2147483647, 3).size(), 3); // a counter at int's end still gives a batch
    QVERIFY(!missed.right(QStringLiteral("辛")));
    QVERIFY(!missed.right(QStringLiteral("甲")));
    missed.missed(QStringLiteral("甲"));
    QVERIFY(!missed.right(QStringLiteral("甲")));
    QVERIFY(!missed.right(QStringLiteral("甲")));
    QVERIFY(missed.right(QStringLiteral("甲")));
    // Three in a row: it leaves when the batch ends, not before; a miss before then keeps it.
    QCOMPARE(missed.size(), 7);
    missed.missed(QStringLiteral("甲"));
    QVERIFY(!missed.leaving(QStringLiteral("甲")));
    missed.endBatch();
    QCOMPARE(missed.size(), 7);
    QCOMPARE(changes, 7);
    for (int n = 0; n < drills::MissedItems::kRightInARow; ++n)
        missed.right(QStringLiteral("甲"));
    missed.endBatch();
    QCOMPARE(missed.size(), 6);
    QVERIFY(!missed.items().contains(QStringLiteral("甲")));
    QCOMPARE(changes, 8);
}

// Which batch of how many: a category's count read from the batch table (the fixture's first
// category closes with batch 102, whose last target is its end marker), the review's from its list.
void TestSlotDrill::positionInTheCycle() {
    auto m = chain();
    const auto& c = *m->c;
    QCOMPARE(m->position(), QStringLiteral("第 1 批，共 2 批"));
    m->typeInto(m->size, m->code(m->size - 1));
    QCOMPARE(c.counter.text(), QStringLiteral("101"));
    QCOMPARE(m->position(), QStringLiteral("第 2 批，共 2 批"));
    // A list one item longer than a batch takes two batches a round, then starts the round again.
    for (int k = 0; k <= m->size; ++k)
        m->missed->missed(m->item(k));
    m->review->check();
    QCOMPARE(m->position(), QStringLiteral("第 1 批，共 2 批"));
    m->typeInto(m->size, m->code(m->size - 1));
    QCOMPARE(m->position(), QStringLiteral("第 2 批，共 2 批"));
    m->typeInto(m->size, m->code(m->size - 2));
    QCOMPARE(c.counter.text(), QStringLiteral("3"));
    QCOMPARE(m->position(), QStringLiteral("第 1 批，共 2 批"));
}

// The line on a wrong code (the fixture has no explanations: it names the letters only) stands
// while the box holds it and the hint shows; it tells the target's code, so never without the hint.
void TestSlotDrill::wrongCodeLineFollowsTheBoxAndTheHint() {
    auto m = chain();
    const auto& c = *m->c;
    m->type(m->code(1).left(3));
    QVERIFY(!m->note->visible());
    m->type(m->code(1).right(1));
    QVERIFY(m->note->visible());
    int k = 0;
    while (m->code(1)[k] == m->code(0)[k])
        ++k;
    const QString ordinal = QStringLiteral("一二三四").mid(k, 1);
    QCOMPARE(m->note->caption(),
             QStringLiteral("“%1”打出的是“%2”：第%3码 %4；“%5”的第%3码是 %6")
                 .arg(m->code(1), m->item(1), ordinal, m->code(1).mid(k, 1), m->item(0), m->code(0).mid(k, 1)));
    m->escape(1);
    QVERIFY(!m->note->visible());
    m->type(QStringLiteral("zzzz"));
    QVERIFY(m->note->caption().startsWith(QStringLiteral("“zzzz”打不出")));
    // Hidden with the hint, back with it; another box entered takes it away.
    m->focus().set(c.hintOff, controls::Focus::Reason::Mouse);
    c.hintOff.check();
    QVERIFY(!m->note->visible());
    m->focus().set(c.hintOn, controls::Focus::Reason::Mouse);
    c.hintOn.check();
    QVERIFY(m->note->visible());
    m->focus().set(c.code[2], controls::Focus::Reason::Mouse);
    QVERIFY(!m->note->visible());
    // Capitals are Caps Lock, not a wrong code: no line, no miss.
    const int missed = m->missed->size();
    m->type(m->code(1).toUpper());
    QVERIFY(!m->note->visible());
    QCOMPARE(m->missed->size(), missed);
}
