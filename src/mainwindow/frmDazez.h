#pragma once

// The main window. Loaded by the splash window at the end of start-up; its load shows it. The
// program lives as long as this window.
//
// Two tabs: "Events      " (the entry list lvw1 and the month calendar MonthView1) and
// "Settings" (the defaults for new entries and the program's switches, each written to the
// Settings row as soon as it changes). Contracts:
//  - mlngCurrentId is 0 after the load, then the id of the row last clicked or double-clicked;
//    no refill changes it.
//  - intSortDesc is the one sort direction of every refill (0 ascending, 1 descending); a refill
//    during the load starts it from 0.
//  - A check box set in code runs its Click handler when its value changes, as a user's click
//    does; setting a combo's text runs none.
//  - Timer1 is the notice timer (300 ms): created off, registered with the date engine for as
//    long as the window exists, so that the engine can switch it off while it rebuilds its
//    lists; the load and "Timer ON" follow gudtSettings.TimerOn. Timer2 is the day timer
//    (450 ms), running from the window's creation. Both read the time through the clock
//    service; a notice tick with nothing due reads only the in-memory upcoming lists. Neither
//    ticks before the load has finished nor inside its own previous tick (a box that the load
//    or a tick opens lets the timers fire behind it; WindowTimer.h). The day timer builds the
//    lists once a day: a build that failed is tried again on the next day.
//  - "Start in System Tray" shows the stored setting but is not offered as a switch (disabled):
//    nothing acts on it and every save writes 0 for it.
//  - The commands: the menu bar (File, Edit, Option, Help), the toolbar tlBar1 and two hidden
//    submenus of File shown as pop-up menus: mnuPopup (the list's right button) and mnuSysTray
//    (the tray icon's menu). The toolbar's "save", "cut" and "copy" have nothing to act on in
//    this window and are shown disabled; its "delete" deletes the current entry, as File >
//    Delete does.
//  - The tray: SysTrayPlace puts the icon (id 61860) into the tray and hides the window; the
//    icon's mouse messages come back through the hook control Msghook as message 0x4000. Where
//    the desktop has no notification area the icon cannot be placed, and the window is
//    minimised instead of hidden, so that the running program stays within reach.

#include "platform/forms/ControlRef.h"
#include "platform/forms/Form.h"
#include "platform/services/NotifyIcon.h"
#include "platform/vb/Variant.h"

#include <cstdint>

class QTimer;

namespace platform {
class CheckBox;
class ComboBox;
class CommonDialog;
class DTPicker;
class ImageList;
class Label;
class ListView;
class Menu;
class Msghook;
class MonthView;
class StatusBar;
class TabControl;
class Toolbar;
class ToolbarButton;
} // namespace platform

class frmDazez : public platform::Form
{
    Q_OBJECT
public:
    explicit frmDazez(QWidget *parent = nullptr);
    ~frmDazez() override;

    // Refills argLVW (every caller passes lvw1) from table Dazez after the date engine has
    // recomputed every entry's days until: ordered by argColumn (1 name, 2 date, 3 event type,
    // any other days until), in the direction intSortDesc holds. argDefault 1 keeps the
    // direction of the previous refill; any other value reverses it for the next one. Failures
    // are logged only; the rows added so far stay. Always false. Callable by name, also with
    // two arguments (the editor calls it through its parent-window reference).
    Q_INVOKABLE bool SetEventList(QObject *argLVW, int argColumn, int argDefault = 0);
    // Status panel 1: "You have <n> records in this listview."
    void SetLVWCount();
    // Shows the notice of every coming event not already open; when none was shown, says so in
    // the status bar, and in a box too while the window is hidden. The argument is not used.
    void RunUpComingEvents(std::int16_t argFlag);
    // Builds the upcoming-event lists.
    void SetEventUDTs();
    // Writes the Settings row (added when there is none): mode 1 only the current id as the last
    // record viewed, any other mode every setting. True when the row was written.
    bool SaveAdminData(std::int16_t mode);
    // Puts the settings into the controls, centres the window and fills the list and the alert
    // days (called by the load).
    void GetFormSettings();
    void SetDefaultEventCombobox();
    void FillLocalComboBoxes();

    // The list's handlers.
    void lvw1_Click();
    void lvw1_DblClick();
    void lvw1_ColumnClick(int position);
    void lvw1_LostFocus();

    // The timers' ticks.
    void Timer1_Timer();
    void Timer2_Timer();

    // Opens the editor (core::editorInstance()) on mlngCurrentId and waits until it has closed:
    // meanwhile this window is disabled and Timer1 is off (when the setting is on), while every
    // other event of the program runs; the wait blocks between events. Afterwards the window is
    // enabled, brought to the top, and Timer1 runs again. Errors: the Abort/Retry/Ignore dialog;
    // leaving after the window was disabled enables it again and restores Timer1 at once.
    void LoadEditor();
    // The editor on a new entry (mlngCurrentId := -1).
    void DataNew();
    // Deletes the entry mlngCurrentId after the delete question, with Timer1 off meanwhile (on
    // again at every end, an error's included); refills the list and drops the entry from the
    // upcoming lists. DeleteEvent is true when the row went; DataDelete's result is never set.
    bool DataDelete();
    bool DeleteEvent();
    // Copies the database file to a file the user names, with the hourglass pointer meanwhile
    // (back to the default on every way out). Its result is never set.
    bool BackUpDatabase();
    // The exit question: true when the user did not answer No (the last record viewed is then
    // stored). Form_Unload cancels on false; on true it removes the tray icon and ends the
    // program at once.
    bool CloseApp();

    // The tray: places the icon and hides the window; removes it and shows the window again.
    // SysTrayPlace only logs its errors (false then); SysTrayRemove asks.
    bool SysTrayPlace();
    bool SysTrayRemove();
    // The hook's event for each watched message: the tray icon's mouse messages.
    void Msghook_Message(std::int32_t msg, std::int32_t wParam, std::int32_t lParam);
    // "Quit": removes the icon and ends the program at once, asking and saving nothing.
    void mnuSysTrayEnd_Click();

    // The list's right button opens mnuPopup.
    void lvw1_MouseDown(int button, int shift, double x, double y);
    // By the button's key, compared exactly; other keys do nothing.
    void tlBar1_ButtonClick(platform::ToolbarButton *button);

    // Command handlers of the menus and the pop-up menu.
    void mnuNew_Click() { DataNew(); }
    void mnuDelete_Click() { DataDelete(); }
    void mnuExit_Click() { Unload(); }
    void mnuRefresh_Click();
    void mnuShowEvents_Click() { RunUpComingEvents(1); }
    void mnuBackupDB_Click() { BackUpDatabase(); }
    void mnuContents_Click();
    void mnuIndex_Click();
    void mnuWebsite_Click();
    // The about window, modal and without owner.
    void mnuAbout_Click();
    void mnuSystemTray_Click() { SysTrayPlace(); }
    void mnuPopupEdit_Click() { lvw1_DblClick(); }
    // With no selected row nothing is deleted and nothing asked.
    void mnuPopupDelete_Click();

    std::int32_t mlngCurrentId = 0;
    std::int16_t intSortDesc = 0;
    bool mblnLoading = false;
    // The day of the last build of the upcoming lists begun by the load or the day timer,
    // completed or not (Empty before the first).
    vb::Variant mvarBuildTried;

    platform::ControlRef<platform::TabControl> tab1;
    platform::ControlRef<platform::ListView> lvw1;
    platform::ControlRef<platform::MonthView> MonthView1;
    platform::ImageList *ils3 = nullptr;
    platform::ControlRef<platform::CheckBox> chkSound;
    platform::ControlRef<platform::CheckBox> chkTimerOn;
    platform::ControlRef<platform::CheckBox> chkShowEvents;
    platform::ControlRef<platform::CheckBox> chkSysTray;
    platform::ControlRef<platform::Label> lblDefaultAlertDays;
    platform::ControlRef<platform::ComboBox> cboDefalutAlertDays;
    platform::ControlRef<platform::Label> lblDefaultEvent;
    platform::ControlRef<platform::ComboBox> cboDefaultEvent;
    platform::ControlRef<platform::Label> lblDefaultTime;
    platform::ControlRef<platform::DTPicker> DTPDefaultTime;
    platform::ControlRef<platform::CheckBox> chkDummy;
    platform::ControlRef<platform::StatusBar> statBar1;
    platform::ControlRef<platform::CommonDialog> cdlg1;
    platform::ControlRef<platform::Toolbar> tlBar1;
    platform::ImageList *ils2 = nullptr;
    platform::Msghook *Msghook = nullptr;
    QTimer *Timer1 = nullptr;
    QTimer *Timer2 = nullptr;

    platform::Menu *mnuFile = nullptr;
    platform::Menu *mnuPopup = nullptr;
    platform::Menu *mnuSysTray = nullptr;
    platform::Menu *mnuEdit = nullptr;
    platform::Menu *mnuOptions = nullptr;
    platform::Menu *mnuHelp = nullptr;

    // The tray icon record: all zero until the first placing fills it; it keeps its values
    // after the icon is removed.
    platform::NOTIFYICONDATA mudtNotifyIcon;

    // The tray icon's id and the message that carries its mouse events.
    static constexpr std::int32_t kTrayIconId = 61860;
    static constexpr std::int32_t kTrayMessage = 0x4000;

    // The tab captions, exactly as shown.
    static constexpr const char *kEventsTab = "Events      ";
    static constexpr const char *kSettingsTab = "Settings";

protected:
    void Form_Load() override;
    void Form_Unload(int &cancel) override;

private:
    void buildEventsTab();
    void buildSettingsTab();
    void buildMenus();
    void buildToolbar();
    void connectHandlers();
    // Shell_NotifyIconA(NIM_DELETE) with the record: no effect when the icon is not shown.
    void removeTrayIcon();

    void cboDefalutAlertDays_Click();
    void cboDefaultEvent_Click();
    void chkShowEvents_Click();
    void chkSound_Click();
    void chkTimerOn_Click();
    void DTPDefaultTime_Change();
};
