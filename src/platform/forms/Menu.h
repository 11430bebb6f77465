#pragma once

// Menus as a window declares them: a tree of named items under the window's menu bar, built on
// QMenuBar, QMenu and QAction so that the desktop's accessibility interface reads every item.
//
// Contracts:
//  - Form::addMenu makes a menu of the bar; Menu::addMenu a submenu, Menu::addItem an item.
//    The caption's "&" marks the access key; the caption "-" makes a separator.
//  - An item raises Click when the user chooses it (a click, its access key, its shortcut) or
//    when code calls click(); a menu raises Click when it opens. A disabled or hidden item is
//    never clicked. Checked shows a check mark; choosing the item does not change it.
//  - A hidden submenu is not seen in its parent, and its items' shortcuts do not work; it can
//    still be shown as a pop-up menu (Form::PopupMenu), which is how the program uses one.
//  - Form::PopupMenu runs the pop-up through the pop-up runner: it returns after the user chose
//    an item (whose Click has run by then) or dismissed the menu. The default runner is
//    QMenu::exec at the mouse; a test installs its own (tests/support/ScriptedPlatform).

#include <QKeySequence>
#include <QList>
#include <QMenu>
#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QString>

#include <functional>

namespace platform {

class Form;

class Menu : public QObject
{
    Q_OBJECT
public:
    ~Menu() override;

    QString Name() const { return objectName(); }
    Form *form() const { return mForm; }
    Menu *parentMenu() const { return mParent; }
    const QList<Menu *> &items() const { return mItems; }
    bool isSubmenu() const { return mSubmenu; }
    bool isSeparator() const { return mCaption == QLatin1String("-"); }

    Menu *addMenu(const QString &name, const QString &caption);
    Menu *addItem(const QString &name, const QString &caption,
                  const QKeySequence &shortcut = QKeySequence());

    QString Caption() const { return mCaption; }
    void setCaption(const QString &caption);
    bool Visible() const { return mVisible; }
    void setVisible(bool visible);
    bool Enabled() const { return mEnabled; }
    void setEnabled(bool enabled);
    bool Checked() const { return mChecked; }
    void setChecked(bool checked);
    QKeySequence Shortcut() const { return mShortcut; }
    void setShortcut(const QKeySequence &shortcut);

    // Chooses the item as the user would: Click, unless the item is disabled or hidden.
    void click();

    // The Qt objects behind the item: its action (a submenu's is its QMenu's menu action) and,
    // for a submenu, the QMenu.
    QAction *action() const { return mAction.data(); }
    QMenu *popup() const { return mPopup.data(); }

signals:
    void Click();

private:
    friend class Form;
    Menu(Form *form, Menu *parent, const QString &name, const QString &caption, bool submenu);
    void applyCaption();

    Form *mForm;
    Menu *mParent;
    QList<Menu *> mItems;
    // Qt may delete them first when the window goes (they are its children too).
    QPointer<QAction> mAction;
    QPointer<QMenu> mPopup;
    bool mSubmenu;
    QString mCaption;
    QKeySequence mShortcut;
    bool mVisible = true;
    bool mEnabled = true;
    bool mChecked = false;
};

// Shows `menu` as a pop-up at `globalPos` and returns when the user has chosen an item (and its
// Click has run) or dismissed the menu.
using PopupMenuRunner = std::function<void(Menu &menu, const QPoint &globalPos)>;

// Installs a runner and returns the one in force before; an empty runner restores the default.
PopupMenuRunner setPopupMenuRunner(PopupMenuRunner runner);
const PopupMenuRunner &popupMenuRunner();

} // namespace platform
