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

// The running procedures and their running steps, innermost last, each a procedure (loop level
// -1) or a step with the event loop level it started in. Everything runs on the one
// user-interface thread.
struct Running
{
    const void *owner;
    int stepLoopLevel;
};

std::vector<Running> &running()
{
    static std::vector<Running> stack;
    return stack;
}

int &procedureCount()
{
    static int count = 0;
    return count;
}

void push(const void *owner, int stepLoopLevel)
{
    running().push_back({owner, stepLoopLevel});
}

void pop(const void *owner)
{
    std::vector<Running> &stack = running();
    const auto it = std::find_if(stack.rbegin(), stack.rend(),
                                 [owner](const Running &r) { return r.owner == owner; });
    if (it != stack.rend())
        stack.erase(std::next(it).base());
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
        if (!heldForms().isEmpty() && !procedureRunning() && atOutermostLoop())
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
    ++procedureCount();
    push(this, -1);
}

ProcedureFrame::~ProcedureFrame()
{
    pop(this);
    --procedureCount();
    if (!procedureRunning() && !heldForms().isEmpty() && atOutermostLoop())
        offerHeldForms();
}

ProcedureFrame::Step::Step(ProcedureFrame &)
{
    push(this, loopLevel());
}

ProcedureFrame::Step::~Step()
{
    pop(this);
}

bool procedureRunning()
{
    return procedureCount() > 0;
}

bool stepMayRaise()
{
    return !running().empty() && running().back().stepLoopLevel == loopLevel();
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
    if (!procedureRunning() && atOutermostLoop())
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
