// The lookup page's state machine on small tables: by character, by phrase, by code, its prefix and
// its any-letter key, a click on a candidate, and what cannot be looked up.

#include "code_lookup.h"
#include "fixture_tables.h"
#include "recording_pictures.h"
#include "schema.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using drills::CodeLookup;

namespace {

// 经 has every short code and no split; 汉 a split and no short code; 大 the short code dd the
// drills' tables leave out of wb.db; 中国 and 重载 are phrases.
void writeTables(const QString& folder) {
    namespace s = lexicon::schema;
    // As the dictionary gives them: by code, then as an input method lists them.
    QList<QStringList> codes{{"d", "大"},   {"dd", "大"},   {"dddd", "大"}, {"icy", "汉"},  {"k", "中"},
                             {"khk", "中"}, {"l", "国"},    {"lgyi", "国"}, {"lk", "载"},   {"fawg", "载"},
                             {"tgf", "竽"}, {"tgfj", "竽"}, {"tgj", "重"},  {"tgjf", "重"}, {"x", "经"},
                             {"xc", "经"},  {"xca", "经"},  {"xcag", "经"}, {"xd", "红"},   {"xdag", "红"}};
    for (int n = 0; n < 45; ++n)
        codes << QStringList{QStringLiteral("aa%1").arg(QChar('a' + n % 26)) + QChar('a' + n / 26), gbCharacter(n)};
    std::sort(codes.begin(), codes.end(), [](const QStringList& a, const QStringList& b) { return a[0] < b[0]; });
    // The explanations are held to the full codes of wb.db.
    writeTable(QDir(folder).filePath(s::kCharacterCodeFile), s::kCharacterCodeFile,
               {s::kCharacterCodes.code, s::kCharacterCodes.text}, codes);
    writeTable(QDir(folder).filePath(s::kLookupCodeFile), s::kLookupCodeFile,
               {s::kCharacterCodes.code, s::kCharacterCodes.text}, codes);
    writeTable(QDir(folder).filePath(s::kPhraseCodeFile), s::kPhraseCodeFile,
               {s::kPhraseCodes.code, s::kPhraseCodes.text},
               {{"khlg", "中国"}, {"tgfa", "重载"}, {"tgfl", "重国"}, {"xcxd", "经红"}});
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

// "text code kind" for each candidate of each code looked up, a code's list after "编码 code:".
QStringList candidates(const drills::LookupAnswer& a) {
    QStringList out;
    for (const drills::CodeAnswer& c : a.codes) {
        if (a.codes.size() > 1)
            out << "编码 " + c.code + ":";
        for (const drills::Candidate& k : c.candidates)
            out << k.text + ' ' + k.code + ' ' + k.kind;
    }
    return out;
}

QStringList phrasesOf(const drills::LookupAnswer& a) {
    QStringList out;
    for (const drills::PhraseAnswer& p : a.phrases)
        out << p.phrase + ' ' + p.code;
    return out;
}

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
    void aClickedCandidateIsLookedUp();
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
    QTest::newRow("a key name's short codes") << "大"
                                              << "dddd" << QStringList{"d", "dd", ""} << false;
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
    // What a screen reader hears holds every code by its name, and the split or that there is none.
    QVERIFY(a.text.contains(QStringLiteral("全码 ") + full));
    for (int level = 1; level <= 3; ++level)
        QCOMPARE(a.text.contains(drills::shortCodeName(level) + ' ' + shortCodes[level - 1]),
                 !shortCodes[level - 1].isEmpty());
    QVERIFY(a.text.contains(split ? QStringLiteral("识别码") : QStringLiteral("拆分暂无说明")));
    QVERIFY(d.answer().phrases.isEmpty() && d.answer().codes.isEmpty());
    QCOMPARE(d.Label40.caption(), QStringLiteral("1 个字。"));
}

void TstCodeLookup::phrases_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("phrases");
    QTest::addColumn<int>("characters");
    QTest::newRow("the whole text") << "中国" << QStringList{"中国 khlg"} << 2;
    QTest::newRow("inside a text") << "经中国汉" << QStringList{"中国 khlg"} << 4;
    // 重国 and 重载 overlap no further: the longest from the left wins, then the rest is read on.
    QTest::newRow("two in a row") << "中国重载" << QStringList{"中国 khlg", "重载 tgfa"} << 4;
    QTest::newRow("not a phrase") << "国中" << QStringList{} << 2;
    // A phrase is characters side by side: anything between them parts them.
    QTest::newRow("a comma between") << "中，国" << QStringList{} << 2;
    QTest::newRow("a blank between") << "中 国" << QStringList{} << 2;
    QTest::newRow("a wide blank between") << "中　国" << QStringList{} << 2;
    QTest::newRow("a zero-width space between") << QStringLiteral("中\u200B国") << QStringList{} << 2;
    QTest::newRow("a letter between") << "中x国" << QStringList{} << 2;
    QTest::newRow("apart, then side by side") << "中 国重载" << QStringList{"重载 tgfa"} << 4;
}

void TstCodeLookup::phrases() {
    QFETCH(QString, text);
    QFETCH(QStringList, phrases);
    QFETCH(int, characters);
    Lookup l(m_dir.path());
    CodeLookup& d = l.d;
    d.Edit30.setText(text);
    QCOMPARE(phrasesOf(d.answer()), phrases);
    for (const drills::PhraseAnswer& p : d.answer().phrases)
        QVERIFY(p.text.contains(p.code));
    // Every character is still answered on its own.
    QCOMPARE(d.answer().characters.size(), characters);
}

void TstCodeLookup::codes_data() {
    QTest::addColumn<QString>("letters");
    QTest::addColumn<QStringList>("candidates"); // the first few
    QTest::addColumn<int>("more");
    QTest::newRow("exact code first, then longer ones in code order")
        << "tgf" << QStringList{"竽 tgf 三级简码", "重载 tgfa 词组", "竽 tgfj 全码", "重国 tgfl 词组"} << 0;
    QTest::newRow("upper case is the same code")
        << "TGF" << QStringList{"竽 tgf 三级简码", "重载 tgfa 词组", "竽 tgfj 全码", "重国 tgfl 词组"} << 0;
    QTest::newRow("a full code") << "xcag" << QStringList{"经 xcag 全码"} << 0;
    QTest::newRow("a three-letter full code") << "icy" << QStringList{"汉 icy 全码"} << 0;
    QTest::newRow("a first-level code gives what begins with it")
        << "x" << QStringList{"经 x 一级简码", "经 xc 二级简码", "经 xca 三级简码", "经 xcag 全码", "经红 xcxd 词组"}
        << 0;
    QTest::newRow("a key name's short codes")
        << "d" << QStringList{"大 d 一级简码", "大 dd 二级简码", "大 dddd 全码"} << 0;
    QTest::newRow("more than the list holds") << "aa" << QStringList{gbCharacter(0) + " aaaa 全码"} << 5;
    QTest::newRow("no code begins so") << "qq" << QStringList{} << 0;
    // z stands for any letter: codes of its length first, then the longer ones.
    QTest::newRow("z for the second letter")
        << "xz" << QStringList{"经 xc 二级简码", "红 xd 二级简码", "经 xca 三级简码", "经 xcag 全码"} << 0;
    QTest::newRow("z for the first letter") << "zcag" << QStringList{"经 xcag 全码"} << 0;
    QTest::newRow("two codes apart") << "xc  tgj" << QStringList{"编码 xc:",        "经 xc 二级简码", "经 xca 三级简码",
                                                                 "经 xcag 全码",    "经红 xcxd 词组", "编码 tgj:",
                                                                 "重 tgj 三级简码", "重 tgjf 全码"}
                                     << 0;
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
    const QStringList got = ::candidates(d.answer());
    QCOMPARE(got.mid(0, candidates.size()), candidates);
    int gotMore = 0;
    for (const drills::CodeAnswer& c : d.answer().codes)
        gotMore += c.moreCandidates;
    QCOMPARE(gotMore, more);
    QVERIFY(d.answer().characters.isEmpty());
    QVERIFY2(d.Label40.caption().contains(candidates.isEmpty() ? QStringLiteral("没有以 ") : QStringLiteral("共 ")),
             qPrintable(d.Label40.caption()));
    if (letters.contains('z'))
        QVERIFY(d.Label40.caption().contains(QStringLiteral("z 代表任一字母")));
}

void TstCodeLookup::aClickedCandidateIsLookedUp() {
    Lookup l(m_dir.path());
    CodeLookup& d = l.d;
    d.Edit30.setText(QStringLiteral("tgf"));
    d.candidateClick(0, 1);
    QCOMPARE(d.Edit30.text(), QStringLiteral("重载"));
    QVERIFY(l.focus.has(d.Edit30));
    QCOMPARE(phrasesOf(d.answer()), QStringList{"重载 tgfa"});
    // A click on what is no longer listed does nothing.
    d.candidateClick(0, 1);
    d.candidateClick(3, 0);
    QCOMPARE(d.Edit30.text(), QStringLiteral("重载"));
}

void TstCodeLookup::whatCannotBeLookedUp_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("characters"); // answered
    QTest::addColumn<QString>("said");
    QTest::newRow("outside GB2312") << "網" << 0 << "「網」（U+7DB2）不在 GB2312 字符集内";
    QTest::newRow("outside the BMP") << QString::fromUcs4(U"\U00020000") << 0
                                     << "「" + QString::fromUcs4(U"\U00020000") + "」（U+20000）不在 GB2312 字符集内";
    QTest::newRow("a sign") << "，" << 0 << "「，」不是汉字";
    // 々 is a sign of GB2312 (A1A9), with no code.
    QTest::newRow("the iteration mark") << "々" << 0 << "「々」不是汉字，没有五笔编码";
    QTest::newRow("an emoji") << QString::fromUcs4(U"\U0001F600") << 0
                              << "「" + QString::fromUcs4(U"\U0001F600") + "」（U+1F600）不是汉字";
    QTest::newRow("mixed: the rest is still answered") << "汉,網" << 1 << "1 个字；「網」（U+7DB2）不在";
    QTest::newRow("a code, and a digit") << "ab1" << 0 << "「1」不是汉字";
    QTest::newRow("five letters are no code") << "abcde" << 0 << "五笔编码最多四个字母";
    QTest::newRow("too long") << QString(40, QChar(0x6C49)) << CodeLookup::kLongestText << "一次最多查 16 个字";
    QTest::newRow("a pasted megabyte") << QString(1 << 20, QChar(0x6C49)) << CodeLookup::kLongestText
                                       << "一次最多查 16 个字";
    QTest::newRow("a lone surrogate") << QString(QChar(0xD800)) << 0 << "「U+D800」不是汉字";
    QTest::newRow("a control character") << QStringLiteral("汉\u0001") << 1 << "「U+0001」不是汉字";
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
    QVERIFY(!d.Label40.caption().contains(QStringLiteral("GB2312 字符集内")) || !text.contains(u'々'));
    // Emptied, the box asks for input again.
    d.Edit30.clear();
    QVERIFY(d.answer().characters.isEmpty() && d.answer().codes.isEmpty());
    QVERIFY(d.Label40.caption().startsWith(QStringLiteral("输入汉字")));
}

void TstCodeLookup::missingTablesAreSaid() {
    QTemporaryDir empty;
    Lookup l(empty.path());
    CodeLookup& d = l.d;
    d.Edit30.setText(QStringLiteral("汉"));
    QVERIFY(d.answer().characters.isEmpty());
    QVERIFY2(d.Label40.caption().contains(QLatin1String(lexicon::schema::kLookupCodeFile)),
             qPrintable(d.Label40.caption()));
    d.Edit30.setText(QStringLiteral("tgf"));
    QVERIFY(d.answer().codes.isEmpty());
    // The tables put in place, the next lookup finds them.
    writeTables(empty.path());
    d.Edit30.setText(QStringLiteral("汉"));
    QCOMPARE(d.answer().characters.size(), 1);
    QCOMPARE(d.Label40.caption(), QStringLiteral("1 个字。"));
}

// A code no one can type met on the way is said, and that lookup answers nothing rather than half
// an answer; lookups that do not meet it answer as before. An explanation whose code is not the
// full code the page shows is not shown, and said.
void TstCodeLookup::brokenRowsAreSaidAndLeftOut() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    writeTables(dir.path());
    const QString codes = QLatin1String(lexicon::schema::kLookupCodeFile);
    changeTable(dir.filePath(codes), QStringLiteral("UPDATE bm SET dm = 'x1' WHERE dm = 'xc'"));
    changeTable(dir.filePath(QStringLiteral("cf.db")),
                QStringLiteral("UPDATE cf SET dm = 'gggg', cf = '王g' WHERE hz = '汉'"));
    Lookup l(dir.path());
    CodeLookup& d = l.d;
    d.Edit30.setText(QStringLiteral("经"));
    QVERIFY(d.answer().characters.isEmpty());
    QVERIFY2(d.Label40.caption().contains(codes) && d.Label40.caption().contains(QStringLiteral("“x1”不是五笔编码")),
             qPrintable(d.Label40.caption()));
    // 汉's rows are sound; its explanation is of another code, so it is not shown, and said.
    d.Edit30.setText(QStringLiteral("汉"));
    QCOMPARE(d.answer().characters.size(), 1);
    QCOMPARE(d.answer().characters[0].fullCode, QStringLiteral("icy"));
    QVERIFY(d.answer().characters[0].explanation.cells.isEmpty());
    QVERIFY2(d.Label40.caption().contains(QStringLiteral("cf.db")) &&
                 d.Label40.caption().contains(QStringLiteral("“gggg”不是 汉 的全码 icy")),
             qPrintable(d.Label40.caption()));
    d.Edit30.setText(QStringLiteral("重"));
    QCOMPARE(d.answer().characters[0].fullCode, QStringLiteral("tgjf"));
    QVERIFY(!d.Label40.caption().contains(QStringLiteral("cf.db")));
}

QTEST_GUILESS_MAIN(TstCodeLookup)
#include "tst_code_lookup.moc"
