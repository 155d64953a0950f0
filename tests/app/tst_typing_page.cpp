// The typing test page in the real window, offscreen: what an input method commits reaches the
// test, the marks show under the characters, a full fourth line reports the speed and resets.

#include "byte_column_line.h"
#include "fonts.h"
#include "main_window.h"
#include "recording_desktop.h"
#include "widgets.h"

#include <QApplication>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>

using app::TForm1;

class TestTypingPage : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { app::fonts::install(); }
    void init();
    void cleanup() { m_window.reset(); }

    void choosingATestShowsThePassageAndMarks();
    void committedTextIsJudgedAndFillsTheLine();
    void fullFourthLineReportsTheSpeedAndResets();
    void overflowingCommitIsRefused();
    void enterMovesOnWithoutJudging();

private:
    template <class W = QWidget> W* find(const QString& name) { return m_window->findChild<W*>(name); }
    QString marks(int n) { return find<app::ByteColumnLine>(QStringLiteral("RichEdit%1").arg(n))->text(); }
    void click(const QString& name) {
        auto* w = find(name);
        QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(6, w->height() / 2));
    }
    // What an input method does when the learner picks a candidate: one commit into the focus.
    static void commit(const QString& text) {
        QInputMethodEvent e;
        e.setCommitString(text);
        QCoreApplication::sendEvent(QApplication::focusWidget(), &e);
    }
    QStringList passage() {
        QStringList lines;
        for (int n = 1; n <= 4; ++n)
            lines << find<app::ByteColumnLine>(QStringLiteral("RichEdit%1").arg(n))->text();
        return lines;
    }

    RecordingDesktop m_desktop;
    std::unique_ptr<TForm1> m_window;
};

void TestTypingPage::init() {
    m_desktop = {};
    m_window = std::make_unique<TForm1>(QStringLiteral(VARDELO_BUILD_DATA_DIR), &m_desktop);
    m_window->show();
    m_window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    find<QTabWidget>(QStringLiteral("PageControl1"))->setCurrentIndex(5);
}

void TestTypingPage::choosingATestShowsThePassageAndMarks() {
    QVERIFY(!find(QStringLiteral("Button4"))->isEnabled());
    click(QStringLiteral("RadioButton12"));
    const QStringList lines = passage();
    QCOMPARE(lines, typing::TypingTest::passage(2));
    for (int n = 5; n <= 8; ++n)
        QCOMPARE(marks(n), QStringLiteral("—").repeated(59));
    QVERIFY(find(QStringLiteral("Button4"))->isEnabled());
    QCOMPARE(QApplication::focusWidget(), find(QStringLiteral("Button4")));
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
    QCOMPARE(find<QLineEdit>(QStringLiteral("Memo3"))->text(), line.left(5));
    // A commit of several characters judges only the one before the caret.
    QCOMPARE(marks(5), QStringLiteral("—").repeated(59));
    commit(line.mid(5));
    QCOMPARE(marks(5).left(3), QStringLiteral("———"));
    QCOMPARE(QApplication::focusWidget(), find(QStringLiteral("Memo4")));
    // Back to the wrong place: delete it and retype it wrongly, one character at a time.
    auto* memo3 = find<QLineEdit>(QStringLiteral("Memo3"));
    memo3->setFocus();
    memo3->setCursorPosition(3);
    QTest::keyClick(memo3, Qt::Key_Backspace);
    commit(QString(QChar(0x9519)));
    QCOMPARE(marks(5).left(4), QStringLiteral("——×—"));
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
    QCOMPARE(m_desktop.messages, QStringList{QStringLiteral("您的速度为每分钟：84字")});
    for (int n = 3; n <= 6; ++n)
        QVERIFY(find<QLineEdit>(QStringLiteral("Memo%1").arg(n))->text().isEmpty());
    QCOMPARE(marks(8), QStringLiteral("—").repeated(59));
    QCOMPARE(find<QLabel>(QStringLiteral("Panel9"))->text(), QStringLiteral("00:00"));
    QCOMPARE(QApplication::focusWidget(), find(QStringLiteral("Button4")));
    QVERIFY(find(QStringLiteral("Button4"))->isEnabled());
    QVERIFY(!m_window->form().typing.Timer1.enabled());
}

void TestTypingPage::overflowingCommitIsRefused() {
    click(QStringLiteral("RadioButton12"));
    click(QStringLiteral("Button4"));
    const QString line = passage()[0];
    commit(line.left(line.size() - 1));
    commit(QStringLiteral("两字")); // one character too many
    QCOMPARE(find<QLineEdit>(QStringLiteral("Memo3"))->text(), line.left(line.size() - 1));
    commit(QStringLiteral("😀")); // not GB2312
    QCOMPARE(find<QLineEdit>(QStringLiteral("Memo3"))->text(), line.left(line.size() - 1));
    QCOMPARE(QApplication::focusWidget(), find(QStringLiteral("Memo3")));
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

QTEST_MAIN(TestTypingPage)
#include "tst_typing_page.moc"
