#pragma once

class QTimer;

namespace dates {

// The main window's notice timer (`Timer1`). The date engine switches it off while it rebuilds
// the upcoming-event lists; the main window registers it when it is created and clears it when
// it goes. Null while there is no main window: switching then does nothing.
void setNoticeTimer(QTimer *timer);
QTimer *noticeTimer();

} // namespace dates
