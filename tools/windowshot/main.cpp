// kx_windowshot <delivered database> <window> <output.png> [point size]: shows the named window
// of the program with sample data, through the code that shows it in the program, with the Qt
// services installed and a temporary program folder holding a copy of the delivered database,
// and saves a picture of it. A point size stands for the desktop's font size. `kx_windowshot
// --list` names the windows it can show.

#include "core/Globals.h"
#include "core/MainCode_QW.h"
#include "core/StartupHooks.h"
#include "core/cDAO.h"
#include "dates/cDateHandler.h"
#include "dates/frmEventNotice.h"
#include "editor/frmEditor.h"
#include "editor/frmURL.h"
#include "platform/forms/Form.h"
#include "platform/services/QtServices.h"
#include "platform/vb/Conversions.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFont>
#include <QPixmap>
#include <QScreen>
#include <QTemporaryDir>
#include <QTextStream>
#include <QThread>
#include <QTime>

#include <functional>

namespace {

// The program may end inside the code that shows a window (another instance is running, the
// database cannot be opened): then there is no picture.
class TemporaryProgram : public platform::ProgramService
{
public:
    QString path;
    QString folder() const override { return path; }
    [[noreturn]] void end(int exitCode) override
    {
        QTextStream(stderr) << "kx_windowshot: the program ended (" << exitCode
                            << ") before the picture was taken\n";
        std::exit(1);
    }
};

// Takes the picture of a window while it is open.
using Shoot = std::function<void(platform::Form &)>;

void settle(int ms)
{
    for (int i = 0; i < ms / 20; ++i) {
        QApplication::processEvents();
        QThread::msleep(20);
    }
}

void openDatabase()
{
    if (!cDAO().DAOOpenConnection(gstrDbPath))
        throw QStringLiteral("cannot open the database");
}

// The start-up chain itself, pictured while it loads the main window.
void showSplash(const Shoot &shoot)
{
    core::startupHooks().loadMainWindow = [&shoot] {
        for (platform::Form *form : platform::Forms())
            if (form->Name() == QLatin1String("frmSplash"))
                shoot(*form);
    };
    Main();
    core::startupHooks().loadMainWindow = nullptr;
}

void showWebLink(const Shoot &shoot)
{
    // Modal in the program; modeless here so that the picture can be taken.
    auto *window = new frmURL();
    window->Show();
    shoot(*window);
    window->Unload();
}

// An entry whose date recurs today, with the longest name the editor takes.
void showNotice(const Shoot &shoot)
{
    openDatabase();
    gudtSettings.SoundOn = 0;
    const QDate today = platform::services().clock->now().date();
    const QString date = QDate(1950, today.month(), std::min(today.day(), 28))
                             .toString(QStringLiteral("yyyy-MM-dd 00:00:00"));
    gdbMain->Execute(QStringLiteral("INSERT INTO Dazez (Events_Id, Dazez_Name, Dazez_Date, "
                                    "Dazez_Time, Dazez_AlertDays, Dazez_Notes, Dazez_DaysTil) "
                                    "VALUES (1, 'Wilhelmina Montgomery-Way', '%1', "
                                    "'1899-12-30 09:00:00', 3, "
                                    "'Call her in the morning.\r\nBring the photo album.', 0)")
                         .arg(date));
    cDateHandler().SetDaysTil();
    auto rs =
        gdbMain->OpenRecordset(QStringLiteral("SELECT Dazez_Id FROM Dazez"), jet::dbOpenSnapshot);
    const vb::Variant id = rs->Field(QStringLiteral("Dazez_Id"));
    rs->Close();
    if (!cDateHandler().DisplayEvent(id))
        throw QStringLiteral("no notice was shown");
    for (platform::Form *form : platform::Forms())
        if (auto *notice = qobject_cast<frmEventNotice *>(form)) {
            shoot(*notice);
            notice->Unload();
        }
}

// The editor as the main window opens it (on a stand-in for it): on an entry with the longest
// name it takes, or for a new entry.
void showEditor(const Shoot &shoot, bool existing)
{
    openDatabase();
    gstrEnabledColor = QString::number(0xFFFFFF);
    gudtSettings.DefaultEvent = 1;
    gudtSettings.DefaultAlertDays = 3;
    gudtSettings.DefaultDisplayTime = vb::Date::fromQTime(QTime(9, 0));
    std::int32_t id = -1;
    if (existing) {
        gdbMain->Execute(QStringLiteral("INSERT INTO Dazez (Events_Id, Dazez_Name, Dazez_Date, "
                                        "Dazez_Time, Dazez_AlertDays, Dazez_Notes, "
                                        "Dazez_DaysTil) VALUES (2, 'Wilhelmina Montgomery-Way', "
                                        "'1968-06-21 00:00:00', '1899-12-30 18:30:00', 7, "
                                        "'Married in the garden of the old mill.\r\n"
                                        "Roses, not lilies.', 0)"));
        auto rs = gdbMain->OpenRecordset(QStringLiteral("SELECT MAX(Dazez_Id) AS id FROM Dazez"),
                                         jet::dbOpenSnapshot);
        id = vb::CLng(rs->Field(QStringLiteral("id")));
        rs->Close();
    }
    platform::Form mainWindow(QStringLiteral("frmDazez"));
    mainWindow.setClientSize(10080, 5880);
    mainWindow.Move(1500, 1500);
    auto *editor = new frmEditor();
    editor->setProperty("frmParent", QVariant::fromValue<QObject *>(&mainWindow));
    editor->setProperty("prpDataId", id);
    editor->Show();
    editor->activateWindow();
    shoot(*editor);
    editor->Unload();
}

void showEditorExisting(const Shoot &shoot)
{
    showEditor(shoot, true);
}

void showEditorNew(const Shoot &shoot)
{
    showEditor(shoot, false);
}

struct Window
{
    const char *name;
    void (*show)(const Shoot &);
};

const Window kWindows[] = {
    {"frmSplash", showSplash},       {"frmURL", showWebLink},
    {"frmEventNotice", showNotice},  {"frmEditor", showEditorExisting},
    {"frmEditorNew", showEditorNew},
};

int fail(const QString &why)
{
    QTextStream(stderr) << "kx_windowshot: " << why << '\n';
    return 1;
}

} // namespace

int main(int argc, char **argv)
{
    // Before the application object, which needs a display.
    if (argc == 2 && QByteArray(argv[1]) == "--list") {
        for (const Window &window : kWindows)
            QTextStream(stdout) << window.name << '\n';
        return 0;
    }
    QApplication app(argc, argv);
    if (argc != 4 && argc != 5)
        return fail(QStringLiteral("usage: kx_windowshot <delivered database> <window> "
                                   "<output.png> [point size], or --list"));
    if (argc == 5) {
        QFont desktop = QApplication::font();
        desktop.setPointSizeF(QString::fromLocal8Bit(argv[4]).toDouble());
        if (desktop.pointSizeF() <= 0)
            return fail(QStringLiteral("no point size: %1").arg(QString::fromLocal8Bit(argv[4])));
        QApplication::setFont(desktop);
    }
    const Window *window = nullptr;
    for (const Window &w : kWindows)
        if (QString::fromLatin1(w.name).compare(QString::fromLocal8Bit(argv[2]),
                                                Qt::CaseInsensitive) == 0)
            window = &w;
    if (!window)
        return fail(QStringLiteral("no window named %1").arg(QString::fromLocal8Bit(argv[2])));

    platform::installQtServices(core::kProductName);
    QTemporaryDir folder;
    TemporaryProgram program;
    program.path = QDir::toNativeSeparators(folder.path());
    platform::Services services = platform::services();
    services.program = &program;
    platform::installServices(services);

    gstrDbPath = QDir(folder.path()).filePath(core::kDatabaseFileName);
    if (!QFile::copy(QString::fromLocal8Bit(argv[1]), gstrDbPath))
        return fail(QStringLiteral("cannot copy the delivered database"));
    QFile::setPermissions(gstrDbPath, QFile::ReadOwner | QFile::WriteOwner);

    const QString out = QString::fromLocal8Bit(argv[3]);
    QString saved;
    try {
        window->show([&](platform::Form &form) {
            settle(800);
            const QPixmap picture = form.screen()->grabWindow(form.winId());
            if (picture.isNull() || !picture.save(out))
                throw QStringLiteral("cannot save the picture");
            saved = QStringLiteral("saved %1 (%2x%3, window at %4,%5)")
                        .arg(out)
                        .arg(picture.width())
                        .arg(picture.height())
                        .arg(form.frameGeometry().x())
                        .arg(form.frameGeometry().y());
        });
    } catch (const QString &why) {
        return fail(why);
    }
    core::resetGlobals();
    if (saved.isEmpty())
        return fail(QStringLiteral("%1 was not shown").arg(QString::fromLatin1(window->name)));
    QTextStream(stdout) << saved << '\n';
    return 0;
}
