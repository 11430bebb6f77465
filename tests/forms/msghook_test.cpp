#include "platform/forms/Form.h"
#include "platform/forms/Msghook.h"
#include "platform/services/NotifyIcon.h"
#include "platform/services/WindowMessages.h"
#include "support/ScriptedPlatform.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

using namespace platform;

namespace {

struct Seen
{
    std::int32_t msg, wParam, lParam;
    bool operator==(const Seen &) const = default;
};

// A window with a hook that records what it reports, hooked the way the main window hooks its
// tray icon: the window's handle, then message 0x4000.
class MsghookTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        hook = new Msghook(&form, QStringLiteral("Msghook"));
        QObject::connect(
            hook, &Msghook::Message, &form,
            [this](std::int32_t msg, std::int32_t wp, std::int32_t lp, std::int32_t &result) {
                EXPECT_EQ(result, 0);
                seen.push_back({msg, wp, lp});
            });
        hook->setHWnd(form.hWnd());
        hook->setMessage(0x4000, true);
    }

    void deliver() { QCoreApplication::sendPostedEvents(); }

    kxtest::ScriptedPlatform platform;
    Form form{QStringLiteral("frmDazez")};
    Msghook *hook = nullptr;
    std::vector<Seen> seen;
};

} // namespace

TEST_F(MsghookTest, TheTrayIconsMouseMessagesReachTheHookAsTheyWereSent)
{
    EXPECT_EQ(hook->hWnd(), form.hWnd());
    NOTIFYICONDATA record;
    record.cbSize = NOTIFYICONDATA::PassedSize;
    record.hWnd = hook->hWnd();
    record.uID = 61860;
    record.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    record.uCallbackMessage = 0x4000;
    record.szTip = QStringLiteral("Almanoria");
    ASSERT_TRUE(services().tray->Shell_NotifyIconA(NIM_ADD, record.toBytes()));

    // Reported whether the window is shown or hidden (an icon in the tray hides it).
    form.hide();
    for (std::int32_t mouse : {0x203, 0x205, 0x207, 0x400})
        platform.tray.fireMouse(mouse);
    EXPECT_TRUE(seen.empty()); // posted: nothing before the event loop runs
    deliver();
    EXPECT_EQ(seen, (std::vector<Seen>{{0x4000, 61860, 0x203},
                                       {0x4000, 61860, 0x205},
                                       {0x4000, 61860, 0x207},
                                       {0x4000, 61860, 0x400}}));
}

TEST_F(MsghookTest, OnlySelectedMessagesToTheHookedWindowAreReported)
{
    Form other(QStringLiteral("frmEventNotice"));
    PostMessage(form.hWnd(), 0x4001, 61860, 0x203);  // not selected
    PostMessage(other.hWnd(), 0x4000, 61860, 0x203); // another window
    PostMessage(form.hWnd(), 0x4000, 7, 0x205);      // another icon: the handler decides
    deliver();
    EXPECT_EQ(seen, (std::vector<Seen>{{0x4000, 7, 0x205}}));

    seen.clear();
    hook->setMessage(0x4000, false);
    hook->setMessage(0x4001, true);
    EXPECT_FALSE(hook->messageSelected(0x4000));
    PostMessage(form.hWnd(), 0x4000, 61860, 0x203);
    PostMessage(form.hWnd(), 0x4001, 61860, 0x202);
    deliver();
    EXPECT_EQ(seen, (std::vector<Seen>{{0x4001, 61860, 0x202}}));
}

TEST_F(MsghookTest, SettingTheHandleAgainMovesTheHookAndKeepsTheSelection)
{
    Form other(QStringLiteral("frmEventNotice"));
    hook->setHWnd(other.hWnd());
    EXPECT_EQ(hook->hWnd(), other.hWnd());
    EXPECT_TRUE(hook->messageSelected(0x4000));
    PostMessage(form.hWnd(), 0x4000, 61860, 0x201);
    PostMessage(other.hWnd(), 0x4000, 61860, 0x202);
    deliver();
    EXPECT_EQ(seen, (std::vector<Seen>{{0x4000, 61860, 0x202}}));

    // Attaching to the same window again (placing the icon a second time) reports once.
    seen.clear();
    hook->setHWnd(form.hWnd());
    hook->setHWnd(form.hWnd());
    PostMessage(form.hWnd(), 0x4000, 61860, 0x203);
    deliver();
    EXPECT_EQ(seen.size(), 1u);

    hook->setHWnd(0);
    PostMessage(form.hWnd(), 0x4000, 61860, 0x203);
    deliver();
    EXPECT_EQ(seen.size(), 1u);
}

TEST_F(MsghookTest, AMessageNumberOutsideSixteenBitsIsAnInvalidPropertyValue)
{
    for (std::int32_t msg : {-1, 0x10000}) {
        try {
            hook->setMessage(msg, true);
            ADD_FAILURE() << msg << " was accepted";
        } catch (const vb::RuntimeError &e) {
            EXPECT_EQ(e.number(), 380);
        }
    }
    hook->setMessage(0xFFFF, true);
    EXPECT_TRUE(hook->messageSelected(0xFFFF));
}
