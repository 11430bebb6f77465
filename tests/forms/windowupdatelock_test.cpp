#include "platform/forms/WindowUpdateLock.h"

#include <QApplication>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>

using namespace platform;

namespace {

TEST(WindowUpdateLockTest, OneWindowAtATimeAndReleaseRestoresPainting)
{
    QWidget first;
    QWidget second;
    ASSERT_TRUE(LockWindowUpdate(&first));
    EXPECT_FALSE(first.updatesEnabled());
    EXPECT_FALSE(LockWindowUpdate(&second)) << "only one window holds the lock";
    EXPECT_TRUE(second.updatesEnabled());
    EXPECT_FALSE(LockWindowUpdate(&first)) << "not even the same one twice";
    EXPECT_EQ(lockedWindow(), &first);
    EXPECT_TRUE(LockWindowUpdate(nullptr));
    EXPECT_TRUE(first.updatesEnabled());
    EXPECT_EQ(lockedWindow(), nullptr);
    EXPECT_TRUE(LockWindowUpdate(nullptr)) << "releasing nothing";

    // A window that had painting off of its own keeps it off.
    second.setUpdatesEnabled(false);
    ASSERT_TRUE(LockWindowUpdate(&second));
    LockWindowUpdate(nullptr);
    EXPECT_FALSE(second.updatesEnabled());
}

TEST(WindowUpdateLockTest, TheGuardReleasesOnEveryWayOutAndOnlyWhatItTook)
{
    QWidget window;
    try {
        WindowUpdateLock guard;
        ASSERT_TRUE(guard.lock(&window));
        throw std::runtime_error("a failing step");
    } catch (const std::runtime_error &) {
    }
    EXPECT_TRUE(window.updatesEnabled());
    EXPECT_EQ(lockedWindow(), nullptr);

    QWidget other;
    ASSERT_TRUE(LockWindowUpdate(&other));
    {
        WindowUpdateLock guard;
        EXPECT_FALSE(guard.lock(&window));
    }
    EXPECT_EQ(lockedWindow(), &other) << "a guard that got nothing gives nothing back";
    LockWindowUpdate(nullptr);
}

// Counts the paint events a widget receives.
struct PaintCount : QObject
{
    int paints = 0;
    bool eventFilter(QObject *, QEvent *event) override
    {
        paints += event->type() == QEvent::Paint;
        return false;
    }
};

// Nothing of the window paints while it is locked; the release paints what asked to be painted
// meanwhile, and leaves the rest of the window as it was.
TEST(WindowUpdateLockTest, ReleasePaintsWhatChangedWhileLocked)
{
    QWidget window;
    window.resize(300, 200);
    auto *changed = new QWidget(&window);
    changed->setGeometry(0, 0, 150, 200);
    auto *untouched = new QWidget(&window);
    untouched->setGeometry(150, 0, 150, 200);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QApplication::processEvents();
    PaintCount changedPaints;
    PaintCount untouchedPaints;
    changed->installEventFilter(&changedPaints);
    untouched->installEventFilter(&untouchedPaints);

    ASSERT_TRUE(LockWindowUpdate(&window));
    changed->update();
    changed->repaint();
    QApplication::processEvents();
    EXPECT_EQ(changedPaints.paints, 0);
    LockWindowUpdate(nullptr);
    QApplication::processEvents();
    EXPECT_EQ(changedPaints.paints, 1);
    EXPECT_EQ(untouchedPaints.paints, 0);
}

TEST(WindowUpdateLockTest, AWindowThatGoesAwayTakesItsLockWithIt)
{
    auto window = std::make_unique<QWidget>();
    ASSERT_TRUE(LockWindowUpdate(window.get()));
    window.reset();
    EXPECT_EQ(lockedWindow(), nullptr);
    QWidget next;
    EXPECT_TRUE(LockWindowUpdate(&next));
    LockWindowUpdate(nullptr);
}

} // namespace
