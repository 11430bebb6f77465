#pragma once

// Window messages: how the system stand-ins reach a window the way the system it was written
// for posts a message (number, wParam, lParam) to a window handle. A posted message is a Qt
// event in the window's queue; the window-message hook control (forms/Msghook.h) reports the
// ones it was told to watch. A window without a hook ignores them.

#include <QEvent>

#include <cstdint>

namespace platform {

class WindowMessageEvent : public QEvent
{
public:
    WindowMessageEvent(std::int32_t msg, std::int32_t wParam, std::int32_t lParam);

    static QEvent::Type eventType();

    std::int32_t msg;
    std::int32_t wParam;
    std::int32_t lParam;
};

// Queues the message for the window with the handle hWnd (WindowHandles.h) and returns at once;
// the event loop delivers it, in the order posted. False, and nothing queued, when no window has
// that handle. A message still queued when its window is destroyed is dropped.
bool PostMessage(std::int32_t hWnd, std::int32_t msg, std::int32_t wParam, std::int32_t lParam);

} // namespace platform
