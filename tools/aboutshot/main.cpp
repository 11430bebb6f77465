// kx_aboutshot [--points=N] about <output.png>
// kx_aboutshot [--points=N] help <help file> <context> <output.png>
// Shows the about window, or the help window at a topic (context 0: the help topics), with the
// Qt services installed, and saves a picture of it. N points stand for the desktop's font size.

#include "shot/ShotSupport.h"

#include "core/Globals.h"
#include "editor/frmAbout.h"
#include "platform/services/HelpWindow.h"
#include "platform/services/QtServices.h"

#include <QApplication>
#include <QTimer>

namespace {

int fail(const QString &why)
{
    return kxshot::fail("kx_aboutshot", why);
}

int save(QWidget *window, const QString &path)
{
    return kxshot::savePicture(window, path) ? 0 : fail(QStringLiteral("cannot save the picture"));
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    platform::installQtServices(core::kProductName);
    QStringList args = app.arguments().mid(1);
    if (!kxshot::takeDesktopPoints(args))
        return fail(QStringLiteral("no point size"));

    if (args.size() == 2 && args[0] == QLatin1String("about")) {
        auto *about = new frmAbout;
        about->Show();
        // The logo as its first tick shows it, whenever the picture is taken.
        about->Timer1->stop();
        about->Timer1_Timer();
        kxshot::settle(600);
        return save(about, args[1]);
    }
    if (args.size() == 4 && args[0] == QLatin1String("help")) {
        const unsigned context = args[2].toUInt();
        platform::HelpService *help = platform::services().help;
        if (!help->winHelp(nullptr, args[1],
                           context ? platform::help::HELP_CONTEXT : platform::help::HELP_TAB,
                           context))
            return fail(QStringLiteral("the help window did not open"));
        auto *qtHelp = static_cast<platform::QtHelp *>(help);
        kxshot::settle(600);
        return save(qtHelp->window(), args[3]);
    }
    return fail(QStringLiteral("usage: kx_aboutshot [--points=N] about <output.png> | "
                               "[--points=N] help <help file> <context> <output.png>"));
}
