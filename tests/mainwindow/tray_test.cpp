// The main window in the tray: the icon's record as passed, the icon's mouse messages as the hook
// reports them, the tray menu, and a desktop without a notification area.

#include "MainWindowFixture.h"

#include "platform/forms/Menu.h"
#include "platform/forms/Msghook.h"
#include "platform/services/WindowHandles.h"
#include "platform/services/WindowMessages.h"

using kxmaintest::MainWindowTest;

namespace {

namespace wm = platform::wm;

class TrayTest : public MainWindowTest
{
protected:
    void placed()
    {
        load();
        ASSERT_TRUE(frm->SysTrayPlace());
        ASSERT_TRUE(platform.tray.anyIcon());
    }

    // The icon's mouse message, as the desktop sends it back to the window.
    void mouse(std::int32_t lParam, std::int32_t wParam = frmDazez::kTrayIconId)
    {
        platform::PostMessage(frm->hWnd(), frmDazez::kTrayMessage, wParam, lParam);
        QCoreApplication::processEvents();
    }

    int logLines(const QString &text) const { return debugLog().count(text); }
};

TEST_F(TrayTest, PlacingPassesTheRecordOfFortySixBytesAndHidesTheWindow)
{
    placed();
    EXPECT_FALSE(frm->isVisible());
    EXPECT_EQ(frm->Msghook->hWnd(), frm->hWnd());
    EXPECT_TRUE(frm->Msghook->messageSelected(0x4000));

    ASSERT_EQ(platform.tray.calls.size(), 1u);
    EXPECT_EQ(platform.tray.calls[0].message, platform::NIM_ADD);
    const QByteArray &bytes = platform.tray.calls[0].record;
    ASSERT_EQ(bytes.size(), 46);
    EXPECT_EQ(bytes.constData()[46], '\0') << "a zero byte follows the tip";
    const auto record = platform::NOTIFYICONDATA::fromBytes(bytes);
    ASSERT_TRUE(record);
    EXPECT_EQ(record->cbSize, 46);
    EXPECT_EQ(record->hWnd, frm->hWnd());
    EXPECT_EQ(record->uID, 61860);
    EXPECT_EQ(record->uFlags, 7);
    EXPECT_EQ(record->uCallbackMessage, 0x4000);
    EXPECT_EQ(record->hIcon, platform::iconHandle(frm->Icon()));
    EXPECT_NE(record->hIcon, 0);
    EXPECT_EQ(bytes.mid(24), QByteArray("Almanoria             ", 22));
}

TEST_F(TrayTest, TheIconsMouseMessagesActAsTheirButtonsAndTheWindowsStateSay)
{
    const struct
    {
        const char *name;
        std::int32_t lParam;
        bool windowShown; // before the message
        bool menu;        // the tray menu opens
        bool restored;    // the icon goes and the window shows
    } cases[] = {
        {"right button up, hidden", wm::RBUTTONUP, false, true, false},
        {"right button up, shown", wm::RBUTTONUP, true, true, false},
        {"middle button down, hidden", wm::MBUTTONDOWN, false, true, false},
        {"middle button down, shown", wm::MBUTTONDOWN, true, false, false},
        {"left click", wm::LBUTTONDOWN, false, false, false},
        {"left button up", wm::LBUTTONUP, false, false, false},
        {"mouse move", wm::MOUSEMOVE, false, false, false},
        {"right button down", wm::RBUTTONDOWN, false, false, false},
        {"double-click", wm::LBUTTONDBLCLK, false, false, true},
    };
    placed();
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        if (!platform.tray.anyIcon())
            frm->SysTrayPlace();
        frm->setVisible(c.windowShown);
        const std::size_t menusBefore = platform.popupMenus.calls().size();
        if (c.menu)
            platform.popupMenus.expectDismiss(QStringLiteral("mnuSysTray"));
        mouse(c.lParam);
        EXPECT_EQ(platform.popupMenus.calls().size() - menusBefore, c.menu ? 1u : 0u);
        EXPECT_EQ(platform.tray.anyIcon(), !c.restored);
        EXPECT_EQ(frm->isVisible(), c.windowShown || c.restored);
    }
    EXPECT_EQ(platform.popupMenus.calls().back().captions,
              (QStringList{"Open Almanoria", "-", "Show Events", "-", "Quit"}));
    EXPECT_EQ(logLines(QStringLiteral("Message unknown!")), 0);
}

TEST_F(TrayTest, AnotherIconsMessageDoesNothingAndANonMouseMessageIsLoggedOnce)
{
    placed();
    const QString logBefore = debugLog();
    mouse(wm::LBUTTONDBLCLK, 12345);
    mouse(0x400, 12345);
    EXPECT_FALSE(frm->isVisible());
    EXPECT_TRUE(platform.tray.anyIcon());
    EXPECT_EQ(debugLog(), logBefore);

    mouse(0x400);
    EXPECT_EQ(logLines(QStringLiteral("Message unknown!msg: 16384    wp: 61860    lp: 1024")), 1);
    EXPECT_FALSE(frm->isVisible());
}

TEST_F(TrayTest, TheTrayMenuOpensTheWindowShowsTheEventsAndQuitsWithoutAsking)
{
    addEntry(QStringLiteral("Ann"), QStringLiteral("1980-12-12"));
    placed();

    frm->menu(QStringLiteral("mnuSysTrayShowEvents"))->click();
    EXPECT_EQ(kxmaintest::openNotices().size(), 1u);
    EXPECT_FALSE(frm->isVisible());

    frm->menu(QStringLiteral("mnuSysTrayOpn"))->click();
    EXPECT_TRUE(frm->isVisible());
    EXPECT_FALSE(platform.tray.anyIcon());

    frm->SysTrayPlace();
    const int writes = settingsWrites();
    EXPECT_THROW(frm->menu(QStringLiteral("mnuSysTrayEnd"))->click(), platform::ProgramEnded);
    EXPECT_FALSE(platform.tray.anyIcon());
    EXPECT_EQ(platform.tray.calls.back().message, platform::NIM_DELETE);
    EXPECT_TRUE(platform.messageBox.calls().empty());
    EXPECT_EQ(settingsWrites(), writes);
    platform.program.endedWith.reset();
}

TEST_F(TrayTest, WithoutANotificationAreaTheWindowIsMinimisedNotHidden)
{
    platform.tray.available = false;
    load();
    EXPECT_TRUE(frm->SysTrayPlace());
    EXPECT_FALSE(platform.tray.anyIcon());
    EXPECT_TRUE(frm->isVisible());
    EXPECT_TRUE(frm->isMinimized());
    EXPECT_TRUE(frm->SysTrayRemove());
    EXPECT_TRUE(frm->isVisible());
    EXPECT_FALSE(frm->isMinimized());
}

} // namespace
