// The window's load and the "Settings" tab: what the load puts where, which check-box settings
// write the row during the load, and what each setting's control writes afterwards.

#include "MainWindowFixture.h"

#include "platform/forms/DTPicker.h"
#include "platform/forms/MonthView.h"
#include "platform/forms/TabControl.h"
#include "platform/vb/Conversions.h"

#include <QApplication>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QTest>

using kxmaintest::BoxProbe;
using kxmaintest::MainWindowTest;
using kxmaintest::StoredSettings;

namespace {

const QString kNoUpcomingBox = QStringLiteral("There are no upcoming events.");

class LoadTest : public MainWindowTest
{
protected:
    // Shows the "Settings" tab in the active window, so that the user's input reaches it.
    void showSettings()
    {
        frm->tab1->setTab(1);
        QApplication::setActiveWindow(frm);
        ASSERT_TRUE(QTest::qWaitForWindowActive(frm));
    }

    void click(platform::Control *control)
    {
        QWidget *inner = control->inner();
        QTest::mouseClick(inner, Qt::LeftButton, {}, QPoint(8, inner->height() / 2));
    }

    // Picks item `index` from a combo's list, as the user does.
    void pick(platform::ComboBox *combo, int index)
    {
        auto *box = static_cast<QComboBox *>(combo->inner());
        box->setCurrentIndex(index);
        emit box->activated(index);
    }
};

TEST_F(LoadTest, TheLoadFillsTheWindowAndShowsIt)
{
    store({.defaultAlertDays = 7, .defaultEvent = 3, .defaultTime = QStringLiteral("18:30:00")});
    load();
    EXPECT_TRUE(frm->isVisible());
    EXPECT_EQ(frm->Caption(), QStringLiteral("Almanoria - Quarnwell"));
    EXPECT_FALSE(frm->mblnLoading);
    EXPECT_EQ(frm->mlngCurrentId, 0);
    EXPECT_EQ(frm->cboDefalutAlertDays->ListCount(), 31);
    EXPECT_EQ(frm->cboDefalutAlertDays->List(30), QStringLiteral("30"));
    EXPECT_EQ(frm->cboDefalutAlertDays->Text(), QStringLiteral("7"));
    EXPECT_EQ(frm->cboDefaultEvent->ListCount(), 5);
    EXPECT_EQ(frm->cboDefaultEvent->Text(), QStringLiteral("Holiday"));
    EXPECT_EQ(frm->cboDefaultEvent->ItemData(4), 5);
    EXPECT_EQ(vb::CDate(frm->DTPDefaultTime->Value()).time(), QTime(18, 30));
    EXPECT_EQ(frm->MonthView1->Value().date(), QDate(2026, 12, 10));
    EXPECT_EQ(status(), QStringLiteral("You have 0 records in this listview."));
    EXPECT_EQ(QApplication::focusWidget() == nullptr ||
                  QApplication::focusWidget() == frm->chkDummy->inner(),
              true);
    EXPECT_EQ(frm->focusWidget(), frm->chkDummy->inner());
    // Centred on the 1024 x 768 screen, within the few pixels of the frame that the platform
    // adds only when the window first shows.
    EXPECT_NEAR(frm->Left() + frm->Width() / 2, 1024 * 15 / 2, 75);
    EXPECT_NEAR(frm->Top() + frm->Height() / 2, 768 * 15 / 2, 75);
    EXPECT_EQ(settingsWrites(), 0) << "putting the stored time into the picker writes nothing";
}

// Each check box set from a stored 1 runs its handler, as the user's click does: the timer box
// switches the notice timer on, and every box but "Start in System Tray" writes the row.
TEST_F(LoadTest, CheckBoxSettingsStoredAsOneWriteTheRowOnceEachDuringTheLoad)
{
    const struct
    {
        StoredSettings stored;
        int writes;
    } cases[] = {
        {{}, 0},
        {{.startInTray = 1}, 0},
        {{.timerOn = 1}, 1},
        {{.soundOn = 1}, 1},
        {{.showEventsAtStart = 1}, 1},
        {{.showEventsAtStart = 1, .startInTray = 1, .timerOn = 1, .soundOn = 1}, 3},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(testing::Message() << c.stored.showEventsAtStart << c.stored.startInTray
                                        << c.stored.timerOn << c.stored.soundOn);
        store(c.stored);
        if (c.stored.showEventsAtStart)
            platform.messageBox.expect(platform::mb::OK, kNoUpcomingBox);
        load();
        EXPECT_EQ(settingsWrites(), c.writes);
        EXPECT_EQ(frm->Timer1->isActive(), c.stored.timerOn == 1);
        EXPECT_EQ(frm->chkShowEvents->Value(), c.stored.showEventsAtStart);
        EXPECT_EQ(frm->chkSysTray->Value(), c.stored.startInTray);
        EXPECT_EQ(frm->chkTimerOn->Value(), c.stored.timerOn);
        EXPECT_EQ(frm->chkSound->Value(), c.stored.soundOn);
        // A write stores 0 for the tray box, and the window's place before it was centred.
        EXPECT_EQ(setting("Settings_StartInTray"),
                  QString::number(c.writes ? 0 : c.stored.startInTray));
        EXPECT_EQ(setting("Settings_FormLeft") == QStringLiteral("4321"), c.writes == 0);
        EXPECT_EQ(platform.messageBox.pendingAnswers(), 0u);
        delete frm.data();
    }
}

TEST_F(LoadTest, TimerOnSwitchesTheNoticeTimerOnInTheSettingsAndAgainAfterTheList)
{
    store({.showEventsAtStart = 1, .timerOn = 1});
    make();
    frm->GetFormSettings();
    EXPECT_TRUE(frm->Timer1->isActive()) << "the box's handler, while the settings load";
    delete frm.data();

    // Something switches it off while the coming events are shown; the load's own step puts
    // it on again.
    platform.messageBox.expect(platform::mb::OK, kNoUpcomingBox);
    BoxProbe probe([this] { frm->Timer1->stop(); });
    load();
    EXPECT_TRUE(frm->Timer1->isActive());
}

TEST_F(LoadTest, ShowEventsWithNothingComingSaysSoInTheStatusAndABoxBeforeTheWindowShows)
{
    store({.showEventsAtStart = 1});
    platform.messageBox.expect(platform::mb::OK, kNoUpcomingBox);
    bool visibleAtBox = true;
    QString statusAtBox;
    BoxProbe probe([&] {
        visibleAtBox = frm->isVisible();
        statusAtBox = status();
    });
    load();
    ASSERT_EQ(platform.messageBox.calls().size(), 1u);
    EXPECT_EQ(platform.messageBox.calls()[0].prompt, kNoUpcomingBox);
    EXPECT_EQ(platform.messageBox.calls()[0].style, 64);
    EXPECT_EQ(platform.messageBox.calls()[0].title, QStringLiteral("Almanoria"));
    EXPECT_FALSE(visibleAtBox);
    EXPECT_EQ(statusAtBox, QStringLiteral("There are no upcoming Events"));
    EXPECT_TRUE(frm->isVisible());
}

TEST_F(LoadTest, WithoutAStoredDefaultEventTheBirthdayTypeIsShownAndTheRowKeepsItsValue)
{
    const struct
    {
        int stored;
        const char *shown;
        int inMemory;
    } cases[] = {
        {0, "Birthday", 1},
        {-3, "Birthday", 1},
        {99, "", 99}, // a type that is gone: nothing shown, nothing changed
    };
    for (const auto &c : cases) {
        store({.defaultEvent = c.stored});
        load();
        EXPECT_EQ(frm->cboDefaultEvent->Text(), QString::fromLatin1(c.shown)) << c.stored;
        EXPECT_EQ(gudtSettings.DefaultEvent, c.inMemory) << c.stored;
        EXPECT_EQ(setting("Settings_DefaultEvent"), QString::number(c.stored));
        delete frm.data();
    }
}

TEST_F(LoadTest, StartInTrayIsShownButNotOfferedAndTheFirstSaveStoresZero)
{
    store({.startInTray = 1});
    load();
    EXPECT_EQ(frm->chkSysTray->Value(), 1);
    EXPECT_FALSE(frm->chkSysTray->isEnabled());
    EXPECT_EQ(setting("Settings_StartInTray"), QStringLiteral("1"));
    showSettings();
    click(frm->chkSound);
    EXPECT_EQ(setting("Settings_StartInTray"), QStringLiteral("0"));
    EXPECT_EQ(setting("Settings_SoundOn"), QStringLiteral("1"));
}

TEST_F(LoadTest, PickingAlertDaysStoresThemAtOnceWhileKeysChangeNothing)
{
    load();
    showSettings();
    frm->cboDefalutAlertDays->SetFocus();
    QWidget *keys = QApplication::focusWidget();
    ASSERT_NE(keys, nullptr);
    QTest::keyClicks(keys, QStringLiteral("12"));
    QTest::keyClick(keys, Qt::Key_Down);
    QTest::keyClick(keys, Qt::Key_Backspace);
    EXPECT_EQ(frm->cboDefalutAlertDays->Text(), QStringLiteral("3"));
    EXPECT_EQ(settingsWrites(), 0);

    pick(frm->cboDefalutAlertDays, 12);
    EXPECT_EQ(gudtSettings.DefaultAlertDays, 12);
    EXPECT_EQ(setting("Settings_DefaultAlertDays"), QStringLiteral("12"));
    EXPECT_EQ(settingsWrites(), 1);
}

TEST_F(LoadTest, EachSettingsControlStoresItsValueAtOnce)
{
    load();
    showSettings();
    click(frm->chkSound);
    EXPECT_EQ(gudtSettings.SoundOn, 1);
    EXPECT_EQ(setting("Settings_SoundOn"), QStringLiteral("1"));

    click(frm->chkTimerOn);
    EXPECT_EQ(gudtSettings.TimerOn, 1);
    EXPECT_TRUE(frm->Timer1->isActive());
    EXPECT_EQ(setting("Settings_TimerOn"), QStringLiteral("1"));
    click(frm->chkTimerOn);
    EXPECT_FALSE(frm->Timer1->isActive());
    EXPECT_EQ(setting("Settings_TimerOn"), QStringLiteral("0"));

    click(frm->chkShowEvents);
    EXPECT_EQ(setting("Settings_ShowEventsAtStart"), QStringLiteral("1"));
    EXPECT_EQ(gudtSettings.ShowEventsAtStart, 0) << "the start's value stays in memory";

    pick(frm->cboDefaultEvent, 3);
    EXPECT_EQ(gudtSettings.DefaultEvent, 4);
    EXPECT_EQ(setting("Settings_DefaultEvent"), QStringLiteral("4"));

    frm->DTPDefaultTime->SetFocus();
    auto *edit = static_cast<QDateTimeEdit *>(frm->DTPDefaultTime->inner());
    edit->setCurrentSection(QDateTimeEdit::HourSection);
    QTest::keyClick(edit, Qt::Key_Up);
    EXPECT_EQ(gudtSettings.DefaultDisplayTime.time(), QTime(10, 0));
    EXPECT_EQ(setting("Settings_DefaultDisplayTime"), QStringLiteral("10:00:00 AM"));
    EXPECT_EQ(settingsWrites(), 6);

    // The whole row, as each save writes it.
    frm->mlngCurrentId = 42;
    ASSERT_TRUE(frm->SaveAdminData(0));
    EXPECT_EQ(setting("Settings_LastRecordViewed"), QStringLiteral("42"));
    EXPECT_EQ(setting("Settings_StartDayOfWeek"), QStringLiteral("0"));
    EXPECT_EQ(setting("Settings_FormLeft").toDouble(), frm->Left());
    EXPECT_EQ(setting("Settings_FormTop").toDouble(), frm->Top());
}

TEST_F(LoadTest, ModeOneWritesOnlyTheLastRecordViewed)
{
    load();
    gudtSettings.SoundOn = 1;
    frm->mlngCurrentId = 17;
    ASSERT_TRUE(frm->SaveAdminData(1));
    EXPECT_EQ(setting("Settings_LastRecordViewed"), QStringLiteral("17"));
    EXPECT_EQ(setting("Settings_SoundOn"), QStringLiteral("0"));
    EXPECT_EQ(setting("Settings_FormLeft"), QStringLiteral("4321"));
}

TEST_F(LoadTest, AnEmptySettingsTableGetsItsRowFromTheFirstSave)
{
    execute(QStringLiteral("DELETE FROM Settings"));
    gudtSettings = udtSettings{};
    load();
    EXPECT_EQ(value(QStringLiteral("SELECT COUNT(*) FROM Settings")), QStringLiteral("0"));
    EXPECT_EQ(frm->cboDefaultEvent->Text(), QStringLiteral("Birthday"));
    showSettings();
    pick(frm->cboDefaultEvent, 2);
    EXPECT_EQ(value(QStringLiteral("SELECT COUNT(*) FROM Settings")), QStringLiteral("1"));
    EXPECT_EQ(setting("Settings_DefaultEvent"), QStringLiteral("3"));
    EXPECT_EQ(setting("Settings_DefaultAlertDays"), QStringLiteral("0"));
    EXPECT_EQ(setting("Settings_TimerOn"), QStringLiteral("0"));
}

TEST_F(LoadTest, AFailedSaveIsLoggedAndReportsFalse)
{
    load();
    execute(QStringLiteral("DROP TABLE Settings"));
    platform.messageBox.expect(platform::mb::Abort, QStringLiteral("cDAO.RSOpen"));
    EXPECT_FALSE(frm->SaveAdminData(0));
    EXPECT_TRUE(debugLog().contains(QStringLiteral("Description: frmDazez.SaveAdminData")));
    EXPECT_EQ(grsShared, nullptr);
}

} // namespace
