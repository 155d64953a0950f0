// The typing test page in the real window, offscreen: what an input method commits reaches the
// test, the marks show under the characters, a full fourth line reports the speed and resets.

#include "byte_column_line.h"
#include "fonts.h"
#include "recording_desktop.h"
#include "widgets.h"
#include "window_test.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>
#include <QTreeWidget>

#include <string>

using app::TForm1;

class TestTypingPage : public WindowTest {
    Q_OBJECT

private Q_SLOTS:
    void init() {
        WindowTest::init();
        showPage("TabSheet4");
    }

    void choosingATestShowsThePassageAndMarks();
    void committedTextIsJudgedAndFillsTheLine();
    void fullFourthLineReportsTheSpeedAndResets();
    void phraseCrossingTheLineEndGoesOn();
    void pasteKeepsWhatCanBeTyped();
    void pendingCodeLandsOnceWhenTheFocusMoves();
    void codeLettersNeverLand_data();
    void codeLettersNeverLand();
    void enterMovesOnWithoutJudging();
    void routineKeysNeverEndTheRun();
    void disabledButtonsLookDisabled();
    void firstCharacterLandsWithoutStart_data();
    void firstCharacterLandsWithoutStart();
    void backspaceOnAnEmptyLineGoesBack();
    void passageSaysItCanBeClicked();
    void runsOfTheSessionListed();
    void passageAndMarkLinesReadFromOutside();

private:
    QString marks(int n) { return find<app::ByteColumnLine>(QStringLiteral("RichEdit%1").arg(n))->text(); }
    // What an input method does when the learner picks a candidate: one commit into the focus.
    static void commit(const QString& text, QWidget* to = nullptr) {
        QInputMethodEvent e;
        e.setCommitString(text);
        QCoreApplication::sendEvent(to ? to : QApplication::focusWidget(), &e);
    }
    // A half-typed code, shown as the candidate it would give.
    static void preedit(const QString& text) {
        QInputMethodEvent e(text, {});
        QCoreApplication::sendEvent(QApplication::focusWidget(), &e);
    }
    QString typed(int n) { return find<QLineEdit>(QStringLiteral("Memo%1").arg(n))->text(); }
    QStringList passage() {
        QStringList lines;
        for (int n = 1; n <= 4; ++n)
            lines << find<app::ByteColumnLine>(QStringLiteral("RichEdit%1").arg(n))->text();
        return lines;
    }
};

void TestTypingPage::choosingATestShowsThePassageAndMarks() {
    QVERIFY(!find(QStringLiteral("Button4"))->isEnabled());
    click(QStringLiteral("RadioButton12"));
    const QStringList lines = passage();
    QCOMPARE(lines, typing::TypingTest::passage(2));
    for (int n = 5; n <= 8; ++n)
        QCOMPARE(marks(n), QStringLiteral("—").repeated(59));
    QVERIFY(find(QStringLiteral("Button4"))->isEnabled());
    QCOMPARE(QApplication::focusWidget(), find(QStringLiteral("Memo3")));
    QCOMPARE(find<QLabel>(QStringLiteral("Panel9"))->text(), QStringLiteral("00:00"));
}

void TestTypingPage::committedTextIsJudgedAndFillsTheLine() {
    click(QStringLiteral("RadioButton12"));
    click(QStringLiteral("Button4"));
    QCOMPARE(QApplication::focusWidget(), find(QStringLiteral("Memo3")));
    QVERIFY(QApplication::focusWidget()->inputMethodQuery(Qt::ImEnabled).toBool()); // the input method is on
    QVERIFY(!find(QStringLiteral("Button4"))->isEnabled());
    QString line = passage()[0];
    line[2] = QChar(0x9519); // 错, a wrong character in the third place
    commit(line.left(5));
    QCOMPARE(typed(3), line.left(5));
    // A commit of several characters is that many edits: every one of them is judged.
    QCOMPARE(marks(5), QStringLiteral("——×").append(QStringLiteral("—").repeated(56)));
    commit(line.mid(5));
    QCOMPARE(marks(5).left(4), QStringLiteral("——×—"));
    QCOMPARE(QApplication::focusWidget(), find(QStringLiteral("Memo4")));
    // Back to the wrong place: delete it and retype it wrongly, one character at a time.
    auto* memo3 = find<QLineEdit>(QStringLiteral("Memo3"));
    memo3->setFocus();
    memo3->setCursorPosition(3);
    QTest::keyClick(memo3, Qt::Key_Backspace);
    commit(QString(QChar(0x9519)));
    QCOMPARE(marks(5).left(4), QStringLiteral("——×—"));
    QCOMPARE(m_desktop.beeps, 0);
    // The caret stays after what was committed in the middle of the line.
    QCOMPARE(memo3->cursorPosition(), 3);
    QTest::keyClick(memo3, Qt::Key_Backspace);
    commit(QStringLiteral("对"), memo3);
    QCOMPARE(typed(3).at(2), QChar(0x5BF9));
    QCOMPARE(memo3->cursorPosition(), 3);
}

void TestTypingPage::fullFourthLineReportsTheSpeedAndResets() {
    click(QStringLiteral("RadioButton12"));
    click(QStringLiteral("Button4"));
    m_window->runEvent([&] {
        for (int s = 0; s < 125; ++s)
            m_window->form().typing.Timer1.tick();
    });
    for (const QString& line : passage())
        commit(line);
    QCOMPARE(m_desktop.beeps, 1);
    QCOMPARE(m_desktop.messages, QStringList{QStringLiteral("您的速度为每分钟：84字，正确率：100%，错字：0个")});
    // The result stays on show until the next start: the lines, the marks, the clock and the
    // result line.
    for (int n = 3; n <= 6; ++n)
        QCOMPARE(typed(n), passage()[n - 3]);
    QCOMPARE(marks(8), QStringLiteral("—").repeated(59));
    QCOMPARE(find<QLabel>(QStringLiteral("Panel9"))->text(), QStringLiteral("00:00")); // no tick of the clock here
    auto* result = find<QLabel>(QStringLiteral("Label42"));
    QVERIFY(result->isVisible());
    QCOMPARE(result->text(), QStringLiteral("用时 0 秒，每分钟 84 字，正确率 100%，错字 0 个"));
    QVERIFY(!find(QStringLiteral("PassageHint"))->isVisible());
    QVERIFY(result->geometry().right() < find(QStringLiteral("Button32"))->geometry().left());
    QCOMPARE(QApplication::focusWidget(), find(QStringLiteral("Memo3")));
    QVERIFY(find(QStringLiteral("Button4"))->isEnabled());
    QVERIFY(!m_window->form().typing.Timer1.enabled());
}

void TestTypingPage::phraseCrossingTheLineEndGoesOn() {
    click(QStringLiteral("RadioButton11"));
    click(QStringLiteral("Button4"));
    const QString line = passage()[0];
    commit(line.left(line.size() - 1));
    commit(QStringLiteral("爱心")); // one place left: 爱 fills the line, 心 goes on in the next
    QCOMPARE(typed(3), line.left(line.size() - 1) + QStringLiteral("爱"));
    QCOMPARE(typed(4), QStringLiteral("心"));
    QCOMPARE(QApplication::focusWidget(), find(QStringLiteral("Memo4")));
    // Both are judged: 爱 ends the passage's first line, 心 is not how the second begins.
    QCOMPARE(line.back(), QChar(0x7231));
    QCOMPARE(marks(5).at(line.size() - 1), QChar(0x2014));
    QCOMPARE(marks(6).left(2), QStringLiteral("×—"));
    commit(QStringLiteral("😀")); // outside the code page: refused with a beep
    QCOMPARE(typed(4), QStringLiteral("心"));
    QCOMPARE(m_desktop.beeps, 1);
}

void TestTypingPage::pasteKeepsWhatCanBeTyped() {
    click(QStringLiteral("RadioButton11"));
    click(QStringLiteral("Button4"));
    auto* memo3 = find<QLineEdit>(QStringLiteral("Memo3"));
    QApplication::clipboard()->setText(QStringLiteral("错这\n一"));
    QTest::keySequence(memo3, QKeySequence::Paste);
    QCOMPARE(typed(3), QStringLiteral("错这一")); // the line break is left out, with a beep
    QCOMPARE(m_desktop.beeps, 1);
    QCOMPARE(m_window->form().typing.typedLine(1).text(), typed(3));
    // The marks judge the whole line: 错 is wrong, 这一 where the passage has them right.
    QCOMPARE(marks(5), QStringLiteral("×").append(QStringLiteral("—").repeated(58)));
    QCOMPARE(memo3->cursorPosition(), 3);
}

// The toolkit commits a pending code into its box when the focus moves, and the engine sends it
// again into the box that has the focus then; it must land once, where it was typed.
void TestTypingPage::pendingCodeLandsOnceWhenTheFocusMoves() {
    click(QStringLiteral("RadioButton11"));
    click(QStringLiteral("Button4"));
    auto* memo3 = find<QLineEdit>(QStringLiteral("Memo3"));
    auto* memo4 = find<QLineEdit>(QStringLiteral("Memo4"));
    preedit(QStringLiteral("总"));
    commit(QStringLiteral("总"), memo3); // the toolkit's own commit as the focus leaves
    click(QStringLiteral("Memo4"));
    QCOMPARE(QApplication::focusWidget(), memo4);
    commit(QStringLiteral("总"), memo4); // the engine's echo after its reset
    QCOMPARE(typed(3), QStringLiteral("总"));
    QVERIFY(typed(4).isEmpty());
    // The learner's next characters all arrive: one typed in full, then a sign committed directly.
    preedit(QStringLiteral("总"));
    commit(QStringLiteral("总"));
    commit(QStringLiteral("，"));
    QCOMPARE(typed(4), QStringLiteral("总，"));

    // Switching page with a code pending: the echo lands in a code box, which never takes it.
    preedit(QStringLiteral("人"));
    commit(QStringLiteral("人"), memo4);
    showPage("TabSheet2");
    click(QStringLiteral("RadioButton1"));
    auto* ed1 = find<QLineEdit>(QStringLiteral("Ed1"));
    QCOMPARE(QApplication::focusWidget(), ed1);
    commit(QStringLiteral("人"), ed1);
    QVERIFY(ed1->text().isEmpty());
    QVERIFY(m_window->form().characters.Ed[1].text().isEmpty());
    QCOMPARE(typed(4), QStringLiteral("总，人"));
}

void TestTypingPage::codeLettersNeverLand_data() {
    // What the engine does, in order: "p:" a preedit (empty: none), "c:" a commit, "click:" a
    // click into a box.
    QTest::addColumn<QStringList>("events");
    QTest::addColumn<QString>("line1");
    QTest::addColumn<QString>("line2");
    QTest::newRow("Fcitx 5: the toolkit commits the code letters it shows as the focus leaves")
        << QStringList{"p:ukn", "c:ukn", "click:Memo4", "p:w", "c:人"} << QString() << QStringLiteral("人");
    QTest::newRow("IBus: Enter with a code pending commits its letters")
        << QStringList{"p:总", "p:", "c:ukn", "p:人", "p:", "c:人"} << QStringLiteral("人") << QString();
    QTest::newRow("Fcitx 5: the same character twice, each committed over its code letters")
        << QStringList{"p:ukn", "c:总", "p:ukn", "c:总", "c:，"} << QStringLiteral("总总，") << QString();
    QTest::newRow("Fcitx 5: a four-letter code committed on its last letter, then again")
        << QStringList{"p:tfn", "c:毪", "p:", "p:tfn", "c:毪"} << QStringLiteral("毪毪") << QString();
}

void TestTypingPage::codeLettersNeverLand() {
    QFETCH(QStringList, events);
    click(QStringLiteral("RadioButton11"));
    click(QStringLiteral("Button4"));
    for (const QString& e : events) {
        const QString text = e.section(QLatin1Char(':'), 1);
        if (e.startsWith(QLatin1String("p:")))
            preedit(text);
        else if (e.startsWith(QLatin1String("c:")))
            commit(text);
        else
            click(text);
    }
    QTEST(typed(3), "line1");
    QTEST(typed(4), "line2");
}

void TestTypingPage::enterMovesOnWithoutJudging() {
    click(QStringLiteral("RadioButton12"));
    click(QStringLiteral("Button4"));
    commit(QStringLiteral("错"));
    const QString before = marks(5);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), find(QStringLiteral("Memo4")));
    QCOMPARE(marks(5), before);
    QCOMPARE(find<QLineEdit>(QStringLiteral("Memo3"))->text(), QStringLiteral("错"));
}

// Enter or Tab at the end of the last line, then the blank a Wubi typist presses next, which the
// line leaves out: the run goes on, and only a click on Stop ends it.
void TestTypingPage::routineKeysNeverEndTheRun() {
    click(QStringLiteral("RadioButton12"));
    click(QStringLiteral("Button4"));
    const QStringList lines = passage();
    for (int n = 0; n < 3; ++n)
        commit(lines[n]);
    commit(lines[3].left(2));
    auto* memo6 = find<QLineEdit>(QStringLiteral("Memo6"));
    QCOMPARE(QApplication::focusWidget(), memo6);
    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Tab, Qt::Key_Enter, Qt::Key_Escape, Qt::Key_Tab}) {
        QTest::keyClick(QApplication::focusWidget(), key);
        QCOMPARE(QApplication::focusWidget(), memo6);
    }
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space); // no passage holds a blank: left out
    QCOMPARE(typed(6), lines[3].left(2));
    QCOMPARE(memo6->cursorPosition(), 2);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_A);
    QCOMPARE(typed(6), lines[3].left(2) + QLatin1Char('a'));
    for (int n = 3; n <= 5; ++n)
        QCOMPARE(typed(n), lines[n - 3]);
    // Backwards through the lines, and no further than the first.
    for (int n = 0; n < 4; ++n)
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, Qt::ShiftModifier);
    QCOMPARE(QApplication::focusWidget(), find(QStringLiteral("Memo3")));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), find(QStringLiteral("Memo4")));
    QVERIFY(m_window->form().typing.Timer1.enabled());
    QVERIFY(m_desktop.messages.isEmpty());
    // Stop and the test buttons take a click, but not the keyboard, while the run lasts.
    auto* stop = find<QPushButton>(QStringLiteral("Button6"));
    const auto clickOnly = [](QWidget* w) {
        return (w->focusPolicy() & Qt::ClickFocus) && !(w->focusPolicy() & Qt::TabFocus);
    };
    QVERIFY(clickOnly(stop));
    QVERIFY(clickOnly(find(QStringLiteral("RadioButton13"))));
    click(QStringLiteral("Button6"));
    QCOMPARE(typed(6), lines[3].left(2) + QLatin1Char('a')); // kept as the result
    QVERIFY(!m_window->form().typing.Timer1.enabled());
    QCOMPARE(stop->focusPolicy(), Qt::StrongFocus);
    QCOMPARE(find(QStringLiteral("RadioButton13"))->focusPolicy(), Qt::StrongFocus);
    // Ready again: Enter goes on in the window's tab order, from the first typed line to the next,
    // and from the last to Start and Stop.
    QCOMPARE(QApplication::focusWidget(), find(QStringLiteral("Memo3")));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), find(QStringLiteral("Memo4")));
    click(QStringLiteral("Memo6"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), find(QStringLiteral("Button4")));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), stop);
}

void TestTypingPage::disabledButtonsLookDisabled() {
    click(QStringLiteral("RadioButton11"));
    click(QStringLiteral("Button4")); // Start is disabled now, Stop enabled
    auto* start = find<QPushButton>(QStringLiteral("Button4"));
    auto* stop = find<QPushButton>(QStringLiteral("Button6"));
    QVERIFY(!start->isEnabled() && stop->isEnabled());
    // The darkest pixel of each button is its caption's ink: grey on the disabled one.
    const auto ink = [](QWidget* w) {
        const QImage image = w->grab().toImage();
        int darkest = 255;
        for (int y = 4; y < image.height() - 4; ++y)
            for (int x = 4; x < image.width() - 4; ++x)
                darkest = std::min(darkest, qGray(image.pixel(x, y)));
        return darkest;
    };
    QVERIFY2(ink(start) > ink(stop) + 60,
             qPrintable(QStringLiteral("disabled ink %1, enabled ink %2").arg(ink(start)).arg(ink(stop))));
}

// The hand-drawn lines tell their text to assistive technology, and say what they are.
void TestTypingPage::passageAndMarkLinesReadFromOutside() {
    click(QStringLiteral("RadioButton11"));
    click(QStringLiteral("Button4"));
    commit(QStringLiteral("错"));
    for (int n = 1; n <= 8; ++n) {
        auto* line = find<app::ByteColumnLine>(QStringLiteral("RichEdit%1").arg(n));
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(line);
        QVERIFY(a);
        QCOMPARE(a->text(QAccessible::Name), line->text());
        QCOMPARE(a->text(QAccessible::Value), line->text());
        QCOMPARE(a->text(QAccessible::Description),
                 (n <= 4 ? QStringLiteral("原文第%1行") : QStringLiteral("标记第%1行")).arg((n - 1) % 4 + 1));
    }
    QCOMPARE(QAccessible::queryAccessibleInterface(find(QStringLiteral("RichEdit5")))->text(QAccessible::Name).left(2),
             QStringLiteral("×—"));
    QCOMPARE(QAccessible::queryAccessibleInterface(find(QStringLiteral("Memo3")))->text(QAccessible::Name),
             QStringLiteral("输入第1行"));
}

// The passage chosen (or a run stopped, or finished), the learner types at once: the first
// character goes into its place through the input method, which is on only in a typed line, and
// starts the clock.
void TestTypingPage::firstCharacterLandsWithoutStart_data() {
    QTest::addColumn<QString>("before");
    QTest::newRow("a test chosen") << QString();
    QTest::newRow("a run stopped") << QStringLiteral("Button6");
    QTest::newRow("a run finished") << QStringLiteral("finish");
}

void TestTypingPage::firstCharacterLandsWithoutStart() {
    QFETCH(QString, before);
    click(QStringLiteral("RadioButton12"));
    if (before == QLatin1String("Button6")) {
        commit(QStringLiteral("错"));
        click(before);
    } else if (before == QLatin1String("finish")) {
        for (const QString& line : passage())
            commit(line);
        QCOMPARE(m_desktop.messages.size(), 1);
    }
    QWidget* focus = QApplication::focusWidget();
    QCOMPARE(focus, find(QStringLiteral("Memo3")));
    QVERIFY(focus->inputMethodQuery(Qt::ImEnabled).toBool());
    const QString first = passage()[0].left(2);
    commit(first);
    QCOMPARE(typed(3), first);
    QCOMPARE(marks(5), QStringLiteral("—").repeated(59));
    QVERIFY(m_window->form().typing.running());
}

void TestTypingPage::backspaceOnAnEmptyLineGoesBack() {
    click(QStringLiteral("RadioButton11"));
    const QString line = passage()[0];
    commit(line.left(line.size() - 1) + QStringLiteral("错"));
    auto* memo3 = find<QLineEdit>(QStringLiteral("Memo3"));
    QCOMPARE(QApplication::focusWidget(), find(QStringLiteral("Memo4")));
    QCOMPARE(marks(5).at(line.size() - 1), QChar(0xD7));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backspace);
    QCOMPARE(QApplication::focusWidget(), memo3);
    QCOMPARE(memo3->cursorPosition(), line.size());
    QVERIFY(!memo3->hasSelectedText());
    QTest::keyClick(memo3, Qt::Key_Backspace);
    commit(line.right(1));
    QCOMPARE(typed(3), line);
    QCOMPARE(marks(5), QStringLiteral("—").repeated(59));
    QCOMPARE(QApplication::focusWidget(), find(QStringLiteral("Memo4")));
}

// While no run is under way a click on a passage character opens the lookup page: the page says so
// above the passage, and the hand cursor over it; during a run neither.
void TestTypingPage::passageSaysItCanBeClicked() {
    auto* hint = find<QLabel>(QStringLiteral("PassageHint"));
    auto* passage1 = find<app::ByteColumnLine>(QStringLiteral("RichEdit1"));
    QVERIFY(!hint->isVisible()); // no passage yet
    click(QStringLiteral("RadioButton11"));
    QVERIFY(hint->isVisible());
    QVERIFY(hint->text().contains(QStringLiteral("点击原文")));
    QCOMPARE(passage1->cursor().shape(), Qt::PointingHandCursor);
    commit(QStringLiteral("错"));
    QVERIFY(!hint->isVisible());
    QCOMPARE(passage1->cursor().shape(), Qt::ArrowCursor);
    click(QStringLiteral("Button6"));
    // The review of the run stands there now, and the passage still opens the lookup page.
    QVERIFY(!hint->isVisible());
    QVERIFY(find(QStringLiteral("Label41"))->isVisible());
    QCOMPARE(passage1->cursor().shape(), Qt::PointingHandCursor);
}

// The session's runs, newest first, in the row above the passage where it leaves room, never over
// another text of that row or the practice button; their speeds in the first line's indent. Either
// opens the list of them all, by a click or by the keyboard; Esc closes it.
void TestTypingPage::runsOfTheSessionListed() {
    auto* history = qobject_cast<QAbstractButton*>(find(QStringLiteral("RunHistory")));
    QVERIFY(history);
    QWidget* chart = find(QStringLiteral("RunChart"));
    click(QStringLiteral("RadioButton11"));
    commit(passage()[0].left(3));
    click(QStringLiteral("Button6"));
    QVERIFY(!history->isVisible()); // one run: the result line says it all
    QVERIFY(!chart->isVisible());
    click(QStringLiteral("RadioButton12"));
    QVERIFY(history->isVisible()); // its result gone, the run is still there
    commit(passage()[0].left(5));
    click(QStringLiteral("Button6"));
    click(QStringLiteral("RadioButton13"));
    QVERIFY(history->isVisible());
    QVERIFY2(history->toolTip().contains(QStringLiteral("关闭窗口即清空")), qPrintable(history->toolTip()));
    QVERIFY(!history->accessibleName().isEmpty());
    QVERIFY(history->text().startsWith(QStringLiteral("本次运行各次：测试二")));
    const QRect hint = find(QStringLiteral("PassageHint"))->geometry();
    const QFontMetrics fm(find<QLabel>(QStringLiteral("PassageHint"))->font());
    QVERIFY(history->x() > hint.x() + fm.horizontalAdvance(find<QLabel>(QStringLiteral("PassageHint"))->text()));
    QWidget* practise = find(QStringLiteral("Button32"));
    QVERIFY(practise->isHidden() || history->geometry().right() < practise->geometry().left());
    QVERIFY(history->geometry().right() < find(QStringLiteral("Panel7"))->geometry().right());
    QVERIFY(fm.horizontalAdvance(history->text()) <= history->width());
    QVERIFY(chart->isVisible());
    QVERIFY2(chart->accessibleName().endsWith(
                 QStringLiteral("：") + QString::number(m_window->form().typing.runs().back().speed) +
                 QStringLiteral("、") + QString::number(m_window->form().typing.runs().front().speed)),
             qPrintable(chart->accessibleName()));
    for (const char* line : {"RichEdit1", "Memo3", "RichEdit5", "RichEdit2", "Bevel1"}) {
        const QRect r = find(QString::fromLatin1(line))->geometry();
        QVERIFY2(line == std::string("Bevel1") ? r.contains(chart->geometry()) : !r.intersects(chart->geometry()),
                 line);
    }

    // A click on the line opens the list: every run, newest first; the focus stays in the typed
    // line, where the next character starts a run once the list is closed.
    auto runList = [] {
        for (QWidget* top : QApplication::topLevelWidgets())
            if (top->objectName() == QLatin1String("RunList"))
                return top;
        return static_cast<QWidget*>(nullptr);
    };
    QWidget* typedLine = QApplication::focusWidget();
    QCOMPARE(typedLine, find(QStringLiteral("Memo3")));
    QTest::mouseClick(history, Qt::LeftButton, Qt::NoModifier, QPoint(20, history->height() / 2));
    QWidget* list = runList();
    QVERIFY(list && list->isVisible());
    // It opens over the window, not beside it.
    const QRect window(m_window->mapToGlobal(QPoint(0, 0)), m_window->size());
    QVERIFY2(window.left() <= list->geometry().left() && list->geometry().right() <= window.right(),
             qPrintable(QStringLiteral("%1 %2 in %3 %4").arg(list->geometry().left()).arg(list->geometry().right()).arg(window.left()).arg(window.right())));
    QVERIFY(list->findChild<QLabel*>(QStringLiteral("Label43"))->text().contains(QStringLiteral("关闭窗口即清空")));
    auto* rows = list->findChild<QTreeWidget*>(QStringLiteral("ListView1"));
    QVERIFY(!rows->accessibleName().isEmpty());
    QCOMPARE(rows->topLevelItemCount(), 2);
    QCOMPARE(rows->topLevelItem(0)->text(0), QStringLiteral("第 2 次"));
    QCOMPARE(rows->topLevelItem(0)->text(1), QStringLiteral("测试二"));
    QCOMPARE(rows->topLevelItem(1)->text(1), QStringLiteral("测试一"));
    const typing::TypingTest::Run& newest = m_window->form().typing.runs().front();
    QCOMPARE(rows->topLevelItem(0)->text(3), QString::number(newest.speed));
    QCOMPARE(rows->topLevelItem(0)->text(4), QStringLiteral("%1%").arg(newest.accuracy));
    QCOMPARE(rows->topLevelItem(0)->text(5), QStringLiteral("%1 个").arg(newest.wrong));
    QVERIFY(list->findChild<QWidget*>(QStringLiteral("RunListChart"))->isVisible());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    QVERIFY(!list->isVisible());
    QCOMPARE(QApplication::focusWidget(), typedLine);

    // By the keyboard: Tab reaches the chart, Space opens the list, the close button closes it.
    for (int tab = 0; tab < 40 && QApplication::focusWidget() != chart; ++tab)
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), chart);
    QTest::keyClick(chart, Qt::Key_Space);
    QVERIFY(list->isVisible());
    list->findChild<QAbstractButton*>(QStringLiteral("Button35"))->click();
    QVERIFY(!list->isVisible());

    // A run under way hides the line and the chart, and opens no list.
    typedLine->setFocus();
    commit(QStringLiteral("错"));
    QVERIFY(!history->isVisible());
    QVERIFY(!chart->isVisible());
    qobject_cast<QAbstractButton*>(chart)->click();
    QVERIFY(!list->isVisible());
}

QTEST_MAIN(TestTypingPage)
#include "tst_typing_page.moc"
