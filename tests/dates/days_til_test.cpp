#include "DatesFixture.h"

#include "dates/cDateHandler.h"
#include "platform/jet/JetErrors.h"
#include "platform/vb/Locale.h"

#include <sqlite3.h>

#include <ostream>

using kxdatestest::DatesTest;
using kxdatestest::Entry;

namespace {

struct DaysTilCase
{
    QDate today;
    QTime now;
    vb::Date date;
    int expected;
    const char *why;
};

vb::Date ymd(int y, int m, int d)
{
    return vb::Date::fromYmd(y, m, d);
}

vb::Date ymdhms(int y, int m, int d, int h, int mi)
{
    return vb::Date::fromQDateTime(QDateTime(QDate(y, m, d), QTime(h, mi)));
}

class GetDaysTilTest : public ::testing::Test
{
protected:
    kxtest::ScriptedPlatform platform;
};

TEST_F(GetDaysTilTest, CountsToTheNextRecurrenceOfMonthAndDay)
{
    const QTime ten(10, 0);
    const DaysTilCase cases[] = {
        {{2026, 12, 10}, ten, ymd(1980, 12, 10), 0, "today's month and day"},
        {{2026, 12, 10}, ten, ymdhms(1980, 12, 10, 23, 59), 0, "a time part does not count"},
        {{2026, 12, 10}, QTime(23, 59, 59), ymd(1980, 12, 10), 0, "late in the day"},
        {{2026, 12, 10}, QTime(0, 0), ymd(1980, 12, 11), 1, "tomorrow at midnight"},
        {{2026, 12, 10}, QTime(23, 59, 59), ymd(1980, 12, 11), 1, "tomorrow, one second away"},
        {{2026, 12, 10}, ten, ymd(1980, 12, 9), 364, "yesterday, no 29 February ahead"},
        {{2027, 12, 31}, ten, ymd(1980, 12, 30), 365, "yesterday, 29 February 2028 ahead"},
        {{2026, 12, 10}, ten, ymd(2030, 12, 12), 2, "a later year counts this year"},
        {{2026, 12, 10}, ten, ymd(2030, 1, 1), 22, "a later year, passed this year"},
        {{2026, 12, 31}, ten, ymd(1980, 1, 1), 1, "new year's day from new year's eve"},
        {{2026, 12, 31}, ten, ymd(1980, 12, 31), 0, "new year's eve"},
        {{2027, 1, 1}, ten, ymd(1980, 12, 31), 364, "new year's eve from new year's day"},
        {{2028, 2, 28}, ten, ymd(1990, 2, 27), 365, "over 29 February of this year"},
        {{2028, 2, 28}, ten, ymd(2000, 2, 29), 1, "29 February in a leap year"},
        {{2028, 2, 29}, ten, ymd(2000, 2, 29), 0, "on 29 February itself"},
        {{2028, 2, 29}, ten, ymd(1990, 3, 1), 1, "1 March after 29 February"},
        {{2028, 2, 29}, ten, ymd(1990, 2, 28), 365, "28 February, passed on 29 February"},
        {{2027, 2, 28}, ten, ymd(2000, 2, 29), 0, "29 February counts on 28 February"},
        {{2027, 2, 27}, ten, ymd(2000, 2, 29), 1, "29 February, a day before 28 February"},
        {{2027, 3, 1}, ten, ymd(2000, 2, 29), 365, "passed, 29 February 2028 ahead"},
        {{2028, 3, 1}, ten, ymd(2000, 2, 29), 364, "passed, 28 February 2029 ahead"},
        {{2027, 3, 1}, ten, ymd(1980, 2, 28), 364, "28 February, a leap year ahead"},
    };
    for (const DaysTilCase &c : cases) {
        platform.clock.set(QDateTime(c.today, c.now));
        EXPECT_EQ(cDateHandler().GetDaysTil(c.date), c.expected)
            << c.why << ": today " << c.today.toString(Qt::ISODate).toStdString();
    }
    EXPECT_TRUE(platform.messageBox.calls().empty());
}

TEST_F(GetDaysTilTest, TheShortDatePictureDoesNotChangeTheResult)
{
    const vb::LocalePictures before = vb::userPictures();
    const vb::Date dates[] = {ymd(1950, 6, 1), ymd(2026, 12, 9), ymd(2000, 2, 29),
                              ymd(2031, 12, 25), ymd(1999, 1, 26)};
    platform.clock.set(QDateTime(QDate(2027, 1, 26), QTime(8, 0)));
    std::vector<int> expected;
    for (vb::Date d : dates)
        expected.push_back(cDateHandler().GetDaysTil(d));

    for (const char *picture : {"M/d/yy", "dd.MM.yy", "yy-MM-dd", "d/M/yyyy"}) {
        vb::LocalePictures pictures = before;
        pictures.shortDate = QString::fromLatin1(picture);
        vb::setUserPictures(pictures);
        for (std::size_t i = 0; i < std::size(dates); ++i)
            EXPECT_EQ(cDateHandler().GetDaysTil(dates[i]), expected[i]) << picture;
    }
    vb::setUserPictures(before);
    EXPECT_EQ(expected[4], 0); // 26 January, today
}

// ---- SetDaysTil --------------------------------------------------------------------------

TEST_F(DatesTest, SetDaysTilRewritesEveryRow)
{
    setToday(QDate(2026, 12, 10));
    struct Row
    {
        QString date;
        int stored;
        int expected;
    } rows[] = {
        {QStringLiteral("1980-12-10 00:00:00"), 77, 0},
        {QStringLiteral("1970-12-13 00:00:00"), 3, 3}, // unchanged values are written too
        {QStringLiteral("2001-01-01 00:00:00"), 0, 22},
        {QStringLiteral("1990-12-09 00:00:00"), 1, 364},
        {QStringLiteral("2004-02-29 00:00:00"), 5, 80},
    };
    std::vector<std::int32_t> ids;
    for (const Row &r : rows) {
        Entry e;
        e.date = r.date;
        e.daysTil = r.stored;
        ids.push_back(addEntry(e));
    }

    cDateHandler().SetDaysTil();

    for (std::size_t i = 0; i < ids.size(); ++i)
        EXPECT_EQ(storedDaysTil(ids[i]), vb::Variant(std::int16_t(rows[i].expected)))
            << rows[i].date.toStdString();
    EXPECT_EQ(grsShared, nullptr);
    EXPECT_TRUE(debugLog().isEmpty());
    // The pass left no transaction of its own behind.
    EXPECT_THROW(gwsMain->CommitTrans(), vb::RuntimeError);
}

TEST_F(DatesTest, SetDaysTilOverAnEmptyTableWritesNothingAndClosesTheRecordset)
{
    cDateHandler().SetDaysTil();
    EXPECT_EQ(grsShared, nullptr);
    EXPECT_TRUE(debugLog().isEmpty());
    EXPECT_THROW(gwsMain->CommitTrans(), vb::RuntimeError);
}

// Rows of a damaged or hand-edited file whose date the runtime cannot read, between good ones:
// each is logged once a pass and keeps what it stored, and every other row gets its days until
// as though they were not there.
TEST_F(DatesTest, SetDaysTilPassesOverRowsWhoseDateCannotBeReadAndRewritesEveryOther)
{
    setToday(QDate(2026, 12, 10));
    constexpr int kKeeps = -1;
    const struct
    {
        const char *label;
        QString date; // null: no date
        int expected;
    } rows[] = {
        {"good before", QStringLiteral("1980-12-11 00:00:00"), 1},
        {"no date", QString(), kKeeps},
        {"year 0", QStringLiteral("0000-01-01"), kKeeps},
        {"today", QStringLiteral("1975-12-10 00:00:00"), 0},
        {"30 February", QStringLiteral("2024-02-30"), kKeeps},
        {"empty text", QStringLiteral(""), kKeeps},
        {"good after", QStringLiteral("2001-01-01 00:00:00"), 22},
    };
    std::vector<std::int32_t> ids;
    for (const auto &r : rows) {
        Entry e;
        e.date = r.date;
        e.daysTil = 50;
        ids.push_back(addEntry(e));
    }
    const std::int32_t allNull = 9999; // every column but its id Null
    execute(QStringLiteral("INSERT INTO Dazez (Dazez_Id) VALUES (%1)").arg(allNull));
    constexpr int kUnreadable = 5;

    cDateHandler().SetDaysTil();

    EXPECT_TRUE(platform.messageBox.calls().empty());
    const QString log = debugLog();
    EXPECT_EQ(log.count(QStringLiteral("Description: cDateHandler.SetDaysTil")), kUnreadable)
        << log.toStdString();
    EXPECT_EQ(grsShared, nullptr) << "the pass went to its end";
    EXPECT_THROW(gwsMain->CommitTrans(), vb::RuntimeError) << "transaction left open";

    // Reopened from the file: the rewritten rows were committed.
    gdbMain->Close();
    gdbMain.reset();
    ASSERT_TRUE(cDAO().DAOOpenConnection(gstrDbPath));
    for (std::size_t i = 0; i < ids.size(); ++i)
        EXPECT_EQ(storedDaysTil(ids[i]),
                  vb::Variant(std::int16_t(rows[i].expected == kKeeps ? 50 : rows[i].expected)))
            << rows[i].label;
    EXPECT_TRUE(storedDaysTil(allNull).isNull());

    cDateHandler().SetDaysTil();
    EXPECT_EQ(debugLog().count(QStringLiteral("Description: cDateHandler.SetDaysTil")),
              2 * kUnreadable)
        << "once a pass";
}

// The file refuses the pass's writes: it cannot grow (a full disk, found while rows are written),
// or a reader holds it when the pass commits.
enum class Refusal { FullDisk, HeldAtCommit };

struct RefusedPassCase
{
    const char *label;
    Refusal refusal;
    int error;
};

void PrintTo(const RefusedPassCase &c, std::ostream *os)
{
    *os << c.label;
}

class SetDaysTilRefusedTest : public DatesTest,
                              public ::testing::WithParamInterface<RefusedPassCase>
{
protected:
    void refuse(Refusal refusal)
    {
        if (refusal == Refusal::FullDisk) {
            gdbMain->Execute(QStringLiteral("PRAGMA max_page_count = 1")); // no page more
            return;
        }
        ASSERT_EQ(sqlite3_open_v2(QFile::encodeName(gstrDbPath).constData(), &mReader,
                                  SQLITE_OPEN_READWRITE, nullptr),
                  SQLITE_OK);
        ASSERT_EQ(sqlite3_exec(mReader, "PRAGMA key = 'vmr'; BEGIN; SELECT count(*) FROM Dazez;",
                               nullptr, nullptr, nullptr),
                  SQLITE_OK);
    }
    void allow()
    {
        gdbMain->Execute(QStringLiteral("PRAGMA max_page_count = 1073741823"));
        if (mReader) {
            sqlite3_exec(mReader, "ROLLBACK", nullptr, nullptr, nullptr);
            sqlite3_close(mReader);
            mReader = nullptr;
        }
    }
    void TearDown() override
    {
        allow();
        DatesTest::TearDown();
    }
    sqlite3 *mReader = nullptr;
};

TEST_P(SetDaysTilRefusedTest, ReportsOnceLeavesNoTransactionAndTheNextPassCommits)
{
    const RefusedPassCase c = GetParam();
    setToday(QDate(2026, 12, 10));
    // Full pages: each row grows when its days until (0 now, 173 after the pass) is written.
    execute(QStringLiteral(
        "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 400) "
        "INSERT INTO Dazez (Events_Id, Dazez_Name, Dazez_Date, Dazez_Time, Dazez_AlertDays, "
        "Dazez_Notes, Dazez_DaysTil) SELECT 1, 'Entry ' || i, '1980-06-01 00:00:00', "
        "'1899-12-30 09:00:00', 3, 'notes', 0 FROM n"));
    const auto allDaysTil = [&](int expected) {
        auto rs = gdbMain->OpenRecordset(
            QStringLiteral("SELECT count(*) AS n FROM Dazez WHERE Dazez_DaysTil = %1")
                .arg(expected),
            jet::dbOpenSnapshot);
        return rs->Field(QStringLiteral("n")) == vb::Variant(std::int32_t(400));
    };

    refuse(c.refusal);
    cDateHandler().SetDaysTil();
    EXPECT_TRUE(platform.messageBox.calls().empty());
    const QString log = debugLog();
    EXPECT_EQ(log.count(QStringLiteral("Number: ")), 1) << log.toStdString();
    EXPECT_TRUE(log.contains(QStringLiteral("Number: %1").arg(c.error))) << log.toStdString();
    EXPECT_THROW(gwsMain->CommitTrans(), vb::RuntimeError) << "transaction left open";
    EXPECT_TRUE(allDaysTil(0)) << "nothing of the refused pass is kept";

    allow();
    cDateHandler().SetDaysTil();
    EXPECT_EQ(debugLog(), log) << "the next pass reports nothing";
    EXPECT_THROW(gwsMain->CommitTrans(), vb::RuntimeError) << "transaction left open";
    core::closeSharedRecordset();
    gdbMain->Close();
    gdbMain.reset();
    ASSERT_TRUE(cDAO().DAOOpenConnection(gstrDbPath));
    EXPECT_TRUE(allDaysTil(173)) << "committed to the file";
}

INSTANTIATE_TEST_SUITE_P(
    Refusals, SetDaysTilRefusedTest,
    ::testing::Values(RefusedPassCase{"FullDisk", Refusal::FullDisk, jet::err::DiskFull},
                      RefusedPassCase{"HeldAtCommit", Refusal::HeldAtCommit, jet::err::TableHeld}),
    [](const ::testing::TestParamInfo<RefusedPassCase> &info) { return info.param.label; });

TEST_F(DatesTest, SetDaysTilWithoutADatabaseOnlyLogs)
{
    gdbMain.reset();
    gwsMain.reset();
    cDateHandler().SetDaysTil();
    EXPECT_TRUE(platform.messageBox.calls().empty());
    EXPECT_TRUE(debugLog().contains(QStringLiteral("cDateHandler.SetDaysTil")));
}

} // namespace
