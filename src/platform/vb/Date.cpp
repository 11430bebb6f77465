#include "Date.h"

#include "RuntimeError.h"

#include <cmath>

namespace vb {

namespace {

constexpr double kSecondsPerDay = 86400.0;

const QDate &epoch()
{
    static const QDate d(1899, 12, 30);
    return d;
}

struct Parts
{
    qint64 day;
    int seconds; // 0..86399
};

// The stored value as calendar day and whole seconds. The fraction counts forwards from
// midnight for either sign of the serial; rounding to 86400 seconds carries into the next day.
Parts split(double serial)
{
    const double whole = std::trunc(serial);
    const double fraction = std::fabs(serial - whole);
    // Rounded half away from zero, as llround does, for the value that is never negative: the
    // remainder after the whole seconds is exact, so is its comparison with a half.
    const double seconds = fraction * kSecondsPerDay;
    const auto wholeSeconds = static_cast<int>(seconds);
    Parts p{static_cast<qint64>(whole),
            wholeSeconds + (seconds - wholeSeconds >= 0.5 ? 1 : 0)};
    if (p.seconds >= 86400) {
        p.seconds -= 86400;
        ++p.day;
    }
    return p;
}

} // namespace

Date Date::fromDayAndTime(qint64 day, double secondsOfDay)
{
    const double fraction = secondsOfDay / kSecondsPerDay;
    const double d = static_cast<double>(day);
    return Date(day >= 0 ? d + fraction : d - fraction);
}

Date Date::fromQDate(const QDate &d)
{
    if (!d.isValid())
        raise(err::InvalidProcedureCall);
    return fromDayAndTime(epoch().daysTo(d), 0.0);
}

Date Date::fromQDateTime(const QDateTime &dt)
{
    if (!dt.isValid())
        raise(err::InvalidProcedureCall);
    return fromDayAndTime(epoch().daysTo(dt.date()), dt.time().msecsSinceStartOfDay() / 1000.0);
}

Date Date::fromQTime(const QTime &t)
{
    if (!t.isValid())
        raise(err::InvalidProcedureCall);
    return fromDayAndTime(0, t.msecsSinceStartOfDay() / 1000.0);
}

Date Date::fromYmd(int year, int month, int day)
{
    return fromQDate(QDate(year, month, day));
}

qint64 Date::dayNumber() const
{
    return split(mSerial).day;
}

QDate Date::date() const
{
    return epoch().addDays(split(mSerial).day);
}

QTime Date::time() const
{
    return QTime::fromMSecsSinceStartOfDay(split(mSerial).seconds * 1000);
}

int Date::secondsOfDay() const
{
    return split(mSerial).seconds;
}

QDateTime Date::toQDateTime() const
{
    const QDate d = date();
    const QTime t = time();
    QDateTime local(d, t, Qt::LocalTime);
    if (local.isValid() && local.date() == d && local.time() == t)
        return local;
    return QDateTime(d, t, Qt::UTC);
}

bool Date::hasTime() const
{
    return split(mSerial).seconds != 0;
}

bool Date::hasDate() const
{
    return split(mSerial).day != 0;
}

Date Date::datePart() const
{
    return fromDayAndTime(split(mSerial).day, 0.0);
}

Date Date::timePart() const
{
    return fromDayAndTime(0, split(mSerial).seconds);
}

} // namespace vb
