// kx_traycheck probe [wait-ms]: prints "available" or "unavailable": whether the desktop shows a
// notification area, waiting up to wait-ms for one to appear.
//
// kx_traycheck icon [wait-ms]: places the program's tray icon for a hidden window through the tray
// service, as the main window does, prints "icon shown" once the notification area has taken
// it, then "message <msg> <wParam> <lParam>" for each message the window's hook reports, until
// it is ended (at most a minute). Prints "no icon" and ends with 1 when the icon cannot be
// placed (no notification area appeared within wait-ms, 10 s unless given) or is not shown.

#include "platform/forms/Form.h"
#include "platform/forms/Msghook.h"
#include "platform/forms/Pictures.h"
#include "platform/services/NotifyIcon.h"
#include "platform/services/QtServices.h"
#include "platform/services/WindowHandles.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QSystemTrayIcon>
#include <QTextStream>
#include <QThread>
#include <QTimer>

#include <cstdio>
#include <functional>

namespace {

QTextStream out(stdout);

// Runs the event loop until `done` or `ms` have passed; true when done.
bool waitFor(const std::function<bool()> &done, int ms)
{
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > ms)
            return false;
        QApplication::processEvents(QEventLoop::AllEvents, 50);
        QThread::msleep(20);
    }
    return true;
}

int probe(int waitMs)
{
    const bool available = waitFor([] { return QSystemTrayIcon::isSystemTrayAvailable(); }, waitMs);
    out << (available ? "available" : "unavailable") << Qt::endl;
    return 0;
}

int icon(int waitMs)
{
    platform::Form window(QStringLiteral("frmDazez"));
    auto *hook = new platform::Msghook(&window, QStringLiteral("Msghook"));
    QObject::connect(hook, &platform::Msghook::Message, &window,
                     [](std::int32_t msg, std::int32_t wp, std::int32_t lp, std::int32_t &) {
                         out << "message " << msg << ' ' << wp << ' ' << lp << Qt::endl;
                     });
    hook->setHWnd(window.hWnd());
    hook->setMessage(0x4000, true);

    const QIcon picture = platform::drawnIcon([](QPainter &p) {
        p.setBrush(QColor(200, 40, 40));
        p.drawEllipse(QRectF(2, 2, 28, 28));
    });
    platform::NOTIFYICONDATA record;
    record.cbSize = platform::NOTIFYICONDATA::PassedSize;
    record.hWnd = hook->hWnd();
    record.uID = 61860;
    record.uFlags = platform::NIF_MESSAGE | platform::NIF_ICON | platform::NIF_TIP;
    record.uCallbackMessage = 0x4000;
    record.hIcon = platform::iconHandle(picture);
    record.szTip = QStringLiteral("Almanoria");

    auto *tray = static_cast<platform::QtTray *>(platform::services().tray);
    waitFor([] { return QSystemTrayIcon::isSystemTrayAvailable(); }, waitMs);
    if (!tray->Shell_NotifyIconA(platform::NIM_ADD, record.toBytes())) {
        out << "no icon" << Qt::endl;
        return 1;
    }
    QSystemTrayIcon *placed = tray->icon(record.hWnd, record.uID);
    if (!waitFor([placed] { return placed->geometry().isValid() && !placed->geometry().isEmpty(); },
                 10000)) {
        out << "no icon" << Qt::endl;
        return 1;
    }
    // Its place on the screen is the notification area's business (Qt knows only its size).
    out << "icon shown" << Qt::endl;
    QTimer::singleShot(60000, qApp, &QCoreApplication::quit);
    return QApplication::exec();
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    platform::installQtServices(QStringLiteral("Almanoria"));
    const QString mode = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    const auto waitMs = [&](int otherwise) {
        return argc > 2 ? QString::fromLocal8Bit(argv[2]).toInt() : otherwise;
    };
    if (mode == QLatin1String("probe"))
        return probe(waitMs(0));
    if (mode == QLatin1String("icon"))
        return icon(waitMs(10000));
    QTextStream(stderr) << "usage: kx_traycheck probe [wait-ms] | kx_traycheck icon [wait-ms]\n";
    return 2;
}
