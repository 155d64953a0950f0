// The code rules behind the hint's explanation: the identification letter, the rules for key
// names, character roots and split characters, the phrase rule of each length, and the cf.db field
// they read.

#include "code_explainer.h"
#include "code_explanation.h"

#include <QTest>

using namespace drills;

class TstCodeExplanation : public QObject {
    Q_OBJECT
private slots:
    void identificationLetter_data();
    void identificationLetter();
    void codeOfField_data();
    void codeOfField();
    void fieldsThatAreNoSplit_data();
    void fieldsThatAreNoSplit();
    void explanation_data();
    void explanation();
    void phraseRule_data();
    void phraseRule();
    void cells_data();
    void cells();
    void exception();
    void shortCodeNote_data();
    void shortCodeNote();
    void phrasePlace_data();
    void phrasePlace();
};

// One real character of two roots for every last stroke and shape, with its dictionary code: the
// zone comes from the last stroke, the key within it from the shape.
void TstCodeExplanation::identificationLetter_data() {
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("code");
    QTest::newRow("和 横 左右") << "禾t口k h1"
                                << "tkg";
    QTest::newRow("要 横 上下") << "西s女v h2"
                                << "svf";
    QTest::newRow("主 横 杂合") << "丶y王g h3"
                                << "ygd";
    QTest::newRow("划 竖 左右") << "戈a刂j s1"
                                << "ajh";
    QTest::newRow("节 竖 上下") << "艹a卩b s2"
                                << "abj";
    QTest::newRow("中 竖 杂合") << "口k丨h s3"
                                << "khk";
    QTest::newRow("戏 撇 左右") << "又c戈a p1"
                                << "cat";
    QTest::newRow("步 撇 上下") << "止h小i p2"
                                << "hir";
    QTest::newRow("产 撇 杂合") << "立u丿t p3"
                                << "ute";
    QTest::newRow("取 捺 左右") << "耳b又c n1"
                                << "bcy";
    QTest::newRow("贡 捺 上下") << "工a贝m n2"
                                << "amu";
    QTest::newRow("不 捺 杂合") << "一g小i n3"
                                << "gii";
    QTest::newRow("地 折 左右") << "土f也b z1"
                                << "fbn";
    QTest::newRow("芭 折 上下") << "艹a巴c z2"
                                << "acb";
    QTest::newRow("世 折 杂合") << "廿a乙n z3"
                                << "anv";
}

void TstCodeExplanation::identificationLetter() {
    QFETCH(QString, field);
    QFETCH(QString, code);
    const std::optional<Split> split = parseSplit(field);
    QVERIFY(split);
    QCOMPARE(QString(drills::identificationLetter(split->last, split->shape)), code.right(1));
    QCOMPARE(codeOf(*split), code);
    QVERIFY(isIdentificationLetter(code.back()));
    // The keys past the third of each zone close no code.
    for (QChar c : QStringLiteral("aslmqwopcx"))
        QVERIFY2(!isIdentificationLetter(c), qPrintable(QString(c)));
}

// Real characters with their dictionary codes.
void TstCodeExplanation::codeOfField_data() {
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("code");
    QTest::addColumn<int>("roots");
    QTest::newRow("key name 王") << "王g"
                                 << "gggg" << 1;
    QTest::newRow("character root 五") << "五g hsh"
                                       << "gghg" << 1;
    QTest::newRow("character root of two strokes 八") << "八w pn"
                                                      << "wty" << 1;
    QTest::newRow("single stroke 一") << "一g h"
                                      << "ggll" << 1;
    QTest::newRow("two roots 汉") << "氵i又c n1"
                                  << "icy" << 2;
    QTest::newRow("two roots, picture 有") << "23d月e h2"
                                           << "def" << 2;
    QTest::newRow("three roots 国") << "囗l王g丶y n3"
                                    << "lgyi" << 3;
    QTest::newRow("named picture root 革") << "廿a革字底13f s2"
                                           << "afj" << 2;
    QTest::newRow("four roots 提") << "扌r日j一g止h"
                                   << "rjgh" << 4;
    QTest::newRow("more than four 餐") << "41h夕q又c人w丶y彐v良底95e"
                                       << "hqce" << 7;
}

void TstCodeExplanation::codeOfField() {
    QFETCH(QString, field);
    QFETCH(QString, code);
    QFETCH(int, roots);
    const std::optional<Split> split = parseSplit(field);
    QVERIFY(split);
    QCOMPARE(split->roots.size(), roots);
    QCOMPARE(codeOf(*split), code);
}

void TstCodeExplanation::fieldsThatAreNoSplit_data() {
    QTest::addColumn<QString>("field");
    QTest::newRow("empty") << "";
    QTest::newRow("no key") << "氵又c n1";
    QTest::newRow("key out of range") << "氵z又c n1";
    QTest::newRow("two roots without identification") << "氵i又c";
    QTest::newRow("shape out of range") << "氵i又c n4";
    QTest::newRow("bad stroke") << "氵i又c x1";
    QTest::newRow("four roots with identification") << "扌r日j一g止h n1";
    QTest::newRow("character root with shape") << "五g h1";
    QTest::newRow("trailing space") << "王g ";
    QTest::newRow("picture 0") << "0d月e h2";
    QTest::newRow("picture past the roots") << "1000d月e h2";
    QTest::newRow("picture past any integer") << "12345678901a月e h2";
}

void TstCodeExplanation::fieldsThatAreNoSplit() {
    QFETCH(QString, field);
    QVERIFY(!parseSplit(field));
}

void TstCodeExplanation::explanation_data() {
    QTest::addColumn<QString>("character");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("text");
    QTest::newRow("key name") << "王"
                              << "王g"
                              << "王：键名字，键名 g 连打四次 ＝ gggg";
    QTest::newRow("character root") << "五"
                                    << "五g hsh"
                                    << "五：成字字根，键 g ＋ 首笔横 g ＋ 次笔竖 h ＋ 末笔横 g ＝ gghg";
    QTest::newRow("single stroke") << "一"
                                   << "一g h"
                                   << "一：单笔画，g g ＋ l l ＝ ggll";
    QTest::newRow("identification") << "汉"
                                    << "氵i又c n1"
                                    << "汉：氵 i ＋ 又 c ＋ 识别码 y（末笔捺，左右型） ＝ icy";
    QTest::newRow("picture") << "有"
                             << "23d月e h2"
                             << "有：字根图23 d ＋ 月 e ＋ 识别码 f（末笔横，上下型） ＝ def";
    QTest::newRow("skipped roots") << "餐"
                                   << "41h夕q又c人w丶y彐v良底95e"
                                   << "餐：字根图41 h ＋ 夕 q ＋ 又 c ＋ （人） ＋ （丶） ＋ （彐） ＋ 良底 e ＝ hqce";
}

void TstCodeExplanation::explanation() {
    QFETCH(QString, character);
    QFETCH(QString, field);
    QFETCH(QString, text);
    const std::optional<Split> split = parseSplit(field);
    QVERIFY(split);
    QCOMPARE(explanationText(character, *split), text);
}

void TstCodeExplanation::phraseRule_data() {
    QTest::addColumn<QStringList>("codes");
    QTest::addColumn<QStringList>("letters");
    // 继续 xoxf, 计算机 ytsm, 知识分子 tywb, 中华人民共和国 kwwl: the dictionary's phrase codes.
    QTest::newRow("two") << QStringList{"xonn", "xfnd"} << QStringList{"xo", "xf"};
    QTest::newRow("three") << QStringList{"yfh", "thag", "smn"} << QStringList{"y", "t", "sm"};
    QTest::newRow("four") << QStringList{"tdkg", "ykwy", "wvb", "bbbb"} << QStringList{"t", "y", "w", "b"};
    QTest::newRow("seven") << QStringList{"khk", "wxfj", "wwww", "nav", "awu", "tgkg", "lgyi"}
                           << QStringList{"k", "w", "w", "", "", "", "l"};
    QTest::newRow("one") << QStringList{"khk"} << QStringList{};
    QTest::newRow("missing code") << QStringList{"khk", ""} << QStringList{};
}

void TstCodeExplanation::phraseRule() {
    QFETCH(QStringList, codes);
    QFETCH(QStringList, letters);
    QCOMPARE(phraseLetters(codes), letters);
}

// The strip's columns, top over letters: every root in writing order, the ones the code does not
// take marked and without a letter ("-" below), then the identification letter under its reason.
void TstCodeExplanation::cells_data() {
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("cells");
    QTest::newRow("key name") << "王g"
                              << "王:gggg 键名:";
    QTest::newRow("character root") << "五g hsh"
                                    << "五:g 横:g 竖:h 横:g";
    QTest::newRow("single stroke") << "一g h"
                                   << "一:gg 单笔:ll";
    QTest::newRow("two roots") << "氵i又c n1"
                               << "氵:i 又:c 捺左右:y";
    QTest::newRow("four roots") << "扌r日j一g止h"
                                << "扌:r 日:j 一:g 止:h";
    QTest::newRow("seven roots") << "41h夕q又c人w丶y彐v良底95e"
                                 << "#41:h 夕:q 又:c 人:- 丶:- 彐:- #95:e";
}

void TstCodeExplanation::cells() {
    QFETCH(QString, field);
    QFETCH(QString, cells);
    const std::optional<Split> split = parseSplit(field);
    QVERIFY(split);
    QStringList got;
    for (const ExplanationCell& c : cellsOf(*split)) {
        QVERIFY(c.counted || c.letters.isEmpty());
        got << (c.picture ? QStringLiteral("#%1").arg(c.picture) : c.top) + QLatin1Char(':') +
                   (c.counted ? c.letters : QStringLiteral("-"));
    }
    QCOMPARE(got.join(QLatin1Char(' ')), cells);
}

// 哀 is coded yeu (衣) though its roots 亠 口 衣底 give yke: its split is shown, its code is the
// table's, and the strip and the words say which rule the code breaks; 官 pnhn takes its two frames
// and the vertical in another order than they are written.
void TstCodeExplanation::exception() {
    const std::optional<Split> split = parseSplit(u"亠y口k94e !r");
    QVERIFY(split);
    QVERIFY(split->exception);
    QCOMPARE(split->roots.size(), 3);
    QVERIFY(codeOf(*split).isEmpty());
    QVERIFY(explains(*split, QStringLiteral("yeu")));
    QVERIFY(!explains(*split, QString()));
    QCOMPARE(explanationText(QStringLiteral("哀"), *split, QStringLiteral("yeu")),
             QStringLiteral("哀：亠 ＋ 口 ＋ 字根图94；编码 yeu 是词典的例外，取的字根不是这个字写出来的字根"));
    const QList<ExplanationCell> cells = cellsOf(*split, QStringLiteral("yeu"));
    QCOMPARE(cells.size(), 4);
    QVERIFY(cells[0].letters.isEmpty());
    QCOMPARE(cells.last().top, QStringLiteral("字根例外"));
    QCOMPARE(cells.last().letters, QStringLiteral("yeu"));

    const std::optional<Split> order = parseSplit(u"宀p丨h左框159n左框159n !o");
    QVERIFY(order && order->exception);
    QCOMPARE(cellsOf(*order, QStringLiteral("pnhn")).last().top, QStringLiteral("码序例外"));
    QVERIFY(explanationText(QStringLiteral("官"), *order, QStringLiteral("pnhn")).endsWith(u"不按书写顺序取字根"));
    // A bare "!" (a table written before the rule was named) is still an exception.
    QCOMPARE(cellsOf(*parseSplit(u"亠y口k94e !"), QStringLiteral("yeu")).last().top, QStringLiteral("例外"));
    QVERIFY(!parseSplit(u"亠y口k94e !!"));
    QVERIFY(!parseSplit(u"亠y口k94e !x"));
}

// The note under a short code, and whether the words read out name a first-level code first.
void TstCodeExplanation::shortCodeNote_data() {
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("full");
    QTest::addColumn<QString>("note");
    QTest::addColumn<bool>("named");
    QTest::newRow("full code") << "icy"
                               << "icy"
                               << "" << false;
    QTest::newRow("first level, not a prefix") << "v"
                                               << "ntcy"
                                               << "全码 ntcy\n一级简码" << true;
    QTest::newRow("first level, a prefix") << "a"
                                           << "aaaa"
                                           << "全码 aaaa\n一级简码" << true;
    QTest::newRow("second level") << "gd"
                                  << "gdi"
                                  << "全码 gdi\n取前两码" << false;
    QTest::newRow("third level") << "rwi"
                                 << "rwih"
                                 << "全码 rwih\n取前三码" << false;
    QTest::newRow("not a prefix") << "gf"
                                  << "gdi"
                                  << "" << false;
    QTest::newRow("nothing shown") << ""
                                   << "gdi"
                                   << "" << false;
    QTest::newRow("no full code") << "g"
                                  << ""
                                  << "" << false;
}

void TstCodeExplanation::shortCodeNote() {
    QFETCH(QString, shown);
    QFETCH(QString, full);
    QFETCH(QString, note);
    QFETCH(bool, named);
    QCOMPARE(drills::shortCodeNote(shown, full), note);
    const QString text = QStringLiteral("汉：氵 i ＋ 又 c ＋ 识别码 y（末笔捺，左右型） ＝ icy");
    QCOMPARE(shortCodeText(shown, full, text), named ? QStringLiteral("一级简码 %1；全码 ").arg(shown) + text : text);
    QVERIFY(shortCodeText(shown, full, QString()).isEmpty());
}

void TstCodeExplanation::phrasePlace_data() {
    QTest::addColumn<QString>("phrase");
    QTest::addColumn<int>("place");
    QTest::newRow("nothing") << "" << int(PhrasePlace::None);
    QTest::newRow("one character") << "继" << int(PhrasePlace::None);
    QTest::newRow("two") << "继续" << int(PhrasePlace::Hint);
    QTest::newRow("four") << "知识分子" << int(PhrasePlace::Hint);
    QTest::newRow("five") << "中央书记处" << int(PhrasePlace::LongPhrasePanel);
    QTest::newRow("seven") << "中华人民共和国" << int(PhrasePlace::LongPhrasePanel);
}

void TstCodeExplanation::phrasePlace() {
    QFETCH(QString, phrase);
    QFETCH(int, place);
    QCOMPARE(int(drills::phrasePlace(phrase)), place);
}

QTEST_GUILESS_MAIN(TstCodeExplanation)
#include "tst_code_explanation.moc"
