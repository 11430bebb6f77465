// kx_aboutshot about <output.png>
// kx_aboutshot help <help file> <context> <output.png>
// Shows the about window, or the help window at a topic (context 0: the help topics), with the
// Qt services installed, and saves a picture of it.

#include "core/Globals.h"
#include "editor/frmAbout.h"
#include "platform/services/HelpWindow.h"
#include "platform/services/QtServices.h"

#include <QApplication>
#include <QPixmap>
#include <QScreen>
#include <QTextStream>
#include <QThread>
#include <QTimer>

namespace {

int fail(const QString &why)
{
    QTextStream(stderr) << "kx_aboutshot: " << why << '\n';
    return 1;
}

void settle(int ms)
{
    for (int i = 0; i < ms / 20; ++i) {
        QApplication::processEvents();
        QThread::msleep(20);
    }
}

int save(QWidget *window, const QString &path)
{
    const QPixmap picture = window->screen()->grabWindow(window->winId());
    if (picture.isNull() || !picture.save(path))
        return fail(QStringLiteral("cannot save the picture"));
    QTextStream(stdout) << "saved " << path << " (" << picture.width() << "x" << picture.height()
                        << ")\n";
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    platform::installQtServices(core::kProductName);
    const QStringList args = app.arguments().mid(1);

    if (args.size() == 2 && args[0] == QLatin1String("about")) {
        auto *about = new frmAbout;
        about->Show();
        // The logo as its first tick shows it, whenever the picture is taken.
        about->Timer1->stop();
        about->Timer1_Timer();
        settle(600);
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
        settle(600);
        return save(qtHelp->window(), args[3]);
    }
    return fail(QStringLiteral("usage: kx_aboutshot about <output.png> | "
                               "help <help file> <context> <output.png>"));
}
