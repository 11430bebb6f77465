#pragma once

// The system's window-update lock: LockWindowUpdate(window) keeps the window, and everything in
// it, from painting (the window's updatesEnabled() is false meanwhile); LockWindowUpdate(nullptr)
// releases it and the window paints, once, what changed meanwhile.
// One window at a time, as the system call: while a window is locked, locking any window fails
// (false) and changes nothing. Releasing when nothing is locked succeeds and does nothing.
// A window that goes away while locked releases the lock with it.

#include <QPointer>
#include <QWidget>

namespace platform {

bool LockWindowUpdate(QWidget *window);
// The window holding the lock, or null.
QWidget *lockedWindow();
// Counts the locks taken: a control that holds back its own repaints while its window is locked
// asks for its one repaint once per lock.
unsigned lockSerial();

// Holds the lock for a scope: lock() takes it (when free), the destructor gives back a lock this
// guard took, on every way out of the scope.
class WindowUpdateLock
{
public:
    WindowUpdateLock() = default;
    ~WindowUpdateLock() { release(); }
    WindowUpdateLock(const WindowUpdateLock &) = delete;
    WindowUpdateLock &operator=(const WindowUpdateLock &) = delete;

    bool lock(QWidget *window);
    void release();
    bool held() const { return mHeld; }

private:
    bool mHeld = false;
};

} // namespace platform
