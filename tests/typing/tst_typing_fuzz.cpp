// Random learners on the typing test: commits of one or several characters (right, wrong, ASCII,
// characters the line must refuse), deletions, caret moves, Enter, choose, start, stop and ticks.
// After every move the page must still be one a learner can read.
#include "fuzz_events.h"
#include "page.h"

#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTest>

using typing::TypingTest;

class TstTypingFuzz : public QObject {
    Q_OBJECT
private slots:
    void randomLearner() {
        QRandomGenerator rng(20261207);
        Page p;
        const QStringList odd = {QStringLiteral("丂"),   QStringLiteral("€"), QStringLiteral("\n"), QStringLiteral("😀"),
                                 QString(QChar(0xE000)), QStringLiteral(" "), QStringLiteral("　")};
        const QRegularExpression clock(QStringLiteral("^(00:00|\\d+:\\d+)$"));
        const QRegularExpression report(QStringLiteral("^您的速度为每分钟：\\d+字，正确率：\\d+%，错字：\\d+个$"));
        int finishes = 0;
        const int kEvents = fuzzEvents(60000);
        for (int event = 0; event < kEvents; ++event) {
            // Type into the line that has the focus, as a learner mostly does; otherwise click into
            // one first.
            int block = 0;
            for (int b = 1; b <= 4; ++b)
                if (p.focus.has(p.line(b)))
                    block = b;
            const int beepsBefore = p.desktop.beeps;
            const int roll = rng.bounded(100);
            if (roll < 55 || block < 1) {
                if (block < 1 || rng.bounded(20) == 0) {
                    block = 1 + rng.bounded(4);
                    p.focus.set(p.line(block), controls::Focus::Reason::Mouse);
                }
                const int n = rng.bounded(10) < 8 ? 1 : 2 + rng.bounded(4);
                QString commit;
                int bytes = p.caretBytes(block);
                for (int i = 0; i < n; ++i) {
                    const int kind = rng.bounded(100);
                    const QString right = p.rightAt(block, bytes);
                    QString c = kind < 70 && !right.isEmpty() ? right
                                : kind < 85                   ? QStringLiteral("错")
                                : kind < 97                   ? QString(QChar(0x21 + rng.bounded(94)))
                                                              : odd.at(rng.bounded(odd.size()));
                    commit += c;
                    bytes += gb::byteLength(c);
                }
                if (rng.bounded(2) == 0)
                    p.t.commit(block, commit);
                else
                    p.t.paste(block, commit);
            } else if (roll < 65) {
                p.t.backspace(block);
            } else if (roll < 70) {
                p.t.setCaret(block, rng.bounded(p.line(block).text().size() + 1));
            } else if (roll < 75) {
                p.focus.set(p.line(1 + rng.bounded(4)), controls::Focus::Reason::Tab);
            } else if (roll < 90) {
                p.tick(1 + rng.bounded(3));
            } else if (roll < 93) {
                p.choose(1 + rng.bounded(6));
            } else if (roll < 96) {
                if (p.t.Button4.enabled())
                    p.t.Button4.click();
            } else if (roll < 97) {
                if (p.t.Button6.enabled())
                    p.t.Button6.click();
            } else {
                // A whole new text at once (a paste over a selection), maybe too long.
                const QString text = p.model(block).left(rng.bounded(60)) + QString(rng.bounded(3), QLatin1Char('a'));
                p.t.edit(block, text, rng.bounded(text.size() + 1));
            }

            const bool chosen = p.t.chosenTest() != 0;
            for (int b = 1; b <= 4; ++b) {
                const QString& marks = p.marks(b).text();
                if (chosen) {
                    QCOMPARE(marks.size(), TypingTest::kMarks);
                    QCOMPARE(gb::byteLength(marks), 118);
                    for (QChar c : marks)
                        QVERIFY(c == TypingTest::kRight.at(0) || c == TypingTest::kWrong.at(0));
                    QVERIFY(gb::byteLength(p.line(b).text()) <= gb::byteLength(p.model(b)));
                    // The marks judge the line as it stands: no cross past its end, none under a
                    // line that is the start of its passage.
                    const int typedMarks = (gb::byteLength(p.line(b).text()) + 1) / 2;
                    QVERIFY(!marks.mid(typedMarks).contains(TypingTest::kWrong));
                    QCOMPARE(marks.contains(TypingTest::kWrong), !p.model(b).startsWith(p.line(b).text()));
                } else {
                    QVERIFY(marks.isEmpty());
                }
                QVERIFY(gb::isTypeable(p.line(b).text()));
                QVERIFY(!p.line(b).text().contains(QLatin1Char(' ')) && !p.line(b).text().contains(QChar(0x3000)));
                QVERIFY(p.line(b).caret() >= 0 && p.line(b).caret() <= p.line(b).text().size());
            }
            bool numeric = false;
            p.t.Label29.caption().toDouble(&numeric);
            QVERIFY(numeric);
            QVERIFY(clock.match(p.t.Panel9.caption()).hasMatch());
            QCOMPARE(p.t.Timer1.enabled(), p.t.Timer2.enabled());
            QVERIFY(chosen || !p.t.Timer1.enabled());
            if (p.desktop.messages.size() > finishes) {
                finishes = static_cast<int>(p.desktop.messages.size());
                QVERIFY(report.match(p.desktop.messages.last()).hasMatch());
                QVERIFY(!p.t.Timer1.enabled());
                QVERIFY(p.focus.has(p.t.Memo[3])); // ready for the next run
            }
            // A finish beeps, and so does an input with characters left out: at most one each.
            QVERIFY(p.desktop.beeps >= finishes);
            QVERIFY(p.desktop.beeps - beepsBefore <= 2);
        }
        QVERIFY2(finishes > 10, qPrintable(QStringLiteral("only %1 finishes").arg(finishes)));
        qInfo("%d events, %d finished tests", kEvents, finishes);
    }
};

QTEST_GUILESS_MAIN(TstTypingFuzz)
#include "tst_typing_fuzz.moc"
