// The tray stand-in on a real X display (a virtual one, Xvfb): with no notification area the
// desktop has no tray; with one running (trayer) the icon is embedded and clicks on it come back
// to the window as the mouse messages. Skipped where the programs it needs are not installed.

#include "support/VirtualDisplay.h"

#include <QStringList>

#include <gtest/gtest.h>

namespace {

class RealTray : public kxtest::VirtualDisplayTest
{
protected:
    QString probe(int waitMs)
    {
        return output(QStringLiteral(KX_TOOLS_DIR "/kx_traycheck"),
                      {QStringLiteral("probe"), QString::number(waitMs)});
    }
};

// The lParam of each "message 16384 61860 <lParam>" line; -1 for a line of another form.
QList<int> mouseMessages(const QStringList &lines)
{
    QList<int> list;
    for (const QString &line : lines) {
        const QStringList parts = line.split(QLatin1Char(' '));
        const bool ours = parts.size() == 4 && parts[0] == QLatin1String("message") &&
                          parts[1] == QLatin1String("16384") && parts[2] == QLatin1String("61860");
        list << (ours ? parts[3].toInt() : -1);
    }
    return list;
}

} // namespace

TEST_F(RealTray, WithoutANotificationAreaThereIsNoTrayAndNoIcon)
{
    EXPECT_EQ(probe(0), QStringLiteral("unavailable"));
    EXPECT_EQ(output(QStringLiteral(KX_TOOLS_DIR "/kx_traycheck"), {"icon", "0"}),
              QStringLiteral("no icon"));
}

TEST_F(RealTray, WithANotificationAreaTheIconIsShownAndItsClicksComeBackAsMouseMessages)
{
    if (!startNotificationArea())
        return;
    ASSERT_EQ(probe(kxtest::kDisplayWaitMs), QStringLiteral("available"));

    QString xdotool;
    if (!need(QStringLiteral("xdotool"), &xdotool))
        return;
    QProcess *helper = start(QStringLiteral(KX_TOOLS_DIR "/kx_traycheck"), {"icon"});
    QStringList pending;
    ASSERT_EQ(readLines(helper, pending, [](const QStringList &) { return true; }),
              QStringList{"icon shown"});

    // The notification area's window, which holds our icon only: its middle is the icon's.
    const QStringList panel = windows(QStringLiteral("^panel$"), false);
    ASSERT_FALSE(panel.isEmpty()) << "no notification area window";
    auto value = [&](const char *name) { return geometry(panel[0], name); };
    ASSERT_GT(value("WIDTH"), 0);
    const QString x = QString::number(value("X") + value("WIDTH") / 2);
    const QString y = QString::number(value("Y") + value("HEIGHT") / 2);
    output(xdotool, {"mousemove", x, y});

    auto endsWith = [](QList<int> tail) {
        return [tail](const QStringList &lines) {
            const QList<int> got = mouseMessages(lines);
            return got.size() >= tail.size() && got.mid(got.size() - tail.size()) == tail;
        };
    };

    // A double-click: the first click, then one double-click, whichever way the notification
    // area reports the second click (on a busy machine the clicks may also come as two).
    output(xdotool, {"click", "--repeat", "2", "--delay", "80", "1"});
    const QList<int> twice = mouseMessages(readLines(helper, pending, endsWith({0x203, 0x202})));
    EXPECT_EQ(twice.mid(0, 2), (QList<int>{0x201, 0x202}));
    EXPECT_EQ(twice.mid(twice.size() - 2), (QList<int>{0x203, 0x202}));
    EXPECT_EQ(twice.count(0x203), 1);
    for (int message : twice)
        EXPECT_TRUE(message >= 0x201 && message <= 0x203) << message;
    output(xdotool, {"click", "3"});
    EXPECT_EQ(mouseMessages(readLines(helper, pending, endsWith({0x205}))),
              (QList<int>{0x204, 0x205}));
    output(xdotool, {"click", "2"});
    EXPECT_EQ(mouseMessages(readLines(helper, pending, endsWith({0x208}))),
              (QList<int>{0x207, 0x208}));
}
