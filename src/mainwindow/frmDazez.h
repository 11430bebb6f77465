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
//    service; a notice tick with nothing due reads only the in-memory upcoming lists.
//  - "Start in System Tray" shows the stored setting but is not offered as a switch (disabled):
//    nothing acts on it and every save writes 0 for it.

#include "platform/forms/Form.h"

#include <cstdint>

class QTimer;

namespace platform {
class CheckBox;
class ComboBox;
class DTPicker;
class ImageList;
class Label;
class ListView;
class MonthView;
class StatusBar;
class TabControl;
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

    // Opening the editor on mlngCurrentId and waiting for it (the double click, later the
    // commands): not built yet; it will reach the editor through core::editorInstance(). Until
    // then a double click only takes the row's id.
    virtual void LoadEditor() {}

    std::int32_t mlngCurrentId = 0;
    std::int16_t intSortDesc = 0;
    bool mblnLoading = false;

    platform::TabControl *tab1 = nullptr;
    platform::ListView *lvw1 = nullptr;
    platform::MonthView *MonthView1 = nullptr;
    platform::ImageList *ils3 = nullptr;
    platform::CheckBox *chkSound = nullptr;
    platform::CheckBox *chkTimerOn = nullptr;
    platform::CheckBox *chkShowEvents = nullptr;
    platform::CheckBox *chkSysTray = nullptr;
    platform::Label *lblDefaultAlertDays = nullptr;
    platform::ComboBox *cboDefalutAlertDays = nullptr;
    platform::Label *lblDefaultEvent = nullptr;
    platform::ComboBox *cboDefaultEvent = nullptr;
    platform::Label *lblDefaultTime = nullptr;
    platform::DTPicker *DTPDefaultTime = nullptr;
    platform::CheckBox *chkDummy = nullptr;
    platform::StatusBar *statBar1 = nullptr;
    QTimer *Timer1 = nullptr;
    QTimer *Timer2 = nullptr;

    // The tab captions, exactly as shown.
    static constexpr const char *kEventsTab = "Events      ";
    static constexpr const char *kSettingsTab = "Settings";

protected:
    void Form_Load() override;

private:
    void buildEventsTab();
    void buildSettingsTab();
    void connectHandlers();

    void cboDefalutAlertDays_Click();
    void cboDefaultEvent_Click();
    void chkShowEvents_Click();
    void chkSound_Click();
    void chkTimerOn_Click();
    void DTPDefaultTime_Change();
};
