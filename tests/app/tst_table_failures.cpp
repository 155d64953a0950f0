// A table that fails while the learner works: one dialog for it, then a line at the foot of the
// page it concerns, without blocking; a page whose material cannot be loaded says so and leaves
// nothing half-loaded. Driven on the window's state alone, as the event boundary runs it.

#include "fixture_tables.h"
#include "form.h"
#include "recording_desktop.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sqlite3.h>

using app::Form;

namespace {

const QString kData = QStringLiteral(VARDELO_BUILD_DATA_DIR);
// The pages of the two table-reading drills and one without tables, by their names in pages.h.
const QString kCharacters = QStringLiteral("TabSheet2");
const QString kPhrases = QStringLiteral("TabSheet3");
const QString kNoDrill = QStringLiteral("TabSheet1");

// A data folder holding the generated tables except those in `without`.
bool copyData(const QString& folder, const QStringList& without) {
    for (const char* name : {"wb.db", "jm.db", "zk.db", "czwb.db", "czzk.db"}) {
        const QString table = QLatin1String(name);
        if (!without.contains(table) && !QFile::copy(QDir(kData).filePath(table), QDir(folder).filePath(table)))
            return false;
    }
    return true;
}

// Runs `sql` on the table file `path`.
bool change(const QString& path, const QString& sql) {
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    sqlite3* db = nullptr;
    bool ok = sqlite3_open(QFile::encodeName(path).constData(), &db) == SQLITE_OK &&
              sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, nullptr) == SQLITE_OK;
    if (!ok)
        qWarning("%s", sqlite3_errmsg(db));
    sqlite3_close(db);
    return ok;
}

} // namespace

class TstTableFailures : public QObject {
    Q_OBJECT

private slots:
    void missingTableOpensOneDialog();
    void unusableValueOpensOneDialog();
    void eachTableHasItsOwnDialog();
    void materialThatCannotBePractised_data();
    void materialThatCannotBePractised();
    void codeThatCannotBeTyped_data();
    void codeThatCannotBeTyped();
    void caseFoldingCodeColumnIsRefused();

private:
    // One learner event through the boundary every view uses.
    // A click on a category button, which takes the focus from the code boxes.
    static void choose(Form& f, int category) {
        f.run([&] { f.focus.setOther(); });
        f.run([&] {
            if (category <= drills::CharacterDrill::kCategories)
                f.characters.RadioButton[category].check();
            else
                f.phrases.RadioButton[category].check();
        });
    }
    // Types `letters` into whichever code box has the focus, a key an event.
    static void type(Form& f, const QString& letters) {
        for (QChar c : letters)
            f.run([&] {
                if (auto* box = dynamic_cast<controls::Edit*>(f.focus.current()))
                    box->type(c);
            });
    }
    // Whether the learner has a code box to type into on the page.
    static bool canType(Form& f, const QString& page) {
        if (page == kCharacters) {
            for (int n = 1; n <= drills::CharacterDrill::kSlots; ++n)
                if (f.characters.Ed[n].canFocus())
                    return true;
            return false;
        }
        for (int n = 1; n <= drills::PhraseDrill::kSlots; ++n)
            if (f.phrases.czt[n].canFocus() && f.phrases.Panel5.visible() == false)
                return true;
        return f.phrases.Panel5.visible() && f.phrases.Edit18.canFocus();
    }
    // The targets on show on the page.
    static QString targets(Form& f, const QString& page) {
        QString s;
        if (page == kCharacters) {
            for (int n = 1; n <= drills::CharacterDrill::kSlots; ++n)
                s += f.characters.Label[n].caption();
        } else {
            for (int n = 1; n <= drills::PhraseDrill::kSlots; ++n)
                s += f.phrases.cz[n].caption();
            s += f.phrases.Label24.caption();
        }
        return s;
    }
    static void click(Form& f, int slot) {
        f.run([&] { f.focus.set(f.characters.Ed[slot], controls::Focus::Reason::Mouse); });
    }
    // A key is two events, as the view delivers it: the key handler, then the edit it makes.
    static void key(Form& f, int slot, QChar c) {
        f.run([&] { f.characters.Ed[slot].keyPress(c); });
        if (c.isLetter())
            f.run([&] { f.characters.Ed[slot].type(c); });
    }
};

// The session: wb.db missing, start-up, a category, three clicks into code boxes and six
// keys. The start-up dialog (shown by the window) is wb.db's one dialog; nothing after it blocks.
void TstTableFailures::missingTableOpensOneDialog() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid() && copyData(dir.path(), {QStringLiteral("wb.db")}));
    RecordingDesktop desktop;
    Form f(dir.path(), dir.path(), desktop);
    QCOMPARE(f.startupErrors().size(), 1);
    // The start-up failure concerns the page whose drill reads the table, nothing else.
    QVERIFY(!f.TableErrorLine.visible());
    f.run([&] { f.pageShown(kCharacters); });
    QVERIFY(f.TableErrorLine.visible());
    QVERIFY(f.TableErrorLine.caption().contains(QStringLiteral("wb.db")));

    choose(f, 1);
    // No batch was loaded, and there is no code box to type into.
    QCOMPARE(f.characters.edit16.text(), QStringLiteral("099"));
    QVERIFY(f.characters.Label[1].caption().isEmpty());
    QVERIFY(!canType(f, kCharacters));
    for (int slot : {1, 2, 3})
        click(f, slot);
    QCOMPARE(desktop.errors.size(), 0);
    QVERIFY(f.TableErrorLine.visible());
    QVERIFY(f.TableErrorLine.caption().contains(QStringLiteral("wb.db")));
    QVERIFY(f.TableErrorLine.caption().contains(QStringLiteral("文件不存在")));

    // Put back, it opens with the next category: the line goes, the drill works.
    QVERIFY(QFile::copy(QDir(kData).filePath(QStringLiteral("wb.db")), dir.filePath(QStringLiteral("wb.db"))));
    choose(f, 2);
    QVERIFY(!f.TableErrorLine.visible());
    QCOMPARE(f.characters.edit16.text(), QStringLiteral("131"));

    // Gone again: a new failure after a recovery is shown once more, then stays on the line.
    QVERIFY(QFile::remove(dir.filePath(QStringLiteral("wb.db"))));
    choose(f, 1);
    QCOMPARE(desktop.errors.size(), 1);
    QVERIFY(desktop.errors[0].contains(QStringLiteral("wb.db")));
    for (int slot : {4, 5})
        click(f, slot);
    QCOMPARE(desktop.errors.size(), 1);
    QVERIFY(f.TableErrorLine.visible());
}

// A value no drill can use fails at the keystroke that reads it, every time: one dialog, then the
// line, until the table is opened again (here by choosing another category and coming back).
void TstTableFailures::unusableValueOpensOneDialog() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid() && copyData(dir.path(), {QStringLiteral("wb.db")}));
    writeTable(dir.filePath(QStringLiteral("wb.db")), QStringLiteral("wb"),
               {QStringLiteral("dm"), QStringLiteral("hz")},
               {{QStringLiteral("b"), QStringLiteral("了")}, {QStringLiteral("a"), QStringLiteral("工\n")}});
    RecordingDesktop desktop;
    Form f(dir.path(), dir.path(), desktop);
    f.run([&] { f.pageShown(kCharacters); });
    QVERIFY(f.startupErrors().isEmpty());
    QVERIFY(!f.TableErrorLine.visible());
    choose(f, 1);
    QCOMPARE(desktop.errors.size(), 0);

    key(f, 1, QLatin1Char('a'));
    QCOMPARE(desktop.errors.size(), 1);
    QVERIFY2(desktop.errors[0].contains(QStringLiteral("第 2 行的字段 hz")), qPrintable(desktop.errors[0]));
    QVERIFY(f.characters.h[1].text().isEmpty()); // the lookup stopped before writing the result box
    for (int round = 0; round < 3; ++round) {
        key(f, 1, QChar(27));
        key(f, 1, QLatin1Char('a'));
    }
    QCOMPARE(desktop.errors.size(), 1);
    QVERIFY(f.TableErrorLine.visible());
    QCOMPARE(f.TableErrorLine.caption(), desktop.errors[0]);
    // A code that reads a good row works meanwhile, and the line stays.
    key(f, 2, QLatin1Char('b'));
    QCOMPARE(f.characters.h[2].text(), QStringLiteral("了"));
    QVERIFY(f.TableErrorLine.visible());

    choose(f, 2);
    choose(f, 1);
    QVERIFY(!f.TableErrorLine.visible());
    key(f, 1, QLatin1Char('a'));
    QCOMPARE(desktop.errors.size(), 2);
}

// Two tables failing are two failures: each gets its dialog; the line shows the one that concerns
// the category on show.
void TstTableFailures::eachTableHasItsOwnDialog() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid() && copyData(dir.path(), {QStringLiteral("jm.db")}));
    writeTable(dir.filePath(QStringLiteral("wb.db")), QStringLiteral("wb"),
               {QStringLiteral("dm"), QStringLiteral("hz")}, {{QStringLiteral("a"), QStringLiteral("\t")}});
    RecordingDesktop desktop;
    Form f(dir.path(), dir.path(), desktop);
    f.run([&] { f.pageShown(kCharacters); });
    choose(f, 3); // 一级简码: jm.db is missing
    QCOMPARE(desktop.errors.size(), 1);
    QVERIFY(f.TableErrorLine.caption().contains(QStringLiteral("jm.db")));
    choose(f, 1); // wb.db opens: nothing on show concerns jm.db any more
    QVERIFY(!f.TableErrorLine.visible());
    key(f, 1, QLatin1Char('a'));
    QCOMPARE(desktop.errors.size(), 2);
    QVERIFY(f.TableErrorLine.caption().contains(QStringLiteral("wb.db")));
    choose(f, 3);
    QCOMPARE(desktop.errors.size(), 2);
    QVERIFY(f.TableErrorLine.caption().contains(QStringLiteral("jm.db")));
}

// Material a drill cannot practise (a table missing, no rows, an empty or unusable target or
// phrase), met by choosing a category or by advancing to it: one dialog naming the file, the row
// and the field; the category stays chosen and shows nothing half-loaded and nothing to type into;
// the foot line speaks of it while that page shows that category, and goes when it does not.
void TstTableFailures::materialThatCannotBePractised_data() {
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("sql"); // empty: the table is removed
    QTest::addColumn<int>("before");  // a category chosen first (0: none)
    QTest::addColumn<int>("category");
    QTest::addColumn<bool>("advance"); // reached by completing the start batch, typing the hint
    QTest::addColumn<QStringList>("parts");

    QTest::newRow("键名字, NULL target") << "zk.db"
                                         << "UPDATE zk SET n15 = NULL WHERE no = '100'" << 2 << 1 << false
                                         << QStringList{"第 1 行的字段 n15 为空"};
    QTest::newRow("键名字, empty target in the next batch")
        << "zk.db"
        << "UPDATE zk SET n7 = '' WHERE no = '101'" << 2 << 1 << true << QStringList{"的字段 n7 为空"};
    QTest::newRow("一级简码, code table missing") << "jm.db"
                                                  << "" << 1 << 3 << false << QStringList{"文件不存在"};
    QTest::newRow("双字词, no rows") << "czzk.db"
                                     << "DELETE FROM czzk" << 0 << 7 << false << QStringList{"没有任何行"};
    QTest::newRow("双字词, NULL phrases")
        << "czzk.db"
        << "UPDATE czzk SET n2 = NULL, n3 = NULL, n4 = NULL, n5 = NULL, n6 = NULL WHERE n1 = '100'" << 8 << 7 << false
        << QStringList{"第 1 行的字段 n2 为空"};
    QTest::newRow("双字词, a line break in a phrase")
        << "czzk.db"
        << "UPDATE czzk SET n3 = n3 || char(10) WHERE n1 = '100'" << 8 << 7 << false
        << QStringList{"第 1 行的字段 n3 含有控制字符 U+000A"};
    QTest::newRow("双字词, empty fifth phrase in the next batch")
        << "czzk.db"
        << "UPDATE czzk SET n6 = '' WHERE n1 = '101'" << 8 << 7 << true << QStringList{"第 2 行的字段 n6 为空"};
    QTest::newRow("多字词, empty phrase")
        << "czzk.db"
        << "UPDATE czzk SET n2 = '' WHERE n1 = '200'" << 7 << 10 << false << QStringList{"的字段 n2 为空"};
    QTest::newRow("键名字, two characters in one slot") << "zk.db"
                                                        << "UPDATE zk SET n4 = '木木' WHERE no = '100'" << 2 << 1
                                                        << false << QStringList{"第 1 行的字段 n4 过长（2 个字符）"};
    QTest::newRow("双字词, a 32-character phrase")
        << "czzk.db"
        << "UPDATE czzk SET n3 = '一二三四五六七八九十一二三四五六七八九十一二三四五六七八九十一二' WHERE n1 = '100'"
        << 8 << 7 << false << QStringList{"第 1 行的字段 n3 过长（32 个字符）"};
    QTest::newRow("多字词, phrase not text")
        << "czzk.db"
        << "UPDATE czzk SET n2 = x'E4B8AD' WHERE n1 = '200'" << 7 << 10 << false << QStringList{"的字段 n2 不是文本"};
}

void TstTableFailures::materialThatCannotBePractised() {
    QFETCH(QString, table);
    QFETCH(QString, sql);
    QFETCH(int, before);
    QFETCH(int, category);
    QFETCH(bool, advance);
    QFETCH(QStringList, parts);
    QTemporaryDir dir;
    QVERIFY(dir.isValid() && copyData(dir.path(), sql.isEmpty() ? QStringList{table} : QStringList{}));
    if (!sql.isEmpty())
        QVERIFY(change(dir.filePath(table), sql));
    RecordingDesktop desktop;
    Form f(dir.path(), dir.path(), desktop);
    const QString page = category <= 6 ? kCharacters : kPhrases;
    f.run([&] { f.pageShown(page); });
    if (before) {
        choose(f, before);
        QCOMPARE(desktop.errors.size(), 0);
        QVERIFY(canType(f, page));
    }

    choose(f, category);
    if (advance) {
        QCOMPARE(desktop.errors.size(), 0);
        controls::Label& hint = page == kCharacters ? f.characters.Panel13 : f.phrases.czts;
        for (int slot = 0; slot < (page == kCharacters ? 15 : 5); ++slot)
            type(f, hint.caption());
    }
    QCOMPARE(desktop.errors.size(), 1);
    const QString message = desktop.errors[0];
    for (const QString& part : QStringList{table} + parts)
        QVERIFY2(message.contains(part), qPrintable(message + QStringLiteral(" lacks ") + part));

    // The category stays chosen, with nothing half-loaded and nothing to type into.
    const controls::RadioButton* checked =
        page == kCharacters ? f.characters.GroupBox1.checked() : f.phrases.Panel6.checked();
    QCOMPARE(checked->name(), QStringLiteral("RadioButton%1").arg(category));
    QCOMPARE(targets(f, page), QString());
    QVERIFY(!canType(f, page));
    QVERIFY(f.TableErrorLine.visible());
    QCOMPARE(f.TableErrorLine.caption(), message);

    // Elsewhere the line goes; back on the page it comes back, without another dialog.
    f.run([&] { f.pageShown(kNoDrill); });
    QVERIFY(!f.TableErrorLine.visible());
    f.run([&] { f.pageShown(page); });
    QVERIFY(f.TableErrorLine.visible());
    if (!before)
        return;
    // Another category: the line goes for good, and the page works.
    choose(f, before);
    QVERIFY(!f.TableErrorLine.visible());
    QVERIFY(canType(f, page));
    QVERIFY(!targets(f, page).isEmpty());
    // Coming back meets the same failure: the line, and no second dialog.
    choose(f, category);
    if (!advance) {
        QCOMPARE(desktop.errors.size(), 1);
        QVERIFY(f.TableErrorLine.visible());
    }
}

namespace {

// The one value `sql` selects from the table file `path`.
QString selectOne(const QString& path, const QString& sql) {
    sqlite3* db = nullptr;
    sqlite3_stmt* s = nullptr;
    QString value;
    if (sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK &&
        sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &s, nullptr) == SQLITE_OK && sqlite3_step(s) == SQLITE_ROW)
        value = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(s, 0)));
    sqlite3_finalize(s);
    sqlite3_close(db);
    return value;
}

} // namespace

// A code no learner can type (not one to four letters a to y), met when the hint looks up the code
// of a target on show: one dialog naming the table, the row and the field; the hint shows no code,
// never the broken one; the other slots go on working.
void TstTableFailures::codeThatCannotBeTyped_data() {
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("code"); // the SQL value written over the target's code
    QTest::addColumn<int>("category");
    QTest::addColumn<QString>("reason");

    QTest::newRow("目 coded hh1h") << "wb.db"
                                   << "'hh1h'" << 1 << "“hh1h”不是五笔编码";
    QTest::newRow("目 with an empty code") << "wb.db"
                                           << "''" << 1 << "为空";
    QTest::newRow("目 with a NULL code") << "wb.db"
                                         << "NULL" << 1 << "为空";
    QTest::newRow("a phrase coded !!!!") << "czwb.db"
                                         << "'!!!!'" << 7 << "“!!!!”不是五笔编码";
}

void TstTableFailures::codeThatCannotBeTyped() {
    QFETCH(QString, table);
    QFETCH(QString, code);
    QFETCH(int, category);
    QFETCH(QString, reason);
    QTemporaryDir dir;
    QVERIFY(dir.isValid() && copyData(dir.path(), {}));
    const bool characters = category <= drills::CharacterDrill::kCategories;
    // The target: 目 of the key names (slot 2 of the first batch), or the second phrase of the first two-character
    // batch.
    const QString target = characters ? QStringLiteral("目")
                                      : selectOne(dir.filePath(QStringLiteral("czzk.db")),
                                                  QStringLiteral("SELECT n3 FROM czzk WHERE n1 = '100'"));
    QVERIFY(!target.isEmpty());
    const QString row =
        selectOne(dir.filePath(table), characters ? QStringLiteral("SELECT id FROM wb WHERE hz = '%1' "
                                                                   "ORDER BY id LIMIT 1")
                                                        .arg(target)
                                                  : QStringLiteral("SELECT id FROM czwb WHERE n2 = '%1' "
                                                                   "ORDER BY id LIMIT 1")
                                                        .arg(target));
    QVERIFY(!row.isEmpty());
    QVERIFY(change(dir.filePath(table), characters
                                            ? QStringLiteral("UPDATE wb SET dm = %1 WHERE id = %2").arg(code, row)
                                            : QStringLiteral("UPDATE czwb SET n1 = %1 WHERE id = %2").arg(code, row)));
    RecordingDesktop desktop;
    Form f(dir.path(), dir.path(), desktop);
    const QString page = characters ? kCharacters : kPhrases;
    f.run([&] { f.pageShown(page); });
    choose(f, category);
    QVERIFY2(desktop.errors.isEmpty(), qPrintable(desktop.errors.join(QLatin1Char('\n'))));
    const int slotCount = characters ? drills::CharacterDrill::kSlots : drills::PhraseDrill::kSlots;
    int slot = 0;
    for (int n = 1; n <= slotCount && !slot; ++n)
        if ((characters ? f.characters.Label[n].caption() : f.phrases.cz[n].caption()) == target)
            slot = n;
    QVERIFY2(slot > 1, "the target is not on show after slot 1");
    controls::Edit& box = characters ? f.characters.Ed[slot] : f.phrases.czt[slot];
    controls::Label& hintCode = characters ? f.characters.Panel13 : f.phrases.czts;
    f.run([&] { f.focus.set(box, controls::Focus::Reason::Mouse); });

    QCOMPARE(desktop.errors.size(), 1);
    const QString message = desktop.errors[0];
    for (const QString& part :
         {table, QStringLiteral("第 %1 行的字段 %2").arg(row, QLatin1String(characters ? "dm" : "n1")), reason})
        QVERIFY2(message.contains(part), qPrintable(message + QStringLiteral(" lacks ") + part));
    QVERIFY(f.TableErrorLine.visible());
    QCOMPARE(f.TableErrorLine.caption(), message);
    QCOMPARE(hintCode.caption(), QString());

    // Slot 1 is typed by its hint and accepted; back at the broken one, no second dialog.
    controls::Edit& first = characters ? f.characters.Ed[1] : f.phrases.czt[1];
    f.run([&] { f.focus.set(first, controls::Focus::Reason::Mouse); });
    const QString firstCode = hintCode.caption();
    QVERIFY(!firstCode.isEmpty());
    type(f, firstCode);
    const QString firstTarget = characters ? f.characters.Label[1].caption() : f.phrases.cz[1].caption();
    QCOMPARE(characters ? f.characters.Edit[1].text() : f.phrases.cztext[1].text(), firstTarget);
    f.run([&] { f.focus.set(box, controls::Focus::Reason::Mouse); });
    QCOMPARE(desktop.errors.size(), 1);
    QVERIFY(f.TableErrorLine.visible());
}

// A code field compared without regard to case would take JJJJ, typed with Caps Lock on, for
// jjjj, while the page says capitals never match: the table is refused when it opens.
void TstTableFailures::caseFoldingCodeColumnIsRefused() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid() && copyData(dir.path(), {}));
    QVERIFY(change(dir.filePath(QStringLiteral("wb.db")),
                   QStringLiteral("CREATE TABLE folded (id INTEGER PRIMARY KEY, dm TEXT COLLATE NOCASE, hz TEXT);"
                                  "INSERT INTO folded SELECT id, dm, hz FROM wb; DROP TABLE wb;"
                                  "ALTER TABLE folded RENAME TO wb; CREATE INDEX wb_dm ON wb(dm);")));
    RecordingDesktop desktop;
    Form f(dir.path(), dir.path(), desktop);
    QCOMPARE(f.startupErrors().size(), 1);
    QVERIFY(f.startupErrors()[0].contains(QStringLiteral("wb.db")));
    QVERIFY2(f.startupErrors()[0].contains(QStringLiteral("字段 dm 不按原样比较（COLLATE NOCASE）")),
             qPrintable(f.startupErrors()[0]));
    f.run([&] { f.pageShown(kCharacters); });
    choose(f, 1);
    QVERIFY(!canType(f, kCharacters));
    QVERIFY(f.TableErrorLine.visible());
}

QTEST_GUILESS_MAIN(TstTableFailures)
#include "tst_table_failures.moc"
