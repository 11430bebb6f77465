#include "NoticeTimer.h"

#include <QPointer>
#include <QTimer>

namespace dates {

namespace {
QPointer<QTimer> gNoticeTimer;
}

void setNoticeTimer(QTimer *timer)
{
    gNoticeTimer = timer;
}

QTimer *noticeTimer()
{
    return gNoticeTimer.data();
}

} // namespace dates
