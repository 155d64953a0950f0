#include "table_rows.h"

#include <QFile>

#include <sqlite3.h>

namespace test_support {

QList<QStringList> tableRows(const QString& path, const QString& sql) {
    QList<QStringList> rows;
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
        sqlite3_stmt* s = nullptr;
        if (sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &s, nullptr) == SQLITE_OK) {
            while (sqlite3_step(s) == SQLITE_ROW) {
                QStringList row;
                for (int i = 0; i < sqlite3_column_count(s); ++i)
                    row << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(s, i)));
                rows << row;
            }
        }
        sqlite3_finalize(s);
    }
    sqlite3_close_v2(db);
    return rows;
}

QStringList tableTexts(const QString& path, const QString& sql) {
    QStringList texts;
    for (const QStringList& row : tableRows(path, sql)) {
        for (const QString& t : row) {
            if (!t.isEmpty())
                texts << t;
        }
    }
    return texts;
}

} // namespace test_support
