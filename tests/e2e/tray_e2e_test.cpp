// The real program in the system tray on a virtual X display, driven as a user drives it, by
// keys and clicks (xdotool): with a notification area (trayer) F6 hides the window behind an
// icon, a double-click on the icon brings it back, and the icon's menu ends the program; without
// one F6 leaves the window where the user can reach it. Skipped where Xvfb, trayer or xdotool is
// missing.

#include "ProgramOnDisplay.h"

#include <QSet>

#include <gtest/gtest.h>

#include <vector>

namespace {

using kxe2e::kMainWindow;
using TrayE2ETest = kxe2e::ProgramOnDisplayTest;

TEST_F(TrayE2ETest, F6HidesTheWindowInTheTrayTheIconBringsItBackAndItsMenuQuits)
{
    if (!startTray())
        return;
    const std::vector<vb::Variant> before = settings();

    const QString window = startProgram();
    ASSERT_FALSE(window.isEmpty()) << "the main window did not show";

    type(window, {"F6"});
    ASSERT_TRUE(waitUntil([&] { return !mainWindowVisible() && iconPlaced(); }))
        << (mainWindowVisible() ? "the window is still shown" : "no icon in the tray");

    clickIcon({"--repeat", "2", "--delay", "80", "1"});
    ASSERT_TRUE(waitUntil([&] { return mainWindowVisible() && !iconPlaced(); }))
        << (mainWindowVisible() ? "the icon stayed in the tray" : "the window did not come back");

    type(window, {"F6"});
    ASSERT_TRUE(waitUntil([&] { return !mainWindowVisible() && iconPlaced(); }))
        << "the second F6 did not hide the window behind the icon";
    const QSet<QString> menu = openTrayMenu();
    ASSERT_FALSE(menu.isEmpty()) << "no menu opened on the icon";
    EXPECT_EQ(menu.size(), 1);

    // From nothing chosen, Up chooses the last item: Quit.
    ASSERT_TRUE(chooseInMenu(menu, {"Up", "Return"})) << "the menu did not take its keys";
    ASSERT_TRUE(mProgram->waitForFinished(kxtest::kDisplayWaitMs)) << "Quit did not end it";
    EXPECT_EQ(mProgram->exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(mProgram->exitCode(), 0);
    EXPECT_EQ(settings(), before);
}

TEST_F(TrayE2ETest, WithoutANotificationAreaF6LeavesTheWindowWithinReach)
{
    const QString window = startProgram();
    ASSERT_FALSE(window.isEmpty()) << "the main window did not show";
    const QSet<QString> beforeMenu = programWindows();

    // Keys are handled in their order: once the Option menu that Alt+O opens shows, F6 has been
    // handled. With no window manager to act on it, minimising leaves the window mapped.
    type(window, {"F6", "alt+o"});
    ASSERT_TRUE(waitUntil([&] { return !(programWindows() - beforeMenu).isEmpty(); }))
        << (mainWindowVisible() ? "the Option menu did not open" : "F6 hid the window");
    xdotool({"key", "Escape"});
    EXPECT_TRUE(waitUntil([&] { return programWindows() == beforeMenu; }))
        << "a window of the program is open besides the main window";
    EXPECT_EQ(windows(kMainWindow, false), QStringList{window});
    EXPECT_TRUE(mainWindowVisible());
    EXPECT_EQ(mProgram->state(), QProcess::Running);

    // Shown again without the program's help, as a task bar would.
    xdotool({"windowmap", "--sync", window});
    EXPECT_TRUE(mainWindowVisible());
}

} // namespace
