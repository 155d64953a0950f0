// Every category of the drill on the real generated tables: a learner who types, in every slot,
// the code the hint column shows completes batch after batch and arrives where the end markers
// send the counter; on the way the drill says which batch of how many is on show, the last one
// just before the jump.

#include "real_drills.h"

#include <algorithm>

#include <QTest>

class TestCharacterDrillData : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void everyBatchCanBeTypedFromTheHint_data();
    void everyBatchCanBeTypedFromTheHint();
};

void TestCharacterDrillData::everyBatchCanBeTypedFromTheHint_data() {
    QTest::addColumn<int>("category");
    for (int c = 1; c <= drills::kCharacterCategories; ++c)
        QTest::newRow(drills::kCharacterCategory[c - 1].caption) << c;
}

void TestCharacterDrillData::everyBatchCanBeTypedFromTheHint() {
    QFETCH(int, category);
    // A category's batches run from its start up to the next category's start.
    const drills::CharacterCategory& plan = drills::kCharacterCategory[category - 1];
    const int start = plan.startBatch;
    const int jumpTarget = drills::jumpOf(plan.endMarker);
    const int nextStart = drills::batchRange(plan).last + 1;
    QVERIFY(jumpTarget >= start && jumpTarget < nextStart);

    test_support::RealCharacterDrill real;
    drills::CharacterDrill& d = real.d;
    controls::Focus& focus = real.focus;
    d.RadioButton[category].check();
    QCOMPARE(d.edit16.text().toInt(), start);

    const int first = drills::batchRange(plan).first;
    int jumps = 0;
    for (int batch = 0; batch < 80 && jumps < 2; ++batch) {
        const int counter = d.edit16.text().toInt();
        QVERIFY2(counter >= start && counter < nextStart, qPrintable(d.edit16.text()));
        const QString position = d.batchPosition();
        QVERIFY2(position.startsWith(QStringLiteral("第 %1 批，共 ").arg(counter - first + 1)), qPrintable(position));
        for (int slot = 1; slot <= 15; ++slot) {
            const QString target = d.Label[slot].caption();
            QVERIFY2(!target.isEmpty(), qPrintable(QStringLiteral("batch %1 slot %2").arg(counter).arg(slot)));
            // The hint runs when the code box receives the focus; after a jump the learner
            // clicks into the first box to see it.
            focus.setOther();
            focus.set(d.Ed[slot], controls::Focus::Reason::Mouse);
            QCOMPARE(d.zi.caption(), target);
            const QString code = d.Panel13.caption();
            QVERIFY(!code.isEmpty() && code.size() <= 4);
            int typed = 0;
            while (typed < code.size() && d.edit16.text().toInt() == counter &&
                   (slot == 15 || d.Edit[slot].text() != target))
                d.Ed[slot].type(code[typed++]);
            QVERIFY2(slot == 15 ? d.edit16.text().toInt() != counter : d.Edit[slot].text() == target,
                     qPrintable(QStringLiteral("batch %1 slot %2: %3 typed as %4 gave %5")
                                    .arg(counter)
                                    .arg(slot)
                                    .arg(target, code, d.h[slot].text())));
            // Accepted at the code's last letter, not before: nothing is left for the next box.
            QVERIFY2(typed == code.size(), qPrintable(QStringLiteral("batch %1 slot %2: %3 accepted at %4 of %5")
                                                          .arg(counter)
                                                          .arg(slot)
                                                          .arg(target, code.left(typed), code)));
        }
        const int now = d.edit16.text().toInt();
        if (now != counter + 1) {
            QCOMPARE(now, jumpTarget);
            QCOMPARE(position, QStringLiteral("第 %1 批，共 %1 批").arg(counter - first + 1));
            ++jumps;
        }
    }
    QVERIFY2(jumps == 2, "the category's closing batch was never reached");
}

QTEST_GUILESS_MAIN(TestCharacterDrillData)
#include "tst_character_drill_data.moc"
