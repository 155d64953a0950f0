// The byte counts every length and caret position of the typing test rests on, and the passages.
#include <gb_text.h>
#include <typing.h>

#include <QTest>

class TstGbText : public QObject {
    Q_OBJECT
private slots:
    void marksAreTheCodePageDashAndCross() {
        QCOMPARE(gb::encode(typing::TypingTest::kRight), QByteArray("\xA1\xAA"));
        QCOMPARE(gb::encode(typing::TypingTest::kWrong), QByteArray("\xA1\xC1"));
        QCOMPARE(gb::byteLength(typing::TypingTest::fullMarkLine()), 118);
    }

    void characters_data() {
        QTest::addColumn<QString>("ch");
        QTest::addColumn<bool>("doubleByte");
        QTest::addColumn<bool>("typeable");
        QTest::newRow("Chinese") << QStringLiteral("中") << true << true;
        QTest::newRow("full-width comma") << QStringLiteral("，") << true << true;
        QTest::newRow("quote") << QStringLiteral("“") << true << true;
        QTest::newRow("pinyin letter") << QStringLiteral("é") << true << true;
        QTest::newRow("ASCII letter") << QStringLiteral("a") << false << true;
        QTest::newRow("blank") << QStringLiteral(" ") << false << true;
        QTest::newRow("line break") << QStringLiteral("\n") << false << false;
        QTest::newRow("tab") << QStringLiteral("\t") << false << false;
        QTest::newRow("euro, one byte in the code page") << QStringLiteral("€") << false << false;
        QTest::newRow("GBK-only character") << QStringLiteral("丂") << false << false;
        // GB2312's rows of signs hold only their assigned cells; the code page fills some gaps.
        QTest::newRow("row 2 cell 10, the code page's ⅹ") << QStringLiteral("ⅹ") << false << false;
        QTest::newRow("row 2 cell 17, GB2312's first: ⒈") << QStringLiteral("⒈") << true << true;
        QTest::newRow("row 2 cell 92, GB2312's last: Ⅻ") << QStringLiteral("Ⅻ") << true << true;
        QTest::newRow("row 6 cell 56, GB2312's last: ω") << QStringLiteral("ω") << true << true;
        QTest::newRow("row 6 cell 64, the code page's ︵") << QStringLiteral("︵") << false << false;
        QTest::newRow("row 8 cell 26, GB2312's last pinyin letter: ê") << QStringLiteral("ê") << true << true;
        QTest::newRow("row 8 cell 27, the code page's ɑ") << QStringLiteral("ɑ") << false << false;
        QTest::newRow("row 8 cell 37, GB2312's first bopomofo: ㄅ") << QStringLiteral("ㄅ") << true << true;
        QTest::newRow("row 9 cell 4, GB2312's first box line: ─") << QStringLiteral("─") << true << true;
        QTest::newRow("row 16 cell 1, the first character: 啊") << QStringLiteral("啊") << true << true;
        QTest::newRow("row 55 cell 89, its last: 座") << QStringLiteral("座") << true << true;
        QTest::newRow("row 87 cell 94, the last: 齄") << QStringLiteral("齄") << true << true;
        QTest::newRow("private use") << QString(QChar(0xE000)) << false << false;
        QTest::newRow("not in the code page") << QStringLiteral("😀") << false << false;
        QTest::newRow("Korean") << QStringLiteral("한") << false << false;
    }
    void characters() {
        QFETCH(QString, ch);
        QFETCH(bool, doubleByte);
        QFETCH(bool, typeable);
        QCOMPARE(gb::isDoubleByte(ch.at(0)), doubleByte);
        QCOMPARE(gb::isTypeable(ch), typeable);
    }

    // Each length stands alone, whatever was measured before; an unencodable character is one byte.
    void lengthsDoNotDependOnTheCallBefore_data() {
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("bytes");
        QTest::newRow("dash after a lone high surrogate") << QString(QChar(0xD800)) << QStringLiteral("—") << 2;
        QTest::newRow("letter after a lone high surrogate") << QStringLiteral("中\xD83D") << QStringLiteral("a") << 1;
        QTest::newRow("lone high surrogate after text") << QStringLiteral("中") << QString(QChar(0xD800)) << 1;
        QTest::newRow("lone low surrogate") << QStringLiteral("中") << QString(QChar(0xDC00)) << 1;
        QTest::newRow("pair after a lone high surrogate") << QString(QChar(0xD83D)) << QStringLiteral("😀") << 1;
    }
    void lengthsDoNotDependOnTheCallBefore() {
        QFETCH(QString, before);
        QFETCH(QString, text);
        QFETCH(int, bytes);
        (void)gb::byteLength(before);
        QCOMPARE(gb::byteLength(text), bytes);
        QCOMPARE(gb::encode(before + text).size(), gb::byteLength(before) + bytes);
    }

    void passages_data() {
        QTest::addColumn<int>("test");
        QTest::addColumn<QList<int>>("lengths");
        QTest::newRow("1") << 1 << QList<int>{92, 96, 96, 96};
        QTest::newRow("2") << 2 << QList<int>{90, 94, 94, 72};
        QTest::newRow("3") << 3 << QList<int>{92, 96, 96, 92};
        QTest::newRow("4") << 4 << QList<int>{92, 96, 96, 76};
        QTest::newRow("5") << 5 << QList<int>{92, 96, 96, 78};
        QTest::newRow("6") << 6 << QList<int>{94, 98, 98, 96};
    }
    void passages() {
        QFETCH(int, test);
        QFETCH(QList<int>, lengths);
        const QStringList lines = typing::TypingTest::passage(test);
        QCOMPARE(lines.size(), 4);
        for (int b = 0; b < 4; ++b) {
            QCOMPARE(gb::byteLength(lines.at(b)), lengths.at(b));
            for (QChar c : lines.at(b))
                QVERIFY2(gb::isDoubleByte(c), qPrintable(QStringLiteral("line %1: %2").arg(b + 1).arg(c)));
        }
    }
};

QTEST_GUILESS_MAIN(TstGbText)
#include "tst_gb_text.moc"
