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
                if (!expected.contains(p.right(1)))
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
};

QTEST_GUILESS_MAIN(TstTypingReview)
#include "tst_typing_review.moc"
