#pragma once

// Handles: the 32-bit numbers by which the program names its windows and icons to the system
// stand-ins (the tray, the window-message hook, the help viewer), where the system it was
// written for passes window and icon handles. A handle is not the native window id, which is
// wider than 32 bits on some systems and would force a native window into being.
//
// Contracts (user-interface thread only):
//  - A window keeps its handle for as long as it lives; no other window or icon gets the same
//    number in the life of the process. 0 is no handle.
//  - An icon's handle is kept for the life of the process; the same picture (QIcon::cacheKey)
//    gets the same handle each time.

#include <QIcon>
#include <QWidget>

#include <cstdint>

namespace platform {

// 0 for nullptr.
std::int32_t handleOfWindow(QWidget *window);
// nullptr for 0, for a number never given out, and once the window is gone.
QWidget *windowFromHandle(std::int32_t handle);

// 0 for a null icon.
std::int32_t iconHandle(const QIcon &icon);
// A null icon for a number that names no icon.
QIcon iconFromHandle(std::int32_t handle);

} // namespace platform
