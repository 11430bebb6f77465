#include "WindowLifetime.h"

#include "Form.h"

#include "platform/vb/RuntimeError.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QEvent>
#include <QList>
#include <QPointer>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <utility>
#include <vector>

namespace platform {

namespace {

// The running procedures, innermost last. Everything runs on the one user-interface thread.
std::vector<ProcedureFrame *> &frames()
{
    static std::vector<ProcedureFrame *> running;
    return running;
}

int loopLevel()
{
    return QThread::currentThread()->loopLevel();
}

// The program's own event loop (QApplication::exec) is level 1; a test without one runs at 0.
bool atOutermostLoop()
{
    return loopLevel() <= 1;
}

QList<QPointer<Form>> &heldForms()
{
    static QList<QPointer<Form>> held;
    return held;
}

// Asks again for the deletion of every held window; Form::event takes it when it may run.
void offerHeldForms()
{
    const QList<QPointer<Form>> held = std::exchange(heldForms(), {});
    for (const QPointer<Form> &form : held)
        if (form)
            QCoreApplication::postEvent(form, new QDeferredDeleteEvent);
}

// A window held while a loop without a procedure ran (a pop-up menu's, a modal window's opened
// from a menu) is offered again once the outermost loop has nothing left to do.
void offerWhenIdle()
{
    static QPointer<QAbstractEventDispatcher> watched;
    QAbstractEventDispatcher *dispatcher = QAbstractEventDispatcher::instance();
    if (!dispatcher || watched == dispatcher)
        return;
    watched = dispatcher;
    QObject::connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, dispatcher, [] {
        if (!heldForms().isEmpty() && frames().empty() && atOutermostLoop())
            offerHeldForms();
    });
}

class TimerSilencer : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::Timer)
            return false;
        if (auto *timer = qobject_cast<QTimer *>(watched))
            timer->stop();
        return true;
    }
};

} // namespace

ProcedureFrame::ProcedureFrame()
{
    frames().push_back(this);
}

ProcedureFrame::~ProcedureFrame()
{
    std::vector<ProcedureFrame *> &running = frames();
    const auto it = std::find(running.rbegin(), running.rend(), this);
    if (it != running.rend())
        running.erase(std::next(it).base());
    if (running.empty() && !heldForms().isEmpty() && atOutermostLoop())
        offerHeldForms();
}

ProcedureFrame::Step::Step(ProcedureFrame &frame)
    : mFrame(frame), mOuterLoopLevel(frame.mStepLoopLevel)
{
    mFrame.mStepLoopLevel = loopLevel();
}

ProcedureFrame::Step::~Step()
{
    mFrame.mStepLoopLevel = mOuterLoopLevel;
}

bool procedureRunning()
{
    return !frames().empty();
}

bool stepMayRaise()
{
    return !frames().empty() && frames().back()->mStepLoopLevel == loopLevel();
}

Form *windowOf(const QObject *object)
{
    for (const QObject *o = object; o; o = o->parent())
        if (auto *form = qobject_cast<Form *>(const_cast<QObject *>(o)))
            return form;
    return nullptr;
}

void raiseIfWindowGone(const QObject *object)
{
    const Form *window = windowOf(object);
    if (window && window->isUnloaded() && stepMayRaise())
        vb::raise(vb::err::ObjectVariableNotSet);
}

bool mayDeleteNow(Form *form)
{
    if (frames().empty() && atOutermostLoop())
        return true;
    if (!heldForms().contains(form))
        heldForms().append(form);
    offerWhenIdle();
    return false;
}

void silence(Form &form)
{
    form.setEnabled(false);
    static QPointer<TimerSilencer> silencer;
    if (!silencer)
        silencer = new TimerSilencer(QCoreApplication::instance());
    for (QTimer *timer : form.findChildren<QTimer *>()) {
        timer->stop();
        timer->installEventFilter(silencer);
    }
}

} // namespace platform
