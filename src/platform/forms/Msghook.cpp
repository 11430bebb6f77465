#include "Msghook.h"

#include "platform/services/WindowHandles.h"
#include "platform/services/WindowMessages.h"
#include "platform/vb/RuntimeError.h"

namespace platform {

Msghook::Msghook(QObject *parent, const QString &name) : QObject(parent)
{
    setObjectName(name);
}

void Msghook::setHWnd(std::int32_t hWnd)
{
    if (mWindow)
        mWindow->removeEventFilter(this);
    mHwnd = hWnd;
    mWindow = windowFromHandle(hWnd);
    if (mWindow)
        mWindow->installEventFilter(this);
}

void Msghook::setMessage(std::int32_t msg, bool report)
{
    if (msg < 0 || msg > 0xFFFF)
        vb::raise(vb::err::InvalidPropertyValue);
    if (report)
        mSelected.insert(msg);
    else
        mSelected.remove(msg);
}

bool Msghook::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == mWindow && event->type() == WindowMessageEvent::eventType()) {
        const auto *message = static_cast<WindowMessageEvent *>(event);
        if (mSelected.contains(message->msg)) {
            std::int32_t result = 0;
            emit Message(message->msg, message->wParam, message->lParam, result);
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace platform
