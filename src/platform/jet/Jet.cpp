#include "Jet.h"

#include "JetErrors.h"
#include "JetInternal.h"
#include "TextOrder.h"

#include <QFile>
#include <QFileInfo>
#include <QLocale>

#include <exception>

namespace jet {

using detail::Connection;
using detail::fail;
using detail::failSqlite;

namespace {

constexpr int kBusyTimeoutMs = 100;

QByteArray passwordFrom(const QString &connect, bool *given)
{
    *given = false;
    for (const QString &item : connect.split(u';')) {
        const int eq = item.indexOf(u'=');
        if (eq < 0)
            continue;
        if (item.left(eq).trimmed().compare(u"pwd", Qt::CaseInsensitive) == 0) {
            *given = true;
            return item.mid(eq + 1).toUtf8();
        }
    }
    return QByteArray();
}

[[noreturn]] void notADatabase(const QString &path)
{
    fail(err::UnrecognizedFormat, QStringLiteral("Unrecognized database format '%1'.").arg(path));
}

[[noreturn]] void wrongPassword()
{
    fail(err::InvalidPassword, QStringLiteral("Not a valid password."));
}

} // namespace

// ---- engine and workspace ----

DBEngine &DBEngine::instance()
{
    static DBEngine engine;
    return engine;
}

std::shared_ptr<Workspace> DBEngine::CreateWorkspace(const QString &, const QString &,
                                                     const QString &, int type)
{
    if (type != dbUseJet)
        fail(err::InvalidArgument, QStringLiteral("Invalid argument."));
    return std::shared_ptr<Workspace>(new Workspace);
}

std::shared_ptr<Database> Workspace::OpenDatabase(const QString &path, bool exclusive,
                                                  bool readOnly, const QString &connect)
{
    const QFileInfo info(path);
    if (!info.exists() || !info.isFile())
        fail(err::FileNotFound, QStringLiteral("Could not find file '%1'.").arg(path));

    // A database file is whole pages; anything else is no database, whatever the password.
    if (info.size() == 0 || info.size() % 512 != 0)
        notADatabase(path);
    bool keyGiven = false;
    const QByteArray key = passwordFrom(connect, &keyGiven);
    bool plain = false;
    {
        QFile file(path);
        if (file.open(QIODevice::ReadOnly))
            plain = file.read(16) == QByteArray("SQLite format 3\0", 16);
    }
    // An unprotected file opened with a password: the password does not fit the file.
    if (plain && keyGiven)
        wrongPassword();

    auto conn = std::make_shared<Connection>();
    conn->path = path;
    // Never SQLITE_OPEN_CREATE: opening must not make a file appear. The program uses a
    // connection from its one thread only, so the connection goes without a lock of its own,
    // which every call into the library would otherwise take and give back.
    const int flags =
        (readOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE) | SQLITE_OPEN_NOMUTEX;
    int rc = sqlite3_open_v2(QFile::encodeName(path).constData(), &conn->db, flags, nullptr);
    if (rc != SQLITE_OK)
        failSqlite(conn->db, rc, QString(), path); // conn's destructor closes the handle
    sqlite3_extended_result_codes(conn->db, 1);
    if (keyGiven) {
        rc = sqlite3_key(conn->db, key.constData(), key.size());
        if (rc != SQLITE_OK)
            wrongPassword();
    }
    sqlite3_busy_timeout(conn->db, kBusyTimeoutMs);
    rc = detail::TextOrder::forLocale(QLocale()).install(conn->db);
    if (rc != SQLITE_OK)
        failSqlite(conn->db, rc, QString(), path);

    // The key is only checked when the first page is read.
    rc = sqlite3_exec(conn->db, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr);
    if ((rc & 0xff) == SQLITE_NOTADB) {
        if (plain)
            notADatabase(path);
        wrongPassword(); // protected file and a wrong or missing password
    }
    if (rc != SQLITE_OK)
        failSqlite(conn->db, rc, QString(), path);

    if (exclusive) {
        // Take the file's write lock now and keep it until the database is closed.
        conn->exec("PRAGMA locking_mode = EXCLUSIVE", QString());
        rc = sqlite3_exec(conn->db, "BEGIN EXCLUSIVE; COMMIT", nullptr, nullptr, nullptr);
        if (rc != SQLITE_OK)
            failSqlite(conn->db, rc, QString(), path);
    }

    auto impl = std::make_unique<Database::Impl>();
    impl->conn = std::move(conn);
    auto db = std::make_shared<Database>(std::move(impl));

    std::erase_if(mDatabases, [](const std::weak_ptr<Database> &d) { return d.expired(); });
    mDatabases.push_back(db);
    return db;
}

// Nested BeginTrans calls are counted: the outermost is a transaction, each inner one a savepoint,
// so an inner Rollback discards only what was done since its own BeginTrans.
void Workspace::BeginTrans()
{
    for (const auto &weak : mDatabases) {
        auto db = weak.lock();
        if (db && db->isOpen())
            db->impl()->conn->beginLevel();
    }
    ++mTransLevel;
}

void Workspace::CommitTrans()
{
    EndTrans(true);
}

void Workspace::Rollback()
{
    EndTrans(false);
}

// Ends the innermost level on every database that takes part in it. The level ends also when a
// database fails to end it (that database rolls it back); the first failure is raised after all
// are done. A database whose transaction the engine has already abandoned has nothing to end:
// the error that abandoned it was raised by the statement that failed.
void Workspace::EndTrans(bool commit)
{
    if (mTransLevel == 0)
        fail(err::NoTransaction,
             QStringLiteral("You tried to commit or rollback a transaction without first "
                            "beginning a transaction."));
    std::exception_ptr failure;
    for (const auto &weak : mDatabases) {
        auto db = weak.lock();
        if (!db || !db->isOpen())
            continue;
        Connection &c = *db->impl()->conn;
        c.followEngineTransaction();
        if (c.transDepth == 0)
            continue; // opened after the BeginTrans, or abandoned by the engine
        try {
            c.endLevel(commit);
        } catch (...) {
            if (!failure)
                failure = std::current_exception();
        }
    }
    --mTransLevel;
    if (failure)
        std::rethrow_exception(failure);
}

// ---- database ----

Database::Database(std::unique_ptr<Impl> impl) : mImpl(std::move(impl)) {}

Database::~Database()
{
    Close();
}

std::shared_ptr<Recordset> Database::OpenRecordset(const QString &sql, int type)
{
    mImpl->conn->ensureOpen();
    return detail::openRecordset(mImpl->conn, sql, type);
}

void Database::Execute(const QString &sql)
{
    Connection &c = *mImpl->conn;
    c.ensureOpen();
    const QByteArray text = sql.toUtf8();
    c.changed();
    detail::CachedStatement stmt(c, 'X', text);
    stmt.prepareIfNone(text, sql);
    if (!stmt.get())
        return; // an empty statement
    int rc;
    do
        rc = sqlite3_step(stmt.get());
    while (rc == SQLITE_ROW);
    if (rc != SQLITE_DONE)
        failSqlite(c.db, rc, sql, c.path);
}

void Database::Close()
{
    if (mImpl && mImpl->conn)
        mImpl->conn->close();
}

bool Database::isOpen() const
{
    return mImpl->conn->isOpen();
}

QString Database::name() const
{
    return mImpl->conn->path;
}

Recordset::~Recordset() = default;

} // namespace jet
