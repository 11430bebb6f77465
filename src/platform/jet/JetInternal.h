#pragma once

// Pieces shared by the engine's objects; not for use outside src/platform/jet.

#include "Jet.h"
#include "StatementCache.h"

#include "platform/vb/CaseInsensitive.h"
#include "platform/vb/Variant.h"

#include <QHash>
#include <QString>

#include <sqlite3.h>

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace jet::detail {

struct RecordsetShape;
class RowStore;

// The rows of small snapshots read in the running transaction, by statement text. While the
// transaction lasts and nothing is written through the file's connection, a statement gives the
// rows it gave before (the transaction's read lock keeps every other writer out), so that a
// lookup repeated row after row (an event type's name for each entry of the list) reads the file
// once for each distinct statement. Emptied when a transaction begins or ends.
class SnapshotCache
{
public:
    static constexpr int kMaxRows = 16;
    static constexpr int kCapacity = 64;
    struct Entry
    {
        std::shared_ptr<const RecordsetShape> shape;
        std::shared_ptr<RowStore> rows; // shared with the snapshots opened on it; never written
        std::uint64_t generation = 0;   // Connection::generation when it was read
    };
    const Entry *find(const QByteArray &text) const
    {
        const auto found = mEntries.constFind(text);
        return found == mEntries.cend() ? nullptr : &*found;
    }
    // Past the capacity, further statements are not kept.
    void keep(const QByteArray &text, Entry entry)
    {
        if (mEntries.size() < kCapacity || mEntries.contains(text))
            mEntries.insert(text, std::move(entry));
    }
    void clear() { mEntries.clear(); }

private:
    QHash<QByteArray, Entry> mEntries;
};

// One open file. Databases and their recordsets share it; after close() every user raises 3420.
// The file's kept statements live here so that closing it finalizes them all.
struct Connection
{
    sqlite3 *db = nullptr;
    QString path;
    // Transaction levels open on the file: BEGIN counts as 1, each nested level is a savepoint.
    // The engine may end them all by itself after a failed statement (a full disk); callers
    // bring the count in line first (followEngineTransaction).
    int transDepth = 0;

    ~Connection() { close(); }
    void close();
    bool isOpen() const { return db != nullptr; }
    void ensureOpen() const; // 3420 when closed
    void exec(const char *sql, const QString &forErrors);
    // transDepth 0 when the file has no transaction open any more.
    void followEngineTransaction();
    // Opens one more level.
    void beginLevel();
    // Ends the innermost level. One that fails to end is rolled back (unless the engine already
    // did) before its error is raised: it never stays open.
    void endLevel(bool commit);

    StatementCache statements;

    // Counts the changes to what this connection may read: every write through the engine and
    // every transaction level begun or ended. A kept snapshot holds for its generation only.
    std::uint64_t generation = 0;
    void changed() { ++generation; }
    SnapshotCache snapshots;
    // Inside a transaction that the engine has not abandoned.
    bool mayKeepSnapshots() const { return db && transDepth > 0 && !sqlite3_get_autocommit(db); }
    // The rows kept for the statement `text` when they still hold; null otherwise.
    const SnapshotCache::Entry *keptSnapshot(const QByteArray &text) const
    {
        if (!mayKeepSnapshots())
            return nullptr;
        const SnapshotCache::Entry *kept = snapshots.find(text);
        return kept && kept->generation == generation ? kept : nullptr;
    }
};

// A statement of the file's cache in use, found by a key: the kind of use and the statement's
// text. It goes back to the cache when this ends (also when an error is raised), or is finalized
// if the file was closed meanwhile.
class CachedStatement
{
public:
    CachedStatement(Connection &conn, char kind, const QByteArray &text);
    ~CachedStatement();
    CachedStatement(const CachedStatement &) = delete;
    CachedStatement &operator=(const CachedStatement &) = delete;

    // Null until prepared; also after preparing a text that holds no statement.
    sqlite3_stmt *get() const { return mKept.stmt; }
    // Prepares `sql` (the text to run, which may differ from the key's) when the cache had no
    // statement under the key; raises the engine's error for `forErrors` when it does not prepare.
    void prepareIfNone(const QByteArray &sql, const QString &forErrors);
    const std::shared_ptr<const RecordsetShape> &shape() const { return mKept.shape; }
    void setShape(std::shared_ptr<const RecordsetShape> shape) { mKept.shape = std::move(shape); }

private:
    Connection &mConn;
    std::string mKey;
    StatementCache::Kept mKept;
};

// How a column's declared type maps onto the runtime's types.
enum class ColType { Long, Integer, Single, Double, Date, String, Boolean, Untyped };

struct Column
{
    QString name; // as the statement names it
    ColType type;
    std::string origin;  // the table column it comes from, quoted; empty when not updatable
    std::string rawName; // the name and the declared type as the library gives them
    std::string declared;
};

// What a recordset learns of its statement, kept with the statement in the cache so that opening
// the same text again only reads the rows.
struct RecordsetShape
{
    bool updatable = false; // a dynaset over one table, with each row's rowid after the columns
    QString table;          // that table, unquoted
    std::vector<Column> columns;
    bool read = false; // whether columns have been read from the statement
    // The position of each column name, compared without regard to case; the first column of a
    // name when the statement names it twice. `spelled` holds the same for the names exactly as
    // the statement gives them, the way callers nearly always ask, found without folding.
    std::unordered_map<QString, int, vb::CaseInsensitiveHash, vb::CaseInsensitiveEqual> positions;
    QHash<QString, int> spelled;
    // Whether the statement still has these columns: the library prepares a kept statement again
    // when the schema has changed, and "*" may then stand for other columns.
    bool matches(sqlite3_stmt *stmt) const;
};

ColType colTypeFromDecl(const char *decltype_);

// A value as the library holds it, before it is given its column's type. `text` points into the
// statement's current row, or into a recordset's copy of it.
struct StoredValue
{
    int storage = SQLITE_NULL; // SQLITE_INTEGER, SQLITE_FLOAT, SQLITE_TEXT, SQLITE_BLOB or NULL
    sqlite3_int64 integer = 0;
    double real = 0;
    const char *text = nullptr;
    int bytes = 0;
};
// What is needed of a column of the current row to read it as a column of `type`: for a text
// column the text the library makes of any value (numbers included), else the number as stored,
// or the bytes of text stored in a column of another type.
StoredValue storedValue(sqlite3_stmt *stmt, int column, ColType type);
// The value as the program sees it: converted to the column's type where it fits, as stored
// where it does not.
vb::Variant readValue(const StoredValue &value, ColType type);
inline vb::Variant readValue(sqlite3_stmt *stmt, int column, ColType type)
{
    return readValue(storedValue(stmt, column, type), type);
}
// The value converted for storing in a column of this type; 3421 when it does not convert.
vb::Variant convertFor(ColType type, const vb::Variant &value);
void bindValue(sqlite3_stmt *stmt, int index, const vb::Variant &value);

[[noreturn]] void fail(int number, const QString &description);
// Raises the engine error for a failed library call made for the statement `sql`.
[[noreturn]] void failSqlite(sqlite3 *db, int rc, const QString &sql, const QString &path);

// Statement text helpers: the position of a top-level keyword (outside quotes, brackets and
// parentheses), -1 when absent.
int findKeyword(const QString &sql, const QString &keyword, int from = 0);
// An identifier at `pos` ([x], "x", `x` or a bare word); its end is stored in *end.
QString identifierAt(const QString &sql, int pos, int *end);
// The first table the statement names (after FROM, INTO or UPDATE); empty when none.
QString tableOf(const QString &sql);

std::shared_ptr<Recordset> openRecordset(const std::shared_ptr<Connection> &conn,
                                         const QString &sql, int type);

} // namespace jet::detail

struct jet::Database::Impl
{
    std::shared_ptr<detail::Connection> conn;
};
