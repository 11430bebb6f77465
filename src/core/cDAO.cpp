#include "cDAO.h"

#include "ErrorProtocol.h"
#include "Globals.h"
#include "MainCode_QW.h"
#include "modFehlerHandler.h"
#include "modMsg.h"

#include "platform/forms/Form.h"
#include "platform/jet/JetErrors.h"
#include "platform/services/CommonDialog.h"
#include "platform/services/Services.h"
#include "platform/vb/Conversions.h"

#include <QFile>
#include <QSaveFile>
#include <QThread>

namespace {

// A table held by someone else: close our own hold on it (the shared recordset) and try the same
// statement again after a short wait, a few times; past that the error is reported as any other.
std::function<core::ErrorAction(const vb::RuntimeError &)> retryWhileTableHeld()
{
    return [tries = 0](const vb::RuntimeError &e) mutable {
        if (e.number() != jet::err::TableHeld || tries >= cDAO::kHeldTableTries)
            return core::ErrorAction::Default;
        ++tries;
        core::closeSharedRecordset();
        QThread::msleep(cDAO::kHeldTableWaitMs);
        return core::ErrorAction::Retry;
    };
}

// Replaces grsShared with the recordset of a statement, as the open step of RSReadFrom and
// RSOpen. Ignore after a failed open goes on as though the statement had been opened, so the
// earlier recordset is given up and the shared one is then nothing: no later step reads another
// statement's rows as this one's, and each that needs the rows raises 91. Abort leaves the
// earlier recordset in place.
void openShared(core::Procedure &p, const QString &sql, jet::RecordsetType type)
{
    std::shared_ptr<jet::Recordset> opened;
    if (p([&] { opened = core::db().OpenRecordset(sql, type); }))
        grsShared = std::move(opened);
}

void copyFileReplacing(const QString &from, const QString &to)
{
    QFile source(from);
    if (!source.open(QIODevice::ReadOnly))
        vb::raise(vb::err::FileNotFound);
    // Written beside the target and renamed over it only when complete, so a failed copy never
    // leaves a half backup in place of an earlier good one. A folder that takes no new file can
    // still hold a writable target, which a plain copy would overwrite: that one is then
    // written in place, without the protection. Unbuffered, so that each write's count is what
    // reached the file: a buffered write of a small file reports every byte taken, and a full
    // disk or a file-size limit met only in the final flush would leave a cut-off copy that
    // counts as a good one.
    QSaveFile target(to);
    target.setDirectWriteFallback(true);
    if (!target.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        vb::raise(vb::err::PermissionDenied);
    while (!source.atEnd()) {
        const QByteArray chunk = source.read(1 << 20);
        if (chunk.isEmpty() && source.error() != QFile::NoError)
            vb::raise(vb::err::PathFileAccessError);
        if (target.write(chunk) != chunk.size())
            vb::raise(vb::err::PathFileAccessError);
    }
    if (!target.commit())
        vb::raise(vb::err::PathFileAccessError);
}

} // namespace

int cDAO::RSReadFrom(const QString &argSQL)
{
    core::Procedure p(QStringLiteral("cDAO.RSReadFrom"));
    int count = 0;
    openShared(p, argSQL, jet::dbOpenSnapshot);
    p([&] {
        jet::Recordset &rs = core::sharedRecordset();
        if (rs.RecordCount() >= 1) {
            rs.MoveLast();
            rs.MoveFirst();
        }
    });
    p([&] { count = core::sharedRecordset().RecordCount(); });
    return count;
}

bool cDAO::RSDelete(const QString &argSQL)
{
    core::Procedure p(QStringLiteral("cDAO.RSDelete"));
    p.setHandler(retryWhileTableHeld());
    bool result = false;
    p([&] { core::db().Execute(argSQL); });
    p([&] { result = true; });
    return result;
}

void cDAO::RSOpen(const QString &argSQL)
{
    core::Procedure p(QStringLiteral("cDAO.RSOpen"));
    p.setHandler(retryWhileTableHeld());
    openShared(p, argSQL, jet::dbOpenDynaset);
}

bool cDAO::DAOOpenConnection(QString &argConnectionString)
{
    core::Procedure p(QStringLiteral("cDAO.DAOOpenConnection"));
    // Ignore, like Abort, means "not connected": going on to the "opened" step would report a
    // database that is not there.
    p.setHandler([](const vb::RuntimeError &e) {
        if (e.number() == jet::err::FileNotFound) {
            msgNoDbConnection(); // No ends the program inside the prompt
            return core::ErrorAction::Leave;
        }
        const vb::Variant answer =
            HandleError(e.number(), e.description(), QStringLiteral("cDAO.DAOOpenConnection"));
        return answer == vb::Variant(std::int16_t(4)) ? core::ErrorAction::Retry
                                                      : core::ErrorAction::Leave;
    });
    bool result = false;
    jet::DBEngine *engine = nullptr;
    p([&] { engine = &jet::DBEngine::instance(); });
    p([&] {
        gwsMain = core::object(engine).CreateWorkspace(QString(), QStringLiteral("Admin"),
                                                       QString(), jet::dbUseJet);
    });
    p([&] {
        gdbMain = core::object(gwsMain).OpenDatabase(argConnectionString, false, false,
                                                     core::kConnectText);
    });
    p([&] { result = true; });
    return result;
}

QString cDAO::backupPresetName()
{
    const QDate today = platform::services().clock->now().date();
    return QStringLiteral("BirthdayDBbackup") + QString::number(today.day()) +
           QString::number(today.month()) + QString::number(today.year());
}

bool cDAO::BackUpDatabase(platform::CommonDialog *argCdlg)
{
    core::Procedure p(QStringLiteral("cDAO.BackUpDatabase"), core::ErrorVariant::LogOnly);
    bool failed = false;
    p.setHandler([&failed](const vb::RuntimeError &) {
        failed = true;
        return core::ErrorAction::Default;
    });
    bool result = false;
    QString preset;
    p([&] { preset = backupPresetName(); });
    p([&] {
        platform::CommonDialog &dialog = core::object(argCdlg);
        dialog.InitDir = platform::services().program->folder();
        dialog.DialogTitle =
            QStringLiteral("Backup ") + core::kProductName + QStringLiteral(" database.");
        dialog.FileName = preset;
        dialog.Filter = QStringLiteral("*.mdb|*.mdb");
    });
    p([&] { core::object(argCdlg).ShowSave(); });
    p([&] {
        // A confirmed dialog always gives a full path, so the bare preset means cancel.
        if (core::object(argCdlg).FileName == preset)
            p.leave();
    });
    p([&] { core::db().Close(); });
    p([&] { copyFileReplacing(gstrDbPath, core::object(argCdlg).FileName); });
    p([&] { DAOOpenConnection(gstrDbPath); });
    p([&] { result = true; });
    if (failed)
        DAOOpenConnection(gstrDbPath);
    return result;
}

bool MakeConnectionString(platform::Form *argForm)
{
    core::Procedure p(QStringLiteral("MakeConnectionString"));
    bool result = false;
    platform::CommonDialog *dialog = nullptr;
    p([&] {
        dialog = static_cast<QObject &>(core::object(argForm))
                     .findChild<platform::CommonDialog *>(QStringLiteral("cdlg1"));
    });
    p([&] {
        platform::CommonDialog &cdlg1 = core::object(dialog);
        cdlg1.FileName.clear();
        cdlg1.DialogTitle = core::kProductName + QStringLiteral(" database connection ");
        cdlg1.Filter = core::kDatabaseFileName + QLatin1Char('|') + core::kDatabaseFileName;
    });
    p([&] { core::object(dialog).ShowOpen(); });
    p([&] { gstrDbPath = core::object(dialog).FileName; });
    p([&] {
        result = !gstrDbPath.isEmpty() && gstrDbPath.toLower().contains(core::kDatabaseFileName);
    });
    return result;
}
