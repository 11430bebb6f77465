// The main window in the system tray: the tray icon record, placing and removing the icon, and
// the icon's mouse messages as the hook control reports them.

#include "frmDazez.h"

#include "core/ErrorProtocol.h"
#include "core/Globals.h"
#include "core/modDataSQL.h"

#include "platform/forms/Menu.h"
#include "platform/forms/Msghook.h"
#include "platform/services/Services.h"
#include "platform/services/WindowHandles.h"
#include "platform/vb/Date.h"

using core::ErrorVariant;
using core::Procedure;

namespace {

vb::Date timeStampNow()
{
    return vb::Date::fromQDateTime(platform::services().clock->now());
}

// The running program's window whose caption is `caption` comes to the front, as activating an
// application by its title does.
void activateByTitle(const QString &caption)
{
    for (platform::Form *form : platform::Forms())
        if (form->isVisible() && form->Caption() == caption) {
            form->bringToForeground();
            return;
        }
}

} // namespace

void frmDazez::removeTrayIcon()
{
    platform::services().tray->Shell_NotifyIconA(platform::NIM_DELETE, mudtNotifyIcon.toBytes());
}

bool frmDazez::SysTrayPlace()
{
    Procedure p(QStringLiteral("frmDazez.SysTrayPlace"), ErrorVariant::LogOnly);
    bool result = false;
    p([&] {
        core::object(Msghook).setHWnd(hWnd());
        Msghook->setMessage(kTrayMessage, true);
    });
    p([&] {
        mudtNotifyIcon.cbSize = platform::NOTIFYICONDATA::PassedSize;
        mudtNotifyIcon.hWnd = core::object(Msghook).hWnd();
        mudtNotifyIcon.uID = kTrayIconId;
        mudtNotifyIcon.uFlags = platform::NIF_MESSAGE | platform::NIF_ICON | platform::NIF_TIP;
        mudtNotifyIcon.uCallbackMessage = kTrayMessage;
        mudtNotifyIcon.hIcon = platform::iconHandle(Icon());
        mudtNotifyIcon.szTip =
            core::kProductName.leftJustified(platform::NOTIFYICONDATA::TipLength, QLatin1Char(' '));
    });
    bool placed = false;
    p([&] {
        placed = platform::services().tray->Shell_NotifyIconA(platform::NIM_ADD,
                                                              mudtNotifyIcon.toBytes());
    });
    p([&] {
        // Hidden without an icon, the window could not be reached again, and a second start
        // ends at once because this one runs: where the desktop has no notification area the
        // window goes to the task bar instead.
        if (placed || platform::services().tray->isSystemTrayAvailable())
            setVisible(false);
        else
            showMinimized();
    });
    p([&] { result = true; });
    return result;
}

bool frmDazez::SysTrayRemove()
{
    Procedure p(QStringLiteral("frmDAzez.SysTrayRemove"));
    bool result = false;
    p([&] { removeTrayIcon(); });
    p([&] { setWindowState(windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized)); });
    p([&] { setVisible(true); });
    p([&] { result = true; });
    return result;
}

void frmDazez::Msghook_Message(std::int32_t msg, std::int32_t wParam, std::int32_t lParam)
{
    Procedure p(QStringLiteral("frmDazez.Msghook_Message"), ErrorVariant::Silent);
    QString text;
    p([&] {
        text = QStringLiteral("msg: ") + QString::number(msg) + QStringLiteral("    wp: ") +
               QString::number(wParam) + QStringLiteral("    lp: ") + QString::number(lParam);
    });
    if (wParam != kTrayIconId)
        return;
    namespace wm = platform::wm;
    const auto showTrayMenu = [&] {
        p([&] { bringToForeground(); });
        p([&] { PopupMenu(mnuSysTray); });
    };
    switch (lParam) {
    case wm::LBUTTONDBLCLK:
        p([&] { SysTrayRemove(); });
        p([&] { activateByTitle(Caption()); });
        break;
    case wm::RBUTTONUP:
        showTrayMenu();
        break;
    case wm::MBUTTONDOWN:
        if (!isVisible())
            showTrayMenu();
        break;
    default:
        if (lParam < wm::MOUSEMOVE || lParam > wm::MBUTTONDBLCLK)
            p([&] {
                WriteDebugLog(0, QStringLiteral("Message unknown!") + text, QString(),
                              timeStampNow());
            });
        break;
    }
}

void frmDazez::mnuSysTrayEnd_Click()
{
    Procedure p(QStringLiteral("frmDazez.mnuSysTrayEnd_Click"), ErrorVariant::Silent);
    p([&] { removeTrayIcon(); });
    platform::services().program->end(0);
}
