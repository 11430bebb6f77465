#include "frmEditor.h"

#include "frmAbout.h"

#include "core/ErrorProtocol.h"
#include "core/Globals.h"
#include "core/HelpCalls.h"
#include "core/MainCode_QW.h"
#include "core/ToolbarPictures.h"
#include "core/cDAO.h"
#include "core/modDataSQL.h"
#include "core/modMsg.h"
#include "dates/cDateHandler.h"

#include "platform/forms/Accessibility.h"
#include "platform/forms/Controls.h"
#include "platform/forms/DTPicker.h"
#include "platform/forms/Frame.h"
#include "platform/forms/ImageList.h"
#include "platform/forms/Menu.h"
#include "platform/forms/Toolbar.h"
#include "platform/forms/Twips.h"
#include "platform/services/CommonDialog.h"
#include "platform/services/Services.h"
#include "platform/vb/CallByName.h"
#include "platform/vb/Conversions.h"

#include <QComboBox>
#include <QDateTimeEdit>
#include <QLineEdit>
#include <QWindow>

#include <functional>

using core::ErrorVariant;
using core::Procedure;
using platform::Alignment;
using platform::ComboBox;
using platform::DTPicker;
using platform::Label;
using platform::TextBox;

namespace {

const QString kGroup = QStringLiteral("dazez");
const QString kEditMode = QStringLiteral("Edit Mode");
const QString kAddNewMode = QStringLiteral("Add New Mode");
const QString kNotDeleted = QStringLiteral("Your data has not been deleted.");
const QString kDeleted = QStringLiteral("Your data has been deleted.");


constexpr int kMaxNameLength = 25;
constexpr int kMaxNotesLength = 1250;
constexpr int kHighestAlertDays = 30;

// Key codes the drop-down lists still take: they open the list, whose own keys then pick an
// item as a mouse click would. Everything else typed into a list is dropped.
constexpr int kKeyF4 = 115;
constexpr int kKeyDown = 40;
constexpr int kShiftAlt = 4;

// The runtime's Trim: spaces only, not other white space.
QString trimSpaces(const QString &text)
{
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && text.at(first) == QLatin1Char(' '))
        ++first;
    while (last > first && text.at(last - 1) == QLatin1Char(' '))
        --last;
    return text.mid(first, last - first);
}

// The runtime's Date: today, without a time.
vb::Date today()
{
    return vb::Date::fromQDate(platform::services().clock->now().date());
}

// The picker's Refresh: what the user has typed so far becomes its value.
void refresh(DTPicker *picker)
{
    if (!picker)
        vb::raise(vb::err::ObjectVariableNotSet);
    picker->edit()->interpretText();
}

// Runs `work` (steps of the caller's procedure, which handle their own errors) inside one
// workspace transaction. The main window's refill reads every entry, a statement each; inside a
// transaction the file is locked once for all of them instead of once per statement, which is
// most of a refill's time with many entries. Only cached values (the days until) are written in
// it: the entry itself was written and committed before.
void inOneTransaction(const QString &procedureName, const std::function<void()> &work)
{
    Procedure begin(procedureName, ErrorVariant::LogOnly);
    bool open = false;
    begin([&] {
        if (!gwsMain)
            vb::raise(vb::err::ObjectVariableNotSet);
        gwsMain->BeginTrans();
        open = true;
    });
    work();
    if (!open)
        return;
    Procedure commit(procedureName, ErrorVariant::LogOnly);
    if (!commit([&] { gwsMain->CommitTrans(); })) {
        Procedure rollback(procedureName, ErrorVariant::LogOnly);
        rollback([&] { gwsMain->Rollback(); });
    }
}

// Twips of the design. Labels sit right-aligned before their field, a little lower so that
// their text lines up with the field's.
constexpr double kLabelLeft = 120;
constexpr double kLabelWidth = 960;
constexpr double kFieldLeft = 1140;
constexpr double kFieldHeight = 330;
constexpr double kLabelDrop = 60;
constexpr double kLabelHeight = 255;
constexpr double kRowPitch = 435;
constexpr double kFirstRow = 300;
constexpr double kRightLabelLeft = 3000;
constexpr double kRightLabelWidth = 600;
constexpr double kRightFieldLeft = 3660;
constexpr double kFieldRight = 5460;
constexpr double kNotesHeight = 1800;
constexpr double kFrameWidth = 5580;
constexpr double kToolbarHeight = 480;

double rowTop(int row)
{
    return kFirstRow + row * kRowPitch;
}

} // namespace

frmEditor::frmEditor(QWidget *parent) : Form(QStringLiteral("frmEditor"), parent)
{
    setCaption(QStringLiteral("Editor"));
    buildMenus();
    buildToolbar();

    const double frameHeight = rowTop(3) + kNotesHeight + 180;
    fra1 = new platform::Frame(this, QStringLiteral("fra1"));
    fra1->Move(60, kToolbarHeight + 60, kFrameWidth, frameHeight);
    QWidget *area = fra1->area();

    auto label = [area](const QString &name, const QString &caption, double left, double top,
                        double width, Alignment alignment) {
        auto *lbl = new Label(area, name, caption);
        lbl->Move(left, top + kLabelDrop, width, kLabelHeight);
        lbl->setAlignment(alignment);
        lbl->setWordWrap(false);
        return lbl;
    };
    auto combo = [area](const QString &name, double left, double top, double width) {
        auto *cbo = new ComboBox(area, name, ComboBox::Style::DropDownCombo);
        cbo->Move(left, top, width, kFieldHeight);
        return cbo;
    };

    lblName = label(QStringLiteral("lblName"), QStringLiteral("Name:"), kLabelLeft, rowTop(0),
                    kLabelWidth, Alignment::Right);
    txtName = new TextBox(area, QStringLiteral("txtName"));
    txtName->Move(kFieldLeft, rowTop(0), kFieldRight - kFieldLeft, kFieldHeight);
    txtName->setMaxLength(kMaxNameLength);

    lblEvent = label(QStringLiteral("lblEvent"), QStringLiteral("Event:"), kLabelLeft, rowTop(1),
                     kLabelWidth, Alignment::Right);
    cboEvents = combo(QStringLiteral("cboEvents"), kFieldLeft, rowTop(1),
                      kRightLabelLeft - 60 - kFieldLeft);
    lblDate = label(QStringLiteral("lblDate"), QStringLiteral("Date:"), kRightLabelLeft, rowTop(1),
                    kRightLabelWidth, Alignment::Right);
    DTPdate = new DTPicker(area, QStringLiteral("DTPdate"), DTPicker::Format::ShortDate);
    DTPdate->Move(kRightFieldLeft, rowTop(1), kFieldRight - kRightFieldLeft, kFieldHeight);
    DTPdate->setMinDate(vb::Date::fromYmd(1900, 1, 1));
    DTPdate->setMaxDate(vb::Date::fromYmd(2100, 12, 31));

    lblAlert = label(QStringLiteral("lblAlert"), QStringLiteral("Alert me"), kLabelLeft, rowTop(2),
                     kLabelWidth, Alignment::Right);
    cboAlertDays = combo(QStringLiteral("cboAlertDays"), kFieldLeft, rowTop(2), 780);
    lblDaysBefore =
        label(QStringLiteral("lblDaysBefore"), QStringLiteral("days before."), kFieldLeft + 840,
              rowTop(2), kRightLabelLeft - kFieldLeft - 840, Alignment::Left);
    lblTime = label(QStringLiteral("lblTime"), QStringLiteral("Time:"), kRightLabelLeft, rowTop(2),
                    kRightLabelWidth, Alignment::Right);
    DTPtime = new DTPicker(area, QStringLiteral("DTPtime"), DTPicker::Format::Time);
    DTPtime->Move(kRightFieldLeft, rowTop(2), kFieldRight - kRightFieldLeft, kFieldHeight);

    lblNotes = label(QStringLiteral("lblNotes"), QStringLiteral("Notes:"), kLabelLeft, rowTop(3),
                     kLabelWidth, Alignment::Right);
    txtNotes = new TextBox(area, QStringLiteral("txtNotes"), TextBox::Lines::Multi);
    txtNotes->Move(kFieldLeft, rowTop(3), kFieldRight - kFieldLeft, kNotesHeight);
    txtNotes->setMaxLength(kMaxNotesLength);

    lblEventId = new Label(area, QStringLiteral("lblEventId"), QStringLiteral("0"));
    lblEventId->Tag = QStringLiteral("id");
    lblEventId->hide();
    lblRecId = new Label(area, QStringLiteral("lblRecId"), QStringLiteral("0"));
    lblRecId->Tag = QStringLiteral("id");
    lblRecId->hide();

    // The group that a reset clears; nothing is bound to data.
    for (platform::Control *control : std::initializer_list<platform::Control *>{
             txtName, cboEvents, cboAlertDays, txtNotes, lblEventId})
        control->DataMember = kGroup;
    lblRecId->DataMember = QStringLiteral("DAzez");
    lblRecId->setProperty("DataField", QStringLiteral("Dazez_Id"));
    lblEventId->setProperty("DataField", QStringLiteral("Events_Id"));

    statBar1 = new platform::StatusBar(this, QStringLiteral("statBar1"));
    cdlg1 = new platform::CommonDialog(this);

    setClientSize(kClientWidth, kToolbarHeight + 60 + frameHeight + 60 +
                                    platform::pixelsToTwipsY(statBar1->sizeHint().height()));

    // Each field is known by its label's text.
    const std::pair<Label *, platform::Control *> named[] = {
        {lblName, txtName},       {lblEvent, cboEvents}, {lblDate, DTPdate},
        {lblAlert, cboAlertDays}, {lblTime, DTPtime},    {lblNotes, txtNotes}};
    for (const auto &[lbl, field] : named)
        platform::labelFor(lbl, field);
    cboAlertDays->inner()->setAccessibleDescription(lblDaysBefore->Caption());

    const QList<QWidget *> tabOrder = {txtName,      cboEvents, DTPdate,
                                       cboAlertDays, DTPtime,   txtNotes};
    for (int i = 1; i < tabOrder.size(); ++i)
        QWidget::setTabOrder(tabOrder[i - 1], tabOrder[i]);

    // Field events.
    connect(txtName, &TextBox::Change, this, [this] { markDirty(); });
    connect(txtName, &TextBox::GotFocus, this, [this] {
        Procedure p(QStringLiteral("frmEditor.txtName_GotFocus"));
        p([&] {
            if (trimSpaces(txtName->Text()).isEmpty())
                p.leave();
        });
        p([&] { setStatus(kEditMode); });
        p([&] { SelectAllText(); });
    });
    connect(txtNotes, &TextBox::Change, this, [this] { markDirty(); });
    connect(txtNotes, &TextBox::GotFocus, this, [this] { setStatus(kEditMode); });
    connect(cboEvents, &ComboBox::Click, this, [this] {
        Procedure p(QStringLiteral("frmEditor.cboEvents_Click"));
        p([&] {
            lblEventId->setCaption(QString::number(cboEvents->ItemData(cboEvents->ListIndex())));
        });
        p([&] { markDirty(); });
    });
    connect(cboAlertDays, &ComboBox::Click, this, [this] { markDirty(); });
    for (DTPicker *picker : {DTPdate, DTPtime}) {
        connect(picker, &DTPicker::Change, this, [this] { markDirty(); });
        connect(picker, &DTPicker::GotFocus, this, [this] { setStatus(kEditMode); });
    }
    for (ComboBox *list : {cboEvents, cboAlertDays}) {
        connect(list, &ComboBox::GotFocus, this, [this] { setStatus(kEditMode); });
        connect(list, &ComboBox::KeyDown, this, [list](int &keyCode, int shift) {
            if (keyCode == kKeyF4 || (keyCode == kKeyDown && (shift & kShiftAlt)))
                static_cast<QComboBox *>(list->inner())->showPopup();
            keyCode = 0;
        });
        connect(list, &ComboBox::KeyPress, this, [](int &keyAscii) { keyAscii = 0; });
        // Nor does text reach the box by a paste from its context menu, a middle click or a
        // drop: the list changes only by picking an item.
        if (QLineEdit *edit = static_cast<QComboBox *>(list->inner())->lineEdit())
            edit->setReadOnly(true);
    }
}

void frmEditor::buildMenus()
{
    using platform::Menu;
    const auto item = [this](Menu *menu, const QString &name, const QString &caption,
                             void (frmEditor::*handler)()) {
        Menu *entry = menu->addItem(name, caption);
        connect(entry, &Menu::Click, this, handler);
        return entry;
    };
    mnuFile = addMenu(QStringLiteral("mnuFile"), QStringLiteral("&File"));
    mnuNew =
        item(mnuFile, QStringLiteral("mnuNew"), QStringLiteral("&New"), &frmEditor::mnuNew_Click);
    mnuFile->addItem(QStringLiteral("mnuSep1"), QStringLiteral("-"));
    mnuSave = item(mnuFile, QStringLiteral("mnuSave"), QStringLiteral("&Save"),
                   &frmEditor::mnuSave_Click);
    mnuFile->addItem(QStringLiteral("mnuSep2"), QStringLiteral("-"));
    mnuDelete = item(mnuFile, QStringLiteral("mnuDelete"), QStringLiteral("&Delete"),
                     &frmEditor::mnuDelete_Click);
    mnuFile->addItem(QStringLiteral("mnuSep3"), QStringLiteral("-"));
    mnuExit = item(mnuFile, QStringLiteral("mnuExit"), QStringLiteral("Close"),
                   &frmEditor::mnuExit_Click);

    mnuEdit = addMenu(QStringLiteral("mnuEdit"), QStringLiteral("&Edit"));
    mnuCut =
        item(mnuEdit, QStringLiteral("mnuCut"), QStringLiteral("&Cut"), &frmEditor::mnuCut_Click);
    mnuEdit->addItem(QStringLiteral("mnuSep4"), QStringLiteral("-"));
    mnuCopy =
        item(mnuEdit, QStringLiteral("mnuCopy"), QStringLiteral("Copy"), &frmEditor::mnuCopy_Click);
    mnuEdit->addItem(QStringLiteral("mnuSep5"), QStringLiteral("-"));
    mnuPaste = item(mnuEdit, QStringLiteral("mnuPaste"), QStringLiteral("&Paste"),
                    &frmEditor::mnuPaste_Click);

    mnuHelp = addMenu(QStringLiteral("mnuHelp"), QStringLiteral("&Help"));
    mnuContents = item(mnuHelp, QStringLiteral("mnuContents"), QStringLiteral("Contents"),
                       &frmEditor::mnuContents_Click);
    mnuIndex = item(mnuHelp, QStringLiteral("mnuIndex"), QStringLiteral("Index"),
                    &frmEditor::mnuIndex_Click);
    mnuHelp->addItem(QStringLiteral("mnuSep6"), QStringLiteral("-"));
    mnuWebsite = item(mnuHelp, QStringLiteral("mnuWebsite"), QStringLiteral("Almanoria Website"),
                      &frmEditor::mnuWebsite_Click);
    mnuHelp->addItem(QStringLiteral("mnuSep7"), QStringLiteral("-"));
    mnuAbout = item(mnuHelp, QStringLiteral("mnuAbout"), QStringLiteral("About"),
                    &frmEditor::mnuAbout_Click);
}

void frmEditor::buildToolbar()
{
    // Tool tips end in a blank, as the design stores them; an empty key is a separator.
    const std::pair<const char *, const char *> buttons[] = {{"new", "Add new event "},
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
    ils2 = core::makeToolbarImageList(this);
    tlBar1 = new platform::Toolbar(this, QStringLiteral("tlBar1"));
    tlBar1->setImageList(ils2);
    for (const auto &[key, toolTip] : buttons) {
        if (!*key) {
            tlBar1->Add(QString(), platform::ToolbarButton::Style::Separator);
            continue;
        }
        platform::ToolbarButton *button = tlBar1->Add(QString::fromLatin1(key));
        button->setToolTipText(QString::fromLatin1(toolTip));
        button->setImage(QString::fromLatin1(key));
    }
    connect(tlBar1, &platform::Toolbar::ButtonClick, this, &frmEditor::tlBar1_ButtonClick);
}

void frmEditor::mnuExit_Click()
{
    Unload();
}

// A clipboard that cannot be had leaves the box as it was and says nothing, as the toolbar's
// buttons do.
void frmEditor::mnuCut_Click()
{
    Procedure p(QStringLiteral("frmEditor.mnuCut_Click"), ErrorVariant::Silent);
    p([] { CutTextbox(); });
}

void frmEditor::mnuCopy_Click()
{
    Procedure p(QStringLiteral("frmEditor.mnuCopy_Click"), ErrorVariant::Silent);
    p([] { CopyTextbox(); });
}

void frmEditor::mnuPaste_Click()
{
    PasteTextbox();
}

void frmEditor::mnuContents_Click()
{
    Procedure p(QStringLiteral("frmEditor.mnuContents_Click"), ErrorVariant::Silent);
    core::showHelpTopics(p, this);
}

void frmEditor::mnuIndex_Click()
{
    Procedure p(QStringLiteral("frmEditor.mnuIndex_Click"), ErrorVariant::Silent);
    core::showHelpContext(p, cdlg1, core::kIndexHelpContext);
}

void frmEditor::mnuWebsite_Click()
{
    OpenWebsite(this);
}

void frmEditor::mnuAbout_Click()
{
    showAboutWindow();
}

void frmEditor::tlBar1_ButtonClick(platform::ToolbarButton *Button)
{
    Procedure p(QStringLiteral("frmEditor.tlBar1_ButtonClick"), ErrorVariant::Silent);
    QString key;
    p([&] { core::object(txtName).SetFocus(); });
    p([&] { key = core::object(Button).Key(); });
    p([&] {
        if (key == QLatin1String("new"))
            DataNew();
        else if (key == QLatin1String("save"))
            DataSave();
        else if (key == QLatin1String("delete"))
            DataDelete();
        else if (key == QLatin1String("cut"))
            CutTextbox();
        else if (key == QLatin1String("copy"))
            CopyTextbox();
        else if (key == QLatin1String("paste"))
            PasteTextbox();
        else if (key == QLatin1String("help"))
            mnuContents_Click();
        else if (key == QLatin1String("exit"))
            Unload();
    });
}

void frmEditor::setRunning(bool running)
{
    if (mblnIsRunning == running)
        return;
    mblnIsRunning = running;
    emit mblnIsRunningChanged(running);
}

void frmEditor::refillParentList(const QVariantList &columnAndDefault)
{
    QVariantList args{QVariant::fromValue(vb::ObjectMember(frmParent, QStringLiteral("lvw1")))};
    args.append(columnAndDefault);
    vb::CallByName(frmParent, QStringLiteral("SetEventList"), args);
}

void frmEditor::setStatus(const QString &text)
{
    SetStatBar(statBar1, text, 1);
}

void frmEditor::Form_Load()
{
    setRunning(true);
    InitForm();
}

void frmEditor::Form_Unload(int &)
{
    setRunning(false);
}

void frmEditor::InitForm()
{
    Procedure p(QStringLiteral("frmEditor.InitForm"));
    p([&] {
        if (mlngDataId == 0)
            mlngDataId = -1;
    });
    p([&] {
        auto *parentForm = qobject_cast<platform::Form *>(frmParent.data());
        if (!parentForm)
            vb::raise(vb::err::ObjectVariableNotSet);
        // Kept in front of the window that waits for it (a window-manager hint only: a child
        // window would be disabled with the main window).
        parentForm->winId();
        winId();
        windowHandle()->setTransientParent(parentForm->windowHandle());
        Move(parentForm->Left() + kParentOffset, parentForm->Top() + kParentOffset);
    });
    p([&] { FillLocalComboBoxes(); });
    p([&] {
        if (mlngDataId == -1) {
            mblnDirty = false;
            NewEvent();
        } else {
            SetEventData();
            mblnDirty = false;
        }
    });
    p([&] { lblRecId->setCaption(QString::number(mlngDataId)); });
}

bool frmEditor::FillLocalComboBoxes()
{
    Procedure p(QStringLiteral("frmEditor.FillLocalComboBoxes"));
    bool result = false;
    cDAO dao;
    p([&] { cboEvents->Clear(); });
    p([&] { cboAlertDays->Clear(); });
    int count = 0;
    p([&] {
        count = dao.RSReadFrom(
            QStringLiteral("SELECT Events_EventName, Events_Id FROM Events ORDER BY Events_Id"));
    });
    if (count > 0) {
        while (p.ok() && !p.value(true, [] { return core::sharedRecordset().eof(); })) {
            p([&] {
                cboEvents->AddItem(vb::CStr(grsShared->Field(QStringLiteral("Events_EventName"))));
            });
            p([&] {
                cboEvents->setItemData(cboEvents->NewIndex(),
                                       vb::CLng(grsShared->Field(QStringLiteral("Events_Id"))));
            });
            p([&] {
                const std::int32_t id = vb::CLng(grsShared->Field(QStringLiteral("Events_Id")));
                if (id == gudtSettings.DefaultEvent) {
                    cboEvents->setText(
                        vb::CStr(grsShared->Field(QStringLiteral("Events_EventName"))));
                    lblEventId->setCaption(QString::number(id));
                }
            });
            p([&] { grsShared->MoveNext(); });
        }
    }
    p([&] { core::closeSharedRecordset(); });
    for (int days = 0; days <= kHighestAlertDays; ++days)
        p([&] { cboAlertDays->AddItem(QString::number(days)); });
    p([&] { cboAlertDays->setText(QString::number(gudtSettings.DefaultAlertDays)); });
    p([&] { result = true; });
    return result;
}

bool frmEditor::NewEvent()
{
    Procedure p(QStringLiteral("frmEditor.NewEvent"));
    bool result = false;
    p([&] {
        if (!mblnDirty)
            return;
        switch (msgSaveChangedRecord()) {
        case platform::mb::Yes:
            if (!SaveVemoEvent())
                p.leave();
            break;
        case platform::mb::No:
            break;
        default:
            // Cancel, and a question that could not be asked: the changes stay on screen.
            p.leave();
            break;
        }
    });
    p([&] { ClearSpecificDataFields(this, kGroup); });
    p([&] { FillLocalComboBoxes(); });
    p([&] { DTPdate->setValue(vb::Variant(today())); });
    p([&] { DTPtime->setValue(vb::Variant(gudtSettings.DefaultDisplayTime)); });
    p([&] {
        mlngDataId = -1;
        lblRecId->setCaption(QStringLiteral("-1"));
    });
    p([&] { setStatus(kAddNewMode); });
    p([&] {
        mblnDirty = false;
        result = true;
    });
    return result;
}

void frmEditor::SetEventData()
{
    Procedure p(QStringLiteral("frmEditor.SetEventData"), ErrorVariant::LogOnly);
    p([&] {
        lblRecId->setCaption(QString::number(mlngDataId));
        if (vb::CLng(vb::Variant(lblRecId->Caption())) <= 0)
            p.leave();
    });
    p([&] {
        cDAO().RSReadFrom(QStringLiteral("SELECT * FROM Dazez WHERE Dazez_Id = ") +
                          QString::number(mlngDataId));
    });
    p([&] {
        txtName->setText(vb::CStr(core::sharedRecordset().Field(QStringLiteral("Dazez_Name"))));
    });
    p([&] { DTPdate->setValue(core::sharedRecordset().Field(QStringLiteral("Dazez_Date"))); });
    p([&] { DTPtime->setValue(core::sharedRecordset().Field(QStringLiteral("Dazez_Time"))); });
    p([&] {
        cboAlertDays->setText(
            vb::CStr(core::sharedRecordset().Field(QStringLiteral("Dazez_AlertDays"))));
    });
    p([&] {
        txtNotes->setText(vb::CStr(core::sharedRecordset().Field(QStringLiteral("Dazez_Notes"))));
    });
    p([&] {
        lblEventId->setCaption(
            vb::CStr(core::sharedRecordset().Field(QStringLiteral("Events_Id"))));
    });
    p([&] { core::closeSharedRecordset(); });
    p([&] {
        cboEvents->setText(ReturnString(
            QStringLiteral("Events"), QStringLiteral("Events_EventName"),
            QStringLiteral("Events_ID"), vb::CLng(vb::Variant(lblEventId->Caption()))));
    });
    p([&] { setStatus(kEditMode); });
}

bool frmEditor::SaveVemoEvent()
{
    Procedure p(QStringLiteral("frmVemo.SaveVemoEvent"), ErrorVariant::LogOnly);
    bool result = false;
    bool isNew = false;
    cDAO dao;
    cDateHandler dateHandler;
    p([&] {
        if (trimSpaces(txtName->Text()).isEmpty()) {
            setStatus(QStringLiteral("Please enter a name before saving your data."));
            p.leave();
        }
    });
    p([&] { ApostropheParseOut(this); });
    p([&] { refresh(DTPdate); });
    p([&] { refresh(DTPtime); });
    p([&] {
        dao.RSOpen(QStringLiteral("SELECT * FROM dazez WHERE dazez_Id = ") +
                   QString::number(mlngDataId));
    });
    p([&] {
        jet::Recordset &rs = core::sharedRecordset();
        if (rs.RecordCount() < 1) {
            rs.AddNew();
            isNew = true;
        } else {
            rs.Edit();
        }
    });
    p([&] {
        grsShared->SetField(QStringLiteral("Events_Id"), vb::Variant(lblEventId->Caption()));
    });
    p([&] {
        grsShared->SetField(QStringLiteral("Dazez_Name"), vb::Variant(trimSpaces(txtName->Text())));
    });
    p([&] {
        grsShared->SetField(QStringLiteral("Dazez_AlertDays"), vb::Variant(cboAlertDays->Text()));
    });
    p([&] { grsShared->SetField(QStringLiteral("Dazez_Date"), DTPdate->Value()); });
    p([&] { grsShared->SetField(QStringLiteral("Dazez_Time"), DTPtime->Value()); });
    p([&] { grsShared->SetField(QStringLiteral("Dazez_Notes"), vb::Variant(txtNotes->Text())); });
    p([&] { grsShared->Update(); });
    p([&] {
        if (isNew) {
            grsShared->MoveFirst();
            grsShared->MoveLast();
            mlngDataId = vb::CLng(grsShared->Field(QStringLiteral("Dazez_Id")));
        }
    });
    p([&] { core::closeSharedRecordset(); });
    p([&] { lblRecId->setCaption(QString::number(mlngDataId)); });
    p([&] {
        setStatus(QStringLiteral("Your data has been saved."));
        result = true;
    });
    inOneTransaction(p.name(), [&] {
        p([&] { refillParentList({0, 1}); });
        p([&] { dateHandler.EditComingEvent(mlngDataId); });
    });
    return result;
}

bool frmEditor::DeleteEvent()
{
    Procedure p(QStringLiteral("frmEditor.DeleteEvent"), ErrorVariant::LogOnly);
    bool failed = false;
    p.setHandler([&failed](const vb::RuntimeError &) {
        failed = true;
        return core::ErrorAction::Default;
    });
    bool result = false;
    p([&] {
        if (mlngDataId == -1) {
            setStatus(QStringLiteral("There is no data to delete"));
            p.leave();
        }
    });
    QString name;
    p([&] {
        name = ReturnString(QStringLiteral("Dazez"), QStringLiteral("Dazez_Name"),
                            QStringLiteral("Dazez_Id"), mlngDataId);
    });
    p([&] {
        if (!msgDelete(name)) {
            setStatus(kNotDeleted);
            p.leave();
        }
    });
    bool deleted = false;
    p([&] {
        deleted = cDAO().RSDelete(QStringLiteral("DELETE FROM Dazez WHERE Dazez_Id = ") +
                                  QString::number(mlngDataId));
    });
    const std::int32_t deletedId = mlngDataId;
    if (deleted) {
        p([&] { setStatus(kDeleted); });
        inOneTransaction(p.name(), [&] {
            p([&] { refillParentList({0}); });
            p([&] { cDateHandler().RemoveDeletedUpcomingCol(deletedId); });
        });
        p([&] { result = true; });
    }
    p([&] { NewEvent(); });
    p([&] { mblnDirty = false; });
    p([&] { setStatus(result ? kDeleted : kNotDeleted); });
    // A failed step was logged; the user reads the outcome in the status bar.
    if (failed)
        setStatus(kNotDeleted);
    return result;
}

void frmEditor::DataSave()
{
    Procedure p(QStringLiteral("frmDazez.DataSave"));
    p([&] {
        if (SaveVemoEvent())
            mblnDirty = false;
    });
}

void frmEditor::DataNew()
{
    Procedure p(QStringLiteral("frmEditor.DataNew"));
    p([&] { NewEvent(); });
}

void frmEditor::DataDelete()
{
    Procedure p(QStringLiteral("frmEditor.DataDelete"));
    p([&] { DeleteEvent(); });
}

bool frmEditor::CheckEventName()
{
    Procedure p(QStringLiteral("frmDazez.CheckEventName"));
    bool result = false;
    std::int16_t alertDays = 0;
    QString text;
    p([&] { alertDays = vb::CInt(vb::Variant(cboAlertDays->Text())); });
    p([&] {
        text = trimSpaces(cboEvents->Text());
        if (text.isEmpty()) {
            msgEnterEventName();
            p.leave();
        }
    });
    p([&] {
        // The name is joined into the statement as a literal: its apostrophes are doubled so
        // that any name finds its row and none can change the statement.
        QString literal = text;
        literal.replace(QLatin1Char('\''), QStringLiteral("''"));
        cDAO().RSOpen(QStringLiteral("SELECT * FROM Events WHERE Events_EventName = '") + literal +
                      QLatin1Char('\''));
    });
    bool exists = false;
    p([&] { exists = core::sharedRecordset().RecordCount() > 0; });
    if (exists) {
        p([&] { core::closeSharedRecordset(); });
        p([&] { result = true; });
        return result;
    }
    bool add = false;
    p([&] { add = msgAddNewEvent(text); });
    if (!add) {
        p([&] { core::closeSharedRecordset(); });
        return result;
    }
    // After an ignored failure of the open there is no recordset: each step raises 91 then.
    p([&] { core::sharedRecordset().AddNew(); });
    p([&] {
        core::sharedRecordset().SetField(QStringLiteral("Events_EventName"), vb::Variant(text));
    });
    p([&] { core::sharedRecordset().Update(); });
    p([&] { core::closeSharedRecordset(); });
    std::int32_t newId = -1;
    p([&] {
        newId = ReturnId(QStringLiteral("Events"), QStringLiteral("Events_EventName"), text,
                         QStringLiteral("Events_ID"));
    });
    p([&] { FillLocalComboBoxes(); });
    p([&] { cboEvents->setText(text); });
    p([&] { lblEventId->setCaption(QString::number(newId)); });
    p([&] { cboAlertDays->setText(QString::number(alertDays)); });
    p([&] { result = true; });
    return result;
}

platform::Form *editorDefaultInstance()
{
    static QPointer<frmEditor> instance;
    if (!instance || instance->isUnloaded())
        instance = new frmEditor;
    return instance;
}
