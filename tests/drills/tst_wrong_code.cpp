// The line under a wrong code, on the real tables: what the letters give and where they part from
// the target's code, with the roots that give the two letters there.

#include "code_explainer.h"
#include "schema.h"
#include "table.h"
#include "wrong_code.h"

#include <QTest>

class TestWrongCode : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void realCases_data();
    void realCases();
};

void TestWrongCode::realCases_data() {
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("line");
    QTest::newRow("another character, its first root") << "经"
                                                       << "xcag"
                                                       << "lcag"
                                                       << "“lcag”打出的是“轻”：第一码 l 是 车；“经”的第一码是 x（纟）";
    QTest::newRow("wrong identification letter")
        << "休"
        << "wsy"
        << "wsg"
        << "“wsg”打出的是“体”：第三码 g 是 一；“休”的第三码是 y（识别码，…";
    QTest::newRow("letters that give nothing") << "汉"
                                               << "icy"
                                               << "icv"
                                               << "“icv”打不出字：第三码 v；“汉”的第三码是 y（识别码，…";
    QTest::newRow("short code asked") << "经"
                                      << "x"
                                      << "c"
                                      << "“c”打出的是“以”：第一码 c；“经”的第一码是 x（纟）";
}

void TestWrongCode::realCases() {
    QFETCH(QString, target);
    QFETCH(QString, shown);
    QFETCH(QString, typed);
    QFETCH(QString, line);
    const QString data = QStringLiteral(VARDELO_BUILD_DATA_DIR);
    lexicon::Table wb(QStringLiteral("Table1"));
    wb.open(data, QLatin1String(lexicon::schema::kCharacterCodeFile));
    QString gives;
    if (wb.locate(lexicon::schema::kCharacterCodes.code, typed))
        gives = wb.read(lexicon::schema::kCharacterCodes.text);
    drills::CodeExplainer explainer(data);
    drills::WrongCode w{typed, gives, target, shown, explainer.character(target), {}};
    if (!gives.isEmpty())
        w.givesExplanation = explainer.character(gives);
    // A line ending in "…" is matched up to it: the reason of an identification letter is the
    // explanation's own wording.
    const QString got = drills::wrongCodeText(w);
    if (line.endsWith(QStringLiteral("…")))
        QCOMPARE(got.left(line.size() - 1), line.chopped(1));
    else
        QCOMPARE(got, line);
}

QTEST_GUILESS_MAIN(TestWrongCode)
#include "tst_wrong_code.moc"
