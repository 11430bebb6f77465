// Every window of the program, opened the way the program opens it, with its real texts and the
// longest it can show, at the platform's own font and at 10- and 11-point desktop fonts: no
// label, button, check box, one-line box, list header, event type in the list, weekday name or
// day number of the calendar, tab caption or status text loses any of its text, and the window
// lies on the screen. A new window is one more row of kWindows.

#include "core/Globals.h"
#include "core/MainCode_QW.h"
#include "core/StartupHooks.h"
#include "core/cDAO.h"
#include "core/frmSplash.h"
#include "dates/frmEventNotice.h"
#include "editor/frmAbout.h"
#include "editor/frmEditor.h"
#include "editor/frmURL.h"
#include "mainwindow/frmDazez.h"

#include "platform/forms/Controls.h"
#include "platform/forms/Form.h"
#include "platform/forms/TabControl.h"
#include "platform/services/Services.h"
#include "platform/vb/Conversions.h"
#include "support/ScriptedPlatform.h"
#include "support/TextFit.h"

#include <QCoreApplication>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <tuple>

namespace {

// Runs `check` while the window is open and shown.
using Check = std::function<void(platform::Form &)>;

// The longest name the editor takes (25 characters).
const QString kLongestName = QStringLiteral("Wilhelmina Montgomery-Way");

void showSplash(kxtest::ScriptedPlatform &platform, const Check &check)
{
    // The start-up chain itself: the splash is checked while it loads the main window.
    platform.copyDeliveredDatabase();
    bool seen = false;
    core::startupHooks().loadMainWindow = [&] {
        for (platform::Form *form : platform::Forms())
            if (auto *splash = qobject_cast<frmSplash *>(form)) {
                seen = true;
                check(*splash);
            }
    };
    try {
        Main();
    } catch (const platform::ProgramEnded &) {
        ADD_FAILURE() << "the program ended during start-up";
    }
    EXPECT_TRUE(seen) << "the splash window was not shown";
}

void showWebLink(kxtest::ScriptedPlatform &, const Check &check)
{
    auto *window = new frmURL();
    window->Show(); // modal in the program; the same load and the same show
    check(*window);
    window->Unload();
}

void showNotice(const Check &check, const QString &eventName, vb::Date date, int daysTil)
{
    auto *notice = new frmEventNotice();
    notice->mstrName = kLongestName;
    notice->mstrEventName = eventName;
    notice->mdtEventDate = vb::Variant(date);
    notice->mstrNotes = QStringLiteral("Call her in the morning.\r\nBring the photo album.\r\n"
                                       "Ask about the garden, the grandchildren and the trip.");
    notice->mlngDaysTil = daysTil;
    notice->mlngVemoId = 1;
    notice->Show();
    check(*notice);
    notice->Unload();
}

// Dated today, year included: date and "Today" in bold.
void showNoticeToday(kxtest::ScriptedPlatform &platform, const Check &check)
{
    const QDate today = platform.clock.now().date();
    showNotice(check, QStringLiteral("Anniversary"),
               vb::Date::fromYmd(today.year(), today.month(), today.day()), 0);
}

// The widest date of the year and the most days there can be until a date recurs.
void showNoticeFarOff(kxtest::ScriptedPlatform &, const Check &check)
{
    showNotice(check, QStringLiteral("Reminder"), vb::Date::fromYmd(2000, 12, 28), 365);
}

// The main window over entries of every event type with the longest name, on each of its tabs
// (a tab's controls are checked whichever tab is in front, the other's as well).
void showMainWindow(kxtest::ScriptedPlatform &platform, const Check &check)
{
    gstrDbPath = platform.copyDeliveredDatabase();
    ASSERT_TRUE(cDAO().DAOOpenConnection(gstrDbPath));
    for (int i = 0; i < 5; ++i)
        gdbMain->Execute(QStringLiteral("INSERT INTO Dazez (Events_Id, Dazez_Name, Dazez_Date, "
                                        "Dazez_Time, Dazez_AlertDays, Dazez_Notes, Dazez_DaysTil) "
                                        "VALUES (%1, '%2', '1931-12-28 00:00:00', "
                                        "'1899-12-30 03:00:00', 3, '', 0)")
                             .arg(i + 1)
                             .arg(kLongestName));
    gudtSettings.DefaultEvent = 2; // "Anniversary", the longest type name
    gudtSettings.DefaultAlertDays = 3;
    auto *window = new frmDazez();
    window->Timer2->stop();
    window->Load();
    check(*window);
    window->tab1->setTab(1);
    check(*window);
    delete window;
}

void showAbout(kxtest::ScriptedPlatform &platform, const Check &check)
{
    platform.systemInfo.user = QStringLiteral("Wilhelmina Montgomery-Way");
    auto *window = new frmAbout();
    window->Show(); // modal in the program; the same load and the same show
    check(*window);
    window->Unload();
}

// The editor as the main window opens it, over a copy of the delivered database: the widest
// event type ("Anniversary") and alert days chosen, and, for an existing entry, the longest name.
void showEditor(kxtest::ScriptedPlatform &platform, const Check &check, bool existing)
{
    gstrDbPath = platform.copyDeliveredDatabase();
    ASSERT_TRUE(cDAO().DAOOpenConnection(gstrDbPath));
    gstrEnabledColor = QString::number(0xFFFFFF);
    gudtSettings.DefaultEvent = 2;
    gudtSettings.DefaultAlertDays = 30;
    std::int32_t id = -1;
    if (existing) {
        gdbMain->Execute(QStringLiteral("INSERT INTO Dazez (Events_Id, Dazez_Name, Dazez_Date, "
                                        "Dazez_Time, Dazez_AlertDays, Dazez_Notes, "
                                        "Dazez_DaysTil) VALUES (2, '%1', '1950-12-28 00:00:00', "
                                        "'1899-12-30 23:45:00', 30, 'Flowers.', 18)")
                             .arg(kLongestName));
        auto rs = gdbMain->OpenRecordset(QStringLiteral("SELECT MAX(Dazez_Id) AS id FROM Dazez"),
                                         jet::dbOpenSnapshot);
        id = vb::CLng(rs->Field(QStringLiteral("id")));
        rs->Close();
    }
    platform::Form mainWindow(QStringLiteral("frmDazez"));
    mainWindow.setClientSize(10080, 5880);
    auto *editor = new frmEditor();
    editor->setProperty("frmParent", QVariant::fromValue<QObject *>(&mainWindow));
    editor->setProperty("prpDataId", id);
    editor->Show();
    if (existing)
        EXPECT_EQ(editor->txtName->Text(), kLongestName);
    check(*editor);
    editor->Unload();
}

void showEditorNew(kxtest::ScriptedPlatform &platform, const Check &check)
{
    showEditor(platform, check, false);
}

void showEditorExisting(kxtest::ScriptedPlatform &platform, const Check &check)
{
    showEditor(platform, check, true);
}

struct Window
{
    const char *name;
    void (*show)(kxtest::ScriptedPlatform &, const Check &);
    // The longest texts the window's status bar shows after it has opened.
    QStringList statuses = {};
};

void PrintTo(const Window &window, std::ostream *os)
{
    *os << window.name;
}

const Window kWindows[] = {
    {"Splash", showSplash},
    {"WebLink", showWebLink},
    {"NoticeToday", showNoticeToday},
    {"NoticeFarOff", showNoticeFarOff},
    {"MainWindow",
     showMainWindow,
     {QStringLiteral("An error has occured while backing up the database"),
      QStringLiteral("You have 10000 records in this listview.")}},
    {"About", showAbout},
    {"EditorNew", showEditorNew, {QStringLiteral("Please enter a name before saving your data.")}},
    {"EditorExisting",
     showEditorExisting,
     {QStringLiteral("Please enter a name before saving your data.")}},
};

// 0: the platform's own font.
const double kDesktopPoints[] = {0, 10, 11};

class TextFitTest : public ::testing::TestWithParam<std::tuple<Window, double>>
{
protected:
    void SetUp() override { core::resetGlobals(); }
    void TearDown() override
    {
        core::startupHooks() = {};
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        core::resetGlobals();
    }

    kxtest::ScriptedPlatform platform;
};

TEST_P(TextFitTest, EveryTextIsWholeAndTheWindowOnTheScreen)
{
    const auto &[window, points] = GetParam();
    kxtest::DesktopFont desktop(points);
    bool checked = false;
    window.show(platform, [&](platform::Form &form) {
        checked = true;
        EXPECT_TRUE(form.isVisible());
        EXPECT_TRUE(kxtest::textsFit(form));
        auto *status = qobject_cast<platform::StatusBar *>(form.control(QStringLiteral("statBar1")));
        for (const QString &text : window.statuses) {
            ASSERT_TRUE(status);
            status->Panels(1).setText(text);
            EXPECT_TRUE(kxtest::textsFit(form)) << text.toStdString();
        }
    });
    EXPECT_TRUE(checked);
    EXPECT_TRUE(platform.messageBox.calls().empty());
}

INSTANTIATE_TEST_SUITE_P(Windows, TextFitTest,
                         ::testing::Combine(::testing::ValuesIn(kWindows),
                                            ::testing::ValuesIn(kDesktopPoints)),
                         [](const ::testing::TestParamInfo<std::tuple<Window, double>> &info) {
                             const double points = std::get<1>(info.param);
                             return std::string(std::get<0>(info.param).name) + "_" +
                                    (points > 0 ? std::to_string(static_cast<int>(points)) + "pt"
                                                : "PlatformFont");
                         });

} // namespace
