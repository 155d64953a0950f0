// The About page's state machine: the scrolling picture's positions tick by tick, the photograph
// switch, and the two addresses handed to the desktop.

#include "about.h"
#include "fuzz_events.h"
#include "recording_desktop.h"

#include <QRandomGenerator>
#include <QSet>
#include <QTest>

using app::About;

class TestAbout : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() {
        m_desktop = {};
        m_timer = std::make_unique<controls::Timer>(QStringLiteral("Timer3"), 200, true);
        m_about = std::make_unique<About>(*m_timer, m_desktop);
    }

    void image6AfterTicks_data();
    void image6AfterTicks();
    void image6MovesTenPixelsAndJumpsOnlyPastTheFrame();
    void photoShowsExactlyWhileChecked();
    void addressesGoToTheDesktop_data();
    void addressesGoToTheDesktop();
    void fuzz();

private:
    void tick(int n) {
        for (int i = 0; i < n; ++i)
            m_timer->tick();
    }
    // What the page shows besides the moving picture and the photograph.
    QStringList captions() const {
        const About& a = *m_about;
        return {a.Label19.caption(), a.Label18.caption(), a.Label30.caption(), a.Label22.caption(),
                a.Label25.caption(), a.Label23.caption(), a.Label21.caption(), a.CheckBox2.caption()};
    }

    RecordingDesktop m_desktop;
    std::unique_ptr<controls::Timer> m_timer;
    std::unique_ptr<About> m_about;
};

void TestAbout::image6AfterTicks_data() {
    QTest::addColumn<int>("ticks");
    QTest::addColumn<int>("left");
    // From the start position 3 down to -137, the jump to 138 on the 15th tick, then cycles of
    // 28 ticks from 138 down to -132; one and a half cycles after the first jump.
    QTest::newRow("start") << 0 << 3;
    QTest::newRow("first tick") << 1 << -7;
    QTest::newRow("last before the first jump") << 14 << -137;
    QTest::newRow("first jump") << 15 << 138;
    QTest::newRow("after the first jump") << 16 << 128;
    QTest::newRow("image6 just leaving") << 41 << -122;
    QTest::newRow("image6 wholly out") << 42 << -132;
    QTest::newRow("second jump") << 43 << 138;
    QTest::newRow("half a cycle on") << 57 << -2;
    QTest::newRow("third jump") << 71 << 138;
}

void TestAbout::image6AfterTicks() {
    QFETCH(int, ticks);
    QFETCH(int, left);
    tick(ticks);
    QCOMPARE(m_about->Image6.left(), left);
}

void TestAbout::image6MovesTenPixelsAndJumpsOnlyPastTheFrame() {
    // One and a half cycles after the first jump: every tick is ten pixels left, except when the
    // picture's right edge has reached the frame's left edge.
    QList<int> jumps;
    for (int t = 1; t <= 15 + 28 + 14; ++t) {
        const int before = m_about->Image6.left();
        tick(1);
        const int after = m_about->Image6.left();
        if (before + About::kImage6Width <= 0) {
            QCOMPARE(after, About::kPanel10Width);
            jumps << t;
        } else {
            QCOMPARE(after, before - 10);
        }
    }
    QCOMPARE(jumps, (QList<int>{15, 43}));
}

void TestAbout::photoShowsExactlyWhileChecked() {
    const QStringList before = captions();
    QVERIFY(!m_about->CheckBox2.isChecked());
    QVERIFY(!m_about->Image4.visible());
    for (bool expected : {true, false, true, false}) {
        m_about->CheckBox2.click();
        QCOMPARE(m_about->CheckBox2.isChecked(), expected);
        QCOMPARE(m_about->Image4.visible(), expected);
        QCOMPARE(m_about->Image6.left(), About::kImage6Start);
        QCOMPARE(captions(), before);
    }
    QVERIFY(m_desktop.urls.isEmpty());
}

void TestAbout::addressesGoToTheDesktop_data() {
    QTest::addColumn<bool>("mail");
    QTest::newRow("Label25: the web address") << false;
    QTest::newRow("Label21: a new mail") << true;
}

void TestAbout::addressesGoToTheDesktop() {
    QFETCH(bool, mail);
    controls::Label& link = mail ? m_about->Label21 : m_about->Label25;
    // The address shown is the one opened.
    const QString expected = mail ? QStringLiteral("mailto:") + link.caption() : link.caption();
    QVERIFY(mail ? link.caption().contains(QLatin1Char('@')) : link.caption().startsWith(QStringLiteral("https://")));
    link.click();
    link.click();
    QCOMPARE(m_desktop.urls, (QStringList{expected, expected}));
    QVERIFY(m_desktop.messages.isEmpty() && m_desktop.errors.isEmpty());
}

void TestAbout::fuzz() {
    QSet<int> positions;
    for (int left = About::kImage6Start; left >= -137; left -= 10)
        positions << left;
    for (int left = 138; left >= -132; left -= 10)
        positions << left;
    const QStringList before = captions();
    const QStringList allowed = {About::kHomepage, QStringLiteral("mailto:") + About::kContact};
    QRandomGenerator random(13);
    const int events = fuzzEvents(20000);
    for (int i = 0; i < events; ++i) {
        switch (random.bounded(6)) {
        case 0:
            m_about->CheckBox2.click();
            break;
        case 1:
            m_about->Label21.click();
            break;
        case 2:
            m_about->Label25.click();
            break;
        default:
            tick(1);
            break;
        }
        QVERIFY(positions.contains(m_about->Image6.left()));
        QCOMPARE(m_about->Image4.visible(), m_about->CheckBox2.isChecked());
        QCOMPARE(captions(), before);
        if (!m_desktop.urls.isEmpty()) {
            QVERIFY(allowed.contains(m_desktop.urls.last()));
            m_desktop.urls.clear();
        }
    }
}

QTEST_GUILESS_MAIN(TestAbout)
#include "tst_about.moc"
