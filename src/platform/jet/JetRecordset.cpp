#include "JetErrors.h"
#include "JetInternal.h"

#include <iterator>
#include <string>
#include <vector>

namespace jet::detail {

namespace {

// The private name under which a dynaset selects each row's rowid beside the statement's columns.
constexpr const char *kRowidAlias = "kx__rowid";

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
    if (from < 0 || findKeyword(trimmed, QStringLiteral("DISTINCT")) >= 0 ||
        findKeyword(trimmed, QStringLiteral("GROUP")) >= 0 ||
        findKeyword(trimmed, QStringLiteral("JOIN")) >= 0 ||
        findKeyword(trimmed, QStringLiteral("UNION")) >= 0)
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
    plan.rewritten = trimmed.left(from) + QStringLiteral(", rowid AS ") +
                     QLatin1String(kRowidAlias) + u' ' + trimmed.mid(from);
    return plan;
}

// The columns of a prepared statement, with the plan of `earlier` (a dynaset's table).
std::shared_ptr<const RecordsetShape> readShape(sqlite3_stmt *stmt, const RecordsetShape &earlier)
{
    auto shape = std::make_shared<RecordsetShape>();
    shape->updatable = earlier.updatable;
    shape->table = earlier.table;
    shape->read = true;
    const int count = sqlite3_column_count(stmt) - (shape->updatable ? 1 : 0);
    shape->columns.reserve(count);
    for (int i = 0; i < count; ++i) {
        Column col;
        const char *name = sqlite3_column_name(stmt, i);
        const char *declared = sqlite3_column_decltype(stmt, i);
        col.rawName = name ? name : "";
        col.declared = declared ? declared : "";
        col.name = QString::fromStdString(col.rawName);
        col.type = colTypeFromDecl(declared);
        const char *origin = sqlite3_column_origin_name(stmt, i);
        const char *table = sqlite3_column_table_name(stmt, i);
        if (shape->updatable && origin && table &&
            QString::fromUtf8(table).compare(shape->table, Qt::CaseInsensitive) == 0)
            col.origin = quoted(QString::fromUtf8(origin));
        shape->columns.push_back(std::move(col));
    }
    return shape;
}

} // namespace

bool RecordsetShape::matches(sqlite3_stmt *stmt) const
{
    if (!read ||
        sqlite3_column_count(stmt) != static_cast<int>(columns.size()) + (updatable ? 1 : 0))
        return false;
    for (int i = 0; i < static_cast<int>(columns.size()); ++i) {
        const char *name = sqlite3_column_name(stmt, i);
        const char *declared = sqlite3_column_decltype(stmt, i);
        if (columns[i].rawName != (name ? name : "") ||
            columns[i].declared != (declared ? declared : ""))
            return false;
    }
    return true;
}

namespace {

class DaoRecordset final : public Recordset
{
public:
    DaoRecordset(std::shared_ptr<Connection> conn, int type) : mConn(std::move(conn)), mType(type)
    {
    }

    void load(const QString &sql)
    {
        const QByteArray text = sql.toUtf8();
        CachedStatement stmt(*mConn, mType == dbOpenDynaset ? 'D' : 'S', text);
        std::shared_ptr<const RecordsetShape> shape = stmt.shape();
        if (!stmt.get()) {
            auto fresh = std::make_shared<RecordsetShape>();
            QByteArray statement = text;
            if (mType == dbOpenDynaset) {
                const DynasetPlan plan = planDynaset(sql);
                if (plan.updatable) {
                    fresh->updatable = true;
                    fresh->table = plan.table;
                    statement = plan.rewritten.toUtf8();
                }
            }
            stmt.prepareIfNone(statement, sql);
            if (!stmt.get())
                fail(err::InvalidStatement,
                     QStringLiteral("Invalid SQL statement; expected 'DELETE', 'INSERT', "
                                    "'PROCEDURE', 'SELECT', or 'UPDATE'."));
            shape = std::move(fresh);
            stmt.setShape(shape); // kept with its plan also when the first step fails
        }
        // The first step prepares the statement again if the schema changed since it was kept.
        int rc = sqlite3_step(stmt.get());
        if (rc != SQLITE_ROW && rc != SQLITE_DONE)
            failSqlite(mConn->db, rc, sql, mConn->path);
        if (!shape->matches(stmt.get())) {
            shape = readShape(stmt.get(), *shape);
            stmt.setShape(shape);
        }
        mShape = shape;
        const int count = static_cast<int>(mShape->columns.size());
        for (; rc == SQLITE_ROW; rc = sqlite3_step(stmt.get())) {
            appendRow(stmt.get());
            if (mShape->updatable)
                mRowids.push_back(sqlite3_column_int64(stmt.get(), count));
        }
        if (rc != SQLITE_DONE)
            failSqlite(mConn->db, rc, sql, mConn->path);
        mPos = 0;
        mState = mRowCount == 0 ? State::AfterLast : State::OnRow;
    }

    int RecordCount() const override
    {
        ensureUsable();
        return mRowCount;
    }
    bool eof() const override
    {
        ensureUsable();
        return mRowCount == 0 || mState == State::AfterLast;
    }
    bool bof() const override
    {
        ensureUsable();
        return mRowCount == 0 || mState == State::BeforeFirst;
    }

    void MoveFirst() override { moveTo(0); }
    void MoveLast() override { moveTo(mRowCount - 1); }
    void MoveNext() override
    {
        ensureUsable();
        if (mState == State::AfterLast)
            noCurrentRecord();
        endEdit();
        const int next = mState == State::BeforeFirst ? 0 : mPos + 1;
        if (next >= mRowCount) {
            mState = State::AfterLast;
            mPos = mRowCount;
        } else {
            mState = State::OnRow;
            mPos = next;
        }
    }
    void MovePrevious() override
    {
        ensureUsable();
        if (mState == State::BeforeFirst || mRowCount == 0)
            noCurrentRecord();
        endEdit();
        const int previous = mState == State::AfterLast ? mRowCount - 1 : mPos - 1;
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
        return row(mPos)[i];
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
        if (mShape->columns[i].origin.empty())
            readOnly();
        mBuffer[i] = convertFor(mShape->columns[i].type, value);
        mDirty[i] = true;
    }

    QStringList FieldNames() const override
    {
        ensureUsable();
        QStringList names;
        for (const Column &c : mShape->columns)
            names << c.name;
        return names;
    }

    void Edit() override
    {
        ensureUsable();
        if (!mShape->updatable)
            readOnly();
        if (mState != State::OnRow)
            noCurrentRecord();
        mBuffer.assign(row(mPos), row(mPos) + width());
        mDirty.assign(mShape->columns.size(), false);
        mEdit = EditMode::Edit;
    }

    void AddNew() override
    {
        ensureUsable();
        if (!mShape->updatable)
            readOnly();
        mBuffer.assign(mShape->columns.size(), vb::Variant::null());
        mDirty.assign(mShape->columns.size(), false);
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
        mValues.clear();
        mRowCount = 0;
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
        for (int i = 0; i < static_cast<int>(mShape->columns.size()); ++i)
            if (mShape->columns[i].name.compare(name, Qt::CaseInsensitive) == 0)
                return i;
        fail(err::ItemNotFound, QStringLiteral("Item not found in this collection."));
    }

    void moveTo(int index)
    {
        ensureUsable();
        if (mRowCount == 0)
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

    int width() const { return static_cast<int>(mShape->columns.size()); }
    const vb::Variant *row(int index) const { return mValues.data() + index * width(); }
    vb::Variant *row(int index) { return mValues.data() + index * width(); }

    void appendRow(sqlite3_stmt *stmt)
    {
        for (int i = 0; i < width(); ++i)
            mValues.push_back(readValue(stmt, i, mShape->columns[i].type));
        ++mRowCount;
    }
    void appendRow(std::vector<vb::Variant> values)
    {
        std::move(values.begin(), values.end(), std::back_inserter(mValues));
        ++mRowCount;
    }

    // Runs a statement to its end; the bindings are the caller's.
    void run(sqlite3_stmt *stmt, const std::string &sql)
    {
        const int rc = sqlite3_step(stmt);
        if (rc != SQLITE_DONE && rc != SQLITE_ROW)
            failSqlite(mConn->db, rc, QString::fromStdString(sql), mConn->path);
    }

    void writeEdit()
    {
        const std::vector<Column> &columns = mShape->columns;
        std::string sql = "UPDATE " + quoted(mShape->table) + " SET ";
        bool any = false;
        for (size_t i = 0; i < columns.size(); ++i) {
            if (!mDirty[i])
                continue;
            if (any)
                sql += ", ";
            sql += columns[i].origin + " = ?";
            any = true;
        }
        if (any) {
            sql += " WHERE rowid = ?";
            CachedStatement stmt(*mConn, 'W', QByteArray::fromStdString(sql));
            stmt.prepareIfNone(QByteArray::fromStdString(sql), QString::fromStdString(sql));
            int index = 1;
            for (size_t i = 0; i < columns.size(); ++i)
                if (mDirty[i])
                    bindValue(stmt.get(), index++, mBuffer[i]);
            sqlite3_bind_int64(stmt.get(), index, mRowids[mPos]);
            run(stmt.get(), sql);
        }
        std::move(mBuffer.begin(), mBuffer.end(), row(mPos));
    }

    void writeNew()
    {
        const std::vector<Column> &columns = mShape->columns;
        const std::string table = quoted(mShape->table);
        std::string names;
        std::string marks;
        for (size_t i = 0; i < columns.size(); ++i) {
            if (!mDirty[i])
                continue;
            if (!names.empty()) {
                names += ", ";
                marks += ", ";
            }
            names += columns[i].origin;
            marks += "?";
        }
        const std::string sql =
            names.empty() ? "INSERT INTO " + table + " DEFAULT VALUES"
                          : "INSERT INTO " + table + " (" + names + ") VALUES (" + marks + ")";
        CachedStatement insert(*mConn, 'W', QByteArray::fromStdString(sql));
        insert.prepareIfNone(QByteArray::fromStdString(sql), QString::fromStdString(sql));
        int index = 1;
        for (size_t i = 0; i < columns.size(); ++i)
            if (mDirty[i])
                bindValue(insert.get(), index++, mBuffer[i]);
        run(insert.get(), sql);
        const sqlite3_int64 rowid = sqlite3_last_insert_rowid(mConn->db);
        // Read the row back so that what the table assigned (the auto-number key, defaults) shows.
        const QByteArray rereadText = QByteArray::fromStdString(rereadSql());
        CachedStatement reread(*mConn, 'W', rereadText);
        reread.prepareIfNone(rereadText, QString::fromUtf8(rereadText));
        sqlite3_bind_int64(reread.get(), 1, rowid);
        if (sqlite3_step(reread.get()) == SQLITE_ROW)
            appendRow(reread.get());
        else
            appendRow(std::move(mBuffer));
        mRowids.push_back(rowid);
        // A recordset that stood past its end, or was empty, stays there: the current row is the
        // one that was current before AddNew.
        if (mState == State::AfterLast)
            mPos = mRowCount;
    }

    std::string rereadSql() const
    {
        std::string sql = "SELECT ";
        for (size_t i = 0; i < mShape->columns.size(); ++i) {
            if (i)
                sql += ", ";
            const std::string &origin = mShape->columns[i].origin;
            sql += origin.empty() ? std::string("NULL") : origin;
        }
        return sql + " FROM " + quoted(mShape->table) + " WHERE rowid = ?";
    }

    std::shared_ptr<Connection> mConn;
    int mType;
    bool mClosed = false;
    std::shared_ptr<const RecordsetShape> mShape; // shared with the kept statement
    // The rows one after the other, width() values each.
    std::vector<vb::Variant> mValues;
    int mRowCount = 0;
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
