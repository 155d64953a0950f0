#pragma once
// One lexicon table member: a read-only SQLite file holding one table named after the file, whose
// rows keep the order of an INTEGER PRIMARY KEY. A member has one current row; after opening it
// is the first row.

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <stdexcept>

struct sqlite3_stmt;

namespace lexicon {

// A failure of the table engine: a table missing, unreadable, corrupt or of the wrong shape, a
// value no drill can use, or a member used while closed. It carries its parts (what happened, the
// table file, the folder looked in, the row, the field, the reason), and its message is made from
// them here and nowhere else; file() is that table file's path (empty for a member never opened),
// so one table's failures can be told from another's.
class TableError : public std::runtime_error {
public:
    enum class Kind {
        CannotOpen,        // the file cannot be opened as its table: `reason` says why
        NeverOpened,       // a member used before any open: `table` is the member's name
        NotOpen,           // a member used while closed
        NoField,           // `field` is not a field of the table
        ReadFailed,        // the file failed while being read: `reason` is the engine's word
        NoRows,            // a value refused in a table without rows
        NothingToPractise, // a target read from a table without rows
        BadValue,          // `field` of row `row` holds a value no drill can use: `reason` says how
    };
    struct Parts {
        Kind kind = Kind::ReadFailed;
        QString table;  // the table file's name ("wb.db"), or the member's name (NeverOpened)
        QString folder; // the folder looked in, as the system writes it
        qint64 row = 0; // the row-order key of the row at fault (BadValue)
        QString field;
        QString reason;
    };
    explicit TableError(Parts parts, QString file = QString())
        : std::runtime_error(textOf(parts, true).toStdString()), m_parts(std::move(parts)),
          m_message(textOf(m_parts, true)), m_file(std::move(file)) {}
    const Parts& parts() const { return m_parts; }
    const QString& message() const { return m_message; }
    // The message without the folder looked in, for a place too narrow for the whole: the file
    // name and the reason stay whole.
    QString messageWithoutFolder() const { return textOf(m_parts, false); }
    const QString& file() const { return m_file; }

private:
    static QString textOf(const Parts& parts, bool withFolder);
    Parts m_parts;
    QString m_message;
    QString m_file;
};

class Table {
public:
    explicit Table(QString memberName);
    ~Table();
    Table(const Table&) = delete;
    Table& operator=(const Table&) = delete;

    const QString& memberName() const { return m_member; }

    // Opens `tableName` ("wb.db", "jm.db", "zk.db", "czwb.db", "czzk.db", "cf.db", "bm.db") in `folder`. Throws
    // TableError when it cannot; the member then stays closed and every later use throws the
    // same error.
    void open(const QString& folder, const QString& tableName);
    void close();
    bool isOpen() const;
    const QString& tableName() const { return m_tableName; }
    const QString& folder() const { return m_folder; }
    // The path of the table file last asked for (empty before the first open), as TableError::file
    // gives it.
    QString file() const;
    // How many times an open has succeeded: a table that failed and opens again has recovered.
    int opens() const { return m_opens; }

    // Exact, case-sensitive match of the whole field; the first match in table order becomes the
    // current row. A miss leaves the current row where it was. A field the table does not have
    // (field names are case-sensitive too) throws TableError, as read() does: it is a fault of the
    // caller, and failing loudly beats a lookup that silently never matches.
    bool locate(const QString& field, const QString& text);
    // Makes every row the current row in turn, in table order, and runs `visit` on each; the last
    // row stays current. A failure of the file throws TableError, and so does a bad value `visit`
    // reads, which ends the walk there.
    void forEachRow(const std::function<void()>& visit);
    // Makes every row whose `field` is `text` the current row in turn, in table order, and runs
    // `visit` on each; the last one stays current (none found: the current row stays). Failures
    // as forEachRow. `visit` may read and locate, but not walk the same field again.
    void forEachMatch(const QString& field, const QString& text, const std::function<void()>& visit);
    // Throws the TableError of an unusable value, naming the current row and `field`, for a value
    // the caller finds unusable by what it knows beyond the table (a code that is not the one
    // another table gives): `why` says what is wrong with it.
    [[noreturn]] void refuse(const QString& field, const QString& why) const;
    // The rows whose `field` matches `pattern`, an SQLite GLOB pattern ("tg?*": tg, one character,
    // then any): makes at most `most` of them the current row in turn, in the order of the field's
    // values and then table order, runs `visit` on each, and returns how many rows match in all.
    // A field the table indexes is searched through its index, as far as the pattern's first
    // wildcard.
    int forEachRowMatching(const QString& field, const QString& pattern, int most, const std::function<void()>& visit);
    // The named field of the current row; empty text for an empty field or when the table has no
    // rows. A value no drill can use (not text, longer than any code or phrase, holding a control
    // character or a character outside GB2312) throws TableError naming the row
    // and the field; the table stays open and its other rows stay usable.
    QString read(const QString& field) const;
    // The named field of the current row as a target the learner is to type: as read(), and an
    // empty field, or a table without rows, throws TableError too, naming the row and the field.
    QString readTarget(const QString& field) const;

    // The fields each table file holds (besides its row-order key), in column order.
    static QStringList fieldsOf(const QString& tableName);

private:
    struct Impl;
    // The error of this table, of `kind`, naming the folder it was looked for in.
    TableError error(TableError::Kind kind, const QString& reason = QString(), const QString& field = QString(),
                     qint64 row = 0) const;
    [[noreturn]] void fail(const QString& why);
    [[noreturn]] void throwClosed() const;
    [[noreturn]] void readFailed() const;
    // Steps `statement` (prepared with result `rc`) to its end, each row current in turn for
    // `visit`; a failure of the file throws.
    void visitRows(sqlite3_stmt* statement, int rc, const std::function<void()>& visit);
    [[noreturn]] void badValue(int field, const QString& why) const;
    // The position of `field` among the table's fields; throws when closed or unknown.
    int fieldIndex(const QString& field) const;
    QString m_member;
    QString m_folder;
    QString m_tableName;
    std::unique_ptr<TableError> m_lastError; // why the last open failed, until the next one
    int m_opens = 0;
    std::unique_ptr<Impl> m_impl;
};

} // namespace lexicon
