#include "FormsFixture.h"

#include "platform/forms/WindowTimer.h"

#include <QEventLoop>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <functional>

using kxformstest::FormTest;

namespace {

// A window whose load runs a piece of the test (a box held open, for instance).
class LoadingForm : public platform::Form
{
public:
    explicit LoadingForm(std::function<void()> load)
        : platform::Form(QStringLiteral("frmLoading")), mLoad(std::move(load))
    {
    }

protected:
    void Form_Load() override { mLoad(); }

private:
    std::function<void()> mLoad;
};

// The event loop for `ms`, as a modal box runs it while it waits for its answer.
void holdBoxOpen(int ms)
{
    QEventLoop box;
    QTimer::singleShot(ms, &box, &QEventLoop::quit);
    box.exec();
}

class WindowTimerTest : public FormTest
{
protected:
    int ticks = 0;
    int deepest = 0;
    int depth = 0;

    void tick(int holdMs)
    {
        ++ticks;
        ++depth;
        deepest = std::max(deepest, depth);
        if (holdMs > 0)
            holdBoxOpen(holdMs);
        --depth;
    }
};

TEST_F(WindowTimerTest, NoTickBeforeTheLoadHasFinished)
{
    auto *window = new LoadingForm([] { holdBoxOpen(100); });
    QTimer timer(window);
    timer.setInterval(2);
    platform::connectTimer(&timer, window, [this] { tick(0); });
    timer.start();
    QTest::qWait(50);
    EXPECT_EQ(ticks, 0) << "a window not yet loaded";
    window->Load();
    EXPECT_EQ(ticks, 0) << "behind a box of the load";
    QTest::qWait(50);
    EXPECT_GT(ticks, 0) << "once loaded, it ticks";
}

TEST_F(WindowTimerTest, ATickIsNotStartedInsideTheSameTimersEarlierTickButAnotherTimersIs)
{
    auto *window = new LoadingForm([] {});
    window->Load();
    QTimer boxing(window);
    QTimer other(window);
    int otherTicks = 0;
    boxing.setInterval(2);
    other.setInterval(2);
    platform::connectTimer(&boxing, window, [this] { tick(40); });
    platform::connectTimer(&other, window, [&] { ++otherTicks; });
    boxing.start();
    other.start();
    QTest::qWait(200);
    EXPECT_GE(ticks, 2) << "it ticks again after each box";
    EXPECT_EQ(deepest, 1) << "never inside its own box";
    EXPECT_GT(otherTicks, ticks) << "another timer runs on behind the box";
}

} // namespace
