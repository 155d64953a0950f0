// The lookup page in the real window, offscreen: what the learner types or an input method commits
// into the box is looked up and laid out; the typing test's review and its passage open the page
// on a character.

#include "byte_column_line.h"
#include "window_test.h"

#include <QApplication>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>

class TestLookupPage : public WindowTest {
    Q_OBJECT

private Q_SLOTS:
    void typedAndCommittedTextIsLookedUp();
    void committedLettersAreACodeHere();
    void aClickOnACandidateLooksItUp();
    void reviewAndPassageOpenThePage();

private:
    QString current() { return find<QTabWidget>(QStringLiteral("PageControl1"))->currentWidget()->objectName(); }
    // The texts of the answer's rows and candidates, as a screen reader reads them.
    QStringList answer() {
        QStringList said;
        for (QWidget* w : find(QStringLiteral("LookupAnswer"))->findChildren<QWidget*>())
            if (w->isVisible() && !w->accessibleDescription().isEmpty() && !said.contains(w->accessibleDescription()))
                said << w->accessibleDescription();
        return said;
    }
};

void TestLookupPage::typedAndCommittedTextIsLookedUp() {
    showPage("TabSheet8");
    auto* box = find<QLineEdit>(QStringLiteral("Edit30"));
    QCOMPARE(QApplication::focusWidget(), box);
    // The learner's input method stays on in this box.
    QVERIFY(box->inputMethodQuery(Qt::ImEnabled).toBool());
    QVERIFY(find(QStringLiteral("Image9"))->isVisible()); // the root map

    QTest::keyClicks(box, QStringLiteral("tgf"));
    QVERIFY2(text(QStringLiteral("Label40")).contains(QStringLiteral("编码 tgf")), qPrintable(text("Label40")));
    QVERIFY2(answer().contains(QStringLiteral("竽，三级简码 tgf")), qPrintable(answer().join('|')));

    box->clear();
    QInputMethodEvent commit;
    commit.setCommitString(QStringLiteral("中国"));
    QCoreApplication::sendEvent(box, &commit);
    QCOMPARE(box->text(), QStringLiteral("中国"));
    const QStringList said = answer();
    QVERIFY2(said.size() >= 3, qPrintable(said.join('|')));
    QVERIFY2(said[0].contains(QStringLiteral("khlg")), qPrintable(said[0]));
    QVERIFY(said.join('|').contains(QStringLiteral("中：全码 khk")));

    box->setText(QString());
    QTest::keyClicks(box, QStringLiteral("abcde"));
    QVERIFY(text(QStringLiteral("Label40")).contains(QStringLiteral("最多四个字母")));
    QVERIFY(answer().isEmpty());
    QVERIFY(m_desktop.errors.isEmpty());
}

// With Wubi on, Enter commits the letters of a pending code: in the lookup box they are the code
// looked up; in a box of a drill they are dropped, as ever.
void TestLookupPage::committedLettersAreACodeHere() {
    showPage("TabSheet8");
    auto* box = find<QLineEdit>(QStringLiteral("Edit30"));
    QInputMethodEvent preedit(QStringLiteral("xcag"), {});
    QCoreApplication::sendEvent(box, &preedit);
    QInputMethodEvent commit;
    commit.setCommitString(QStringLiteral("xcag"));
    QCoreApplication::sendEvent(box, &commit);
    QCOMPARE(box->text(), QStringLiteral("xcag"));
    QVERIFY2(answer().contains(QStringLiteral("经，全码 xcag")), qPrintable(answer().join('|')));

    showPage("TabSheet4");
    app::Form& f = form();
    m_window->runEvent([&] { f.typing.RadioButton[11].check(); });
    auto* typed = find<QLineEdit>(f.typing.typedLine(1).name());
    typed->setFocus();
    QCoreApplication::sendEvent(typed, &commit);
    QCOMPARE(typed->text(), QString());
}

// A click on a candidate looks it up in its turn.
void TestLookupPage::aClickOnACandidateLooksItUp() {
    showPage("TabSheet8");
    auto* box = find<QLineEdit>(QStringLiteral("Edit30"));
    QTest::keyClicks(box, QStringLiteral("khlg"));
    QWidget* unit = nullptr;
    for (QWidget* w : find(QStringLiteral("LookupAnswer"))->findChildren<QWidget*>())
        if (w->isVisible() && w->accessibleName() == QStringLiteral("中国"))
            unit = w;
    QVERIFY(unit);
    QTest::mouseClick(unit, Qt::LeftButton);
    QTRY_COMPARE(box->text(), QStringLiteral("中国"));
    QCOMPARE(QApplication::focusWidget(), box);
    QVERIFY(text(QStringLiteral("Label40")).contains(QStringLiteral("1 个词组")));
}

void TestLookupPage::reviewAndPassageOpenThePage() {
    showPage("TabSheet4");
    app::Form& f = form();
    m_window->runEvent([&] { f.typing.RadioButton[11].check(); });
    // No run under way: a click on a passage character looks it up.
    auto* line = find<app::ByteColumnLine>(QStringLiteral("RichEdit1"));
    const QString first = line->text().left(1);
    QTest::mouseClick(line, Qt::LeftButton, {}, QPoint(8, line->height() / 2));
    QTRY_COMPARE(current(), QStringLiteral("TabSheet8"));
    QCOMPARE(text(QStringLiteral("Edit30")), first);

    // A run with one character typed wrong, then stopped: the review offers it, and during the run a
    // click on the passage opens nothing.
    showPage("TabSheet4");
    m_window->runEvent([&] { f.typing.Button4.click(); });
    QInputMethodEvent commit;
    commit.setCommitString(QStringLiteral("错"));
    QCoreApplication::sendEvent(QApplication::focusWidget(), &commit);
    QTest::mouseClick(line, Qt::LeftButton, {}, QPoint(8, line->height() / 2));
    QCoreApplication::processEvents();
    QCOMPARE(current(), QStringLiteral("TabSheet4"));
    QVERIFY(!find(QStringLiteral("Label41"))->isVisible());
    QTest::mouseClick(find(QStringLiteral("Button6")), Qt::LeftButton);
    auto* review = find<QLabel>(QStringLiteral("Label41"));
    QVERIFY(review->isVisible());
    QVERIFY2(review->text().contains(first), qPrintable(review->text()));
    emit review->linkActivated(first);
    QTRY_COMPARE(current(), QStringLiteral("TabSheet8"));
    QCOMPARE(text(QStringLiteral("Edit30")), first);
    QVERIFY(text(QStringLiteral("Label40")).contains(QStringLiteral("1 个字")));
}

QTEST_MAIN(TestLookupPage)
#include "tst_lookup_page.moc"
