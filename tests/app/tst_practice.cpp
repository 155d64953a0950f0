// Practice of what the learner missed, in the real window offscreen: one click from the typing
// test's wrong characters, or from a character looked up, into "练错字" on the single-character
// page, and one click back.

#include "window_test.h"

#include <QApplication>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>

class TestPractice : public WindowTest {
    Q_OBJECT

private Q_SLOTS:
    void fromTheWrongCharactersToTheirDrillAndBack();
    void fromALookupToItsDrillAndBack();

private:
    QString page() { return find<QTabWidget>(QStringLiteral("PageControl1"))->currentWidget()->objectName(); }
    bool waitForPage(const QString& name) {
        return QTest::qWaitFor([&] { return page() == name; });
    }
    static void commit(const QString& text) {
        QInputMethodEvent e;
        e.setCommitString(text);
        QCoreApplication::sendEvent(QApplication::focusWidget(), &e);
    }
};

void TestPractice::fromTheWrongCharactersToTheirDrillAndBack() {
    showPage("TabSheet4");
    click(QStringLiteral("RadioButton12"));
    click(QStringLiteral("Button4"));
    QString line = typing::TypingTest::passage(2).at(0).left(12);
    const QString wrong = QString(line[3]) + line[8];
    line[3] = QChar(0x9519); // 错
    line[8] = QChar(0x8BEF); // 误
    for (QChar c : line)
        commit(QString(c));
    auto* practise = find<QPushButton>(QStringLiteral("Button32"));
    QVERIFY(!practise->isVisible());
    click(QStringLiteral("Button6"));
    QVERIFY(practise->isVisible());
    QCOMPARE(practise->text(), QStringLiteral("练习这些字"));
    // The run's wrong characters are missed ones already; the click asks them.
    QCOMPARE(form().characters.missed.items(), (QStringList{wrong.left(1), wrong.right(1)}));
    practise->setFocus(Qt::TabFocusReason); // reachable by the keyboard
    QTest::keyClick(practise, Qt::Key_Space);
    QVERIFY(waitForPage(QStringLiteral("TabSheet2")));
    QVERIFY(find<QRadioButton>(QStringLiteral("RadioButton30"))->isChecked());
    QCOMPARE(text(QStringLiteral("Label1")), wrong.left(1));
    QCOMPARE(text(QStringLiteral("Label2")), wrong.right(1));
    QCOMPARE(text(QStringLiteral("Label3")), wrong.left(1));
    QCOMPARE(QApplication::focusWidget(), find(QStringLiteral("Ed1")));
    QVERIFY(text(QStringLiteral("Memo1")).contains(QStringLiteral("关闭窗口即清空")));
    // Back: the typing page as it was left, its list of wrong characters still there.
    auto* back = find<QPushButton>(QStringLiteral("Button34"));
    QVERIFY(back->isVisible());
    QCOMPARE(back->text(), QStringLiteral("返回文章测试"));
    // Which batch of the round, beside the way back, not under it.
    auto* position = find<QLabel>(QStringLiteral("Label44"));
    QVERIFY(position->isVisible());
    QCOMPARE(position->text(), QStringLiteral("第 1 批，共 1 批"));
    QVERIFY(position->geometry().right() < back->geometry().left());
    QVERIFY(QFontMetrics(position->font()).horizontalAdvance(position->text()) <= position->width());
    click(QStringLiteral("Button34"));
    QVERIFY(waitForPage(QStringLiteral("TabSheet4")));
    QVERIFY(practise->isVisible());
    QVERIFY(!back->isVisibleTo(back->parentWidget()));
}

void TestPractice::fromALookupToItsDrillAndBack() {
    showPage("TabSheet8");
    auto* practise = find<QPushButton>(QStringLiteral("Button33"));
    QVERIFY(!practise->isEnabled());
    commit(QStringLiteral("经"));
    QVERIFY(practise->isEnabled());
    click(QStringLiteral("Button33"));
    QVERIFY(waitForPage(QStringLiteral("TabSheet2")));
    QCOMPARE(text(QStringLiteral("Label1")), QStringLiteral("经"));
    QCOMPARE(text(QStringLiteral("Label15")), QStringLiteral("经"));
    QCOMPARE(text(QStringLiteral("Button34")), QStringLiteral("返回编码查询"));
    click(QStringLiteral("Button34"));
    QVERIFY(waitForPage(QStringLiteral("TabSheet8")));
    QCOMPARE(text(QStringLiteral("Edit30")), QStringLiteral("经"));
}

QTEST_MAIN(TestPractice)
#include "tst_practice.moc"
