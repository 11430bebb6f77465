#pragma once

// The window-message hook control: watches the messages posted to one window
// (services/WindowMessages.h) and raises Message for each message number it was told to report.
// Other messages pass by untouched. It shows nothing on its window.
//
// Contracts:
//  - hWnd names the watched window by its handle (services/WindowHandles.h); setting another
//    handle moves the hook there, 0 or a handle of no window leaves it watching nothing. hWnd
//    reads back the handle as set.
//  - setMessage(msg, true) selects a message number (0 to 65535) for reporting, false drops it;
//    another number raises 380 "Invalid property value". The selection stays when the hook moves.
//  - Message(msg, wParam, lParam, result) is raised in the order the messages were posted, from
//    the event loop; result starts at 0 and is not used.

#include <QObject>
#include <QPointer>
#include <QSet>
#include <QWidget>

#include <cstdint>

namespace platform {

class Msghook : public QObject
{
    Q_OBJECT
public:
    Msghook(QObject *parent, const QString &name);

    std::int32_t hWnd() const { return mHwnd; }
    void setHWnd(std::int32_t hWnd);
    bool messageSelected(std::int32_t msg) const { return mSelected.contains(msg); }
    void setMessage(std::int32_t msg, bool report);

signals:
    void Message(std::int32_t msg, std::int32_t wParam, std::int32_t lParam, std::int32_t &result);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    std::int32_t mHwnd = 0;
    QPointer<QWidget> mWindow;
    QSet<std::int32_t> mSelected;
};

} // namespace platform
