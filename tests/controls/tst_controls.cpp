// The window's rules, which every page's chains rely on.

#include "controls.h"

#include <QTest>

using namespace controls;

class TestControls : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void assignmentRunsChangeOnlyWhenTextDiffers_data();
    void assignmentRunsChangeOnlyWhenTextDiffers();
    void changeHandlersNestBeforeTheAssignerGoesOn();
    void handlerMayClearItsOwnBox();
    void typedLineClearRunsNothing();
    void radioButtonsCheckAsAGroup();
    void buttonClickedByProgramRunsItsHandler();
    void focusRunsEnterOnceAndSelectsUnlessByMouse();
    void focusSkipsControlsThatCannotTakeIt();
    void tabRangeKeepsTheKeyboardWithinIt();
    void typingHonoursSelectionAndMaximumLength();
    void learnerEditPastMaximumLengthIsRefused();
    void upperCaseBoxTurnsOnlyTheLearnersLetters();
    void memoSkipsLinesItNoLongerHas();
    void timerTicksOnlyWhileEnabled();
};

void TestControls::assignmentRunsChangeOnlyWhenTextDiffers_data() {
    QTest::addColumn<QString>("before");
    QTest::addColumn<int>("operation"); // 0 setText(after), 1 clear()
    QTest::addColumn<QString>("after");
    QTest::addColumn<int>("runs");
    QTest::newRow("different text") << "ab" << 0 << "abc" << 1;
    QTest::newRow("same text") << "ab" << 0 << "ab" << 0;
    QTest::newRow("empty to empty by assignment") << "" << 0 << "" << 0;
    QTest::newRow("clear a full box") << "ab" << 1 << "" << 1;
    QTest::newRow("clear an empty box") << "" << 1 << "" << 1;
    QTest::newRow("case matters") << "ab" << 0 << "AB" << 1;
}

void TestControls::assignmentRunsChangeOnlyWhenTextDiffers() {
    QFETCH(QString, before);
    QFETCH(int, operation);
    QFETCH(QString, after);
    QFETCH(int, runs);
    Edit e(QStringLiteral("Ed1"));
    e.setText(before); // no handler yet: loading runs nothing
    int count = 0;
    QString seen;
    e.onChange = [&] {
        ++count;
        seen = e.text();
    };
    if (operation == 0)
        e.setText(after);
    else
        e.clear();
    QCOMPARE(count, runs);
    QCOMPARE(e.text(), after);
    if (runs)
        QCOMPARE(seen, after); // the handler sees the new text
}

void TestControls::changeHandlersNestBeforeTheAssignerGoesOn() {
    Edit a(QStringLiteral("a")), b(QStringLiteral("b")), c(QStringLiteral("c"));
    QStringList log;
    a.onChange = [&] {
        log << QStringLiteral("a in");
        b.setText(QStringLiteral("x"));
        log << QStringLiteral("a out");
    };
    b.onChange = [&] {
        log << QStringLiteral("b in");
        c.clear();
        log << QStringLiteral("b out");
    };
    c.onChange = [&] { log << QStringLiteral("c"); };
    a.setText(QStringLiteral("1"));
    QCOMPARE(log, (QStringList{"a in", "b in", "c", "b out", "a out"}));
}

void TestControls::handlerMayClearItsOwnBox() {
    // A handler that clears the very box whose handler is running further out.
    Edit e(QStringLiteral("Ed15"));
    QStringList seen;
    e.onChange = [&] {
        seen << e.text();
        if (!e.text().isEmpty())
            e.clear();
    };
    e.setText(QStringLiteral("abcd"));
    QCOMPARE(seen, (QStringList{"abcd", ""}));
    QVERIFY(e.text().isEmpty());
}

void TestControls::typedLineClearRunsNothing() {
    TypedLine m(QStringLiteral("Memo3"));
    int count = 0;
    m.onChange = [&] { ++count; };
    m.edit(QStringLiteral("你好"), 2);
    QCOMPARE(count, 1);
    QCOMPARE(m.caret(), 2);
    m.edit(QStringLiteral("你好"), 1); // a caret move is no change
    QCOMPARE(count, 1);
    m.clear();
    QCOMPARE(count, 1);
    QVERIFY(m.text().isEmpty());
    QCOMPARE(m.caret(), 0);
}

void TestControls::radioButtonsCheckAsAGroup() {
    RadioGroup g, other;
    RadioButton r1(QStringLiteral("r1"), QStringLiteral("一"), g), r2(QStringLiteral("r2"), QStringLiteral("二"), g);
    RadioButton o(QStringLiteral("o"), QStringLiteral("三"), other);
    QStringList log;
    r1.onClick = [&] { log << QStringLiteral("r1") << (r2.isChecked() ? "r2 still" : "r2 off"); };
    r2.onClick = [&] { log << QStringLiteral("r2"); };
    o.check();
    r2.check();
    r1.check(); // unchecks r2 before its handler runs
    QCOMPARE(log, (QStringList{"r2", "r1", "r2 off"}));
    QVERIFY(r1.isChecked() && !r2.isChecked() && o.isChecked());
    QCOMPARE(g.checked(), &r1);
    r1.check();   // already checked: nothing
    r1.uncheck(); // unchecking: nothing
    QCOMPARE(log.size(), 3);
    QCOMPARE(g.checked(), nullptr);
}

void TestControls::buttonClickedByProgramRunsItsHandler() {
    Button b(QStringLiteral("Button9"));
    b.click(); // no handler: nothing to run, no crash
    int count = 0;
    b.onClick = [&] { ++count; };
    b.hide(); // hidden working buttons still run their steps
    b.click();
    QCOMPARE(count, 1);
}

void TestControls::focusRunsEnterOnceAndSelectsUnlessByMouse() {
    Focus f;
    Edit a(QStringLiteral("Ed1")), b(QStringLiteral("Ed2"));
    a.setText(QStringLiteral("ab"));
    int enters = 0;
    a.onEnter = [&] { ++enters; };
    f.set(a);
    QCOMPARE(enters, 1);
    QVERIFY(a.allSelected());
    f.set(a); // it has the focus already
    QCOMPARE(enters, 1);
    f.set(b, Focus::Reason::Tab);
    f.set(a, Focus::Reason::Mouse);
    QCOMPARE(enters, 2);
    QVERIFY(!a.allSelected());
    f.setOther(); // a selector took the focus
    f.set(a, Focus::Reason::Tab);
    QCOMPARE(enters, 3);
    QVERIFY(a.allSelected());
    b.setText(QString());
    f.set(b);
    QVERIFY(!b.allSelected()); // nothing to select
    // Back on its page: the box is as the learner left it, selected or not.
    for (bool selected : {false, true}) {
        a.setAllSelected(selected);
        f.setOther();
        f.set(a, Focus::Reason::Back);
        QCOMPARE(a.allSelected(), selected);
        QCOMPARE(a.text(), QStringLiteral("ab"));
    }
    QCOMPARE(enters, 5);
}

void TestControls::focusSkipsControlsThatCannotTakeIt() {
    Focus f;
    Edit hidden(QStringLiteral("h1")), disabled(QStringLiteral("x"));
    hidden.hide();
    disabled.setEnabled(false);
    int enters = 0;
    hidden.onEnter = disabled.onEnter = [&] { ++enters; };
    f.set(hidden);
    f.set(disabled);
    QCOMPARE(enters, 0);
    QCOMPARE(f.current(), nullptr);
}

// Tab and Enter within a range go to the next member that can take the focus, and stop at its
// ends; outside the range, or with none set, the window's tab order decides (no target).
void TestControls::tabRangeKeepsTheKeyboardWithinIt() {
    Focus f;
    Edit a(QStringLiteral("a")), b(QStringLiteral("b")), c(QStringLiteral("c")), outside(QStringLiteral("o"));
    f.set(a);
    QCOMPARE(f.tabTarget(true), nullptr);
    f.setTabRange({&a, &b, &c});
    QCOMPARE(f.tabTarget(true), &b);
    QCOMPARE(f.tabTarget(false), &a);
    b.setEnabled(false);
    QCOMPARE(f.tabTarget(true), &c);
    f.set(c);
    QCOMPARE(f.tabTarget(true), &c);
    QCOMPARE(f.tabTarget(false), &a);
    f.set(outside);
    QCOMPARE(f.tabTarget(true), nullptr);
    f.setOther();
    QCOMPARE(f.tabTarget(true), nullptr);
    f.set(a);
    f.setTabRange({});
    QCOMPARE(f.tabTarget(true), nullptr);
}

void TestControls::typingHonoursSelectionAndMaximumLength() {
    Focus f;
    Edit e(QStringLiteral("Ed1"));
    e.setMaxLength(4);
    QStringList seen;
    e.onChange = [&] { seen << e.text(); };
    for (QChar c : QStringLiteral("abcde"))
        e.type(c);
    QCOMPARE(e.text(), QStringLiteral("abcd")); // the fifth letter is refused
    QCOMPARE(seen, (QStringList{"a", "ab", "abc", "abcd"}));
    f.set(e); // by program: the whole text is selected
    QVERIFY(e.type(QLatin1Char('z')));
    QCOMPARE(e.text(), QStringLiteral("z"));
    e.backspace();
    e.backspace(); // nothing left: no change runs
    QCOMPARE(seen.size(), 6);
    QVERIFY(e.text().isEmpty());
}

void TestControls::learnerEditPastMaximumLengthIsRefused() {
    Edit e(QStringLiteral("Ed1"));
    e.setMaxLength(4);
    e.edit(QStringLiteral("abcde"));
    QVERIFY(e.text().isEmpty());
    e.edit(QStringLiteral("abcd"));
    QCOMPARE(e.text(), QStringLiteral("abcd"));
}

void TestControls::upperCaseBoxTurnsOnlyTheLearnersLetters() {
    Edit e(QStringLiteral("Edit23"));
    e.setMaxLength(1);
    e.setUpperCase(true);
    QStringList seen;
    e.onChange = [&] { seen << e.text(); };
    QVERIFY(e.type(QLatin1Char('g')));
    QCOMPARE(e.text(), QStringLiteral("G")); // the handler saw the upper-case letter only
    QCOMPARE(seen, QStringList{QStringLiteral("G")});
    e.setAllSelected(true);
    QVERIFY(!e.edit(QStringLiteral("ß"))); // "SS" would not fit the box
    QCOMPARE(e.text(), QStringLiteral("G"));
    e.setText(QStringLiteral("x")); // a program's assignment stays as given
    QCOMPARE(e.text(), QStringLiteral("x"));
}

void TestControls::memoSkipsLinesItNoLongerHas() {
    Memo m(QStringLiteral("Memo1"), {QStringLiteral("a"), QString(), QStringLiteral("c")});
    m.setLine(2, QStringLiteral("C"));
    m.edit({QStringLiteral("only")}); // the learner deleted lines
    m.setLine(2, QStringLiteral("lost"));
    m.setLine(-1, QStringLiteral("lost"));
    QCOMPARE(m.lines(), QStringList{QStringLiteral("only")});
}

void TestControls::timerTicksOnlyWhileEnabled() {
    Timer t(QStringLiteral("Timer1"), 1000, false);
    int ticks = 0;
    t.onTimer = [&] { ++ticks; };
    t.tick();
    t.setEnabled(true);
    t.setEnabled(true); // enabling a running timer leaves it as it is
    t.tick();
    t.tick();
    t.setEnabled(false);
    t.tick();
    QCOMPARE(ticks, 2);
}

QTEST_GUILESS_MAIN(TestControls)
#include "tst_controls.moc"
