// The phrase page in the real window, offscreen: keys reach the code boxes, the hint column follows
// the focus, Enter moves on, the one-phrase panel covers the slots but not the memo, and what an
// input method commits into the fifth accepted box completes the batch.

#include "fonts.h"
#include "recording_desktop.h"
#include "widgets.h"
#include "window_test.h"

#include <QApplication>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>

using app::TForm1;

class TestPhrasePage : public WindowTest {
    Q_OBJECT

private Q_SLOTS:
    void init() {
        WindowTest::init();
        showPage("TabSheet3");
    }

    void startState();
    void typedCodesReachTheSlotsAndTheHintFollows();
    void enterMovesToTheNextControl();
    void panelCoversTheSlotsButNotTheMemo();
    void committedFifthPhraseCompletesTheBatch();
    void headingOpensTheRulesPage();
    void hintOptionsLeaveTheFocusWhereTypingGoesOn();

private:
    QWidget* focus() { return QApplication::focusWidget(); }
    drills::PhraseDrill& drill() { return m_window->form().phrases; }
};

void TestPhrasePage::startState() {
    QCOMPARE(find<QTabWidget>(QStringLiteral("PageControl1"))->currentWidget()->objectName(),
             QStringLiteral("TabSheet3"));
    // FormCreate switched the hint on.
    QVERIFY(find<QRadioButton>(QStringLiteral("RadioButton24"))->isChecked());
    QVERIFY(find(QStringLiteral("Panel16"))->isVisible());
    QVERIFY(!find(QStringLiteral("Panel5"))->isVisible());
    QCOMPARE(text(QStringLiteral("Label20")), QStringLiteral("答案提示"));
    const QStringList captions{"双字词", "三字词", "四字词", "多字词"};
    for (int n = drill().RadioButton.first(); n <= drill().RadioButton.last(); ++n) {
        auto* r = find<QRadioButton>(QStringLiteral("RadioButton%1").arg(n));
        QCOMPARE(r->text(), captions[n - drills::PhraseDrill::kFirstCategory]);
        QVERIFY(!r->isChecked());
    }
    auto* memo = find<QPlainTextEdit>(QStringLiteral("Memo2"));
    QCOMPARE(memo->toPlainText().split(QLatin1Char('\n')), drills::PhraseDrill::initialMemoLines());
    // Every line that holds a rule is whole in view, the last of them too.
    for (int line = 0; line <= 5; ++line) {
        const QRect shown = memo->cursorRect(QTextCursor(memo->document()->findBlockByNumber(line)));
        QVERIFY2(shown.top() >= 0 && shown.bottom() < memo->viewport()->height(),
                 qPrintable(QStringLiteral("line %1 at %2-%3 of %4")
                                .arg(line)
                                .arg(shown.top())
                                .arg(shown.bottom())
                                .arg(memo->viewport()->height())));
    }
    // Code boxes keep the input method away; accepted boxes take it.
    for (int n = 1; n <= 5; ++n) {
        auto* code = find<QLineEdit>(QStringLiteral("czt%1").arg(n));
        QVERIFY(dynamic_cast<app::CodeEdit*>(code));
        QCOMPARE(code->maxLength(), 4);
        QVERIFY(find(QStringLiteral("cztext%1").arg(n))->inputMethodQuery(Qt::ImEnabled).toBool());
        // A slot is one column: its target, accepted box and code box share a left edge, right of the
        // slot before.
        const int left = find(QStringLiteral("cz%1").arg(n))->x();
        QCOMPARE(find(QStringLiteral("cztext%1").arg(n))->x(), left);
        QCOMPARE(code->x(), left);
        if (n > 1)
            QVERIFY(left > find(QStringLiteral("cztext%1").arg(n - 1))->geometry().right());
    }
    QVERIFY(dynamic_cast<app::CodeEdit*>(find<QLineEdit>(QStringLiteral("Edit18"))));
}

void TestPhrasePage::typedCodesReachTheSlotsAndTheHintFollows() {
    click(QStringLiteral("RadioButton7"));
    QVERIFY(find<QRadioButton>(QStringLiteral("RadioButton21"))->isChecked());
    QVERIFY(find(QStringLiteral("Image9"))->isVisible());
    QCOMPARE(focus(), find(QStringLiteral("czt1")));
    QCOMPARE(focus()->inputMethodQuery(Qt::ImEnabled).toBool(), false);
    const QString first = text(QStringLiteral("cz1"));
    QVERIFY(!first.isEmpty());
    QCOMPARE(text(QStringLiteral("zi2")), first);

    QTest::keyClicks(focus(), text(QStringLiteral("czts")));
    QCOMPARE(text(QStringLiteral("cztext1")), first);
    QVERIFY(text(QStringLiteral("czt1")).isEmpty());
    QCOMPARE(focus(), find(QStringLiteral("czt2")));
    QCOMPARE(text(QStringLiteral("zi2")), text(QStringLiteral("cz2")));

    // Esc empties the code box.
    QTest::keyClicks(focus(), QStringLiteral("zz"));
    QTest::keyClick(focus(), Qt::Key_Escape);
    QVERIFY(text(QStringLiteral("czt2")).isEmpty());

    // A click into another code box shows its hint.
    QTest::mouseClick(find(QStringLiteral("czt4")), Qt::LeftButton);
    QCOMPARE(text(QStringLiteral("zi2")), text(QStringLiteral("cz4")));
    QCOMPARE(text(QStringLiteral("czts")), drill().czts.caption());

    // Slot 5 moves on to the next batch.
    QTest::mouseClick(find(QStringLiteral("czt5")), Qt::LeftButton);
    const QString counter = drill().Edit17.text();
    QTest::keyClicks(focus(), text(QStringLiteral("czts")));
    QCOMPARE(drill().Edit17.text(), QString::number(counter.toInt() + 1));
    QCOMPARE(focus(), find(QStringLiteral("czt1")));
    QVERIFY(text(QStringLiteral("cztext1")).isEmpty());
    QCOMPARE(text(QStringLiteral("zi2")), text(QStringLiteral("cz1")));

    // 不提示 hides the hint; the options stay in view.
    click(QStringLiteral("RadioButton25"));
    QVERIFY(!find(QStringLiteral("Panel16"))->isVisible());
    QVERIFY(find(QStringLiteral("Label20"))->isVisible());
}

void TestPhrasePage::enterMovesToTheNextControl() {
    click(QStringLiteral("RadioButton8"));
    QTest::keyClicks(focus(), QStringLiteral("ab"));
    QTest::keyClick(focus(), Qt::Key_Return);
    QCOMPARE(focus(), find(QStringLiteral("czt2")));
    QCOMPARE(text(QStringLiteral("czt1")), QStringLiteral("ab"));
    QVERIFY(text(QStringLiteral("cztext1")).isEmpty());
    QCOMPARE(text(QStringLiteral("zi2")), text(QStringLiteral("cz2")));
    QTest::mouseClick(find(QStringLiteral("czt5")), Qt::LeftButton);
    QTest::keyClick(focus(), Qt::Key_Enter);
    QCOMPARE(focus(), find(QStringLiteral("Memo2")));
    QTest::mouseClick(find(QStringLiteral("cztext5")), Qt::LeftButton);
    QTest::keyClick(focus(), Qt::Key_Return);
    QCOMPARE(focus(), find(QStringLiteral("czt1")));
    // The memo never breaks a line.
    auto* memo = find<QPlainTextEdit>(QStringLiteral("Memo2"));
    const QString before = memo->toPlainText();
    memo->setFocus();
    QTest::keyClick(memo, Qt::Key_Return);
    QCOMPARE(memo->toPlainText(), before);
}

void TestPhrasePage::panelCoversTheSlotsButNotTheMemo() {
    click(QStringLiteral("RadioButton7"));
    QTest::keyClicks(focus(), QStringLiteral("ab"));
    click(QStringLiteral("RadioButton10"));
    auto* panel5 = find(QStringLiteral("Panel5"));
    QVERIFY(panel5->isVisible());
    QWidget* panel8 = panel5->parentWidget();
    QCOMPARE(panel8->objectName(), QStringLiteral("Panel8"));
    for (int n = 1; n <= 5; ++n) {
        for (const QString& name : {QStringLiteral("cz%1"), QStringLiteral("cztext%1"), QStringLiteral("czt%1")}) {
            QWidget* w = find(name.arg(n));
            const QPoint centre = w->geometry().center();
            QWidget* top = panel8->childAt(centre);
            QVERIFY2(top == panel5 || panel5->isAncestorOf(top), qPrintable(name.arg(n)));
        }
    }
    QVERIFY(!panel5->geometry().intersects(find(QStringLiteral("Memo2"))->geometry()));
    QCOMPARE(text(QStringLiteral("czt1")), QStringLiteral("ab")); // the slots keep their state
    // Which long phrase of how many, in the strip under the memo, clear of it and of the panel.
    auto* position = find<QLabel>(QStringLiteral("Label45"));
    QVERIFY(position->isVisible());
    QVERIFY2(position->text().startsWith(QStringLiteral("第 1 个，共 ")), qPrintable(position->text()));
    QVERIFY(!position->geometry().intersects(find(QStringLiteral("Memo2"))->geometry()));
    QVERIFY(!position->geometry().intersects(panel5->geometry()));
    QVERIFY(panel8->rect().contains(position->geometry()));
    QVERIFY(QFontMetrics(position->font()).height() <= position->height());

    QCOMPARE(focus(), find(QStringLiteral("Edit18")));
    const QString phrase = text(QStringLiteral("Label24"));
    QCOMPARE(text(QStringLiteral("zi2")), phrase);
    QTest::keyClicks(focus(), text(QStringLiteral("czts")));
    QVERIFY(text(QStringLiteral("Edit18")).isEmpty());
    QVERIFY(text(QStringLiteral("Label24")) != phrase);
    QCOMPARE(text(QStringLiteral("zi2")), text(QStringLiteral("Label24")));
    QVERIFY2(position->text().startsWith(QStringLiteral("第 2 个，共 ")), qPrintable(position->text()));
    // Enter and Tab never reach the covered boxes.
    for (int i = 0; i < 40; ++i) {
        QTest::keyClick(focus(), i % 2 ? Qt::Key_Tab : Qt::Key_Return);
        QVERIFY(!focus() || !focus()->objectName().startsWith(QLatin1String("czt")));
    }

    click(QStringLiteral("RadioButton9"));
    QVERIFY(!panel5->isVisible());
    QCOMPARE(focus(), find(QStringLiteral("czt1")));
    // Four-character phrases start at their third batch: the first two come round after the last.
    QVERIFY2(position->text().startsWith(QStringLiteral("第 3 批，共 ")), qPrintable(position->text()));
}

void TestPhrasePage::committedFifthPhraseCompletesTheBatch() {
    click(QStringLiteral("RadioButton9"));
    auto* box = find<QLineEdit>(QStringLiteral("cztext5"));
    QTest::mouseClick(box, Qt::LeftButton);
    const QString counter = drill().Edit17.text();
    QInputMethodEvent commit;
    commit.setCommitString(text(QStringLiteral("cz5")));
    QCoreApplication::sendEvent(box, &commit);
    QCOMPARE(drill().Edit17.text(), QString::number(counter.toInt() + 1));
    QVERIFY(box->text().isEmpty());
    QCOMPARE(focus(), find(QStringLiteral("czt1")));
}

void TestPhrasePage::headingOpensTheRulesPage() {
    auto* heading = find(QStringLiteral("Label20"));
    QTest::mouseClick(heading, Qt::LeftButton, {}, heading->rect().center());
    QCOMPARE(m_desktop.urls, QStringList{drills::kPhraseCodeRulesUrl});
}

// A click on 提示 or 不提示 hands the focus back to the code box, half-typed code and all: the
// next letters complete it.
void TestPhrasePage::hintOptionsLeaveTheFocusWhereTypingGoesOn() {
    click(QStringLiteral("RadioButton7"));
    QTest::mouseClick(find(QStringLiteral("czt3")), Qt::LeftButton);
    const QString code = text(QStringLiteral("czts"));
    QTest::keyClicks(focus(), code.left(2));
    click(QStringLiteral("RadioButton25"));
    QCOMPARE(focus(), find(QStringLiteral("czt3")));
    QVERIFY(!find(QStringLiteral("Panel16"))->isVisible());
    click(QStringLiteral("RadioButton24"));
    QCOMPARE(focus(), find(QStringLiteral("czt3")));
    click(QStringLiteral("RadioButton24")); // already chosen
    QCOMPARE(focus(), find(QStringLiteral("czt3")));
    QVERIFY(!find<QLineEdit>(QStringLiteral("czt3"))->hasSelectedText());
    QTest::keyClicks(focus(), code.mid(2));
    QCOMPARE(text(QStringLiteral("cztext3")), text(QStringLiteral("cz3")));

    click(QStringLiteral("RadioButton10"));
    const QString counter = drill().Edit20.text();
    QTest::keyClicks(focus(), text(QStringLiteral("czts")).left(1));
    click(QStringLiteral("RadioButton25"));
    QCOMPARE(focus(), find(QStringLiteral("Edit18")));
    QTest::keyClicks(focus(), text(QStringLiteral("czts")).mid(1));
    QCOMPARE(drill().Edit20.text(), QString::number(counter.toInt() + 1));
}

QTEST_MAIN(TestPhrasePage)
#include "tst_phrase_page.moc"
