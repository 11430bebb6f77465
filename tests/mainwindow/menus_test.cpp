// The main window's menu bar, toolbar and pop-up menus: the tree as the user sees it, every
// command reached through its item, key or button, and the buttons that have nothing to act on.

#include "EditorDouble.h"
#include "MainWindowFixture.h"

#include "platform/forms/Menu.h"
#include "platform/forms/Toolbar.h"

#include "platform/forms/TabControl.h"

#include <QAction>
#include <QMenuBar>
#include <QTest>
#include <QToolButton>

using kxmaintest::MainWindowTest;

namespace {

class MenusTest : public MainWindowTest
{
protected:
    // The captions of a menu's items as shown, separators as "-", hidden items left out.
    static QStringList shown(const platform::Menu &menu)
    {
        QStringList out;
        for (const QAction *action : menu.popup()->actions())
            if (action->isVisible())
                out << (action->isSeparator() ? QStringLiteral("-") : action->text());
        return out;
    }
};

TEST_F(MenusTest, TheMenuBarShowsTheTreeWithItsAccessKeysAndShortcuts)
{
    load();
    QStringList bar;
    for (const QAction *action : frm->menuBar()->actions())
        if (action->isVisible())
            bar << action->text();
    EXPECT_EQ(bar, (QStringList{"&File", "&Edit", "&Option", "&Help"}));

    const struct
    {
        const char *menu;
        QStringList items;
    } menus[] = {
        {"mnuFile", {"&New", "-", "&Delete", "-", "E&xit"}},
        {"mnuEdit", {"&Refresh"}},
        {"mnuOptions", {"&Show coming Events", "-", "&Run in System Tray", "-", "&Backup database"}},
        {"mnuHelp", {"&Contents", "&Index", "-", "Almanoria Website", "-", "&About"}},
        {"mnuPopup", {"&Edit", "-", "&Delete"}},
        {"mnuSysTray", {"Open Almanoria", "-", "Show Events", "-", "Quit"}},
    };
    for (const auto &m : menus) {
        SCOPED_TRACE(m.menu);
        platform::Menu *menu = frm->menu(QString::fromLatin1(m.menu));
        ASSERT_TRUE(menu && menu->popup());
        EXPECT_EQ(shown(*menu), m.items);
    }
    // The two pop-up menus are never seen in the bar.
    EXPECT_FALSE(frm->mnuPopup->Visible());
    EXPECT_FALSE(frm->mnuSysTray->Visible());

    const struct
    {
        const char *item;
        QKeySequence key;
    } shortcuts[] = {{"mnuExit", QKeySequence(Qt::CTRL | Qt::Key_Q)},
                     {"mnuShowEvents", QKeySequence(Qt::Key_F5)},
                     {"mnuSystemTray", QKeySequence(Qt::Key_F6)},
                     {"mnuBackupDB", QKeySequence(Qt::Key_F2)},
                     {"mnuWebsite", QKeySequence(Qt::Key_F11)}};
    for (const auto &s : shortcuts)
        EXPECT_EQ(frm->menu(QString::fromLatin1(s.item))->action()->shortcut(), s.key) << s.item;
}

TEST_F(MenusTest, TheToolbarHasItsElevenPositionsWithTheirToolTipsAndPictures)
{
    load();
    const struct
    {
        const char *key; // nullptr: a separator
        const char *toolTip;
        bool enabled;
    } expected[] = {
        {"new", "Add new event ", true}, {"save", "Save ", false},
        {"delete", "Delete ", true},     {nullptr, nullptr, false},
        {"cut", "Cut ", false},          {"copy", "Copy ", false},
        {"showevents", "Show coming events", true},
        {"systray", "Run in System Tray ", true},
        {nullptr, nullptr, false},       {"help", "Help ", true},
        {"exit", "Exit ", true},
    };
    ASSERT_EQ(frm->tlBar1->ButtonCount(), 11);
    for (int i = 1; i <= 11; ++i) {
        SCOPED_TRACE(i);
        const auto &e = expected[i - 1];
        platform::ToolbarButton &button = frm->tlBar1->Buttons(i);
        if (!e.key) {
            EXPECT_EQ(button.style(), platform::ToolbarButton::Style::Separator);
            continue;
        }
        EXPECT_EQ(button.Key(), QString::fromLatin1(e.key));
        EXPECT_EQ(button.ToolTipText(), QString::fromLatin1(e.toolTip));
        EXPECT_EQ(button.button()->accessibleName(), QString::fromLatin1(e.toolTip).trimmed());
        EXPECT_FALSE(button.button()->icon().isNull());
        EXPECT_EQ(button.Enabled(), e.enabled);
    }
    // The toolbar lies above the tabs, not over them.
    EXPECT_LE(frm->tlBar1->geometry().bottom(), frm->tab1->geometry().top());
}

TEST_F(MenusTest, EveryCommandIsReachedThroughItsMenuItemKeyAndButton)
{
    const std::int32_t ann = addEntry(QStringLiteral("Ann"), QStringLiteral("1980-12-12"));
    load();
    frm->mlngCurrentId = ann;
    kxmaintest::EditorHookScope editors;
    const std::vector<kxmaintest::EditorOpening> &openings = editors.openings;
    frm->activateWindow();

    // Each way in, and what only that command leaves behind.
    const struct
    {
        const char *name;
        std::function<void()> run;
        std::function<bool()> reached;
    } ways[] = {
        {"File > New", [&] { frm->menu(QStringLiteral("mnuNew"))->click(); },
         [&] { return openings.size() == 1 && openings.back().id == -1; }},
        {"button new", [&] { frm->tlBar1->Buttons(QStringLiteral("new")).click(); },
         [&] { return openings.size() == 2 && openings.back().id == -1; }},
        {"F2", [&] { QTest::keyClick(frm, Qt::Key_F2); },
         [&] { return platform.fileDialogs.calls().size() == 1; }},
        {"F11", [&] { QTest::keyClick(frm, Qt::Key_F11); },
         [&] { return platform.shell.calls.size() == 1; }},
        {"Help > Contents", [&] { frm->menu(QStringLiteral("mnuContents"))->click(); },
         [&] { return platform.help.calls.size() == 1; }},
        {"button help", [&] { frm->tlBar1->Buttons(QStringLiteral("help")).click(); },
         [&] {
             return platform.help.calls.size() == 2 &&
                    platform.help.calls.back().command == platform::help::HELP_TAB;
         }},
        {"Help > Index", [&] { frm->menu(QStringLiteral("mnuIndex"))->click(); },
         [&] {
             return platform.help.calls.size() == 3 &&
                    platform.help.calls.back().command == platform::help::HELP_CONTEXT;
         }},
        {"F5", [&] { QTest::keyClick(frm, Qt::Key_F5); },
         [&] { return kxmaintest::openNotices().size() == 1; }},
        {"Edit > Refresh",
         [&] {
             frm->statBar1->Panels(1).setText(QString());
             frm->menu(QStringLiteral("mnuRefresh"))->click();
         },
         [&] { return column(0) == QStringList{"Ann"}; }},
        {"button delete (No)",
         [&] {
             frm->mlngCurrentId = ann; // "new" made it -1
             platform.messageBox.expect(platform::mb::No, QStringLiteral("Deleting -- Ann"));
             frm->tlBar1->Buttons(QStringLiteral("delete")).click();
         },
         [&] { return status() == QStringLiteral("Your data has not been deleted."); }},
        {"F6",
         [&] {
             // The notice that F5 opened took the focus; the keys are the main window's again.
             frm->activateWindow();
             QCoreApplication::processEvents();
             QTest::keyClick(frm, Qt::Key_F6);
         },
         [&] { return !frm->isVisible() && platform.tray.anyIcon(); }},
    };
    platform.fileDialogs.expectCancel();
    for (const auto &way : ways) {
        SCOPED_TRACE(way.name);
        way.run();
        QCoreApplication::processEvents();
        EXPECT_TRUE(way.reached());
    }
    EXPECT_EQ(platform.messageBox.pendingAnswers(), 0u);
}

TEST_F(MenusTest, TheButtonsWithNothingToActOnDoNothing)
{
    addEntry(QStringLiteral("Ann"), QStringLiteral("1980-12-12"));
    load();
    const QString before = status();
    for (const char *key : {"save", "cut", "copy"}) {
        frm->tlBar1_ButtonClick(&frm->tlBar1->Buttons(QString::fromLatin1(key)));
        EXPECT_EQ(status(), before) << key;
    }
    EXPECT_TRUE(platform.messageBox.calls().empty());
    EXPECT_EQ(column(0), QStringList{"Ann"});
}

TEST_F(MenusTest, TheListsRightButtonOpensThePopUpMenuAndNoOtherButtonDoes)
{
    addEntry(QStringLiteral("Ann"), QStringLiteral("1980-12-12"));
    load();
    platform.popupMenus.expectDismiss(QStringLiteral("mnuPopup"));
    for (int button : {1, 4, 2})
        frm->lvw1->MouseDown(button, 0, 100, 100);
    ASSERT_EQ(platform.popupMenus.calls().size(), 1u);
    EXPECT_EQ(platform.popupMenus.calls()[0].menu, QStringLiteral("mnuPopup"));
    EXPECT_EQ(platform.popupMenus.calls()[0].captions, (QStringList{"&Edit", "-", "&Delete"}));
}

} // namespace
