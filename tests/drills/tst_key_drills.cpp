// The mnemonic drill and the root drill, driven as a learner drives them. Cases that both drills
// share run on both ("mnemonic" and "root" rows); their differences are tested one by one.

#include "fuzz_events.h"
#include "key_drill.h"
#include "mnemonic_drill.h"
#include "recording_pictures.h"
#include "root_drill.h"

#include <QRandomGenerator>
#include <QSet>
#include <QTest>

#include <algorithm>
#include <functional>

namespace {

// The letters the root drill expects, in item order, as the drill's plan gives them.
const QString kRootKeys = QStringLiteral(
    "GEHYAQSFMFTKPIDULBJORWNXGCYLFVAPQUBJWTHDOESMRNXIVKCDYJNAHUELTGQMCROPVIWBXDYLATPNQUMHEFIGJOBRWKVSEXYAF"
    "QNUHCNYBDULIQBENTHPCQBDLAMFIQGNELXHYEJUBQVRDRMDQHXDLNDARNIQBPEFJUTBATHUFLOCEBJYRDVYILNEURTYQIW");
const QString kMnemonicKeys = QStringLiteral("GNTWIHRKVMDJXSQBUACPFYLOE");

// The key of each group of root pictures, in picture order, and the group sizes.
const char kGroupKeys[] = "GFDSAHJKLMQWERTYUIOPNBVCX";
const int kGroupCounts[] = {5, 8, 11, 3, 8, 9, 7, 3, 10, 6, 12, 5, 11, 9, 8, 10, 10, 9, 5, 6, 11, 11, 6, 6, 6};

QChar groupKey(int picture) {
    for (int g = 0, last = 0; g < 25; ++g) {
        last += kGroupCounts[g];
        if (picture <= last)
            return QLatin1Char(kGroupKeys[g]);
    }
    return {};
}

// The picture-hint panel, noting what the entry box held when a drill asked for a map: the order
// of a page's show steps differs between the drills.
class Pictures : public RecordingPictures {
public:
    void show(drills::KeyboardMap map) override {
        RecordingPictures::show(map);
        entryAtRequest << (entry ? entry->text() : QString());
    }
    const controls::Edit* entry = nullptr;
    QStringList entryAtRequest;
};

// One drill as the tests see it.
struct Drill {
    controls::Edit& counter;
    controls::Edit& entry;
    controls::Label& answer;
    controls::RadioButton& hintOn;
    controls::RadioButton& hintOff;
    std::function<void()> showPage;
    std::function<QString()> shown;        // what the learner sees of the item
    std::function<QString(int)> itemShows; // what item n should show
    int items;
    QString keys;
};

} // namespace

class TestKeyDrills : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();

    void startState_data() { bothDrills(); }
    void startState();
    void rightLetterTypedLowerCaseMovesOn_data() { bothDrills(); }
    void rightLetterTypedLowerCaseMovesOn();
    void wrongLetterStaysSelectedUntilReplaced_data() { bothDrills(); }
    void wrongLetterStaysSelectedUntilReplaced();
    void entryHoldsOneLetterOnly_data();
    void entryHoldsOneLetterOnly();
    void hintOffStillAccepts_data() { bothDrills(); }
    void hintOffStillAccepts();
    void hintSwitch_data();
    void hintSwitch();
    void fullCycleReturnsToItemOne_data() { bothDrills(); }
    void fullCycleReturnsToItemOne();
    void verses();
    void rootItemsShowPicturesOfTheirKey();
    void restart_data();
    void restart();
    void leavingThePageAndComingBack_data();
    void leavingThePageAndComingBack();
    void fuzz();

private:
    void bothDrills() {
        QTest::addColumn<QString>("drill");
        QTest::newRow("mnemonic") << QStringLiteral("mnemonic");
        QTest::newRow("root") << QStringLiteral("root");
    }
    Drill drill(const QString& which);
    Drill current() {
        QFETCH(QString, drill);
        return this->drill(drill);
    }
    // The visible root pictures, by name.
    QString visiblePictures() const;
    // The learner types the letter of the item on show.
    void answer(Drill& d) { QVERIFY(d.entry.type(d.answer.caption().at(0).toLower())); }

    controls::Focus m_focus;
    std::unique_ptr<Pictures> m_pictures;
    std::unique_ptr<drills::MnemonicDrill> m_mnemonic;
    std::unique_ptr<drills::RootDrill> m_root;
};

void TestKeyDrills::init() {
    m_focus = {};
    m_pictures = std::make_unique<Pictures>();
    m_mnemonic = std::make_unique<drills::MnemonicDrill>(m_focus, *m_pictures);
    m_root = std::make_unique<drills::RootDrill>(m_focus, *m_pictures);
}

QString TestKeyDrills::visiblePictures() const {
    QStringList names;
    for (int n = 1; n <= drills::RootDrill::kPictures; ++n)
        if (m_root->zigen[n].visible())
            names << m_root->zigen[n].name();
    return names.join(QLatin1Char(' '));
}

Drill TestKeyDrills::drill(const QString& which) {
    if (which == QLatin1String("mnemonic")) {
        auto& m = *m_mnemonic;
        return {m.Edit24,
                m.Edit23,
                m.Label35,
                m.RadioButton28,
                m.RadioButton29,
                [&m] { m.TabSheet7Show(); },
                [&m] { return m.Label33.caption(); },
                [](int n) { return drills::MnemonicDrill::verse(n); },
                drills::MnemonicDrill::kItems,
                kMnemonicKeys};
    }
    auto& r = *m_root;
    return {r.Edit22,
            r.Edit21,
            r.zigenLabel,
            r.RadioButton26,
            r.RadioButton27,
            [&r] { r.TabSheet6Show(); },
            [this] { return visiblePictures(); },
            [](int n) { return QStringLiteral("zigen%1").arg(drills::RootDrill::picture(n)); },
            drills::RootDrill::kItems,
            kRootKeys};
}

void TestKeyDrills::startState() {
    Drill d = current();
    QCOMPARE(d.counter.text(), QStringLiteral("1"));
    QVERIFY(!d.counter.visible());
    QCOMPARE(d.answer.caption(), QStringLiteral("G"));
    QVERIFY(d.answer.visible());
    QVERIFY(d.hintOn.isChecked() && !d.hintOff.isChecked());
    QCOMPARE(d.shown(), d.itemShows(1));
    QVERIFY(d.entry.text().isEmpty());
    QCOMPARE(d.entry.maxLength(), 1);
    QVERIFY(m_pictures->maps.isEmpty());
    QCOMPARE(m_mnemonic->Label33.caption(), QStringLiteral("王旁青头戋五一"));
    QCOMPARE(visiblePictures(), QStringLiteral("zigen1"));
}

void TestKeyDrills::rightLetterTypedLowerCaseMovesOn() {
    Drill d = current();
    m_focus.set(d.entry);
    QVERIFY(d.entry.type(QLatin1Char('g')));
    QVERIFY(d.entry.text().isEmpty());
    QCOMPARE(d.counter.text(), QStringLiteral("2"));
    QCOMPARE(d.answer.caption(), QString(d.keys[1]));
    QCOMPARE(d.shown(), d.itemShows(2));
    QVERIFY(m_focus.has(d.entry));
    // The first two items of each drill as the learner meets them.
    QCOMPARE(m_mnemonic->Label35.caption() + m_root->zigenLabel.caption(),
             QString(d.keys == kMnemonicKeys ? QStringLiteral("NG") : QStringLiteral("GE")));
    if (d.keys == kRootKeys)
        QCOMPARE(visiblePictures(), QStringLiteral("zigen92"));
    else
        QCOMPARE(d.shown(), QStringLiteral("已半巳满不出己\r左框折尸心和羽"));
}

void TestKeyDrills::wrongLetterStaysSelectedUntilReplaced() {
    Drill d = current();
    const QString before = d.shown();
    QVERIFY(d.entry.type(QLatin1Char('z')));
    QCOMPARE(d.entry.text(), QStringLiteral("Z"));
    QVERIFY(d.entry.allSelected());
    QCOMPARE(d.counter.text(), QStringLiteral("1"));
    QCOMPARE(d.shown(), before);
    QVERIFY(d.entry.type(QLatin1Char('h'))); // replaces the selected letter, still wrong
    QCOMPARE(d.entry.text(), QStringLiteral("H"));
    QVERIFY(d.entry.allSelected());
    QVERIFY(d.entry.type(QLatin1Char('G'))); // an upper-case letter is as good
    QVERIFY(d.entry.text().isEmpty());
    QCOMPARE(d.counter.text(), QStringLiteral("2"));
}

void TestKeyDrills::entryHoldsOneLetterOnly_data() {
    QTest::addColumn<QString>("drill");
    QTest::addColumn<QString>("typed");
    for (const char* which : {"mnemonic", "root"}) {
        QTest::addRow("%s digit", which) << which << "1";
        QTest::addRow("%s blank", which) << which << " ";
        QTest::addRow("%s Chinese", which) << which << "王";
        QTest::addRow("%s two letters", which) << which << "gg";
        QTest::addRow("%s full-width letter", which) << which << "Ｇ";
    }
}

void TestKeyDrills::entryHoldsOneLetterOnly() {
    Drill d = current();
    QFETCH(QString, typed);
    QVERIFY(!d.entry.edit(typed));
    QVERIFY(d.entry.text().isEmpty());
    QCOMPARE(d.counter.text(), QStringLiteral("1"));
    // A wrong letter in the box: a second key that is not selected over it is refused too.
    d.entry.type(QLatin1Char('x'));
    d.entry.setAllSelected(false);
    QVERIFY(!d.entry.type(QLatin1Char('g')));
    QCOMPARE(d.entry.text(), QStringLiteral("X"));
}

void TestKeyDrills::hintOffStillAccepts() {
    Drill d = current();
    d.hintOff.check();
    QVERIFY(!d.answer.visible());
    for (int i = 0; i < 3; ++i)
        answer(d);
    QCOMPARE(d.counter.text(), QStringLiteral("4"));
    QCOMPARE(d.answer.caption(), QString(d.keys[3]));
    QVERIFY(!d.answer.visible());
    d.hintOn.check();
    QVERIFY(d.answer.visible());
}

void TestKeyDrills::hintSwitch_data() {
    QTest::addColumn<QString>("drill");
    QTest::addColumn<QString>("left"); // what the entry box holds after the switch
    QTest::newRow("mnemonic empties the box") << "mnemonic"
                                              << "";
    QTest::newRow("root keeps the letter, selected") << "root"
                                                     << "X";
}

void TestKeyDrills::hintSwitch() {
    Drill d = current();
    QFETCH(QString, left);
    d.entry.type(QLatin1Char('x'));
    m_focus.setOther(); // the learner clicks the option
    d.hintOff.check();
    QVERIFY(!d.answer.visible());
    QCOMPARE(d.entry.text(), left);
    QVERIFY(m_focus.has(d.entry));
    QCOMPARE(d.entry.allSelected(), !left.isEmpty());
    d.entry.type(QLatin1Char('x'));
    m_focus.setOther();
    d.hintOn.check();
    QVERIFY(d.answer.visible());
    QCOMPARE(d.entry.text(), left);
    QVERIFY(m_focus.has(d.entry));
    QCOMPARE(d.counter.text(), QStringLiteral("1"));
    QVERIFY(m_pictures->maps.isEmpty());
}

void TestKeyDrills::fullCycleReturnsToItemOne() {
    Drill d = current();
    QString expected;
    QSet<QString> seen; // what the learner was asked: every root picture, every verse, once a cycle
    for (int item = 1; item <= d.items; ++item) {
        QCOMPARE(d.counter.text(), QString::number(item));
        QCOMPARE(d.shown(), d.itemShows(item));
        seen.insert(d.shown());
        expected += d.answer.caption();
        answer(d);
    }
    QCOMPARE(seen.size(), d.items);
    QCOMPARE(expected, d.keys);
    QCOMPARE(d.counter.text(), QStringLiteral("1"));
    QCOMPARE(d.answer.caption(), QStringLiteral("G"));
    QCOMPARE(d.shown(), d.itemShows(1));
    QVERIFY(d.entry.text().isEmpty());
    // And round again.
    answer(d);
    QCOMPARE(d.counter.text(), QStringLiteral("2"));
}

void TestKeyDrills::verses() {
    QStringList lines;
    QString firstLetters;
    for (int n = 1; n <= drills::MnemonicDrill::kItems; ++n) {
        const QString v = drills::MnemonicDrill::verse(n);
        QVERIFY(!v.contains(QLatin1Char('\n')));
        const int count = v.count(QLatin1Char('\r')) + 1;
        const int want = n == 15 ? 3 : (n == 2 || n == 3 || n == 13 || n == 20 || n == 22) ? 2 : 1;
        QCOMPARE(count, want);
        QCOMPARE(v.contains(QStringLiteral("，")), n == 4 || n == 8 || n == 10 || n == 15 || n == 19 || n == 24);
        QVERIFY(!v.contains(QLatin1Char(',')));
        firstLetters += drills::MnemonicDrill::key(n);
    }
    QCOMPARE(drills::MnemonicDrill::verse(14), QStringLiteral("   木丁西"));
    QCOMPARE(drills::MnemonicDrill::verse(15), QStringLiteral("金勺缺点无尾鱼\r犬旁留乂儿一点\r夕，氏无七"));
    // 矣 without its 矢 leaves 厶, the root of C, as the mnemonic chart has it.
    QCOMPARE(drills::MnemonicDrill::key(19), QLatin1Char('C'));
    QCOMPARE(drills::MnemonicDrill::verse(19), QStringLiteral("又巴马，丢矢矣"));
    // Every key A-Y once, Z never.
    std::sort(firstLetters.begin(), firstLetters.end());
    QCOMPARE(firstLetters, QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXY"));
}

void TestKeyDrills::rootItemsShowPicturesOfTheirKey() {
    QList<int> shows(drills::RootDrill::kPictures + 1, 0);
    for (int item = 1; item <= drills::RootDrill::kItems; ++item) {
        const int p = drills::RootDrill::picture(item);
        QVERIFY(p >= 1 && p <= drills::RootDrill::kPictures);
        QCOMPARE(drills::RootDrill::key(item), groupKey(p));
        ++shows[p];
    }
    for (int p = 1; p <= drills::RootDrill::kPictures; ++p)
        QCOMPARE(shows[p], 1);
    QCOMPARE(drills::RootDrill::picture(173), 13);
    QCOMPARE(drills::RootDrill::picture(191), 115);
    QCOMPARE(drills::RootDrill::picture(195), 85);
}

void TestKeyDrills::restart_data() {
    QTest::addColumn<int>("from");
    QTest::addColumn<bool>("hint");
    QTest::newRow("item 1") << 1 << true;
    QTest::newRow("item 2") << 2 << true;
    QTest::newRow("item 191, picture 115, hint off") << 191 << false;
    QTest::newRow("item 195") << 195 << true;
}

void TestKeyDrills::restart() {
    QFETCH(int, from);
    QFETCH(bool, hint);
    auto& r = *m_root;
    Drill d = drill(QStringLiteral("root"));
    if (!hint)
        r.RadioButton27.check();
    for (int item = 1; item < from; ++item)
        answer(d);
    QCOMPARE(r.Edit22.text(), QString::number(from));
    r.Edit21.type(QLatin1Char('z'));
    m_focus.setOther(); // the learner clicks the button
    m_pictures->entry = &r.Edit21;
    r.Button13.click();
    QCOMPARE(r.Edit22.text(), QStringLiteral("1"));
    QCOMPARE(r.zigenLabel.caption(), QStringLiteral("G"));
    QCOMPARE(visiblePictures(), QStringLiteral("zigen1"));
    QVERIFY(r.Edit21.text().isEmpty());
    QVERIFY(m_focus.has(r.Edit21));
    QCOMPARE(r.zigenLabel.visible(), hint); // the hint choice stays
    QCOMPARE(m_pictures->maps, QList<drills::KeyboardMap>{drills::KeyboardMap::Roots});
    QCOMPARE(m_pictures->entryAtRequest, QStringList{QString()}); // the map comes last
    answer(d);
    QCOMPARE(visiblePictures(), QStringLiteral("zigen92"));
}

void TestKeyDrills::leavingThePageAndComingBack_data() {
    QTest::addColumn<QString>("drill");
    QTest::addColumn<QString>("entryAtMapRequest");
    QTest::newRow("mnemonic asks for the map first") << "mnemonic"
                                                     << "X";
    QTest::newRow("root asks for the map last") << "root"
                                                << "";
}

void TestKeyDrills::leavingThePageAndComingBack() {
    Drill d = current();
    QFETCH(QString, entryAtMapRequest);
    d.showPage();
    QVERIFY(m_focus.has(d.entry));
    for (int i = 0; i < 4; ++i)
        answer(d);
    d.hintOff.check();
    d.entry.type(QLatin1Char('x'));
    m_focus.setOther(); // another page
    m_pictures->entry = &d.entry;
    d.showPage();
    QCOMPARE(m_pictures->entryAtRequest.last(), entryAtMapRequest);
    QCOMPARE(m_pictures->maps, QList<drills::KeyboardMap>(2, drills::KeyboardMap::Roots));
    QVERIFY(d.entry.text().isEmpty());
    QVERIFY(m_focus.has(d.entry));
    QCOMPARE(d.counter.text(), QStringLiteral("5"));
    QCOMPARE(d.shown(), d.itemShows(5));
    QVERIFY(!d.answer.visible());
}

void TestKeyDrills::fuzz() {
    // Letters right and wrong, backspace, refused keys, hint switches, restarts, page changes and
    // focus moves on both drills, with the drills' invariants checked after every event. Both
    // drills must come round to item 1 again many times.
    QRandomGenerator rng(20261207);
    Drill both[] = {drill(QStringLiteral("mnemonic")), drill(QStringLiteral("root"))};
    const QString junk = QStringLiteral("zZ1 王");
    const int events = fuzzEvents(200000);
    int wraps[2] = {0, 0};
    int previous[2] = {1, 1};
    for (int step = 0; step < events; ++step) {
        Drill& d = both[rng.bounded(2)];
        const int what = rng.bounded(100);
        // Restarts are rare enough that the root drill still comes round its 195 items.
        if (rng.bounded(4000) == 0) {
            m_root->Button13.click();
        } else if (what < 45) {
            answer(d);
        } else if (what < 75) {
            d.entry.type(QChar(QLatin1Char(char('a' + rng.bounded(26)))));
        } else if (what < 80) {
            d.entry.type(junk[rng.bounded(junk.size())]);
        } else if (what < 85) {
            d.entry.backspace();
        } else if (what < 89) {
            (rng.bounded(2) ? d.hintOn : d.hintOff).check();
        } else if (what < 96) {
            d.showPage();
        } else {
            m_focus.setOther();
        }

        for (int i = 0; i < 2; ++i) {
            const Drill& k = both[i];
            bool ok = false;
            const int item = k.counter.text().toInt(&ok);
            QVERIFY2(ok && item >= 1 && item <= k.items && QString::number(item) == k.counter.text(),
                     qPrintable(k.counter.text()));
            if (previous[i] == k.items && item == 1)
                ++wraps[i];
            previous[i] = item;
            QCOMPARE(k.answer.caption(), QString(k.keys[item - 1]));
            QCOMPARE(k.shown(), k.itemShows(item)); // for the root drill: exactly that one picture
            QVERIFY(k.entry.text().size() <= 1);
            QCOMPARE(k.answer.visible(), k.hintOn.isChecked());
            QVERIFY(k.hintOn.isChecked() != k.hintOff.isChecked());
        }
    }
    QVERIFY2(wraps[0] > 10 && wraps[1] > 10, qPrintable(QStringLiteral("%1 %2").arg(wraps[0]).arg(wraps[1])));
}

QTEST_GUILESS_MAIN(TestKeyDrills)
#include "tst_key_drills.moc"
