#include "WindowUpdateLock.h"

namespace platform {

namespace {

struct LockState
{
    QPointer<QWidget> window;
    bool held = false;
    bool wasEnabled = true; // the window's own setting, put back on release
};

LockState &state()
{
    static LockState s;
    return s;
}

} // namespace

bool LockWindowUpdate(QWidget *window)
{
    LockState &s = state();
    if (s.held && !s.window) // the locked window is gone, and its lock with it
        s.held = false;
    if (!window) {
        if (s.held && s.window->updatesEnabled() != s.wasEnabled)
            s.window->setUpdatesEnabled(s.wasEnabled);
        s.held = false;
        s.window = nullptr;
        return true;
    }
    if (s.held)
        return false;
    s.window = window;
    s.held = true;
    s.wasEnabled = window->updatesEnabled();
    window->setUpdatesEnabled(false);
    return true;
}

QWidget *lockedWindow()
{
    const LockState &s = state();
    return s.held ? s.window.data() : nullptr;
}

bool WindowUpdateLock::lock(QWidget *window)
{
    if (mHeld)
        return true;
    mHeld = window && LockWindowUpdate(window);
    return mHeld;
}

void WindowUpdateLock::release()
{
    if (!mHeld)
        return;
    mHeld = false;
    LockWindowUpdate(nullptr);
}

} // namespace platform
