#pragma once

// The upcoming-event lists: five parallel keyed lists, one position per coming event, read by
// the main window's timers and the show-events commands. Invariants, kept by every function
// here and by every caller that goes through them:
//  - the five lists always have the same count, and position i of each describes one entry;
//  - an entry has the same key in all five lists, the decimal text of glngUpcomingKey followed
//    by "k", taken from the counter just before its append;
//  - glngUpcomingKey starts at 0, only grows, and is not reset when the lists are replaced.
// Readers go by position (1..Count) or scan gcolUpcomingId; no reader uses the keys.

#include "platform/vb/Collection.h"
#include "platform/vb/Variant.h"

#include <QString>

#include <cstdint>

extern vb::Collection gcolUpcomingId;      // Dazez_Id
extern vb::Collection gcolUpcomingDate;    // Dazez_Date
extern vb::Collection gcolUpcomingDaysTil; // Dazez_DaysTil
extern vb::Collection gcolUpcomingTime;    // Dazez_Time; its "HH:MM" text once shown
extern vb::Collection gcolUpcomingStatus;  // "d1" until shown, then the day it was shown
extern std::int32_t glngUpcomingKey;

namespace dates {

inline const QString kNotShownStatus = QStringLiteral("d1");

// Increases glngUpcomingKey and returns the key built from it. Raises 6 (Overflow) and leaves
// the counter as it was when it already holds the largest 32-bit value.
QString nextUpcomingKey();

// Appends one entry to the five lists under a new key (nextUpcomingKey). All five or none: when
// an append fails, the items already appended for it are taken out again before the error goes
// on to the caller.
void appendUpcoming(const vb::Variant &id, const vb::Variant &date, const vb::Variant &daysTil,
                    const vb::Variant &time, const vb::Variant &status);

// Removes position `position` (1-based) from the five lists, in the order Id, Date, DaysTil,
// Time, Status. Raises 9 (Subscript out of range) and changes nothing when a list has no such
// position.
void removeUpcomingAt(int position);

// The day timer's change of date: all five lists are released, then created anew, empty. The
// key counter goes on from where it stood.
void replaceUpcomingLists();

// Empty lists and the counter back at 0, as at start-up (tests).
void resetUpcomingLists();

} // namespace dates
