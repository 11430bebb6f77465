#include "JetErrors.h"
#include "JetInternal.h"

#include <string>
#include <vector>

namespace jet::detail {

namespace {

// The private name under which a dynaset selects each row's rowid beside the statement's columns.
constexpr const char *kRowidAlias = "kx__rowid";

struct Column
{
    QString name;       // as the statement names it
    ColType type;
    std::string origin; // the table column it comes from, quoted; empty when not updatable
};

struct DynasetPlan
{
    bool updatable = false;
    QString table;     // unquoted
    QString rewritten; // the statement with the rowid added
};

std::string quoted(const QString &name)
{
    std::string out = "\"";
    for (char c : name.toUtf8().toStdString()) {
        if (c == '"')
            out += '"';
        out += c;
    }
    return out + "\"";
}

// Dynasets are updatable over "SELECT <cols> FROM <table> [alias] [WHERE|ORDER BY ...]": one
// table, no DISTINCT or grouping. Anything else is read as it is and refuses Edit / AddNew.
DynasetPlan planDynaset(const QString &sql)
{
    DynasetPlan plan;
    const QString trimmed = sql.trimmed();
    if (!trimmed.startsWith(u"SELECT", Qt::CaseInsensitive))
        return plan;
    const int from = findKeyword(trimmed, QStringLiteral("FROM"));
    if (from < 0 || findKeyword(trimmed, QStringLiteral("DISTINCT")) >= 0
        || findKeyword(trimmed, QStringLiteral("GROUP")) >= 0
        || findKeyword(trimmed, QStringLiteral("JOIN")) >= 0
        || findKeyword(trimmed, QStringLiteral("UNION")) >= 0)
        return plan;
    int end = 0;
    const QString table = identifierAt(trimmed, from + 4, &end);
    if (table.isEmpty() || table.contains(u'('))
        return plan;
    // After the table: the end, a clause keyword or an alias, but no second table.
    int clause = trimmed.size();
    for (const char *kw : {"WHERE", "ORDER", "HAVING", "LIMIT"}) {
        const int at = findKeyword(trimmed, QString::fromLatin1(kw), end);
        if (at >= 0 && at < clause)
            clause = at;
    }
    if (trimmed.mid(end, clause - end).contains(u','))
        return plan;
    plan.updatable = true;
    plan.table = table.contains(u'.') ? table.mid(table.lastIndexOf(u'.') + 1) : table;
    plan.rewritten = trimmed.left(from) + QStringLiteral(", rowid AS ") + QLatin1String(kRowidAlias)
                     + u' ' + trimmed.mid(from);
    return plan;
}

class DaoRecordset final : public Recordset
{
public:
    DaoRecordset(std::shared_ptr<Connection> conn, int type)
        : mConn(std::move(conn)), mType(type)
    {
    }

    void load(const QString &sql)
    {
        QString statement = sql;
        if (mType == dbOpenDynaset) {
            const DynasetPlan plan = planDynaset(sql);
            if (plan.updatable) {
                mUpdatable = true;
                mTable = plan.table;
                statement = plan.rewritten;
            }
        }
        const QByteArray text = statement.toUtf8();
        sqlite3_stmt *raw = nullptr;
        int rc = sqlite3_prepare_v2(mConn->db, text.constData(), text.size(), &raw, nullptr);
        StatementGuard guard(raw);
        if (rc != SQLITE_OK)
            failSqlite(mConn->db, rc, sql, mConn->path);
        if (!raw)
            fail(err::InvalidStatement,
                 QStringLiteral("Invalid SQL statement; expected 'DELETE', 'INSERT', 'PROCEDURE', "
                                "'SELECT', or 'UPDATE'."));
        const int count = sqlite3_column_count(raw) - (mUpdatable ? 1 : 0);
        mColumns.reserve(count);
        for (int i = 0; i < count; ++i) {
            Column col;
            col.name = QString::fromUtf8(sqlite3_column_name(raw, i));
            col.type = colTypeFromDecl(sqlite3_column_decltype(raw, i));
            const char *origin = sqlite3_column_origin_name(raw, i);
            const char *table = sqlite3_column_table_name(raw, i);
            if (mUpdatable && origin && table
                && QString::fromUtf8(table).compare(mTable, Qt::CaseInsensitive) == 0)
                col.origin = quoted(QString::fromUtf8(origin));
            mColumns.push_back(std::move(col));
        }
        while ((rc = sqlite3_step(raw)) == SQLITE_ROW) {
            mRows.push_back(readRow(raw));
            if (mUpdatable)
                mRowids.push_back(sqlite3_column_int64(raw, count));
        }
        if (rc != SQLITE_DONE)
            failSqlite(mConn->db, rc, sql, mConn->path);
        mPos = 0;
        mState = mRows.empty() ? State::AfterLast : State::OnRow;
    }

    int RecordCount() const override
    {
        ensureUsable();
        return static_cast<int>(mRows.size());
    }
    bool eof() const override
    {
        ensureUsable();
        return mRows.empty() || mState == State::AfterLast;
    }
    bool bof() const override
    {
        ensureUsable();
        return mRows.empty() || mState == State::BeforeFirst;
    }

    void MoveFirst() override { moveTo(0); }
    void MoveLast() override { moveTo(static_cast<int>(mRows.size()) - 1); }
    void MoveNext() override
    {
        ensureUsable();
        if (mState == State::AfterLast)
            noCurrentRecord();
        endEdit();
        const int next = mState == State::BeforeFirst ? 0 : mPos + 1;
        if (next >= static_cast<int>(mRows.size())) {
            mState = State::AfterLast;
            mPos = static_cast<int>(mRows.size());
        } else {
            mState = State::OnRow;
            mPos = next;
        }
    }
    void MovePrevious() override
    {
        ensureUsable();
        if (mState == State::BeforeFirst || mRows.empty())
            noCurrentRecord();
        endEdit();
        const int previous = mState == State::AfterLast ? static_cast<int>(mRows.size()) - 1
                                                        : mPos - 1;
        if (previous < 0) {
            mState = State::BeforeFirst;
            mPos = -1;
        } else {
            mState = State::OnRow;
            mPos = previous;
        }
    }

    vb::Variant Field(const QString &name) const override
    {
        ensureUsable();
        const int i = columnIndex(name);
        if (mEdit != EditMode::None)
            return mBuffer[i];
        if (mState != State::OnRow)
            noCurrentRecord();
        return mRows[mPos][i];
    }

    void SetField(const QString &name, const vb::Variant &value) override
    {
        ensureUsable();
        if (mEdit == EditMode::None) {
            if (mState != State::OnRow)
                noCurrentRecord();
            fail(err::UpdateWithoutEdit,
                 QStringLiteral("Update or CancelUpdate without AddNew or Edit."));
        }
        const int i = columnIndex(name);
        if (mColumns[i].origin.empty())
            readOnly();
        mBuffer[i] = convertFor(mColumns[i].type, value);
        mDirty[i] = true;
    }

    QStringList FieldNames() const override
    {
        ensureUsable();
        QStringList names;
        for (const Column &c : mColumns)
            names << c.name;
        return names;
    }

    void Edit() override
    {
        ensureUsable();
        if (!mUpdatable)
            readOnly();
        if (mState != State::OnRow)
            noCurrentRecord();
        mBuffer = mRows[mPos];
        mDirty.assign(mColumns.size(), false);
        mEdit = EditMode::Edit;
    }

    void AddNew() override
    {
        ensureUsable();
        if (!mUpdatable)
            readOnly();
        mBuffer.assign(mColumns.size(), vb::Variant::null());
        mDirty.assign(mColumns.size(), false);
        mEdit = EditMode::Add;
    }

    void Update() override
    {
        ensureUsable();
        if (mEdit == EditMode::None)
            fail(err::UpdateWithoutEdit,
                 QStringLiteral("Update or CancelUpdate without AddNew or Edit."));
        if (mEdit == EditMode::Edit)
            writeEdit();
        else
            writeNew();
        endEdit();
    }

    void CancelUpdate() override
    {
        ensureUsable();
        if (mEdit == EditMode::None)
            fail(err::UpdateWithoutEdit,
                 QStringLiteral("Update or CancelUpdate without AddNew or Edit."));
        endEdit();
    }

    void Close() override
    {
        ensureUsable();
        mClosed = true;
        mRows.clear();
        mRowids.clear();
        mBuffer.clear();
    }

    bool isOpen() const override { return !mClosed && mConn->isOpen(); }

private:
    enum class State { BeforeFirst, OnRow, AfterLast };
    enum class EditMode { None, Edit, Add };

    [[noreturn]] static void noCurrentRecord()
    {
        fail(err::NoCurrentRecord, QStringLiteral("No current record."));
    }
    [[noreturn]] static void readOnly()
    {
        fail(err::ReadOnly, QStringLiteral("Cannot update. Database or object is read-only."));
    }

    void ensureUsable() const
    {
        if (mClosed || !mConn->isOpen())
            fail(err::ObjectInvalid, QStringLiteral("Object invalid or no longer set."));
    }

    int columnIndex(const QString &name) const
    {
        for (int i = 0; i < static_cast<int>(mColumns.size()); ++i)
            if (mColumns[i].name.compare(name, Qt::CaseInsensitive) == 0)
                return i;
        fail(err::ItemNotFound, QStringLiteral("Item not found in this collection."));
    }

    void moveTo(int index)
    {
        ensureUsable();
        if (mRows.empty())
            noCurrentRecord();
        endEdit();
        mPos = index;
        mState = State::OnRow;
    }

    void endEdit()
    {
        mEdit = EditMode::None;
        mBuffer.clear();
        mDirty.clear();
    }

    std::vector<vb::Variant> readRow(sqlite3_stmt *stmt) const
    {
        std::vector<vb::Variant> row;
        row.reserve(mColumns.size());
        for (int i = 0; i < static_cast<int>(mColumns.size()); ++i)
            row.push_back(readValue(stmt, i, mColumns[i].type));
        return row;
    }

    // Runs a cached statement to its end; the bindings are the caller's.
    void run(sqlite3_stmt *stmt, const std::string &sql)
    {
        const int rc = sqlite3_step(stmt);
        if (rc != SQLITE_DONE && rc != SQLITE_ROW) {
            // The error text belongs to the connection until the next call; map it before reset.
            try {
                failSqlite(mConn->db, rc, QString::fromStdString(sql), mConn->path);
            } catch (...) {
                sqlite3_reset(stmt);
                throw;
            }
        }
        sqlite3_reset(stmt);
    }

    void writeEdit()
    {
        std::string sql = "UPDATE " + quoted(mTable) + " SET ";
        bool any = false;
        for (size_t i = 0; i < mColumns.size(); ++i) {
            if (!mDirty[i])
                continue;
            if (any)
                sql += ", ";
            sql += mColumns[i].origin + " = ?";
            any = true;
        }
        if (any) {
            sql += " WHERE rowid = ?";
            sqlite3_stmt *stmt = mConn->cached(sql);
            int index = 1;
            for (size_t i = 0; i < mColumns.size(); ++i)
                if (mDirty[i])
                    bindValue(stmt, index++, mBuffer[i]);
            sqlite3_bind_int64(stmt, index, mRowids[mPos]);
            run(stmt, sql);
        }
        mRows[mPos] = std::move(mBuffer);
    }

    void writeNew()
    {
        std::string names;
        std::string marks;
        for (size_t i = 0; i < mColumns.size(); ++i) {
            if (!mDirty[i])
                continue;
            if (!names.empty()) {
                names += ", ";
                marks += ", ";
            }
            names += mColumns[i].origin;
            marks += "?";
        }
        const std::string sql = names.empty()
            ? "INSERT INTO " + quoted(mTable) + " DEFAULT VALUES"
            : "INSERT INTO " + quoted(mTable) + " (" + names + ") VALUES (" + marks + ")";
        sqlite3_stmt *stmt = mConn->cached(sql);
        int index = 1;
        for (size_t i = 0; i < mColumns.size(); ++i)
            if (mDirty[i])
                bindValue(stmt, index++, mBuffer[i]);
        run(stmt, sql);
        const sqlite3_int64 rowid = sqlite3_last_insert_rowid(mConn->db);
        // Read the row back so that what the table assigned (the auto-number key, defaults) shows.
        std::vector<vb::Variant> row = mBuffer;
        sqlite3_stmt *reread = mConn->cached(rereadSql());
        sqlite3_bind_int64(reread, 1, rowid);
        if (sqlite3_step(reread) == SQLITE_ROW)
            row = readRow(reread);
        sqlite3_reset(reread);
        mRows.push_back(std::move(row));
        mRowids.push_back(rowid);
        // A recordset that stood past its end, or was empty, stays there: the current row is the
        // one that was current before AddNew.
        if (mState == State::AfterLast)
            mPos = static_cast<int>(mRows.size());
    }

    std::string rereadSql() const
    {
        std::string sql = "SELECT ";
        for (size_t i = 0; i < mColumns.size(); ++i) {
            if (i)
                sql += ", ";
            sql += mColumns[i].origin.empty() ? std::string("NULL") : mColumns[i].origin;
        }
        return sql + " FROM " + quoted(mTable) + " WHERE rowid = ?";
    }

    std::shared_ptr<Connection> mConn;
    int mType;
    bool mUpdatable = false;
    bool mClosed = false;
    QString mTable;
    std::vector<Column> mColumns;
    std::vector<std::vector<vb::Variant>> mRows;
    std::vector<sqlite3_int64> mRowids;
    int mPos = 0;
    State mState = State::AfterLast;
    EditMode mEdit = EditMode::None;
    std::vector<vb::Variant> mBuffer;
    std::vector<bool> mDirty;
};

} // namespace

std::shared_ptr<Recordset> openRecordset(const std::shared_ptr<Connection> &conn,
                                         const QString &sql, int type)
{
    if (type != dbOpenDynaset && type != dbOpenSnapshot)
        fail(err::InvalidArgument, QStringLiteral("Invalid argument."));
    auto rs = std::make_shared<DaoRecordset>(conn, type);
    rs->load(sql);
    return rs;
}

} // namespace jet::detail
