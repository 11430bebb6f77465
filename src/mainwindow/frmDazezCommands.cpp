// The main window's commands: the editor and its wait, deleting, the backup, help, the product
// page, and the shutdown.

#include "frmDazez.h"

#include "core/EditorHook.h"
#include "core/ErrorProtocol.h"
#include "core/Globals.h"
#include "core/HelpCalls.h"
#include "core/MainCode_QW.h"
#include "core/StartupHooks.h"
#include "core/cDAO.h"
#include "core/modDataSQL.h"
#include "core/modMsg.h"
#include "dates/cDateHandler.h"

#include "platform/forms/Controls.h"
#include "platform/forms/ListView.h"
#include "platform/forms/MousePointer.h"
#include "platform/services/CommonDialog.h"
#include "platform/services/Services.h"
#include "platform/vb/CallByName.h"
#include "platform/vb/Conversions.h"

#include <QEventLoop>
#include <QMetaMethod>
#include <QMetaProperty>
#include <QPointer>
#include <QTimer>

using core::ErrorAction;
using core::ErrorVariant;
using core::Procedure;

namespace {

const QString kNoDataToDelete = QStringLiteral("There is no data to delete");
const QString kDeleted = QStringLiteral("Your data has been deleted.");
const QString kNotDeleted = QStringLiteral("Your data has not been deleted.");
const QString kBackedUp = QStringLiteral("The database has been backed up");
const QString kBackupFailed = QStringLiteral("An error has occured while backing up the database");

const QString kIsRunning = QStringLiteral("mblnIsRunning");

bool isRunning(QObject *editor)
{
    return vb::PropertyGet(editor, kIsRunning).toBool();
}

// Blocks until the editor's mblnIsRunning is false or the editor is gone. The program's events
// (timers, tray, notices, the editor's own) run meanwhile; between them the thread sleeps in the
// event loop. Every change of the flag, and the editor's end, wakes the wait to test again.
void waitWhileRunning(QObject *editor)
{
    QPointer<QObject> watched(editor);
    if (!isRunning(editor))
        return;
    QEventLoop loop;
    const QMetaObject *meta = editor->metaObject();
    const QMetaProperty flag = meta->property(meta->indexOfProperty("mblnIsRunning"));
    if (flag.hasNotifySignal())
        QObject::connect(editor, flag.notifySignal(), &loop,
                         loop.metaObject()->method(loop.metaObject()->indexOfSlot("quit()")));
    QObject::connect(editor, &QObject::destroyed, &loop, &QEventLoop::quit);
    if (auto *form = qobject_cast<platform::Form *>(editor))
        QObject::connect(form, &platform::Form::Unloaded, &loop, &QEventLoop::quit);
    while (watched && isRunning(watched))
        loop.exec();
}

} // namespace

// ---- the editor ----------------------------------------------------------------------------

void frmDazez::LoadEditor()
{
    Procedure p(QStringLiteral("frmDazez.LoadEditor"));
    bool timerSwitchedOff = false;
    bool disabled = false;
    bool enabledAgain = false;
    QPointer<platform::Form> editor;
    p([&] {
        if (gudtSettings.TimerOn == 1) {
            timerSwitchedOff = true;
            Timer1->stop();
        }
    });
    p([&] {
        editor = core::editorInstance();
        vb::PropertyLet(editor, QStringLiteral("frmParent"),
                        QVariant::fromValue(static_cast<QObject *>(this)));
    });
    p([&] {
        setEnabled(false);
        disabled = true;
    });
    p([&] { vb::PropertyLet(editor, QStringLiteral("prpDataId"), mlngCurrentId); });
    p([&] {
        if (!editor)
            vb::raise(vb::err::ObjectVariableNotSet);
        editor->Show();
    });
    p([&] {
        if (editor)
            waitWhileRunning(editor);
    });
    p([&] {
        setEnabled(true);
        enabledAgain = true;
    });
    p([&] { bringToForeground(); });
    p([&] {
        if (timerSwitchedOff)
            Timer1->start();
    });
    // Left on Abort: a window that stayed disabled could never be used again in this run, and a
    // notice timer left off would silence every notice.
    if (p.left()) {
        if (disabled && !enabledAgain)
            setEnabled(true);
        if (timerSwitchedOff)
            Timer1->start();
    }
}

void frmDazez::DataNew()
{
    Procedure p(QStringLiteral("frmDazez.DataNew"));
    p([&] { mlngCurrentId = -1; });
    p([&] { LoadEditor(); });
}

// ---- deleting ------------------------------------------------------------------------------

bool frmDazez::DataDelete()
{
    Procedure p(QStringLiteral("frmDazez.DataDelete"));
    p([&] { DeleteEvent(); });
    return false;
}

bool frmDazez::DeleteEvent()
{
    Procedure p(QStringLiteral("frmEditor.DeleteEvent"), ErrorVariant::LogOnly);
    bool failed = false;
    p.setHandler([&failed](const vb::RuntimeError &) {
        failed = true;
        return ErrorAction::Default;
    });
    bool result = false;
    bool timerSwitchedOff = false;
    p([&] {
        if (mlngCurrentId == -1) {
            SetStatBar(statBar1, kNoDataToDelete, 1);
            p.leave();
        }
    });
    QString name;
    p([&] {
        name = ReturnString(QStringLiteral("Dazez"), QStringLiteral("Dazez_Name"),
                            QStringLiteral("Dazez_Id"), mlngCurrentId);
    });
    p([&] {
        if (!msgDelete(name)) {
            SetStatBar(statBar1, kNotDeleted, 1);
            p.leave();
        }
    });
    p([&] {
        if (gudtSettings.TimerOn == 1) {
            Timer1->stop();
            timerSwitchedOff = true;
        }
    });
    QString statement;
    p([&] {
        statement =
            QStringLiteral("DELETE FROM Dazez WHERE Dazez_Id = ") + QString::number(mlngCurrentId);
    });
    bool deleted = false;
    {
        cDAO dao;
        bool ran = false;
        p([&] { ran = dao.RSDelete(statement); });
        if (ran) {
            p([&] { SetStatBar(statBar1, kDeleted, 1); });
            p([&] { SetEventList(lvw1, 0, 0); });
            p([&] { cDateHandler().RemoveDeletedUpcomingCol(mlngCurrentId); });
            p([&] {
                result = true;
                deleted = true;
            });
        }
        p([&] { SetStatBar(statBar1, deleted ? kDeleted : kNotDeleted, 1); });
    }
    p([&] {
        if (gudtSettings.TimerOn == 1)
            Timer1->start();
    });
    if (failed) {
        SetStatBar(statBar1, kNotDeleted, 1);
        // Whatever failed, the notices go on: the timer this delete switched off runs again.
        if (timerSwitchedOff)
            Timer1->start();
    }
    return result;
}

void frmDazez::mnuRefresh_Click()
{
    SetEventList(lvw1, 0, 0);
}

void frmDazez::mnuPopupDelete_Click()
{
    // The menu opens on any right click, also where no row is selected: then there is no entry
    // to take, and nothing is deleted.
    const platform::ListItem *row = lvw1->SelectedItem();
    if (!row) {
        SetStatBar(statBar1, kNoDataToDelete, 1);
        return;
    }
    mlngCurrentId = vb::CLng(vb::Variant(row->Key().mid(1)));
    DataDelete();
    SetEventList(lvw1, 0, 0);
}

// ---- backup, help, product page ------------------------------------------------------------

bool frmDazez::BackUpDatabase()
{
    Procedure p(QStringLiteral("frmDazez.BackUpDatabase"));
    {
        cDAO dao;
        p([&] { platform::setScreenMousePointer(platform::vbHourglass); });
        p([&] { SetStatBar(statBar1, dao.BackUpDatabase(cdlg1) ? kBackedUp : kBackupFailed, 1); });
    }
    p([&] { platform::setScreenMousePointer(platform::vbDefault); });
    // Left on Abort, the pointer would stay an hourglass over every window for the rest of the
    // run.
    if (p.left())
        platform::setScreenMousePointer(platform::vbDefault);
    return false;
}

void frmDazez::mnuContents_Click()
{
    Procedure p(QStringLiteral("frmDazez.mnuContents_Click"), ErrorVariant::Silent);
    core::showHelpTopics(p, this);
}

void frmDazez::mnuIndex_Click()
{
    Procedure p(QStringLiteral("frmDazez.mnuIndex_Click"), ErrorVariant::Silent);
    core::showHelpContext(p, cdlg1, core::kIndexHelpContext);
}

void frmDazez::mnuWebsite_Click()
{
    OpenWebsite(this);
}

void frmDazez::mnuAbout_Click()
{
    if (const auto &show = core::startupHooks().showAbout)
        show();
}

// ---- shutdown ------------------------------------------------------------------------------

bool frmDazez::CloseApp()
{
    Procedure p(QStringLiteral("frmDazez.CloseApp"), ErrorVariant::LogOnly);
    bool result = false;
    std::int16_t answer = 0;
    p([&] { answer = msgExitingApp(); });
    p([&] {
        if (answer != platform::mb::No) {
            SaveAdminData(1);
            result = true;
        }
    });
    return result;
}

void frmDazez::Form_Unload(int &cancel)
{
    Procedure p(QStringLiteral("frmDazez.Form_Unload"), ErrorVariant::Silent);
    bool mayEnd = false;
    p([&] { mayEnd = CloseApp(); });
    if (!mayEnd) {
        cancel = 1;
        return;
    }
    p([&] { removeTrayIcon(); });
    p([&] { platform::services().program->end(0); });
}
