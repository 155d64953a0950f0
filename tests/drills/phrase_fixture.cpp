#include "phrase_fixture.h"

#include "fixture_tables.h"
#include "schema.h"

namespace phrases {

namespace {
QString letters(QChar first, int i) {
    QString c(first);
    // Letters of the keys a to y: z is none, and a table holding it is broken.
    for (int k = 0, v = i; k < 3; ++k, v /= 25)
        c += QChar('a' + v % 25);
    return c;
}

QString characters(int first, int count) {
    QString s;
    for (int k = 0; k < count; ++k)
        s += gbCharacter(first + k);
    return s;
}
} // namespace

QString phrase(int i, int length) {
    return characters(8 * i + length, length);
}

QString code(int i, int length) {
    return letters(QChar('a' + length), i); // "c..." two characters, "d..." three, "e..." four
}

QString longPhrase(int i) {
    return characters(1000 + 8 * i, 6);
}

QString longCode(int i) {
    return letters(QLatin1Char('l'), i);
}

QStringList batch(int first, int length, const QString& last) {
    QStringList row;
    for (int i = 0; i < 5; ++i)
        row << phrase(first + i, length);
    if (!last.isNull())
        row[4] = last;
    return row;
}

void writeTables(const QString& folder, bool czwb, bool czzk) {
    const struct {
        int no, first, length;
        const char* last;
    } batches[] = {
        {100, 0, 2, nullptr},  {101, 5, 2, nullptr},     {102, 10, 2, "限定"},   {110, 15, 2, nullptr},
        {112, 20, 2, nullptr}, {137, 30, 3, nullptr},    {138, 35, 3, "有效期"}, {167, 40, 4, nullptr},
        {169, 45, 4, nullptr}, {170, 50, 4, "程序设计"},
    };
    QList<QStringList> zk, wb;
    for (const auto& b : batches) {
        const QStringList row = batch(b.first, b.length, b.last ? QString::fromUtf8(b.last) : QString());
        zk.append(QStringList{QString::number(b.no)} + row);
        for (int i = 0; i < (b.last ? 4 : 5); ++i)
            wb.append({code(b.first + i, b.length), phrase(b.first + i, b.length)});
    }
    const QStringList rest{longPhrase(10), longPhrase(11), longPhrase(12), longPhrase(13)};
    for (int i : {0, 1, 3})
        zk.append(QStringList{QString::number(200 + i), longPhrase(i)} + rest);
    zk.append(QStringList{QStringLiteral("204"), QStringLiteral("中央书记处")} + rest);
    for (int i : {0, 1, 3, 10, 11, 12, 13})
        wb.append({longCode(i), longPhrase(i)});
    wb.append({QString(), phrase(0)});              // an odd row: an empty code
    wb.append({QStringLiteral("kkkk"), QString()}); // an odd row: a code giving no phrase

    if (czwb)
        test_support::writeTable(folder + QStringLiteral("/czwb.db"), QStringLiteral("czwb"),
                                 {lexicon::schema::kPhraseCodes.code, lexicon::schema::kPhraseCodes.text}, wb);
    if (czzk)
        test_support::writeTable(
            folder + QStringLiteral("/czzk.db"), QStringLiteral("czzk"),
            QStringList{lexicon::schema::kPhraseBatches.number} + lexicon::schema::kPhraseBatches.targets, zk);
}

Drill::Drill(const QString& f) : folder(f) {
    // As at start-up: a table that cannot be opened stays closed and the drill is built anyway.
    for (lexicon::Table* t : {&table3, &table4}) {
        try {
            t->open(folder, t == &table3 ? QStringLiteral("czwb.db") : QStringLiteral("czzk.db"));
        } catch (const lexicon::TableError&) {
        }
    }
    d = std::make_unique<drills::PhraseDrill>(focus, table3, table4, pictures, desktop);
    d->RadioButton24.check();
}

QString Drill::targets() const {
    QStringList s;
    for (int n = 1; n <= drills::PhraseDrill::kSlots; ++n)
        s << d->cz[n].caption();
    return s.join(QLatin1Char('|'));
}

QString Drill::accepted() const {
    QStringList s;
    for (int n = 1; n <= drills::PhraseDrill::kSlots; ++n)
        s << (d->cztext[n].text().isEmpty() ? QStringLiteral("_") : d->cztext[n].text());
    return s.join(QLatin1Char('|'));
}

} // namespace phrases
