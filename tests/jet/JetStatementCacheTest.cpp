#include "JetTestSupport.h"

#include "platform/jet/StatementCache.h"

#include <sqlite3.h>

#include <string>

using jet::detail::StatementCache;
using namespace jettest;

namespace {

// The cache alone, over an in-memory file of the library's own.
class StatementCacheTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_EQ(sqlite3_open(":memory:", &mDb), SQLITE_OK); }
    void TearDown() override
    {
        mCache.clear();
        EXPECT_EQ(sqlite3_close(mDb), SQLITE_OK) << "a statement was left unfinalized";
    }

    static std::string text(int i) { return "SELECT " + std::to_string(i); }
    StatementCache::Kept prepared(const std::string &sql)
    {
        sqlite3_stmt *stmt = nullptr;
        EXPECT_EQ(sqlite3_prepare_v2(mDb, sql.c_str(), -1, &stmt, nullptr), SQLITE_OK);
        return {stmt, nullptr};
    }
    // Whether a statement is kept under the text; it stays kept.
    bool kept(const std::string &sql)
    {
        StatementCache::Kept k = mCache.take(sql);
        const bool found = k.stmt != nullptr;
        mCache.give(sql, std::move(k));
        return found;
    }

    sqlite3 *mDb = nullptr;
    StatementCache mCache;
};

TEST_F(StatementCacheTest, KeepsTheMostRecentlyUsedUpToItsCapacity)
{
    const int capacity = static_cast<int>(StatementCache::kCapacity);
    for (int i = 0; i < capacity; ++i)
        mCache.give(text(i), prepared(text(i)));
    EXPECT_TRUE(kept(text(0))); // now the most recent
    for (int i = capacity; i < capacity + 5; ++i)
        mCache.give(text(i), prepared(text(i)));
    EXPECT_EQ(mCache.size(), StatementCache::kCapacity);
    EXPECT_TRUE(kept(text(0)));
    for (int i = 1; i <= 5; ++i)
        EXPECT_FALSE(kept(text(i))) << i;
    for (int i = 6; i < capacity + 5; ++i)
        EXPECT_TRUE(kept(text(i))) << i;
}

TEST_F(StatementCacheTest, TakenStatementsAreOutAndComeBackResetWithoutBindings)
{
    const std::string sql = "SELECT ?1";
    StatementCache::Kept k = prepared(sql);
    sqlite3_bind_int(k.stmt, 1, 42);
    ASSERT_EQ(sqlite3_step(k.stmt), SQLITE_ROW);
    mCache.give(sql, std::move(k));

    k = mCache.take(sql);
    ASSERT_NE(k.stmt, nullptr);
    EXPECT_EQ(mCache.take(sql).stmt, nullptr) << "out while in use";
    ASSERT_EQ(sqlite3_step(k.stmt), SQLITE_ROW) << "reset";
    EXPECT_EQ(sqlite3_column_type(k.stmt, 0), SQLITE_NULL) << "bindings cleared";
    mCache.give(sql, std::move(k));
}

TEST_F(StatementCacheTest, ASecondStatementForAKeptTextIsFinalized)
{
    mCache.give(text(1), prepared(text(1)));
    mCache.give(text(1), prepared(text(1)));
    EXPECT_EQ(mCache.size(), 1u);
}

// ---- reopening statements through the engine ----

using KeptStatementTest = DeliveredDb;

QString eventName(jet::Database &db, int id)
{
    auto rs = db.OpenRecordset(
        QStringLiteral("SELECT Events_EventName FROM Events WHERE Events_Id = %1").arg(id),
        jet::dbOpenSnapshot);
    return rs->eof() ? QString() : *rs->Field(QStringLiteral("Events_EventName")).get<QString>();
}

TEST_F(KeptStatementTest, ReopeningATextReadsItsRowsAfresh)
{
    EXPECT_EQ(eventName(*mDb, 1), QStringLiteral("Birthday"));
    mDb->Execute(
        QStringLiteral("UPDATE Events SET Events_EventName = 'Name day' WHERE Events_Id = 1"));
    EXPECT_EQ(eventName(*mDb, 1), QStringLiteral("Name day"));
    mDb->Execute(QStringLiteral("DELETE FROM Events WHERE Events_Id = 1"));
    EXPECT_EQ(eventName(*mDb, 1), QString());
}

TEST_F(KeptStatementTest, ReopeningAfterTheTableChangedShowsItsColumnsNow)
{
    const QString sql = QStringLiteral("SELECT * FROM Events WHERE Events_Id = 2");
    for (int type : {jet::dbOpenSnapshot, jet::dbOpenDynaset})
        EXPECT_EQ(mDb->OpenRecordset(sql, type)->FieldNames().size(), 2);
    mDb->Execute(QStringLiteral("ALTER TABLE Events ADD COLUMN Events_Colour INTEGER"));

    auto snap = snapshot(sql);
    EXPECT_EQ(snap->FieldNames(),
              (QStringList{QStringLiteral("Events_Id"), QStringLiteral("Events_EventName"),
                           QStringLiteral("Events_Colour")}));
    EXPECT_EQ(snap->Field(QStringLiteral("Events_EventName")), vb::Variant("Anniversary"));
    auto rs = dynaset(sql);
    rs->Edit();
    rs->SetField(QStringLiteral("Events_Colour"), "7");
    rs->Update();
    EXPECT_EQ(snapshot(sql)->Field(QStringLiteral("Events_Colour")), vb::Variant(std::int32_t(7)));
}

TEST_F(KeptStatementTest, MoreTextsThanAreKeptEachGiveTheirOwnRows)
{
    const int texts = static_cast<int>(jet::detail::StatementCache::kCapacity) * 3;
    mDb->Execute(QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 6 UNION ALL SELECT i + 1 FROM n "
                                "WHERE i < %1) INSERT INTO Events SELECT i, 'Type ' || i FROM n")
                     .arg(texts));
    for (int round = 0; round < 2; ++round)
        for (int id = 6; id <= texts; ++id)
            ASSERT_EQ(eventName(*mDb, id), QStringLiteral("Type %1").arg(id));
}

} // namespace
