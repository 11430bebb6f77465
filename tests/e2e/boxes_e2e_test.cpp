// The real program on a virtual X display (Xvfb), started on a database that has lost its table
// of event types, each box answered Ignore by keys (xdotool) as a user answers it, after being
// left open longer than the day timer's interval. The start asks a bounded number of boxes, the
// main window comes, and nothing more is asked while the program runs on. Skipped where Xvfb or
// xdotool is missing.

#include "ProgramOnDisplay.h"

#include <QDate>
#include <QThread>

#include <gtest/gtest.h>

namespace {

using kxe2e::kMainWindow;
const QString kBox = QStringLiteral("^Almanoria$");
// Longer than the day timer's 450 ms: a tick comes behind every box.
constexpr int kBoxOpenMs = 700;
// Far more than the start asks; past it, the boxes are taken to go on for ever.
constexpr int kMostBoxes = 30;

// The delivered database as the program's folder holds it, damaged before the start.
class BoxesE2ETest : public kxe2e::ProgramOnDisplayTest
{
};

TEST_F(BoxesE2ETest, WithoutEventTypesTheStartAsksABoundedNumberOfBoxesAndTheWindowComes)
{
    // Two entries whose type name the list looks up, neither of them coming up.
    const QString day = QDate::currentDate().addDays(2).toString(QStringLiteral("MM-dd"));
    QStringList statements;
    for (const char *name : {"Ann", "Bob"})
        statements << QStringLiteral("INSERT INTO Dazez (Events_Id, Dazez_Name, Dazez_Date, "
                                     "Dazez_Time, Dazez_AlertDays, Dazez_DaysTil) VALUES (1, "
                                     "'%1', '1980-%2 00:00:00', '1899-12-30 09:00:00', 0, 0)")
                          .arg(QLatin1String(name), day);
    statements << QStringLiteral("ALTER TABLE Events RENAME TO Events_damaged");
    execute(statements);

    QProcess *program = start(folder.filePath(QStringLiteral("Kalendrix")), {}, folder.path());
    int boxes = 0;
    const bool settled = waitUntil(
        [&] {
            if (program->state() != QProcess::Running || boxes > kMostBoxes)
                return true;
            const QStringList open = windows(kBox, true);
            if (open.isEmpty())
                return !windows(kMainWindow, true).isEmpty();
            const QString box = open.first();
            QThread::msleep(kBoxOpenMs);
            // The box opens on its first button; two Tabs reach Ignore (an OK box keeps OK).
            output(mXdotool, {"windowfocus", "--sync", box, "key", "Tab", "Tab", "space"});
            ++boxes;
            waitUntil([&] { return !windows(kBox, true).contains(box); }, 2000);
            return false;
        },
        120000);
    ASSERT_TRUE(settled) << "neither the window nor a box after " << boxes << " boxes";
    ASSERT_EQ(program->state(), QProcess::Running) << "the program ended after " << boxes;
    EXPECT_LE(boxes, kMostBoxes) << "the boxes did not end";
    EXPECT_GT(boxes, 0) << "the missing table was not reported";

    // The program runs on, its day timer ticking, and asks nothing more.
    QThread::msleep(3000);
    EXPECT_TRUE(windows(kBox, true).isEmpty()) << "a box came after the window";
    EXPECT_FALSE(windows(kMainWindow, true).isEmpty());
    EXPECT_EQ(program->state(), QProcess::Running);
}

} // namespace
