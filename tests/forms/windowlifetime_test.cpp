#include "FormsFixture.h"

#include "platform/forms/ControlRef.h"
#include "platform/forms/Controls.h"
#include "platform/forms/Form.h"
#include "platform/forms/WindowLifetime.h"
#include "platform/vb/RuntimeError.h"

#include <QEventLoop>
#include <QPointer>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <optional>

using namespace platform;

namespace {

using kxformstest::flushDeletes;
using kxformstest::FormTest;

// Runs `work` inside a running event loop, as a box's own loop runs what happens behind it; the
// loop also runs the deferred deletions that are due in it.
void insideAnEventLoop(const std::function<void()> &work)
{
    QEventLoop loop;
    QTimer::singleShot(0, &loop, [&] {
        work();
        QTimer::singleShot(0, &loop, &QEventLoop::quit);
    });
    loop.exec();
}

// A window with a control inside a container, as the editor's fields lie in their frame.
struct Window
{
    Window()
    {
        form = new Form(QStringLiteral("frmEditor"));
        auto *frame = new QWidget(form);
        txtName = new TextBox(frame, QStringLiteral("txtName"));
        statBar1 = new StatusBar(form, QStringLiteral("statBar1"));
        form->Show();
    }
    QPointer<Form> form;
    ControlRef<TextBox> txtName;
    ControlRef<StatusBar> statBar1;
};

TEST_F(FormTest, AWindowUnloadedBehindABoxLivesUntilTheProcedureWaitingOnTheBoxHasEnded)
{
    Window w;
    {
        ProcedureFrame procedure;
        const ProcedureFrame::Step step(procedure);
        insideAnEventLoop([&] { w.form->close(); }); // the box, and the window closed behind it
        ASSERT_TRUE(w.form);
        EXPECT_TRUE(w.form->isUnloaded());
        EXPECT_FALSE(Forms().contains(w.form.data()));
        flushDeletes();
        EXPECT_TRUE(w.form) << "deleted while its procedure still runs";
    }
    flushDeletes();
    EXPECT_FALSE(w.form);
}

TEST_F(FormTest, AWindowUnloadedWhileAModalWindowRunsIsDeletedOnlyBackInTheOutermostLoop)
{
    // The program's own loop runs a menu command that opens a modal window without any
    // procedure; behind it the first window goes.
    Window w;
    bool aliveAfterTheModalWindow = false;
    QEventLoop program;
    QTimer::singleShot(0, &program, [&] {
        auto *about = new Form(QStringLiteral("frmAbout"));
        QTimer::singleShot(0, about, [&w, about] {
            w.form->close();
            QTimer::singleShot(0, about, [about] { about->Unload(); });
        });
        about->ShowModal();
        aliveAfterTheModalWindow = !w.form.isNull();
    });
    QObject::connect(w.form.data(), &QObject::destroyed, &program, &QEventLoop::quit);
    QTimer::singleShot(5000, &program, &QEventLoop::quit);
    program.exec();
    EXPECT_TRUE(aliveAfterTheModalWindow);
    EXPECT_FALSE(w.form) << "never deleted once the program's loop was idle";
}

TEST_F(FormTest, AStepReachingAControlOfAnUnloadedWindowRaises91WhereTheStepCanTakeIt)
{
    // Where the control is reached: `attempt` runs inside the procedures and steps that each
    // case sets up, as core::Procedure sets them up.
    using Attempt = std::function<void()>;
    struct Case
    {
        const char *name;
        bool unloaded;
        std::function<void(const Attempt &)> around;
        bool raises;
    };
    const auto inAStep = [](const Attempt &attempt) {
        ProcedureFrame procedure;
        const ProcedureFrame::Step step(procedure);
        attempt();
    };
    const Case cases[] = {
        {"a step", true, inAStep, true},
        {"a step, the window still loaded", false, inAStep, false},
        {"a procedure between its steps", true,
         [](const Attempt &attempt) {
             ProcedureFrame procedure;
             attempt();
         },
         false},
        {"a procedure between its steps, called from another's step", true,
         [](const Attempt &attempt) {
             ProcedureFrame outer;
             const ProcedureFrame::Step step(outer);
             ProcedureFrame inner;
             attempt();
         },
         false},
        {"a step, while a procedure made before it waits between its steps", true,
         [](const Attempt &attempt) {
             ProcedureFrame procedure;
             ProcedureFrame transaction;
             const ProcedureFrame::Step step(procedure);
             attempt();
         },
         true},
        {"a handler that a box's loop runs while the step waits", true,
         [](const Attempt &attempt) {
             ProcedureFrame procedure;
             const ProcedureFrame::Step step(procedure);
             insideAnEventLoop(attempt);
         },
         false},
    };
    using Reach = std::function<void(Window &)>;
    const std::pair<const char *, Reach> ways[] = {
        {"a member used as a pointer",
         [](Window &w) {
             QObject *bar = w.statBar1;
             (void)bar;
         }},
        {"a member's method", [](Window &w) { w.txtName->setText(QStringLiteral("x")); }},
        {"a control among the window's Controls()",
         [](Window &w) {
             for (Control *c : w.form->Controls())
                 reach(c);
         }},
    };
    for (const Case &c : cases) {
        for (const auto &[way, use] : ways) {
            SCOPED_TRACE(std::string(c.name) + ", " + way);
            Window w;
            if (c.unloaded)
                w.form->Unload();
            std::optional<int> raised;
            c.around([&] {
                try {
                    use(w);
                } catch (const vb::RuntimeError &e) {
                    raised = e.number();
                }
            });
            if (c.raises)
                EXPECT_EQ(raised, vb::err::ObjectVariableNotSet);
            else
                EXPECT_FALSE(raised.has_value());
            if (w.form && !w.form->isUnloaded())
                delete w.form.data();
            flushDeletes();
        }
    }
}

TEST_F(FormTest, AnUnsetControlMemberConvertsToNullAndRaises91WhenUsed)
{
    ControlRef<TextBox> unset;
    EXPECT_EQ(static_cast<TextBox *>(unset), nullptr);
    EXPECT_FALSE(unset);
    try {
        unset->setText(QStringLiteral("x"));
        ADD_FAILURE() << "no error";
    } catch (const vb::RuntimeError &e) {
        EXPECT_EQ(e.number(), vb::err::ObjectVariableNotSet);
    }
}

TEST_F(FormTest, AnUnloadedWindowsTimersFireNoMoreEvenWhenStartedAgain)
{
    Window w;
    auto *timer = new QTimer(w.form);
    timer->setInterval(0);
    QSignalSpy ticks(timer, &QTimer::timeout);
    timer->start();
    ASSERT_TRUE(ticks.wait(1000));

    ProcedureFrame procedure; // keeps the unloaded window alive, as a waiting procedure does
    w.form->Unload();
    EXPECT_FALSE(timer->isActive());
    ticks.clear();
    timer->start();
    QTest::qWait(50);
    EXPECT_EQ(ticks.count(), 0);
    EXPECT_FALSE(timer->isActive());
}

} // namespace
