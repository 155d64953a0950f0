// The review a run leaves: the passage characters it marked wrong, each once, offered from the end
// of the run (finished or stopped) until the next run or another test; the run itself is judged and
// timed as without it.
#include "page.h"

#include <QTest>

class TstTypingReview : public QObject {
    Q_OBJECT
private slots:
    void reviewAfterARun_data() {
        QTest::addColumn<bool>("finish");      // the fourth line filled, or Stop clicked
        QTest::addColumn<QList<int>>("wrong"); // places of line 1 typed wrong
        QTest::newRow("finished, two wrong") << true << QList<int>{1, 4};
        QTest::newRow("finished, none wrong") << true << QList<int>{};
        QTest::newRow("stopped, one wrong") << false << QList<int>{2};
        QTest::newRow("stopped, a sign wrong") << false << QList<int>{4};
    }
    void reviewAfterARun() {
        QFETCH(bool, finish);
        QFETCH(QList<int>, wrong);
        Page p;
        p.choose(2);
        p.t.Button4.click();
        QString expected;
        for (int i = 0; i < 6; ++i) {
            if (wrong.contains(i)) {
                // A sign (，) has no code to look up: it is never listed.
                if (gb::isHanzi(p.right(1).at(0)) && !expected.contains(p.right(1)))
                    expected += p.right(1);
                p.t.commit(1, p.wrong(1));
            } else {
                p.t.commit(1, p.right(1));
            }
        }
        // No review while the run is under way.
        QVERIFY(!p.t.Label41.visible());
        p.tick(60);
        if (finish) {
            p.typeRest(1);
            for (int b = 2; b <= 4; ++b)
                p.typeRest(b);
            // Judged and timed as ever: the line's 59 characters, of which the wrong count too.
            QCOMPARE(p.desktop.messages.size(), 1);
        } else {
            p.t.Button6.click();
        }
        QCOMPARE(p.t.Label41.caption(), expected);
        QCOMPARE(p.t.Label41.visible(), !expected.isEmpty());

        // Start clears it, and so does another test.
        p.t.Button4.click();
        QVERIFY(p.t.Label41.caption().isEmpty() && !p.t.Label41.visible());
        p.t.commit(1, p.wrong(1));
        p.t.Button6.click();
        QVERIFY(!p.t.Label41.caption().isEmpty());
        p.choose(3);
        QVERIFY(p.t.Label41.caption().isEmpty() && !p.t.Label41.visible());
    }

    // One character too many early in a line puts every mark after it out of step, but the review
    // lists only the character it stood for: the rest of the passage, typed one place later, was
    // not missed. A run begun by typing, without Start, takes the last run's review away.
    void oneCharacterTooManyMissesOne() {
        Page p;
        p.choose(2);
        p.t.commit(1, p.wrong(1));
        p.t.Button6.click();
        QVERIFY(p.t.Label41.visible());
        QString passage;
        for (int b = 1; b <= 4; ++b)
            passage += p.model(b);
        const QString wrong = Page::wrongFor(passage.at(2));
        p.t.commit(1, passage.left(2) + wrong + QStringLiteral("也") + passage.mid(3, 40));
        QVERIFY(!p.t.Label41.visible()); // the typing began another run
        QVERIFY(p.t.running());
        QVERIFY(markPatternCount(p.marks(1).text()) > 10);
        p.t.Button6.click();
        QCOMPARE(p.t.missedCharacters(), passage.mid(2, 1));
        QCOMPARE(p.t.Label41.caption(), passage.mid(2, 1));
    }

private:
    static int markPatternCount(const QString& marks) { return static_cast<int>(marks.count(QChar(0xD7))); }
};

QTEST_GUILESS_MAIN(TstTypingReview)
#include "tst_typing_review.moc"
