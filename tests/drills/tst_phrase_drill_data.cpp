// The phrase drill on the real generated tables: a learner who types, in every slot and for every
// long phrase, the code the hint column shows completes batch after batch and arrives where the end
// markers send the counters.

#include "real_drills.h"

#include <QTest>

namespace {
// Types `code` into `box` letter by letter until `done` holds; returns how many letters it took.
template <class Done> int typeUntil(controls::Edit& box, const QString& code, Done done) {
    int typed = 0;
    while (typed < code.size() && !done())
        box.type(code[typed++]);
    return typed;
}
} // namespace

class TestPhraseDrillData : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void everyBatchCanBeTypedFromTheHint_data();
    void everyBatchCanBeTypedFromTheHint();
    void everyLongPhraseCanBeTypedFromTheHint();
};

void TestPhraseDrillData::everyBatchCanBeTypedFromTheHint_data() {
    QTest::addColumn<int>("category");
    for (int c = 0; c < drills::kPhraseCategories; ++c)
        QTest::newRow(drills::kPhraseCategory[c].caption) << c;
}

void TestPhraseDrillData::everyBatchCanBeTypedFromTheHint() {
    QFETCH(int, category);
    const drills::PhraseCategory& plan = drills::kPhraseCategory[category];
    // A category's batches lie between the lowest it visits and the next category's.
    const int first = drills::batchRange(plan).first;
    const int end = drills::batchRange(plan).last + 1;

    test_support::RealPhraseDrill r;
    auto& d = r.d;
    d.RadioButton[drills::PhraseDrill::kFirstCategory + category].check();
    QCOMPARE(d.Edit17.text().toInt(), plan.startBatch);

    int jumps = 0;
    for (int batch = 0; batch < 100 && jumps < 2; ++batch) {
        const int counter = d.Edit17.text().toInt();
        QVERIFY2(counter >= first && counter < end, qPrintable(d.Edit17.text()));
        // Which batch of how many, the last one just before the jump.
        const QString position = d.batchPosition();
        QVERIFY2(position.startsWith(QStringLiteral("第 %1 批，共 ").arg(counter - first + 1)), qPrintable(position));
        for (int slot = 1; slot <= drills::PhraseDrill::kSlots; ++slot) {
            const QString target = d.cz[slot].caption();
            const QString where = QStringLiteral("batch %1 slot %2 %3").arg(counter).arg(slot).arg(target);
            QVERIFY2(!target.isEmpty(), qPrintable(where));
            // After a jump the learner clicks into the first box to see its hint.
            r.focus.setOther();
            r.focus.set(d.czt[slot], controls::Focus::Reason::Mouse);
            QCOMPARE(d.zi2.caption(), target);
            const QString code = d.czts.caption();
            QVERIFY2(code.size() == 4, qPrintable(where + QStringLiteral(": hint code ") + code));
            const int typed = typeUntil(d.czt[slot], code, [&] {
                return slot == drills::PhraseDrill::kSlots ? d.Edit17.text().toInt() != counter
                                                           : d.cztext[slot].text() == target;
            });
            QVERIFY2(slot == drills::PhraseDrill::kSlots ? d.Edit17.text().toInt() != counter
                                                         : d.cztext[slot].text() == target,
                     qPrintable(where + QStringLiteral(": typing %1 gave %2").arg(code, d.czh[slot].text())));
            // Accepted at the code's last letter, not before.
            QVERIFY2(typed == code.size(), qPrintable(where + QStringLiteral(": accepted at ") + code.left(typed)));
        }
        const int now = d.Edit17.text().toInt();
        if (now != counter + 1) {
            QCOMPARE(now, plan.endMarker.jumpTo);
            QCOMPARE(position, QStringLiteral("第 %1 批，共 %1 批").arg(counter - first + 1));
            ++jumps;
        }
    }
    QVERIFY2(jumps == 2, "the category's closing batch was never reached");
}

void TestPhraseDrillData::everyLongPhraseCanBeTypedFromTheHint() {
    test_support::RealPhraseDrill r;
    auto& d = r.d;
    d.RadioButton[drills::PhraseDrill::kLongPhraseCategory].check();
    const int start = drills::kLongPhrases.startBatch;
    QCOMPARE(d.Edit20.text().toInt(), start);
    QCOMPARE(r.focus.current(), &d.Edit18);

    int jumps = 0;
    for (int step = 0; step < 1000 && jumps < 2; ++step) {
        const int counter = d.Edit20.text().toInt();
        const QString phrase = d.Label24.caption();
        const QString where = QStringLiteral("row %1 %2").arg(counter).arg(phrase);
        QVERIFY2(phrase.size() >= 5, qPrintable(where));
        const QString position = d.batchPosition();
        QVERIFY2(position.startsWith(QStringLiteral("第 %1 个，共 ").arg(counter - start + 1)), qPrintable(position));
        // The hint follows the phrase on show without any focus move.
        QCOMPARE(d.zi2.caption(), phrase);
        const QString code = d.czts.caption();
        QVERIFY2(code.size() == 4, qPrintable(where + QStringLiteral(": hint code ") + code));
        const int typed = typeUntil(d.Edit18, code, [&] { return d.Edit20.text().toInt() != counter; });
        QVERIFY2(d.Edit20.text().toInt() != counter,
                 qPrintable(where + QStringLiteral(": typing %1 gave %2").arg(code, d.Edit19.text())));
        QVERIFY2(typed == code.size(), qPrintable(where + QStringLiteral(": accepted at ") + code.left(typed)));
        QVERIFY(d.Edit18.text().isEmpty());
        const int now = d.Edit20.text().toInt();
        if (now != counter + 1) {
            QCOMPARE(now, drills::kLongPhrases.endMarker.jumpTo);
            QCOMPARE(position, QStringLiteral("第 %1 个，共 %1 个").arg(counter - start + 1));
            ++jumps;
        }
    }
    QVERIFY2(jumps == 2, "the long phrases never closed their cycle");
}

QTEST_GUILESS_MAIN(TestPhraseDrillData)
#include "tst_phrase_drill_data.moc"
