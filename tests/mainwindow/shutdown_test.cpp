// Leaving the program: every way of closing the main window asks once; No changes nothing, Yes
// stores the last record viewed and nothing else, and ends.

#include "EditorDouble.h"
#include "MainWindowFixture.h"

#include "platform/forms/Menu.h"
#include "platform/forms/Toolbar.h"

#include <QRegularExpression>
#include <QTest>

using kxmaintest::EditorDouble;
using kxmaintest::EditorHookScope;
using kxmaintest::MainWindowTest;

namespace {

const QString kExiting = QStringLiteral("Exiting Almanoria");

struct ExitPath
{
    const char *name;
    std::function<void(frmDazez &)> run;
};

const std::vector<ExitPath> &exitPaths()
{
    static const std::vector<ExitPath> paths = {
        {"close box", [](frmDazez &w) { w.close(); }},
        {"File > Exit", [](frmDazez &w) { w.menu(QStringLiteral("mnuExit"))->click(); }},
        {"Ctrl+Q",
         [](frmDazez &w) {
             w.activateWindow();
             QCoreApplication::processEvents();
             QTest::keyClick(&w, Qt::Key_Q, Qt::ControlModifier);
         }},
        {"toolbar exit", [](frmDazez &w) { w.tlBar1->Buttons(QStringLiteral("exit")).click(); }},
    };
    return paths;
}

class ShutdownTest : public MainWindowTest
{
protected:
    // The whole Settings row as text, column by column.
    QStringList settingsRow()
    {
        auto rs =
            gdbMain->OpenRecordset(QStringLiteral("SELECT * FROM Settings"), jet::dbOpenSnapshot);
        QStringList out;
        for (const QString &name : rs->FieldNames()) {
            const vb::Variant v = rs->Field(name);
            out << name + QLatin1Char('=') + (v.isNull() ? QStringLiteral("Null") : vb::CStr(v));
        }
        rs->Close();
        return out;
    }
};

TEST_F(ShutdownTest, NoKeepsTheWindowAndTheRowOnEveryPath)
{
    load();
    const QStringList before = settingsRow();
    for (const ExitPath &path : exitPaths()) {
        SCOPED_TRACE(path.name);
        platform.messageBox = kxtest::ScriptedMessageBox();
        platform.messageBox.expect(platform::mb::No, kExiting);
        path.run(*frm);
        ASSERT_EQ(platform.messageBox.calls().size(), 1u);
        EXPECT_EQ(platform.messageBox.calls()[0].prompt, kExiting);
        EXPECT_EQ(platform.messageBox.calls()[0].style, 36);
        ASSERT_TRUE(frm);
        EXPECT_TRUE(frm->isVisible());
        EXPECT_FALSE(frm->isUnloaded());
        EXPECT_FALSE(platform.program.endedWith.has_value());
    }
    EXPECT_EQ(settingsWrites(), 0);
    EXPECT_EQ(settingsRow(), before);
}

TEST_F(ShutdownTest, YesStoresOnlyTheLastRecordViewedAndEndsOnEveryPath)
{
    const std::int32_t ann = addEntry(QStringLiteral("Ann"), QStringLiteral("1980-12-12"));
    for (const ExitPath &path : exitPaths()) {
        SCOPED_TRACE(path.name);
        load();
        frm->mlngCurrentId = ann;
        QStringList expected = settingsRow();
        expected.replaceInStrings(
            QRegularExpression(QStringLiteral("^Settings_LastRecordViewed=.*")),
            QStringLiteral("Settings_LastRecordViewed=%1").arg(ann));
        execute(QStringLiteral("UPDATE SettingsWrites SET n = 0"));
        platform.messageBox = kxtest::ScriptedMessageBox();
        platform.messageBox.expect(platform::mb::Yes, kExiting);
        EXPECT_THROW(path.run(*frm), platform::ProgramEnded);
        EXPECT_EQ(platform.messageBox.calls().size(), 1u);
        EXPECT_EQ(settingsWrites(), 1);
        EXPECT_EQ(settingsRow(), expected);
        delete frm.data();
        platform.program.endedWith.reset();
        execute(QStringLiteral("UPDATE Settings SET Settings_LastRecordViewed = 0"));
    }
}

// While the editor is open the main window is disabled, and a user's way out of it (its close
// box, Ctrl+Q) asks nothing and ends nothing: the editor stays open with what it holds.
TEST_F(ShutdownTest, AUsersWayOutDoesNothingWhileTheEditorIsOpen)
{
    for (const ExitPath &path : exitPaths()) {
        const std::string name = path.name;
        if (name != "close box" && name != "Ctrl+Q")
            continue;
        SCOPED_TRACE(path.name);
        load();
        bool editorStayed = false;
        EditorHookScope editors([&](EditorDouble &editor) {
            path.run(*frm);
            QCoreApplication::processEvents();
            editorStayed = !editor.isUnloaded() && editor.isVisible();
            editor.Unload();
        });
        frm->LoadEditor();
        EXPECT_TRUE(editorStayed);
        EXPECT_TRUE(platform.messageBox.calls().empty());
        EXPECT_FALSE(platform.program.endedWith.has_value());
        ASSERT_TRUE(frm);
        EXPECT_FALSE(frm->isUnloaded());
        EXPECT_TRUE(frm->isVisible());
        EXPECT_TRUE(frm->isEnabled());
        EXPECT_EQ(settingsWrites(), 0);
        delete frm.data();
        platform.messageBox = kxtest::ScriptedMessageBox();
    }
}

// From the tray: No keeps the icon; Yes takes it away before the program ends.
TEST_F(ShutdownTest, TheQuestionFromTheTrayKeepsTheIconOnNoAndRemovesItOnYes)
{
    load();
    ASSERT_TRUE(frm->SysTrayPlace());
    platform.messageBox.expect(platform::mb::No, kExiting);
    frm->mnuExit_Click();
    EXPECT_TRUE(platform.tray.anyIcon());
    EXPECT_FALSE(frm->isVisible());

    platform.messageBox.expect(platform::mb::Yes, kExiting);
    EXPECT_THROW(frm->mnuExit_Click(), platform::ProgramEnded);
    EXPECT_FALSE(platform.tray.anyIcon());
    EXPECT_EQ(platform.tray.calls.back().message, platform::NIM_DELETE);
    EXPECT_EQ(platform.messageBox.calls().size(), 2u);
    platform.program.endedWith.reset();
}

} // namespace
