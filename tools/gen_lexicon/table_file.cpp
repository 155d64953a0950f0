#include "table_file.h"

#include "schema.h"

#include <QDir>
#include <QFile>

#include <sqlite3.h>

#include <cstdio>
#include <stdexcept>

namespace gen {

namespace {

class Db {
public:
    explicit Db(const QString& path) : m_path(path) {
        if (sqlite3_open_v2(QFile::encodeName(path).constData(), &m_db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE,
                            nullptr) != SQLITE_OK)
            fail("open");
    }
    ~Db() { sqlite3_close_v2(m_db); }
    Db(const Db&) = delete;
    Db& operator=(const Db&) = delete;

    void exec(const QByteArray& sql) {
        if (sqlite3_exec(m_db, sql.constData(), nullptr, nullptr, nullptr) != SQLITE_OK)
            fail(sql);
    }
    sqlite3* handle() const { return m_db; }
    [[noreturn]] void fail(const QByteArray& what) const {
        throw std::runtime_error(m_path.toStdString() + ": " + what.toStdString() + ": " +
                                 (m_db ? sqlite3_errmsg(m_db) : "out of memory"));
    }

private:
    QString m_path;
    sqlite3* m_db = nullptr;
};

QByteArray quoted(const QString& name) {
    return '"' + name.toUtf8() + '"';
}

} // namespace

void writeTableFile(const QString& path, const QString& table, const QStringList& fields,
                    const QStringList& indexedFields, const QList<QStringList>& rows) {
    const QString temp = path + QStringLiteral(".part");
    QFile::remove(temp);
    {
        Db db(temp);
        db.exec("PRAGMA page_size = 4096");
        db.exec("PRAGMA journal_mode = OFF");
        db.exec("PRAGMA synchronous = OFF");
        QByteArray create = "CREATE TABLE " + quoted(table) + " (id INTEGER PRIMARY KEY";
        QByteArray insert = "INSERT INTO " + quoted(table) + " (id";
        QByteArray params = "?1";
        for (int i = 0; i < fields.size(); ++i) {
            create += ", " + quoted(fields[i]) + " TEXT";
            insert += ", " + quoted(fields[i]);
            params += ", ?" + QByteArray::number(i + 2);
        }
        db.exec(create + ")");
        db.exec("BEGIN");
        sqlite3_stmt* stmt = nullptr;
        if (sqlite3_prepare_v2(db.handle(), (insert + ") VALUES (" + params + ")").constData(), -1, &stmt, nullptr) !=
            SQLITE_OK)
            db.fail("prepare insert");
        qint64 id = 0;
        for (const QStringList& row : rows) {
            sqlite3_bind_int64(stmt, 1, ++id);
            for (int i = 0; i < fields.size(); ++i) {
                const QByteArray v = i < row.size() ? row[i].toUtf8() : QByteArray();
                sqlite3_bind_text(stmt, i + 2, v.constData(), v.size(), SQLITE_TRANSIENT);
            }
            if (sqlite3_step(stmt) != SQLITE_DONE) {
                sqlite3_finalize(stmt);
                db.fail("insert");
            }
            sqlite3_reset(stmt);
        }
        sqlite3_finalize(stmt);
        db.exec("COMMIT");
        for (const QString& f : indexedFields)
            db.exec("CREATE INDEX " + quoted(table + QLatin1Char('_') + f) + " ON " + quoted(table) + " (" + quoted(f) +
                    ")");
        db.exec("VACUUM");
    }
    if (std::rename(QFile::encodeName(temp).constData(), QFile::encodeName(path).constData()) != 0)
        throw std::runtime_error("cannot rename " + temp.toStdString() + " to " + path.toStdString());
}

void writeLexiconTable(const QString& folder, const QString& name, const QList<QStringList>& rows) {
    const lexicon::schema::File* file = lexicon::schema::fileOf(name);
    if (!file)
        throw std::runtime_error(name.toStdString() + " is no lexicon table");
    writeTableFile(QDir(folder).filePath(file->name), file->name.chopped(3), file->fields, file->located, rows);
}

} // namespace gen
