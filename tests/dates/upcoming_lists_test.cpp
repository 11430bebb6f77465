#include "DatesFixture.h"

#include "dates/NoticeTimer.h"
#include "dates/cDateHandler.h"
#include "platform/vb/Conversions.h"

#include <QTimer>

#include <limits>

using kxdatestest::DatesTest;
using kxdatestest::Entry;
using kxdatestest::listsInStep;

namespace {

std::vector<std::int32_t> upcomingIds()
{
    std::vector<std::int32_t> ids;
    for (int i = 1; i <= gcolUpcomingId.Count(); ++i)
        ids.push_back(vb::CLng(gcolUpcomingId.Item(i)));
    return ids;
}

std::vector<QString> keys()
{
    std::vector<QString> k;
    for (int i = 1; i <= gcolUpcomingId.Count(); ++i) {
        k.push_back(gcolUpcomingId.Key(i));
        // one key per entry, the same in all five lists
        EXPECT_EQ(gcolUpcomingDate.Key(i), k.back());
        EXPECT_EQ(gcolUpcomingDaysTil.Key(i), k.back());
        EXPECT_EQ(gcolUpcomingTime.Key(i), k.back());
        EXPECT_EQ(gcolUpcomingStatus.Key(i), k.back());
    }
    return k;
}

vb::Variant todayValue(const kxtest::ScriptedPlatform &platform)
{
    return vb::Variant(vb::Date::fromQDate(platform.clock.now().date()));
}

class UpcomingListsTest : public DatesTest
{
protected:
    std::int32_t coming(int daysTil, int alertDays, const QString &time = QStringLiteral("09:00:00"))
    {
        Entry e;
        e.daysTil = daysTil;
        e.alertDays = alertDays;
        e.time = QStringLiteral("1899-12-30 ") + time;
        return addEntry(e);
    }
};

TEST_F(UpcomingListsTest, ABuildTakesTheEntriesWithinTheirAlertDaysInTableOrder)
{
    const struct
    {
        int daysTil, alertDays;
        bool coming;
    } rows[] = {{3, 3, true}, {3, 2, false}, {0, 0, true},  {1, 0, false},
                {4, 30, true}, {31, 30, false}, {0, 3, true}};
    std::vector<std::int32_t> expected;
    for (const auto &r : rows) {
        const std::int32_t id = coming(r.daysTil, r.alertDays);
        if (r.coming)
            expected.push_back(id);
    }

    cDateHandler().SetComingEvents();

    EXPECT_EQ(upcomingIds(), expected);
    ASSERT_TRUE(listsInStep());
    EXPECT_EQ(keys(), (std::vector<QString>{"1k", "2k", "3k", "4k"}));
    for (int i = 1; i <= gcolUpcomingId.Count(); ++i) {
        EXPECT_EQ(gcolUpcomingStatus.Item(i), vb::Variant("d1"));
        EXPECT_EQ(gcolUpcomingDate.Item(i), vb::Variant(vb::Date::fromYmd(1980, 12, 10)));
        EXPECT_EQ(vb::formatHHMM(gcolUpcomingTime.Item(i)), QStringLiteral("09:00"));
        EXPECT_TRUE(gcolUpcomingTime.Item(i).get<vb::Date>()) << "the time value itself";
    }
    EXPECT_EQ(gcolUpcomingDaysTil.Item(1), vb::Variant(std::int16_t(3)));
    EXPECT_EQ(gudtAppInfo.UpcomingBuiltDate, todayValue(platform));
    EXPECT_EQ(grsShared, nullptr);
}

// Hand-edited rows whose days cannot be compared, and one Null in every column, between coming
// ones: each unreadable row is logged once, and the build still takes every coming entry and
// completes.
TEST_F(UpcomingListsTest, ABuildPassesOverRowsItCannotReadAndTakesEveryOther)
{
    const std::int32_t first = coming(0, 3);
    const std::int32_t emptyAlert = coming(0, 3);
    const std::int32_t wordAlert = coming(0, 3);
    const std::int32_t wordDays = coming(0, 3);
    execute(QStringLiteral("INSERT INTO Dazez (Dazez_Id) VALUES (9999)"));
    const std::int32_t last = coming(1, 3);
    execute(QStringLiteral("UPDATE Dazez SET Dazez_AlertDays = '' WHERE Dazez_Id = %1")
                .arg(emptyAlert));
    execute(QStringLiteral("UPDATE Dazez SET Dazez_AlertDays = 'three' WHERE Dazez_Id = %1")
                .arg(wordAlert));
    execute(
        QStringLiteral("UPDATE Dazez SET Dazez_DaysTil = 'x' WHERE Dazez_Id = %1").arg(wordDays));

    cDateHandler().SetComingEvents();

    EXPECT_EQ(upcomingIds(), (std::vector<std::int32_t>{first, last}));
    EXPECT_TRUE(listsInStep());
    EXPECT_EQ(gudtAppInfo.UpcomingBuiltDate, todayValue(platform));
    EXPECT_EQ(grsShared, nullptr);
    EXPECT_EQ(debugLog().count(QStringLiteral("Description: cDateHandler.SetComingEvents")), 3)
        << debugLog().toStdString();
    EXPECT_TRUE(platform.messageBox.calls().empty());
}

TEST_F(UpcomingListsTest, ABuildOverAnEmptyTableStillRecordsTheBuildDate)
{
    cDateHandler().SetComingEvents();
    EXPECT_EQ(gcolUpcomingId.Count(), 0);
    EXPECT_TRUE(listsInStep());
    EXPECT_EQ(gudtAppInfo.UpcomingBuiltDate, todayValue(platform));
    EXPECT_TRUE(debugLog().isEmpty());
}

TEST_F(UpcomingListsTest, KeysGoOnCountingAfterTheListsWereReplaced)
{
    coming(0, 3);
    coming(1, 3);
    cDateHandler().SetComingEvents();
    EXPECT_EQ(keys(), (std::vector<QString>{"1k", "2k"}));

    dates::replaceUpcomingLists();
    EXPECT_EQ(gcolUpcomingId.Count(), 0);
    EXPECT_TRUE(listsInStep());
    platform.clock.advanceDays(1);
    cDateHandler().SetComingEvents();

    EXPECT_EQ(keys(), (std::vector<QString>{"3k", "4k"}));
    EXPECT_EQ(glngUpcomingKey, 4);
    EXPECT_EQ(gudtAppInfo.UpcomingBuiltDate, todayValue(platform));
}

TEST_F(UpcomingListsTest, RemovingAnIdTakesOutItsFirstPositionOnly)
{
    const std::int32_t a = coming(0, 3);
    const std::int32_t b = coming(1, 3);
    cDateHandler().SetComingEvents();
    // An id twice (not in normal operation): only the first position goes.
    dates::appendUpcoming(vb::Variant(a), vb::Variant(), vb::Variant(), vb::Variant(),
                          vb::Variant("d1"));

    EXPECT_FALSE(cDateHandler().RemoveDeletedUpcomingCol(b + 100));
    EXPECT_EQ(upcomingIds(), (std::vector<std::int32_t>{a, b, a}));
    EXPECT_EQ(keys(), (std::vector<QString>{"1k", "2k", "3k"}));

    EXPECT_TRUE(cDateHandler().RemoveDeletedUpcomingCol(a));
    EXPECT_EQ(upcomingIds(), (std::vector<std::int32_t>{b, a}));
    EXPECT_EQ(keys(), (std::vector<QString>{"2k", "3k"}));
    EXPECT_TRUE(listsInStep());
    EXPECT_TRUE(platform.messageBox.calls().empty());
}

TEST_F(UpcomingListsTest, AFiredNoticeMovesItsEntryToTheEnd)
{
    std::vector<std::int32_t> ids;
    for (const char *time : {"08:00:00", "09:05:00", "10:00:00", "11:00:00"})
        ids.push_back(coming(0, 3, QString::fromLatin1(time)));
    cDateHandler().SetComingEvents();
    const vb::Variant today = todayValue(platform);
    const vb::Variant fireTime(vb::Date::fromQTime(QTime(9, 5, 20)));

    cDateHandler().ReformatUpComingCols(vb::Variant(std::int16_t(2)), today, fireTime);

    EXPECT_EQ(upcomingIds(), (std::vector<std::int32_t>{ids[0], ids[2], ids[3], ids[1]}));
    ASSERT_TRUE(listsInStep());
    EXPECT_EQ(keys(), (std::vector<QString>{"1k", "3k", "4k", "5k"}));
    EXPECT_EQ(gcolUpcomingStatus.Item(4), today);
    EXPECT_EQ(gcolUpcomingTime.Item(4), vb::Variant("09:05"));
    EXPECT_EQ(gcolUpcomingDate.Item(4), vb::Variant(vb::Date::fromYmd(1980, 12, 10)));
    EXPECT_EQ(gcolUpcomingDaysTil.Item(4), vb::Variant(std::int16_t(0)));
    for (int i = 1; i <= 3; ++i)
        EXPECT_EQ(gcolUpcomingStatus.Item(i), vb::Variant("d1"));
    EXPECT_EQ(vb::formatHHMM(gcolUpcomingTime.Item(2)), QStringLiteral("10:00"));
}

TEST_F(UpcomingListsTest, ASavedComingEntryAppearsOnceAtTheEndNotYetShown)
{
    const std::int32_t a = coming(0, 3);
    const std::int32_t b = coming(1, 3);
    const std::int32_t c = coming(2, 3);
    cDateHandler().SetComingEvents();
    cDateHandler().ReformatUpComingCols(vb::Variant(2), todayValue(platform),
                                        vb::Variant("09:00"));
    ASSERT_EQ(upcomingIds(), (std::vector<std::int32_t>{a, c, b}));
    // The edit moved b's position and gave it new stored values.
    gdbMain->Execute(QStringLiteral("UPDATE Dazez SET Dazez_DaysTil = 2 WHERE Dazez_Id = %1").arg(b));
    gdbMain->Execute(QStringLiteral("UPDATE Dazez SET Dazez_DaysTil = 9 WHERE Dazez_Id = %1").arg(a));

    cDateHandler().EditComingEvent(b);
    EXPECT_EQ(upcomingIds(), (std::vector<std::int32_t>{a, c, b}));
    EXPECT_EQ(gcolUpcomingStatus.Item(3), vb::Variant("d1"));
    EXPECT_EQ(gcolUpcomingDaysTil.Item(3), vb::Variant(std::int16_t(2)));
    EXPECT_TRUE(gcolUpcomingTime.Item(3).get<vb::Date>());
    EXPECT_EQ(gcolUpcomingId.Key(3), QStringLiteral("5k"));

    // An entry that is no longer coming only goes.
    cDateHandler().EditComingEvent(a);
    EXPECT_EQ(upcomingIds(), (std::vector<std::int32_t>{c, b}));
    EXPECT_TRUE(listsInStep());
    EXPECT_EQ(grsShared, nullptr);
    EXPECT_TRUE(platform.messageBox.calls().empty());
}

TEST_F(UpcomingListsTest, AKeyPastTheLargestNumberIsAnOverflowAndAppendsNothing)
{
    coming(0, 3);
    glngUpcomingKey = std::numeric_limits<std::int32_t>::max();

    cDateHandler().SetComingEvents(); // log-only
    EXPECT_EQ(gcolUpcomingId.Count(), 0);
    EXPECT_TRUE(listsInStep());
    EXPECT_EQ(glngUpcomingKey, std::numeric_limits<std::int32_t>::max());
    EXPECT_TRUE(gudtAppInfo.UpcomingBuiltDate.isEmpty()) << "a failed build sets no date";
    EXPECT_TRUE(debugLog().contains(QStringLiteral("cDateHandler.SetComingEvents")));
    EXPECT_TRUE(debugLog().contains(QStringLiteral("Overflow")));
    EXPECT_TRUE(platform.messageBox.calls().empty());

    // A fired notice asks; on Abort the entry stays where it was.
    glngUpcomingKey = 0;
    cDateHandler().SetComingEvents();
    ASSERT_EQ(gcolUpcomingId.Count(), 1);
    glngUpcomingKey = std::numeric_limits<std::int32_t>::max();
    platform.messageBox.expect(platform::mb::Abort,
                               QStringLiteral("cDateHandler.ReformatUpComingCols"));
    cDateHandler().ReformatUpComingCols(vb::Variant(1), todayValue(platform), vb::Variant("09:00"));
    EXPECT_EQ(gcolUpcomingId.Count(), 1);
    EXPECT_EQ(gcolUpcomingStatus.Item(1), vb::Variant("d1"));
    EXPECT_TRUE(listsInStep());
    EXPECT_EQ(platform.messageBox.pendingAnswers(), 0u);
}

TEST_F(UpcomingListsTest, ANoticeForAPositionThatIsNotThereChangesNothing)
{
    coming(0, 3);
    cDateHandler().SetComingEvents();
    // Ignore goes on, but the old position is not taken out when no copy was made.
    platform.messageBox.expect(platform::mb::Ignore, QStringLiteral("Subscript out of range"));
    cDateHandler().ReformatUpComingCols(vb::Variant(5), todayValue(platform), vb::Variant("09:00"));
    EXPECT_EQ(gcolUpcomingId.Count(), 1);
    EXPECT_TRUE(listsInStep());
}

TEST_F(UpcomingListsTest, TheNoticeTimerIsOnAgainAfterABuildWhenTheSettingIsOn)
{
    coming(0, 3);
    QTimer timer;
    timer.setInterval(300);
    dates::setNoticeTimer(&timer);
    const struct
    {
        std::int16_t setting;
        bool runningBefore, runningAfter;
        bool failing;
    } cases[] = {{1, true, true, false}, {0, false, false, false}, {1, true, true, true}};
    for (const auto &c : cases) {
        gudtSettings.TimerOn = c.setting;
        if (c.runningBefore)
            timer.start();
        else
            timer.stop();
        if (c.failing)
            glngUpcomingKey = std::numeric_limits<std::int32_t>::max();
        cDateHandler().SetComingEvents();
        EXPECT_EQ(timer.isActive(), c.runningAfter) << c.setting << c.failing;
        glngUpcomingKey = 0;
    }
    dates::setNoticeTimer(nullptr);
}

} // namespace

namespace {

TEST(PageMonthViewsTest, PagesBothMonthViewsAcrossTheTurnOfTheYear)
{
    kxtest::ScriptedPlatform platform;
    const struct
    {
        int month, year;
        std::int16_t flag;
        int newMonth, newYear;
    } cases[] = {{12, 2026, 1, 1, 2027}, {6, 2026, 1, 7, 2026}, {1, 2027, 2, 12, 2026},
                 {6, 2026, 2, 5, 2026},  {6, 2026, 3, 6, 2026}};
    for (const auto &c : cases) {
        QObject first, second;
        for (QObject *view : {&first, &second}) {
            view->setProperty("Month", c.month);
            view->setProperty("Year", c.year);
        }
        cDateHandler handler;
        handler.prpMonthView1(&first);
        handler.prpMonthView2(&second);
        handler.PageMonthViews(c.flag);
        for (QObject *view : {&first, &second}) {
            EXPECT_EQ(view->property("Month").toInt(), c.newMonth) << c.month << "/" << c.flag;
            EXPECT_EQ(view->property("Year").toInt(), c.newYear) << c.month << "/" << c.flag;
        }
    }
    EXPECT_TRUE(platform.messageBox.calls().empty());
}

} // namespace
