#pragma once

// The entry editor: adds, changes and deletes one entry (one row of table Dazez). Modeless,
// opened only by the main window, which it calls back by name after a save or a delete.
//
// Contract for the main window (it reaches the editor late-bound, through
// core::editorInstance(), which returns the one default instance, created when first used):
//  1. setProperty("frmParent", the main window as QObject*): the editor's position (240 twips
//     right of and below it), and the target of the callbacks. The main window must have a
//     child named "lvw1" (or an object property of that name) and a Q_INVOKABLE
//     SetEventList(list, column, default = 0): the editor calls it by name, as
//     SetEventList(lvw1, 0, 1) after a save and SetEventList(lvw1, 0) after a delete, each
//     argument converted to the method's parameter types.
//  2. setProperty("prpDataId", the entry's id); -1 (or 0) opens an empty, new entry.
//  3. Show() it (modeless). Setting the properties does not load the window; showing it does.
//  4. Wait while property "mblnIsRunning" is true: it turns true in the load and false in the
//     unload, each time with the signal mblnIsRunningChanged(bool). Block on a QEventLoop that
//     quits on that signal (and on the window's destroyed(), since an unloaded window is
//     deleted later); test the property once before entering the loop.
// Closing the editor never asks anything; unsaved changes are dropped.
//
// Commands: the File, Edit and Help menus and the toolbar tlBar1. A toolbar button first puts
// the focus in the name box, so its clipboard buttons act on the name; the Edit menu acts on
// whichever box has the focus. File > Close and the toolbar's exit unload the editor.

#include "platform/forms/ControlRef.h"
#include "platform/forms/Form.h"

#include <QPointer>
#include <QVariantList>

#include <cstdint>

namespace platform {
class ComboBox;
class CommonDialog;
class DTPicker;
class Frame;
class ImageList;
class Label;
class Menu;
class StatusBar;
class TextBox;
class Toolbar;
class ToolbarButton;
} // namespace platform

class frmEditor : public platform::Form
{
    Q_OBJECT
    Q_PROPERTY(bool mblnIsRunning READ isRunning WRITE setRunning NOTIFY mblnIsRunningChanged)
    Q_PROPERTY(QObject *frmParent READ parentWindow WRITE setParentWindow)
    Q_PROPERTY(qint32 prpDataId READ prpDataId WRITE setPrpDataId)
public:
    explicit frmEditor(QWidget *parent = nullptr);

    bool mblnIsRunning = false;
    QPointer<QObject> frmParent;

    bool isRunning() const { return mblnIsRunning; }
    void setRunning(bool running);
    QObject *parentWindow() const { return frmParent; }
    void setParentWindow(QObject *window) { frmParent = window; }
    // The id of the shown entry (Dazez_Id); -1 for a new one. Stored as given.
    std::int32_t prpDataId() const { return mlngDataId; }
    void setPrpDataId(std::int32_t id) { mlngDataId = id; }

    // Loading and resetting.
    void InitForm();
    bool FillLocalComboBoxes();
    bool NewEvent();
    void SetEventData();

    // Writing: insert or update the shown entry, delete it. True when the row was written or
    // deleted.
    bool SaveVemoEvent();
    bool DeleteEvent();
    // The commands of the menus and the toolbar.
    void DataSave();
    void DataNew();
    void DataDelete();

    // Checks the event type's text and offers to add it to table Events when it is not there;
    // true when the type exists (or was added). No command uses it.
    bool CheckEventName();

    // Menu commands.
    void mnuNew_Click() { DataNew(); }
    void mnuSave_Click() { DataSave(); }
    void mnuDelete_Click() { DataDelete(); }
    void mnuExit_Click();
    void mnuCut_Click();
    void mnuCopy_Click();
    void mnuPaste_Click();
    void mnuContents_Click();
    void mnuIndex_Click();
    void mnuWebsite_Click();
    void mnuAbout_Click();
    // By the button's key, compared exactly; other keys do nothing.
    void tlBar1_ButtonClick(platform::ToolbarButton *Button);

    bool isDirty() const { return mblnDirty; }

    // Design geometry, twips.
    static constexpr double kClientWidth = 5700;
    static constexpr double kParentOffset = 240;

    platform::Menu *mnuFile = nullptr;
    platform::Menu *mnuNew = nullptr;
    platform::Menu *mnuSave = nullptr;
    platform::Menu *mnuDelete = nullptr;
    platform::Menu *mnuExit = nullptr;
    platform::Menu *mnuEdit = nullptr;
    platform::Menu *mnuCut = nullptr;
    platform::Menu *mnuCopy = nullptr;
    platform::Menu *mnuPaste = nullptr;
    platform::Menu *mnuHelp = nullptr;
    platform::Menu *mnuContents = nullptr;
    platform::Menu *mnuIndex = nullptr;
    platform::Menu *mnuWebsite = nullptr;
    platform::Menu *mnuAbout = nullptr;
    platform::ImageList *ils2 = nullptr;
    platform::ControlRef<platform::Toolbar> tlBar1;
    platform::ControlRef<platform::Frame> fra1;
    platform::ControlRef<platform::Label> lblName;
    platform::ControlRef<platform::TextBox> txtName;
    platform::ControlRef<platform::Label> lblEvent;
    platform::ControlRef<platform::ComboBox> cboEvents;
    platform::ControlRef<platform::Label> lblDate;
    platform::ControlRef<platform::DTPicker> DTPdate;
    platform::ControlRef<platform::Label> lblAlert;
    platform::ControlRef<platform::ComboBox> cboAlertDays;
    platform::ControlRef<platform::Label> lblDaysBefore;
    platform::ControlRef<platform::Label> lblTime;
    platform::ControlRef<platform::DTPicker> DTPtime;
    platform::ControlRef<platform::Label> lblNotes;
    platform::ControlRef<platform::TextBox> txtNotes;
    platform::ControlRef<platform::Label> lblEventId;
    platform::ControlRef<platform::Label> lblRecId;
    platform::ControlRef<platform::StatusBar> statBar1;
    platform::ControlRef<platform::CommonDialog> cdlg1;

signals:
    void mblnIsRunningChanged(bool running);

protected:
    void Form_Load() override;
    void Form_Unload(int &cancel) override;

private:
    void buildMenus();
    void buildToolbar();
    void setStatus(const QString &text);
    // frmParent.SetEventList(frmParent.lvw1, columnAndDefault...), resolved by name.
    void refillParentList(const QVariantList &columnAndDefault);
    void markDirty() { mblnDirty = true; }

    std::int32_t mlngDataId = -1;
    bool mblnDirty = false;
};

// The editor's default instance for core::editorInstanceHook(): the open editor, or a new one
// when there is none (or the last one was unloaded).
platform::Form *editorDefaultInstance();
