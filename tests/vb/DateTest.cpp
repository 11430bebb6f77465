#include "ErrorTesting.h"

#include "platform/vb/Date.h"

using vb::Date;

TEST(Date, CalendarDaysAndSerialsRoundTrip)
{
    const struct
    {
        int y, m, d;
        double serial;
    } cases[] = {
        {1899, 12, 30, 0},       {1899, 12, 31, 1},    {1900, 1, 1, 2},      {1900, 2, 28, 60},
        {1900, 3, 1, 61},        {2000, 1, 1, 36526},  {2000, 2, 29, 36585}, {2024, 2, 29, 45351},
        {1899, 12, 29, -1},      {1896, 2, 29, -1400}, {1800, 1, 1, -36522}, {100, 1, 1, -657434},
        {9999, 12, 31, 2958465},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.serial);
        const Date d = Date::fromYmd(c.y, c.m, c.d);
        EXPECT_EQ(d.serial(), c.serial);
        EXPECT_EQ(Date(c.serial).date(), QDate(c.y, c.m, c.d));
        EXPECT_EQ(Date::fromQDate(QDate(c.y, c.m, c.d)), d);
        EXPECT_FALSE(d.hasTime());
        EXPECT_EQ(d.hasDate(), c.serial != 0);
    }
}

// Before the epoch the fraction still counts forwards from midnight.
TEST(Date, TimeFractionForBothSignsOfTheSerial)
{
    const struct
    {
        double serial;
        QDate date;
        QTime time;
    } cases[] = {
        {0.25, QDate(1899, 12, 30), QTime(6, 0)},   {-1.25, QDate(1899, 12, 29), QTime(6, 0)},
        {-1.75, QDate(1899, 12, 29), QTime(18, 0)}, {-0.5, QDate(1899, 12, 30), QTime(12, 0)},
        {36526.5, QDate(2000, 1, 1), QTime(12, 0)}, {-36522.75, QDate(1800, 1, 1), QTime(18, 0)},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.serial);
        const Date d(c.serial);
        EXPECT_EQ(d.date(), c.date);
        EXPECT_EQ(d.time(), c.time);
        EXPECT_EQ(d.secondsOfDay(), c.time.msecsSinceStartOfDay() / 1000);
        EXPECT_TRUE(d.hasTime());
        EXPECT_EQ(Date::fromQDateTime(QDateTime(c.date, c.time)).date(), c.date);
        EXPECT_EQ(Date::fromQDateTime(QDateTime(c.date, c.time)).time(), c.time);
        EXPECT_EQ(d.datePart().date(), c.date);
        EXPECT_FALSE(d.datePart().hasTime());
        EXPECT_EQ(d.timePart().time(), c.time);
        EXPECT_FALSE(d.timePart().hasDate());
    }
    EXPECT_EQ(Date::fromQDateTime(QDateTime(QDate(1899, 12, 29), QTime(6, 0))).serial(), -1.25);
}

TEST(Date, TimeRoundsToWholeSecondsAndCarriesIntoTheNextDay)
{
    const double halfSecond = 0.5 / 86400.0;
    EXPECT_EQ(Date(36526.0 + 3661.4 / 86400.0).time(), QTime(1, 1, 1));
    EXPECT_EQ(Date(36526.0 + 3661.6 / 86400.0).time(), QTime(1, 1, 2));
    const Date almostMidnight(36527.0 - halfSecond / 2);
    EXPECT_EQ(almostMidnight.date(), QDate(2000, 1, 2));
    EXPECT_EQ(almostMidnight.time(), QTime(0, 0));
    EXPECT_EQ(almostMidnight.secondsOfDay(), 0);
    EXPECT_EQ(Date(36526.0 + 3661.6 / 86400.0).secondsOfDay(), 3662);
    EXPECT_FALSE(almostMidnight.hasTime());
}

TEST(Date, OrderIsChronologicalAlsoBeforeTheEpoch)
{
    // Each value is later than the one before it.
    const double serials[] = {-657434, -2.75, -2.25, -1.75, -1.25, -1, 0, 0.25, 1, 36526.5};
    for (std::size_t i = 0; i + 1 < std::size(serials); ++i) {
        SCOPED_TRACE(serials[i]);
        EXPECT_TRUE(Date(serials[i]) < Date(serials[i + 1]));
        EXPECT_FALSE(Date(serials[i + 1]) < Date(serials[i]));
        EXPECT_FALSE(Date(serials[i]) < Date(serials[i]));
    }
}

TEST(Date, BareTimeHasNoDatePart)
{
    const Date t = Date::fromQTime(QTime(9, 5, 30));
    EXPECT_FALSE(t.hasDate());
    EXPECT_TRUE(t.hasTime());
    EXPECT_EQ(t.date(), QDate(1899, 12, 30));
    EXPECT_EQ(t.time(), QTime(9, 5, 30));
    EXPECT_FALSE(Date().hasDate());
    EXPECT_FALSE(Date().hasTime());
}

TEST(Date, ToQDateTimeKeepsTheWallClock)
{
    const QDateTime dt = Date(Date::fromYmd(2021, 3, 28).serial() + 0.5).toQDateTime();
    EXPECT_EQ(dt.date(), QDate(2021, 3, 28));
    EXPECT_EQ(dt.time(), QTime(12, 0));
    EXPECT_EQ(dt.timeSpec(), Qt::LocalTime);
}

TEST(Date, DaysThatDoNotExistRaiseInvalidProcedureCall)
{
    EXPECT_EQ(errorNumberOf([] { Date::fromYmd(2023, 2, 29); }), 5);
    EXPECT_EQ(errorNumberOf([] { Date::fromYmd(2000, 13, 1); }), 5);
    EXPECT_EQ(errorNumberOf([] { Date::fromQDate(QDate()); }), 5);
    EXPECT_EQ(errorNumberOf([] { Date::fromQTime(QTime()); }), 5);
}
