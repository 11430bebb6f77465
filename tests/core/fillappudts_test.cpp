// The settings record as the splash window loads it from table Settings.

#include "core/Globals.h"
#include "core/cDAO.h"
#include "core/frmSplash.h"

#include "platform/services/Services.h"
#include "platform/vb/Conversions.h"
#include "platform/vb/Date.h"
#include "support/OpenDatabase.h"

#include <gtest/gtest.h>

namespace {

class FillAppUdtsTest : public kxtest::OpenDatabaseTest
{
protected:
    void sql(const QString &statement) { execute(statement); }

    frmSplash splash;
};

TEST_F(FillAppUdtsTest, TheDeliveredRow)
{
    splash.FillAppUdts();
    const udtSettings &s = gudtSettings;
    EXPECT_EQ(s.DefaultAlertDays, 3);
    EXPECT_GT(s.DefaultEvent, 0); // the "Birthday" type
    EXPECT_EQ(s.FormLeft, 0);
    EXPECT_EQ(s.FormTop, 0);
    EXPECT_EQ(s.LastRecordViewed, 0);
    EXPECT_EQ(s.ShowEventsAtStart, 1);
    EXPECT_EQ(s.StartInTray, 0);
    EXPECT_EQ(s.Tab, 0);
    EXPECT_EQ(vb::formatHHMM(vb::Variant(s.DefaultDisplayTime)), QStringLiteral("09:00"));
    EXPECT_EQ(s.TimerOn, 1);
    EXPECT_EQ(s.SoundOn, 1);
    EXPECT_FALSE(grsShared) << "the shared recordset is closed and released";
    EXPECT_TRUE(platform.messageBox.calls().empty());
}

TEST_F(FillAppUdtsTest, AnEmptyTableLeavesEveryFieldZero)
{
    sql(QStringLiteral("DELETE FROM Settings"));
    splash.FillAppUdts();
    const udtSettings &s = gudtSettings;
    EXPECT_EQ(s.DefaultAlertDays, 0);
    EXPECT_EQ(s.DefaultEvent, 0);
    EXPECT_EQ(s.ShowEventsAtStart, 0);
    EXPECT_EQ(s.TimerOn, 0);
    EXPECT_EQ(s.SoundOn, 0);
    EXPECT_EQ(s.DefaultDisplayTime.serial(), 0.0);
    EXPECT_TRUE(platform.messageBox.calls().empty());
    EXPECT_FALSE(grsShared);
}

TEST_F(FillAppUdtsTest, OnlyTheFirstOfTwoRowsCounts)
{
    sql(QStringLiteral("INSERT INTO Settings (Settings_Id, Settings_DefaultAlertDays, "
                       "Settings_DefaultEvent, Settings_FormLeft, Settings_FormTop, "
                       "Settings_LastRecordViewed, Settings_ShowEventsAtStart, "
                       "Settings_StartInTray, Settings_Tab, Settings_DefaultDisplayTime, "
                       "Settings_TimerOn, Settings_SoundOn, Settings_StartDayOfWeek) VALUES "
                       "(2, 17, 99, 500, 600, 7, 0, 1, 1, '1899-12-30 18:30:00', 0, 0, 0)"));
    splash.FillAppUdts();
    EXPECT_EQ(gudtSettings.DefaultAlertDays, 3);
    EXPECT_EQ(gudtSettings.TimerOn, 1);
    EXPECT_EQ(gudtSettings.FormLeft, 0);
}

TEST_F(FillAppUdtsTest, FractionalPositionsLoadAsWholeTwips)
{
    // Halves go to the even neighbour, as the runtime's conversion to a whole number does.
    const struct
    {
        double left, top;
        int wantLeft, wantTop;
    } cases[] = {{1234.4, 2000.6, 1234, 2001}, {2.5, 3.5, 2, 4}, {-7.5, 10.25, -8, 10}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.left);
        sql(QStringLiteral("UPDATE Settings SET Settings_FormLeft = %1, Settings_FormTop = %2")
                .arg(c.left)
                .arg(c.top));
        splash.FillAppUdts();
        EXPECT_EQ(gudtSettings.FormLeft, c.wantLeft);
        EXPECT_EQ(gudtSettings.FormTop, c.wantTop);
    }
}

TEST_F(FillAppUdtsTest, ANullColumnAsksAndIgnoreGoesOnWithTheNextColumn)
{
    gudtSettings.FormTop = 4242; // what Ignore leaves in place
    sql(QStringLiteral("UPDATE Settings SET Settings_FormTop = NULL"));
    platform.messageBox.expect(platform::mb::Ignore, QStringLiteral("frmSplash.FillAppUdts"));
    splash.FillAppUdts();
    ASSERT_EQ(platform.messageBox.calls().size(), 1u);
    EXPECT_TRUE(platform.messageBox.calls()[0].prompt.startsWith(
        QStringLiteral("An error has occured: 94\r\n")));
    EXPECT_EQ(gudtSettings.FormTop, 4242);
    EXPECT_EQ(gudtSettings.LastRecordViewed, 0);
    EXPECT_EQ(gudtSettings.SoundOn, 1) << "the columns after the failed one are read";
    EXPECT_FALSE(grsShared);
}

TEST_F(FillAppUdtsTest, AbortKeepsTheFieldsReadSoFar)
{
    sql(QStringLiteral("UPDATE Settings SET Settings_FormTop = NULL"));
    platform.messageBox.expect(platform::mb::Abort, QStringLiteral("frmSplash.FillAppUdts"));
    splash.FillAppUdts();
    EXPECT_EQ(gudtSettings.DefaultAlertDays, 3);
    EXPECT_EQ(gudtSettings.SoundOn, 0) << "columns after the failed one are not read";
    EXPECT_TRUE(grsShared) << "Abort leaves before the recordset is closed";
}

} // namespace
