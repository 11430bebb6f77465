#pragma once

// How every procedure of the program deals with a failed step. A procedure is a sequence of
// steps; each step runs through its Procedure object, which applies the procedure's variant when
// the step raises a vb::RuntimeError:
//
//   Dialog          HandleError asks the user: Retry runs the same step again, Ignore goes on
//                   with the next step, Abort (or anything else) leaves the procedure.
//   LogOnly         LogError writes the log, and the procedure is left.
//   LogAndContinue  the error is logged and the procedure goes on with the next step.
//   Silent          the step is skipped without a report.
//
// "Leaving" means that every later step of the same Procedure object is skipped, so a function
// returns the result it held at that moment. Only vb::RuntimeError is handled: anything else
// (platform::ProgramEnded in particular) passes through untouched.
//
// Ignore goes on after a step that did not do its work, so a later step can meet an object that
// was never made (a recordset whose open failed, a window that was not created). No step
// dereferences such a pointer itself: it reaches the object through object() (or an accessor
// built on it, such as core::db() and core::sharedRecordset()), which raises 91 "Object variable
// or With block variable not set" for a missing one, and that error goes through the same
// protocol as any other.
//
//     Procedure p("frmDazez.GetEventName");
//     std::shared_ptr<jet::Recordset> rs;
//     int count = 0;
//     p([&] { rs = core::db().OpenRecordset(sql, jet::dbOpenSnapshot); });
//     p([&] { count = object(rs).RecordCount(); });   // never rs->RecordCount()
//     p([&] { core::closeRecordset(rs); });           // no error when there is none
//     return count;
//
// The same holds for a window's controls: a step that reaches a control of a window unloaded
// meanwhile (while the step's procedure waited on a box) raises 91 (platform/forms/ControlRef.h).
// A Procedure is a running procedure for the window layer, which keeps an unloaded window alive
// while any is running (platform/forms/WindowLifetime.h).

#include "platform/forms/WindowLifetime.h"
#include "platform/vb/RuntimeError.h"

#include <QString>

#include <functional>
#include <new>
#include <optional>
#include <type_traits>

namespace core {

enum class ErrorVariant { Dialog, LogOnly, LogAndContinue, Silent };

// The object behind an object variable (any pointer: raw, shared, unique, QPointer); raises 91
// when it is not set, as using an unset object variable does, and when it is a window that has
// been unloaded or belongs to one (platform/forms/WindowLifetime.h).
template <class Pointer> auto &object(const Pointer &pointer)
{
    if (!pointer)
        vb::raise(vb::err::ObjectVariableNotSet);
    auto &target = *pointer;
    if constexpr (std::is_base_of_v<QObject, std::remove_cvref_t<decltype(target)>>)
        platform::raiseIfWindowGone(&target);
    return target;
}

// What a procedure's own handler decides for an error before the variant applies.
enum class ErrorAction {
    Default, // apply the procedure's variant
    Retry,   // run the failed step again, without a report
    Resume,  // go on with the next step, without a report
    Leave,   // leave the procedure, without a report
};

class Procedure
{
public:
    explicit Procedure(QString name, ErrorVariant variant = ErrorVariant::Dialog);

    // Runs one step. Returns false when the procedure has been left (by this step or before):
    // the step then did not run, or failed and was not retried to success. A template, so that
    // a step costs a call and not a std::function: procedures run steps per row of a table.
    template <class Step> bool operator()(Step &&step)
    {
        if (mLeft)
            return false;
        for (;;) {
            // The failure is handled outside the handler: its dialog runs an event loop.
            std::optional<vb::RuntimeError> failure;
            try {
                const platform::ProcedureFrame::Step running(mFrame);
                step();
                return !mLeft; // the step itself may have left the procedure
            } catch (const vb::RuntimeError &e) {
                failure = e;
            } catch (const std::bad_alloc &) {
                failure = outOfMemory();
            }
            if (const std::optional<bool> result = afterFailure(*failure))
                return *result;
        }
    }

    // Runs a step that yields a value; `fallback` when it was skipped or failed.
    template <class T, class F> T value(T fallback, F &&step)
    {
        T result = fallback;
        (*this)([&] { result = step(); });
        return result;
    }

    // Runs the step of a pass over many rows that reads one row's values. A value that the
    // runtime cannot convert (13 type mismatch, 94 invalid use of Null, 6 overflow: an empty,
    // impossible or hand-edited entry) is that row's own fault and must not cost the other rows
    // their turn: it is logged under the procedure's name and the procedure goes on, the step
    // answering false so that the caller passes the row over. Any other error (the statement,
    // the file) goes through the procedure's variant as any step's does. Keep steps that do not
    // read the row (the move to the next row, a counter) out of it.
    bool rowStep(const std::function<void()> &step);

    // A handler of the procedure's own, asked first for every error (the 3024 case of the
    // database open, error 364 at the end of start-up, the bounded 3008 retries).
    void setHandler(std::function<ErrorAction(const vb::RuntimeError &)> handler);

    // Leaves the procedure without an error (the rest of the steps are skipped).
    void leave() { mLeft = true; }
    bool left() const { return mLeft; }
    bool ok() const { return !mLeft; }
    const QString &name() const { return mName; }

    // The log-and-continue variant writes through LogError, with the current time; a few
    // writers pass a zero time stamp instead.
    void setZeroTimeStamp(bool zero) { mZeroTimeStamp = zero; }

private:
    // What a failed step leads to: nothing when it is to run again, else the step's result.
    std::optional<bool> afterFailure(const vb::RuntimeError &e);
    static vb::RuntimeError outOfMemory();

    QString mName;
    ErrorVariant mVariant;
    bool mLeft = false;
    bool mZeroTimeStamp = false;
    std::function<ErrorAction(const vb::RuntimeError &)> mHandler;
    platform::ProcedureFrame mFrame;
};

} // namespace core
