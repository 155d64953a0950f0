// The explainer behind the hint's strip, on small cf.db fixtures: what it explains, what it refuses
// to explain (a split of another code, a broken field), a phrase whose code breaks the rule explained
// as an exception, a missing or broken table, and its answer kept for the text on show.

#include "code_explainer.h"
#include "fixture_tables.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace drills;

namespace {

// Real characters with their dictionary codes; 跟踪 is one of the dictionary's phrases whose code
// (kvkp) the phrase rule does not give (khkh).
const QList<QStringList> kRows = {
    {"汉", "icy", "氵i又c n1"},
    {"王", "gggg", "王g"},
    {"五", "gghg", "五g hsh"},
    {"有", "def", "23d月e h3"},          // gives ded: a split of another code
    {"卫", "bgd", "12345678901a月e h2"}, // a picture number far past any root
    {"叉", "cyi", ""},                   // no split
    {"跟", "khve", "口k止h彐v良底95e"},
    {"踪", "khpf", "口k止h宀p示f"},
    {"继", "xonn", "纟x米o乙n乙n"},
    {"续", "xfnd", "纟x十f乙n大d"},
};

// wb.db of the rows above: each character's full code, after a short code of some (the full code
// is the longest, wherever it stands).
void writeCodes(const QString& folder) {
    QList<QStringList> codes{{"ic", "汉"}, {"g", "王"}, {"gg", "五"}};
    for (const QStringList& r : kRows)
        codes << QStringList{r[1], r[0]};
    writeTable(QDir(folder).filePath(QStringLiteral("wb.db")), QStringLiteral("wb"), {"dm", "hz"}, codes);
}

} // namespace

class TstCodeExplainer : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void character_data();
    void character();
    void phrase_data();
    void phrase();
    void underAShortCode_data();
    void underAShortCode();
    void answerFollowsTheQuestion();
    void tableThatCannotServe_data();
    void tableThatCannotServe();
    void codeThatIsNotTheFullCode();

private:
    QTemporaryDir m_dir;
};

void TstCodeExplainer::initTestCase() {
    QVERIFY(m_dir.isValid());
    writeTable(m_dir.filePath(QStringLiteral("cf.db")), QStringLiteral("cf"), {"hz", "dm", "cf"}, kRows);
    writeCodes(m_dir.path());
}

void TstCodeExplainer::character_data() {
    QTest::addColumn<QString>("hz");
    QTest::addColumn<QString>("text"); // empty: nothing to explain
    QTest::newRow("two roots") << "汉"
                               << "汉：氵 i ＋ 又 c ＋ 识别码 y（末笔捺，左右型） ＝ icy";
    QTest::newRow("key name") << "王"
                              << "王：键名字，键名 g 连打四次 ＝ gggg";
    QTest::newRow("character root") << "五"
                                    << "五：成字字根，键 g ＋ 首笔横 g ＋ 次笔竖 h ＋ 末笔横 g ＝ gghg";
    QTest::newRow("split of another code") << "有"
                                           << "";
    QTest::newRow("broken picture number") << "卫"
                                           << "";
    QTest::newRow("no split") << "叉"
                              << "";
    QTest::newRow("not in the table") << "啊"
                                      << "";
    QTest::newRow("nothing asked") << ""
                                   << "";
}

void TstCodeExplainer::character() {
    QFETCH(QString, hz);
    QFETCH(QString, text);
    CodeExplainer explainer(m_dir.path());
    const Explanation& e = explainer.character(hz);
    QCOMPARE(e.text, text);
    QCOMPARE(e.cells.isEmpty(), text.isEmpty());
}

void TstCodeExplainer::phrase_data() {
    QTest::addColumn<QString>("phrase");
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("text");
    QTest::newRow("two characters") << "继续"
                                    << "xoxf"
                                    << "继 xo ＋ 续 xf ＝ xoxf";
    QTest::newRow("a code the rule does not give") << "跟踪"
                                                   << "kvkp"
                                                   << "跟踪：编码 kvkp 是词典的例外，不按词组取码规则（按规则是 khkh）";
    QTest::newRow("the rule's code") << "跟踪"
                                     << "khkh"
                                     << "跟 kh ＋ 踪 kh ＝ khkh";
    QTest::newRow("no code shown") << "继续"
                                   << ""
                                   << "";
    QTest::newRow("a character without a row") << "继啊"
                                               << "xo"
                                               << "";
    QTest::newRow("one character") << "继"
                                   << "xonn"
                                   << "";
}

void TstCodeExplainer::phrase() {
    QFETCH(QString, phrase);
    QFETCH(QString, code);
    QFETCH(QString, text);
    CodeExplainer explainer(m_dir.path());
    const Explanation& e = explainer.phrase(phrase, code);
    QCOMPARE(e.text, text);
    QCOMPARE(e.cells.isEmpty(), text.isEmpty());
}

// Under the code the hint shows: a short code brings its note, a first-level one is named in the
// words; a character with nothing to explain brings no note either.
void TstCodeExplainer::underAShortCode_data() {
    QTest::addColumn<QString>("hz");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("note");
    QTest::addColumn<QString>("textStart");
    QTest::newRow("full code") << "汉"
                               << "icy"
                               << ""
                               << "汉：";
    QTest::newRow("second level") << "汉"
                                  << "ic"
                                  << "全码 icy\n取前两码"
                                  << "汉：";
    QTest::newRow("first level") << "五"
                                 << "g"
                                 << "全码 gghg\n一级简码"
                                 << "一级简码 g；全码 五：";
    QTest::newRow("nothing to explain") << "有"
                                        << "d"
                                        << ""
                                        << "";
}

void TstCodeExplainer::underAShortCode() {
    QFETCH(QString, hz);
    QFETCH(QString, shown);
    QFETCH(QString, note);
    QFETCH(QString, textStart);
    CodeExplainer explainer(m_dir.path());
    const Explanation e = explainer.character(hz, shown);
    QCOMPARE(e.note, note);
    QVERIFY2(textStart.isEmpty() ? e.text.isEmpty() : e.text.startsWith(textStart), qPrintable(e.text));
    // The plain answer stays as it was.
    QVERIFY(!explainer.character(hz).text.startsWith(QStringLiteral("一级简码")));
    QVERIFY(explainer.character(hz).note.isEmpty());
}

// The kept answer is the one for what is asked now: the same text with another code, or another
// text, is looked up again.
void TstCodeExplainer::answerFollowsTheQuestion() {
    CodeExplainer explainer(m_dir.path());
    QVERIFY(!explainer.character(QStringLiteral("汉")).cells.isEmpty());
    QVERIFY(explainer.character(QStringLiteral("有")).cells.isEmpty());
    QCOMPARE(explainer.character(QStringLiteral("汉")).text.right(3), QStringLiteral("icy"));
    QVERIFY(explainer.character(QString()).cells.isEmpty());

    QVERIFY(!explainer.phrase(QStringLiteral("跟踪"), QStringLiteral("khkh")).cells.isEmpty());
    // A code the rule does not give is the dictionary's exception, and says so over that code.
    const Explanation odd = explainer.phrase(QStringLiteral("跟踪"), QStringLiteral("kvkp"));
    QCOMPARE(odd.cells.size(), 3);
    QCOMPARE(odd.cells.last().top, QStringLiteral("词组例外"));
    QCOMPARE(odd.cells.last().letters, QStringLiteral("kvkp"));
    QVERIFY(!odd.cells.first().counted);
    QVERIFY(odd.text.contains(QStringLiteral("按规则是 khkh")));
    QVERIFY(!explainer.phrase(QStringLiteral("跟踪"), QStringLiteral("khkh")).cells.isEmpty());
    QVERIFY(explainer.phrase(QString(), QString()).cells.isEmpty());
}

// A table that is missing, not a table or of another shape leaves nothing to explain, without
// throwing: the drill does not need it.
void TstCodeExplainer::tableThatCannotServe_data() {
    QTest::addColumn<QString>("kind");
    QTest::newRow("missing") << "missing";
    QTest::newRow("not a table") << "garbage";
    QTest::newRow("without the split field") << "fields";
}

void TstCodeExplainer::tableThatCannotServe() {
    QFETCH(QString, kind);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("cf.db"));
    if (kind == QLatin1String("garbage")) {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(4096, '\x5a'));
    } else if (kind == QLatin1String("fields")) {
        writeTable(path, QStringLiteral("cf"), {"hz", "dm"}, {{"汉", "icy"}, {"继", "xonn"}, {"续", "xfnd"}});
    }
    CodeExplainer explainer(dir.path());
    for (int round = 0; round < 2; ++round) {
        QVERIFY(explainer.character(QStringLiteral("汉")).cells.isEmpty());
        QVERIFY(explainer.phrase(QStringLiteral("继续"), QStringLiteral("xoxf")).cells.isEmpty());
        QVERIFY(explainer.character(QStringLiteral("继")).text.isEmpty());
    }
}

// cf.db is held to wb.db: a row whose code is not the character's full code there (a consistent
// split of another code, or a character wb.db lacks) explains nothing, its phrases neither, and the
// fault, naming the table, the row and the field, is given once.
void TstCodeExplainer::codeThatIsNotTheFullCode() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QList<QStringList> rows = kRows;
    rows[0] = QStringList{"汉", "gggg", "王g"};
    rows << QStringList{"丁", "sgh", "丁s h3"};
    writeTable(dir.filePath(QStringLiteral("cf.db")), QStringLiteral("cf"), {"hz", "dm", "cf"}, rows);
    writeCodes(dir.path());
    CodeExplainer explainer(dir.path());
    QVERIFY(explainer.character(QStringLiteral("汉")).cells.isEmpty());
    QVERIFY(explainer.character(QStringLiteral("汉"), QStringLiteral("ic")).note.isEmpty());
    for (const QString& part :
         {QStringLiteral("cf.db"), QStringLiteral("第 1 行的字段 dm"), QStringLiteral("“gggg”不是 汉 的全码 icy")})
        QVERIFY2(explainer.fault().contains(part), qPrintable(explainer.fault()));
    QList<lexicon::TableError> faults = explainer.takeNewFaults();
    QCOMPARE(faults.size(), 1);
    QCOMPARE(faults[0].file(), dir.filePath(QStringLiteral("cf.db")));
    QVERIFY(explainer.character(QStringLiteral("丁")).cells.isEmpty());
    QVERIFY2(explainer.fault().contains(QStringLiteral("wb.db 中没有 丁")), qPrintable(explainer.fault()));

    // Sound rows go on being explained; the fault met again is not given again.
    QVERIFY(!explainer.character(QStringLiteral("王")).cells.isEmpty());
    QVERIFY(explainer.fault().isEmpty());
    QVERIFY(explainer.character(QStringLiteral("汉")).cells.isEmpty());
    QVERIFY(!explainer.character(QStringLiteral("继")).cells.isEmpty());
    faults = explainer.takeNewFaults();
    QCOMPARE(faults.size(), 1); // 丁's
    QVERIFY(explainer.phrase(QStringLiteral("汉王"), QStringLiteral("icgg")).cells.isEmpty());
    QVERIFY(explainer.takeNewFaults().isEmpty());
}

QTEST_GUILESS_MAIN(TstCodeExplainer)
#include "tst_code_explainer.moc"
