// The real window, built offscreen: start-up state, the picture-hint panel, Enter as Tab, and the
// wiring from keys and clicks to the single-character drill.

#include "byte_column_line.h"
#include "fonts.h"
#include "pages.h"
#include "recording_desktop.h"
#include "widgets.h"
#include "window_test.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QRandomGenerator>
#include <QScreen>
#include <QSignalSpy>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

using app::TForm1;

namespace {
const QString kData = QStringLiteral(VARDELO_BUILD_DATA_DIR);
}

class TestMainWindow : public WindowTest {
    Q_OBJECT

private Q_SLOTS:

    void startUpState();
    void selectorTable_data();
    void selectorTable();
    void selectorClickedByLearnerOnCheckedDoesNothing();
    void enterActsAsTab();
    void typingReachesTheDrill();
    void missingDataFolderStillOpensTheWindow();
    void tableErrorLineCoversNothingAndStaysReadable();
    void tabRowHoldsTenPagesAndScrollsPastThem();
    void learnerClicksAndKeysAnywhere();
    void codeBoxesTakeOnlyLetters();
    void hintOptionsLeaveTheFocusWhereTypingGoesOn();
    void pictureOptionsLeaveTheFocusWhereTypingGoesOn_data();
    void pictureOptionsLeaveTheFocusWhereTypingGoesOn();
    void halfTypedCodeKeptAcrossAPageSwitch();
    void controlsSayWhatTheyAre();

private:
    bool shown(const QString& name) { return find<QWidget>(name)->isVisible(); }
    QColor panelColour() { return find<QWidget>(QStringLiteral("Panel4"))->palette().color(QPalette::Window); }
};

void TestMainWindow::startUpState() {
    QCOMPARE(m_window->objectName(), QStringLiteral("Form1"));
    QCOMPARE(m_window->windowTitle(), QStringLiteral("VardeloV5.0"));
    QCOMPARE(m_window->size(), QSize(721, 506));
    QCOMPARE(m_window->minimumSize(), m_window->maximumSize());
    QVERIFY(!(m_window->windowFlags() & Qt::WindowMaximizeButtonHint));
    const QRect screen = m_window->screen()->availableGeometry();
    QVERIFY((m_window->frameGeometry().center() - screen.center()).manhattanLength() <= 1);

    auto* pages = find<QTabWidget>(QStringLiteral("PageControl1"));
    const QStringList captions{"五笔字根表", "口诀识记", "字根练习", "单字练习",
                               "词组练习",   "文章测试", "关于软件", "编码查询"};
    const QStringList names{"TabSheet1", "TabSheet7", "TabSheet6", "TabSheet2",
                            "TabSheet3", "TabSheet4", "TabSheet5", "TabSheet8"};
    QCOMPARE(pages->count(), captions.size());
    for (int i = 0; i < captions.size(); ++i) {
        QCOMPARE(pages->tabText(i), captions[i]);
        QCOMPARE(pages->widget(i)->objectName(), names[i]);
    }
    QCOMPARE(pages->currentIndex(), 0);
    QVERIFY(!find<QLabel>(QStringLiteral("Image1"))->pixmap().isNull());

    // The banner on the button face, no picture, no selector checked; both hints on.
    QVERIFY(shown(QStringLiteral("Label16")) && shown(QStringLiteral("Label17")));
    QCOMPARE(find<QLabel>(QStringLiteral("Label17"))->text(), QStringLiteral("使用Vardelo,学习五笔很轻松！"));
    for (const char* image : {"Image2", "Image7", "Image8", "Image9"})
        QVERIFY(!shown(QLatin1String(image)));
    QVERIFY(!shown(QStringLiteral("TableErrorLine"))); // every table opened
    for (const char* r : {"RadioButton17", "RadioButton18", "RadioButton19", "RadioButton20", "RadioButton21"})
        QVERIFY(!find<QRadioButton>(QLatin1String(r))->isChecked());
    QCOMPARE(panelColour(), app::buttonFace());
    QVERIFY(m_window->form().characters.RadioButton22.isChecked());
    QVERIFY(m_window->form().characters.Panel13.visible());
    // A page's widgets are made when it is first shown, in the state the page is in.
    QVERIFY(!m_window->findChild<QWidget*>(QStringLiteral("Ed1")));
    showPage("TabSheet2");
    QVERIFY(find<QRadioButton>(QStringLiteral("RadioButton22"))->isChecked());
    QVERIFY(shown(QStringLiteral("Panel13")) && shown(QStringLiteral("Ed15")) && shown(QStringLiteral("Memo1")));
    QCOMPARE(find<QPlainTextEdit>(QStringLiteral("Memo1"))->toPlainText().split(QLatin1Char('\n')).size(), 6);
    QVERIFY(m_window->form().Timer3.enabled());
    QVERIFY(m_desktop.errors.isEmpty());
}

void TestMainWindow::selectorTable_data() {
    QTest::addColumn<QStringList>("clicks");
    QTest::addColumn<QString>("picture"); // the one picture shown, or empty
    QTest::addColumn<bool>("banner");
    QTest::addColumn<bool>("white");
    QTest::newRow("口诀 at start keeps the button face") << QStringList{"RadioButton19"} << "Image2" << true << false;
    QTest::newRow("口诀 after 取消 keeps the button face")
        << QStringList{"RadioButton17", "RadioButton20", "RadioButton19"} << "Image2" << true << false;
    QTest::newRow("口诀 after a map keeps white")
        << QStringList{"RadioButton18", "RadioButton19"} << "Image2" << false << true;
    QTest::newRow("键名字 after 取消 hides the banner")
        << QStringList{"RadioButton20", "RadioButton17"} << "Image7" << false << true;
    QTest::newRow("字根 after 取消 leaves the banner under it")
        << QStringList{"RadioButton20", "RadioButton21"} << "Image9" << true << true;
    QTest::newRow("一级简码") << QStringList{"RadioButton18"} << "Image8" << false << true;
    QTest::newRow("取消 again shows the banner")
        << QStringList{"RadioButton17", "RadioButton21", "RadioButton20"} << "" << true << false;
}

void TestMainWindow::selectorTable() {
    QFETCH(QStringList, clicks);
    QFETCH(QString, picture);
    QFETCH(bool, banner);
    QFETCH(bool, white);
    for (const QString& name : clicks) {
        auto* r = find<QRadioButton>(name);
        QTest::mouseClick(r, Qt::LeftButton, {}, QPoint(6, r->height() / 2));
        QVERIFY(r->isChecked());
        int checked = 0;
        for (auto* other : m_window->findChildren<QRadioButton*>())
            if (other->parent() == r->parent() && other->isChecked())
                ++checked;
        QCOMPARE(checked, 1);
    }
    int pictures = 0;
    for (const char* image : {"Image2", "Image7", "Image8", "Image9"}) {
        const bool isShown = shown(QLatin1String(image));
        pictures += isShown;
        QCOMPARE(isShown, picture == QLatin1String(image));
        if (isShown)
            QVERIFY(!find<QLabel>(QLatin1String(image))->pixmap().isNull());
    }
    QVERIFY(pictures <= 1);
    QCOMPARE(shown(QStringLiteral("Label16")), banner);
    QCOMPARE(shown(QStringLiteral("Label17")), banner);
    QCOMPARE(panelColour(), white ? QColor(Qt::white) : app::buttonFace());
}

void TestMainWindow::selectorClickedByLearnerOnCheckedDoesNothing() {
    auto* r21 = find<QRadioButton>(QStringLiteral("RadioButton21"));
    QTest::mouseClick(r21, Qt::LeftButton, {}, QPoint(6, r21->height() / 2));
    m_window->form().pictures.Label16.hide(); // a state only a fresh click would change
    QTest::mouseClick(r21, Qt::LeftButton, {}, QPoint(6, r21->height() / 2));
    QVERIFY(r21->isChecked());
    QVERIFY(!m_window->form().pictures.Label16.visible());
}

void TestMainWindow::enterActsAsTab() {
    showPage("TabSheet2");
    QTest::mouseClick(find<QRadioButton>(QStringLiteral("RadioButton1")), Qt::LeftButton, {}, QPoint(6, 8));
    auto* ed14 = find<QLineEdit>(QStringLiteral("Ed14"));
    QTest::mouseClick(ed14, Qt::LeftButton);
    QTest::keyClicks(ed14, QStringLiteral("ab"));
    QTest::keyClick(ed14, Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), find<QWidget>(QStringLiteral("Ed15")));
    QCOMPARE(ed14->text(), QStringLiteral("ab"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Enter);
    QCOMPARE(QApplication::focusWidget(), find<QWidget>(QStringLiteral("Edit1")));

    // A multi-line box never breaks a line.
    auto* memo = find<QPlainTextEdit>(QStringLiteral("Memo1"));
    const QString before = memo->toPlainText();
    memo->setFocus();
    QTest::keyClick(memo, Qt::Key_Return);
    QCOMPARE(memo->toPlainText(), before);
    QVERIFY(!memo->hasFocus());
}

void TestMainWindow::typingReachesTheDrill() {
    showPage("TabSheet2");
    QTest::mouseClick(find<QRadioButton>(QStringLiteral("RadioButton3")), Qt::LeftButton, {}, QPoint(6, 8));
    QVERIFY(find<QRadioButton>(QStringLiteral("RadioButton18"))->isChecked());
    QVERIFY(shown(QStringLiteral("Image8")));
    QCOMPARE(QApplication::focusWidget(), find<QWidget>(QStringLiteral("Ed1")));
    QCOMPARE(find<QLabel>(QStringLiteral("Panel13"))->text(), m_window->form().characters.Panel13.caption());
    const QString target1 = find<QLabel>(QStringLiteral("Label1"))->text();
    const QString code1 = find<QLabel>(QStringLiteral("Panel13"))->text();
    QVERIFY(!target1.isEmpty());
    QCOMPARE(find<QLabel>(QStringLiteral("zi"))->text(), target1);

    // Code boxes take plain letters even while a Chinese input method is active.
    QCOMPARE(QApplication::focusWidget()->inputMethodQuery(Qt::ImEnabled).toBool(), false);
    QTest::keyClicks(QApplication::focusWidget(), code1);
    QCOMPARE(find<QLineEdit>(QStringLiteral("Edit1"))->text(), target1);
    QVERIFY(find<QLineEdit>(QStringLiteral("Ed1"))->text().isEmpty());
    QCOMPARE(QApplication::focusWidget(), find<QWidget>(QStringLiteral("Ed2")));
    QCOMPARE(find<QLabel>(QStringLiteral("zi"))->text(), find<QLabel>(QStringLiteral("Label2"))->text());

    // Esc empties the code box.
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("zz"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    QVERIFY(find<QLineEdit>(QStringLiteral("Ed2"))->text().isEmpty());

    // Completing slot 15 moves on; a code left in Ed1 is selected when Ed1 gets the focus back,
    // so the first keystroke replaces it.
    auto* ed1 = find<QLineEdit>(QStringLiteral("Ed1"));
    QTest::mouseClick(ed1, Qt::LeftButton);
    QTest::keyClicks(ed1, QStringLiteral("zz"));
    auto* ed15 = find<QLineEdit>(QStringLiteral("Ed15"));
    QTest::mouseClick(ed15, Qt::LeftButton);
    QVERIFY(!ed15->hasSelectedText()); // a click selects nothing
    const QString counter = m_window->form().characters.edit16.text();
    QTest::keyClicks(ed15, find<QLabel>(QStringLiteral("Panel13"))->text());
    QVERIFY(m_window->form().characters.edit16.text() != counter);
    QCOMPARE(QApplication::focusWidget(), ed1);
    QCOMPARE(ed1->selectedText(), QStringLiteral("zz"));
    QVERIFY(ed15->text().isEmpty());

    // 不提示 hides the hint panel; the option stays in view.
    QTest::mouseClick(find<QRadioButton>(QStringLiteral("RadioButton23")), Qt::LeftButton, {}, QPoint(6, 8));
    QVERIFY(!shown(QStringLiteral("Panel13")));
    QVERIFY(shown(QStringLiteral("dats")));
}

void TestMainWindow::missingDataFolderStillOpensTheWindow() {
    QTemporaryDir empty;
    RecordingDesktop desktop;
    TForm1 w(empty.path() + QStringLiteral("/nowhere"), &desktop);
    w.show();
    // One report for the start-up, which comes once the window is shown; the long limit only keeps
    // a loaded machine from failing the wait.
    QTRY_COMPARE_WITH_TIMEOUT(desktop.errors.size(), 1, 30000);
    QVERIFY(desktop.errors[0].contains(QStringLiteral("wb.db")));
    QVERIFY(desktop.errors[0].contains(QStringLiteral("nowhere")));
    // The picture-hint panel works without the tables.
    w.runEvent([&] { w.form().pictures.RadioButton19.check(); });
    QVERIFY(w.findChild<QWidget*>(QStringLiteral("Image2"))->isVisible());
    // That dialog was wb.db's one. Its failure shows on the foot line of the pages it concerns:
    // not this one, the single-character drill's, which cannot be practised.
    auto* line = w.findChild<QLabel*>(QStringLiteral("TableErrorLine"));
    QVERIFY(!line->isVisible());
    auto* pages = w.findChild<QTabWidget*>(QStringLiteral("PageControl1"));
    pages->setCurrentIndex(app::pageIndex(u"TabSheet2"));
    QVERIFY(line->isVisible());
    QVERIFY(line->toolTip().contains(QStringLiteral("nowhere")));
    QTest::mouseClick(w.findChild<QRadioButton*>(QStringLiteral("RadioButton1")), Qt::LeftButton, {}, QPoint(6, 8));
    QCOMPARE(desktop.errors.size(), 1);
    QVERIFY(line->isVisible());
    QVERIFY(line->toolTip().contains(QStringLiteral("wb.db")));
    for (const char* box : {"Ed1", "Ed2", "Ed3"})
        QVERIFY(!w.findChild<QLineEdit*>(QLatin1String(box))->isEnabled());
    pages->setCurrentIndex(app::pageIndex(u"TabSheet4"));
    QVERIFY(!line->isVisible());
    pages->setCurrentIndex(app::pageIndex(u"TabSheet2"));
    QVERIFY(line->isVisible());
}

// The foot line covers no control on any page: the window grows by it while it is shown and is
// its own size again once it goes. A message too long for it (a deep data folder) keeps the file
// name and the reason in view; the whole message is the hover text and the accessible
// description.
void TestMainWindow::tableErrorLineCoversNothingAndStaysReadable() {
    QTemporaryDir top;
    QString folder = top.path();
    for (int i = 0; i < 6; ++i)
        folder += QStringLiteral("/一个很长很长的文件夹名称%1").arg(i);
    RecordingDesktop desktop;
    TForm1 w(folder, &desktop);
    w.show();
    QTRY_COMPARE_WITH_TIMEOUT(desktop.errors.size(), 1, 30000);
    auto* line = w.findChild<QLabel*>(QStringLiteral("TableErrorLine"));
    auto* pages = w.findChild<QTabWidget*>(QStringLiteral("PageControl1"));
    const QSize plain(TForm1::kClientWidth, TForm1::kClientHeight);
    QCOMPARE(w.size(), plain);
    for (const QString page : {"TabSheet2", "TabSheet3"}) {
        pages->setCurrentIndex(app::pageIndex(page));
        const bool characters = page == QLatin1String("TabSheet2");
        const char* category = characters ? "RadioButton1" : "RadioButton7";
        QTest::mouseClick(w.findChild<QRadioButton*>(QLatin1String(category)), Qt::LeftButton, {}, QPoint(6, 8));
        QVERIFY(line->isVisible());
        const QString whole = line->toolTip();
        QVERIFY2(whole.contains(QDir::toNativeSeparators(folder)), qPrintable(whole));
        QCOMPARE(line->accessibleDescription(), whole);
        const QString table = characters ? QStringLiteral("wb.db") : QStringLiteral("czwb.db");
        for (const QString& part : {table, QStringLiteral("文件不存在")})
            QVERIFY2(line->text().contains(part), qPrintable(line->text()));
        // Whatever it shows fits the line, and the line the window.
        const QRect needed =
            line->fontMetrics().boundingRect(QRect(0, 0, line->width(), 1000), Qt::TextWrapAnywhere, line->text());
        QVERIFY(needed.height() <= line->height() + 2);
        QVERIFY(w.rect().contains(line->geometry()));
        QVERIFY(w.height() > plain.height());
        QCOMPARE(w.minimumSize(), w.maximumSize());

        for (QWidget* other : w.findChildren<QWidget*>()) {
            if (other == line || !other->isVisible() || other->parentWidget() != &w)
                continue;
            QVERIFY2(!other->geometry().intersects(line->geometry()),
                     qPrintable(other->objectName() + QStringLiteral(" lies under the foot line")));
        }
    }
    pages->setCurrentIndex(app::pageIndex(u"TabSheet4"));
    QVERIFY(!line->isVisible());
    QCOMPARE(w.size(), plain);
}

// Ten pages with captions of four characters fit the tab row; past that it scrolls, and no caption
// is ever cut.
void TestMainWindow::tabRowHoldsTenPagesAndScrollsPastThem() {
    auto* pages = find<QTabWidget>(QStringLiteral("PageControl1"));
    QTabBar* bar = pages->tabBar();
    while (pages->count() < 12) {
        pages->addTab(new QWidget, QStringLiteral("练习记录"));
        if (pages->count() == 10)
            QVERIFY(bar->tabRect(9).right() < pages->width());
    }
    for (int i = 0; i < pages->count(); ++i) {
        pages->setCurrentIndex(i); // the row brings it into view
        QVERIFY2(bar->rect().contains(bar->tabRect(i)) &&
                     bar->tabRect(i).width() > bar->fontMetrics().horizontalAdvance(bar->tabText(i)),
                 qPrintable(bar->tabText(i)));
    }
}

void TestMainWindow::learnerClicksAndKeysAnywhere() {
    // Random clicks on whatever is in view, random keys into whatever has the focus, page
    // changes: the window must never crash, hang or show two pictures at once.
    QRandomGenerator rng(7);
    auto* pages = find<QTabWidget>(QStringLiteral("PageControl1"));
    const Qt::Key keys[] = {Qt::Key_Return, Qt::Key_Escape, Qt::Key_Backspace, Qt::Key_Tab, Qt::Key_Space,
                            Qt::Key_A,      Qt::Key_G,      Qt::Key_M,         Qt::Key_Q,   Qt::Key_Y};
    for (int step = 0; step < 3000; ++step) {
        const int what = rng.bounded(10);
        if (what == 0) {
            pages->setCurrentIndex(rng.bounded(pages->count()));
        } else if (what < 4) {
            QList<QWidget*> visible;
            for (QWidget* w : m_window->findChildren<QWidget*>())
                if (w->isVisible() && !w->objectName().isEmpty() && w->width() > 0 && w->height() > 0)
                    visible << w;
            QWidget* w = visible[rng.bounded(visible.size())];
            QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(rng.bounded(w->width()), rng.bounded(w->height())));
        } else if (QWidget* focus = QApplication::focusWidget()) {
            QTest::keyClick(focus, keys[rng.bounded(int(std::size(keys)))]);
        }
        int pictures = 0;
        for (const char* image : {"Image2", "Image7", "Image8", "Image9"})
            pictures += shown(QLatin1String(image));
        QVERIFY(pictures <= 1);
        QVERIFY(m_desktop.errors.isEmpty());
        QVERIFY(m_desktop.messages.size() <= 1);
    }
}

// A code box never shows anything but letters, not even for a moment: a blank, a pasted line
// break or Chinese text committed by an input method is refused before the box takes it.
void TestMainWindow::codeBoxesTakeOnlyLetters() {
    showPage("TabSheet2");
    QTest::mouseClick(find<QRadioButton>(QStringLiteral("RadioButton1")), Qt::LeftButton, {}, QPoint(6, 8));
    auto* ed1 = find<QLineEdit>(QStringLiteral("Ed1"));
    QCOMPARE(QApplication::focusWidget(), ed1);
    QTest::keyClick(ed1, Qt::Key_G);
    QSignalSpy shown(ed1, &QLineEdit::textChanged);
    QTest::keyClick(ed1, Qt::Key_Space);
    QInputMethodEvent commit;
    commit.setCommitString(QStringLiteral("人"));
    QCoreApplication::sendEvent(ed1, &commit);
    QApplication::clipboard()->setText(QStringLiteral("jj\njj"));
    QTest::keySequence(ed1, QKeySequence::Paste);
    QCOMPARE(ed1->text(), QStringLiteral("g"));
    QCOMPARE(ed1->cursorPosition(), 1);
    QCOMPARE(m_window->form().characters.Ed[1].text(), QStringLiteral("g"));
    QCOMPARE(shown.count(), 0);
    QTest::keyClick(ed1, Qt::Key_G);
    QCOMPARE(m_window->form().characters.Ed[1].text(), QStringLiteral("gg"));
    // Shift (or Caps Lock) shows the capital it gives, which matches no code.
    QTest::keyClick(ed1, 'G', Qt::ShiftModifier);
    QCOMPARE(ed1->text(), QStringLiteral("ggG"));
    QCOMPARE(m_window->form().characters.Ed[1].text(), QStringLiteral("ggG"));
    QVERIFY(find<QLineEdit>(QStringLiteral("Edit1"))->text().isEmpty());
}

// A click on 不提示 or 提示, or on the category already chosen, hands the focus back to the code
// box, half-typed code and all: the next letters complete it.
void TestMainWindow::hintOptionsLeaveTheFocusWhereTypingGoesOn() {
    showPage("TabSheet2");
    QTest::mouseClick(find<QRadioButton>(QStringLiteral("RadioButton1")), Qt::LeftButton, {}, QPoint(6, 8));
    auto* ed4 = find<QLineEdit>(QStringLiteral("Ed4"));
    QTest::mouseClick(ed4, Qt::LeftButton);
    const QString code = find<QLabel>(QStringLiteral("Panel13"))->text();
    QTest::keyClicks(ed4, code.left(2));
    // 提示 and 键名字 the second time are the options already chosen.
    for (const char* option : {"RadioButton23", "RadioButton22", "RadioButton22", "RadioButton1"}) {
        QTest::mouseClick(find<QRadioButton>(QLatin1String(option)), Qt::LeftButton, {}, QPoint(6, 8));
        QCOMPARE(QApplication::focusWidget(), ed4);
        QVERIFY(!ed4->hasSelectedText());
    }
    QVERIFY(shown(QStringLiteral("Panel13")));
    QTest::keyClicks(QApplication::focusWidget(), code.mid(2));
    QCOMPARE(find<QLineEdit>(QStringLiteral("Edit4"))->text(), find<QLabel>(QStringLiteral("Label4"))->text());
    QCOMPARE(QApplication::focusWidget(), find<QWidget>(QStringLiteral("Ed5")));
}

// The picture options under the pages are a look at a chart while typing: a click on one, chosen
// or not, leaves the focus in the drill's box, so the next key goes on where it was typed.
void TestMainWindow::pictureOptionsLeaveTheFocusWhereTypingGoesOn_data() {
    QTest::addColumn<QString>("page");
    QTest::addColumn<QString>("box");
    QTest::newRow("口诀识记") << "TabSheet7"
                              << "Edit23";
    QTest::newRow("字根练习") << "TabSheet6"
                              << "Edit21";
    QTest::newRow("单字练习") << "TabSheet2"
                              << "Ed3";
    QTest::newRow("词组练习") << "TabSheet3"
                              << "czt2";
    QTest::newRow("文章测试") << "TabSheet4"
                              << "Memo4";
}

void TestMainWindow::pictureOptionsLeaveTheFocusWhereTypingGoesOn() {
    QFETCH(QString, page);
    QFETCH(QString, box);
    showPage(page.toLatin1().constData());
    if (page == QLatin1String("TabSheet4"))
        click(QStringLiteral("RadioButton11"));
    auto* edit = find<QLineEdit>(box);
    QTest::mouseClick(edit, Qt::LeftButton);
    QCOMPARE(QApplication::focusWidget(), edit);
    for (const char* option :
         {"RadioButton19", "RadioButton17", "RadioButton17", "RadioButton18", "RadioButton21", "RadioButton20"}) {
        QTest::mouseClick(find<QRadioButton>(QLatin1String(option)), Qt::LeftButton, {}, QPoint(6, 8));
        QVERIFY2(QApplication::focusWidget() == edit, option);
    }
    QVERIFY(find<QRadioButton>(QStringLiteral("RadioButton20"))->isChecked());
}

// Another page and back: the half-typed code is kept, not selected, the caret after it, so the
// next letters complete it.
void TestMainWindow::halfTypedCodeKeptAcrossAPageSwitch() {
    auto* pages = find<QTabWidget>(QStringLiteral("PageControl1"));
    pages->setCurrentIndex(app::pageIndex(u"TabSheet2"));
    QTest::mouseClick(find<QRadioButton>(QStringLiteral("RadioButton1")), Qt::LeftButton, {}, QPoint(6, 8));
    auto* ed2 = find<QLineEdit>(QStringLiteral("Ed2"));
    QTest::mouseClick(ed2, Qt::LeftButton);
    const QString code = find<QLabel>(QStringLiteral("Panel13"))->text();
    QTest::keyClicks(ed2, code.left(2));
    for (const char16_t* other : {u"TabSheet3", u"TabSheet1"}) {
        pages->setCurrentIndex(app::pageIndex(other));
        pages->setCurrentIndex(app::pageIndex(u"TabSheet2"));
        QCOMPARE(QApplication::focusWidget(), ed2);
        QCOMPARE(ed2->text(), code.left(2));
        QVERIFY(!ed2->hasSelectedText());
        QCOMPARE(ed2->cursorPosition(), 2);
        QVERIFY(!m_window->form().characters.Ed[2].allSelected());
    }
    QTest::keyClicks(QApplication::focusWidget(), code.mid(2));
    QCOMPARE(find<QLineEdit>(QStringLiteral("Edit2"))->text(), find<QLabel>(QStringLiteral("Label2"))->text());
}

// Every control in view says what it is, in Chinese, to anything that reads the window from
// outside: by its own text, or by the name or description the window gives it.
void TestMainWindow::controlsSayWhatTheyAre() {
    static const QRegularExpression chinese(QStringLiteral("[\\x{4e00}-\\x{9fff}]"));
    for (const app::Page& page : app::kPages) {
        showPage(page.name);
        for (QWidget* w : m_window->findChildren<QWidget*>()) {
            const bool reads = qobject_cast<QLineEdit*>(w) || qobject_cast<QPlainTextEdit*>(w) ||
                               qobject_cast<QLabel*>(w) || dynamic_cast<app::ByteColumnLine*>(w);
            if (!reads || !w->isVisible())
                continue;
            QAccessibleInterface* a = QAccessible::queryAccessibleInterface(w);
            QVERIFY(a);
            const QString said = a->text(QAccessible::Name) + a->text(QAccessible::Description);
            QVERIFY2(said.contains(chinese), qPrintable(w->objectName() + QStringLiteral(": ") + said));
        }
    }
    for (int n : {1, 15})
        QCOMPARE(find<QWidget>(QStringLiteral("Ed%1").arg(n))->accessibleName(), QStringLiteral("编码%1").arg(n));
    for (const char* picture : {"Image2", "Image7", "Image8", "Image9"})
        QVERIFY(!find<QWidget>(QLatin1String(picture))->accessibleName().isEmpty());
}

QTEST_MAIN(TestMainWindow)
#include "tst_main_window.moc"
