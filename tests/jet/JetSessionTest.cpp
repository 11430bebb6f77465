#include "JetTestSupport.h"

#include <sqlite3.h>

using namespace jettest;

namespace {

class SessionTest : public DeliveredDb
{
protected:
    int eventCount() { return snapshot(QStringLiteral("SELECT * FROM Events"))->RecordCount(); }
    void addEvent(const char *name)
    {
        mDb->Execute(
            QStringLiteral("INSERT INTO Events (Events_EventName) VALUES ('%1')").arg(name));
    }
};

TEST_F(SessionTest, RollbackDiscardsAndCommitKeeps)
{
    mWs->BeginTrans();
    addEvent("Gone");
    EXPECT_EQ(eventCount(), 6);
    mWs->Rollback();
    EXPECT_EQ(eventCount(), 5);

    mWs->BeginTrans();
    addEvent("Kept");
    mWs->CommitTrans();
    mDb->Close();
    mDb = mWs->OpenDatabase(mPath, false, false, kConnect);
    EXPECT_EQ(eventCount(), 6);
}

TEST_F(SessionTest, NestedRollbackDiscardsOnlyTheInnerLevel)
{
    mWs->BeginTrans();
    addEvent("Outer");
    mWs->BeginTrans();
    addEvent("Inner");
    mWs->Rollback();
    mWs->CommitTrans();
    EXPECT_EQ(eventCount(), 6);
    EXPECT_EQ(snapshot(QStringLiteral("SELECT * FROM Events WHERE Events_EventName = 'inner'"))
                  ->RecordCount(),
              0);
}

TEST_F(SessionTest, CommitOrRollbackWithoutBeginIsRefused)
{
    EXPECT_EQ(errorOf([&] { mWs->CommitTrans(); }), jet::err::NoTransaction);
    EXPECT_EQ(errorOf([&] { mWs->Rollback(); }), jet::err::NoTransaction);
}

TEST_F(SessionTest, RecordsetEditsTakePartInTheTransaction)
{
    mWs->BeginTrans();
    auto rs = dynaset(QStringLiteral("SELECT * FROM Events WHERE Events_Id = 1"));
    rs->Edit();
    rs->SetField(QStringLiteral("Events_EventName"), "Changed");
    rs->Update();
    rs->Close();
    mWs->Rollback();
    EXPECT_EQ(snapshot(QStringLiteral("SELECT * FROM Events WHERE Events_Id = 1"))
                  ->Field(QStringLiteral("Events_EventName")),
              vb::Variant("Birthday"));
}

// Inside a transaction the same small snapshot is answered from what was read before, for as
// long as nothing changes: every write through the file (a statement, a recordset's edit, a
// savepoint rolled back) shows in the next snapshot, and another connection cannot write at all
// while the transaction has read.
TEST_F(SessionTest, RepeatedSnapshotsInATransactionShowEveryChange)
{
    const QString sql = QStringLiteral("SELECT Events_EventName FROM Events WHERE Events_Id = 2");
    auto name = [&] { return snapshot(sql)->Field(QStringLiteral("Events_EventName")); };
    mWs->BeginTrans();
    EXPECT_EQ(name(), vb::Variant("Anniversary"));
    EXPECT_EQ(name(), vb::Variant("Anniversary"));

    mDb->Execute(QStringLiteral("UPDATE Events SET Events_EventName = 'Jubilee' WHERE "
                                "Events_Id = 2"));
    EXPECT_EQ(name(), vb::Variant("Jubilee"));

    auto rs = dynaset(QStringLiteral("SELECT * FROM Events WHERE Events_Id = 2"));
    rs->Edit();
    rs->SetField(QStringLiteral("Events_EventName"), "Wedding");
    rs->Update();
    rs->Close();
    EXPECT_EQ(name(), vb::Variant("Wedding"));

    // An action statement given as a recordset's source writes too.
    mDb->OpenRecordset(
        QStringLiteral("UPDATE Events SET Events_EventName = 'Feast' WHERE Events_Id = 2"),
        jet::dbOpenSnapshot);
    EXPECT_EQ(name(), vb::Variant("Feast"));

    mWs->BeginTrans();
    mDb->Execute(QStringLiteral("UPDATE Events SET Events_EventName = 'Gone' WHERE Events_Id = 2"));
    EXPECT_EQ(name(), vb::Variant("Gone"));
    mWs->Rollback();
    EXPECT_EQ(name(), vb::Variant("Feast"));

    auto otherWs = jet::DBEngine::instance().CreateWorkspace(QString(), QStringLiteral("Admin"),
                                                             QString(), jet::dbUseJet);
    auto other = otherWs->OpenDatabase(mPath, false, false, kConnect);
    EXPECT_EQ(errorOf([&] {
                  other->Execute(QStringLiteral(
                      "UPDATE Events SET Events_EventName = 'Other' WHERE Events_Id = 2"));
              }),
              jet::err::TableHeld);
    mWs->CommitTrans();

    // Outside a transaction every snapshot reads the file: another connection's change shows.
    other->Execute(
        QStringLiteral("UPDATE Events SET Events_EventName = 'Other' WHERE Events_Id = 2"));
    EXPECT_EQ(name(), vb::Variant("Other"));
    mWs->BeginTrans();
    EXPECT_EQ(name(), vb::Variant("Other"));
    mWs->CommitTrans();
    other->Close();
}

TEST_F(SessionTest, FullDiskEndsTheTransactionAndIsReportedOnce)
{
    // The file may not grow past its size: a row too long for the free space cannot be added.
    mDb->Execute(QStringLiteral("PRAGMA max_page_count = 1"));
    const QString longName = QString(20000, u'x');
    mWs->BeginTrans();
    addEvent("Lost");
    QString description;
    EXPECT_EQ(errorOf([&] { addEvent(longName.toLatin1().constData()); }, &description),
              jet::err::DiskFull);
    EXPECT_EQ(description, QStringLiteral("Not enough space on disk."));
    // The engine gave the transaction up with that error; ending it adds no second report.
    EXPECT_EQ(errorOf([&] { mWs->CommitTrans(); }), 0);
    EXPECT_EQ(errorOf([&] { mWs->Rollback(); }), jet::err::NoTransaction);
    EXPECT_EQ(eventCount(), 5);

    mDb->Execute(QStringLiteral("PRAGMA max_page_count = 1073741823"));
    mWs->BeginTrans();
    addEvent(longName.toLatin1().constData());
    mWs->CommitTrans();
    mDb->Close();
    mDb = mWs->OpenDatabase(mPath, false, false, kConnect);
    EXPECT_EQ(eventCount(), 6);
}

// Another process's connection to the same file, holding it in a transaction.
class HeldFileTest : public SessionTest
{
protected:
    void hold(const char *begin)
    {
        ASSERT_EQ(sqlite3_open_v2(QFile::encodeName(mPath).constData(), &mOther,
                                  SQLITE_OPEN_READWRITE, nullptr),
                  SQLITE_OK);
        ASSERT_EQ(sqlite3_exec(mOther, "PRAGMA key = 'vmr'", nullptr, nullptr, nullptr), SQLITE_OK);
        ASSERT_EQ(sqlite3_exec(mOther, begin, nullptr, nullptr, nullptr), SQLITE_OK);
    }
    void TearDown() override
    {
        if (mOther) {
            sqlite3_exec(mOther, "ROLLBACK", nullptr, nullptr, nullptr);
            sqlite3_close(mOther);
        }
    }
    sqlite3 *mOther = nullptr;
};

TEST_F(HeldFileTest, WritingWhileAnotherWriterHoldsTheFileIsTableHeld)
{
    auto rs = dynaset(QStringLiteral("SELECT * FROM Events WHERE Events_Id = 1"));
    hold("BEGIN; UPDATE Events SET Events_EventName = 'x' WHERE Events_Id = 2;");
    QString description;
    EXPECT_EQ(errorOf([&] { mDb->Execute(QStringLiteral("DELETE FROM Dazez WHERE Dazez_Id = 1")); },
                      &description),
              jet::err::TableHeld);
    EXPECT_EQ(description,
              QStringLiteral("The table 'Dazez' is already opened exclusively by another user, or "
                             "it is already open through the user interface and cannot be "
                             "manipulated programmatically."));
    rs->Edit();
    rs->SetField(QStringLiteral("Events_EventName"), "y");
    EXPECT_EQ(errorOf([&] { rs->Update(); }), jet::err::TableHeld);
    // Reading is still possible while the other side has not begun to commit.
    EXPECT_EQ(eventCount(), 5);
}

TEST_F(HeldFileTest, ReadingWhileAnotherHoldsTheFileExclusivelyIsTableHeld)
{
    hold("BEGIN EXCLUSIVE");
    EXPECT_EQ(errorOf([&] { snapshot(QStringLiteral("SELECT * FROM Events")); }),
              jet::err::TableHeld);
    sqlite3_exec(mOther, "ROLLBACK", nullptr, nullptr, nullptr);
    EXPECT_EQ(eventCount(), 5) << "usable again once the other side lets go";
}

TEST_F(HeldFileTest, CommitThatFailsLeavesNoTransactionOpen)
{
    for (const bool nested : {false, true}) {
        SCOPED_TRACE(nested ? "nested level" : "outermost level");
        mWs->BeginTrans();
        if (nested)
            mWs->BeginTrans();
        addEvent("Lost");
        hold("BEGIN; SELECT count(*) FROM Events;"); // a reader: the write cannot be made
        EXPECT_EQ(errorOf([&] {
                      mWs->CommitTrans();
                      if (nested)
                          mWs->CommitTrans();
                  }),
                  jet::err::TableHeld);
        EXPECT_EQ(errorOf([&] { mWs->Rollback(); }), jet::err::NoTransaction);
        sqlite3_exec(mOther, "ROLLBACK", nullptr, nullptr, nullptr);
        sqlite3_close(mOther);
        mOther = nullptr;
        EXPECT_EQ(eventCount(), 5) << "the failed level's work is rolled back";
    }
    mWs->BeginTrans();
    addEvent("Kept");
    mWs->CommitTrans();
    hold("BEGIN; SELECT count(*) FROM Events;");
    sqlite3_stmt *count = nullptr;
    ASSERT_EQ(sqlite3_prepare_v2(mOther, "SELECT count(*) FROM Events", -1, &count, nullptr),
              SQLITE_OK);
    ASSERT_EQ(sqlite3_step(count), SQLITE_ROW);
    EXPECT_EQ(sqlite3_column_int(count, 0), 6) << "committed for other connections too";
    sqlite3_finalize(count);
}

TEST_F(SessionTest, ClosedRecordsetIsInvalid)
{
    auto rs = snapshot(QStringLiteral("SELECT * FROM Events"));
    rs->Close();
    EXPECT_FALSE(rs->isOpen());
    QString description;
    EXPECT_EQ(errorOf([&] { rs->Field(QStringLiteral("Events_Id")); }, &description),
              jet::err::ObjectInvalid);
    EXPECT_EQ(description, QStringLiteral("Object invalid or no longer set."));
    EXPECT_EQ(errorOf([&] { rs->MoveNext(); }), jet::err::ObjectInvalid);
}

TEST_F(SessionTest, CloseReleasesTheFileAndInvalidatesItsRecordsets)
{
    auto rs = dynaset(QStringLiteral("SELECT * FROM Events"));
    addEvent("Before close");
    mDb->Close();
    EXPECT_FALSE(mDb->isOpen());
    EXPECT_FALSE(rs->isOpen());
    for (const auto &use : std::vector<std::function<void()>>{
             [&] { rs->RecordCount(); }, [&] { rs->Field(QStringLiteral("Events_Id")); },
             [&] { rs->Edit(); },
             [&] { mDb->OpenRecordset(QStringLiteral("SELECT * FROM Events")); },
             [&] { mDb->Execute(QStringLiteral("DELETE FROM Dazez")); }})
        EXPECT_EQ(errorOf(use), jet::err::ObjectInvalid);

    const QString copy = mDir.filePath(QStringLiteral("backup.mdb"));
    ASSERT_TRUE(QFile::copy(mPath, copy));
    auto backup = mWs->OpenDatabase(copy, false, false, kConnect);
    EXPECT_EQ(backup->OpenRecordset(QStringLiteral("SELECT * FROM Events"), jet::dbOpenSnapshot)
                  ->RecordCount(),
              6);
}

} // namespace
