// The editor's menus and toolbar: what they offer, that each command reaches its action, and
// which box the clipboard commands act on.

#include "EditorFixture.h"

#include "core/MainCode_QW.h"
#include "core/ToolbarPictures.h"
#include "editor/frmAbout.h"
#include "platform/forms/Controls.h"
#include "platform/forms/ImageList.h"
#include "platform/forms/Menu.h"
#include "platform/forms/Toolbar.h"

#include <QAction>
#include <QClipboard>
#include <QTimer>
#include <QToolButton>

#include <functional>

using kxeditortest::EditorTest;
using platform::mb::Yes;

namespace {

// "caption" per item, "-" for a separator, "|" before each menu's items.
QStringList menuTree(const platform::Form &form)
{
    QStringList tree;
    for (const platform::Menu *menu : form.Menus()) {
        tree << menu->Caption() + QStringLiteral(" |");
        for (const platform::Menu *item : menu->items()) {
            tree << item->Caption();
            EXPECT_TRUE(item->Shortcut().isEmpty()) << item->Name().toStdString();
        }
    }
    return tree;
}

void clickButton(frmEditor *editor, const QString &key)
{
    QTest::mouseClick(editor->tlBar1->Buttons(key).button(), Qt::LeftButton);
}

void chooseMenuItem(frmEditor *editor, const QString &name)
{
    platform::Menu *item = editor->menu(name);
    ASSERT_NE(item, nullptr) << name.toStdString();
    item->action()->trigger();
}

TEST_F(EditorTest, TheMenusAndTheToolbarOfferTheEditorsCommands)
{
    frmEditor *editor = openEditor(-1);
    EXPECT_EQ(menuTree(*editor), (QStringList{"&File |",
                                              "&New",
                                              "-",
                                              "&Save",
                                              "-",
                                              "&Delete",
                                              "-",
                                              "Close",
                                              "&Edit |",
                                              "&Cut",
                                              "-",
                                              "Copy",
                                              "-",
                                              "&Paste",
                                              "&Help |",
                                              "Contents",
                                              "Index",
                                              "-",
                                              "Almanoria Website",
                                              "-",
                                              "About"}));

    const std::pair<QString, QString> buttons[] = {{"new", "Add new event "},
                                                   {"save", "Save "},
                                                   {"delete", "Delete "},
                                                   {"", ""},
                                                   {"cut", "Cut "},
                                                   {"copy", "Copy "},
                                                   {"paste", "Paste "},
                                                   {"", ""},
                                                   {"", ""},
                                                   {"help", "Help "},
                                                   {"exit", "Exit "}};
    ASSERT_EQ(editor->tlBar1->ButtonCount(), static_cast<int>(std::size(buttons)));
    for (int i = 1; i <= editor->tlBar1->ButtonCount(); ++i) {
        const platform::ToolbarButton &button = editor->tlBar1->Buttons(i);
        const auto &[key, toolTip] = buttons[i - 1];
        EXPECT_EQ(button.style() == platform::ToolbarButton::Style::Separator, key.isEmpty()) << i;
        EXPECT_EQ(button.Key(), key) << i;
        EXPECT_EQ(button.ToolTipText(), toolTip) << i;
        if (key.isEmpty())
            continue;
        // Its own picture from the program's toolbar pictures.
        EXPECT_EQ(editor->ils2->Key(button.Image()), key);
        EXPECT_FALSE(button.button()->icon().isNull()) << key.toStdString();
    }
}

TEST_F(EditorTest, EveryMenuItemAndToolbarButtonReachesItsCommand)
{
    gstrHelpFile = core::programPath(QStringLiteral("virazivuzo.hlp"));
    using Check = std::function<void(frmEditor *)>;
    const struct
    {
        const char *menuItem;   // nullptr: none
        const char *toolbarKey; // nullptr: none
        bool existingEntry;     // else a new one
        Check prepare;
        Check check;
    } cases[] = {
        {"mnuNew", "new", true, nullptr,
         [this](frmEditor *e) {
             EXPECT_EQ(e->prpDataId(), -1);
             EXPECT_TRUE(e->txtName->Text().isEmpty());
             EXPECT_EQ(status(e), QStringLiteral("Add New Mode"));
         }},
        {"mnuSave", "save", false,
         [](frmEditor *e) { e->txtName->setText(QStringLiteral("Saved by command")); },
         [this](frmEditor *e) {
             EXPECT_EQ(rowCount(), 1);
             EXPECT_GT(e->prpDataId(), 0);
             EXPECT_FALSE(e->isDirty());
         }},
        {"mnuDelete", "delete", true,
         [this](frmEditor *) { platform.messageBox.expect(Yes, QStringLiteral("Deleting -- ")); },
         [this](frmEditor *e) {
             EXPECT_EQ(rowCount(), 0);
             EXPECT_EQ(status(e), QStringLiteral("Your data has been deleted."));
         }},
        {"mnuContents", "help", false, nullptr,
         [this](frmEditor *e) {
             ASSERT_EQ(platform.help.calls.size(), 1u);
             EXPECT_EQ(platform.help.calls[0].owner, e);
             EXPECT_EQ(platform.help.calls[0].helpFile, gstrHelpFile);
             EXPECT_EQ(platform.help.calls[0].command, platform::help::HELP_TAB);
         }},
        {"mnuIndex", nullptr, false, nullptr,
         [this](frmEditor *e) {
             ASSERT_EQ(platform.help.calls.size(), 1u);
             EXPECT_EQ(platform.help.calls[0].owner, e);
             EXPECT_EQ(platform.help.calls[0].helpFile,
                       core::programPath(QStringLiteral("virazivuzo.hlp")));
             EXPECT_EQ(platform.help.calls[0].command, platform::help::HELP_CONTEXT);
             EXPECT_EQ(platform.help.calls[0].data, 5u);
         }},
        {"mnuWebsite", nullptr, false, nullptr,
         [this](frmEditor *e) {
             ASSERT_EQ(platform.shell.calls.size(), 1u);
             EXPECT_EQ(platform.shell.calls[0].owner, e);
             EXPECT_EQ(platform.shell.calls[0].operation, QStringLiteral("open"));
             EXPECT_EQ(platform.shell.calls[0].file, kProductPageUrl);
         }},
        {"mnuExit", "exit", true,
         [](frmEditor *e) { e->txtNotes->setText(QStringLiteral("unsaved")); },
         [this](frmEditor *e) {
             EXPECT_TRUE(e->isUnloaded());
             EXPECT_FALSE(e->property("mblnIsRunning").toBool());
             EXPECT_EQ(vb::CStr(stored(e->prpDataId(), QStringLiteral("Dazez_Notes"))), QString())
                 << "closed without asking or saving";
         }},
    };
    for (const auto &c : cases) {
        for (const char *way : {c.menuItem, c.toolbarKey}) {
            if (!way)
                continue;
            SCOPED_TRACE(way);
            execute(QStringLiteral("DELETE FROM Dazez"));
            platform.help.calls.clear();
            platform.shell.calls.clear();
            const std::int32_t id =
                c.existingEntry
                    ? addEntry(QStringLiteral("Hugo"), QStringLiteral("1970-05-05 00:00:00"))
                    : -1;
            QPointer<frmEditor> editor = openEditor(id);
            if (c.prepare)
                c.prepare(editor);
            if (way == c.menuItem)
                chooseMenuItem(editor, QString::fromLatin1(way));
            else
                clickButton(editor, QString::fromLatin1(way));
            ASSERT_TRUE(editor);
            c.check(editor);
            editor->Unload();
        }
    }
    EXPECT_EQ(platform.messageBox.calls().size(), 2u) << "the two delete questions only";
    EXPECT_EQ(platform.messageBox.pendingAnswers(), 0u);
}

TEST_F(EditorTest, AboutShowsTheAboutWindowModallyAndReturnsWhenItCloses)
{
    frmEditor *editor = openEditor(-1);
    bool seen = false;
    QTimer::singleShot(0, [&] {
        for (platform::Form *form : platform::Forms())
            if (auto *about = qobject_cast<frmAbout *>(form)) {
                seen = true;
                EXPECT_TRUE(about->isVisible());
                EXPECT_EQ(about->windowModality(), Qt::ApplicationModal);
                about->Unload();
            }
    });
    chooseMenuItem(editor, QStringLiteral("mnuAbout"));
    EXPECT_TRUE(seen);
    EXPECT_TRUE(editor->isVisible());
}

// The toolbar first puts the focus in the name box, which selects the whole name; the Edit menu
// works on the box that has the focus, here the notes with "cd" selected.
TEST_F(EditorTest, TheToolbarsClipboardButtonsActOnTheNameTheEditMenuOnTheFocusedBox)
{
    const struct
    {
        const char *command;
        bool toolbar;
        QString name;
        QString notes;
        QString clipboard;
    } cases[] = {
        {"cut", true, "", "abcdef", "Grandma Rose"},
        {"copy", true, "Grandma Rose", "abcdef", "Grandma Rose"},
        {"paste", true, "XY", "abcdef", "XY"},
        {"mnuCut", false, "Grandma Rose", "abef", "cd"},
        {"mnuCopy", false, "Grandma Rose", "abcdef", "cd"},
        {"mnuPaste", false, "Grandma Rose", "abXYef", "XY"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.command);
        frmEditor *editor = openEditor(-1);
        editor->txtName->setText(QStringLiteral("Grandma Rose"));
        editor->txtNotes->setText(QStringLiteral("abcdef"));
        editor->txtNotes->SetFocus();
        QApplication::processEvents();
        editor->txtNotes->setSelStart(2);
        editor->txtNotes->setSelLength(2);
        QApplication::clipboard()->setText(QStringLiteral("XY"));

        if (c.toolbar)
            clickButton(editor, QString::fromLatin1(c.command));
        else
            chooseMenuItem(editor, QString::fromLatin1(c.command));

        EXPECT_EQ(editor->txtName->Text(), c.name);
        EXPECT_EQ(editor->txtNotes->Text(), c.notes);
        EXPECT_EQ(QApplication::clipboard()->text(), c.clipboard);
        EXPECT_EQ(editor->ActiveControl(),
                  c.toolbar ? static_cast<platform::Control *>(editor->txtName) : editor->txtNotes);
        editor->Unload();
    }
}

TEST_F(EditorTest, TheEditMenuIsReachedByTheKeyboardFromTheNotes)
{
    frmEditor *editor = openEditor(-1);
    editor->txtNotes->setText(QStringLiteral("keep this"));
    editor->txtNotes->SetFocus();
    QApplication::processEvents();
    editor->txtNotes->setSelStart(5);
    editor->txtNotes->setSelLength(4);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_E, Qt::AltModifier);
    QWidget *open = QApplication::activePopupWidget();
    ASSERT_EQ(open, editor->mnuEdit->popup());
    QTest::keyClick(open, Qt::Key_C);
    EXPECT_EQ(editor->txtNotes->Text(), QStringLiteral("keep "));
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("this"));
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
}

TEST_F(EditorTest, TheFocusStartsInTheNameBox)
{
    const std::int32_t id = addEntry(QStringLiteral("Ida"), QStringLiteral("1950-02-02 00:00:00"));
    for (std::int32_t shown : {-1, id}) {
        frmEditor *editor = openEditor(shown);
        QApplication::processEvents();
        EXPECT_EQ(editor->ActiveControl(), editor->txtName) << shown;
        editor->Unload();
    }
}

} // namespace
