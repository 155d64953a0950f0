// The pages "口诀识记" and "字根练习" in the real window, offscreen: showing a page selects the root
// map and puts the focus in the entry box, typed keys reach the drill, the verse and the picture
// change on screen, Enter moves on without checking.

#include "fonts.h"
#include "recording_desktop.h"
#include "window_test.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>

using app::TForm1;

class TestKeyDrillPages : public WindowTest {
    Q_OBJECT

private Q_SLOTS:

    void pagesAreBuiltWhenFirstShown();
    void showingAPageSelectsTheRootMap_data();
    void showingAPageSelectsTheRootMap();
    void mnemonicKeysReachTheDrillAndTheVerseChanges();
    void verseGrowsFromItsCornerAndKeepsItsBlanks();
    void rootKeysReachTheDrillAndThePictureChanges();
    void hintOptionsAndRestart();
    void enterMovesOnWithoutChecking_data();
    void enterMovesOnWithoutChecking();

private:
    QStringList visiblePictures() {
        QStringList names;
        for (int n = 1; n <= 195; ++n)
            if (find(QStringLiteral("zigen%1").arg(n))->isVisible())
                names << QStringLiteral("zigen%1").arg(n);
        return names;
    }
};

void TestKeyDrillPages::pagesAreBuiltWhenFirstShown() {
    for (const char* name : {"Edit23", "Label33", "Edit21", "zigen1", "zigen195"})
        QVERIFY(!m_window->findChild<QWidget*>(QLatin1String(name)));
    showPage("TabSheet6");
    // Every named control of the page is a widget of that name; only the picture on show is decoded.
    for (const char* name : {"Edit21", "zigen", "Shape1", "Label26", "Label27", "Label28", "Label31", "Label32",
                             "Bevel2", "Panel17", "RadioButton26", "RadioButton27", "Button13"})
        QVERIFY2(find(QLatin1String(name))->isVisible(), name);
    QVERIFY(!find<QLabel>(QStringLiteral("Label31"))->isEnabled());
    QCOMPARE(find<QPushButton>(QStringLiteral("Button13"))->text(), QStringLiteral("重新开始"));
    QVERIFY(!find<QLabel>(QStringLiteral("zigen1"))->pixmap().isNull());
    for (int n = 2; n <= 195; ++n)
        QVERIFY(find<QLabel>(QStringLiteral("zigen%1").arg(n))->pixmap().isNull());
    QVERIFY(!m_window->findChild<QWidget*>(QStringLiteral("Edit23")));
    showPage("TabSheet7");
    for (const char* name :
         {"Edit23", "Label33", "Label34", "Label35", "Label36", "Shape2", "Panel18", "RadioButton28", "RadioButton29"})
        QVERIFY2(find(QLatin1String(name))->isVisible(), name);
    QVERIFY(m_desktop.errors.isEmpty());
}

void TestKeyDrillPages::showingAPageSelectsTheRootMap_data() {
    QTest::addColumn<QString>("page");
    QTest::addColumn<QString>("entry");
    QTest::newRow("口诀识记") << "TabSheet7"
                              << "Edit23";
    QTest::newRow("字根练习") << "TabSheet6"
                              << "Edit21";
}

void TestKeyDrillPages::showingAPageSelectsTheRootMap() {
    QFETCH(QString, page);
    QFETCH(QString, entry);
    click(QStringLiteral("RadioButton20")); // 取消图片提示
    showPage(qPrintable(page));
    QVERIFY(find<QRadioButton>(QStringLiteral("RadioButton21"))->isChecked());
    QVERIFY(find(QStringLiteral("Image9"))->isVisible());
    QCOMPARE(QApplication::focusWidget(), find(entry));
    // Plain letters even while a Chinese input method is active.
    QCOMPARE(QApplication::focusWidget()->inputMethodQuery(Qt::ImEnabled).toBool(), false);

    // Every time the page is shown, not only the first: a map chosen meanwhile gives way again.
    showPage("TabSheet1");
    click(QStringLiteral("RadioButton17"));
    QVERIFY(find(QStringLiteral("Image7"))->isVisible());
    showPage(qPrintable(page));
    QVERIFY(find(QStringLiteral("Image9"))->isVisible());
    QCOMPARE(QApplication::focusWidget(), find(entry));
}

void TestKeyDrillPages::mnemonicKeysReachTheDrillAndTheVerseChanges() {
    showPage("TabSheet7");
    auto* verse = find<QLabel>(QStringLiteral("Label33"));
    auto* edit = find<QLineEdit>(QStringLiteral("Edit23"));
    QCOMPARE(verse->text(), QStringLiteral("王旁青头戋五一"));
    const int oneLine = verse->height();
    QTest::keyClicks(edit, QStringLiteral("g"));
    QVERIFY(edit->text().isEmpty());
    QCOMPARE(find<QLabel>(QStringLiteral("Label35"))->text(), QStringLiteral("N"));
    QCOMPARE(verse->text(), QStringLiteral("已半巳满不出己\n左框折尸心和羽"));
    QVERIFY(verse->height() > oneLine * 3 / 2);

    // A wrong letter shows in upper case, selected, and the next key replaces it.
    QTest::keyClicks(edit, QStringLiteral("x"));
    QCOMPARE(edit->text(), QStringLiteral("X"));
    QCOMPARE(edit->selectedText(), QStringLiteral("X"));
    QTest::keyClicks(edit, QStringLiteral("n"));
    QVERIFY(edit->text().isEmpty());
    QCOMPARE(find<QLabel>(QStringLiteral("Label35"))->text(), QStringLiteral("T"));
    QCOMPARE(m_window->form().mnemonics.Edit24.text(), QStringLiteral("3"));
    QCOMPARE(QApplication::focusWidget(), edit);
    QCOMPARE(find<QLabel>(QStringLiteral("VersePosition"))->text(), QStringLiteral("第 3 句，共 25 句"));
}

void TestKeyDrillPages::verseGrowsFromItsCornerAndKeepsItsBlanks() {
    showPage("TabSheet7");
    auto& d = m_window->form().mnemonics;
    auto* verse = find<QLabel>(QStringLiteral("Label33"));
    QList<int> heights;
    for (const char* item : {"1", "15", "14"}) {
        m_window->runEvent([&] { d.Edit24.setText(QLatin1String(item)); });
        QCOMPARE(verse->pos(), QPoint(160, 32));
        heights << verse->height();
        // Nothing of the verse is cut off by the page or runs under the controls beside it.
        QVERIFY(verse->parentWidget()->rect().contains(verse->geometry()));
        QVERIFY(!verse->geometry().intersects(find(QStringLiteral("Shape2"))->geometry()));
        QVERIFY(!verse->geometry().intersects(find(QStringLiteral("Panel18"))->geometry()));
        // Every character is drawn, 乂 of "犬旁留乂" too, which the Song face lacks.
        for (QChar c : verse->text())
            if (!c.isSpace())
                QVERIFY2(verse->fontMetrics().inFont(c), qPrintable(QString(c)));
    }
    QVERIFY(heights[1] > heights[0] * 5 / 2); // three lines
    QCOMPARE(verse->text(), QStringLiteral("   木丁西"));
    QVERIFY(verse->width() > verse->fontMetrics().horizontalAdvance(QStringLiteral("木丁西")));
}

void TestKeyDrillPages::rootKeysReachTheDrillAndThePictureChanges() {
    showPage("TabSheet6");
    auto* edit = find<QLineEdit>(QStringLiteral("Edit21"));
    QCOMPARE(visiblePictures(), QStringList{QStringLiteral("zigen1")});
    auto* first = find<QLabel>(QStringLiteral("zigen1"));
    QCOMPARE(first->pos(), QPoint(320, 96));
    QCOMPARE(first->size(), first->pixmap().deviceIndependentSize().toSize());
    QTest::keyClicks(edit, QStringLiteral("g"));
    QVERIFY(edit->text().isEmpty());
    QCOMPARE(visiblePictures(), QStringList{QStringLiteral("zigen92")});
    QCOMPARE(find<QLabel>(QStringLiteral("zigen"))->text(), QStringLiteral("E"));
    auto* second = find<QLabel>(QStringLiteral("zigen92"));
    QCOMPARE(second->pos(), QPoint(320, 96));
    QCOMPARE(second->size(), second->pixmap().deviceIndependentSize().toSize());
    QVERIFY(second->width() >= 35 && second->width() <= 40);

    QTest::keyClicks(edit, QStringLiteral("f"));
    QCOMPARE(edit->text(), QStringLiteral("F"));
    QCOMPARE(edit->selectedText(), QStringLiteral("F"));
    QCOMPARE(visiblePictures(), QStringList{QStringLiteral("zigen92")});
    auto* position = find<QLabel>(QStringLiteral("RootPosition"));
    QCOMPARE(position->text(), QStringLiteral("第 2 个，共 195 个"));
    QTest::keyClicks(edit, QStringLiteral("e"));
    QCOMPARE(visiblePictures(), QStringList{QStringLiteral("zigen43")});
    QCOMPARE(position->text(), QStringLiteral("第 3 个，共 195 个"));
    // Clear of the prompts, the box and the restart button of the page.
    for (const char* other : {"Label31", "Label27", "Edit21", "Button13"})
        QVERIFY2(!find(QString::fromLatin1(other))->geometry().intersects(position->geometry()), other);
}

void TestKeyDrillPages::hintOptionsAndRestart() {
    showPage("TabSheet6");
    auto* edit = find<QLineEdit>(QStringLiteral("Edit21"));
    QTest::keyClicks(edit, QStringLiteral("gex"));
    click(QStringLiteral("RadioButton27")); // 不提示: the letter stays, selected
    QVERIFY(!find(QStringLiteral("zigen"))->isVisible());
    QCOMPARE(QApplication::focusWidget(), edit);
    QCOMPARE(edit->selectedText(), QStringLiteral("X"));
    QTest::keyClicks(edit, QStringLiteral("h")); // still checked against the hidden letter
    QCOMPARE(visiblePictures(), QStringList{QStringLiteral("zigen124")});

    QTest::keyClicks(edit, QStringLiteral("x"));
    click(QStringLiteral("Button13"));
    QCOMPARE(visiblePictures(), QStringList{QStringLiteral("zigen1")});
    QVERIFY(edit->text().isEmpty());
    QCOMPARE(QApplication::focusWidget(), edit);
    QVERIFY(!find(QStringLiteral("zigen"))->isVisible());

    showPage("TabSheet7");
    auto* edit23 = find<QLineEdit>(QStringLiteral("Edit23"));
    QTest::keyClicks(edit23, QStringLiteral("x"));
    click(QStringLiteral("RadioButton29")); // the mnemonic drill's option empties the box
    QVERIFY(!find(QStringLiteral("Label35"))->isVisible());
    QVERIFY(edit23->text().isEmpty());
    QCOMPARE(QApplication::focusWidget(), edit23);
}

void TestKeyDrillPages::enterMovesOnWithoutChecking_data() {
    QTest::addColumn<QString>("page");
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("next");
    QTest::newRow("口诀识记") << "TabSheet7"
                              << "Edit23"
                              << "RadioButton28";
    QTest::newRow("字根练习") << "TabSheet6"
                              << "Edit21"
                              << "RadioButton26";
}

void TestKeyDrillPages::enterMovesOnWithoutChecking() {
    QFETCH(QString, page);
    QFETCH(QString, entry);
    QFETCH(QString, next);
    showPage(qPrintable(page));
    auto* edit = find<QLineEdit>(entry);
    QTest::keyClicks(edit, QStringLiteral("q"));
    QTest::keyClick(edit, Qt::Key_Return);
    QCOMPARE(edit->text(), QStringLiteral("Q"));
    QCOMPARE(QApplication::focusWidget(), find(next));
    const auto& f = m_window->form();
    QCOMPARE(f.mnemonics.Edit24.text() + f.roots.Edit22.text(), QStringLiteral("11"));
}

QTEST_MAIN(TestKeyDrillPages)
#include "tst_key_drill_pages.moc"
