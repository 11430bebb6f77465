#pragma once

// The month calendar: one month on show, one selected day (Value). Month (1..12) and Year are
// integer properties of the meta-object as well, so that code which knows only an object can
// page the calendar (the date engine does). Setting Month or Year moves the selected day to that
// month or year, its day number kept where the month has it and the month's last day otherwise,
// and shows that month. A month outside 1..12, or a day outside 1 January 1753 .. 31 December
// 9999, raises 380 "Invalid property value". The first selected day is the clock's today.

#include "Control.h"

#include "platform/vb/Date.h"
#include "platform/vb/Variant.h"

class QCalendarWidget;

namespace platform {

class MonthView : public Control
{
    Q_OBJECT
    Q_PROPERTY(int Month READ Month WRITE setMonth)
    Q_PROPERTY(int Year READ Year WRITE setYear)
public:
    MonthView(QWidget *parent, const QString &name);

    vb::Date Value() const;
    // Takes the day of any date value (a time part is dropped); raises as CDate does.
    void setValue(const vb::Variant &value);
    int Month() const;
    void setMonth(int month);
    int Year() const;
    void setYear(int year);

    QCalendarWidget *calendar() const { return mCalendar; }

    // The weekday names and the day numbers of the month on show, each in its cell: the cells
    // share the calendar's width and, below its month and year, its height.
    QList<TextRoom> textRooms() const override;

private:
    void select(const QDate &day);

    QCalendarWidget *mCalendar;
};

} // namespace platform
