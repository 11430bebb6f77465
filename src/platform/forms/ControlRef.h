#pragma once

// A window's member that names one of its controls (`ControlRef<StatusBar> statBar1`), used as
// the control's pointer. Every use of it reaches the control through the window layer's one
// check (WindowLifetime.h): while a step runs, a control of a window that has been unloaded
// raises run-time error 91 instead of being used, so that the step's procedure handles it by its
// own variant. This holds for every kind of control and for the status bar that SetStatBar is
// given. An unset member converts to nullptr, as a pointer does, and raises 91 when it is
// dereferenced.
//
//     p([&] { SetStatBar(statBar1, text, 1); });   // 91 here when the window is gone

#include "WindowLifetime.h"

#include "platform/vb/RuntimeError.h"

namespace platform {

template <class T> class ControlRef
{
public:
    ControlRef() = default;
    ControlRef(T *control) : mControl(control) {}
    ControlRef &operator=(T *control)
    {
        mControl = control;
        return *this;
    }

    T *get() const { return reach(mControl); }
    operator T *() const { return get(); }
    T *operator->() const { return &**this; }
    T &operator*() const
    {
        if (!mControl)
            vb::raise(vb::err::ObjectVariableNotSet);
        return *get();
    }

private:
    T *mControl = nullptr;
};

} // namespace platform
