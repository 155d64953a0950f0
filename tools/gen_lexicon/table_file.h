#pragma once
// Writes one lexicon table file: a SQLite database holding one table named after the file, an
// INTEGER PRIMARY KEY `id` giving table order, the fields as TEXT, and indexes on the fields the
// drills locate on. Same rows, same bytes: the file is built in a temporary file with a fixed page
// size and no timestamps, vacuumed, then renamed over the target.

#include <QList>
#include <QString>
#include <QStringList>

namespace gen {

void writeTableFile(const QString& path, const QString& table, const QStringList& fields,
                    const QStringList& indexedFields, const QList<QStringList>& rows);

// Writes the lexicon table file `name` ("wb.db", ...) into `folder`, laid out and indexed as
// lexicon/schema.h says. A row shorter than the fields leaves the missing fields NULL.
void writeLexiconTable(const QString& folder, const QString& name, const QList<QStringList>& rows);

} // namespace gen
