// What the strips under the drills' hints explain, decided on the drills' side: the code the hint
// column shows while it shows one, each phrase at the one place that shows its length, nothing
// while the hint is off. On the real tables, which hold the explanations.

#include "real_drills.h"

#include <QTest>

using test_support::RealCharacterDrill;
using test_support::RealPhraseDrill;

class TestHintExplanation : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void characterWhileTheHintShowsItsCode();
    void phraseAtThePlaceOfItsLength();
};

void TestHintExplanation::characterWhileTheHintShowsItsCode() {
    RealCharacterDrill r;
    drills::HintExplanation& e = r.d.hintExplanation;
    e.update();
    QVERIFY(e.current().cells.isEmpty()); // no target yet
    r.d.RadioButton[1].check();           // key-name characters: the hint shows slot 1's
    e.update();
    QCOMPARE(e.current().code, r.d.Panel13.caption());
    QVERIFY(!e.current().cells.isEmpty());
    r.d.RadioButton23.check(); // "不提示"
    e.update();
    QVERIFY(e.current().cells.isEmpty());
    r.d.RadioButton22.check();
    e.update();
    QVERIFY(!e.current().cells.isEmpty());
    QVERIFY(e.takeNewFaults().isEmpty());
}

void TestHintExplanation::phraseAtThePlaceOfItsLength() {
    RealPhraseDrill r;
    drills::PhraseDrill& d = r.d;
    const auto explained = [&] {
        d.hintExplanation.update();
        d.longPhraseExplanation.update();
        return std::make_pair(!d.hintExplanation.current().cells.isEmpty(),
                              !d.longPhraseExplanation.current().cells.isEmpty());
    };
    d.RadioButton[drills::PhraseDrill::kFirstCategory].check(); // two characters: the hint panel
    QCOMPARE(explained(), std::make_pair(true, false));
    QCOMPARE(d.hintExplanation.current().code, d.czts.caption());
    d.RadioButton[drills::PhraseDrill::kLongPhraseCategory].check(); // longer: beside the panel's box
    QCOMPARE(explained(), std::make_pair(false, true));
    d.RadioButton25.check(); // "不提示"
    QCOMPARE(explained(), std::make_pair(false, false));
}

QTEST_GUILESS_MAIN(TestHintExplanation)
#include "tst_hint_explanation.moc"
