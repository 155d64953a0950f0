#include "fixture_tables.h"

#include "table_file.h"

#include <QStringDecoder>

namespace test_support {

void writeTable(const QString& path, const QString& tableName, const QStringList& fields,
                const QList<QStringList>& rows) {
    const QString table = tableName.endsWith(QLatin1String(".db")) ? tableName.chopped(3) : tableName;
    // Written exactly as the generator writes the program's tables, every field indexed.
    gen::writeTableFile(path, table, fields, fields, rows);
}

QString gbCharacter(int n) {
    const char bytes[] = {static_cast<char>(0xB0 + n / 94), static_cast<char>(0xA1 + n % 94)};
    return QStringDecoder("GBK").decode(QByteArrayView(bytes, 2));
}

} // namespace test_support
