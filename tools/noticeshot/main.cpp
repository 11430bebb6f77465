// kx_noticeshot <delivered database> <output.png>: seeds a temporary program folder with the
// delivered database and one entry that recurs today, shows its notice through the date engine
// with the Qt services installed, and saves a picture of the notice window.

#include "core/Globals.h"
#include "core/cDAO.h"
#include "dates/cDateHandler.h"
#include "dates/frmEventNotice.h"
#include "platform/forms/Form.h"
#include "platform/services/QtServices.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPixmap>
#include <QScreen>
#include <QTemporaryDir>
#include <QTextStream>
#include <QThread>

namespace {

class TemporaryProgram : public platform::ProgramService
{
public:
    QString path;
    QString folder() const override { return path; }
    [[noreturn]] void end(int exitCode) override { std::exit(exitCode); }
};

int fail(const QString &why)
{
    QTextStream(stderr) << "kx_noticeshot: " << why << '\n';
    return 1;
}

void settle(int ms)
{
    for (int i = 0; i < ms / 20; ++i) {
        QApplication::processEvents();
        QThread::msleep(20);
    }
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    if (argc != 3)
        return fail(QStringLiteral("usage: kx_noticeshot <delivered database> <output.png>"));

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
    if (!cDAO().DAOOpenConnection(gstrDbPath))
        return fail(QStringLiteral("cannot open the database"));
    gudtSettings.SoundOn = 0;

    const QDate today = platform::services().clock->now().date();
    const QString date = QDate(1950, today.month(), std::min(today.day(), 28))
                             .toString(QStringLiteral("yyyy-MM-dd 00:00:00"));
    gdbMain->Execute(QStringLiteral("INSERT INTO Dazez (Events_Id, Dazez_Name, Dazez_Date, "
                                    "Dazez_Time, Dazez_AlertDays, Dazez_Notes, Dazez_DaysTil) "
                                    "VALUES (1, 'Grandma Rose', '%1', '1899-12-30 09:00:00', 3, "
                                    "'Call her in the morning.\r\nBring the photo album.', 0)")
                         .arg(date));
    cDateHandler().SetDaysTil();
    auto rs = gdbMain->OpenRecordset(QStringLiteral("SELECT Dazez_Id FROM Dazez"),
                                     jet::dbOpenSnapshot);
    const vb::Variant id = rs->Field(QStringLiteral("Dazez_Id"));
    rs->Close();

    if (!cDateHandler().DisplayEvent(id))
        return fail(QStringLiteral("no notice was shown"));
    settle(800);

    frmEventNotice *notice = nullptr;
    for (platform::Form *form : platform::Forms())
        if (auto *n = qobject_cast<frmEventNotice *>(form))
            notice = n;
    if (!notice)
        return fail(QStringLiteral("the notice window is not open"));
    QScreen *screen = notice->screen();
    const QPixmap picture = screen->grabWindow(notice->winId());
    if (picture.isNull() || !picture.save(QString::fromLocal8Bit(argv[2])))
        return fail(QStringLiteral("cannot save the picture"));
    QTextStream(stdout) << "saved " << argv[2] << " (" << picture.width() << "x"
                        << picture.height() << ", window at " << notice->frameGeometry().x()
                        << "," << notice->frameGeometry().y() << ")\n";
    notice->Unload();
    core::resetGlobals();
    return 0;
}
