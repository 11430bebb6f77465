#include "WindowMessages.h"

#include "WindowHandles.h"

#include <QCoreApplication>
#include <QWidget>

namespace platform {

WindowMessageEvent::WindowMessageEvent(std::int32_t msg, std::int32_t wParam, std::int32_t lParam)
    : QEvent(eventType()), msg(msg), wParam(wParam), lParam(lParam)
{
}

QEvent::Type WindowMessageEvent::eventType()
{
    static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

bool PostMessage(std::int32_t hWnd, std::int32_t msg, std::int32_t wParam, std::int32_t lParam)
{
    QWidget *window = windowFromHandle(hWnd);
    if (!window)
        return false;
    QCoreApplication::postEvent(window, new WindowMessageEvent(msg, wParam, lParam));
    return true;
}

} // namespace platform
