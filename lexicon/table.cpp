#include "table.h"

#include "gb2312.h"
#include "schema.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringEncoder>
#include <QUrl>
#include <QVarLengthArray>

#include <sqlite3.h>

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <vector>

namespace lexicon {

namespace {

QString tableOf(const QString& fileName) {
    return fileName.endsWith(QLatin1String(".db")) ? fileName.chopped(3) : fileName;
}

QString sqliteMessage(sqlite3* db) {
    return db ? QString::fromUtf8(sqlite3_errmsg(db)) : QStringLiteral("内存不足");
}

using schema::Holds;

int longestOf(Holds holds) {
    switch (holds) {
    case Holds::Code:
        return schema::kLongestCode;
    case Holds::Character:
        return 1;
    case Holds::Phrase:
        return schema::kLongestPhrase;
    case Holds::Text:
        break;
    }
    return schema::kLongestValue;
}

bool isControl(char16_t c) {
    return c < 0x20 || (c >= 0x7F && c < 0xA0);
}

// Why `path` cannot be found. A folder on the way that may not be searched hides the file as well
// as a missing one does, but the learner needs to hear which it is.
QString whyNotFound(const QString& path) {
    struct stat st;
    if (::stat(QFile::encodeName(path).constData(), &st) == 0 || errno != EACCES)
        return QStringLiteral("文件不存在");
    const QString folder = QFileInfo(path).absolutePath();
    for (int from = 1; from <= folder.size(); ++from) {
        from = folder.indexOf(QLatin1Char('/'), from);
        if (from < 0)
            from = static_cast<int>(folder.size());
        const QString part = folder.left(from);
        if (::access(QFile::encodeName(part).constData(), X_OK) != 0)
            return QStringLiteral("无法读取文件夹 %1（没有访问权限）").arg(QDir::toNativeSeparators(part));
    }
    return QStringLiteral("无法读取文件夹（没有访问权限）");
}

QString codePoint(char32_t c) {
    return QStringLiteral("U+") + QString::number(c, 16).toUpper().rightJustified(4, QLatin1Char('0'));
}

// The code point that begins at `i`: a surrogate pair is one character, a lone surrogate is itself.
char32_t codePointAt(const QString& text, qsizetype i) {
    const QChar c = text.at(i);
    if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
        return QChar::surrogateToUcs4(c, text.at(i + 1));
    return c.unicode();
}

} // namespace

QString TableError::textOf(const Parts& p, bool withFolder) {
    using Kind = TableError::Kind;
    const QString at = withFolder ? QStringLiteral("（查找位置：%1）").arg(p.folder) : QString();
    switch (p.kind) {
    case Kind::CannotOpen:
        return QStringLiteral("无法打开词库表 %1%2：%3").arg(p.table, at, p.reason);
    case Kind::NeverOpened:
        return QStringLiteral("词库表尚未打开（%1）").arg(p.table);
    case Kind::NotOpen:
        return QStringLiteral("词库表 %1 未打开%2").arg(p.table, at);
    case Kind::NoField:
        return QStringLiteral("词库表 %1%2没有字段 %3").arg(p.table, at, p.field);
    case Kind::ReadFailed:
        return QStringLiteral("读取词库表 %1 出错%2：%3").arg(p.table, at, p.reason);
    case Kind::NoRows:
        return QStringLiteral("词库表 %1%2没有任何行").arg(p.table, at);
    case Kind::NothingToPractise:
        return QStringLiteral("词库表 %1%2没有任何行，无法练习").arg(p.table, at);
    case Kind::BadValue:
        break;
    }
    // One pass over the parts: a folder holding "%1" stays as it is.
    return QStringLiteral("词库表 %1%2第 %3 行的字段 %4 %5")
        .arg(p.table, at, QString::number(p.row), p.field, p.reason);
}

struct Table::Impl {
    sqlite3* db = nullptr;
    QString table;
    QStringList fields;
    // One prepared locate per field, made at open: the drills locate on the same two or three
    // fields thousands of times.
    std::vector<sqlite3_stmt*> locates;
    std::vector<sqlite3_stmt*> matches; // forEachMatch's, by field, prepared when first used
    QByteArray allRows;                 // every row in table order, for forEachRow
    QByteArray select;                  // "SELECT <fields>, <key> FROM <table>", for the queries of several rows
    QByteArray keyColumn;               // the row-order key, quoted
    // The current row's values as UTF-8, back to back, with where each begins: a locate copies
    // the row into one buffer that keeps its capacity, and a read decodes just the field asked
    // for: no query and no per-field allocation on a locate.
    QByteArray row;
    std::vector<int> starts;  // fields.size() + 1 offsets into `row`; empty when there is no row
    std::vector<int> types;   // each field's SQLite type, to refuse a value that is not text
    std::vector<int> longest; // each field's longest usable value, in characters
    std::vector<schema::Holds> holds;
    sqlite3_int64 rowId = 0; // the row-order key of the current row, to name it in an error
    gb2312::Checker gb2312;

    // Statements select the fields in order, then the row-order key.
    void take(sqlite3_stmt* s) {
        row.truncate(0);
        starts.resize(fields.size() + 1);
        types.resize(fields.size());
        for (int i = 0; i < fields.size(); ++i) {
            starts[i] = static_cast<int>(row.size());
            // The type before any conversion, then the text, then its length: SQLite documents
            // that order. A blob is copied as it is and refused when it is read.
            types[i] = sqlite3_column_type(s, i);
            const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(s, i));
            row.append(text, sqlite3_column_bytes(s, i));
        }
        starts[fields.size()] = static_cast<int>(row.size());
        rowId = sqlite3_column_int64(s, static_cast<int>(fields.size()));
    }

    ~Impl() {
        for (sqlite3_stmt* s : locates)
            sqlite3_finalize(s);
        for (sqlite3_stmt* s : matches)
            sqlite3_finalize(s);
        sqlite3_close_v2(db);
    }
};

Table::Table(QString memberName) : m_member(std::move(memberName)) {}

Table::~Table() = default;

QStringList Table::fieldsOf(const QString& tableName) {
    const schema::File* file = schema::fileOf(tableName);
    return file ? file->fields : QStringList();
}

QString Table::file() const {
    return m_tableName.isEmpty() ? QString() : QDir(m_folder).filePath(m_tableName);
}

bool Table::isOpen() const {
    return m_impl != nullptr;
}

void Table::close() {
    m_impl.reset();
    m_lastError.reset();
}

TableError Table::error(TableError::Kind kind, const QString& reason, const QString& field, qint64 row) const {
    return TableError({kind, m_tableName, QDir::toNativeSeparators(m_folder), row, field, reason}, file());
}

void Table::fail(const QString& why) {
    m_impl.reset();
    m_lastError = std::make_unique<TableError>(error(TableError::Kind::CannotOpen, why));
    throw *m_lastError;
}

void Table::throwClosed() const {
    if (m_lastError)
        throw *m_lastError;
    if (m_tableName.isEmpty())
        throw TableError({TableError::Kind::NeverOpened, m_member, QString(), 0, QString(), QString()});
    throw error(TableError::Kind::NotOpen);
}

void Table::open(const QString& folder, const QString& tableName) {
    close();
    m_folder = folder;
    m_tableName = tableName;

    const QStringList fields = fieldsOf(tableName);
    if (fields.isEmpty())
        fail(QStringLiteral("不是本程序的词库表"));

    const QString path = QDir(folder).filePath(tableName);
    const QFileInfo info(path);
    if (!info.exists())
        fail(whyNotFound(path));
    if (!info.isFile())
        fail(QStringLiteral("不是文件"));
    if (!info.isReadable())
        fail(QStringLiteral("文件不可读"));

    auto impl = std::make_unique<Impl>();
    impl->table = tableOf(tableName);
    impl->fields = fields;
    for (const QString& f : fields) {
        impl->holds.push_back(schema::holds(tableName, f));
        impl->longest.push_back(longestOf(impl->holds.back()));
    }
    impl->locates.assign(fields.size(), nullptr);
    impl->matches.assign(fields.size(), nullptr);

    // immutable=1: the file is only ever read, so SQLite takes no locks and never looks for or
    // creates a journal beside it (the data folder may well be read-only once installed).
    // NOMUTEX: a member is only used from the window's one thread, and otherwise every column read
    // of a locate would take the connection's lock.
    const QByteArray uri = QUrl::fromLocalFile(info.absoluteFilePath()).toEncoded() + "?immutable=1";
    if (sqlite3_open_v2(uri.constData(), &impl->db, SQLITE_OPEN_READONLY | SQLITE_OPEN_URI | SQLITE_OPEN_NOMUTEX,
                        nullptr) != SQLITE_OK)
        fail(QStringLiteral("文件不可读（%1）").arg(sqliteMessage(impl->db)));

    // The shape check doubles as the "is this a database at all" check: SQLite reads the header
    // only when the first statement runs.
    sqlite3_stmt* info_stmt = nullptr;
    const QByteArray pragma = "PRAGMA table_info(\"" + impl->table.toUtf8() + "\")";
    int rc = sqlite3_prepare_v2(impl->db, pragma.constData(), -1, &info_stmt, nullptr);
    if (rc != SQLITE_OK) {
        const QString msg = sqliteMessage(impl->db);
        sqlite3_finalize(info_stmt);
        fail(QStringLiteral("不是 SQLite 数据库文件，或文件已损坏（%1）").arg(msg));
    }
    QString keyColumn;
    int keyColumns = 0;
    QStringList textColumns;
    bool any = false;
    while ((rc = sqlite3_step(info_stmt)) == SQLITE_ROW) {
        any = true;
        const QString name = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(info_stmt, 1)));
        const QString type =
            QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(info_stmt, 2))).toUpper();
        const int pk = sqlite3_column_int(info_stmt, 5);
        if (pk > 0) {
            ++keyColumns;
            if (type == QLatin1String("INTEGER"))
                keyColumn = name;
        } else if (type == QLatin1String("TEXT")) {
            textColumns << name;
        }
    }
    sqlite3_finalize(info_stmt);
    if (rc != SQLITE_DONE)
        fail(QStringLiteral("不是 SQLite 数据库文件，或文件已损坏（%1）").arg(sqliteMessage(impl->db)));
    if (!any)
        fail(QStringLiteral("文件中没有表 %1").arg(impl->table));
    for (const QString& f : fields) {
        if (!textColumns.contains(f))
            fail(QStringLiteral("表 %1 缺少文本字段 %2").arg(impl->table, f));
        // Locate matches exactly: a field compared any other way (NOCASE would take JJJJ for jjjj)
        // gives what the learner did not type.
        const char* collation = nullptr;
        if (sqlite3_table_column_metadata(impl->db, "main", impl->table.toUtf8().constData(), f.toUtf8().constData(),
                                          nullptr, &collation, nullptr, nullptr, nullptr) != SQLITE_OK)
            fail(QStringLiteral("文件已损坏（%1）").arg(sqliteMessage(impl->db)));
        if (collation && sqlite3_stricmp(collation, "BINARY") != 0)
            fail(QStringLiteral("表 %1 的字段 %2 不按原样比较（COLLATE %3）")
                     .arg(impl->table, f, QString::fromUtf8(collation)));
    }
    // Table order is the order of an INTEGER PRIMARY KEY; without one "the first match" would
    // depend on how SQLite happened to store the rows.
    if (keyColumns != 1 || keyColumn.isEmpty())
        fail(QStringLiteral("表 %1 没有整数主键，行序不确定").arg(impl->table));

    // Prepare the column list once; every statement reads the whole row in field order.
    QByteArray columns;
    for (const QString& f : fields)
        columns += "\"" + f.toUtf8() + "\", ";
    columns += "\"" + keyColumn.toUtf8() + "\"";
    const QByteArray first =
        "SELECT " + columns + " FROM \"" + impl->table.toUtf8() + "\" ORDER BY \"" + keyColumn.toUtf8() + "\" LIMIT 1";
    sqlite3_stmt* firstRow = nullptr;
    rc = sqlite3_prepare_v2(impl->db, first.constData(), -1, &firstRow, nullptr);
    if (rc == SQLITE_OK)
        rc = sqlite3_step(firstRow);
    if (rc == SQLITE_ROW)
        impl->take(firstRow);
    sqlite3_finalize(firstRow);
    if (rc != SQLITE_ROW && rc != SQLITE_DONE)
        fail(QStringLiteral("文件已损坏（%1）").arg(sqliteMessage(impl->db)));
    impl->select = "SELECT " + columns + " FROM \"" + impl->table.toUtf8() + "\"";
    impl->keyColumn = "\"" + keyColumn.toUtf8() + "\"";
    impl->allRows = impl->select + " ORDER BY " + impl->keyColumn;

    // Build the locate statements now rather than on first use: a broken file should fail here,
    // at open, not in the middle of a drill.
    for (int i = 0; i < fields.size(); ++i) {
        const QByteArray sql = "SELECT " + columns + " FROM \"" + impl->table.toUtf8() + "\" WHERE \"" +
                               fields[i].toUtf8() + "\" = ?1 ORDER BY \"" + keyColumn.toUtf8() + "\" LIMIT 1";
        if (sqlite3_prepare_v3(impl->db, sql.constData(), -1, SQLITE_PREPARE_PERSISTENT, &impl->locates[i], nullptr) !=
            SQLITE_OK)
            fail(QStringLiteral("文件已损坏（%1）").arg(sqliteMessage(impl->db)));
    }
    m_impl = std::move(impl);
    ++m_opens;
}

int Table::fieldIndex(const QString& field) const {
    if (!m_impl)
        throwClosed();
    const int index = m_impl->fields.indexOf(field);
    if (index < 0)
        throw error(TableError::Kind::NoField, QString(), field);
    return index;
}

bool Table::locate(const QString& field, const QString& text) {
    const int index = fieldIndex(field);
    sqlite3_stmt* s = m_impl->locates[index];
    const QByteArray key = text.toUtf8();
    sqlite3_bind_text(s, 1, key.constData(), key.size(), SQLITE_STATIC);
    const int rc = sqlite3_step(s);
    bool found = false;
    if (rc == SQLITE_ROW) {
        found = true;
        m_impl->take(s);
    }
    sqlite3_reset(s);
    sqlite3_clear_bindings(s);
    if (rc != SQLITE_ROW && rc != SQLITE_DONE)
        readFailed();
    return found;
}

void Table::forEachRow(const std::function<void()>& visit) {
    if (!m_impl)
        throwClosed();
    sqlite3_stmt* s = nullptr;
    int rc = sqlite3_prepare_v2(m_impl->db, m_impl->allRows.constData(), -1, &s, nullptr);
    // The statement is finalized however the visit ends, a bad value it read included.
    const std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt*)> statement(s, sqlite3_finalize);
    visitRows(s, rc, visit);
}

void Table::forEachMatch(const QString& field, const QString& text, const std::function<void()>& visit) {
    const int index = fieldIndex(field);
    // Prepared the first time a field is asked for, then kept: it is asked for at every new hint.
    sqlite3_stmt*& s = m_impl->matches[index];
    int rc = SQLITE_OK;
    if (!s) {
        QByteArray sql = m_impl->allRows;
        sql.insert(sql.indexOf(" ORDER BY "), " WHERE \"" + m_impl->fields[index].toUtf8() + "\" = ?1");
        rc = sqlite3_prepare_v3(m_impl->db, sql.constData(), -1, SQLITE_PREPARE_PERSISTENT, &s, nullptr);
    }
    // Reset however the visit ends, a bad value it read included.
    const std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt*)> statement(s, [](sqlite3_stmt* done) {
        sqlite3_reset(done);
        return sqlite3_clear_bindings(done);
    });
    const QByteArray key = text.toUtf8();
    if (rc == SQLITE_OK)
        rc = sqlite3_bind_text(s, 1, key.constData(), key.size(), SQLITE_STATIC);
    visitRows(s, rc, visit);
}

void Table::visitRows(sqlite3_stmt* s, int rc, const std::function<void()>& visit) {
    while (rc == SQLITE_OK || rc == SQLITE_ROW) {
        rc = sqlite3_step(s);
        if (rc != SQLITE_ROW)
            break;
        m_impl->take(s);
        visit();
    }
    if (rc != SQLITE_DONE)
        readFailed();
}

void Table::refuse(const QString& field, const QString& why) const {
    const int index = fieldIndex(field);
    if (m_impl->starts.empty())
        throw error(TableError::Kind::NoRows);
    badValue(index, why);
}

namespace {

// Runs `sql` with its text parameters bound, making each row it gives current with `take`.
template <typename Take>
void step(sqlite3* db, const QByteArray& sql, const QList<QByteArray>& params, Take take,
          const std::function<void()>& failed) {
    sqlite3_stmt* s = nullptr;
    int rc = sqlite3_prepare_v2(db, sql.constData(), -1, &s, nullptr);
    const std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt*)> statement(s, sqlite3_finalize);
    for (int i = 0; rc == SQLITE_OK && i < params.size(); ++i)
        rc = sqlite3_bind_text(s, i + 1, params[i].constData(), static_cast<int>(params[i].size()), SQLITE_STATIC);
    while (rc == SQLITE_OK || rc == SQLITE_ROW) {
        rc = sqlite3_step(s);
        if (rc != SQLITE_ROW)
            break;
        if (!take(s))
            return;
    }
    if (rc != SQLITE_DONE)
        failed();
}

} // namespace

int Table::forEachRowMatching(const QString& field, const QString& pattern, int most,
                              const std::function<void()>& visit) {
    const int index = fieldIndex(field);
    const QByteArray name = "\"" + m_impl->fields[index].toUtf8() + "\"";
    const QByteArray where = " WHERE " + name + " GLOB ?1";
    int found = 0;
    step(
        m_impl->db,
        m_impl->select + where + " ORDER BY " + name + ", " + m_impl->keyColumn + " LIMIT " +
            QByteArray::number(std::max(most, 0)),
        {pattern.toUtf8()},
        [&](sqlite3_stmt* s) {
            ++found;
            m_impl->take(s);
            visit();
            return true;
        },
        [&] { readFailed(); });
    if (found < most)
        return found;
    const QByteArray count = "SELECT count(*) FROM " + m_impl->select.mid(m_impl->select.lastIndexOf(" FROM ") + 6);
    step(
        m_impl->db, count + where, {pattern.toUtf8()},
        [&](sqlite3_stmt* s) {
            found = sqlite3_column_int(s, 0);
            return false;
        },
        [&] { readFailed(); });
    return found;
}

void Table::readFailed() const {
    throw error(TableError::Kind::ReadFailed, sqliteMessage(m_impl->db));
}

void Table::badValue(int field, const QString& why) const {
    throw error(TableError::Kind::BadValue, why, m_impl->fields[field], m_impl->rowId);
}

QString Table::read(const QString& field) const {
    const int index = fieldIndex(field);
    if (m_impl->starts.empty())
        return QString();
    const int type = m_impl->types[index];
    const bool code = m_impl->holds[index] == Holds::Code;
    // NULL is how SQLite leaves a field empty. A code is never empty: an empty one is a character
    // or phrase no one can type, and a hint that shows nothing.
    if (type == SQLITE_NULL) {
        if (code)
            badValue(index, QStringLiteral("为空，不是五笔编码"));
        return QString();
    }
    if (type != SQLITE_TEXT)
        badValue(index, QStringLiteral("不是文本"));
    const int from = m_impl->starts[index];
    const int bytes = m_impl->starts[index + 1] - from;
    const int longest = m_impl->longest[index];
    // A character of the code page takes at most three bytes in UTF-8, so a value longer than any
    // field's could be is refused before it is decoded (a megabyte field costs nothing).
    if (bytes > 3 * schema::kLongestValue)
        badValue(index, QStringLiteral("过长（%1 字节）").arg(bytes));
    QString value = QString::fromUtf8(m_impl->row.constData() + from, bytes);
    char16_t highest = 0;
    for (const QChar c : value) {
        if (isControl(c.unicode()))
            badValue(index, QStringLiteral("含有控制字符 %1").arg(codePoint(c.unicode())));
        highest = std::max(highest, c.unicode());
    }
    // Counted in characters as the learner sees them: a pair of surrogates is one.
    if (value.size() > longest) {
        const auto characters = QStringView(value).toUcs4().size();
        if (characters > longest)
            badValue(index, QStringLiteral("过长（%1 个字符）").arg(characters));
    }
    if (code && value.isEmpty())
        badValue(index, QStringLiteral("为空，不是五笔编码"));
    if (code && !std::all_of(value.begin(), value.end(), schema::isCodeLetter))
        badValue(index, QStringLiteral("“%1”不是五笔编码").arg(value));
    // Codes and batch numbers are ASCII and need no more.
    if (highest >= 0x80 && !m_impl->gb2312.holds(value)) {
        for (qsizetype i = 0; i < value.size(); ++i) {
            const char32_t c = codePointAt(value, i);
            const qsizetype length = QChar::requiresSurrogates(c) ? 2 : 1;
            if (!m_impl->gb2312.holds(QStringView(value).mid(i, length)))
                badValue(index, QStringLiteral("含有 GB2312 以外的字符 %1").arg(codePoint(c)));
            i += length - 1;
        }
        badValue(index, QStringLiteral("含有 GB2312 以外的字符"));
    }
    return value;
}

QString Table::readTarget(const QString& field) const {
    const int index = fieldIndex(field);
    if (m_impl->starts.empty())
        throw error(TableError::Kind::NothingToPractise);
    QString value = read(field);
    if (value.isEmpty())
        badValue(index, QStringLiteral("为空，无法练习"));
    return value;
}

} // namespace lexicon
