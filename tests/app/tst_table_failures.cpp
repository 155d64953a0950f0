// A table that fails while the learner works: one dialog for it, then a line that stays in view
// without blocking until the table opens again; the chain still stops where the table failed.
// Driven on the window's state alone, as the event boundary runs it.

#include "fixture_tables.h"
#include "form.h"
#include "recording_desktop.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using app::Form;

namespace {

const QString kData = QStringLiteral(VARDELO_BUILD_DATA_DIR);

// A data folder holding the generated tables except those in `without`.
bool copyData(const QString& folder, const QStringList& without) {
    for (const char* name : {"wb.db", "jm.db", "zk.db", "czwb.db", "czzk.db"}) {
        const QString table = QLatin1String(name);
        if (!without.contains(table) && !QFile::copy(QDir(kData).filePath(table), QDir(folder).filePath(table)))
            return false;
    }
    return true;
}

} // namespace

class TstTableFailures : public QObject {
    Q_OBJECT

private slots:
    void missingTableOpensOneDialog();
    void unusableValueOpensOneDialog();
    void eachTableHasItsOwnDialog();

private:
    // One learner event through the boundary every view uses.
    static void choose(Form& f, int category) {
        f.run([&] { f.characters.RadioButton[category].check(); });
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
    QVERIFY(f.TableErrorLine.visible());
    QVERIFY(f.TableErrorLine.caption().contains(QStringLiteral("wb.db")));

    choose(f, 1);
    // The chain stopped where Table1 failed to open: no batch loaded, no memo written.
    QCOMPARE(f.characters.edit16.text(), QStringLiteral("099"));
    QVERIFY(f.characters.Label[1].caption().isEmpty());
    for (int slot : {1, 2, 3})
        click(f, slot);
    for (const char* c : {"g", "g", "g", "g", "a", "b"})
        key(f, 3, QLatin1Char(*c));
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

// Two tables failing are two failures: each gets its dialog; the line shows the one met last.
void TstTableFailures::eachTableHasItsOwnDialog() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid() && copyData(dir.path(), {QStringLiteral("jm.db")}));
    writeTable(dir.filePath(QStringLiteral("wb.db")), QStringLiteral("wb"),
               {QStringLiteral("dm"), QStringLiteral("hz")}, {{QStringLiteral("a"), QStringLiteral("\t")}});
    RecordingDesktop desktop;
    Form f(dir.path(), dir.path(), desktop);
    choose(f, 3); // 一级简码: jm.db is missing
    QCOMPARE(desktop.errors.size(), 1);
    QVERIFY(f.TableErrorLine.caption().contains(QStringLiteral("jm.db")));
    choose(f, 1); // wb.db opens, jm.db's failure stays until jm.db itself opens
    QVERIFY(f.TableErrorLine.caption().contains(QStringLiteral("jm.db")));
    key(f, 1, QLatin1Char('a'));
    QCOMPARE(desktop.errors.size(), 2);
    QVERIFY(f.TableErrorLine.caption().contains(QStringLiteral("wb.db")));
    choose(f, 3);
    QCOMPARE(desktop.errors.size(), 2);
    QVERIFY(f.TableErrorLine.caption().contains(QStringLiteral("jm.db")));
}

QTEST_GUILESS_MAIN(TstTableFailures)
#include "tst_table_failures.moc"
