#pragma once

// What Qt tells of a click on a tray icon, turned into the mouse messages the icon's window
// expects (wm:: in NotifyIcon.h). Qt reports one activation per click, where the system sends a
// button-down and a button-up, so each activation gives the closest sequence:
//
//   Trigger (left click)      LBUTTONDOWN, LBUTTONUP
//   DoubleClick               LBUTTONDBLCLK, LBUTTONUP (the first click came as a Trigger)
//   Context (right click)     RBUTTONDOWN, RBUTTONUP
//   MiddleClick               MBUTTONDOWN, MBUTTONUP
//   Unknown                   nothing
//
// Some notification areas report every left click as a Trigger and never a DoubleClick; a
// Trigger that follows another within the double-click interval is therefore taken as the
// double-click. Qt's own DoubleClick inside the interval after such a pair adds nothing, so one
// double-click gives one LBUTTONDBLCLK whichever way the desktop reports it. No mouse moves.

#include <QDateTime>
#include <QList>
#include <QSystemTrayIcon>

#include <cstdint>

namespace platform {

class TrayMouseMessages
{
public:
    // The messages for one activation at `now`; `doubleClickMs` is the desktop's interval.
    QList<std::int32_t> translate(QSystemTrayIcon::ActivationReason reason, const QDateTime &now,
                                  int doubleClickMs);

private:
    QDateTime mLastClick;  // the last left click that was not part of a double-click
    QDateTime mLastDouble; // the last double-click reported
};

} // namespace platform
