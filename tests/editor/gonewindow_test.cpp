// The editor closed behind one of its own boxes (a screen reader's command acts on a window
// behind a modal box): the procedure that waits on the box goes on after it, and each step that
// reaches the gone editor's controls raises 91 through that procedure's own variant.

#include "EditorFixture.h"

#include "platform/forms/Controls.h"
#include "platform/forms/ImageList.h"
#include "platform/forms/Menu.h"
#include "platform/forms/Toolbar.h"
#include "platform/services/Services.h"

#include <QAction>
#include <QTest>
#include <QToolButton>

#include <functional>
#include <vector>

namespace {

using kxeditortest::EditorTest;
using platform::mb::Abort;
using platform::mb::Cancel;
using platform::mb::No;
using platform::mb::Yes;

const QString kSaveQuestion = QStringLiteral("Would you like to Save your changes");

struct Box
{
    int answer;
    QString promptContains;
    bool closeTheEditorMeanwhile = false;
};

// The procedures whose 91 boxes were shown from box `from` on, in order.
QStringList errorBoxes(const kxtest::ScriptedMessageBox &boxes, std::size_t from)
{
    const QString first = QStringLiteral("An error has occured: 91\r\n");
    QStringList names;
    for (std::size_t i = from; i < boxes.calls().size(); ++i)
        if (boxes.calls()[i].prompt.startsWith(first))
            names << boxes.calls()[i].prompt.split(QStringLiteral("\r\n")).last();
    return names;
}

TEST_F(EditorTest, ClosedBehindItsOwnBoxTheEditorEndsEachCommandAsTheCommandsVariantSays)
{
    const struct Case
    {
        const char *name;
        bool changed; // the name changed before the command
        std::function<void(frmEditor &)> command;
        std::vector<Box> boxes;
        QStringList boxed91;  // the 91 boxes, by procedure
        QStringList logged91; // every 91 logged, by procedure
        int rowsAfter;
    } cases[] = {
        {"File > Delete, Yes: the row goes, the rest of the delete is left as logged",
         false,
         [](frmEditor &e) { e.mnuDelete->action()->trigger(); },
         {{Yes, QStringLiteral("Deleting -- Dora"), true}},
         {},
         {QStringLiteral("frmEditor.DeleteEvent")},
         0},
        {"the toolbar's delete, No",
         false,
         [](frmEditor &e) {
             QTest::mouseClick(e.tlBar1->Buttons(QStringLiteral("delete")).button(),
                               Qt::LeftButton);
         },
         {{No, QStringLiteral("Deleting -- Dora"), true}},
         {},
         {QStringLiteral("frmEditor.DeleteEvent")},
         1},
        {"File > New after a change, No: each dialog procedure that reaches a field asks",
         true,
         [](frmEditor &e) { e.mnuNew->action()->trigger(); },
         {{No, kSaveQuestion, true},
          {Abort, QStringLiteral("ClearSpecificDataFields")},
          {Abort, QStringLiteral("frmEditor.FillLocalComboBoxes")},
          {Abort, QStringLiteral("frmEditor.NewEvent")}},
         {QStringLiteral("ClearSpecificDataFields"),
          QStringLiteral("frmEditor.FillLocalComboBoxes"), QStringLiteral("frmEditor.NewEvent")},
         {QStringLiteral("ClearSpecificDataFields"),
          QStringLiteral("frmEditor.FillLocalComboBoxes"), QStringLiteral("frmEditor.NewEvent")},
         1},
        {"File > New after a change, Yes: the save is left as logged, nothing written",
         true,
         [](frmEditor &e) { e.mnuNew->action()->trigger(); },
         {{Yes, kSaveQuestion, true}},
         {},
         {QStringLiteral("frmVemo.SaveVemoEvent")},
         1},
        {"File > New after a change, Cancel: nothing more is done",
         true,
         [](frmEditor &e) { e.mnuNew->action()->trigger(); },
         {{Cancel, kSaveQuestion, true}},
         {},
         {},
         1},
        {"deleting a changed entry, closed at the reset's question",
         true,
         [](frmEditor &e) { e.mnuDelete->action()->trigger(); },
         {{Yes, QStringLiteral("Deleting -- Dora")},
          {No, kSaveQuestion, true},
          {Abort, QStringLiteral("ClearSpecificDataFields")},
          {Abort, QStringLiteral("frmEditor.FillLocalComboBoxes")},
          {Abort, QStringLiteral("frmEditor.NewEvent")}},
         {QStringLiteral("ClearSpecificDataFields"),
          QStringLiteral("frmEditor.FillLocalComboBoxes"), QStringLiteral("frmEditor.NewEvent")},
         {QStringLiteral("ClearSpecificDataFields"),
          QStringLiteral("frmEditor.FillLocalComboBoxes"), QStringLiteral("frmEditor.NewEvent"),
          QStringLiteral("frmEditor.DeleteEvent")},
         0},
        {"a new event type, Yes: the type is added, the fields then raise",
         false,
         [](frmEditor &e) {
             e.cboEvents->setText(QStringLiteral("Party"));
             e.CheckEventName();
         },
         {{Yes, QStringLiteral("Party"), true},
          {Abort, QStringLiteral("frmEditor.FillLocalComboBoxes")},
          {Abort, QStringLiteral("frmDazez.CheckEventName")}},
         {QStringLiteral("frmEditor.FillLocalComboBoxes"),
          QStringLiteral("frmDazez.CheckEventName")},
         {QStringLiteral("frmEditor.FillLocalComboBoxes"),
          QStringLiteral("frmDazez.CheckEventName")},
         1},
    };

    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        execute(QStringLiteral("DELETE FROM Dazez"));
        QFile::remove(platform.programFolder() + QStringLiteral("/DebugLog.TXT"));
        const std::int32_t id =
            addEntry(QStringLiteral("Dora"), QStringLiteral("1990-01-02 00:00:00"));
        QPointer<frmEditor> editor = openEditor(id);
        if (c.changed)
            editor->txtName->setText(QStringLiteral("Dorothea"));
        const std::size_t boxesBefore = platform.messageBox.calls().size();
        for (const Box &box : c.boxes) {
            std::function<void()> meanwhile;
            if (box.closeTheEditorMeanwhile)
                meanwhile = [editor] { kxtest::closeBehindTheBox(editor); };
            platform.messageBox.expect(box.answer, box.promptContains, meanwhile);
        }

        c.command(*editor);

        ASSERT_TRUE(editor) << "deleted under the command that was still running";
        EXPECT_TRUE(editor->isUnloaded());
        EXPECT_FALSE(editor->isRunning());
        EXPECT_EQ(platform.messageBox.calls().size() - boxesBefore, c.boxes.size());
        EXPECT_EQ(platform.messageBox.pendingAnswers(), 0u);
        EXPECT_EQ(errorBoxes(platform.messageBox, boxesBefore), c.boxed91);
        EXPECT_EQ(loggedProcedures(vb::err::ObjectVariableNotSet), c.logged91);
        EXPECT_EQ(rowCount(), c.rowsAfter);
        EXPECT_EQ(vb::CStr(stored(id, QStringLiteral("Dazez_Name"))),
                  c.rowsAfter ? QStringLiteral("Dora") : QString());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_FALSE(editor) << "the gone editor was never deleted";
        mainWindow->calls.clear();
    }
}

} // namespace
