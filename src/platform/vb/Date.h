#pragma once

#include <QDate>
#include <QDateTime>
#include <QTime>

namespace vb {

// The runtime's date type: days since 30 December 1899 with the time of day as the fraction.
// Before the epoch the whole part counts days backwards while the fraction still counts the time
// forwards from midnight (-1.25 is 29 December 1899, 06:00), as the runtime stores it.
class Date
{
public:
    constexpr Date() = default;
    constexpr explicit Date(double serial) : mSerial(serial) {}

    // The from* functions raise RuntimeError 5 for an invalid (or null) QDate/QTime and for a
    // day that does not exist (fromYmd(2023, 2, 29)); they never roll over into the next month.
    static Date fromQDate(const QDate &d);
    static Date fromQDateTime(const QDateTime &dt); // its wall-clock date and time, zone ignored
    static Date fromQTime(const QTime &t);          // a time with no date part (day 0)
    static Date fromYmd(int year, int month, int day);
    // A calendar day counted from 30 December 1899 (negative before it) and a time of day.
    static Date fromDayAndTime(qint64 day, double secondsOfDay);

    constexpr double serial() const { return mSerial; }
    QDate date() const; // the calendar day (30 Dec 1899 for a bare time)
    // date() and time() round the value to the nearest whole second first, so 23:59:59.6 reads
    // as 00:00:00 of the next day (as the runtime displays it).
    QTime time() const; // the time of day, whole seconds
    int secondsOfDay() const; // the same time of day as seconds since midnight (0..86399)
    // Qt::LocalTime with date() and time() as they stand: no zone conversion. A wall-clock time
    // that the local zone skips (the hour lost to daylight saving) cannot be a valid local
    // QDateTime; it then comes back as Qt::UTC with the same date() and time(), never shifted.
    QDateTime toQDateTime() const;
    bool hasTime() const;     // a time part other than 00:00:00
    bool hasDate() const;     // a date part other than day 0
    qint64 dayNumber() const; // the calendar day counted from 30 December 1899 (day 0)
    Date datePart() const;    // the same day at 00:00:00
    Date timePart() const;    // the time of day on day 0

    int year() const { return date().year(); }
    int month() const { return date().month(); }
    int day() const { return date().day(); }

    friend constexpr bool operator==(Date a, Date b) { return a.mSerial == b.mSerial; }
    friend constexpr bool operator<(Date a, Date b) { return a.mSerial < b.mSerial; }

private:
    double mSerial = 0.0;
};

} // namespace vb
