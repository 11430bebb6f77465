#include "JetInternal.h"

#include "JetErrors.h"

#include "platform/vb/Conversions.h"
#include "platform/vb/RuntimeError.h"

#include <QDate>
#include <QFileInfo>
#include <QStringDecoder>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <exception>
#include <limits>

namespace jet::detail {

void fail(int number, const QString &description)
{
    throw vb::RuntimeError(number, description);
}

void Connection::close()
{
    snapshots.clear();
    changed();
    statements.clear();
    if (db) {
        // close_v2 also rolls back an open transaction; it never fails for want of finalizing,
        // since every statement of ours is finalized by now.
        sqlite3_close_v2(db);
        db = nullptr;
    }
    transDepth = 0;
}

void Connection::ensureOpen() const
{
    if (!db)
        fail(err::ObjectInvalid, QStringLiteral("Object invalid or no longer set."));
}

CachedStatement::CachedStatement(Connection &conn, char kind, const QByteArray &text) : mConn(conn)
{
    mKey.reserve(static_cast<size_t>(text.size()) + 1);
    mKey += kind;
    mKey.append(text.constData(), static_cast<size_t>(text.size()));
    mKept = mConn.statements.take(mKey);
}

CachedStatement::~CachedStatement()
{
    if (mConn.db)
        mConn.statements.give(mKey, std::move(mKept));
    else
        sqlite3_finalize(mKept.stmt);
}

void CachedStatement::prepareIfNone(const QByteArray &sql, const QString &forErrors)
{
    if (mKept.stmt)
        return;
    mConn.ensureOpen();
    sqlite3_stmt *stmt = nullptr;
    const int rc =
        sqlite3_prepare_v2(mConn.db, sql.constData(), static_cast<int>(sql.size()), &stmt, nullptr);
    if (rc != SQLITE_OK) {
        sqlite3_finalize(stmt);
        failSqlite(mConn.db, rc, forErrors, mConn.path);
    }
    mKept = StatementCache::Kept{stmt, nullptr};
}

void Connection::exec(const char *sql, const QString &forErrors)
{
    ensureOpen();
    changed();
    const int rc = sqlite3_exec(db, sql, nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK)
        failSqlite(db, rc, forErrors, path);
}

void Connection::followEngineTransaction()
{
    if (db && transDepth > 0 && sqlite3_get_autocommit(db))
        transDepth = 0;
}

namespace {

std::string levelName(int depth)
{
    return "kx_level_" + std::to_string(depth - 1);
}

} // namespace

void Connection::beginLevel()
{
    followEngineTransaction();
    if (transDepth == 0)
        snapshots.clear(); // what was read before the transaction is no ground for it
    const std::string sql = transDepth == 0 ? "BEGIN" : "SAVEPOINT " + levelName(transDepth + 1);
    exec(sql.c_str(), QString());
    ++transDepth;
}

void Connection::endLevel(bool commit)
{
    const int level = transDepth;
    const std::string name = levelName(level);
    const std::string sql =
        level == 1 ? (commit ? "COMMIT" : "ROLLBACK")
                   : (commit ? "RELEASE " + name : "ROLLBACK TO " + name + "; RELEASE " + name);
    changed();
    if (level == 1)
        snapshots.clear();
    const int rc = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr);
    if (rc == SQLITE_OK) {
        --transDepth;
        return;
    }
    // The error is taken before the clean-up below replaces the connection's error text.
    std::exception_ptr error;
    try {
        failSqlite(db, rc, QString(), path);
    } catch (...) {
        error = std::current_exception();
    }
    // A level that failed to end is not left open: the engine may have rolled everything back
    // itself (a full disk), otherwise the level's work is discarded here.
    followEngineTransaction();
    if (transDepth >= level) {
        const std::string undo =
            level == 1 ? std::string("ROLLBACK") : "ROLLBACK TO " + name + "; RELEASE " + name;
        sqlite3_exec(db, undo.c_str(), nullptr, nullptr, nullptr);
        followEngineTransaction();
        transDepth = std::min(transDepth, level - 1);
    }
    std::rethrow_exception(error);
}

// ---- types and values ----

ColType colTypeFromDecl(const char *decl)
{
    if (!decl || !*decl)
        return ColType::Untyped;
    const QByteArray d = QByteArray(decl).toUpper();
    if (d.contains("TEXT") || d.contains("CHAR") || d.contains("MEMO") || d.contains("CLOB"))
        return ColType::String;
    if (d.contains("DATE") || d.contains("TIME"))
        return ColType::Date;
    if (d.contains("SMALLINT") || d.contains("SHORT") || d.contains("TINYINT"))
        return ColType::Integer;
    if (d.contains("BIT") || d.contains("BOOL") || d.contains("YESNO"))
        return ColType::Boolean;
    if (d.contains("INT") || d.contains("LONG") || d.contains("COUNTER"))
        return ColType::Long;
    if (d.contains("SINGLE"))
        return ColType::Single;
    if (d.contains("DOUBLE") || d.contains("REAL") || d.contains("FLOAT") || d.contains("NUM") ||
        d.contains("DEC") || d.contains("CURRENCY"))
        return ColType::Double;
    return ColType::Untyped;
}

namespace {

constexpr qint64 kEpochJulianDay = 2415019; // 30 December 1899

bool digits(const char *p, int n, int *out)
{
    int v = 0;
    for (int i = 0; i < n; ++i) {
        if (p[i] < '0' || p[i] > '9')
            return false;
        v = v * 10 + (p[i] - '0');
    }
    *out = v;
    return true;
}

// Reads the stored form "yyyy-MM-dd HH:mm:ss" (also without the time, with a 'T', or a bare
// "HH:mm:ss"); false for anything else.
bool parseStoredDate(const char *s, int len, vb::Date *out)
{
    int y = 1899, mo = 12, d = 30, h = 0, mi = 0, sec = 0;
    const char *t = nullptr;
    int tlen = 0;
    if (len >= 10 && s[4] == '-' && s[7] == '-') {
        if (!digits(s, 4, &y) || !digits(s + 5, 2, &mo) || !digits(s + 8, 2, &d))
            return false;
        if (len > 10) {
            if (s[10] != ' ' && s[10] != 'T')
                return false;
            t = s + 11;
            tlen = len - 11;
        }
    } else {
        t = s;
        tlen = len;
    }
    if (t) {
        if (tlen != 8 && tlen != 5)
            return false;
        if (!digits(t, 2, &h) || t[2] != ':' || !digits(t + 3, 2, &mi))
            return false;
        if (tlen == 8 && (t[5] != ':' || !digits(t + 6, 2, &sec)))
            return false;
        if (h > 23 || mi > 59 || sec > 59)
            return false;
    }
    const QDate date(y, mo, d);
    if (!date.isValid())
        return false;
    const double days = static_cast<double>(date.toJulianDay() - kEpochJulianDay);
    const double frac = (h * 3600 + mi * 60 + sec) / 86400.0;
    *out = vb::Date(days >= 0 ? days + frac : days - frac);
    return true;
}

QByteArray storedDateText(vb::Date value)
{
    const QDate d = value.date();
    const QTime t = value.time();
    char buf[32];
    const int n = std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d:%02d", d.year(),
                                d.month(), d.day(), t.hour(), t.minute(), t.second());
    return QByteArray(buf, n);
}

// The library's own conversion of a stored real to an integer (sqlite3_column_int64).
sqlite3_int64 realToInt64(double r)
{
    constexpr sqlite3_int64 kMax = std::numeric_limits<sqlite3_int64>::max();
    constexpr sqlite3_int64 kMin = std::numeric_limits<sqlite3_int64>::min();
    if (r <= static_cast<double>(kMin))
        return kMin;
    if (r >= static_cast<double>(kMax))
        return kMax;
    return static_cast<sqlite3_int64>(r);
}

QString textOf(const StoredValue &value)
{
    // A byte-order mark at the start of a text is one of its characters, not a mark to skip
    // (fromUtf8 drops it).
    QStringDecoder decode(QStringConverter::Utf8, QStringConverter::Flag::Stateless |
                                                      QStringConverter::Flag::ConvertInitialBom);
    return decode(QByteArrayView(value.text, value.bytes));
}

vb::Variant fromStorage(const StoredValue &value)
{
    switch (value.storage) {
    case SQLITE_INTEGER:
        if (value.integer >= INT32_MIN && value.integer <= INT32_MAX)
            return vb::Variant(static_cast<std::int32_t>(value.integer));
        return vb::Variant(static_cast<double>(value.integer));
    case SQLITE_FLOAT:
        return vb::Variant(value.real);
    case SQLITE_NULL:
        return vb::Variant::null();
    default:
        return vb::Variant(textOf(value));
    }
}

} // namespace

StoredValue storedValue(sqlite3_stmt *stmt, int column, ColType type)
{
    // One call into the statement for the column, the rest on its value: every column call
    // takes the connection's lock, a value call none (this program reads on one thread).
    sqlite3_value *stored = sqlite3_column_value(stmt, column);
    StoredValue value;
    value.storage = sqlite3_value_type(stored);
    if (value.storage == SQLITE_NULL)
        return value;
    if (type == ColType::String || value.storage == SQLITE_TEXT || value.storage == SQLITE_BLOB) {
        if (type == ColType::String)
            value.storage = SQLITE_TEXT;
        value.text = reinterpret_cast<const char *>(sqlite3_value_text(stored));
        value.bytes = sqlite3_value_bytes(stored);
    } else if (value.storage == SQLITE_INTEGER) {
        value.integer = sqlite3_value_int64(stored);
    } else {
        value.real = sqlite3_value_double(stored);
    }
    return value;
}

vb::Variant readValue(const StoredValue &value, ColType type)
{
    const int storage = value.storage;
    if (storage == SQLITE_NULL)
        return vb::Variant::null();
    const bool numeric = storage == SQLITE_INTEGER || storage == SQLITE_FLOAT;
    const auto integer = [&] {
        return storage == SQLITE_INTEGER ? value.integer : realToInt64(value.real);
    };
    const auto real = [&] {
        return storage == SQLITE_FLOAT ? value.real : static_cast<double>(value.integer);
    };
    switch (type) {
    case ColType::Long:
        if (numeric)
            return vb::Variant(static_cast<std::int32_t>(integer()));
        break;
    case ColType::Integer:
        if (numeric)
            return vb::Variant(static_cast<std::int16_t>(integer()));
        break;
    case ColType::Single:
        if (numeric)
            return vb::Variant(static_cast<float>(real()));
        break;
    case ColType::Double:
        if (numeric)
            return vb::Variant(real());
        break;
    case ColType::Boolean:
        if (numeric)
            return vb::Variant(integer() != 0);
        break;
    case ColType::Date:
        if (numeric)
            return vb::Variant(vb::Date(real()));
        if (storage == SQLITE_TEXT) {
            vb::Date d;
            if (parseStoredDate(value.text, value.bytes, &d))
                return vb::Variant(d);
        }
        break;
    case ColType::String:
        return vb::Variant(textOf(value));
    case ColType::Untyped:
        break;
    }
    // A value that does not fit its column's type (written by another program) is shown as it
    // is stored rather than guessed at.
    return fromStorage(value);
}

vb::Variant convertFor(ColType type, const vb::Variant &value)
{
    if (value.isNull() || value.isEmpty())
        return vb::Variant::null();
    try {
        switch (type) {
        case ColType::Long:
            return vb::Variant(vb::CLng(value));
        case ColType::Integer:
            return vb::Variant(vb::CInt(value));
        case ColType::Single:
            return vb::Variant(vb::CSng(value));
        case ColType::Double:
            return vb::Variant(vb::CDbl(value));
        case ColType::Boolean:
            return vb::Variant(vb::CBool(value));
        case ColType::Date:
            if (const QString *s = value.get<QString>())
                return vb::Variant(vb::textToDate(*s));
            return vb::Variant(vb::CDate(value));
        case ColType::String:
            return vb::Variant(vb::CStr(value));
        case ColType::Untyped:
            return value;
        }
    } catch (const vb::RuntimeError &) {
        // fall through to the engine's own error
    }
    fail(err::ConversionError, QStringLiteral("Data type conversion error."));
}

void bindValue(sqlite3_stmt *stmt, int index, const vb::Variant &value)
{
    if (const auto *v = value.get<std::int32_t>())
        sqlite3_bind_int64(stmt, index, *v);
    else if (const auto *v = value.get<std::int16_t>())
        sqlite3_bind_int64(stmt, index, *v);
    else if (const auto *v = value.get<bool>())
        sqlite3_bind_int64(stmt, index, *v ? 1 : 0);
    else if (const auto *v = value.get<double>())
        sqlite3_bind_double(stmt, index, *v);
    else if (const auto *v = value.get<float>())
        sqlite3_bind_double(stmt, index, *v);
    else if (const auto *v = value.get<vb::Date>()) {
        const QByteArray text = storedDateText(*v);
        sqlite3_bind_text(stmt, index, text.constData(), text.size(), SQLITE_TRANSIENT);
    } else if (const auto *v = value.get<QString>()) {
        const QByteArray text = v->toUtf8();
        sqlite3_bind_text(stmt, index, text.constData(), text.size(), SQLITE_TRANSIENT);
    } else
        sqlite3_bind_null(stmt, index);
}

// ---- statement text ----

namespace {

bool isWordChar(QChar c)
{
    return c.isLetterOrNumber() || c == u'_';
}

// Skips a quoted or bracketed part starting at i; returns the index after it.
int skipQuoted(const QString &sql, int i)
{
    const QChar open = sql[i];
    const QChar close = open == u'[' ? u']' : open;
    int j = i + 1;
    while (j < sql.size()) {
        if (sql[j] == close) {
            if (close != u']' && j + 1 < sql.size() && sql[j + 1] == close) {
                j += 2; // doubled quote inside the literal
                continue;
            }
            return j + 1;
        }
        ++j;
    }
    return j;
}

QString firstWord(const QString &sql)
{
    int i = 0;
    while (i < sql.size() && sql[i].isSpace())
        ++i;
    int j = i;
    while (j < sql.size() && isWordChar(sql[j]))
        ++j;
    return sql.mid(i, j - i).toUpper();
}

int skipSpace(const QString &sql, int i)
{
    while (i < sql.size() && sql[i].isSpace())
        ++i;
    return i;
}

} // namespace

int findKeyword(const QString &sql, const QString &keyword, int from)
{
    int depth = 0;
    int i = from;
    while (i < sql.size()) {
        const QChar c = sql[i];
        if (c == u'\'' || c == u'"' || c == u'`' || c == u'[') {
            i = skipQuoted(sql, i);
            continue;
        }
        if (c == u'(')
            ++depth;
        else if (c == u')')
            --depth;
        else if (depth == 0 && isWordChar(c) && (i == 0 || !isWordChar(sql[i - 1]))) {
            int j = i;
            while (j < sql.size() && isWordChar(sql[j]))
                ++j;
            if (QStringView(sql).mid(i, j - i).compare(keyword, Qt::CaseInsensitive) == 0)
                return i;
            i = j;
            continue;
        }
        ++i;
    }
    return -1;
}

QString identifierAt(const QString &sql, int pos, int *end)
{
    pos = skipSpace(sql, pos);
    if (pos < sql.size() && (sql[pos] == u'[' || sql[pos] == u'"' || sql[pos] == u'`')) {
        const int after = skipQuoted(sql, pos);
        *end = after;
        return sql.mid(pos + 1, after - pos - 2);
    }
    int j = pos;
    while (j < sql.size() && (isWordChar(sql[j]) || sql[j] == u'.'))
        ++j;
    *end = j;
    return sql.mid(pos, j - pos);
}

QString tableOf(const QString &sql)
{
    const QString verb = firstWord(sql);
    QString keyword;
    if (verb == u"SELECT" || verb == u"DELETE")
        keyword = QStringLiteral("FROM");
    else if (verb == u"INSERT")
        keyword = QStringLiteral("INTO");
    else if (verb == u"UPDATE")
        keyword = QStringLiteral("UPDATE");
    else
        return QString();
    const int at = findKeyword(sql, keyword);
    if (at < 0)
        return QString();
    int end = 0;
    return identifierAt(sql, at + keyword.size(), &end);
}

// ---- errors ----

namespace {

[[noreturn]] void syntaxError(const QString &sql, const QString &message)
{
    const QString verb = firstWord(sql);
    if (verb == u"INSERT")
        fail(err::SyntaxError, QStringLiteral("Syntax error in INSERT INTO statement."));
    if (verb == u"UPDATE")
        fail(err::SyntaxError, QStringLiteral("Syntax error in UPDATE statement."));
    if (verb == u"DELETE")
        fail(err::SyntaxError, QStringLiteral("Syntax error in DELETE statement."));
    if (verb != u"SELECT")
        fail(err::InvalidStatement,
             QStringLiteral("Invalid SQL statement; expected 'DELETE', 'INSERT', 'PROCEDURE', "
                            "'SELECT', or 'UPDATE'."));

    // Where did the parser stop? At the token it names, or at the end for incomplete input.
    int pos = sql.size();
    const int q1 = message.indexOf(u'"');
    const int q2 = q1 >= 0 ? message.indexOf(u'"', q1 + 1) : -1;
    if (q1 >= 0 && q2 > q1) {
        const QString token = message.mid(q1 + 1, q2 - q1 - 1);
        const int at = sql.indexOf(token, 0, Qt::CaseInsensitive);
        if (at >= 0)
            pos = at;
    }
    const int from = findKeyword(sql, QStringLiteral("FROM"));
    int clauseEnd = sql.size();
    for (const char *kw : {"WHERE", "GROUP", "HAVING", "ORDER"}) {
        const int at = findKeyword(sql, QString::fromLatin1(kw), from < 0 ? 0 : from);
        if (at >= 0 && at < clauseEnd)
            clauseEnd = at;
    }
    if (from < 0 || pos < from) {
        const int start = skipSpace(sql, 6);
        fail(err::SyntaxMissingOperator,
             QStringLiteral("Syntax error (missing operator) in query expression '%1'.")
                 .arg(sql.mid(start, (from < 0 ? sql.size() : from) - start).trimmed()));
    }
    if (pos < clauseEnd || clauseEnd == sql.size())
        fail(err::SyntaxInFrom, QStringLiteral("Syntax error in FROM clause."));
    // The expression of the clause the error is in, without its keyword(s).
    int start = clauseEnd;
    for (const char *kw : {"WHERE", "GROUP", "HAVING", "ORDER"}) {
        const int at = findKeyword(sql, QString::fromLatin1(kw), from);
        if (at >= 0 && at <= pos && at >= start)
            start = at;
    }
    int end = sql.size();
    for (const char *kw : {"WHERE", "GROUP", "HAVING", "ORDER"}) {
        const int at = findKeyword(sql, QString::fromLatin1(kw), start + 1);
        if (at > start && at < end)
            end = at;
    }
    int exprStart = start;
    while (exprStart < end && isWordChar(sql[exprStart]))
        ++exprStart;
    exprStart = skipSpace(sql, exprStart);
    if (sql.mid(exprStart, 2).compare(u"BY", Qt::CaseInsensitive) == 0)
        exprStart = skipSpace(sql, exprStart + 2);
    fail(err::SyntaxMissingOperator,
         QStringLiteral("Syntax error (missing operator) in query expression '%1'.")
             .arg(sql.mid(exprStart, end - exprStart).trimmed()));
}

QString heldTableName(const QString &sql, const QString &path)
{
    const QString table = tableOf(sql);
    return table.isEmpty() ? QFileInfo(path).fileName() : table;
}

} // namespace

void failSqlite(sqlite3 *db, int rc, const QString &sql, const QString &path)
{
    const QString message = db ? QString::fromUtf8(sqlite3_errmsg(db)) : QString();
    const int extended = db ? sqlite3_extended_errcode(db) : rc;
    switch (rc & 0xff) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        fail(err::TableHeld,
             QStringLiteral("The table '%1' is already opened exclusively by another user, or it "
                            "is already open through the user interface and cannot be "
                            "manipulated programmatically.")
                 .arg(heldTableName(sql, path)));
    case SQLITE_READONLY:
        fail(err::ReadOnly, QStringLiteral("Cannot update. Database or object is read-only."));
    case SQLITE_CONSTRAINT:
        if (extended == SQLITE_CONSTRAINT_NOTNULL) {
            const int dot = message.lastIndexOf(u' ');
            fail(err::FieldRequired,
                 QStringLiteral("The field '%1' cannot contain a Null value because the Required "
                                "property for this field is set to True. Enter a value in this "
                                "field.")
                     .arg(message.mid(dot + 1)));
        }
        fail(err::DuplicateKey,
             QStringLiteral("The changes you requested to the table were not successful because "
                            "they would create duplicate values in the index, primary key, or "
                            "relationship. Change the data in the field or fields that contain "
                            "duplicate data, remove the index, or redefine the index to permit "
                            "duplicate entries and try again."));
    case SQLITE_NOTADB:
    case SQLITE_CORRUPT:
        fail(err::UnrecognizedFormat,
             QStringLiteral("Unrecognized database format '%1'.").arg(path));
    case SQLITE_FULL:
        fail(err::DiskFull, QStringLiteral("Not enough space on disk."));
    case SQLITE_IOERR:
    case SQLITE_CANTOPEN:
        fail(err::DiskIo, QStringLiteral("Disk or network error."));
    case SQLITE_NOMEM:
        vb::raise(vb::err::OutOfMemory);
    case SQLITE_ERROR:
        if (message.startsWith(u"no such table: ")) {
            QString name = message.mid(15);
            if (name.startsWith(u"main."))
                name = name.mid(5);
            fail(err::InputTableNotFound,
                 QStringLiteral("The database engine cannot find the input table or query '%1'. "
                                "Make sure it exists and that its name is spelled correctly.")
                     .arg(name));
        }
        if (message.startsWith(u"no such column: "))
            fail(err::TooFewParameters, QStringLiteral("Too few parameters. Expected 1."));
        if (message.startsWith(u"ambiguous column name: "))
            fail(err::AmbiguousField,
                 QStringLiteral("The specified field '%1' could refer to more than one table "
                                "listed in the FROM clause of your SQL statement.")
                     .arg(message.mid(23)));
        if (message.contains(u" has no column named "))
            fail(err::UnknownInsertField,
                 QStringLiteral("The INSERT INTO statement contains the following unknown field "
                                "name: '%1'. Make sure you have typed the name correctly, and try "
                                "the operation again.")
                     .arg(message.mid(message.indexOf(u" has no column named ") + 21)));
        if (message.contains(u"syntax error") || message.contains(u"incomplete input") ||
            message.contains(u"unrecognized token"))
            syntaxError(sql, message);
        break;
    default:
        break;
    }
    fail(err::InvalidArgument, QStringLiteral("Invalid argument."));
}

} // namespace jet::detail
