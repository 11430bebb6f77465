#pragma once

// The date-time picker. Its value is always a whole date and time (a vb::Date); the format only
// decides what is shown and edited:
//  - Time: the time of day, in the user's time picture; the date part is kept as it was set.
//  - ShortDate: the day, in the user's short-date picture, with a drop-down calendar; the time
//    part is kept as it was set.
//  - LongDate: the day in the user's long-date picture, with the drop-down calendar.
// The value lies within MinDate..MaxDate (1 January 1601 .. 31 December 9999 unless set): a
// value outside raises 35775; a range set around the value moves the value into it. Change fires
// once for every change of the value, whether the user made it or code set it; setting the value it
// already has fires nothing. The first value is the clock's now, to the second.
// Keys: the picker is one Tab stop; Left and Right go from part to part of the date or time, Up
// and Down change the part.

#include "Control.h"

#include "platform/vb/Date.h"
#include "platform/vb/Variant.h"

#include <QDateTime>

class QDateTimeEdit;

namespace platform {

class DTPicker : public Control
{
    Q_OBJECT
public:
    enum class Format { LongDate = 0, ShortDate = 1, Time = 2 };

    DTPicker(QWidget *parent, const QString &name, Format format = Format::ShortDate);

    Format format() const { return mFormat; }
    void setFormat(Format format);

    vb::Variant Value() const; // a Date
    // Takes any value CDate takes (its errors included).
    void setValue(const vb::Variant &value);
    vb::Date MinDate() const;
    void setMinDate(const vb::Date &date);
    vb::Date MaxDate() const;
    void setMaxDate(const vb::Date &date);

    QDateTimeEdit *edit() const { return mEdit; }

signals:
    void Change();

private:
    // Sets the edit's value within the picker's range; Change when it differs from before.
    void setEditTime(const QDateTime &dt);

    QDateTimeEdit *mEdit;
    // The picker's range; Qt's own range of a time-only edit is narrowed to one day.
    QDateTime mMinimum;
    QDateTime mMaximum;
    Format mFormat;
};

// A date or time picture in the user's (Windows) letters as Qt's display format: the AM/PM
// field "tt" (or "t") becomes "AP"; every other letter means the same in both.
QString qtDisplayFormat(const QString &picture);

} // namespace platform
