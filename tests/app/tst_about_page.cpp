// The About page in the real window, offscreen: every control at its place, the scrolling picture
// clipped by its frame and kept moving while another page is shown, the links and the photograph.

#include "fonts.h"
#include "recording_desktop.h"
#include "window_test.h"

#include <QCheckBox>
#include <QLabel>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

using app::About;
using app::MovingPicture;
using app::TForm1;

class TestAboutPage : public WindowTest {
    Q_OBJECT

private Q_SLOTS:

    void everyControlAtItsPlace_data();
    void everyControlAtItsPlace();
    void nameLiesOverItsShadow();
    void image6StaysInsidePanel10();
    void scrollGoesOnWhileAnotherPageIsShown();
    void scrollGoesOnWhileAMessageBoxIsOpen();
    void linksOpenTheAddresses();
    void checkBoxShowsThePhotograph();

private:
    About& about() { return m_window->form().about; }
    void tick() {
        m_window->runEvent([this] { m_window->form().Timer3.tick(); });
    }
};

void TestAboutPage::everyControlAtItsPlace_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("parent");
    QTest::addColumn<QRect>("geometry"); // an empty size: as large as its caption
    QTest::addColumn<bool>("visible");
    QTest::newRow("Label19") << "Label19"
                             << "TabSheet5" << QRect(200, 32, 319, 33) << true;
    QTest::newRow("Label18") << "Label18"
                             << "TabSheet5" << QRect(203, 35, 319, 33) << true;
    QTest::newRow("Label30") << "Label30"
                             << "TabSheet5" << QRect(280, 108, 0, 0) << true;
    QTest::newRow("Image3") << "Image3"
                            << "TabSheet5" << QRect(328, 96, 103, 37) << true;
    QTest::newRow("Panel10") << "Panel10"
                             << "TabSheet5" << QRect(288, 160, 138, 36) << true;
    QTest::newRow("Image5") << "Image5"
                            << "Panel10" << QRect(3, 3, 132, 30) << true;
    QTest::newRow("Image6") << "Image6"
                            << "Panel10" << QRect(3, 3, 132, 30) << true;
    QTest::newRow("Label22") << "Label22"
                             << "TabSheet5" << QRect(256, 208, 0, 0) << true;
    QTest::newRow("Label25") << "Label25"
                             << "TabSheet5" << QRect(304, 208, 0, 0) << true;
    QTest::newRow("Label23") << "Label23"
                             << "TabSheet5" << QRect(256, 232, 0, 0) << true;
    QTest::newRow("Label21") << "Label21"
                             << "TabSheet5" << QRect(322, 232, 0, 0) << true;
    QTest::newRow("CheckBox2") << "CheckBox2"
                               << "TabSheet5" << QRect(592, 232, 97, 17) << true;
    QTest::newRow("Image4") << "Image4"
                            << "TabSheet5" << QRect(576, 64, 109, 160) << false;
}

void TestAboutPage::everyControlAtItsPlace() {
    QFETCH(QString, name);
    QFETCH(QString, parent);
    QFETCH(QRect, geometry);
    QFETCH(bool, visible);
    showPage("TabSheet5");
    auto* w = find(name);
    QVERIFY(w);
    if (name == QStringLiteral("Image6")) // Timer3 may have ticked since the window opened
        geometry.moveLeft(about().Image6.left());
    QCOMPARE(w->parentWidget()->objectName(), parent);
    if (geometry.size().isEmpty()) {
        QCOMPARE(w->pos(), geometry.topLeft());
        QVERIFY(w->width() >= w->sizeHint().width());
    } else {
        QCOMPARE(w->geometry(), geometry);
    }
    QCOMPARE(w->isVisible(), visible);
    // Pictures in view are decoded; the photograph only once it is asked for.
    if (auto* picture = qobject_cast<QLabel*>(w); picture && name.startsWith(QStringLiteral("Image")))
        QCOMPARE(!picture->pixmap().isNull(), visible);
}

void TestAboutPage::nameLiesOverItsShadow() {
    showPage("TabSheet5");
    auto* name = find<QLabel>(QStringLiteral("Label19"));
    auto* shadow = find<QLabel>(QStringLiteral("Label18"));
    QCOMPARE(name->text(), QStringLiteral("V a r d e l o V5.0"));
    QCOMPARE(shadow->text(), name->text());
    QCOMPARE(name->palette().color(QPalette::WindowText), QColor(Qt::yellow));
    QCOMPARE(shadow->palette().color(QPalette::WindowText), QColor(Qt::blue));
    QCOMPARE(shadow->pos() - name->pos(), QPoint(3, 3));
    const QObjectList order = name->parent()->children();
    QVERIFY(order.indexOf(shadow) < order.indexOf(name));
}

void TestAboutPage::image6StaysInsidePanel10() {
    showPage("TabSheet5");
    auto* panel = find(QStringLiteral("Panel10"));
    auto* image6 = find(QStringLiteral("Image6"));
    for (int t = 0; t < 15 + 28; ++t) {
        const int left = about().Image6.left();
        QCOMPARE(image6->pos(), QPoint(left, 3));
        const QRegion seen = image6->visibleRegion().translated(image6->pos());
        QVERIFY((seen - panel->rect()).isEmpty());
        // What shows is exactly the part of the picture inside the frame.
        QCOMPARE(seen.boundingRect(), QRect(left, 3, 132, 30).intersected(panel->rect()));
        tick();
    }
}

void TestAboutPage::scrollGoesOnWhileAnotherPageIsShown() {
    auto* timer = find<QTimer>(QStringLiteral("Timer3"));
    QVERIFY(timer->isActive());
    QCOMPARE(timer->interval(), 200);
    // The first page is in view from the start; the picture moves all the same. The waits end at
    // the timer's first tick; their long limit only keeps a loaded machine from failing them.
    QTRY_VERIFY2_WITH_TIMEOUT(
        about().Image6.left() < About::kImage6Start,
        qPrintable(QStringLiteral("waited for Timer3 to move Image6 from its start %1: it is at %2")
                       .arg(About::kImage6Start)
                       .arg(about().Image6.left())),
        30000);
    showPage("TabSheet5");
    auto* image6 = find(QStringLiteral("Image6"));
    QCOMPARE(image6->x(), about().Image6.left());

    // Away from the page the widget stays put while the state moves on, and catches up on return.
    showPage("TabSheet2");
    const int shown = image6->x();
    QTRY_VERIFY2_WITH_TIMEOUT(
        about().Image6.left() != shown,
        qPrintable(QStringLiteral("waited for Timer3 to move Image6 on from %1 while page 3 is shown: it is at %2")
                       .arg(shown)
                       .arg(about().Image6.left())),
        30000);
    QCOMPARE(image6->x(), shown);
    showPage("TabSheet5");
    QCOMPARE(image6->x(), about().Image6.left());
}

void TestAboutPage::scrollGoesOnWhileAMessageBoxIsOpen() {
    // A message box is modal: the event loop runs inside the event that opened it until it closes.
    struct ModalDesktop : RecordingDesktop {
        std::function<void()> whileOpen;
        void message(const QString& text) override {
            RecordingDesktop::message(text);
            whileOpen();
        }
    } desktop;
    TForm1 w(QStringLiteral(VARDELO_BUILD_DATA_DIR), &desktop);
    w.show();
    const MovingPicture& image6 = w.form().about.Image6;
    bool moved = false;
    desktop.whileOpen = [&] {
        const int opened = image6.left();
        // Returns at the first tick; the long limit only keeps a loaded machine from failing it.
        moved = QTest::qWaitFor([&] { return image6.left() != opened; }, 30000);
    };
    w.runEvent([&] { w.form().desktop.message(QStringLiteral("速度")); });
    QCOMPARE(desktop.messages.size(), 1);
    QVERIFY(moved);
}

void TestAboutPage::linksOpenTheAddresses() {
    showPage("TabSheet5");
    for (const char* name : {"Label25", "Label21"}) {
        auto* link = find<QLabel>(QLatin1String(name));
        QCOMPARE(link->cursor().shape(), Qt::PointingHandCursor);
        QVERIFY(link->font().underline());
        QTest::mouseClick(link, Qt::LeftButton, {}, QPoint(5, link->height() / 2));
    }
    QCOMPARE(m_desktop.urls, (QStringList{About::kHomepage, QStringLiteral("mailto:") + About::kContact}));
    QCOMPARE(find<QLabel>(QStringLiteral("Label25"))->text(), About::kHomepage);
    QCOMPARE(find<QLabel>(QStringLiteral("Label21"))->text(), About::kContact);
}

void TestAboutPage::checkBoxShowsThePhotograph() {
    showPage("TabSheet5");
    auto* box = find<QCheckBox>(QStringLiteral("CheckBox2"));
    auto* photo = find<QLabel>(QStringLiteral("Image4"));
    QCOMPARE(box->text(), QStringLiteral("作 者 照 片"));
    for (bool shown : {true, false, true}) {
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
        QCOMPARE(box->isChecked(), shown);
        QCOMPARE(about().CheckBox2.isChecked(), shown);
        QCOMPARE(photo->isVisible(), shown);
    }
    QVERIFY(!photo->pixmap().isNull());
    QVERIFY(m_desktop.urls.isEmpty());
}

QTEST_MAIN(TestAboutPage)
#include "tst_about_page.moc"
