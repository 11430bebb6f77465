#include "platform/forms/Controls.h"
#include "platform/forms/Form.h"
#include "platform/forms/Menu.h"
#include "support/ScriptedPlatform.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QTest>

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

using namespace platform;

namespace {

// A window with the main window's menu tree, counting the clicks of every item by name.
class MenuTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Menu *file = form.addMenu(QStringLiteral("mnuFile"), QStringLiteral("&File"));
        Menu *popup = file->addMenu(QStringLiteral("mnuPopup"), QStringLiteral("&PopUp"));
        popup->addItem(QStringLiteral("mnuPopupEdit"), QStringLiteral("&Edit"));
        popup->addItem(QStringLiteral("mnu201"), QStringLiteral("-"));
        popup->addItem(QStringLiteral("mnuPopupDelete"), QStringLiteral("&Delete"));
        popup->setVisible(false);
        Menu *tray = file->addMenu(QStringLiteral("mnuSysTray"), QStringLiteral("SysTray"));
        tray->addItem(QStringLiteral("mnuSysTrayOpn"), QStringLiteral("Open Almanoria"));
        tray->addItem(QStringLiteral("mnuSysTraysep01"), QStringLiteral("-"));
        tray->addItem(QStringLiteral("mnuSysTrayShowEvents"), QStringLiteral("Show Events"));
        tray->addItem(QStringLiteral("mnuSysTraySep02"), QStringLiteral("-"));
        tray->addItem(QStringLiteral("mnuSysTrayEnd"), QStringLiteral("Quit"));
        tray->setVisible(false);
        file->addItem(QStringLiteral("mnuNew"), QStringLiteral("&New"));
        file->addItem(QStringLiteral("mnuX101"), QStringLiteral("-"));
        file->addItem(QStringLiteral("mnuDelete"), QStringLiteral("&Delete"));
        file->addItem(QStringLiteral("mnu103"), QStringLiteral("-"));
        file->addItem(QStringLiteral("mnuExit"), QStringLiteral("E&xit"), QKeySequence("Ctrl+Q"));
        Menu *edit = form.addMenu(QStringLiteral("mnuEdit"), QStringLiteral("&Edit"));
        edit->addItem(QStringLiteral("mnuRefresh"), QStringLiteral("&Refresh"));
        Menu *options = form.addMenu(QStringLiteral("mnuOptions"), QStringLiteral("&Option"));
        options->addItem(QStringLiteral("mnuShowEvents"), QStringLiteral("&Show coming Events"),
                         QKeySequence(Qt::Key_F5));
        options->addItem(QStringLiteral("mnu105"), QStringLiteral("-"));
        options->addItem(QStringLiteral("mnuSystemTray"), QStringLiteral("&Run in System Tray"),
                         QKeySequence(Qt::Key_F6));
        options->addItem(QStringLiteral("mnu106"), QStringLiteral("-"));
        options->addItem(QStringLiteral("mnuBackupDB"), QStringLiteral("&Backup database"),
                         QKeySequence(Qt::Key_F2));
        Menu *help = form.addMenu(QStringLiteral("mnuHelp"), QStringLiteral("&Help"));
        help->addItem(QStringLiteral("mnuContents"), QStringLiteral("&Contents"));
        help->addItem(QStringLiteral("mnuIndex"), QStringLiteral("&Index"));
        help->addItem(QStringLiteral("mnu107"), QStringLiteral("-"));
        help->addItem(QStringLiteral("mnuWebsite"), QStringLiteral("Almanoria Website"),
                      QKeySequence(Qt::Key_F11));
        help->addItem(QStringLiteral("mnu108"), QStringLiteral("-"));
        help->addItem(QStringLiteral("mnuAbout"), QStringLiteral("&About"));
        countClicks(form.Menus());
    }

    void countClicks(const QList<Menu *> &menus)
    {
        for (Menu *menu : menus) {
            if (menu->isSubmenu()) {
                countClicks(menu->items());
                continue;
            }
            QObject::connect(menu, &Menu::Click, &form, [this, menu] { clicks << menu->Name(); });
        }
    }

    void activate()
    {
        form.setClientSize(9600, 6600);
        form.show();
        QApplication::setActiveWindow(&form);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    }

    static QStringList texts(const QList<QAction *> &actions)
    {
        QStringList list;
        for (QAction *a : actions)
            if (a->isVisible())
                list << (a->isSeparator() ? QStringLiteral("-") : a->text());
        return list;
    }

    kxtest::ScriptedPlatform platform;
    Form form{QStringLiteral("frmDazez")};
    QStringList clicks;
};

} // namespace

TEST_F(MenuTest, TheBarShowsItsMenusAndItemsWithExactCaptionsAndNoHiddenSubmenu)
{
    EXPECT_EQ(texts(form.menuBar()->actions()),
              (QStringList{"&File", "&Edit", "&Option", "&Help"}));
    const struct
    {
        const char *menu;
        QStringList items;
    } cases[] = {
        {"mnuFile", {"&New", "-", "&Delete", "-", "E&xit"}},
        {"mnuEdit", {"&Refresh"}},
        {"mnuOptions",
         {"&Show coming Events", "-", "&Run in System Tray", "-", "&Backup database"}},
        {"mnuHelp", {"&Contents", "&Index", "-", "Almanoria Website", "-", "&About"}},
        // The hidden submenus keep their items for the pop-up.
        {"mnuPopup", {"&Edit", "-", "&Delete"}},
        {"mnuSysTray", {"Open Almanoria", "-", "Show Events", "-", "Quit"}},
    };
    for (const auto &c : cases) {
        Menu *menu = form.menu(QString::fromLatin1(c.menu));
        ASSERT_NE(menu, nullptr) << c.menu;
        EXPECT_EQ(texts(menu->popup()->actions()), c.items) << c.menu;
    }
    EXPECT_FALSE(form.menu(QStringLiteral("mnuPopup"))->Visible());
    EXPECT_TRUE(form.menu(QStringLiteral("MNUFILE"))->Visible());
    EXPECT_EQ(form.menu(QStringLiteral("mnuExit"))->action()->shortcut(), QKeySequence("Ctrl+Q"));
    EXPECT_EQ(form.menu(QStringLiteral("mnuNoSuch")), nullptr);
}

TEST_F(MenuTest, AccessibilityReadsTheMenusAndTheirItems)
{
    activate();
    QAccessibleInterface *bar = QAccessible::queryAccessibleInterface(form.menuBar());
    ASSERT_NE(bar, nullptr);
    QStringList names;
    for (int i = 0; i < bar->childCount(); ++i)
        if (!bar->child(i)->state().invisible)
            names << bar->child(i)->text(QAccessible::Name);
    EXPECT_EQ(names, (QStringList{"File", "Edit", "Option", "Help"}));

    // The File menu, opened: its hidden submenus are there for the pop-ups, but not seen.
    QMenu *fileMenu = form.menu(QStringLiteral("mnuFile"))->popup();
    fileMenu->popup(form.mapToGlobal(QPoint(0, 0)));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(fileMenu));
    QAccessibleInterface *file = QAccessible::queryAccessibleInterface(fileMenu);
    ASSERT_NE(file, nullptr);
    QStringList items;
    for (int i = 0; i < file->childCount(); ++i) {
        QAccessibleInterface *item = file->child(i);
        if (!item->state().invisible && item->role() == QAccessible::MenuItem)
            items << item->text(QAccessible::Name);
    }
    EXPECT_EQ(items, (QStringList{"New", "Delete", "Exit"}));
    fileMenu->hide();
}

TEST_F(MenuTest, ShortcutsClickTheirItemsWhereverTheFocusIs)
{
    auto *box = new TextBox(&form, QStringLiteral("txtName"));
    activate();
    box->SetFocus();
    const struct
    {
        QKeyCombination key;
        const char *item;
    } cases[] = {
        {Qt::ControlModifier | Qt::Key_Q, "mnuExit"},
        {QKeyCombination(Qt::Key_F5), "mnuShowEvents"},
        {QKeyCombination(Qt::Key_F6), "mnuSystemTray"},
        {QKeyCombination(Qt::Key_F2), "mnuBackupDB"},
        {QKeyCombination(Qt::Key_F11), "mnuWebsite"},
    };
    for (const auto &c : cases) {
        clicks.clear();
        QTest::keyClick(QApplication::focusWidget(), c.key.key(), c.key.keyboardModifiers());
        EXPECT_EQ(clicks, QStringList{QString::fromLatin1(c.item)}) << c.item;
    }

    // A disabled or hidden item's shortcut does nothing.
    clicks.clear();
    form.menu(QStringLiteral("mnuExit"))->setEnabled(false);
    form.menu(QStringLiteral("mnuShowEvents"))->setVisible(false);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Q, Qt::ControlModifier);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F5);
    EXPECT_TRUE(clicks.isEmpty());
}

TEST_F(MenuTest, AccessKeysOpenAMenuAndChooseItsItem)
{
    auto *box = new TextBox(&form, QStringLiteral("txtName"));
    activate();
    box->SetFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_O, Qt::AltModifier);
    QWidget *open = QApplication::activePopupWidget();
    ASSERT_EQ(open, form.menu(QStringLiteral("mnuOptions"))->popup());
    QTest::keyClick(open, Qt::Key_B);
    EXPECT_EQ(clicks, QStringList{"mnuBackupDB"});
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
}

TEST_F(MenuTest, ClickRunsOnlyForAnEnabledVisibleItemAndLeavesTheCheckMarkToTheProgram)
{
    Menu *refresh = form.menu(QStringLiteral("mnuRefresh"));
    refresh->click();
    EXPECT_EQ(clicks, QStringList{"mnuRefresh"});

    clicks.clear();
    refresh->setEnabled(false);
    refresh->click();
    refresh->setEnabled(true);
    refresh->setVisible(false);
    refresh->click();
    form.menu(QStringLiteral("mnuX101"))->click(); // a separator
    EXPECT_TRUE(clicks.isEmpty());

    refresh->setVisible(true);
    refresh->setChecked(true);
    refresh->action()->trigger(); // the user's choice
    EXPECT_EQ(clicks, QStringList{"mnuRefresh"});
    EXPECT_TRUE(refresh->Checked());
    EXPECT_TRUE(refresh->action()->isChecked());
}

TEST_F(MenuTest, PopupMenuShowsAHiddenSubmenuAndRunsTheChosenItemBeforeItReturns)
{
    Menu *tray = form.menu(QStringLiteral("mnuSysTray"));
    platform.popupMenus.expectChoice(QStringLiteral("mnuSysTrayEnd"), QStringLiteral("mnuSysTray"));
    form.PopupMenu(tray);
    EXPECT_EQ(clicks, QStringList{"mnuSysTrayEnd"});
    ASSERT_EQ(platform.popupMenus.calls().size(), 1u);
    EXPECT_EQ(platform.popupMenus.calls()[0].menu, QStringLiteral("mnuSysTray"));
    EXPECT_EQ(platform.popupMenus.calls()[0].captions,
              (QStringList{"Open Almanoria", "-", "Show Events", "-", "Quit"}));
    // The hidden submenu stays out of the bar after it was shown.
    EXPECT_FALSE(tray->action()->isVisible());

    clicks.clear();
    platform.popupMenus.expectDismiss(QStringLiteral("mnuPopup"));
    form.PopupMenu(form.menu(QStringLiteral("mnuPopup")));
    EXPECT_TRUE(clicks.isEmpty());

    // An item, or no menu, shows nothing.
    form.PopupMenu(form.menu(QStringLiteral("mnuExit")));
    form.PopupMenu(nullptr);
    EXPECT_EQ(platform.popupMenus.calls().size(), 2u);
    EXPECT_EQ(platform.popupMenus.pendingAnswers(), 0u);
}

TEST_F(MenuTest, ThePopupDoubleFailsAnUnexpectedPopupAndAChoiceTheUserCannotMake)
{
    Menu *popup = form.menu(QStringLiteral("mnuPopup"));
    EXPECT_NONFATAL_FAILURE(form.PopupMenu(popup), "Unexpected pop-up menu mnuPopup");

    form.menu(QStringLiteral("mnuPopupDelete"))->setEnabled(false);
    platform.popupMenus.expectChoice(QStringLiteral("mnuPopupDelete"));
    EXPECT_NONFATAL_FAILURE(form.PopupMenu(popup), "cannot be chosen");
    platform.popupMenus.expectChoice(QStringLiteral("mnuPopupEdit"), QStringLiteral("mnuSysTray"));
    EXPECT_NONFATAL_FAILURE(form.PopupMenu(popup), "was expected");
    EXPECT_EQ(clicks, QStringList{"mnuPopupEdit"});
}

TEST(MenuBar, LiesAboveTheClientAreaAndKeepsItsSizeAndTheControlsPlaces)
{
    kxtest::ScriptedPlatform platform;
    Form form(QStringLiteral("frmDazez"));
    auto *before = new Label(&form, QStringLiteral("lblBefore"), QStringLiteral("before"));
    before->Move(120, 120, 1200, 255);
    form.setClientSize(4500, 3000);

    Menu *file = form.addMenu(QStringLiteral("mnuFile"), QStringLiteral("&File"));
    file->addItem(QStringLiteral("mnuExit"), QStringLiteral("E&xit"));
    auto *after = new Label(&form, QStringLiteral("lblAfter"), QStringLiteral("after"));
    after->Move(120, 600, 1200, 255);
    form.show();

    const int bar = form.menuBar()->height();
    ASSERT_GT(bar, 0);
    EXPECT_EQ(form.clientTop(), bar);
    EXPECT_EQ(form.menuBar()->geometry(), QRect(0, 0, form.width(), bar));
    EXPECT_DOUBLE_EQ(form.ScaleWidth(), 4500);
    EXPECT_DOUBLE_EQ(form.ScaleHeight(), 3000);
    for (Label *label : {before, after})
        EXPECT_GE(label->y(), bar) << label->Name().toStdString();
    EXPECT_DOUBLE_EQ(before->Top(), 120);
    EXPECT_DOUBLE_EQ(after->Top(), 600);
    EXPECT_EQ(after->y(), bar + 40);

    // With no menu left to show the bar goes, and the client area and places stay.
    file->setVisible(false);
    EXPECT_TRUE(form.menuBar()->isHidden());
    EXPECT_EQ(form.clientTop(), 0);
    EXPECT_DOUBLE_EQ(form.ScaleHeight(), 3000);
    EXPECT_DOUBLE_EQ(after->Top(), 600);
    EXPECT_EQ(after->y(), 40);
}
