#include "drill_fixture.h"

#include "fixture_tables.h"
#include "schema.h"

namespace fixture {

QString character(int i) {
    return gbCharacter(i);
}

QString code(int i) {
    QString c(QStringLiteral("m"));
    // Letters of the keys a to y: z is none, and a table holding it is broken.
    for (int k = 0, v = i; k < 3; ++k, v /= 25)
        c += QChar('a' + v % 25);
    return c;
}

namespace {
QStringList batch(const QString& no, int first, const QString& last = QString()) {
    QStringList row{no};
    for (int i = 0; i < 15; ++i)
        row << character(first + i);
    if (!last.isNull())
        row[15] = last;
    return row;
}
} // namespace

void writeTables(const QString& folder) {
    QList<QStringList> wb;
    for (int i = 0; i < 200; ++i)
        wb.append({code(i), character(i)});
    wb.append({QStringLiteral("qqqq"), QStringLiteral("鑫")});
    wb.append({QString(), character(0)});           // an odd row: an empty code
    wb.append({QStringLiteral("kkkk"), QString()}); // an odd row: a code giving no character
    wb.append({QStringLiteral("nnnn"), QStringLiteral("已")});
    const QStringList codeFields{lexicon::schema::kCharacterCodes.code, lexicon::schema::kCharacterCodes.text};
    test_support::writeTable(folder + QStringLiteral("/wb.db"), QStringLiteral("wb"), codeFields, wb);

    const QString first = QStringLiteral("一地在要工上是中国同和的有人我主产不为这民了发以经");
    const QString keys = QStringLiteral("gfdsahjklmtrewqyuiopnbvcx");
    QList<QStringList> jm;
    for (int i = 0; i < 25; ++i)
        jm.append({QString(keys[i]), QString(first[i])});
    test_support::writeTable(folder + QStringLiteral("/jm.db"), QStringLiteral("jm"), codeFields, jm);

    const QStringList fields =
        QStringList{lexicon::schema::kCharacterBatches.number} + lexicon::schema::kCharacterBatches.targets;
    QStringList firstLevel{QStringLiteral("116")};
    for (int i = 0; i < 15; ++i)
        firstLevel << QString(first[i]);
    test_support::writeTable(folder + QStringLiteral("/zk.db"), QStringLiteral("zk"), fields,
                             {
                                 batch(QStringLiteral("100"), 0),
                                 batch(QStringLiteral("101"), 15),
                                 batch(QStringLiteral("102"), 30, QStringLiteral("已")),
                                 batch(QStringLiteral("103"), 45),
                                 firstLevel,
                                 batch(QStringLiteral("120"), 60, QStringLiteral("已")),
                                 batch(QStringLiteral("129"), 75),
                                 batch(QStringLiteral("130"), 90, QStringLiteral("匕")),
                                 batch(QStringLiteral("131"), 105, QStringLiteral("中")),
                                 batch(QStringLiteral("207"), 120, QStringLiteral("冈")),
                             });
}

Drill::Drill(const QString& f) : folder(f) {
    table1.open(folder, QStringLiteral("wb.db"));
    table2.open(folder, QStringLiteral("zk.db"));
    d = std::make_unique<drills::CharacterDrill>(focus, table1, table2, folder, pictures);
    d->RadioButton22.check();
}

QString Drill::targets() const {
    QString s;
    for (int n = 1; n <= 15; ++n)
        s += d->Label[n].caption();
    return s;
}

QString Drill::accepted() const {
    QString s;
    for (int n = 1; n <= 15; ++n)
        s += d->Edit[n].text().isEmpty() ? QStringLiteral("_") : d->Edit[n].text();
    return s;
}

} // namespace fixture
