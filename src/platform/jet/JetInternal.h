#pragma once

// Pieces shared by the engine's objects; not for use outside src/platform/jet.

#include "Jet.h"

#include "platform/vb/Variant.h"

#include <QString>

#include <sqlite3.h>

#include <memory>
#include <string>
#include <unordered_map>

namespace jet::detail {

// One open file. Databases and their recordsets share it; after close() every user raises 3420.
// Prepared statements that are reused (row updates, row re-reads) live here so that closing the
// file finalizes them all.
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
    sqlite3_stmt *cached(const std::string &sql);
    void exec(const char *sql, const QString &forErrors);
    // transDepth 0 when the file has no transaction open any more.
    void followEngineTransaction();
    // Opens one more level.
    void beginLevel();
    // Ends the innermost level. One that fails to end is rolled back (unless the engine already
    // did) before its error is raised: it never stays open.
    void endLevel(bool commit);

private:
    std::unordered_map<std::string, sqlite3_stmt *> mCache;
};

// Finalizes a statement prepared for one use, also when an error is raised.
struct StatementGuard
{
    explicit StatementGuard(sqlite3_stmt *s) : stmt(s) {}
    ~StatementGuard() { sqlite3_finalize(stmt); }
    StatementGuard(const StatementGuard &) = delete;
    StatementGuard &operator=(const StatementGuard &) = delete;
    sqlite3_stmt *stmt;
};

// How a column's declared type maps onto the runtime's types.
enum class ColType { Long, Integer, Single, Double, Date, String, Boolean, Untyped };

ColType colTypeFromDecl(const char *decltype_);
vb::Variant readValue(sqlite3_stmt *stmt, int column, ColType type);
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
