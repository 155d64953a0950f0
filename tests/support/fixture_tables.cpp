#include "fixture_tables.h"

#include "table_file.h"

namespace test_support {

void writeTable(const QString& path, const QString& tableName, const QStringList& fields,
                const QList<QStringList>& rows) {
    const QString table = tableName.endsWith(QLatin1String(".db")) ? tableName.chopped(3) : tableName;
    // Written exactly as the generator writes the program's tables, every field indexed.
    gen::writeTableFile(path, table, fields, fields, rows);
}

} // namespace test_support
