#pragma once

// The ground of the date-engine tests: the scripted platform, a fresh copy of the delivered
// database open as after start-up, empty upcoming-event lists, and no window left over.

#include "core/Globals.h"
#include "core/cDAO.h"
#include "dates/UpcomingLists.h"
#include "platform/forms/Form.h"
#include "support/OpenDatabase.h"

#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QFile>

#include <gtest/gtest.h>

namespace kxdatestest {

struct Entry
{
    QString name = QStringLiteral("Someone");
    QString date = QStringLiteral("1980-12-10 00:00:00");
    int eventId = 1;
    int alertDays = 3;
    int daysTil = 0;
    QString time = QStringLiteral("1899-12-30 09:00:00");
    QString notes;
};

inline QString sqlText(const QString &text)
{
    return QLatin1Char('\'') + QString(text).replace(QLatin1Char('\''), QStringLiteral("''")) +
           QLatin1Char('\'');
}

// Unloads every window still loaded and lets the deferred deletes run.
inline void unloadAllForms()
{
    const QList<platform::Form *> forms = platform::Forms();
    for (platform::Form *form : forms)
        form->Unload();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

class DatesTest : public kxtest::OpenDatabaseTest
{
protected:
    void SetUp() override
    {
        dates::resetUpcomingLists();
        OpenDatabaseTest::SetUp();
        gudtSettings.SoundOn = 0;
        gudtSettings.TimerOn = 0;
    }

    void TearDown() override
    {
        unloadAllForms();
        dates::resetUpcomingLists();
        OpenDatabaseTest::TearDown();
    }

    // Adds a row to Dazez and returns its id.
    std::int32_t addEntry(const Entry &e)
    {
        gdbMain->Execute(
            QStringLiteral("INSERT INTO Dazez (Events_Id, Dazez_Name, Dazez_Date, Dazez_Time, "
                           "Dazez_AlertDays, Dazez_Notes, Dazez_DaysTil) VALUES (%1, %2, %3, %4, "
                           "%5, %6, %7)")
                .arg(e.eventId)
                .arg(sqlText(e.name), e.date.isNull() ? QStringLiteral("NULL") : sqlText(e.date),
                     sqlText(e.time))
                .arg(e.alertDays)
                .arg(sqlText(e.notes))
                .arg(e.daysTil));
        auto rs = gdbMain->OpenRecordset(
            QStringLiteral("SELECT Dazez_Id FROM Dazez ORDER BY Dazez_Id DESC"),
            jet::dbOpenSnapshot);
        const std::int32_t id = *rs->Field(QStringLiteral("Dazez_Id")).get<std::int32_t>();
        rs->Close();
        return id;
    }

    // Dazez_DaysTil of a row, read through a snapshot of its own.
    vb::Variant storedDaysTil(std::int32_t id)
    {
        auto rs = gdbMain->OpenRecordset(
            QStringLiteral("SELECT Dazez_DaysTil FROM Dazez WHERE Dazez_Id = %1").arg(id),
            jet::dbOpenSnapshot);
        const vb::Variant v = rs->Field(QStringLiteral("Dazez_DaysTil"));
        rs->Close();
        return v;
    }

    QString debugLog() const
    {
        QFile log(QDir(platform.programFolder()).filePath(QStringLiteral("DebugLog.TXT")));
        if (!log.open(QIODevice::ReadOnly))
            return {};
        return QString::fromLatin1(log.readAll());
    }

    // Today's clock date and time (the fixed clock unless a test moves it).
    void setToday(const QDate &date, const QTime &time = QTime(10, 0, 0))
    {
        platform.clock.set(QDateTime(date, time));
    }

    kxtest::ScriptedPlatform platform;
};

// The five lists' counts, which must always agree.
inline ::testing::AssertionResult listsInStep()
{
    const int n = gcolUpcomingId.Count();
    if (gcolUpcomingDate.Count() == n && gcolUpcomingDaysTil.Count() == n &&
        gcolUpcomingTime.Count() == n && gcolUpcomingStatus.Count() == n)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "counts " << n << ", " << gcolUpcomingDate.Count() << ", "
           << gcolUpcomingDaysTil.Count() << ", " << gcolUpcomingTime.Count() << ", "
           << gcolUpcomingStatus.Count();
}

} // namespace kxdatestest
