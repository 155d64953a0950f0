#pragma once
// Small lexicon table files for tests, in the shape the program reads: one table with an
// INTEGER PRIMARY KEY `id` giving table order (rows are numbered in the order given), the fields
// as TEXT and an index on every field.

#include <QList>
#include <QString>
#include <QStringList>

namespace test_support {

// Writes `path` (replacing any file there) holding table `tableName` ("wb", or "wb.db" for the
// same) with `fields` and `rows`. A row shorter than `fields` leaves the missing fields NULL.
// Throws std::runtime_error when the file cannot be written.
void writeTable(const QString& path, const QString& tableName, const QStringList& fields,
                const QList<QStringList>& rows);

// Runs the SQL statements `sql` on the table file `path`, to break what the writer writes well
// formed. Throws std::runtime_error with SQLite's message when they fail.
void changeTable(const QString& path, const QString& sql);

// The n-th Chinese character of GB2312's first level (啊, 阿, 埃 …; n < 3755), as the tables may
// hold only GB2312 text.
QString gbCharacter(int n);

} // namespace test_support

using test_support::changeTable;
using test_support::gbCharacter;
using test_support::writeTable;
