#pragma once

// How long an unloaded window lives, and what a procedure of it meets afterwards.
//
// A window's procedures run on the stack of its own events, and one that shows a box or a dialog
// waits inside the box's event loop. Meanwhile the window can be unloaded: its close box, or a
// screen reader's command, which acts on a window behind a modal box. Its procedure then goes on
// after the box with `this` and its controls. Contracts:
//
//  - Lifetime. Form::Unload hides the window, takes it out of Forms() and asks for its deletion
//    later, but a window is deleted only when no procedure (core::Procedure, which holds a
//    ProcedureFrame) is running and no event loop is running but the outermost one: then no
//    frame of it can be on the stack. Until then the window and its controls stay alive, hidden.
//    (Qt's deferred deletion counts only the loop in which it was asked for, so a deletion asked
//    for inside a box's loop would run inside that loop, under the procedure that waits on it.)
//    A window held so is offered again when the last procedure ends and when the outermost loop
//    is about to wait; QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete) runs
//    those offers, as it runs any deferred deletion.
//  - Its own events. An unloaded window's timers (its QTimer children) stop at the unload and
//    fire no more into it, also when a later step starts them again; and the window is disabled,
//    so that it takes no focus and no input: the desktop can still activate a hidden window (a
//    late activation), which would give a control the focus and run its GotFocus handler.
//  - Reaching a gone window. A step that reaches a control of an unloaded window raises run-time
//    error 91 ("Object variable or With block variable not set"), which the step's procedure
//    handles by its own variant, as core::object() does for an unset object. Controls are reached
//    through ControlRef (ControlRef.h), the type of every window's control members, and through
//    reach() where a control is found another way (a window's Controls()). The error is raised
//    only where a step takes it at once: when the innermost of the running procedures and steps
//    is a step, run by the event loop that runs now. Elsewhere (a procedure's code between its
//    steps, a handler that a box's loop runs) the control is given back as it is: it is still
//    alive, only hidden, so using it is harmless and shows nothing.

#include <QObject>

namespace platform {

class Form;

// One running procedure; core::Procedure holds one for its life. Frames nest as the procedures'
// calls do.
class ProcedureFrame
{
public:
    ProcedureFrame();
    ~ProcedureFrame();
    ProcedureFrame(const ProcedureFrame &) = delete;
    ProcedureFrame &operator=(const ProcedureFrame &) = delete;

    // Marks one step of the frame's procedure as running, for its scope.
    class Step
    {
    public:
        explicit Step(ProcedureFrame &frame);
        ~Step();
        Step(const Step &) = delete;
        Step &operator=(const Step &) = delete;
    };
};

// Whether any procedure is running.
bool procedureRunning();
// Whether an error raised now goes straight to a step's handler: the innermost of the running
// procedures and steps is a step, started in the event loop that runs now.
bool stepMayRaise();

// The window `object` belongs to (itself, for a window): its nearest Form ancestor, or nullptr.
Form *windowOf(const QObject *object);
// Raises 91 when `object` belongs to an unloaded window and stepMayRaise().
void raiseIfWindowGone(const QObject *object);

template <class T> T *reach(T *object)
{
    if (object)
        raiseIfWindowGone(object);
    return object;
}

// For Form: whether a deferred deletion of `form` may run now; when not, the form is held and
// offered again later (see Lifetime above).
bool mayDeleteNow(Form *form);
// For Form::Unload: stops the window's timers for good and disables it (see above).
void silence(Form &form);

} // namespace platform
