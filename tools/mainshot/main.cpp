// kx_mainshot [--points=N] <delivered database> <events.png> <settings.png> [file-menu.png]:
// seeds a temporary program folder with the delivered database and 30 entries of every event
// type around today, loads the main window as the start-up does (its list refill and settings
// included) with the Qt services installed, and saves a picture of its "Events" tab and of its
// "Settings" tab, and of the window with its File menu open. N points stand for the desktop's
// font size.

#include "shot/ShotSupport.h"

#include "core/Globals.h"
#include "dates/cDateHandler.h"
#include "mainwindow/frmDazez.h"
#include "platform/forms/Menu.h"
#include "platform/forms/TabControl.h"

#include <QApplication>
#include <QDate>
#include <QMenu>
#include <QMenuBar>
#include <QPixmap>
#include <QScreen>
#include <QTextStream>
#include <QStringList>
#include <QTimer>

namespace {

const QStringList kNames = {
    QStringLiteral("Grandma Rose"),     QStringLiteral("Wedding day"),
    QStringLiteral("New Year"),         QStringLiteral("Dentist"),
    QStringLiteral("Car insurance"),    QStringLiteral("Uncle Bertram"),
    QStringLiteral("Jenny & Mark"),     QStringLiteral("Midsummer"),
    QStringLiteral("Book club"),        QStringLiteral("Passport renewal"),
    QStringLiteral("Aunt Philippa"),    QStringLiteral("Parents' wedding"),
    QStringLiteral("Harvest festival"), QStringLiteral("School concert"),
    QStringLiteral("Tax return"),       QStringLiteral("Little Tom"),
    QStringLiteral("First date"),       QStringLiteral("Winter solstice"),
    QStringLiteral("Marathon"),         QStringLiteral("Water the ferns"),
    QStringLiteral("Cousin Ingrid"),    QStringLiteral("Company founded"),
    QStringLiteral("Bank holiday"),     QStringLiteral("Class reunion"),
    QStringLiteral("Vet appointment"),  QStringLiteral("Old Mr Fairweather"),
    QStringLiteral("Moved in"),         QStringLiteral("Carnival"),
    QStringLiteral("Concert tickets"),  QStringLiteral("Library books due"),
};

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const char *tool = "kx_mainshot";
    QStringList args = app.arguments().mid(1);
    if (!kxshot::takeDesktopPoints(args) || (args.size() != 3 && args.size() != 4))
        return kxshot::fail(tool, QStringLiteral("usage: kx_mainshot [--points=N] <delivered "
                                                 "database> <events.png> <settings.png> "
                                                 "[file-menu.png]"));
    kxshot::ShotFolder folder;
    if (!folder.openDatabase(args[0]))
        return kxshot::fail(tool, QStringLiteral("cannot open a copy of the database"));

    // Every event type in turn, dates from a week ago to most of a year ahead, first years
    // spread over the century; times of day that the next minutes do not reach.
    const QDate today = platform::services().clock->now().date();
    for (int i = 0; i < kNames.size(); ++i) {
        const QDate day = today.addDays(i * 12 - 7);
        const QDate first(1931 + (i * 7) % 90, day.month(), std::min(day.day(), 28));
        gdbMain->Execute(QStringLiteral("INSERT INTO Dazez (Events_Id, Dazez_Name, Dazez_Date, "
                                        "Dazez_Time, Dazez_AlertDays, Dazez_Notes, "
                                        "Dazez_DaysTil) VALUES (%1, '%2', '%3', "
                                        "'1899-12-30 03:00:00', 3, '', 0)")
                             .arg(i % 5 + 1)
                             .arg(QString(kNames[i]).replace(u'\'', QStringLiteral("''")),
                                  first.toString(QStringLiteral("yyyy-MM-dd 00:00:00"))));
    }
    // The settings as a user might have them; no notices at start, so that none covers the
    // window.
    gudtSettings.DefaultAlertDays = 3;
    gudtSettings.DefaultEvent = 1;
    gudtSettings.DefaultDisplayTime = vb::Date::fromQTime(QTime(9, 0));
    gudtSettings.TimerOn = 1;
    gudtSettings.SoundOn = 1;
    cDateHandler().SetDaysTil();

    auto *window = new frmDazez;
    window->Load();
    window->Timer1->stop();
    kxshot::settle(800);
    if (!window->isVisible())
        return kxshot::fail(tool, QStringLiteral("the main window is not shown"));
    if (!kxshot::savePicture(window, args[1]))
        return kxshot::fail(tool, QStringLiteral("cannot save the picture of the Events tab"));
    window->tab1->setTab(1);
    kxshot::settle(400);
    if (!kxshot::savePicture(window, args[2]))
        return kxshot::fail(tool, QStringLiteral("cannot save the picture of the Settings tab"));
    if (args.size() == 4) {
        window->tab1->setTab(0);
        // The open menu is a window of its own: the picture is of the screen around both.
        QMenu *file = window->mnuFile->popup();
        window->menuBar()->setActiveAction(file->menuAction());
        kxshot::settle(400);
        const QRect area = window->frameGeometry().united(file->geometry());
        const QPixmap picture = window->screen()->grabWindow(0, area.x(), area.y(),
                                                             area.width(), area.height());
        if (picture.isNull() || !picture.save(args[3]))
            return kxshot::fail(tool, QStringLiteral("cannot save the picture of the File menu"));
        QTextStream(stdout) << "saved " << args[3] << "\n";
        file->hide();
    }
    delete window;
    core::resetGlobals();
    return 0;
}
