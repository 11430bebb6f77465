#include "frmDazez.h"

#include "core/ErrorProtocol.h"
#include "core/Globals.h"
#include "core/MainCode_QW.h"
#include "core/cDAO.h"
#include "core/modDataSQL.h"
#include "core/mod_VOVuriv.h"
#include "dates/NoticeTimer.h"
#include "dates/UpcomingLists.h"
#include "dates/cDateHandler.h"
#include "dates/frmEventNotice.h"

#include "platform/forms/Accessibility.h"
#include "platform/forms/Controls.h"
#include "platform/forms/DTPicker.h"
#include "platform/forms/ImageList.h"
#include "platform/forms/ListView.h"
#include "platform/forms/MonthView.h"
#include "platform/forms/Msghook.h"
#include "platform/forms/TabControl.h"
#include "platform/forms/WindowTimer.h"
#include "platform/forms/WindowUpdateLock.h"
#include "platform/services/CommonDialog.h"
#include "platform/services/Services.h"
#include "platform/vb/Conversions.h"

#include <QCoreApplication>
#include <QTimer>

#include <array>

using core::ErrorVariant;
using core::Procedure;
using platform::CheckBox;
using platform::ComboBox;
using platform::Label;
using platform::ListItem;
using platform::ListView;

namespace {

// The window's design, in twips. The tabs' controls are placed from their page's corner.
constexpr double kClientWidth = 10080;
constexpr double kClientHeight = 6300;
// The toolbar lies along the top of the client area; the tabs begin below it.
constexpr double kToolbarHeight = 420;
constexpr double kTabTop = kToolbarHeight + 120;

const QString kNoUpcomingStatus = QStringLiteral("There are no upcoming Events");
const QString kNoUpcomingBox = QStringLiteral("There are no upcoming events.");

// The event-type names the list knows a picture for, in the order of ils3.
const std::array<QString, 5> kEventTypes = {
    QStringLiteral("birthday"), QStringLiteral("anniversary"), QStringLiteral("holiday"),
    QStringLiteral("event"), QStringLiteral("reminder")};

struct ColumnDesign
{
    const char *text;
    const char *key;
    double width;
    platform::Alignment alignment;
};

const std::array<ColumnDesign, 4> kColumns = {{
    {"Name", "Name", 1800, platform::Alignment::Left},
    {"Date", "Date", 1400, platform::Alignment::Left},
    {"Event", "Event", 1250, platform::Alignment::Center},
    {"Days Til", "DaysTil", 750, platform::Alignment::Center},
}};

// The texts a column of the list must show whole, whatever rows it has when the window is
// fitted to the desktop's font: the event types' names as the delivered database holds them
// (the list shows them as stored), a date with two-digit day and month in the user's format,
// and the most days there can be until a date recurs. The names are the user's own: a long one
// may end in "…".
QStringList wholeTextsOf(const ColumnDesign &column)
{
    const QLatin1String key(column.key);
    if (key == QLatin1String("Event"))
        return {QStringLiteral("Birthday"), QStringLiteral("Anniversary"),
                QStringLiteral("Holiday"), QStringLiteral("Event"), QStringLiteral("Reminder")};
    if (key == QLatin1String("Date"))
        return {vb::CStr(vb::Variant(vb::Date::fromYmd(2000, 12, 28)))};
    if (key == QLatin1String("DaysTil"))
        return {QStringLiteral("365")};
    return {};
}

ListView &listViewOf(QObject *object)
{
    if (!object)
        vb::raise(vb::err::ObjectVariableNotSet);
    auto *view = qobject_cast<ListView *>(object);
    if (!view)
        vb::raise(438, QStringLiteral("Object doesn't support this property or method"));
    return *view;
}

QDateTime now()
{
    return platform::services().clock->now();
}

vb::Date today()
{
    return vb::Date::fromQDate(now().date());
}

QString orderClause(std::int16_t column)
{
    switch (column) {
    case 1:
        return QStringLiteral(" ORDER BY Dazez_Name");
    case 2:
        return QStringLiteral(" ORDER BY Dazez_Date");
    case 3:
        return QStringLiteral(" ORDER BY Events_Id");
    default:
        return QStringLiteral(" ORDER BY Dazez_DaysTil");
    }
}

// The row's id behind its key "K<id>".
std::int32_t idOfRow(const ListItem &item)
{
    return vb::CLng(vb::Variant(item.Key().mid(1)));
}

// One row of the entry list, read from grsShared's current row. Every value is converted before
// the row is added, so that a row that cannot be read adds nothing.
struct EntryRow
{
    QString key, name, date, eventName, daysTil;
    int smallIcon = 0;
};

// `smallIcon` is the picture of the row before, which a row whose event type has none of its
// own carries on.
EntryRow readEntryRow(int smallIcon)
{
    EntryRow row;
    std::int32_t eventId = 0;
    {
        // Read before the type name's lookup, which may wait on a box.
        const jet::Recordset &rs = core::sharedRecordset();
        eventId = vb::CLng(rs.Field(QStringLiteral("Events_Id")));
        row.key = QStringLiteral("K") + vb::CStr(rs.Field(QStringLiteral("Dazez_Id")));
        row.name = vb::CStr(rs.Field(QStringLiteral("Dazez_Name")));
        row.date = vb::CStr(rs.Field(QStringLiteral("Dazez_Date")));
        row.daysTil = vb::CStr(rs.Field(QStringLiteral("Dazez_DaysTil")));
    }
    const vb::Variant eventName = GetEventName(eventId);
    const QString lower = eventName.isNull() ? QString() : vb::CStr(eventName).toLower();
    row.smallIcon = smallIcon;
    for (std::size_t i = 0; i < kEventTypes.size(); ++i)
        if (lower == kEventTypes[i])
            row.smallIcon = static_cast<int>(i) + 1;
    row.eventName = vb::CStr(eventName);
    return row;
}

void addEntryRow(ListView &view, const EntryRow &row)
{
    ListItem *item = view.ListItems().Add(std::nullopt, row.key, row.name, 1, row.smallIcon);
    item->setSubItems(1, row.date);
    item->setSubItems(2, row.eventName);
    item->setSubItems(3, row.daysTil);
}

// The notice tick's two tests of position i: not shown today, and due in this minute. Both
// give what comparing the status with today's date and the "HH:MM" texts would give, without
// making a text or parsing "d1" for every entry of every tick.
bool noticeDue(int i, const vb::Date &today, int minuteOfDay, const QString &minuteText)
{
    const vb::Variant &status = gcolUpcomingStatus.Item(i);
    const QString *statusText = status.get<QString>();
    const bool notShownMark = statusText && *statusText == dates::kNotShownStatus;
    if (!notShownMark && vb::compareEqual(vb::Variant(today), status))
        return false;
    const vb::Variant &time = gcolUpcomingTime.Item(i);
    if (time.isNull()) // an entry without a time of day is never due; no error every tick
        return false;
    if (const vb::Date *date = time.get<vb::Date>())
        return date->secondsOfDay() / 60 == minuteOfDay;
    return vb::formatHHMM(time) == minuteText;
}

} // namespace

frmDazez::frmDazez(QWidget *parent) : platform::Form(QStringLiteral("frmDazez"), parent)
{
    setCaption(core::kProductName + QStringLiteral(" - ") + core::kMakerName);
    setIcon(frmEventNotice::ownIcon());
    setClientSize(kClientWidth, kClientHeight);
    buildMenus();
    buildToolbar();

    ils3 = new platform::ImageList(this, QStringLiteral("ils3"));
    for (std::size_t i = 0; i < kEventTypes.size(); ++i)
        ils3->Add(kEventTypes[i], frmEventNotice::eventTypeIcon(static_cast<int>(i)));

    tab1 = new platform::TabControl(
        this, QStringLiteral("tab1"),
        {QString::fromLatin1(kEventsTab), QString::fromLatin1(kSettingsTab)});
    tab1->Move(120, kTabTop, kClientWidth - 240, kClientHeight - kTabTop - 120 - 360);
    buildEventsTab();
    buildSettingsTab();

    chkDummy = platform::makeFocusSink(this, QStringLiteral("chkDummy"),
                                       QStringLiteral("PlatzHolder"), -5000, -100);
    statBar1 = new platform::StatusBar(this, QStringLiteral("statBar1"), 1);
    cdlg1 = new platform::CommonDialog(this);
    Msghook = new platform::Msghook(this, QStringLiteral("Msghook"));

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(300);
    dates::setNoticeTimer(Timer1);

    Timer2 = new QTimer(this);
    Timer2->setObjectName(QStringLiteral("Timer2"));
    Timer2->setInterval(450);

    connectHandlers();
    Timer2->start();
}

frmDazez::~frmDazez()
{
    if (dates::noticeTimer() == Timer1)
        dates::setNoticeTimer(nullptr);
}

void frmDazez::buildEventsTab()
{
    QWidget *page = tab1->page(0);
    lvw1 = new ListView(page, QStringLiteral("lvw1"));
    lvw1->Move(90, 90, 5760, 4410);
    lvw1->inner()->setAccessibleName(QStringLiteral("Events"));

    MonthView1 = new platform::MonthView(page, QStringLiteral("MonthView1"));
    MonthView1->Move(5970, 90, 3720, 2880);
    MonthView1->inner()->setAccessibleName(QStringLiteral("Calendar"));
}

void frmDazez::buildSettingsTab()
{
    QWidget *page = tab1->page(1);
    auto check = [page](const QString &name, const QString &caption, double top) {
        auto *chk = new CheckBox(page, name, caption);
        chk->Move(240, top, 3000, 300);
        return chk;
    };
    chkSound = check(QStringLiteral("chkSound"), QStringLiteral("Use Alarm sound"), 240);
    chkTimerOn = check(QStringLiteral("chkTimerOn"), QStringLiteral("Timer ON"), 660);
    chkShowEvents =
        check(QStringLiteral("chkShowEvents"), QStringLiteral("Show Events at start up"), 1080);
    chkSysTray = check(QStringLiteral("chkSysTray"), QStringLiteral("Start in System Tray"), 1500);
    // Nothing acts on this setting and every save writes 0 for it: it is shown, not offered.
    chkSysTray->setEnabled(false);

    auto label = [page](const QString &name, const QString &caption, double top) {
        auto *lbl = new Label(page, name, caption);
        lbl->Move(3600, top, 2100, 255);
        lbl->setAlignment(platform::Alignment::Right);
        lbl->setWordWrap(false);
        return lbl;
    };
    lblDefaultAlertDays =
        label(QStringLiteral("lblDefaultAlertDays"), QStringLiteral("Default Alert days:"), 285);
    cboDefalutAlertDays = new ComboBox(page, QStringLiteral("cboDefalutAlertDays"));
    cboDefalutAlertDays->Move(5820, 240, 1095, 315);
    platform::labelFor(lblDefaultAlertDays, cboDefalutAlertDays);

    lblDefaultEvent =
        label(QStringLiteral("lblDefaultEvent"), QStringLiteral("Default Event:"), 705);
    cboDefaultEvent = new ComboBox(page, QStringLiteral("cboDefaultEvent"));
    cboDefaultEvent->Move(5820, 660, 2400, 315);
    platform::labelFor(lblDefaultEvent, cboDefaultEvent);

    lblDefaultTime =
        label(QStringLiteral("lblDefaultTime"), QStringLiteral("Default Event Time:"), 1125);
    DTPDefaultTime = new platform::DTPicker(page, QStringLiteral("DTPDefaultTime"),
                                            platform::DTPicker::Format::Time);
    DTPDefaultTime->Move(5820, 1080, 2400, 315);
    platform::labelFor(lblDefaultTime, DTPDefaultTime);
}

void frmDazez::connectHandlers()
{
    connect(lvw1, &ListView::Click, this, &frmDazez::lvw1_Click);
    connect(lvw1, &ListView::DblClick, this, &frmDazez::lvw1_DblClick);
    connect(lvw1, &ListView::ColumnClick, this, &frmDazez::lvw1_ColumnClick);
    connect(lvw1, &ListView::LostFocus, this, &frmDazez::lvw1_LostFocus);
    connect(lvw1, &ListView::MouseDown, this, &frmDazez::lvw1_MouseDown);
    connect(Msghook, &platform::Msghook::Message, this,
            [this](std::int32_t msg, std::int32_t wParam, std::int32_t lParam, std::int32_t &) {
                Msghook_Message(msg, wParam, lParam);
            });

    connect(cboDefalutAlertDays, &ComboBox::Click, this, &frmDazez::cboDefalutAlertDays_Click);
    // Typing does nothing here; only the keys that open the list pass, so that the list can
    // still be reached from the keyboard.
    connect(cboDefalutAlertDays, &ComboBox::KeyDown, this, [](int &keyCode, int shift) {
        const bool opensList = keyCode == 115 || ((keyCode == 38 || keyCode == 40) && shift == 4);
        if (!opensList)
            keyCode = 0;
    });
    connect(cboDefalutAlertDays, &ComboBox::KeyPress, this, [](int &keyAscii) { keyAscii = 0; });
    connect(cboDefaultEvent, &ComboBox::Click, this, &frmDazez::cboDefaultEvent_Click);
    connect(chkShowEvents, &CheckBox::Click, this, &frmDazez::chkShowEvents_Click);
    connect(chkSound, &CheckBox::Click, this, &frmDazez::chkSound_Click);
    connect(chkTimerOn, &CheckBox::Click, this, &frmDazez::chkTimerOn_Click);
    connect(DTPDefaultTime, &platform::DTPicker::Change, this, &frmDazez::DTPDefaultTime_Change);

    platform::connectTimer(Timer1, this, [this] { Timer1_Timer(); });
    platform::connectTimer(Timer2, this, [this] { Timer2_Timer(); });
}

// ---- the entry list ------------------------------------------------------------------------

bool frmDazez::SetEventList(QObject *argLVW, int argColumn, int argDefault)
{
    Procedure p(QStringLiteral("frmDazez.SetEventList"), ErrorVariant::LogOnly);
    cDAO dao;
    cDateHandler dateHandler;
    // Painting stays locked from step 3 to the end, and is unlocked on every way out.
    platform::WindowUpdateLock paintLock;
    ListView *view = nullptr;
    std::int16_t column = 0;
    std::int16_t keepDirection = 0;
    p([&] {
        column = vb::CInt(vb::Variant(static_cast<std::int32_t>(argColumn)));
        keepDirection = vb::CInt(vb::Variant(static_cast<std::int32_t>(argDefault)));
    });
    p([&] { view = &listViewOf(argLVW); });
    p([&] { view->ListItems().Clear(); });
    p([&] { view->ColumnHeaders().Clear(); });
    p([&] { paintLock.lock(this); });
    p([&] { dateHandler.SetDaysTil(); });
    const QString order = orderClause(column);
    p([&] {
        lvw1->setIcons(ils3);
        lvw1->setSmallIcons(ils3);
    });
    for (const ColumnDesign &c : kColumns)
        p([&] {
            platform::ColumnHeader *header =
                view->ColumnHeaders().Add(std::nullopt, QString::fromLatin1(c.key),
                                          QString::fromLatin1(c.text), std::nullopt, c.alignment);
            header->setWidth(c.width);
            header->setWholeTexts(wholeTextsOf(c));
        });
    QString statement;
    p([&] {
        if (mblnLoading)
            intSortDesc = 0;
        if (keepDirection == 1)
            intSortDesc = intSortDesc == 0 ? 1 : 0;
        statement = QStringLiteral("SELECT * FROM Dazez ") + order +
                    (intSortDesc == 0 ? QStringLiteral(" ASC") : QStringLiteral(" DESC"));
    });
    // The rows and their type names are read in one read transaction: one view of the table,
    // and one lock of the file for the whole read instead of one for every type-name lookup.
    // Without it the refill would still run, only slower.
    bool reading = false;
    Procedure begin(QStringLiteral("frmDazez.SetEventList"), ErrorVariant::Silent);
    begin([&] {
        if (p.ok() && gwsMain) {
            gwsMain->BeginTrans();
            reading = true;
        }
    });
    int count = 0;
    p([&] { count = dao.RSReadFrom(statement); });
    if (count > 0) {
        int smallIcon = 0;
        while (p.ok() && !p.value(true, [] { return core::sharedRecordset().eof(); })) {
            // A row that cannot be read is passed over; the others are all listed.
            EntryRow row;
            if (p.rowStep([&] { row = readEntryRow(smallIcon); }))
                p([&] {
                    addEntryRow(*view, row);
                    smallIcon = row.smallIcon;
                });
            p([&] { core::sharedRecordset().MoveNext(); });
        }
        p([&] { intSortDesc = intSortDesc == 0 ? 1 : 0; });
        p([&] {
            if (column == 3) {
                lvw1->setSortKey(2);
                lvw1->setSortOrder(intSortDesc == 0 ? 0 : 1);
                lvw1->setSorted(true);
            }
            lvw1->setSorted(false);
        });
    }
    core::closeSharedRecordset();
    if (reading) {
        Procedure end(QStringLiteral("frmDazez.SetEventList"), ErrorVariant::LogOnly);
        end([&] { gwsMain->CommitTrans(); });
    }
    return false;
}

void frmDazez::SetLVWCount()
{
    Procedure p(QStringLiteral("frmDazez.SetLVWCount"), ErrorVariant::LogOnly);
    p([&] {
        SetStatBar(statBar1,
                   QStringLiteral("You have ") + QString::number(lvw1->ListItems().Count()) +
                       QStringLiteral(" records in this listview."),
                   1);
    });
}

void frmDazez::lvw1_Click()
{
    Procedure p(QStringLiteral("frmDazez.lvw1_Click"));
    p([&] { SetLVWCount(); });
    p([&] {
        if (const ListItem *item = lvw1->SelectedItem())
            mlngCurrentId = idOfRow(*item);
    });
}

void frmDazez::lvw1_DblClick()
{
    Procedure p(QStringLiteral("frmDazez.lvw1_DblClick"), ErrorVariant::Silent);
    p([&] {
        if (const ListItem *item = lvw1->SelectedItem())
            mlngCurrentId = idOfRow(*item);
    });
    p([&] { LoadEditor(); });
}

void frmDazez::lvw1_ColumnClick(int position)
{
    Procedure p(QStringLiteral("frmDazez.lvw1_ColumnClick"));
    p([&] { SetEventList(lvw1, position, 0); });
    p([&] { SetLVWCount(); });
}

void frmDazez::lvw1_LostFocus()
{
    Procedure p(QStringLiteral("frmDazez.lvw1_LostFocus"), ErrorVariant::Silent);
    int count = 0;
    p([&] { count = lvw1->ListItems().Count(); });
    for (int i = 1; i <= count; ++i)
        p([&] {
            ListItem *item = lvw1->ListItems().Item(i);
            if (item->Selected())
                item->setSelected(false);
        });
}

// ---- load and settings ---------------------------------------------------------------------

void frmDazez::Form_Load()
{
    Procedure p(QStringLiteral("frmDazez.Form_Load"), ErrorVariant::Silent);
    p([&] { mblnLoading = true; });
    p([&] { GetFormSettings(); });
    p([&] { SetDefaultEventCombobox(); });
    p([&] { setVisible(false); });
    p([&] { SetEventUDTs(); });
    p([&] {
        if (gudtSettings.ShowEventsAtStart == 1)
            RunUpComingEvents(1);
    });
    p([&] { mblnLoading = false; });
    p([&] {
        if (gudtSettings.TimerOn != 0)
            Timer1->start();
    });
    p([&] { Show(); });
    p([&] { lvw1_LostFocus(); });
    p([&] { chkDummy->SetFocus(); });
    p([&] { SetLVWCount(); });
}

void frmDazez::GetFormSettings()
{
    Procedure p(QStringLiteral("frmDazez.GetFormSettings"), ErrorVariant::LogAndContinue);
    p.setZeroTimeStamp(true);
    p([&] { ClearDataFields(this); });
    p([&] { setCaption(core::kProductName + QStringLiteral(" - ") + core::kMakerName); });
    p([&] { DTPDefaultTime->setValue(vb::Variant(gudtSettings.DefaultDisplayTime)); });
    // Each box raises its Click here when the stored value differs from its unchecked start.
    p([&] { chkShowEvents->setValue(gudtSettings.ShowEventsAtStart); });
    p([&] { chkSysTray->setValue(gudtSettings.StartInTray); });
    p([&] { chkTimerOn->setValue(gudtSettings.TimerOn); });
    p([&] { chkSound->setValue(gudtSettings.SoundOn); });
    p([&] { CenterForm(this); });
    p([&] { SetEventList(lvw1, 0, 0); });
    p([&] { FillLocalComboBoxes(); });
    p([&] { MonthView1->setValue(vb::Variant(today())); });
}

void frmDazez::SetDefaultEventCombobox()
{
    Procedure p(QStringLiteral("frmDazez.SetDefaultEventCombobox"));
    cDAO dao;
    p([&] { cboDefaultEvent->Clear(); });
    p([&] {
        dao.RSReadFrom(
            QStringLiteral("SELECT Events_EventName, Events_Id FROM Events ORDER BY Events_Id"));
    });
    bool any = false;
    p([&] { any = core::sharedRecordset().RecordCount() >= 1; });
    if (any) {
        auto field = [](const char *name) {
            return core::sharedRecordset().Field(QString::fromLatin1(name));
        };
        while (p.ok() && !p.value(true, [] { return core::sharedRecordset().eof(); })) {
            p([&] { cboDefaultEvent->AddItem(vb::CStr(field("Events_EventName"))); });
            p([&] {
                cboDefaultEvent->setItemData(cboDefaultEvent->NewIndex(),
                                             vb::CLng(field("Events_Id")));
            });
            p([&] {
                if (vb::CLng(field("Events_Id")) == gudtSettings.DefaultEvent)
                    cboDefaultEvent->setText(vb::CStr(field("Events_EventName")));
            });
            p([&] { core::sharedRecordset().MoveNext(); });
        }
    }
    p([&] { core::closeSharedRecordset(); });
    if (!p.ok() || gudtSettings.DefaultEvent > 0 || !cboDefaultEvent->Text().isEmpty())
        return;
    // No default yet: the birthday type, kept in memory until the next save writes it.
    p([&] {
        gudtSettings.DefaultEvent =
            ReturnId(QStringLiteral("Events"), QStringLiteral("Events_EventName"),
                     QStringLiteral("birthday"), QStringLiteral("Events_Id"));
    });
    p([&] {
        cboDefaultEvent->setText(
            ReturnString(QStringLiteral("Events"), QStringLiteral("Events_EventName"),
                         QStringLiteral("Events_Id"), gudtSettings.DefaultEvent));
    });
}

void frmDazez::FillLocalComboBoxes()
{
    Procedure p(QStringLiteral("XXX.FillLocalComboBoxes"));
    p([&] { cboDefalutAlertDays->Clear(); });
    for (int i = 0; i <= 30; ++i)
        p([&] { cboDefalutAlertDays->AddItem(QString::number(i)); });
    p([&] { cboDefalutAlertDays->setText(QString::number(gudtSettings.DefaultAlertDays)); });
}

bool frmDazez::SaveAdminData(std::int16_t mode)
{
    Procedure p(QStringLiteral("frmDazez.SaveAdminData"), ErrorVariant::LogOnly);
    bool result = false;
    const std::int32_t keptId = mlngCurrentId;
    cDAO dao;
    p([&] { dao.RSOpen(QStringLiteral("SELECT * FROM Settings")); });
    p([&] {
        jet::Recordset &rs = core::sharedRecordset();
        if (rs.eof())
            rs.AddNew();
        else
            rs.Edit();
    });
    auto set = [&](const char *column, const vb::Variant &value) {
        p([&] { core::sharedRecordset().SetField(QString::fromLatin1(column), value); });
    };
    if (mode == 1) {
        set("Settings_LastRecordViewed", vb::Variant(keptId));
    } else {
        set("Settings_DefaultAlertDays", vb::Variant(gudtSettings.DefaultAlertDays));
        set("Settings_DefaultEvent", vb::Variant(gudtSettings.DefaultEvent));
        set("Settings_LastRecordViewed", vb::Variant(keptId));
        set("Settings_StartDayOfWeek", vb::Variant(std::int16_t{0}));
        set("Settings_StartInTray", vb::Variant(std::int16_t{0}));
        set("Settings_FormLeft", vb::Variant(static_cast<float>(Left())));
        set("Settings_FormTop", vb::Variant(static_cast<float>(Top())));
        set("Settings_ShowEventsAtStart",
            vb::Variant(static_cast<std::int16_t>(chkShowEvents->Value())));
        set("Settings_DefaultDisplayTime", vb::Variant(gudtSettings.DefaultDisplayTime));
        set("Settings_TimerOn", vb::Variant(gudtSettings.TimerOn));
        set("Settings_SoundOn", vb::Variant(gudtSettings.SoundOn));
    }
    p([&] { core::sharedRecordset().Update(); });
    p([&] {
        core::closeSharedRecordset();
        result = true;
    });
    // A failed save leaves no half-edited row behind for the next user of the shared recordset.
    if (!result)
        core::closeSharedRecordset();
    return result;
}

void frmDazez::cboDefalutAlertDays_Click()
{
    Procedure p(QStringLiteral("frmDazez.cboDefalutAlertDays_Click"));
    p([&] { gudtSettings.DefaultAlertDays = vb::CInt(vb::Variant(cboDefalutAlertDays->Text())); });
    p([&] { SaveAdminData(0); });
}

void frmDazez::cboDefaultEvent_Click()
{
    Procedure p(QStringLiteral("frmDazez.cboDefaultEvent_Click"));
    p([&] { gudtSettings.DefaultEvent = cboDefaultEvent->ItemData(cboDefaultEvent->ListIndex()); });
    p([&] { SaveAdminData(0); });
}

void frmDazez::chkShowEvents_Click()
{
    // The row takes the box's value; the setting in memory keeps the value of the start.
    Procedure p(QStringLiteral("frmDazez.chkShowEvents_Click"));
    p([&] { SaveAdminData(0); });
}

void frmDazez::chkSound_Click()
{
    Procedure p(QStringLiteral("frmDazez.chkSound_Click"));
    p([&] { gudtSettings.SoundOn = static_cast<std::int16_t>(chkSound->Value()); });
    p([&] { SaveAdminData(0); });
}

void frmDazez::chkTimerOn_Click()
{
    Procedure p(QStringLiteral("frmDazez.chkTimerOn_Click"));
    p([&] { gudtSettings.TimerOn = static_cast<std::int16_t>(chkTimerOn->Value()); });
    p([&] {
        if (chkTimerOn->Value() == 1)
            Timer1->start();
        else
            Timer1->stop();
    });
    p([&] { SaveAdminData(0); });
}

void frmDazez::DTPDefaultTime_Change()
{
    Procedure p(QStringLiteral("frmDazez.DTPDefaultTime_Change"));
    bool changed = false;
    // Putting the stored time into the picker at load changes no setting: nothing to write.
    p([&] {
        const vb::Date value = vb::CDate(DTPDefaultTime->Value());
        const vb::Date stored = gudtSettings.DefaultDisplayTime;
        changed = value.dayNumber() != stored.dayNumber() || value.time() != stored.time();
        if (changed)
            gudtSettings.DefaultDisplayTime = value;
    });
    p([&] {
        if (changed)
            SaveAdminData(0);
    });
}

// ---- coming events -------------------------------------------------------------------------

void frmDazez::RunUpComingEvents(std::int16_t)
{
    Procedure p(QStringLiteral("frmDAzez.RunUpComingEvents"));
    bool shown = false;
    cDateHandler dateHandler;
    int count = 0;
    p([&] { count = gcolUpcomingId.Count(); });
    for (int i = 1; i <= count; ++i)
        p([&] {
            if (dateHandler.DisplayEvent(gcolUpcomingId.Item(i)))
                shown = true;
        });
    if (!p.ok() || shown)
        return;
    p([&] { SetStatBar(statBar1, kNoUpcomingStatus, 1); });
    p([&] {
        if (!isVisible())
            platform::services().messageBox->show(
                kNoUpcomingBox, platform::mb::vbOKOnly + platform::mb::vbInformation,
                core::kProductName);
    });
}

void frmDazez::SetEventUDTs()
{
    Procedure p(QStringLiteral("frmDazez.SetEventUDTs"));
    p([&] { mvarBuildTried = vb::Variant(today()); });
    p([&] { cDateHandler().SetComingEvents(); });
}

// ---- timers --------------------------------------------------------------------------------

void frmDazez::Timer1_Timer()
{
    Procedure p(QStringLiteral("Timer1"), ErrorVariant::LogAndContinue);
    cDateHandler dateHandler;
    QString minuteText;
    int minuteOfDay = -1;
    vb::Date day;
    p([&] {
        const QDateTime at = now();
        minuteText = vb::formatHHMM(vb::Variant(vb::Date::fromQDateTime(at)));
        minuteOfDay = at.time().hour() * 60 + at.time().minute();
        day = vb::Date::fromQDate(at.date());
    });
    std::int16_t count = 0;
    p([&] { count = vb::CInt(vb::Variant(static_cast<std::int32_t>(gcolUpcomingId.Count()))); });
    for (int i = 1; i <= count; ++i) {
        bool due = false;
        p([&] { due = noticeDue(i, day, minuteOfDay, minuteText); });
        if (!due)
            continue;
        vb::Variant id;
        p([&] { id = gcolUpcomingId.Item(i); });
        p([&] {
            dateHandler.ReformatUpComingCols(vb::Variant(i), vb::Variant(day),
                                             vb::Variant(minuteText));
        });
        p([&] { dateHandler.DisplayEvent(id); });
    }
    QCoreApplication::processEvents();
}

void frmDazez::Timer2_Timer()
{
    Procedure p(QStringLiteral("frmDazez.Timer2_Timer"), ErrorVariant::LogAndContinue);
    bool sameDay = false;
    // A build that failed today (a table that cannot be read) is tried again on the next day,
    // not on every tick: each try may ask its boxes again.
    p([&] {
        const vb::Variant day(today());
        sameDay = vb::compareEqual(day, gudtAppInfo.UpcomingBuiltDate) ||
                  vb::compareEqual(day, mvarBuildTried);
    });
    if (sameDay)
        return;
    p([&] { mvarBuildTried = vb::Variant(today()); });
    p([&] {
        if (gudtSettings.TimerOn == 1)
            Timer1->stop();
    });
    p([&] { dates::replaceUpcomingLists(); });
    p([&] { SetEventList(lvw1, 0, 1); });
    p([&] { cDateHandler().SetComingEvents(); });
    p([&] {
        if (gudtSettings.TimerOn == 1)
            Timer1->start();
    });
}
