// The real program in the system tray on a virtual X display, driven as a user drives it, by
// keys and clicks (xdotool): with a notification area (trayer) F6 hides the window behind an
// icon, a double-click on the icon brings it back, and the icon's menu ends the program; without
// one F6 leaves the window where the user can reach it. Skipped where Xvfb, trayer or xdotool is
// missing.

#include "core/Globals.h"
#include "platform/jet/Jet.h"
#include "support/VirtualDisplay.h"

#include <QFile>
#include <QSet>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <vector>

namespace {

const QString kMainWindow = QStringLiteral("^Almanoria - Quarnwell$");

class TrayE2ETest : public kxtest::VirtualDisplayTest
{
protected:
    void SetUp() override
    {
        VirtualDisplayTest::SetUp();
        if (IsSkipped() || HasFatalFailure() || !need(QStringLiteral("xdotool"), &mXdotool))
            return;
        ASSERT_TRUE(folder.isValid());
        ASSERT_TRUE(runtime.isValid());
        ASSERT_TRUE(QFile::copy(QStringLiteral(KX_PROGRAM_DIR "/Kalendrix"),
                                folder.filePath(QStringLiteral("Kalendrix"))));
        ASSERT_TRUE(QFile::copy(QStringLiteral(KX_DELIVERED_DB), database()));
        QFile::setPermissions(database(), QFile::ReadOwner | QFile::WriteOwner);
        // A lock of this test's own, so that tests running at the same time do not meet.
        mEnv.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
    }

    QString database() const { return folder.filePath(QStringLiteral("vovuriv.mdb")); }

    // Every value of the Settings table, row after row.
    std::vector<vb::Variant> settings() const
    {
        auto ws = jet::DBEngine::instance().CreateWorkspace({}, QStringLiteral("Admin"), {});
        auto db = ws->OpenDatabase(database(), false, true, core::kConnectText);
        std::vector<vb::Variant> values;
        {
            auto rs =
                db->OpenRecordset(QStringLiteral("SELECT * FROM Settings"), jet::dbOpenSnapshot);
            for (; !rs->eof(); rs->MoveNext())
                for (const QString &name : rs->FieldNames())
                    values.push_back(rs->Field(name));
        }
        db->Close();
        return values;
    }

    // Starts the program and answers what it asks before its window shows (with the delivered
    // database, that no event is coming up); returns the main window, "" when it did not show.
    QString startProgram()
    {
        mProgram = start(folder.filePath(QStringLiteral("Kalendrix")), {}, folder.path());
        QString window;
        waitUntil([&] {
            const QStringList main = windows(kMainWindow, true);
            if (!main.isEmpty()) {
                window = main.first();
                return true;
            }
            for (const QString &box : windows(QStringLiteral("^Almanoria$"), true))
                xdotool({"windowfocus", "--sync", box, "key", "Return"});
            return mProgram->state() != QProcess::Running;
        });
        return window;
    }

    void xdotool(const QStringList &arguments) { output(mXdotool, arguments); }

    // Gives the window the keyboard (no window manager does it here) and types the keys.
    void type(const QString &window, const QStringList &keys)
    {
        xdotool(QStringList{"windowfocus", "--sync", window, "key"} + keys);
    }

    bool mainWindowVisible() { return !windows(kMainWindow, true).isEmpty(); }

    // The program's windows on the screen: its main window, boxes, menus and its tray icon.
    QSet<QString> programWindows()
    {
        const QStringList found =
            output(mXdotool, {"search", "--onlyvisible", "--class", "Kalendrix"})
                .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        return {found.begin(), found.end()};
    }

    QTemporaryDir folder;
    QTemporaryDir runtime;
    QProcess *mProgram = nullptr;
};

TEST_F(TrayE2ETest, F6HidesTheWindowInTheTrayTheIconBringsItBackAndItsMenuQuits)
{
    if (!startNotificationArea())
        return;
    QStringList panel;
    ASSERT_TRUE(waitUntil([&] {
        return !(panel = windows(QStringLiteral("^panel$"), false)).isEmpty();
    })) << "the notification area did not come up";
    const int emptyWidth = geometry(panel.first(), "WIDTH");
    const std::vector<vb::Variant> before = settings();

    const QString window = startProgram();
    ASSERT_FALSE(window.isEmpty()) << "the main window did not show";

    // The icon: the notification area, as wide as what it holds, grows by it.
    auto iconPlaced = [&] { return geometry(panel.first(), "WIDTH") > emptyWidth; };
    auto clickIcon = [&](const QStringList &click) {
        const QString x =
            QString::number(geometry(panel.first(), "X") + geometry(panel.first(), "WIDTH") / 2);
        const QString y =
            QString::number(geometry(panel.first(), "Y") + geometry(panel.first(), "HEIGHT") / 2);
        xdotool(QStringList{"mousemove", x, y, "click"} + click);
    };

    type(window, {"F6"});
    ASSERT_TRUE(waitUntil([&] { return !mainWindowVisible() && iconPlaced(); }))
        << (mainWindowVisible() ? "the window is still shown" : "no icon in the tray");

    clickIcon({"--repeat", "2", "--delay", "80", "1"});
    ASSERT_TRUE(waitUntil([&] { return mainWindowVisible() && !iconPlaced(); }))
        << (mainWindowVisible() ? "the icon stayed in the tray" : "the window did not come back");

    type(window, {"F6"});
    ASSERT_TRUE(waitUntil([&] { return !mainWindowVisible() && iconPlaced(); }))
        << "the second F6 did not hide the window behind the icon";
    const QSet<QString> beforeMenu = programWindows();
    clickIcon({"3"});
    QSet<QString> menu;
    ASSERT_TRUE(waitUntil([&] { return !(menu = programWindows() - beforeMenu).isEmpty(); }))
        << "no menu opened on the icon";
    EXPECT_EQ(menu.size(), 1);

    // From nothing chosen, Up chooses the last item: Quit.
    xdotool({"key", "Up", "Return"});
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
