#include "WindowUpdateLock.h"

#include <QCoreApplication>
#include <QEvent>

namespace platform {

namespace {

struct LockState
{
    QPointer<QWidget> window;
    bool held = false;
    bool wasDisabled = false; // the window's own setting, put back on release
    unsigned serial = 0;
};

LockState &state()
{
    static LockState s;
    return s;
}

} // namespace

// Only the window itself is marked: its children go on recording what they need to repaint,
// the window paints none of it while the mark stands (Qt paints a window's dirty widgets only
// when the window's own updates are on), and the release paints exactly what was recorded, as
// the system's lock repaints what was drawn to meanwhile, rather than the whole window.
bool LockWindowUpdate(QWidget *window)
{
    LockState &s = state();
    if (s.held && !s.window) // the locked window is gone, and its lock with it
        s.held = false;
    if (!window) {
        if (s.held) {
            QWidget *locked = s.window;
            locked->setAttribute(Qt::WA_UpdatesDisabled, s.wasDisabled);
            if (!s.wasDisabled)
                QCoreApplication::postEvent(locked, new QEvent(QEvent::UpdateRequest),
                                            Qt::LowEventPriority);
        }
        s.held = false;
        s.window = nullptr;
        return true;
    }
    if (s.held)
        return false;
    s.window = window;
    s.held = true;
    ++s.serial;
    s.wasDisabled = window->testAttribute(Qt::WA_UpdatesDisabled);
    window->setAttribute(Qt::WA_UpdatesDisabled, true);
    return true;
}

QWidget *lockedWindow()
{
    const LockState &s = state();
    return s.held ? s.window.data() : nullptr;
}

unsigned lockSerial()
{
    return state().serial;
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
