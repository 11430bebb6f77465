#include "Menu.h"

#include "Form.h"

#include <QAction>

namespace platform {

namespace {

void execAtMouse(Menu &menu, const QPoint &globalPos)
{
    if (menu.popup())
        menu.popup()->exec(globalPos);
}

PopupMenuRunner &runner()
{
    static PopupMenuRunner r = execAtMouse;
    return r;
}

} // namespace

PopupMenuRunner setPopupMenuRunner(PopupMenuRunner next)
{
    PopupMenuRunner previous = runner();
    runner() = next ? std::move(next) : PopupMenuRunner(execAtMouse);
    return previous;
}

const PopupMenuRunner &popupMenuRunner()
{
    return runner();
}

Menu::Menu(Form *form, Menu *parent, const QString &name, const QString &caption, bool submenu)
    : QObject(parent ? static_cast<QObject *>(parent) : form), mForm(form), mParent(parent),
      mSubmenu(submenu), mCaption(caption)
{
    setObjectName(name);
    if (submenu) {
        mPopup = new QMenu(form);
        mPopup->setObjectName(name);
        mAction = mPopup->menuAction();
        connect(mPopup.data(), &QMenu::aboutToShow, this, &Menu::Click);
    } else {
        mAction = new QAction(
            parent && parent->mPopup ? static_cast<QObject *>(parent->mPopup.data()) : form);
        mAction->setObjectName(name);
        // Window context: the shortcut works wherever the focus is in the window, and only there.
        mAction->setShortcutContext(Qt::WindowShortcut);
        connect(mAction, &QAction::triggered, this, [this] {
            // Qt toggles a checkable action; the runtime leaves the check mark to the program.
            mAction->setChecked(mChecked);
            emit Click();
        });
    }
    applyCaption();
}

Menu::~Menu()
{
    if (mSubmenu)
        delete mPopup.data(); // takes its menu action with it
    else
        delete mAction.data();
}

Menu *Menu::addMenu(const QString &name, const QString &caption)
{
    if (!mSubmenu)
        return nullptr;
    auto *menu = new Menu(mForm, this, name, caption, true);
    mItems.append(menu);
    mPopup->addMenu(menu->popup());
    return menu;
}

Menu *Menu::addItem(const QString &name, const QString &caption, const QKeySequence &shortcut)
{
    if (!mSubmenu)
        return nullptr;
    auto *item = new Menu(mForm, this, name, caption, false);
    mItems.append(item);
    mPopup->addAction(item->action());
    item->setShortcut(shortcut);
    return item;
}

void Menu::applyCaption()
{
    const bool separator = !mSubmenu && isSeparator();
    mAction->setSeparator(separator);
    // A separator with a text is drawn as a titled section; the runtime's is a plain line.
    mAction->setText(separator ? QString() : mCaption);
    if (mSubmenu)
        mPopup->setTitle(mCaption);
}

void Menu::setCaption(const QString &caption)
{
    mCaption = caption;
    applyCaption();
}

void Menu::setVisible(bool visible)
{
    mVisible = visible;
    mAction->setVisible(visible);
    if (!mParent && mForm)
        mForm->menuBarChanged();
}

void Menu::setEnabled(bool enabled)
{
    mEnabled = enabled;
    mAction->setEnabled(enabled);
}

void Menu::setChecked(bool checked)
{
    mChecked = checked;
    if (mSubmenu)
        return;
    // Only a checked item shows the room for a mark, as the runtime's menus do.
    mAction->setCheckable(checked);
    mAction->setChecked(checked);
}

void Menu::setShortcut(const QKeySequence &shortcut)
{
    if (mSubmenu)
        return; // a menu opens by its access key only
    mShortcut = shortcut;
    mAction->setShortcut(shortcut);
}

void Menu::click()
{
    if (!mEnabled || !mVisible || isSeparator())
        return;
    emit Click();
}

} // namespace platform
