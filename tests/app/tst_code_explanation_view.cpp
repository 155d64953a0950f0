// The code explanation in the real window, offscreen: under the hint's code on the
// single-character page, and between the phrase and its code on the phrase page; it follows the
// target in focus, shows only while the hint is shown, says the same in its accessible
// description, and stays out of the controls' way.

#include "code_explanation_view.h"
#include "fixture_tables.h"
#include "fonts.h"
#include "pages.h"
#include "recording_desktop.h"
#include "window_test.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

using app::TForm1;

class TestCodeExplanationView : public WindowTest {
    Q_OBJECT

private Q_SLOTS:

    void characterExplanationFollowsTheHint_data();
    void characterExplanationFollowsTheHint();
    void characterExplanationMovesWithTheFocus();
    void characterStripSitsBelowTheCode();
    void phraseExplanation_data();
    void phraseExplanation();
    void longPhraseExplainedOnItsPanel();
    void explanationOfAnotherCodeIsNotShown();

private:
    // The explanation ends with the full code, which the hint's code (a short code on some
    // pages) begins; a first-level code that does not begin it is named first.
    static bool explains(const QString& description, const QString& subject, const QString& hintCode) {
        const qsizetype equals = description.lastIndexOf(QStringLiteral("＝ "));
        if (description.startsWith(QStringLiteral("一级简码 %1；全码 ").arg(hintCode)))
            return hintCode.size() == 1 && description.contains(subject + QStringLiteral("："));
        return description.startsWith(subject) && equals > 0 && description.mid(equals + 2).startsWith(hintCode);
    }
};

void TestCodeExplanationView::characterExplanationFollowsTheHint_data() {
    QTest::addColumn<int>("category");
    QTest::addColumn<QString>("rule");
    QTest::newRow("key names") << 1 << "键名字";
    QTest::newRow("character roots") << 2 << "成字字根";
    QTest::newRow("first level") << 3 << "＋";
    QTest::newRow("second level") << 4 << "＋";
    QTest::newRow("third level") << 5 << "＋";
    QTest::newRow("identification") << 6 << "识别码";
}

void TestCodeExplanationView::characterExplanationFollowsTheHint() {
    QFETCH(int, category);
    QFETCH(QString, rule);
    showPage("TabSheet2");
    drills::CharacterDrill& d = form().characters;
    m_window->runEvent([&] { d.RadioButton[category].check(); });
    QWidget* strip = find(QStringLiteral("CodeExplanation1"));
    QVERIFY(strip->isVisible());
    const QString description = strip->accessibleDescription();
    QVERIFY2(explains(description, d.zi.caption(), d.Panel13.caption()), qPrintable(description));
    QVERIFY2(description.contains(rule), qPrintable(description));

    // Hint off: nothing of it shows, and nothing is left to read.
    m_window->runEvent([&] { d.RadioButton23.check(); });
    QVERIFY(!strip->isVisible());
    QVERIFY(strip->accessibleDescription().isEmpty());
    m_window->runEvent([&] { d.RadioButton22.check(); });
    QVERIFY(strip->isVisible());
    QCOMPARE(strip->accessibleDescription(), description);
}

void TestCodeExplanationView::characterExplanationMovesWithTheFocus() {
    showPage("TabSheet2");
    drills::CharacterDrill& d = form().characters;
    m_window->runEvent([&] { d.RadioButton[5].check(); });
    QWidget* strip = find(QStringLiteral("CodeExplanation1"));
    for (int slot = 1; slot <= 4; ++slot) {
        QCOMPARE(d.zi.caption(), d.Label[slot].caption());
        QVERIFY2(explains(strip->accessibleDescription(), d.Label[slot].caption(), d.Panel13.caption()),
                 qPrintable(strip->accessibleDescription()));
        QTest::keyClicks(QApplication::focusWidget(), d.Panel13.caption());
    }
}

void TestCodeExplanationView::characterStripSitsBelowTheCode() {
    showPage("TabSheet2");
    m_window->runEvent([&] { form().characters.RadioButton[6].check(); });
    QWidget* strip = find(QStringLiteral("CodeExplanation1"));
    QWidget* panel13 = find(QStringLiteral("Panel13"));
    QCOMPARE(strip->parentWidget(), panel13->parentWidget());
    QVERIFY(strip->geometry().top() >= panel13->geometry().bottom());
    QVERIFY(strip->parentWidget()->rect().contains(strip->geometry()));
    // It takes no focus: Tab and Enter still go from code box to code box.
    QCOMPARE(strip->focusPolicy(), Qt::NoFocus);
}

void TestCodeExplanationView::phraseExplanation_data() {
    QTest::addColumn<int>("category");
    QTest::addColumn<int>("parts");
    QTest::newRow("two characters") << 7 << 2;
    QTest::newRow("three characters") << 8 << 3;
    QTest::newRow("four characters") << 9 << 4;
}

void TestCodeExplanationView::phraseExplanation() {
    QFETCH(int, category);
    QFETCH(int, parts);
    showPage("TabSheet3");
    drills::PhraseDrill& d = form().phrases;
    m_window->runEvent([&] { d.RadioButton[category].check(); });
    QWidget* strip = find(QStringLiteral("CodeExplanation2"));
    QVERIFY(strip->isVisible());
    // "继 xo ＋ 续 xf ＝ xoxf": each character with its letters, then the hint's own code.
    const QString description = strip->accessibleDescription();
    QVERIFY2(description.endsWith(QStringLiteral("＝ ") + d.czts.caption()), qPrintable(description));
    QCOMPARE(description.count(QStringLiteral("＋")), parts - 1);
    QVERIFY(description.startsWith(d.zi2.caption().left(1)));
    // Between the phrase and its code, inside the hint panel.
    QWidget* czts = find(QStringLiteral("czts"));
    QCOMPARE(strip->parentWidget(), czts->parentWidget());
    QVERIFY(strip->geometry().bottom() < czts->geometry().top());

    m_window->runEvent([&] { d.RadioButton25.check(); });
    QVERIFY(!strip->isVisible());
    QVERIFY(strip->accessibleDescription().isEmpty());
}

// A phrase of five or more characters fills the hint panel: its explanation stands on the
// long-phrase panel beside the code box, every character shown, the first three and the last over
// their letters.
void TestCodeExplanationView::longPhraseExplainedOnItsPanel() {
    showPage("TabSheet3");
    drills::PhraseDrill& d = form().phrases;
    m_window->runEvent([&] { d.RadioButton10Click(); });
    const QString phrase = d.zi2.caption();
    QVERIFY(phrase.size() > 4);
    QVERIFY(!find(QStringLiteral("CodeExplanation2"))->isVisible());
    auto* strip = static_cast<app::ExplanationStrip*>(find(QStringLiteral("CodeExplanation3")));
    QVERIFY(strip->isVisible());
    QCOMPARE(strip->parentWidget(), find(QStringLiteral("Panel5")));
    const QString description = strip->accessibleDescription();
    QVERIFY2(description.endsWith(QStringLiteral("＝ ") + d.czts.caption()), qPrintable(description));
    QCOMPARE(description.count(QStringLiteral("＋")), 3);
    QCOMPARE(strip->explanation().cells.size(), phrase.size());
    int counted = 0;
    for (const drills::ExplanationCell& c : strip->explanation().cells)
        counted += c.counted ? 1 : 0;
    QCOMPARE(counted, 4);
    // It stays clear of the code box.
    QVERIFY(!strip->geometry().intersects(find(QStringLiteral("Edit18"))->geometry()));

    // Hint off: gone.
    m_window->runEvent([&] { d.RadioButton25Click(); });
    QVERIFY(!strip->isVisible());
}

// cf.db's row for 日 explains another code than the one wb.db gives it: no strip, and the fault,
// naming the table, the row and the field, on the foot line while the category stays, without a
// dialog; the drill goes on. A wrong code's line says its own faults the same way.
void TestCodeExplanationView::explanationOfAnotherCodeIsNotShown() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    for (const char* name : {"wb.db", "jm.db", "zk.db", "czwb.db", "czzk.db", "cf.db"})
        QVERIFY(QFile::copy(QDir(QStringLiteral(VARDELO_BUILD_DATA_DIR)).filePath(QLatin1String(name)),
                            dir.filePath(QLatin1String(name))));
    changeTable(dir.filePath(QStringLiteral("cf.db")), QStringLiteral("UPDATE cf SET dm = 'gggg', cf = '王g' "
                                                                      "WHERE hz IN ('日', '经')"));
    RecordingDesktop desktop;
    TForm1 w(dir.path(), &desktop);
    w.show();
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    w.findChild<QTabWidget*>(QStringLiteral("PageControl1"))->setCurrentIndex(app::pageIndex(u"TabSheet2"));
    auto* line = w.findChild<QLabel*>(QStringLiteral("TableErrorLine"));
    QVERIFY(!line->isVisible());
    // 键名字: slot 1 is 日.
    w.runEvent([&] { w.form().characters.RadioButton[1].check(); });
    QCOMPARE(w.form().characters.zi.caption(), QStringLiteral("日"));
    QCOMPARE(w.form().characters.Panel13.caption(), QStringLiteral("jjjj"));
    QVERIFY(!w.findChild<QWidget*>(QStringLiteral("CodeExplanation1"))->isVisible());
    // Said at the end of the event that met it.
    QVERIFY(line->isVisible());
    for (const QString& part : {QStringLiteral("cf.db"), QStringLiteral("的字段 dm"), QStringLiteral("“gggg”不是 日")})
        QVERIFY2(line->toolTip().contains(part), qPrintable(line->toolTip()));
    QVERIFY(desktop.errors.isEmpty());
    // Slot 2 is explained as ever; another category takes the line away, and 日 met again in it
    // brings no second report.
    w.runEvent([&] { w.form().focus.set(w.form().characters.Ed[2], controls::Focus::Reason::Mouse); });
    QVERIFY(w.findChild<QWidget*>(QStringLiteral("CodeExplanation1"))->isVisible());
    w.runEvent([&] { w.form().characters.RadioButton[2].check(); });
    QVERIFY(!line->isVisible());
    w.runEvent([&] { w.form().characters.RadioButton[1].check(); });
    QCoreApplication::processEvents();
    QVERIFY(!line->isVisible());
    // The wrong-code line explains what the letters give with an explainer of its own: 经's row,
    // met only when its code is typed for 日, is said on the foot line too.
    auto* ed1 = w.findChild<QLineEdit*>(QStringLiteral("Ed1"));
    QTest::keyClicks(ed1, QStringLiteral("xca"));
    QVERIFY(!line->isVisible());
    QTest::keyClick(ed1, Qt::Key_G);
    QVERIFY(w.form().characters.wrongCodeNote.visible());
    QVERIFY(line->isVisible());
    QVERIFY2(line->toolTip().contains(QStringLiteral("“gggg”不是 经")), qPrintable(line->toolTip()));
    QVERIFY(desktop.errors.isEmpty());
}

QTEST_MAIN(TestCodeExplanationView)
#include "tst_code_explanation_view.moc"
