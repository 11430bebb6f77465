// The main window closed behind one of its own boxes or dialogs (a screen reader's command acts
// on a window behind a modal box). Its close asks the exit question: No goes on with the command
// as if nothing had happened, Yes ends the program there. Only a window whose unload lets it go
// shows what a command meets once its window is gone: 91 through the command's own variant.

#include "EditorDouble.h"
#include "MainWindowFixture.h"

#include "platform/forms/Menu.h"
#include "platform/forms/MousePointer.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTest>

#include <functional>
#include <map>

using kxmaintest::EditorDouble;
using kxmaintest::EditorHookScope;
using kxmaintest::MainWindowTest;
using kxmaintest::StoredSettings;
using platform::mb::Abort;
using platform::mb::No;
using platform::mb::Yes;

namespace {

const QString kExiting = QStringLiteral("Exiting Almanoria");
const QString kDeleting = QStringLiteral("Deleting -- Ann");
const QString kDeleted = QStringLiteral("Your data has been deleted.");
const QString kBackedUp = QStringLiteral("The database has been backed up");

// The real window's unload asks, then ends the program or keeps the window; this one lets go
// without asking, as if the end had ended nothing.
class MainWindowThatLetsGo : public frmDazez
{
protected:
    void Form_Unload(int &) override {}
};

// The procedures whose 91 boxes were shown, in order.
QStringList errorBoxes(const kxtest::ScriptedMessageBox &boxes)
{
    const QString first = QStringLiteral("An error has occured: 91\r\n");
    QStringList names;
    for (const kxtest::MessageBoxCall &call : boxes.calls())
        if (call.prompt.startsWith(first))
            names << call.prompt.split(QStringLiteral("\r\n")).last();
    return names;
}

class GoneMainWindowTest : public MainWindowTest
{
protected:
    // Ann and Bob, both coming events; the notice timer on.
    void SetUp() override
    {
        MainWindowTest::SetUp();
        ann = addEntry(QStringLiteral("Ann"), QStringLiteral("1980-12-11"));
        addEntry(QStringLiteral("Bob"), QStringLiteral("1980-12-12"));
        StoredSettings s;
        s.timerOn = 1;
        store(s);
    }

    void loadWindow(bool letsGo)
    {
        frm = letsGo ? new MainWindowThatLetsGo : new frmDazez;
        frm->Timer2->stop();
        frm->Load();
        frm->lvw1->ListItems().Item(1)->setSelected(true); // Ann, the soonest
        frm->mlngCurrentId = ann;
    }

    // A command of the window and the box or dialog it waits on, behind which the window is
    // closed by `close`; `answer` answers that box (Yes to the delete question, a file name in
    // the save dialog).
    struct Command
    {
        const char *name;
        std::function<void(frmDazez &)> run;
        bool backup = false; // waits on the save dialog rather than the delete question
    };
    std::vector<Command> commands()
    {
        return {
            {"File > Delete", [](frmDazez &w) { w.menu(QStringLiteral("mnuDelete"))->click(); }},
            {"the list's pop-up Delete",
             [this](frmDazez &w) {
                 platform.popupMenus.expectChoice(QStringLiteral("mnuPopupDelete"));
                 w.lvw1_MouseDown(2, 0, 0, 0);
             }},
            {"Option > Backup", [](frmDazez &w) { w.menu(QStringLiteral("mnuBackupDB"))->click(); },
             true},
        };
    }
    void closeBehind(const Command &command, std::function<void()> close)
    {
        if (command.backup)
            platform.fileDialogs.expectPath(backup(), std::move(close));
        else
            platform.messageBox.expect(Yes, kDeleting, std::move(close));
    }

    int rows() { return value(QStringLiteral("SELECT COUNT(*) FROM Dazez")).toInt(); }
    QString backup() const
    {
        return QDir(platform.programFolder()).filePath(QStringLiteral("copy.mdb"));
    }
    void reset()
    {
        delete frm.data();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        platform.messageBox = kxtest::ScriptedMessageBox();
        platform.program.endedWith.reset();
        platform::setScreenMousePointer(platform::vbDefault); // an end inside the backup left it
        QFile::remove(backup());
        QFile::remove(platform.programFolder() + QStringLiteral("/DebugLog.TXT"));
        execute(QStringLiteral("DELETE FROM Dazez WHERE Dazez_Id <> ") + QString::number(ann));
        if (rows() == 0)
            ann = addEntry(QStringLiteral("Ann"), QStringLiteral("1980-12-11"));
        addEntry(QStringLiteral("Bob"), QStringLiteral("1980-12-12"));
        execute(QStringLiteral("UPDATE Settings SET Settings_LastRecordViewed = 0"));
    }

    std::int32_t ann = 0;
};

TEST_F(GoneMainWindowTest, ClosedBehindItsOwnBoxTheWindowAsksToExitThenGoesOnOrEnds)
{
    for (const Command &command : commands()) {
        for (const int exit : {No, Yes}) {
            SCOPED_TRACE(std::string(command.name) + (exit == Yes ? ", exit Yes" : ", exit No"));
            loadWindow(false);
            // No keeps the window: the close runs in a loop of the box's, as it does behind a
            // real box. Yes ends the program inside the box; the test's end leaves at once by
            // an exception, which must not cross an event loop, so that close is sent directly.
            closeBehind(command, [this, exit] {
                if (exit == No)
                    kxtest::closeBehindTheBox(frm);
                else
                    frm->close();
            });
            platform.messageBox.expect(exit, kExiting);

            if (exit == Yes) {
                EXPECT_THROW(command.run(*frm), platform::ProgramEnded);
                EXPECT_EQ(rows(), 2) << "nothing after the box ran";
                EXPECT_FALSE(QFile::exists(backup()));
                EXPECT_EQ(setting("Settings_LastRecordViewed"), QString::number(ann));
            } else {
                command.run(*frm);
                ASSERT_TRUE(frm);
                EXPECT_FALSE(frm->isUnloaded());
                EXPECT_EQ(rows(), command.backup ? 2 : 1);
                EXPECT_EQ(QFile::exists(backup()), command.backup);
                EXPECT_EQ(status(), command.backup ? kBackedUp : kDeleted);
                EXPECT_EQ(frm->lvw1->ListItems().Count(), rows());
                EXPECT_TRUE(frm->Timer1->isActive());
                EXPECT_EQ(platform::screenMousePointer(), platform::vbDefault);
            }
            EXPECT_EQ(platform.messageBox.pendingAnswers(), 0u);
            EXPECT_EQ(platform.fileDialogs.pendingAnswers(), 0u);
            EXPECT_TRUE(errorBoxes(platform.messageBox).isEmpty());
            reset();
        }
    }
}

TEST_F(GoneMainWindowTest, TheExitQuestionClosedBehindItselfAsksNothingMore)
{
    loadWindow(false);
    platform.messageBox.expect(No, kExiting, [this] { kxtest::closeBehindTheBox(frm); });
    frm->menu(QStringLiteral("mnuExit"))->click();
    EXPECT_EQ(platform.messageBox.calls().size(), 1u);
    ASSERT_TRUE(frm);
    EXPECT_FALSE(frm->isUnloaded());
    EXPECT_TRUE(frm->isVisible());
}

TEST_F(GoneMainWindowTest, GoneBehindItsOwnBoxTheWindowsCommandsRaise91ByTheirOwnVariant)
{
    struct Expected
    {
        QStringList boxed91;  // the 91 boxes, by procedure
        QStringList logged91; // every 91 logged, by procedure
        int rows;
    };
    const std::map<std::string, Expected> expected = {
        // Log-only: the row goes, the rest of the delete is left as logged.
        {"File > Delete", {{}, {QStringLiteral("frmEditor.DeleteEvent")}, 1}},
        // ... and the pop-up's refill after it meets the gone list, logged as well.
        {"the list's pop-up Delete",
         {{},
          {QStringLiteral("frmEditor.DeleteEvent"), QStringLiteral("frmDazez.SetEventList")},
          1}},
        // The backup's own procedure logs only, then the command's asks.
        {"Option > Backup",
         {{QStringLiteral("frmDazez.BackUpDatabase")},
          {QStringLiteral("cDAO.BackUpDatabase"), QStringLiteral("frmDazez.BackUpDatabase")},
          2}},
    };
    for (const Command &command : commands()) {
        SCOPED_TRACE(command.name);
        const Expected &e = expected.at(command.name);
        loadWindow(true);
        QSignalSpy noticeTicks(frm->Timer1, &QTimer::timeout);
        closeBehind(command, [this] { kxtest::closeBehindTheBox(frm); });
        for (int i = 0; i < e.boxed91.size(); ++i)
            platform.messageBox.expect(Abort, e.boxed91.at(i));

        command.run(*frm);

        ASSERT_TRUE(frm) << "deleted under the command that was still running";
        EXPECT_TRUE(frm->isUnloaded());
        EXPECT_EQ(platform.messageBox.pendingAnswers(), 0u);
        EXPECT_EQ(errorBoxes(platform.messageBox), e.boxed91);
        EXPECT_EQ(loggedProcedures(vb::err::ObjectVariableNotSet), e.logged91);
        EXPECT_EQ(rows(), e.rows);
        EXPECT_FALSE(QFile::exists(backup()));
        EXPECT_EQ(platform::screenMousePointer(), platform::vbDefault);
        QTest::qWait(2 * frm->Timer1->interval());
        EXPECT_EQ(noticeTicks.count(), 0) << "a gone window's timer fired";
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_FALSE(frm) << "the gone window was never deleted";
        reset();
    }
}

TEST_F(GoneMainWindowTest, GoneWhileTheEditorIsOpenTheWaitEndsAndTheNoticeTimerStaysQuiet)
{
    loadWindow(true);
    QSignalSpy noticeTicks(frm->Timer1, &QTimer::timeout);
    EditorHookScope editors([this](EditorDouble &editor) {
        frm->Unload();
        // The wait goes on for a while, its loop running whatever is due meanwhile.
        QTimer::singleShot(20, &editor, [&editor] { editor.Unload(); });
    });
    frm->LoadEditor();
    ASSERT_EQ(editors.openings.size(), 1u);
    ASSERT_TRUE(frm);
    EXPECT_TRUE(frm->isUnloaded());
    EXPECT_TRUE(platform.messageBox.calls().empty());
    QTest::qWait(2 * frm->Timer1->interval());
    EXPECT_EQ(noticeTicks.count(), 0);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(frm);
}

} // namespace
