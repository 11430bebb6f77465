#pragma once

// The database engine the program talks to: engine, workspace, database and recordsets, in the
// shape the program's data-access code expects, over an encrypted SQLite file. Every failure is a
// vb::RuntimeError carrying the engine's own error number (see JetErrors.h).

#include "platform/vb/Variant.h"

#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

namespace jet {

enum RecordsetType : int { dbOpenDynaset = 2, dbOpenSnapshot = 4 };
enum WorkspaceType : int { dbUseJet = 2 };

class Database;
class Recordset;
class Workspace;

// One per process; created on first use and kept to the end.
class DBEngine
{
public:
    static DBEngine &instance();
    std::shared_ptr<Workspace> CreateWorkspace(const QString &name, const QString &user,
                                               const QString &password, int type = dbUseJet);
};

class Workspace : public std::enable_shared_from_this<Workspace>
{
public:
    // Opens an existing file; never creates one. The connect text's "pwd=" item is the file's
    // key. Raises 3024 for a missing file, 3031 for a wrong password, 3343 for a file that is
    // not a database, 3008 when the file is held by another process.
    std::shared_ptr<Database> OpenDatabase(const QString &path, bool exclusive, bool readOnly,
                                           const QString &connect);
    // Transactions over every database opened through this workspace. A CommitTrans that fails
    // (3026 for a full disk) raises its error and leaves that level ended, rolled back; a level
    // whose transaction the engine abandoned after a failed statement ends without a word.
    void BeginTrans();
    void CommitTrans();
    void Rollback();

private:
    friend class DBEngine;
    Workspace() = default;
    std::vector<std::weak_ptr<Database>> mDatabases;
    // BeginTrans calls not yet committed or rolled back. Nested calls are counted: the outermost
    // is a transaction, each inner one a savepoint that its Rollback alone discards. A database
    // opened while a transaction is running takes part only in the levels begun after its open.
    void EndTrans(bool commit);
    int mTransLevel = 0;
};

class Database : public std::enable_shared_from_this<Database>
{
public:
    ~Database();
    // Snapshot: the statement's rows, read-only. Dynaset: updatable rows of the statement's one
    // table (Edit / AddNew / Update). Both stand on the first row (EOF when there is none).
    std::shared_ptr<Recordset> OpenRecordset(const QString &sql, int type = dbOpenDynaset);
    // Runs an action statement (DELETE, UPDATE, INSERT).
    void Execute(const QString &sql);
    // Releases the file (so that it can be copied) and the statements kept for reuse. Recordsets
    // of this database become unusable.
    void Close();
    bool isOpen() const;
    QString name() const; // the file's path

    struct Impl;
    explicit Database(std::unique_ptr<Impl> impl);
    Impl *impl() const { return mImpl.get(); }

private:
    std::unique_ptr<Impl> mImpl;
};

class Recordset
{
public:
    virtual ~Recordset();
    // 0 when empty; otherwise the number of rows (always the full count).
    virtual int RecordCount() const = 0;
    virtual bool eof() const = 0; // the EOF property (EOF is a C macro)
    virtual bool bof() const = 0;
    virtual void MoveFirst() = 0;
    virtual void MoveLast() = 0;
    virtual void MoveNext() = 0;
    virtual void MovePrevious() = 0;
    // The value of a column of the current row; column names compare without regard to case.
    // 3021 without a current row, 3265 for a name that does not exist. Null for an empty column.
    virtual vb::Variant Field(const QString &name) const = 0;
    // Assigns a column of the row being edited or added, converted to the column's type (text
    // "12" into a number column stores 12; text that is no number raises 3421 and stores
    // nothing). 3020 outside Edit/AddNew.
    virtual void SetField(const QString &name, const vb::Variant &value) = 0;
    virtual QStringList FieldNames() const = 0;
    virtual void Edit() = 0;
    virtual void AddNew() = 0;
    // Writes the row being edited or added. After AddNew the added row goes to the end of the
    // recordset and the current row is the one that was current before AddNew.
    virtual void Update() = 0;
    virtual void CancelUpdate() = 0;
    virtual void Close() = 0;
    virtual bool isOpen() const = 0;
};

} // namespace jet
