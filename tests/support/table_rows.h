#pragma once
// The generated tables read straight from SQLite, past the program's table reader, for the data
// tests and benchmarks that check or sample the real tables.

#include <QList>
#include <QString>
#include <QStringList>

namespace test_support {

// Every row `sql` gives on the table file `path`, each field as text (NULL as an empty one).
// Empty when the file cannot be opened or the query fails, which the caller's checks then meet.
QList<QStringList> tableRows(const QString& path, const QString& sql);

// The texts of those rows, row by row and field by field, empty ones left out.
QStringList tableTexts(const QString& path, const QString& sql);

} // namespace test_support

using test_support::tableRows;
using test_support::tableTexts;
