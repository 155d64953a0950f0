#include "fixture_tables.h"

#include <QFile>

#include <sqlite3.h>

#include <stdexcept>

namespace test_support {

namespace {

QByteArray quoted(const QString& name) {
    return '"' + name.toUtf8() + '"';
}

} // namespace

void writeTable(const QString& path, const QString& tableName, const QStringList& fields,
                const QList<QStringList>& rows) {
    const QString table = tableName.endsWith(QLatin1String(".db")) ? tableName.chopped(3) : tableName;
    QFile::remove(path);
    sqlite3* db = nullptr;
    auto check = [&](int rc, const char* what) {
        if (rc != SQLITE_OK && rc != SQLITE_DONE) {
            const std::string msg = path.toStdString() + ": " + what + ": " + (db ? sqlite3_errmsg(db) : "");
            sqlite3_close_v2(db);
            throw std::runtime_error(msg);
        }
    };
    check(
        sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr),
        "open");
    // No journal: a fixture left behind by a failed test is never half-written in a way that
    // matters, and the program must never see a -journal file beside its tables.
    check(sqlite3_exec(db, "PRAGMA journal_mode = OFF", nullptr, nullptr, nullptr), "journal_mode");
    QByteArray create = "CREATE TABLE " + quoted(table) + " (id INTEGER PRIMARY KEY";
    QByteArray insert = "INSERT INTO " + quoted(table) + " (id";
    QByteArray params = "?1";
    for (int i = 0; i < fields.size(); ++i) {
        create += ", " + quoted(fields[i]) + " TEXT";
        insert += ", " + quoted(fields[i]);
        params += ", ?" + QByteArray::number(i + 2);
    }
    check(sqlite3_exec(db, (create + ")").constData(), nullptr, nullptr, nullptr), "create");
    for (const QString& f : fields)
        check(sqlite3_exec(db,
                           ("CREATE INDEX " + quoted(table + QLatin1Char('_') + f) + " ON " + quoted(table) + " (" +
                            quoted(f) + ")")
                               .constData(),
                           nullptr, nullptr, nullptr),
              "index");
    check(sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr), "begin");
    sqlite3_stmt* stmt = nullptr;
    check(sqlite3_prepare_v2(db, (insert + ") VALUES (" + params + ")").constData(), -1, &stmt, nullptr), "prepare");
    qint64 id = 0;
    for (const QStringList& row : rows) {
        sqlite3_bind_int64(stmt, 1, ++id);
        for (int i = 0; i < fields.size(); ++i) {
            if (i < row.size()) {
                const QByteArray v = row[i].toUtf8();
                sqlite3_bind_text(stmt, i + 2, v.constData(), v.size(), SQLITE_TRANSIENT);
            } else {
                sqlite3_bind_null(stmt, i + 2);
            }
        }
        const int rc = sqlite3_step(stmt);
        sqlite3_reset(stmt);
        if (rc != SQLITE_DONE) {
            sqlite3_finalize(stmt);
            check(rc, "insert");
        }
    }
    sqlite3_finalize(stmt);
    check(sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr), "commit");
    sqlite3_close_v2(db);
}

} // namespace test_support
