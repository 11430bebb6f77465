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

    static Date fromQDate(const QDate &d);
    static Date fromQDateTime(const QDateTime &dt);
    static Date fromQTime(const QTime &t);  // a time with no date part (day 0)
    static Date fromYmd(int year, int month, int day);

    constexpr double serial() const { return mSerial; }
    QDate date() const;     // the calendar day (30 Dec 1899 for a bare time)
    QTime time() const;     // the time of day, whole seconds
    QDateTime toQDateTime() const;  // local wall-clock time, no zone conversion
    bool hasTime() const;   // a time part other than 00:00:00
    bool hasDate() const;   // a date part other than day 0
    Date datePart() const;  // the same day at 00:00:00
    Date timePart() const;  // the time of day on day 0

    int year() const { return date().year(); }
    int month() const { return date().month(); }
    int day() const { return date().day(); }

    friend constexpr bool operator==(Date a, Date b) { return a.mSerial == b.mSerial; }
    friend constexpr bool operator<(Date a, Date b) { return a.mSerial < b.mSerial; }

private:
    double mSerial = 0.0;
};

} // namespace vb
