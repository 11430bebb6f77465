#pragma once

// The ground of the main window's tests: the scripted platform with its fixed clock
// (2026-12-10 10:00), a fresh copy of the delivered database open as after start-up, the
// settings record as the test stores it, empty upcoming-event lists, and the real window,
// offscreen. The day timer is stopped after the window is made, so that only the test ticks it.
// Every write of the Settings row is counted by the database itself.

#include "core/Globals.h"
#include "dates/UpcomingLists.h"
#include "dates/frmEventNotice.h"
#include "mainwindow/frmDazez.h"
#include "platform/forms/Controls.h"
#include "platform/forms/Form.h"
#include "platform/forms/ListView.h"
#include "platform/vb/Conversions.h"
#include "support/OpenDatabase.h"

#include <QCoreApplication>
#include <QEvent>
#include <QPointer>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace kxmaintest {

// The settings a test starts from; written to the Settings row and loaded into gudtSettings.
struct StoredSettings
{
    int showEventsAtStart = 0;
    int startInTray = 0;
    int timerOn = 0;
    int soundOn = 0;
    int defaultAlertDays = 3;
    int defaultEvent = 1;
    QString defaultTime = QStringLiteral("09:00:00");
};

inline std::vector<frmEventNotice *> openNotices()
{
    std::vector<frmEventNotice *> notices;
    for (platform::Form *form : platform::Forms())
        if (auto *notice = qobject_cast<frmEventNotice *>(form))
            notices.push_back(notice);
    return notices;
}

// Runs `probe` when a box comes up, before the scripted box answers it; in force for its scope.
class BoxProbe : public platform::MessageBoxService
{
public:
    explicit BoxProbe(std::function<void()> probe)
        : mProbe(std::move(probe)), mBefore(platform::services())
    {
        platform::Services s = mBefore;
        s.messageBox = this;
        platform::installServices(s);
    }
    ~BoxProbe() override { platform::installServices(mBefore); }
    BoxProbe(const BoxProbe &) = delete;
    BoxProbe &operator=(const BoxProbe &) = delete;

    int show(const QString &prompt, int style, const QString &title) override
    {
        mProbe();
        return mBefore.messageBox->show(prompt, style, title);
    }

private:
    std::function<void()> mProbe;
    platform::Services mBefore;
};

class MainWindowTest : public kxtest::OpenDatabaseTest
{
protected:
    void SetUp() override
    {
        dates::resetUpcomingLists();
        OpenDatabaseTest::SetUp();
        execute(QStringLiteral("CREATE TABLE SettingsWrites (n INTEGER)"));
        execute(QStringLiteral("INSERT INTO SettingsWrites VALUES (0)"));
        for (const char *when : {"UPDATE", "INSERT"})
            execute(QStringLiteral("CREATE TRIGGER Count%1 AFTER %1 ON Settings BEGIN UPDATE "
                                   "SettingsWrites SET n = n + 1; END")
                        .arg(QLatin1String(when)));
        store(StoredSettings{});
    }

    void TearDown() override
    {
        const QList<platform::Form *> forms = platform::Forms();
        for (platform::Form *form : forms)
            if (form != frm)
                form->Unload();
        delete frm.data();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        dates::resetUpcomingLists();
        OpenDatabaseTest::TearDown();
    }

    // Writes the Settings row and loads gudtSettings from it, as the start-up does.
    void store(const StoredSettings &s)
    {
        execute(QStringLiteral("UPDATE Settings SET Settings_ShowEventsAtStart = %1, "
                               "Settings_StartInTray = %2, Settings_TimerOn = %3, "
                               "Settings_SoundOn = %4, Settings_DefaultAlertDays = %5, "
                               "Settings_DefaultEvent = %6, Settings_DefaultDisplayTime = "
                               "'1899-12-30 %7', Settings_FormLeft = 4321, "
                               "Settings_FormTop = 1234")
                    .arg(s.showEventsAtStart)
                    .arg(s.startInTray)
                    .arg(s.timerOn)
                    .arg(s.soundOn)
                    .arg(s.defaultAlertDays)
                    .arg(s.defaultEvent)
                    .arg(s.defaultTime));
        execute(QStringLiteral("UPDATE SettingsWrites SET n = 0"));
        gudtSettings = udtSettings{};
        gudtSettings.ShowEventsAtStart = static_cast<std::int16_t>(s.showEventsAtStart);
        gudtSettings.StartInTray = static_cast<std::int16_t>(s.startInTray);
        gudtSettings.TimerOn = static_cast<std::int16_t>(s.timerOn);
        gudtSettings.SoundOn = static_cast<std::int16_t>(s.soundOn);
        gudtSettings.DefaultAlertDays = static_cast<std::int16_t>(s.defaultAlertDays);
        gudtSettings.DefaultEvent = s.defaultEvent;
        gudtSettings.DefaultDisplayTime =
            vb::Date::fromQTime(QTime::fromString(s.defaultTime, QStringLiteral("HH:mm:ss")));
        gudtSettings.FormLeft = 4321;
        gudtSettings.FormTop = 1234;
    }

    // Makes the window (not yet loaded); the day timer is left to the test.
    frmDazez &make()
    {
        frm = new frmDazez;
        frm->Timer2->stop();
        return *frm;
    }

    // Makes and loads the window, as the splash window does.
    frmDazez &load()
    {
        make();
        frm->Load();
        return *frm;
    }

    int settingsWrites() { return value(QStringLiteral("SELECT n FROM SettingsWrites")).toInt(); }

    // The first row's value of a one-column query, as text.
    QString value(const QString &sql)
    {
        auto rs = gdbMain->OpenRecordset(sql, jet::dbOpenSnapshot);
        const vb::Variant v =
            rs->RecordCount() > 0 ? rs->Field(rs->FieldNames().first()) : vb::Variant();
        rs->Close();
        return v.isNull() ? QStringLiteral("Null") : vb::CStr(v);
    }

    QString setting(const char *column)
    {
        return value(QStringLiteral("SELECT %1 FROM Settings").arg(QLatin1String(column)));
    }

    // Column `column` (0 the name, 1..3 the sub-items) of every row of the list, top to bottom.
    QStringList column(int column) const
    {
        QStringList out;
        platform::ListItemCollection &items = frm->lvw1->ListItems();
        for (int i = 1; i <= items.Count(); ++i)
            out << (column == 0 ? items.Item(i)->Text() : items.Item(i)->SubItems(column));
        return out;
    }

    QString status() const { return frm->statBar1->Panels(1).Text(); }

    void setNow(const QDate &date, const QTime &time) { platform.clock.set(QDateTime(date, time)); }

    QPointer<frmDazez> frm;
};

} // namespace kxmaintest
