#pragma once

// The date engine: the days until of every entry, the upcoming-event lists (UpcomingLists.h)
// and the display of an entry's notice. It keeps no state of its own apart from the two
// month-view references; a caller creates one for an operation and drops it after.
//
// Every member handles its own run-time errors (core::Procedure) and raises none. Log-only:
// SetDaysTil, SetComingEvents, AddUpcomingCol, RemoveUpcomingCol; the others ask
// Abort/Retry/Ignore. Today is read from platform::services().clock only.

#include "platform/vb/Variant.h"

#include <QDate>
#include <QPointer>

#include <cstdint>

class QObject;

class cDateHandler
{
public:
    // Reads the entry's row and lets it go again; changes nothing.
    void AddComingEvent(std::int32_t argVemoId);
    // The notice of the entry at position argIndex has fired: the entry moves to the end of the
    // lists under a new key, with time argTime as "HH:MM" and status argDate. The count stays.
    void ReformatUpComingCols(const vb::Variant &argIndex, const vb::Variant &argDate,
                              const vb::Variant &argTime);
    // The month views PageMonthViews pages: any object with integer properties "Month" (1..12)
    // and "Year", as the month-view control has.
    void prpMonthView1(QObject *vNewValue);
    void prpMonthView2(QObject *vNewValue);

    // Rewrites Dazez_DaysTil of every row (GetDaysTil of its Dazez_Date), all rows in one
    // workspace transaction. A failure is logged and ends the pass; the rows rewritten before
    // it are committed.
    void SetDaysTil();
    // Appends every entry whose stored days until is at most its alert days, with status "d1",
    // and records today as gudtAppInfo.UpcomingBuiltDate. Appends only; never clears the lists.
    // The notice timer is off meanwhile when gudtSettings.TimerOn is 1.
    void SetComingEvents();
    // After a save: the entry's old position goes, and it is appended again (status "d1") when
    // it is a coming event by its stored values.
    void EditComingEvent(std::int32_t argVemoId);

private:
    // Appends argVemoId with the date, days until and time of grsShared's current row.
    void AddUpcomingCol(std::int32_t argVemoId);
    void RemoveUpcomingCol(const vb::Variant &argIndex);

public:
    // Takes the first position of argVemoId out of the lists; true when there was one.
    bool RemoveDeletedUpcomingCol(std::int32_t argVemoId);
    // 1 pages both month views a month forward, 2 a month back; other values do nothing.
    void PageMonthViews(std::int16_t argFlag);
    // Days from today to the next recurrence of argDate's month and day: 0 (today) .. 365.
    std::int16_t GetDaysTil(vb::Date argDate);
    // The same, counted from a given today: a pass over every entry reads the clock once, so
    // that it is one day's answer for all of them (and the clock is not asked per row).
    std::int16_t GetDaysTil(vb::Date argDate, const QDate &argToday);
    // Shows the entry's notice window, with the alarm sound, unless one is open for it. True
    // when a window was filled and shown.
    bool DisplayEvent(const vb::Variant &argVemoId);

private:
    // True when an open notice window carries argVemoId.
    bool CheckEventNotices(const vb::Variant &argVemoId);

    QPointer<QObject> mMonthView1;
    QPointer<QObject> mMonthView2;
};
