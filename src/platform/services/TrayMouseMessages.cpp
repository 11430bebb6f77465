#include "TrayMouseMessages.h"

#include "NotifyIcon.h"

namespace platform {

namespace {
bool within(const QDateTime &earlier, const QDateTime &now, int ms)
{
    return earlier.isValid() && earlier.msecsTo(now) >= 0 && earlier.msecsTo(now) <= ms;
}
} // namespace

QList<std::int32_t> TrayMouseMessages::translate(QSystemTrayIcon::ActivationReason reason,
                                                 const QDateTime &now, int doubleClickMs)
{
    switch (reason) {
    case QSystemTrayIcon::Trigger:
        if (within(mLastClick, now, doubleClickMs)) {
            mLastClick = QDateTime();
            mLastDouble = now;
            return {wm::LBUTTONDBLCLK, wm::LBUTTONUP};
        }
        mLastClick = now;
        return {wm::LBUTTONDOWN, wm::LBUTTONUP};
    case QSystemTrayIcon::DoubleClick:
        mLastClick = QDateTime();
        if (within(mLastDouble, now, doubleClickMs))
            return {};
        mLastDouble = now;
        return {wm::LBUTTONDBLCLK, wm::LBUTTONUP};
    case QSystemTrayIcon::Context:
        return {wm::RBUTTONDOWN, wm::RBUTTONUP};
    case QSystemTrayIcon::MiddleClick:
        return {wm::MBUTTONDOWN, wm::MBUTTONUP};
    case QSystemTrayIcon::Unknown:
        break;
    }
    return {};
}

} // namespace platform
