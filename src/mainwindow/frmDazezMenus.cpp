// The main window's menu bar, its toolbar and the two pop-up menus, and the handlers that lead
// from them to the window's commands.

#include "frmDazez.h"

#include "core/ErrorProtocol.h"
#include "core/ToolbarPictures.h"

#include "platform/forms/ListView.h"
#include "platform/forms/Menu.h"
#include "platform/forms/Toolbar.h"

#include <QKeySequence>

using core::ErrorVariant;
using core::Procedure;
using platform::Menu;
using platform::ToolbarButton;

namespace {

struct ToolbarDesign
{
    const char *key; // nullptr: a separator
    const char *toolTip;
};

// Tool tips exactly as shown, trailing blanks included.
const ToolbarDesign kToolbar[] = {
    {"new", "Add new event "}, {"save", "Save "},
    {"delete", "Delete "},     {nullptr, nullptr},
    {"cut", "Cut "},           {"copy", "Copy "},
    {"showevents", "Show coming events"},
    {"systray", "Run in System Tray "},
    {nullptr, nullptr},        {"help", "Help "},
    {"exit", "Exit "},
};

// The buttons this window has nothing to act on with: no entry is edited here, so there is
// nothing to save, and no text field to cut or copy from. Shown disabled, so that the user sees
// they do nothing here.
bool actsHere(const QString &key)
{
    return key != QLatin1String("save") && key != QLatin1String("cut") &&
           key != QLatin1String("copy");
}

} // namespace

void frmDazez::buildMenus()
{
    mnuFile = addMenu(QStringLiteral("mnuFile"), QStringLiteral("&File"));
    mnuPopup = mnuFile->addMenu(QStringLiteral("mnuPopup"), QStringLiteral("&PopUp"));
    Menu *popupEdit = mnuPopup->addItem(QStringLiteral("mnuPopupEdit"), QStringLiteral("&Edit"));
    mnuPopup->addItem(QStringLiteral("mnu201"), QStringLiteral("-"));
    Menu *popupDelete =
        mnuPopup->addItem(QStringLiteral("mnuPopupDelete"), QStringLiteral("&Delete"));
    mnuPopup->setVisible(false);

    mnuSysTray = mnuFile->addMenu(QStringLiteral("mnuSysTray"), QStringLiteral("SysTray"));
    Menu *trayOpen =
        mnuSysTray->addItem(QStringLiteral("mnuSysTrayOpn"), QStringLiteral("Open Almanoria"));
    mnuSysTray->addItem(QStringLiteral("mnuSysTraysep01"), QStringLiteral("-"));
    Menu *trayShowEvents =
        mnuSysTray->addItem(QStringLiteral("mnuSysTrayShowEvents"), QStringLiteral("Show Events"));
    mnuSysTray->addItem(QStringLiteral("mnuSysTraySep02"), QStringLiteral("-"));
    Menu *trayEnd = mnuSysTray->addItem(QStringLiteral("mnuSysTrayEnd"), QStringLiteral("Quit"));
    mnuSysTray->setVisible(false);

    Menu *fileNew = mnuFile->addItem(QStringLiteral("mnuNew"), QStringLiteral("&New"));
    mnuFile->addItem(QStringLiteral("mnuX101"), QStringLiteral("-"));
    Menu *fileDelete = mnuFile->addItem(QStringLiteral("mnuDelete"), QStringLiteral("&Delete"));
    mnuFile->addItem(QStringLiteral("mnu103"), QStringLiteral("-"));
    Menu *fileExit = mnuFile->addItem(QStringLiteral("mnuExit"), QStringLiteral("E&xit"),
                                      QKeySequence(Qt::CTRL | Qt::Key_Q));

    mnuEdit = addMenu(QStringLiteral("mnuEdit"), QStringLiteral("&Edit"));
    Menu *refresh = mnuEdit->addItem(QStringLiteral("mnuRefresh"), QStringLiteral("&Refresh"));

    mnuOptions = addMenu(QStringLiteral("mnuOptions"), QStringLiteral("&Option"));
    Menu *showEvents = mnuOptions->addItem(QStringLiteral("mnuShowEvents"),
                                           QStringLiteral("&Show coming Events"),
                                           QKeySequence(Qt::Key_F5));
    mnuOptions->addItem(QStringLiteral("mnu105"), QStringLiteral("-"));
    Menu *systemTray = mnuOptions->addItem(QStringLiteral("mnuSystemTray"),
                                           QStringLiteral("&Run in System Tray"),
                                           QKeySequence(Qt::Key_F6));
    mnuOptions->addItem(QStringLiteral("mnu106"), QStringLiteral("-"));
    Menu *backup = mnuOptions->addItem(QStringLiteral("mnuBackupDB"),
                                       QStringLiteral("&Backup database"), QKeySequence(Qt::Key_F2));

    mnuHelp = addMenu(QStringLiteral("mnuHelp"), QStringLiteral("&Help"));
    Menu *contents = mnuHelp->addItem(QStringLiteral("mnuContents"), QStringLiteral("&Contents"));
    Menu *index = mnuHelp->addItem(QStringLiteral("mnuIndex"), QStringLiteral("&Index"));
    mnuHelp->addItem(QStringLiteral("mnu107"), QStringLiteral("-"));
    Menu *website = mnuHelp->addItem(QStringLiteral("mnuWebsite"),
                                     QStringLiteral("Almanoria Website"), QKeySequence(Qt::Key_F11));
    mnuHelp->addItem(QStringLiteral("mnu108"), QStringLiteral("-"));
    Menu *about = mnuHelp->addItem(QStringLiteral("mnuAbout"), QStringLiteral("&About"));

    const auto on = [this](Menu *item, void (frmDazez::*handler)()) {
        connect(item, &Menu::Click, this, handler);
    };
    on(popupEdit, &frmDazez::mnuPopupEdit_Click);
    on(popupDelete, &frmDazez::mnuPopupDelete_Click);
    connect(trayOpen, &Menu::Click, this, [this] { SysTrayRemove(); });
    connect(trayShowEvents, &Menu::Click, this, [this] { RunUpComingEvents(1); });
    on(trayEnd, &frmDazez::mnuSysTrayEnd_Click);
    on(fileNew, &frmDazez::mnuNew_Click);
    on(fileDelete, &frmDazez::mnuDelete_Click);
    on(fileExit, &frmDazez::mnuExit_Click);
    on(refresh, &frmDazez::mnuRefresh_Click);
    on(showEvents, &frmDazez::mnuShowEvents_Click);
    on(systemTray, &frmDazez::mnuSystemTray_Click);
    on(backup, &frmDazez::mnuBackupDB_Click);
    on(contents, &frmDazez::mnuContents_Click);
    on(index, &frmDazez::mnuIndex_Click);
    on(website, &frmDazez::mnuWebsite_Click);
    on(about, &frmDazez::mnuAbout_Click);
}

void frmDazez::buildToolbar()
{
    ils2 = core::makeToolbarImageList(this);
    tlBar1 = new platform::Toolbar(this, QStringLiteral("tlBar1"));
    tlBar1->setImageList(ils2);
    for (const ToolbarDesign &design : kToolbar) {
        if (!design.key) {
            tlBar1->Add(QString(), ToolbarButton::Style::Separator);
            continue;
        }
        const QString key = QString::fromLatin1(design.key);
        ToolbarButton *button = tlBar1->Add(key);
        button->setToolTipText(QString::fromLatin1(design.toolTip));
        button->setImage(key);
        button->setEnabled(actsHere(key));
    }
    connect(tlBar1, &platform::Toolbar::ButtonClick, this, &frmDazez::tlBar1_ButtonClick);
}

void frmDazez::tlBar1_ButtonClick(ToolbarButton *button)
{
    Procedure p(QStringLiteral("frmDazez.tlBar1_ButtonClick"), ErrorVariant::Silent);
    QString key;
    p([&] { key = core::object(button).Key(); });
    p([&] {
        if (key == QLatin1String("new"))
            DataNew();
        else if (key == QLatin1String("delete"))
            DataDelete();
        else if (key == QLatin1String("showevents"))
            RunUpComingEvents(1);
        else if (key == QLatin1String("systray"))
            SysTrayPlace();
        else if (key == QLatin1String("help"))
            mnuContents_Click();
        else if (key == QLatin1String("exit"))
            Unload();
    });
}

void frmDazez::lvw1_MouseDown(int button, int, double, double)
{
    if (button == 2)
        PopupMenu(mnuPopup);
}
