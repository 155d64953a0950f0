#include "fixture_tables.h"

#include "table_file.h"

#include <QFile>
#include <QStringDecoder>

#include <sqlite3.h>

#include <stdexcept>

namespace test_support {

void writeTable(const QString& path, const QString& tableName, const QStringList& fields,
                const QList<QStringList>& rows) {
    const QString table = tableName.endsWith(QLatin1String(".db")) ? tableName.chopped(3) : tableName;
    // Written exactly as the generator writes the program's tables, every field indexed.
    gen::writeTableFile(path, table, fields, fields, rows);
}

void changeTable(const QString& path, const QString& sql) {
    sqlite3* db = nullptr;
    char* error = nullptr;
    const bool ok = sqlite3_open(QFile::encodeName(path).constData(), &db) == SQLITE_OK &&
                    sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, &error) == SQLITE_OK;
    const std::string message = error ? error : (db ? sqlite3_errmsg(db) : "out of memory");
    sqlite3_free(error);
    sqlite3_close(db);
    if (!ok)
        throw std::runtime_error(path.toStdString() + ": " + message);
}

QString gbCharacter(int n) {
    const char bytes[] = {static_cast<char>(0xB0 + n / 94), static_cast<char>(0xA1 + n % 94)};
    return QStringDecoder("GBK").decode(QByteArrayView(bytes, 2));
}

} // namespace test_support
