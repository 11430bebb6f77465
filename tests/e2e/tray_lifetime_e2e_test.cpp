// The real program left in the tray lives until its user ends it. With the main window hidden,
// the windows that come and go are often the only ones on the screen: a box answered, a notice
// closed by its close box, the exit question answered No after the system closed the hidden
// window. After each the program still runs, its icon is still there and the next notice comes.
// While the editor is open, the main window's close box asks nothing. Close boxes are pressed as
// a window manager presses them, by the window protocols' close request. Skipped where Xvfb,
// trayer or xdotool is missing.

#include "ProgramOnDisplay.h"

#include "platform/vb/Conversions.h"

#include <QTime>

#include <gtest/gtest.h>

#include <vector>

namespace {

using kxe2e::kMainWindow;

const QString kBox = QStringLiteral("^Almanoria$");
const QString kEditor = QStringLiteral("^Editor$");
const QString kNotice = QStringLiteral("Notice$");
// Long enough for a program that is ending to have ended.
constexpr int kStillRunningMs = 1500;

// The tray menu's items: nothing is chosen when it opens; Down goes to "Open Almanoria", the next
// Down past the separator to "Show Events".
const QStringList kShowEvents = {"Down", "Down", "Return"};
const QStringList kQuit = {"Up", "Return"};

class TrayLifetimeE2ETest : public kxe2e::ProgramOnDisplayTest
{
protected:
    void SetUp() override
    {
        ProgramOnDisplayTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        if (!canRequestClose())
            GTEST_SKIP() << "built without the X protocol library (libxcb)";
        // The delivered settings (coming events shown at the start, the notice timer on, the
        // sound on), with a default time of day twelve hours away, so that the notice timer
        // shows nothing of its own while the test runs.
        const QString defaultTime = QTime::currentTime().addSecs(12 * 3600).toString("HH:mm:00");
        execute({QStringLiteral("UPDATE Settings SET Settings_DefaultDisplayTime = "
                                "'1899-12-30 %1'")
                     .arg(defaultTime)});
    }

    // The program runs on, a while after the last step.
    ::testing::AssertionResult stillRunning()
    {
        if (mProgram->waitForFinished(kStillRunningMs) || mProgram->state() != QProcess::Running)
            return ::testing::AssertionFailure()
                   << "the program ended (exit code " << mProgram->exitCode() << ")";
        return ::testing::AssertionSuccess();
    }

    // The first visible window matching `name`, once one shows; "" when none showed.
    QString waitForWindow(const QString &name)
    {
        QStringList found;
        waitUntil([&] { return !(found = shown(name)).isEmpty(); });
        return found.isEmpty() ? QString() : found.first();
    }

    bool waitUntilGone(const QString &name)
    {
        return waitUntil([&] { return shown(name).isEmpty(); });
    }

    int entries() { return vb::CInt(value(QStringLiteral("SELECT COUNT(*) FROM Dazez"))); }
};

TEST_F(TrayLifetimeE2ETest, BoxesNoticesAndTheExitQuestionFromTheTrayLeaveTheProgramRunning)
{
    if (!startTray())
        return;
    const QString window = startProgram();
    ASSERT_FALSE(window.isEmpty()) << "the main window did not show";
    const std::vector<vb::Variant> settingsBefore = settings();

    type(window, {"F6"});
    ASSERT_TRUE(waitUntil([&] { return !mainWindowVisible() && iconPlaced(); }))
        << "F6 did not hide the window behind the icon";

    // Nothing is coming up: "Show Events" answers with the box "There are no upcoming events.".
    ASSERT_TRUE(trayMenu(kShowEvents)) << "no menu opened on the icon";
    const QString noEvents = waitForWindow(kBox);
    ASSERT_FALSE(noEvents.isEmpty()) << "no box after Show Events";
    type(noEvents, {"Return"});
    ASSERT_TRUE(waitUntilGone(kBox));
    ASSERT_TRUE(stillRunning()) << "after the box was answered OK";
    EXPECT_TRUE(iconPlaced());
    EXPECT_FALSE(mainWindowVisible());

    // An entry for today, through the editor: with the default alert days it is coming up.
    clickIcon({"--repeat", "2", "--delay", "80", "1"});
    ASSERT_TRUE(waitUntil([&] { return mainWindowVisible() && !iconPlaced(); }))
        << "the icon did not bring the window back";
    type(window, {"alt+f", "n"});
    const QString editor = waitForWindow(kEditor);
    ASSERT_FALSE(editor.isEmpty()) << "File > New opened no editor";
    xdotool({"windowfocus", "--sync", editor, "type", "Ann"});
    type(editor, {"alt+f", "s"});
    ASSERT_TRUE(waitUntil([&] { return entries() == 1; })) << "the entry was not saved";

    // The main window waits, disabled, for the editor: its close box asks nothing.
    ASSERT_TRUE(requestClose(window));
    ASSERT_TRUE(stillRunning()) << "after the main window's close box, editor open";
    EXPECT_TRUE(shown(kBox).isEmpty()) << "the close box of the waiting main window asked";
    EXPECT_EQ(shown(kEditor), QStringList{editor});
    ASSERT_TRUE(requestClose(editor));
    ASSERT_TRUE(waitUntilGone(kEditor)) << "the editor's close box did not close it";

    type(window, {"F6"});
    ASSERT_TRUE(waitUntil([&] { return !mainWindowVisible() && iconPlaced(); }))
        << "F6 did not hide the window again";

    // The notice comes, and its close box closes it.
    ASSERT_TRUE(trayMenu(kShowEvents)) << "no menu opened on the icon";
    const QString notice = waitForWindow(kNotice);
    ASSERT_FALSE(notice.isEmpty()) << "no notice after Show Events";
    ASSERT_TRUE(requestClose(notice));
    ASSERT_TRUE(waitUntilGone(kNotice)) << "the notice's close box did not close it";
    ASSERT_TRUE(stillRunning()) << "after the notice was closed";
    EXPECT_TRUE(iconPlaced());

    // The system closes the hidden main window; No keeps everything as it was.
    ASSERT_TRUE(requestClose(window));
    const QString question = waitForWindow(kBox);
    ASSERT_FALSE(question.isEmpty()) << "closing the hidden main window asked nothing";
    type(question, {"n"});
    ASSERT_TRUE(waitUntilGone(kBox));
    ASSERT_TRUE(stillRunning()) << "after the exit question was answered No";
    EXPECT_TRUE(iconPlaced());
    EXPECT_FALSE(mainWindowVisible());
    EXPECT_EQ(windows(kMainWindow, false), QStringList{window});

    // And the next notice still comes. Closed before the icon's menu opens again: a notice
    // takes the focus when it has come, which would close a menu opened meanwhile.
    ASSERT_TRUE(trayMenu(kShowEvents)) << "no menu opened on the icon";
    const QString next = waitForWindow(kNotice);
    ASSERT_FALSE(next.isEmpty()) << "no notice after the exit question";
    ASSERT_TRUE(requestClose(next));
    ASSERT_TRUE(waitUntilGone(kNotice));

    ASSERT_TRUE(trayMenu(kQuit)) << "no menu opened on the icon";
    ASSERT_TRUE(mProgram->waitForFinished(kxtest::kDisplayWaitMs)) << "Quit did not end it";
    EXPECT_EQ(mProgram->exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(mProgram->exitCode(), 0);
    // No saved nothing, and Quit saves nothing either.
    EXPECT_EQ(settings(), settingsBefore);
}

} // namespace
