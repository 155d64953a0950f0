// The lexicon table member on small fixture tables: the lookups the drills rely on, and the
// broken tables the program must refuse with one clear error instead of crashing.

#include "data_folder.h"
#include "fixture_tables.h"
#include "schema.h"
#include "table.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sqlite3.h>

#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using lexicon::Table;
using lexicon::TableError;

namespace {

const QString kFixtures = QStringLiteral(VARDELO_TEST_DATA_DIR "/lexicon");

QString good() {
    return kFixtures + QStringLiteral("/good");
}

QByteArray contents(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class TstTable : public QObject {
    Q_OBJECT

private slots:
    void locate_data();
    void locate();
    void firstRowIsCurrentAfterEveryOpen();
    void emptyTextFindsOnlyAnEmptyField();
    void everyMatchInTableOrder();
    void rowsWithAndMatching();
    void emptyTableReadsEmpty();
    void unknownFieldIsAnError();
    void brokenTable_data();
    void brokenTable();
    void readValue_data();
    void readValue();
    void errorCarriesItsParts();
    void unreadableFile();
    void unsearchableFolder();
    void tableFileIsNeverTouched();
    void dataFolder();
    void phraseBatchFolder();
};

// Each case first locates `before` (to make a known row current), then the lookup under test, and
// reads both fields of whatever row is current afterwards.
void TstTable::locate_data() {
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("found");
    QTest::addColumn<QString>("dm");
    QTest::addColumn<QString>("hz");

    QTest::newRow("first match in table order") << "a"
                                                << "dm"
                                                << "aa" << true << "aa"
                                                << "式";
    QTest::newRow("first match by character") << "A"
                                              << "hz"
                                              << "工" << true << "a"
                                              << "工";
    QTest::newRow("case-sensitive: upper") << "a"
                                           << "dm"
                                           << "A" << true << "A"
                                           << "大";
    QTest::newRow("case-sensitive: no folding") << "aa"
                                                << "dm"
                                                << "AA" << false << "aa"
                                                << "式";
    QTest::newRow("whole field, no prefix match") << "A"
                                                  << "dm"
                                                  << "aaa" << false << "A"
                                                  << "大";
    QTest::newRow("miss keeps the current row") << "A"
                                                << "dm"
                                                << "zz" << false << "A"
                                                << "大";
    QTest::newRow("empty text finds nothing") << "aaaa"
                                              << "dm"
                                              << "" << false << "aaaa"
                                              << "工";
    QTest::newRow("NULL field reads empty") << "a"
                                            << "dm"
                                            << "x" << true << "x"
                                            << "";
    QTest::newRow("trailing blank is not ignored") << "A"
                                                   << "dm"
                                                   << "a " << false << "A"
                                                   << "大";
}

void TstTable::locate() {
    QFETCH(QString, before);
    QFETCH(QString, field);
    QFETCH(QString, text);
    QFETCH(bool, found);
    QFETCH(QString, dm);
    QFETCH(QString, hz);

    Table t(QStringLiteral("Table1"));
    t.open(good(), QStringLiteral("wb.db"));
    QVERIFY(t.locate(QStringLiteral("dm"), before));
    QCOMPARE(t.locate(field, text), found);
    // The fixture's capital code tells a case-sensitive locate from one that folds case; as a code
    // no one can type, it is refused when read.
    if (dm == QLatin1String("A"))
        QVERIFY_THROWS_EXCEPTION(TableError, t.read(QStringLiteral("dm")));
    else
        QCOMPARE(t.read(QStringLiteral("dm")), dm);
    QCOMPARE(t.read(QStringLiteral("hz")), hz);
    // Reading twice is the same row: a read never moves it.
    QCOMPARE(t.read(QStringLiteral("hz")), hz);
}

void TstTable::firstRowIsCurrentAfterEveryOpen() {
    Table t(QStringLiteral("Table1"));
    t.open(good(), QStringLiteral("wb.db"));
    QCOMPARE(t.read(QStringLiteral("hz")), QStringLiteral("工"));
    QVERIFY(t.locate(QStringLiteral("dm"), QStringLiteral("A")));
    t.close();
    QVERIFY(!t.isOpen());
    t.open(good(), QStringLiteral("wb.db"));
    QCOMPARE(t.read(QStringLiteral("dm")), QStringLiteral("a"));

    // Reopening without a close in between, and on another table, starts at its first row too.
    QVERIFY(t.locate(QStringLiteral("dm"), QStringLiteral("aa")));
    t.open(good(), QStringLiteral("zk.db"));
    QCOMPARE(t.read(QStringLiteral("no")), QStringLiteral("100"));
    QCOMPARE(t.read(QStringLiteral("n15")), QStringLiteral("金"));
}

// Several rows at once, as the lookup page asks: every row holding a text in table order, and the
// rows a pattern matches in the field's order, at most so many, with how many match in all. A bad
// value met on the way fails as a read does.
void TstTable::rowsWithAndMatching() {
    QTemporaryDir dir;
    const QString path = QDir(dir.path()).filePath(QStringLiteral("bm.db"));
    writeTable(path, QStringLiteral("bm"), {QStringLiteral("dm"), QStringLiteral("hz")},
               {{"xcag", "经"}, {"x", "经"}, {"xa", "红"}, {"xc", "经"}, {"xca", "经"}, {"xb", "弱"}, {"tgf", "竽"}});
    Table t(QStringLiteral("Table6"));
    t.open(dir.path(), QStringLiteral("bm.db"));
    QStringList got;
    t.forEachMatch(QStringLiteral("hz"), QStringLiteral("经"), [&] { got << t.read(QStringLiteral("dm")); });
    QCOMPARE(got, (QStringList{"xcag", "x", "xc", "xca"}));

    const auto matching = [&](const QString& pattern, int most, int expectFound) {
        QStringList codes;
        const int found =
            t.forEachRowMatching(QStringLiteral("dm"), pattern, most, [&] { codes << t.read(QStringLiteral("dm")); });
        if (found != expectFound)
            qWarning("%s: %d found", qPrintable(pattern), found);
        return found == expectFound ? codes : QStringList{QStringLiteral("wrong count")};
    };
    QCOMPARE(matching(QStringLiteral("x?*"), 10, 5), (QStringList{"xa", "xb", "xc", "xca", "xcag"}));
    QCOMPARE(matching(QStringLiteral("x?*"), 2, 5), (QStringList{"xa", "xb"}));
    QCOMPARE(matching(QStringLiteral("x?"), 0, 3), QStringList{});
    QCOMPARE(matching(QStringLiteral("?c?"), 10, 1), QStringList{"xca"});
    QCOMPARE(matching(QStringLiteral("q*"), 10, 0), QStringList{});

    writeTable(path, QStringLiteral("bm"), {QStringLiteral("dm"), QStringLiteral("hz")}, {{"xa", "红"}, {"xb", "網"}});
    t.open(dir.path(), QStringLiteral("bm.db"));
    QVERIFY_THROWS_EXCEPTION(TableError, t.forEachRowMatching(QStringLiteral("dm"), QStringLiteral("x*"), 5,
                                                              [&] { t.read(QStringLiteral("hz")); }));
    QVERIFY_THROWS_EXCEPTION(
        TableError, t.forEachMatch(QStringLiteral("dm"), QStringLiteral("xb"), [&] { t.read(QStringLiteral("hz")); }));
    // The member stays usable after the failure.
    QVERIFY(t.locate(QStringLiteral("dm"), QStringLiteral("xa")));
}

void TstTable::emptyTextFindsOnlyAnEmptyField() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    writeTable(dir.filePath(QStringLiteral("wb.db")), QStringLiteral("wb"),
               {QStringLiteral("dm"), QStringLiteral("hz")},
               {{QStringLiteral("b"), QStringLiteral("不")},
                {QStringLiteral(""), QStringLiteral("空")},
                {QStringLiteral(""), QStringLiteral("又")}});
    Table t(QStringLiteral("Table1"));
    t.open(dir.path(), QStringLiteral("wb.db"));
    QVERIFY(t.locate(QStringLiteral("dm"), QString()));
    QCOMPARE(t.read(QStringLiteral("hz")), QStringLiteral("空"));
}

void TstTable::everyMatchInTableOrder() {
    Table t(QStringLiteral("Table1"));
    t.open(good(), QStringLiteral("wb.db"));
    for (int round = 0; round < 2; ++round) { // the second time on the kept statement
        QStringList seen;
        t.forEachMatch(QStringLiteral("dm"), QStringLiteral("aa"), [&] { seen << t.read(QStringLiteral("hz")); });
        QCOMPARE(seen, (QStringList{QStringLiteral("式"), QStringLiteral("戒")}));
        QCOMPARE(t.read(QStringLiteral("hz")), QStringLiteral("戒"));
    }
    // No match: no visit, and the current row stays.
    t.forEachMatch(QStringLiteral("dm"), QStringLiteral("AA"), [] { QFAIL("visited a row that does not match"); });
    QCOMPARE(t.read(QStringLiteral("hz")), QStringLiteral("戒"));
    // A bad value read in the visit ends the walk; the next walk starts afresh.
    QVERIFY_THROWS_EXCEPTION(TableError, t.forEachMatch(QStringLiteral("hz"), QStringLiteral("大"),
                                                        [&] { (void)t.read(QStringLiteral("dm")); }));
    int found = 0;
    t.forEachMatch(QStringLiteral("hz"), QStringLiteral("工"), [&] { ++found; });
    QCOMPARE(found, 2);
    QVERIFY_THROWS_EXCEPTION(TableError, t.forEachMatch(QStringLiteral("code"), QStringLiteral("a"), [] {}));
}

void TstTable::emptyTableReadsEmpty() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    writeTable(dir.filePath(QStringLiteral("czzk.db")), QStringLiteral("czzk"),
               Table::fieldsOf(QStringLiteral("czzk.db")), {});
    Table t(QStringLiteral("Table4"));
    t.open(dir.path(), QStringLiteral("czzk.db"));
    QCOMPARE(t.read(QStringLiteral("n2")), QString());
    QVERIFY(!t.locate(QStringLiteral("n1"), QStringLiteral("100")));
    QCOMPARE(t.read(QStringLiteral("n6")), QString());
}

void TstTable::unknownFieldIsAnError() {
    Table t(QStringLiteral("Table1"));
    t.open(good(), QStringLiteral("wb.db"));
    QVERIFY(t.locate(QStringLiteral("dm"), QStringLiteral("A")));
    QVERIFY_THROWS_EXCEPTION(TableError, t.locate(QStringLiteral("DM"), QStringLiteral("a")));
    QVERIFY_THROWS_EXCEPTION(TableError, t.read(QStringLiteral("n1")));
    // The failed calls moved nothing.
    QCOMPARE(t.read(QStringLiteral("hz")), QStringLiteral("大"));
}

void TstTable::brokenTable_data() {
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("reason");

    QTest::newRow("missing file") << good() << "jm.db"
                                  << "文件不存在";
    QTest::newRow("missing folder") << kFixtures + "/no such folder"
                                    << "wb.db"
                                    << "文件不存在";
    QTest::newRow("a folder, not a file") << kFixtures + "/broken/folder"
                                          << "wb.db"
                                          << "不是文件";
    QTest::newRow("text, not a database") << kFixtures + "/broken/garbage"
                                          << "wb.db"
                                          << "不是 SQLite 数据库文件";
    QTest::newRow("empty file") << kFixtures + "/broken/empty"
                                << "wb.db"
                                << "没有表 wb";
    QTest::newRow("other table name") << kFixtures + "/broken/wrong_table"
                                      << "wb.db"
                                      << "没有表 wb";
    QTest::newRow("other field names") << kFixtures + "/broken/wrong_fields"
                                       << "wb.db"
                                       << "缺少文本字段 dm";
    QTest::newRow("no row-order key") << kFixtures + "/broken/no_key"
                                      << "wb.db"
                                      << "没有整数主键";
    QTest::newRow("code compared without case") << kFixtures + "/broken/nocase"
                                                << "wb.db"
                                                << "字段 dm 不按原样比较（COLLATE NOCASE）";
    QTest::newRow("cut short") << kFixtures + "/broken/truncated"
                               << "zk.db"
                               << "损坏";
    QTest::newRow("not a lexicon table name") << good() << "abc.db"
                                              << "不是本程序的词库表";
}

void TstTable::brokenTable() {
    QFETCH(QString, folder);
    QFETCH(QString, table);
    QFETCH(QString, reason);

    Table t(QStringLiteral("Table1"));
    QString message;
    try {
        t.open(folder, table);
        QFAIL("opened a broken table");
    } catch (const TableError& e) {
        message = e.message();
        QCOMPARE(e.file(), QDir(folder).filePath(table));
    }
    QVERIFY2(message.contains(table), qPrintable(message));
    QVERIFY2(message.contains(QDir::toNativeSeparators(folder)), qPrintable(message));
    QVERIFY2(message.contains(reason), qPrintable(message));
    QVERIFY(!t.isOpen());
    QCOMPARE(t.opens(), 0);

    // Every later use reports the same error, and still nothing crashes.
    for (int i = 0; i < 2; ++i) {
        try {
            t.locate(QStringLiteral("dm"), QStringLiteral("a"));
            QFAIL("a closed member found a row");
        } catch (const TableError& e) {
            QCOMPARE(e.message(), message);
            QCOMPARE(e.file(), QDir(folder).filePath(table));
        }
        try {
            (void)t.read(QStringLiteral("hz"));
            QFAIL("a closed member read a row");
        } catch (const TableError& e) {
            QCOMPARE(e.message(), message);
        }
    }

    // A good table opens on the same member afterwards.
    t.open(good(), QStringLiteral("wb.db"));
    QCOMPARE(t.read(QStringLiteral("hz")), QStringLiteral("工"));
    QCOMPARE(t.opens(), 1);
}

namespace {

// A sound value of `field` for row `row` of `table`, each row's its own: "g", "gg", "ggg" for a
// code, 啊, 阿, 埃 for a character, "中1", "中2", "中3" for anything else.
QString soundValue(const QString& table, const QString& field, int row) {
    switch (lexicon::schema::holds(table, field)) {
    case lexicon::schema::Holds::Code:
        return QString(row, QLatin1Char('g'));
    case lexicon::schema::Holds::Character:
        return gbCharacter(row - 1);
    default:
        return QStringLiteral("中%1").arg(row);
    }
}

// Writes `table` with three good rows, then sets `field` of row 2 to the SQL expression `value`:
// the writer itself only writes well-formed text.
void writeWithValue(const QString& folder, const QString& table, const QString& field, const QString& value) {
    const QStringList fields = Table::fieldsOf(table);
    QList<QStringList> rows;
    for (int r = 1; r <= 3; ++r) {
        rows << QStringList();
        for (const QString& f : fields)
            rows.last() << soundValue(table, f, r);
    }
    const QString path = QDir(folder).filePath(table);
    writeTable(path, table, fields, rows);
    sqlite3* db = nullptr;
    QVERIFY(sqlite3_open(path.toUtf8().constData(), &db) == SQLITE_OK);
    const QByteArray sql =
        QStringLiteral("UPDATE \"%1\" SET \"%2\" = %3 WHERE id = 2").arg(table.chopped(3), field, value).toUtf8();
    const int rc = sqlite3_exec(db, sql.constData(), nullptr, nullptr, nullptr);
    QVERIFY2(rc == SQLITE_OK, sqlite3_errmsg(db));
    sqlite3_close(db);
}

// Makes row 2 current by a field other than `field`, so the locate itself never reads the value.
void goToRow2(Table& t, const QString& field) {
    const QStringList fields = Table::fieldsOf(t.tableName());
    const QString by = fields[0] == field ? fields[1] : fields[0];
    QVERIFY(t.locate(by, soundValue(t.tableName(), by, 2)));
}

} // namespace

// A value no drill can use is a broken table: reading it names the file, the row and the field,
// instead of a target that can never be typed, and the rest of the table stays usable. What the
// drills can use reads as it is: empty fields stay empty, the code page's own signs pass.
void TstTable::readValue_data() {
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("value");    // an SQL expression
    QTest::addColumn<QString>("expected"); // what a usable value reads as
    QTest::addColumn<QString>("reason");   // why an unusable one is refused; empty when usable

    QTest::newRow("blob character") << "wb.db"
                                    << "hz"
                                    << "x'E5B7A5'"
                                    << ""
                                    << "不是文本";
    QTest::newRow("blob code") << "jm.db"
                               << "dm"
                               << "x'61'"
                               << ""
                               << "不是文本";
    QTest::newRow("1 MB target") << "zk.db"
                                 << "n3"
                                 << "printf('%.*c', 1048576, 'x')"
                                 << ""
                                 << "过长（1048576 字节）";
    QTest::newRow("33-character phrase") << "czwb.db"
                                         << "n2"
                                         << "printf('%.*c', 33, 'a')"
                                         << ""
                                         << "过长（33 个字符）";
    // A code is what a learner can type: one to four small letters of the keys a to y.
    QTest::newRow("a digit in a code") << "wb.db"
                                       << "dm"
                                       << "'jj1j'"
                                       << ""
                                       << "“jj1j”不是五笔编码";
    QTest::newRow("signs for a phrase code") << "czwb.db"
                                             << "n1"
                                             << "'!!!!'"
                                             << ""
                                             << "“!!!!”不是五笔编码";
    QTest::newRow("capitals") << "jm.db"
                              << "dm"
                              << "'JJJJ'"
                              << ""
                              << "“JJJJ”不是五笔编码";
    QTest::newRow("z is no key") << "cf.db"
                                 << "dm"
                                 << "'zz'"
                                 << ""
                                 << "“zz”不是五笔编码";
    QTest::newRow("empty code") << "wb.db"
                                << "dm"
                                << "''"
                                << ""
                                << "为空";
    QTest::newRow("NULL code") << "czwb.db"
                               << "n1"
                               << "NULL"
                               << ""
                               << "为空";
    // A target and a phrase have the lengths the pages show.
    QTest::newRow("two characters for one") << "zk.db"
                                            << "n3"
                                            << "'王土'"
                                            << ""
                                            << "过长（2 个字符）";
    QTest::newRow("ten-character phrase") << "czwb.db"
                                          << "n2"
                                          << "'中华人民共和国国务院'"
                                          << ""
                                          << "过长（10 个字符）";
    QTest::newRow("32-character phrase") << "czzk.db"
                                         << "n4"
                                         << "printf('%.*c', 32, 'a')"
                                         << ""
                                         << "过长（32 个字符）";
    QTest::newRow("five-letter code") << "wb.db"
                                      << "dm"
                                      << "'aaaaa'"
                                      << ""
                                      << "过长（5 个字符）";
    QTest::newRow("line break in a target") << "zk.db"
                                            << "n5"
                                            << "'王' || char(10)"
                                            << ""
                                            << "含有控制字符 U+000A";
    QTest::newRow("tab in a code") << "wb.db"
                                   << "dm"
                                   << "'a' || char(9)"
                                   << ""
                                   << "含有控制字符 U+0009";
    QTest::newRow("C1 control in a phrase") << "czzk.db"
                                            << "n4"
                                            << "'中国' || char(133)"
                                            << ""
                                            << "含有控制字符 U+0085";
    QTest::newRow("Hangul") << "czwb.db"
                            << "n2"
                            << "'中' || char(54620)"
                            << ""
                            << "含有 GB2312 以外的字符 U+D55C";
    QTest::newRow("outside the basic plane") << "wb.db"
                                             << "hz"
                                             << "char(128512)"
                                             << ""
                                             << "含有 GB2312 以外的字符 U+1F600";
    // Code page 936 holds them; GB2312 does not.
    QTest::newRow("code page 936 only: traditional characters") << "czwb.db"
                                                                << "n2"
                                                                << "'網絡'"
                                                                << ""
                                                                << "含有 GB2312 以外的字符 U+7DB2";
    QTest::newRow("code page 936 only: a sign in an empty cell of row 2") << "czzk.db"
                                                                          << "n3"
                                                                          << "'第' || char(8560)"
                                                                          << ""
                                                                          << "含有 GB2312 以外的字符 U+2170";
    QTest::newRow("code page 936 only: vertical form in row 6") << "zk.db"
                                                                << "n2"
                                                                << "char(65077)"
                                                                << ""
                                                                << "含有 GB2312 以外的字符 U+FE35";
    QTest::newRow("code page 936 only: the euro sign") << "czwb.db"
                                                       << "n2"
                                                       << "'中' || char(8364)"
                                                       << ""
                                                       << "含有 GB2312 以外的字符 U+20AC";
    QTest::newRow("user-defined row") << "zk.db"
                                      << "n1"
                                      << "char(57344)"
                                      << ""
                                      << "含有 GB2312 以外的字符 U+E000";
    QTest::newRow("not UTF-8") << "czzk.db"
                               << "n2"
                               << "CAST(x'E4B8ADFF' AS TEXT)"
                               << ""
                               << "含有 GB2312 以外的字符 U+FFFD";

    QTest::newRow("empty") << "zk.db"
                           << "n7"
                           << "''"
                           << ""
                           << "";
    QTest::newRow("NULL") << "wb.db"
                          << "hz"
                          << "NULL"
                          << ""
                          << "";
    QTest::newRow("dash and middle dot") << "czwb.db"
                                         << "n2"
                                         << "'—·'"
                                         << "—·"
                                         << "";
    QTest::newRow("signs of rows 1-9") << "cf.db"
                                       << "cf"
                                       << "'　、ⅫＡぁヶΩяüㄩ╋'"
                                       << "　、ⅫＡぁヶΩяüㄩ╋"
                                       << "";
    QTest::newRow("first and last GB2312 characters") << "czwb.db"
                                                      << "n2"
                                                      << "'啊座亍齄'"
                                                      << "啊座亍齄"
                                                      << "";
    QTest::newRow("nine-character phrase") << "czzk.db"
                                           << "n2"
                                           << "'中华人民共和国国歌'"
                                           << "中华人民共和国国歌"
                                           << "";
    QTest::newRow("32 letters") << "cf.db"
                                << "cf"
                                << "printf('%.*c', 32, 'a')" << QString(32, QLatin1Char('a')) << "";
    QTest::newRow("four-letter code") << "czwb.db"
                                      << "n1"
                                      << "'wwww'"
                                      << "wwww"
                                      << "";
    QTest::newRow("number stored as a number") << "zk.db"
                                               << "no"
                                               << "137"
                                               << "137"
                                               << "";
}

void TstTable::readValue() {
    QFETCH(QString, table);
    QFETCH(QString, field);
    QFETCH(QString, value);
    QFETCH(QString, expected);
    QFETCH(QString, reason);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    writeWithValue(dir.path(), table, field, value);
    Table t(QStringLiteral("TableX"));
    t.open(dir.path(), table);
    goToRow2(t, field);
    if (reason.isEmpty()) {
        QCOMPARE(t.read(field), expected);
        return;
    }
    QString message;
    try {
        (void)t.read(field);
        QFAIL("read a value no drill can use");
    } catch (const TableError& e) {
        message = e.message();
        QCOMPARE(e.file(), QDir(dir.path()).filePath(table));
    }
    for (const QString& part : {table, QDir::toNativeSeparators(dir.path()), QStringLiteral("第 2 行"),
                                QStringLiteral("字段 %1 ").arg(field), reason})
        QVERIFY2(message.contains(part), qPrintable(message + QStringLiteral(" lacks ") + part));

    // The other fields of the row, and the other rows, still read.
    for (const QString& other : Table::fieldsOf(table)) {
        if (other != field)
            QCOMPARE(t.read(other), soundValue(table, other, 2));
    }
    QVERIFY(t.isOpen());
    const QString by = Table::fieldsOf(table)[0] == field ? Table::fieldsOf(table)[1] : Table::fieldsOf(table)[0];
    QVERIFY(t.locate(by, soundValue(table, by, 3)));
    QCOMPARE(t.read(field), soundValue(table, field, 3));
}

// An error keeps its parts apart: the foot line drops the folder from the message by them, whatever
// the folder's name holds (a closing bracket, a "%1"), and keeps the file, the row and the reason.
void TstTable::errorCarriesItsParts() {
    QTemporaryDir root;
    QVERIFY(root.isValid());
    const QString folder = root.filePath(QStringLiteral("词库（旧）%1"));
    QVERIFY(QDir().mkpath(folder));
    const QString where = QStringLiteral("（查找位置：%1）").arg(QDir::toNativeSeparators(folder));
    const auto check = [&](const TableError& e, TableError::Kind kind, const QString& rest) {
        QCOMPARE(int(e.parts().kind), int(kind));
        QCOMPARE(e.parts().folder, QDir::toNativeSeparators(folder));
        QVERIFY2(e.message().contains(where), qPrintable(e.message()));
        QCOMPARE(e.messageWithoutFolder(), QString(e.message()).remove(where));
        QVERIFY2(e.messageWithoutFolder().contains(rest), qPrintable(e.messageWithoutFolder()));
    };

    Table t(QStringLiteral("Table1"));
    try {
        t.open(folder, QStringLiteral("wb.db"));
        QFAIL("opened a missing table");
    } catch (const TableError& e) {
        check(e, TableError::Kind::CannotOpen, QStringLiteral("无法打开词库表 wb.db：文件不存在"));
    }

    writeWithValue(folder, QStringLiteral("wb.db"), QStringLiteral("dm"), QStringLiteral("'abz'"));
    t.open(folder, QStringLiteral("wb.db"));
    goToRow2(t, QStringLiteral("dm"));
    try {
        (void)t.read(QStringLiteral("dm"));
        QFAIL("read a code holding z");
    } catch (const TableError& e) {
        check(e, TableError::Kind::BadValue, QStringLiteral("词库表 wb.db第 2 行的字段 dm “abz”不是五笔编码"));
        QCOMPARE(e.parts().row, 2);
        QCOMPARE(e.parts().field, QStringLiteral("dm"));
    }
    try {
        t.locate(QStringLiteral("DM"), QStringLiteral("a"));
        QFAIL("located by a field the table lacks");
    } catch (const TableError& e) {
        check(e, TableError::Kind::NoField, QStringLiteral("没有字段 DM"));
    }
}

namespace {

// The message of opening wb.db in `folder`, as an ordinary user. Root searches any folder, so as
// root the open runs in a child process that has given up root first.
QString openMessageAsUser(const QString& folder) {
    const auto open = [&] {
        Table t(QStringLiteral("Table1"));
        try {
            t.open(folder, QStringLiteral("wb.db"));
            return QStringLiteral("opened");
        } catch (const TableError& e) {
            return e.message();
        }
    };
    if (geteuid() != 0)
        return open();
    const passwd* nobody = getpwnam("nobody");
    const uid_t uid = nobody ? nobody->pw_uid : 65534;
    const gid_t gid = nobody ? nobody->pw_gid : 65534;
    int fds[2];
    if (pipe(fds) != 0)
        return QStringLiteral("no pipe");
    const pid_t child = fork();
    if (child == 0) {
        close(fds[0]);
        QByteArray out = "cannot give up root";
        if (setgroups(0, nullptr) == 0 && setgid(gid) == 0 && setuid(uid) == 0 && geteuid() != 0)
            out = open().toUtf8();
        (void)!write(fds[1], out.constData(), out.size());
        _exit(0);
    }
    close(fds[1]);
    QByteArray got;
    char buffer[512];
    for (ssize_t n; (n = read(fds[0], buffer, sizeof buffer)) > 0;)
        got.append(buffer, n);
    close(fds[0]);
    int status = 0;
    waitpid(child, &status, 0);
    return QString::fromUtf8(got);
}

} // namespace

void TstTable::unreadableFile() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("wb.db"));
    QVERIFY(QFile::copy(good() + QStringLiteral("/wb.db"), path));
    QVERIFY(chmod(QFile::encodeName(dir.path()).constData(), 0755) == 0);
    QVERIFY(QFile::setPermissions(path, QFileDevice::Permissions()));
    const QString message = openMessageAsUser(dir.path());
    QVERIFY2(message.contains(QStringLiteral("文件不可读")), qPrintable(message));
}

// A data folder that exists but may not be searched hides its tables; saying "文件不存在" would
// send the learner looking for files that are there.
void TstTable::unsearchableFolder() {
    QTemporaryDir top;
    QVERIFY(top.isValid());
    const QString data = top.filePath(QStringLiteral("data"));
    QVERIFY(QDir().mkpath(data));
    QVERIFY(QFile::copy(good() + QStringLiteral("/wb.db"), data + QStringLiteral("/wb.db")));
    QVERIFY(chmod(QFile::encodeName(top.path()).constData(), 0755) == 0);
    QVERIFY(chmod(QFile::encodeName(data).constData(), 0644) == 0); // listed, not searched
    const QString message = openMessageAsUser(data);
    QVERIFY(chmod(QFile::encodeName(data).constData(), 0755) == 0);
    QVERIFY2(message.contains(QStringLiteral("无法读取文件夹 %1").arg(QDir::toNativeSeparators(data))),
             qPrintable(message));
    QVERIFY2(!message.contains(QStringLiteral("文件不存在")), qPrintable(message));

    // The same user, the folder searchable again: the table opens.
    QCOMPARE(openMessageAsUser(data), QStringLiteral("opened"));
}

// The program only reads: opening and looking up must leave the file byte for byte as it was and
// put nothing beside it (no journal, no write-ahead log, no shared-memory file). The folder name
// carries the characters a file URI must escape.
void TstTable::tableFileIsNeverTouched() {
    QTemporaryDir top;
    QVERIFY(top.isValid());
    const QDir dir(top.filePath(QStringLiteral("词库 #1?%25&x=y")));
    QVERIFY(QDir().mkpath(dir.path()));
    const QString path = dir.filePath(QStringLiteral("wb.db"));
    QVERIFY(QFile::copy(good() + QStringLiteral("/wb.db"), path));
    QVERIFY(QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner));
    const QByteArray before = contents(path);
    const QDateTime modified = QFileInfo(path).lastModified();
    {
        Table t(QStringLiteral("Table1"));
        t.open(dir.path(), QStringLiteral("wb.db"));
        for (const char* code : {"a", "aa", "zz", "", "A"})
            t.locate(QStringLiteral("dm"), QString::fromLatin1(code));
        QVERIFY(t.locate(QStringLiteral("hz"), QStringLiteral("戒")));
        QCOMPARE(dir.entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("wb.db")});
        t.close();
        t.open(dir.path(), QStringLiteral("wb.db"));
    }
    QCOMPARE(dir.entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("wb.db")});
    QCOMPARE(contents(path), before);
    QCOMPARE(QFileInfo(path).lastModified(), modified);
}

void TstTable::dataFolder() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString bin = dir.filePath(QStringLiteral("bin"));
    QVERIFY(QDir().mkpath(bin));
    // Installed: bin/vardelo finds share/vardelo.
    QCOMPARE(lexicon::dataFolderFor(bin), QDir::cleanPath(dir.filePath(QStringLiteral("share/vardelo"))));
    // Build tree: the data folder beside the program wins.
    QVERIFY(QDir().mkpath(bin + QStringLiteral("/data")));
    QCOMPARE(lexicon::dataFolderFor(bin), QDir::cleanPath(bin + QStringLiteral("/data")));
}

void TstTable::phraseBatchFolder() {
    QTemporaryDir work;
    QVERIFY(work.isValid());
    const QString saved = QDir::currentPath();
    QVERIFY(QDir::setCurrent(work.path()));
    const QString withoutHere = lexicon::phraseBatchFolder(QStringLiteral("/data/folder"));
    QFile f(work.filePath(QStringLiteral("czzk.db")));
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.close();
    const QString withHere = lexicon::phraseBatchFolder(QStringLiteral("/data/folder"));
    QVERIFY(QDir::setCurrent(saved));
    QCOMPARE(withoutHere, QStringLiteral("/data/folder"));
    QCOMPARE(QFileInfo(withHere).canonicalFilePath(), QFileInfo(work.path()).canonicalFilePath());
}

QTEST_GUILESS_MAIN(TstTable)
#include "tst_table.moc"
