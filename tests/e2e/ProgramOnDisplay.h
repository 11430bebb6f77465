#pragma once

// The real program on a virtual X display, as a user has it: a folder of its own holding the
// executable, the delivered database and the alarm sound, started from there and driven by keys
// and clicks (xdotool), with the notification area (trayer) a test asks for. Skipped where Xvfb
// or xdotool is missing.

#include "platform/vb/Variant.h"
#include "support/VirtualDisplay.h"

#include <QProcess>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <vector>

namespace kxe2e {

class ProgramOnDisplayTest : public kxtest::VirtualDisplayTest
{
protected:
    void SetUp() override;

    QString database() const;
    // Every value of the Settings table, row after row.
    std::vector<vb::Variant> settings() const;
    // The first column of a query's first row on the program's database, opened beside it.
    vb::Variant value(const QString &sql) const;
    // Runs statements on the program's database, before the program starts.
    void execute(const QStringList &statements) const;

    // Starts the program (through `launcher` when given: a program that runs the rest of its
    // command line) and answers what it asks before its window shows (with the delivered
    // database, that no event is coming up); returns the main window, "" when it did not show.
    QString startProgram(const QStringList &launcher = {});

    void xdotool(const QStringList &arguments);
    // Gives the window the keyboard (no window manager does it here) and types the keys.
    void type(const QString &window, const QStringList &keys);
    bool mainWindowVisible();
    // The program's windows on the screen: its main window, boxes, menus and its tray icon.
    QSet<QString> programWindows();
    // The program's visible windows whose title matches `name` (a regular expression).
    QStringList shown(const QString &name) { return windows(name, true); }

    // Starts the notification area and waits for its panel; false when the test was skipped or
    // the panel did not come.
    bool startTray();
    // The icon is there: the notification area, as wide as what it holds, has grown by it.
    bool iconPlaced();
    // Clicks on the icon with xdotool's click arguments ("3"; "--repeat", "2", ..., "1").
    void clickIcon(const QStringList &click);
    // The menu's windows once the icon's right button has opened it (clicked again when a
    // menu does not come), or none.
    QSet<QString> openTrayMenu();
    // Presses the keys until the menu has taken them and closed.
    bool chooseInMenu(const QSet<QString> &menu, const QStringList &keys);
    // Opens the icon's menu and types `keys` into it; false when no menu opened or took them.
    bool trayMenu(const QStringList &keys);

    // Asks the window to close as a window manager does for its close box: the WM_DELETE_WINDOW
    // message of the window protocols. False when it could not be sent, always false where the
    // test was built without the X protocol library (canRequestClose).
    bool requestClose(const QString &window);
    static bool canRequestClose();

    QTemporaryDir folder;
    QTemporaryDir runtime;
    QProcess *mProgram = nullptr;
    QString mPanel;
    int mEmptyPanelWidth = -1;
};

extern const QString kMainWindow;

} // namespace kxe2e
