// The lookup page's state machine on small tables: by character, by phrase, by code and its
// prefix, and what cannot be looked up.

#include "code_lookup.h"
#include "fixture_tables.h"
#include "recording_pictures.h"
#include "schema.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using drills::CodeLookup;

namespace {

// 经 has every short code and no split; 汉 a split and no short code; 中国 and 重载 are phrases.
void writeTables(const QString& folder) {
    namespace s = lexicon::schema;
    QList<QStringList> codes{{"x", "经"},    {"xc", "经"},  {"xca", "经"},  {"xcag", "经"}, {"icy", "汉"},
                             {"k", "中"},    {"khk", "中"}, {"l", "国"},    {"lgyi", "国"}, {"tgf", "竽"},
                             {"tgfj", "竽"}, {"tgj", "重"}, {"tgjf", "重"}, {"lk", "载"},   {"fawg", "载"}};
    for (int n = 0; n < 45; ++n)
        codes << QStringList{QStringLiteral("aa%1").arg(QChar('a' + n % 25)) + QChar('a' + n / 25), gbCharacter(n)};
    // The first-level codes: wb.db leaves out those of the key names (人 w), and repeats others.
    writeTable(QDir(folder).filePath(s::kFirstLevelFile), s::kFirstLevelFile,
               {s::kCharacterCodes.code, s::kCharacterCodes.text}, {{"w", "人"}, {"x", "经"}});
    codes << QStringList{"wwww", "人"};
    writeTable(QDir(folder).filePath(s::kCharacterCodeFile), s::kCharacterCodeFile,
               {s::kCharacterCodes.code, s::kCharacterCodes.text}, codes);
    writeTable(QDir(folder).filePath(s::kPhraseCodeFile), s::kPhraseCodeFile,
               {s::kPhraseCodes.code, s::kPhraseCodes.text}, {{"khlg", "中国"}, {"tgfa", "重载"}, {"tgfl", "重国"}});
    writeTable(QDir(folder).filePath(s::kExplanationFile), s::kExplanationFile,
               {s::kExplanations.character, s::kExplanations.code, s::kExplanations.split},
               {{"汉", "icy", "氵i又c n1"}, {"经", "xcag", ""}});
}

// The page's state machine with its focus and a recording hint panel, on the tables in `folder`.
struct Lookup {
    explicit Lookup(const QString& folder) : d(focus, folder, pictures) {}
    controls::Focus focus;
    RecordingPictures pictures;
    CodeLookup d;
};

} // namespace

class TstCodeLookup : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        QVERIFY(m_dir.isValid());
        writeTables(m_dir.path());
    }
    void showingThePageFocusesTheBoxWithTheRootMap();
    void characters_data();
    void characters();
    void phrases_data();
    void phrases();
    void codes_data();
    void codes();
    void whatCannotBeLookedUp_data();
    void whatCannotBeLookedUp();
    void missingTablesAreSaid();
    void brokenRowsAreSaidAndLeftOut();

private:
    QTemporaryDir m_dir;
};

void TstCodeLookup::showingThePageFocusesTheBoxWithTheRootMap() {
    Lookup l(m_dir.path());
    CodeLookup& d = l.d;
    d.TabSheet8Show();
    QVERIFY(l.focus.has(d.Edit30));
    QCOMPARE(l.pictures.maps, QList<drills::KeyboardMap>{drills::KeyboardMap::Roots});
}

void TstCodeLookup::characters_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("full");
    QTest::addColumn<QStringList>("shortCodes");
    QTest::addColumn<bool>("split");
    QTest::newRow("every short code, no split") << "经"
                                                << "xcag" << QStringList{"x", "xc", "xca"} << false;
    QTest::newRow("split, no short code") << "汉"
                                          << "icy" << QStringList{"", "", ""} << true;
    QTest::newRow("a key name's first-level code from jm.db") << "人"
                                                              << "wwww" << QStringList{"w", "", ""} << false;
    QTest::newRow("blanks round it") << "  汉 "
                                     << "icy" << QStringList{"", "", ""} << true;
}

void TstCodeLookup::characters() {
    QFETCH(QString, text);
    QFETCH(QString, full);
    QFETCH(QStringList, shortCodes);
    QFETCH(bool, split);
    Lookup l(m_dir.path());
    CodeLookup& d = l.d;
    d.Edit30.setText(text);
    QCOMPARE(d.answer().characters.size(), 1);
    const drills::CharacterAnswer& a = d.answer().characters[0];
    QCOMPARE(a.character, text.trimmed());
    QCOMPARE(a.fullCode, full);
    QCOMPARE(a.shortCodes, shortCodes);
    QCOMPARE(!a.explanation.cells.isEmpty(), split);
    // What a screen reader hears holds the codes and the split, or says there is none.
    QVERIFY(a.text.contains(QStringLiteral("全码 ") + full));
    if (!shortCodes[0].isEmpty())
        QVERIFY(a.text.contains(QStringLiteral("一级简码 ") + shortCodes[0]));
    QVERIFY(a.text.contains(split ? QStringLiteral("识别码") : QStringLiteral("拆分暂无说明")));
    QVERIFY(d.answer().phrases.isEmpty() && d.answer().candidates.isEmpty());
    QCOMPARE(d.Label40.caption(), QStringLiteral("1 个字。"));
}

void TstCodeLookup::phrases_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("phrases");
    QTest::addColumn<QStringList>("codes");
    QTest::newRow("the whole text") << "中国" << QStringList{"中国"} << QStringList{"khlg"};
    QTest::newRow("inside a text") << "经中国汉" << QStringList{"中国"} << QStringList{"khlg"};
    // 重国 and 重载 overlap no further: the longest from the left wins, then the rest is read on.
    QTest::newRow("two in a row") << "中国重载" << QStringList{"中国", "重载"} << QStringList{"khlg", "tgfa"};
    QTest::newRow("not a phrase") << "国中" << QStringList{} << QStringList{};
}

void TstCodeLookup::phrases() {
    QFETCH(QString, text);
    QFETCH(QStringList, phrases);
    QFETCH(QStringList, codes);
    Lookup l(m_dir.path());
    CodeLookup& d = l.d;
    d.Edit30.setText(text);
    QStringList gotPhrases;
    QStringList gotCodes;
    for (const drills::PhraseAnswer& p : d.answer().phrases) {
        gotPhrases << p.phrase;
        gotCodes << p.code;
        QVERIFY(p.text.contains(p.code));
    }
    QCOMPARE(gotPhrases, phrases);
    QCOMPARE(gotCodes, codes);
    // Every character is still answered on its own.
    QCOMPARE(d.answer().characters.size(), text.size());
}

void TstCodeLookup::codes_data() {
    QTest::addColumn<QString>("letters");
    QTest::addColumn<QStringList>("candidates"); // "text code", the first few
    QTest::addColumn<int>("more");
    QTest::newRow("exact code first, then longer ones in code order")
        << "tgf" << QStringList{"竽 tgf", "重载 tgfa", "竽 tgfj", "重国 tgfl"} << 0;
    QTest::newRow("upper case is the same code")
        << "TGF" << QStringList{"竽 tgf", "重载 tgfa", "竽 tgfj", "重国 tgfl"} << 0;
    QTest::newRow("a full code") << "xcag" << QStringList{"经 xcag"} << 0;
    QTest::newRow("a first-level code gives what begins with it")
        << "x" << QStringList{"经 x", "经 xc", "经 xca", "经 xcag"} << 0;
    QTest::newRow("a first-level code only jm.db has") << "w" << QStringList{"人 w", "人 wwww"} << 0;
    QTest::newRow("more than the list holds") << "aa" << QStringList{gbCharacter(0) + " aaaa"} << 5;
    QTest::newRow("no code begins so") << "zz" << QStringList{} << 0;
}

void TstCodeLookup::codes() {
    QFETCH(QString, letters);
    QFETCH(QStringList, candidates);
    QFETCH(int, more);
    Lookup l(m_dir.path());
    CodeLookup& d = l.d;
    // Typed letter by letter, as the learner would.
    for (QChar c : letters)
        d.Edit30.type(c);
    QStringList got;
    for (const drills::Candidate& c : d.answer().candidates)
        got << c.text + QLatin1Char(' ') + c.code;
    QCOMPARE(got.mid(0, candidates.size()), candidates);
    QCOMPARE(d.answer().moreCandidates, more);
    if (more > 0)
        QCOMPARE(d.answer().candidates.size(), CodeLookup::kMostCandidates);
    QVERIFY(d.answer().characters.isEmpty());
    QVERIFY(d.Label40.caption().contains(candidates.isEmpty() ? QStringLiteral("没有以 ") : QStringLiteral("共 ")));
}

void TstCodeLookup::whatCannotBeLookedUp_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("characters"); // answered
    QTest::addColumn<QString>("said");
    QTest::newRow("outside GB2312") << "網" << 0 << "「網」（U+7DB2）不在 GB2312 字符集内";
    QTest::newRow("outside the BMP") << QString::fromUcs4(U"\U00020000") << 0 << "不在 GB2312 字符集内";
    QTest::newRow("a sign") << "，" << 0 << "「，」不是汉字";
    QTest::newRow("an emoji") << QString::fromUcs4(U"\U0001F600") << 0 << "不是汉字";
    QTest::newRow("mixed: the rest is still answered") << "汉,網" << 1 << "1 个字；「網」（U+7DB2）不在";
    QTest::newRow("letters and digits") << "ab1" << 0 << "「a」「b」「1」不是汉字";
    QTest::newRow("five letters are no code") << "abcde" << 0 << "五笔编码最多四个字母";
    QTest::newRow("too long") << QString(40, QChar(0x6C49)) << CodeLookup::kLongestText << "一次最多查 16 个字";
    QTest::newRow("a pasted megabyte") << QString(1 << 20, QChar(0x6C49)) << CodeLookup::kLongestText
                                       << "一次最多查 16 个字";
    QTest::newRow("a lone surrogate") << QString(QChar(0xD800)) << 0 << "不是汉字";
}

void TstCodeLookup::whatCannotBeLookedUp() {
    QFETCH(QString, text);
    QFETCH(int, characters);
    QFETCH(QString, said);
    Lookup l(m_dir.path());
    CodeLookup& d = l.d;
    d.Edit30.setText(text);
    QCOMPARE(d.answer().characters.size(), characters);
    QVERIFY2(d.Label40.caption().contains(said), qPrintable(d.Label40.caption()));
    // Emptied, the box asks for input again.
    d.Edit30.clear();
    QVERIFY(d.answer().characters.isEmpty() && d.answer().candidates.isEmpty());
    QVERIFY(d.Label40.caption().startsWith(QStringLiteral("输入汉字")));
}

void TstCodeLookup::missingTablesAreSaid() {
    QTemporaryDir empty;
    Lookup l(empty.path());
    CodeLookup& d = l.d;
    d.Edit30.setText(QStringLiteral("汉"));
    QVERIFY(d.answer().characters.isEmpty());
    QVERIFY2(d.Label40.caption().contains(QLatin1String(lexicon::schema::kCharacterCodeFile)),
             qPrintable(d.Label40.caption()));
    d.Edit30.setText(QStringLiteral("tgf"));
    QVERIFY(d.answer().candidates.isEmpty());
}

// A code no one can type in wb.db is said and left out, the rows after it read on; an explanation
// whose code is not the full code the page shows is not shown, and said.
void TstCodeLookup::brokenRowsAreSaidAndLeftOut() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    writeTables(dir.path());
    changeTable(dir.filePath(QStringLiteral("wb.db")), QStringLiteral("UPDATE wb SET dm = 'x1' WHERE dm = 'xc'"));
    changeTable(dir.filePath(QStringLiteral("cf.db")),
                QStringLiteral("UPDATE cf SET dm = 'gggg', cf = '王g' WHERE hz = '汉'"));
    Lookup l(dir.path());
    CodeLookup& d = l.d;
    d.Edit30.setText(QStringLiteral("汉"));
    QCOMPARE(d.answer().characters.size(), 1);
    QCOMPARE(d.answer().characters[0].fullCode, QStringLiteral("icy"));
    QVERIFY(d.answer().characters[0].explanation.cells.isEmpty());
    // The first fault met is said first: the code table's.
    QVERIFY2(d.Label40.caption().contains(QStringLiteral("wb.db")) &&
                 d.Label40.caption().contains(QStringLiteral("“x1”不是五笔编码")),
             qPrintable(d.Label40.caption()));
    // The rows after the broken one were read: 经's full code and 重's.
    d.Edit30.setText(QStringLiteral("经重"));
    QCOMPARE(d.answer().characters.size(), 2);
    QCOMPARE(d.answer().characters[0].fullCode, QStringLiteral("xcag"));
    QCOMPARE(d.answer().characters[1].fullCode, QStringLiteral("tgjf"));
    QVERIFY(!d.answer().characters[0].shortCodes.contains(QStringLiteral("x1")));

    // With wb.db sound, the explanation's fault is what the line says.
    writeTables(dir.path());
    changeTable(dir.filePath(QStringLiteral("cf.db")),
                QStringLiteral("UPDATE cf SET dm = 'gggg', cf = '王g' WHERE hz = '汉'"));
    Lookup sound(dir.path());
    sound.d.Edit30.setText(QStringLiteral("汉"));
    QVERIFY(sound.d.answer().characters[0].explanation.cells.isEmpty());
    QVERIFY2(sound.d.Label40.caption().contains(QStringLiteral("cf.db")) &&
                 sound.d.Label40.caption().contains(QStringLiteral("“gggg”不是 汉 的全码 icy")),
             qPrintable(sound.d.Label40.caption()));
    sound.d.Edit30.setText(QStringLiteral("经"));
    QVERIFY(!sound.d.Label40.caption().contains(QStringLiteral("cf.db")));
}

QTEST_GUILESS_MAIN(TstCodeLookup)
#include "tst_code_lookup.moc"
