#include "cDateHandler.h"

#include "NoticeTimer.h"
#include "UpcomingLists.h"
#include "frmEventNotice.h"

#include "core/ErrorProtocol.h"
#include "core/Globals.h"
#include "core/MainCode_QW.h"
#include "core/cDAO.h"
#include "core/mod_VOVuriv.h"

#include "platform/forms/Form.h"
#include "platform/services/Services.h"
#include "platform/vb/Conversions.h"

#include <QPointer>
#include <QTimer>

using core::ErrorVariant;
using core::Procedure;

namespace {

const QString kSelectEntry = QStringLiteral("SELECT * FROM Dazez WHERE Dazez_Id = ");

QDate today()
{
    return platform::services().clock->now().date();
}

// The day of `month`/`day` in `year`; 29 February counts on 28 February in a year without one.
QDate anniversaryIn(int year, int month, int day)
{
    if (month == 2 && day == 29 && !QDate::isLeapYear(year))
        day = 28;
    return QDate(year, month, day);
}

// The runtime's "a <= b" in an If: Null on either side is not true.
bool atMost(const vb::Variant &a, const vb::Variant &b)
{
    if (a.isNull() || b.isNull())
        return false;
    return vb::CDbl(a) <= vb::CDbl(b);
}

// Text members of the notice: an empty (Null) column shows as empty text rather than failing
// every notice of the entry.
QString textOf(const vb::Variant &v)
{
    return v.isNull() ? QString() : vb::CStr(v);
}

void switchNoticeTimer(bool on)
{
    if (gudtSettings.TimerOn != 1)
        return;
    if (QTimer *timer = dates::noticeTimer()) {
        if (on)
            timer->start();
        else
            timer->stop();
    }
}

// One month forward (+1) or back (-1), across the turn of the year.
void pageMonthView(QObject &view, int step)
{
    int month = view.property("Month").toInt();
    int year = view.property("Year").toInt();
    month += step;
    if (month > 12) {
        month = 1;
        ++year;
    } else if (month < 1) {
        month = 12;
        --year;
    }
    view.setProperty("Year", year);
    view.setProperty("Month", month);
}

} // namespace

void cDateHandler::AddComingEvent(std::int32_t argVemoId)
{
    Procedure p(QStringLiteral("cDateHandler.AddComingEvent"));
    p([&] { cDAO().RSReadFrom(kSelectEntry + QString::number(argVemoId)); });
    p([&] { core::closeSharedRecordset(); });
}

void cDateHandler::ReformatUpComingCols(const vb::Variant &argIndex, const vb::Variant &argDate,
                                        const vb::Variant &argTime)
{
    Procedure p(QStringLiteral("cDateHandler.ReformatUpComingCols"));
    // The copy at the end goes in whole or not at all, and the old position is taken out only
    // once the copy stands: an ignored failure must not lose the entry.
    bool appended = false;
    p([&] {
        const int index = vb::CLng(argIndex);
        const vb::Variant id = gcolUpcomingId.Item(index);
        const vb::Variant date = gcolUpcomingDate.Item(index);
        const vb::Variant daysTil = gcolUpcomingDaysTil.Item(index);
        const vb::Variant time(vb::formatHHMM(argTime));
        dates::appendUpcoming(id, date, daysTil, time, argDate);
        appended = true;
    });
    p([&] {
        if (appended)
            RemoveUpcomingCol(argIndex);
    });
}

void cDateHandler::prpMonthView1(QObject *vNewValue)
{
    mMonthView1 = vNewValue;
}

void cDateHandler::prpMonthView2(QObject *vNewValue)
{
    mMonthView2 = vNewValue;
}

void cDateHandler::SetDaysTil()
{
    Procedure p(QStringLiteral("cDateHandler.SetDaysTil"), ErrorVariant::LogOnly);
    // One transaction for the whole pass: a refill must not cost a disk commit per entry.
    bool inTransaction = false;
    p([&] {
        if (!gwsMain)
            vb::raise(vb::err::ObjectVariableNotSet);
        gwsMain->BeginTrans();
        inTransaction = true;
    });
    p([&] {
        cDAO().RSOpen(QStringLiteral("SELECT Dazez_Id, Dazez_Date, Dazez_DaysTil FROM Dazez"));
    });
    bool any = false;
    QDate now;
    p([&] { now = today(); });
    p([&] { any = core::sharedRecordset().RecordCount() > 0; });
    if (any) {
        while (p.ok() && !p.value(true, [] { return core::sharedRecordset().eof(); })) {
            // A row whose date cannot be read keeps what it stored, and the pass goes on.
            vb::Date date;
            if (p.rowStep([&] {
                    date = vb::CDate(core::sharedRecordset().Field(QStringLiteral("Dazez_Date")));
                })) {
                p([&] { core::sharedRecordset().Edit(); });
                p([&] {
                    core::sharedRecordset().SetField(QStringLiteral("Dazez_DaysTil"),
                                                     GetDaysTil(date, now));
                });
                p([&] { core::sharedRecordset().Update(); });
            }
            p([&] { core::sharedRecordset().MoveNext(); });
        }
    }
    p([&] { core::closeSharedRecordset(); });

    // A pass that stopped on an error keeps the rows it rewrote before the error, unless the
    // error made the engine abandon the transaction (a full disk): then nothing is left to commit.
    // A commit that fails leaves no transaction open, so there is nothing to roll back either.
    if (inTransaction) {
        Procedure commit(QStringLiteral("cDateHandler.SetDaysTil"), ErrorVariant::LogOnly);
        commit([&] { gwsMain->CommitTrans(); });
    }
}

void cDateHandler::SetComingEvents()
{
    Procedure p(QStringLiteral("cDateHandler.SetComingEvents"), ErrorVariant::LogOnly);
    p([&] { switchNoticeTimer(false); });
    p([&] { cDAO().RSReadFrom(QStringLiteral("SELECT * FROM DAzez")); });
    while (p.ok() && !p.value(true, [] { return core::sharedRecordset().eof(); })) {
        // A row whose days cannot be compared is passed over; the others are still built.
        bool coming = false;
        p.rowStep([&] {
            const jet::Recordset &rs = core::sharedRecordset();
            coming = atMost(rs.Field(QStringLiteral("Dazez_DaysTil")),
                            rs.Field(QStringLiteral("Dazez_AlertDays")));
        });
        if (coming)
            p([&] {
                const jet::Recordset &rs = core::sharedRecordset();
                dates::appendUpcoming(
                    rs.Field(QStringLiteral("Dazez_Id")), rs.Field(QStringLiteral("Dazez_Date")),
                    rs.Field(QStringLiteral("Dazez_DaysTil")),
                    rs.Field(QStringLiteral("Dazez_Time")), vb::Variant(dates::kNotShownStatus));
            });
        p([&] { core::sharedRecordset().MoveNext(); });
    }
    p([&] { core::closeSharedRecordset(); });
    p([&] { gudtAppInfo.UpcomingBuiltDate = vb::Variant(vb::Date::fromQDate(today())); });
    // Back on also after a failed build: the setting still says on, and notices that stop for
    // the rest of the day without a word would be worse than a partial list.
    Procedure restart(QStringLiteral("cDateHandler.SetComingEvents"), ErrorVariant::LogOnly);
    restart([&] { switchNoticeTimer(true); });
}

void cDateHandler::EditComingEvent(std::int32_t argVemoId)
{
    Procedure p(QStringLiteral("cDateHandler.EditComingEvent"));
    p([&] { RemoveDeletedUpcomingCol(argVemoId); });
    p([&] { cDAO().RSReadFrom(kSelectEntry + QString::number(argVemoId)); });
    p([&] {
        const jet::Recordset &rs = core::sharedRecordset();
        if (atMost(rs.Field(QStringLiteral("Dazez_DaysTil")),
                   rs.Field(QStringLiteral("Dazez_AlertDays"))))
            AddUpcomingCol(argVemoId);
    });
    p([&] { core::closeSharedRecordset(); });
}

void cDateHandler::AddUpcomingCol(std::int32_t argVemoId)
{
    Procedure p(QStringLiteral("cDateHandler.AddUpcomingCol"), ErrorVariant::LogOnly);
    p([&] {
        const jet::Recordset &rs = core::sharedRecordset();
        dates::appendUpcoming(vb::Variant(argVemoId), rs.Field(QStringLiteral("Dazez_Date")),
                              rs.Field(QStringLiteral("Dazez_DaysTil")),
                              rs.Field(QStringLiteral("Dazez_Time")),
                              vb::Variant(dates::kNotShownStatus));
    });
}

void cDateHandler::RemoveUpcomingCol(const vb::Variant &argIndex)
{
    Procedure p(QStringLiteral("cDateHandler.RemoveUpcomingCol"), ErrorVariant::LogOnly);
    p([&] { dates::removeUpcomingAt(vb::CLng(argIndex)); });
}

bool cDateHandler::RemoveDeletedUpcomingCol(std::int32_t argVemoId)
{
    Procedure p(QStringLiteral("cDateHandler.RemoveDeletedUpcomingCol"));
    bool result = false;
    std::int16_t count = 0;
    p([&] { count = vb::CInt(vb::Variant(gcolUpcomingId.Count())); });
    const vb::Variant id(argVemoId);
    for (std::int16_t i = 1; p.ok() && i <= count; ++i) {
        bool found = false;
        p([&] { found = vb::compareEqual(gcolUpcomingId.Item(i), id); });
        if (found) {
            p([&] { dates::removeUpcomingAt(i); });
            p([&] { result = true; });
            return result;
        }
    }
    return result;
}

void cDateHandler::PageMonthViews(std::int16_t argFlag)
{
    Procedure p(QStringLiteral("cDateHandler.PageMonthViews"));
    const int step = argFlag == 1 ? 1 : argFlag == 2 ? -1 : 0;
    if (step == 0)
        return;
    p([&] { pageMonthView(core::object(mMonthView1), step); });
    p([&] { pageMonthView(core::object(mMonthView2), step); });
}

std::int16_t cDateHandler::GetDaysTil(vb::Date argDate)
{
    return GetDaysTil(argDate, QDate());
}

std::int16_t cDateHandler::GetDaysTil(vb::Date argDate, const QDate &argToday)
{
    Procedure p(QStringLiteral("cDateHandler.GetDaysTil"));
    std::int16_t result = 0;
    QDate now = argToday;
    QDate date;
    QDate candidate;
    p([&] {
        if (!now.isValid())
            now = today();
    });
    p([&] { date = argDate.date(); });
    // The stored date's month and day in the current year, built from the numbers rather than
    // by rewriting the year in a date text, so that every short-date picture gives the same.
    p([&] { candidate = anniversaryIn(now.year(), date.month(), date.day()); });
    p([&] {
        if (candidate < now)
            candidate = anniversaryIn(now.year() + 1, date.month(), date.day());
    });
    p([&] {
        const qint64 days = now.daysTo(candidate);
        result = static_cast<std::int16_t>(days > 365 || days < 0 ? 0 : days);
    });
    return result;
}

bool cDateHandler::DisplayEvent(const vb::Variant &argVemoId)
{
    Procedure p(QStringLiteral("cDateHandler.DisplayEvent"));
    bool result = false;
    bool open = false;
    p([&] { open = CheckEventNotices(argVemoId); });
    if (open && p.ok())
        return false;

    QPointer<frmEventNotice> frm;
    bool shown = false;
    p([&] { frm = new frmEventNotice(); });
    p([&] { cDAO().RSReadFrom(kSelectEntry + QString::number(vb::CLng(argVemoId))); });
    auto notice = [&]() -> frmEventNotice & { return core::object(frm); };
    auto field = [](const char *name) {
        return core::sharedRecordset().Field(QString::fromLatin1(name));
    };
    p([&] { notice().mstrName = textOf(field("Dazez_Name")); });
    p([&] { notice().mdtEventDate = field("Dazez_Date"); });
    p([&] { notice().mstrEventName = textOf(GetEventName(vb::CLng(field("Events_Id")))); });
    p([&] { notice().mstrNotes = textOf(field("Dazez_Notes")); });
    p([&] { notice().mlngDaysTil = vb::CLng(field("Dazez_DaysTil")); });
    p([&] {
        notice().mlngVemoId = vb::CLng(argVemoId);
        result = true;
    });
    p([&] { core::closeSharedRecordset(); });
    p([&] { PlayAlarmSound(); });
    p([&] {
        notice().Show();
        shown = true;
    });
    p([&] {
        notice().activateWindow();
        notice().setFocus(Qt::ActiveWindowFocusReason);
    });
    // A window that was never shown would otherwise stay among the loaded windows, where it
    // would count as an open notice and shift the next ones.
    if (frm && !shown && !frm->isVisible())
        frm->Unload();
    return result;
}

bool cDateHandler::CheckEventNotices(const vb::Variant &argVemoId)
{
    Procedure p(QStringLiteral("cDateHandler.CheckEventNotices"));
    bool result = false;
    int count = 0;
    p([&] { count = static_cast<int>(platform::Forms().size()); });
    for (int i = 0; p.ok() && i < count; ++i) {
        p([&] {
            const QList<platform::Form *> &forms = platform::Forms();
            if (i >= forms.size())
                vb::raise(vb::err::SubscriptOutOfRange);
            platform::Form *form = forms.at(i);
            if (form->Name().toLower() != QLatin1String("frmeventnotice"))
                return;
            auto *notice = qobject_cast<frmEventNotice *>(form);
            if (!notice)
                vb::raise(438, QStringLiteral("Object doesn't support this property or method"));
            if (vb::compareEqual(vb::Variant(notice->mlngVemoId), argVemoId))
                result = true;
        });
    }
    return result;
}
