// The notice tick and the day tick, driven by the test's clock.

#include "MainWindowFixture.h"

#include "platform/vb/Conversions.h"

#include <QFile>
#include <QTest>

#include <iterator>

using kxmaintest::BoxProbe;
using kxmaintest::MainWindowTest;
using kxmaintest::openNotices;

namespace {

const QDate kToday(2026, 12, 10);

class TimersTest : public MainWindowTest
{
protected:
    // A coming entry (its day is today) with its notice at `time` ("HH:mm").
    std::int32_t addDue(const QString &name, const QString &time)
    {
        return addEntry(name, QStringLiteral("1980-12-10"), 1, 3, time + QStringLiteral(":00"));
    }

    // One notice tick at `time` of today.
    void tickAt(const QTime &time, const QDate &date = kToday)
    {
        setNow(date, time);
        frm->Timer1_Timer();
    }

    std::vector<std::int32_t> shown() const
    {
        std::vector<std::int32_t> out;
        for (frmEventNotice *notice : openNotices())
            out.push_back(notice->mlngVemoId);
        return out;
    }

    void closeNotices()
    {
        for (frmEventNotice *notice : openNotices())
            notice->Unload();
    }

    QStringList statuses() const
    {
        QStringList out;
        for (int i = 1; i <= gcolUpcomingStatus.Count(); ++i)
            out << vb::CStr(gcolUpcomingStatus.Item(i));
        return out;
    }
};

TEST_F(TimersTest, TheTimersAreMadeAsDesignedAndFollowTheTimerSetting)
{
    frmDazez window;
    EXPECT_EQ(window.Timer1->interval(), 300);
    EXPECT_EQ(window.Timer2->interval(), 450);
    EXPECT_FALSE(window.Timer1->isActive());
    EXPECT_TRUE(window.Timer2->isActive()) << "the day timer runs from the window's creation";
}

TEST_F(TimersTest, ANoticeIsShownOnTheFirstTickOfItsMinuteAndNotAgainThatDay)
{
    const std::int32_t id = addDue(QStringLiteral("Ann"), QStringLiteral("09:05"));
    setNow(kToday, QTime(8, 0));
    load();
    const struct
    {
        QTime at;
        bool shows;
    } ticks[] = {
        {QTime(9, 4, 59), false}, {QTime(9, 5, 0), true}, {QTime(9, 5, 30), false},
        {QTime(9, 6, 0), false},  {QTime(23, 59), false},
    };
    for (const auto &t : ticks) {
        tickAt(t.at);
        EXPECT_EQ(shown(), t.shows ? std::vector<std::int32_t>{id} : std::vector<std::int32_t>{})
            << t.at.toString().toStdString();
        closeNotices();
    }
    EXPECT_EQ(statuses(), QStringList{QStringLiteral("12/10/2026")});
    EXPECT_EQ(vb::CStr(gcolUpcomingTime.Item(1)), QStringLiteral("09:05"));
}

TEST_F(TimersTest, TheStatusDecidesWhetherADueNoticeIsShown)
{
    const struct
    {
        vb::Variant status;
        bool shows;
    } cases[] = {
        {vb::Variant(QStringLiteral("d1")), true},
        {vb::Variant(vb::Date::fromQDate(kToday)), false},            // shown today
        {vb::Variant(vb::Date::fromQDate(kToday.addDays(-1))), true}, // shown on an earlier day
    };
    const std::int32_t id = addDue(QStringLiteral("Ann"), QStringLiteral("09:05"));
    load();
    for (const auto &c : cases) {
        dates::resetUpcomingLists();
        dates::appendUpcoming(vb::Variant(id), vb::Variant(vb::Date::fromYmd(1980, 12, 10)),
                              vb::Variant(std::int16_t{0}),
                              vb::Variant(vb::Date::fromQTime(QTime(9, 5))), c.status);
        tickAt(QTime(9, 5, 10));
        EXPECT_EQ(!shown().empty(), c.shows) << vb::CStr(c.status).toStdString();
        closeNotices();
    }
}

TEST_F(TimersTest, TwoAdjacentEntriesOfOneMinuteAreBothShownWithinIt)
{
    const std::int32_t first = addDue(QStringLiteral("Ann"), QStringLiteral("09:05"));
    const std::int32_t second = addDue(QStringLiteral("Bob"), QStringLiteral("09:05"));
    load();
    tickAt(QTime(9, 5, 0));
    EXPECT_EQ(shown(), std::vector<std::int32_t>{first});
    tickAt(QTime(9, 5, 0, 300));
    EXPECT_EQ(shown(), (std::vector<std::int32_t>{first, second}));
    EXPECT_EQ(gcolUpcomingId.Count(), 2);
}

TEST_F(TimersTest, AMinuteWithoutTicksIsMissedForTheDay)
{
    addDue(QStringLiteral("Ann"), QStringLiteral("09:05"));
    load();
    for (const QTime &at : {QTime(9, 4, 59), QTime(9, 6, 0), QTime(15, 0)})
        tickAt(at);
    EXPECT_TRUE(shown().empty());
    EXPECT_EQ(statuses(), QStringList{QStringLiteral("d1")});
}

// The real timer, switched off by its setting for the whole minute of a notice and on again
// after it: that notice is missed for the day, while the next minute's is shown on time.
TEST_F(TimersTest, ANoticeTimerSwitchedOffForAWholeMinuteMissesItsNotices)
{
    store({.timerOn = 1});
    addDue(QStringLiteral("Ann"), QStringLiteral("09:05"));
    const std::int32_t bob = addDue(QStringLiteral("Bob"), QStringLiteral("09:07"));
    setNow(kToday, QTime(9, 4, 30));
    load();
    ASSERT_TRUE(frm->Timer1->isActive());

    frm->chkTimerOn->setValue(0);
    EXPECT_FALSE(frm->Timer1->isActive());
    for (const QTime &at : {QTime(9, 5, 0), QTime(9, 5, 59)}) {
        setNow(kToday, at);
        QTest::qWait(700);
    }
    setNow(kToday, QTime(9, 6, 0));
    frm->chkTimerOn->setValue(1);
    EXPECT_TRUE(frm->Timer1->isActive());
    QTest::qWait(700);
    EXPECT_TRUE(shown().empty());
    EXPECT_EQ(statuses(), QStringList({"d1", "d1"}));

    setNow(kToday, QTime(9, 7, 0));
    QTest::qWait(700);
    EXPECT_EQ(shown(), std::vector<std::int32_t>{bob}) << "the running timer ticks by itself";
}

TEST_F(TimersTest, ATickWithNothingDueReadsNoDatabase)
{
    for (int i = 0; i < 3; ++i)
        addDue(QStringLiteral("Entry %1").arg(i), QStringLiteral("09:00"));
    load();
    ASSERT_EQ(gcolUpcomingId.Count(), 3);
    // Without a database every query fails, and the tick would log it.
    gdbMain.reset();
    tickAt(QTime(10, 0));
    tickAt(QTime(10, 0, 30));
    EXPECT_TRUE(shown().empty());
    EXPECT_EQ(statuses(), QStringList({"d1", "d1", "d1"}));
    EXPECT_EQ(debugLog(), QString());
}

// Ten thousand coming events, none due in the tick's minute: not yet shown at another minute,
// shown today at this very minute, shown on an earlier day, without a time. The database is
// gone, so any access would fail and be logged.
TEST_F(TimersTest, ATickOverTenThousandComingEventsWithNothingDueReadsNoDatabase)
{
    load();
    const vb::Variant today(vb::Date::fromQDate(kToday));
    const struct
    {
        vb::Variant time;
        vb::Variant status;
    } kinds[] = {
        {vb::Variant(vb::Date::fromQTime(QTime(9, 0))), vb::Variant(dates::kNotShownStatus)},
        {vb::Variant(vb::Date::fromQTime(QTime(10, 0))), today},
        {vb::Variant(QStringLiteral("09:30")),
         vb::Variant(vb::Date::fromQDate(kToday.addDays(-1)))},
        {vb::Variant(), vb::Variant(dates::kNotShownStatus)},
    };
    constexpr int kEntries = 10000;
    dates::resetUpcomingLists();
    for (int i = 0; i < kEntries; ++i) {
        const auto &kind = kinds[i % std::size(kinds)];
        dates::appendUpcoming(vb::Variant(std::int32_t{i + 1}),
                              vb::Variant(vb::Date::fromYmd(1980, 12, 10)),
                              vb::Variant(std::int16_t{0}), kind.time, kind.status);
    }
    gdbMain->Close();
    gdbMain.reset();
    gwsMain.reset();

    tickAt(QTime(10, 0));
    tickAt(QTime(10, 0, 59, 700));

    EXPECT_TRUE(shown().empty());
    EXPECT_EQ(debugLog(), QString());
    EXPECT_TRUE(platform.messageBox.calls().empty());
    ASSERT_EQ(gcolUpcomingId.Count(), kEntries);
    for (int i : {1, 2, 3, 4, kEntries}) {
        EXPECT_EQ(vb::CLng(gcolUpcomingId.Item(i)), i) << "no entry moved";
        EXPECT_TRUE(vb::compareEqual(gcolUpcomingStatus.Item(i),
                                     kinds[(i - 1) % std::size(kinds)].status))
            << i;
    }
}

TEST_F(TimersTest, AFailingPositionIsLoggedAsTimer1AndTheTickGoesOn)
{
    const std::int32_t id = addDue(QStringLiteral("Ann"), QStringLiteral("09:05"));
    load();
    dates::resetUpcomingLists();
    dates::appendUpcoming(vb::Variant(99), vb::Variant(), vb::Variant(),
                          vb::Variant(QStringLiteral("no time")),
                          vb::Variant(QStringLiteral("d1")));
    dates::appendUpcoming(vb::Variant(id), vb::Variant(), vb::Variant(),
                          vb::Variant(vb::Date::fromQTime(QTime(9, 5))),
                          vb::Variant(QStringLiteral("d1")));
    tickAt(QTime(9, 5));
    EXPECT_EQ(shown(), std::vector<std::int32_t>{id});
    EXPECT_TRUE(debugLog().contains(QStringLiteral("Description: Timer1")));
    EXPECT_TRUE(platform.messageBox.calls().empty());
}

TEST_F(TimersTest, AtMidnightTheListAndTheComingEventsAreThoseOfTheNewDay)
{
    store({.timerOn = 1});
    // Today's entry is coming only today; Bob's alert period starts tomorrow.
    const std::int32_t ann = addEntry(QStringLiteral("Ann"), QStringLiteral("1980-12-10"), 1, 0);
    const std::int32_t bob = addEntry(QStringLiteral("Bob"), QStringLiteral("1975-12-14"), 1, 3);
    load();
    ASSERT_EQ(gcolUpcomingId.Count(), 1);
    EXPECT_EQ(vb::CLng(gcolUpcomingId.Item(1)), ann);
    EXPECT_EQ(column(0), QStringList({"Ann", "Bob"}));
    EXPECT_EQ(column(3), QStringList({"0", "4"}));

    setNow(kToday, QTime(23, 59, 59, 800));
    frm->Timer2_Timer();
    EXPECT_EQ(gcolUpcomingId.Key(1), QStringLiteral("1k")) << "the same day: nothing is rebuilt";

    setNow(kToday.addDays(1), QTime(0, 0, 0, 200));
    frm->Timer2_Timer();
    ASSERT_EQ(gcolUpcomingId.Count(), 1);
    EXPECT_EQ(vb::CLng(gcolUpcomingId.Item(1)), bob);
    EXPECT_EQ(vb::CStr(gcolUpcomingStatus.Item(1)), QStringLiteral("d1"));
    EXPECT_EQ(gcolUpcomingId.Key(1), QStringLiteral("2k")) << "the keys count on";
    EXPECT_EQ(column(0), QStringList({"Bob", "Ann"})) << "soonest first, as before";
    EXPECT_EQ(column(3), QStringList({"3", "364"}));
    EXPECT_TRUE(vb::compareEqual(gudtAppInfo.UpcomingBuiltDate,
                                 vb::Variant(vb::Date::fromQDate(kToday.addDays(1)))));
    EXPECT_TRUE(frm->Timer1->isActive());

    // A clock set back to an earlier day counts as a change as well.
    setNow(kToday, QTime(12, 0));
    frm->Timer2_Timer();
    EXPECT_EQ(vb::CLng(gcolUpcomingId.Item(1)), ann);
    EXPECT_EQ(gcolUpcomingId.Key(1), QStringLiteral("3k"));
}

// A table the program cannot do without is gone, and every box is answered alike. Each box is
// held open as the user would hold it, the event loop running behind it, while the day timer
// fires far more often than its 450 ms: a tick must neither start inside the load nor inside
// its own earlier tick, so the boxes are exactly those that the load or one tick raise with the
// timer standing still.
struct MissingTableCase
{
    const char *label;
    const char *table;
    int answer;
};

void PrintTo(const MissingTableCase &c, std::ostream *os)
{
    *os << c.label;
}

class MissingTableTest : public MainWindowTest,
                         public ::testing::WithParamInterface<MissingTableCase>
{
protected:
    std::size_t boxes() const { return platform.messageBox.calls().size(); }

    // Boxes held open this long, the timer firing every few milliseconds behind them. Past a
    // few hundred boxes the timer is stopped, so that a fault ends the test rather than it
    // running for ever.
    void runTheDayTimer()
    {
        platform.messageBox.keepOpenFor(15);
        frm->Timer2->setInterval(3);
        frm->Timer2->start();
    }
};

TEST_P(MissingTableTest, NoTickStartsInsideTheLoadOrItsOwnTickAndEachFaultAsksABoundedNumber)
{
    const MissingTableCase c = GetParam();
    for (const char *name : {"Ann", "Bob", "Cid"})
        addEntry(QString::fromLatin1(name), QStringLiteral("1980-12-12"));
    execute(QStringLiteral("ALTER TABLE %1 RENAME TO %1_gone").arg(QLatin1String(c.table)));
    platform.messageBox.answerEveryBox(c.answer);
    BoxProbe cap([this] {
        if (boxes() > 300 && frm)
            frm->Timer2->stop();
    });

    load();
    const std::size_t loadAlone = boxes();
    ASSERT_GT(loadAlone, 0u);
    delete frm.data();
    dates::resetUpcomingLists();
    gudtAppInfo.UpcomingBuiltDate = vb::Variant();

    make();
    runTheDayTimer();
    frm->Load();
    QTest::qWait(200);
    EXPECT_EQ(boxes() - loadAlone, loadAlone) << "the load with the timer running behind it";
    EXPECT_TRUE(frm->isVisible());
    EXPECT_FALSE(frm->mblnLoading);
    EXPECT_TRUE(frm->Timer2->isActive()) << "the program runs on";
    const bool withEntries = QLatin1String(c.table) != QLatin1String("Dazez");
    EXPECT_EQ(column(0), withEntries ? QStringList({"Ann", "Bob", "Cid"}) : QStringList());
    EXPECT_EQ(status(),
              QStringLiteral("You have %1 records in this listview.").arg(withEntries ? 3 : 0));

    // The next day: one tick's refill and build, with the timer standing still, and then the
    // same with the timer firing behind each of their boxes.
    frm->Timer2->stop();
    platform.messageBox.keepOpenFor(0);
    std::size_t mark = boxes();
    setNow(QDate(2026, 12, 11), QTime(10, 0));
    frm->Timer2_Timer();
    const std::size_t oneTick = boxes() - mark;
    ASSERT_GT(oneTick, 0u);
    mark = boxes();
    setNow(QDate(2026, 12, 12), QTime(10, 0));
    runTheDayTimer();
    ASSERT_TRUE(QTest::qWaitFor([this] {
        return vb::compareEqual(frm->mvarBuildTried, vb::Variant(vb::Date::fromYmd(2026, 12, 12)));
    }));
    QTest::qWait(150);
    EXPECT_EQ(boxes() - mark, oneTick) << "a new day's tick with the timer running behind it";
    EXPECT_EQ(column(0), withEntries ? QStringList({"Ann", "Bob", "Cid"}) : QStringList());
    EXPECT_EQ(vb::compareEqual(gudtAppInfo.UpcomingBuiltDate,
                               vb::Variant(vb::Date::fromYmd(2026, 12, 12))),
              withEntries)
        << "the coming events are those of the new day, when the entries can be read";
}

INSTANTIATE_TEST_SUITE_P(
    Tables, MissingTableTest,
    ::testing::Values(MissingTableCase{"EventsIgnored", "Events", platform::mb::Ignore},
                      MissingTableCase{"EventsAborted", "Events", platform::mb::Abort},
                      MissingTableCase{"DazezIgnored", "Dazez", platform::mb::Ignore},
                      MissingTableCase{"DazezAborted", "Dazez", platform::mb::Abort}),
    [](const ::testing::TestParamInfo<MissingTableCase> &info) { return info.param.label; });

} // namespace
