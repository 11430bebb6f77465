// The tray stand-in on a real X display (a virtual one, Xvfb): with no notification area the
// desktop has no tray; with one running (trayer) the icon is embedded and clicks on it come back
// to the window as the mouse messages. Skipped where the programs it needs are not installed.

#include <QDeadlineTimer>
#include <QProcess>
#include <QStandardPaths>
#include <QStringList>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

constexpr int kWaitMs = 20000; // how long to wait for a program to come up or answer

class RealTray : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const QString xvfb = QStandardPaths::findExecutable(QStringLiteral("Xvfb"));
        if (xvfb.isEmpty())
            GTEST_SKIP() << "no X server binary (Xvfb) on this system";
        // Xvfb picks a free display itself and writes its number to the given descriptor.
        QProcess *server =
            start(xvfb, {"-displayfd", "1", "-screen", "0", "1024x768x24", "-nolisten", "tcp"});
        QString number;
        const QDeadlineTimer deadline(kWaitMs);
        while (!number.endsWith(QLatin1Char('\n')) && !deadline.hasExpired() &&
               server->state() == QProcess::Running)
            if (server->waitForReadyRead(200))
                number += QString::fromLocal8Bit(server->readAllStandardOutput());
        ASSERT_TRUE(number.endsWith(QLatin1Char('\n'))) << "the virtual X server did not start";
        mEnv = QProcessEnvironment::systemEnvironment();
        mEnv.insert(QStringLiteral("DISPLAY"), QLatin1Char(':') + number.trimmed());
        mEnv.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        mEnv.remove(QStringLiteral("WAYLAND_DISPLAY"));
    }

    void TearDown() override
    {
        // Last started, first ended: the clients before their server.
        for (auto it = mProcesses.rbegin(); it != mProcesses.rend(); ++it) {
            (*it)->kill();
            (*it)->waitForFinished(5000);
        }
    }

    QProcess *start(const QString &program, const QStringList &arguments)
    {
        auto process = std::make_unique<QProcess>();
        if (!mEnv.isEmpty())
            process->setProcessEnvironment(mEnv);
        process->start(program, arguments);
        EXPECT_TRUE(process->waitForStarted(kWaitMs)) << program.toStdString();
        mProcesses.push_back(std::move(process));
        return mProcesses.back().get();
    }

    // Runs a program to its end and returns what it printed.
    QString output(const QString &program, const QStringList &arguments)
    {
        QProcess *p = start(program, arguments);
        p->waitForFinished(kWaitMs + 5000);
        return QString::fromLocal8Bit(p->readAllStandardOutput()).trimmed();
    }

    QString probe(int waitMs)
    {
        return output(QStringLiteral(KX_TOOLS_DIR "/kx_traycheck"),
                      {QStringLiteral("probe"), QString::number(waitMs)});
    }

    // Reads the helper's lines until one satisfies `enough` or the wait is over.
    static QStringList readLines(QProcess *p, QStringList &pending,
                                 const std::function<bool(const QStringList &)> &enough)
    {
        QStringList lines;
        const QDeadlineTimer deadline(kWaitMs);
        for (;;) {
            while (!pending.isEmpty()) {
                lines << pending.takeFirst();
                if (enough(lines))
                    return lines;
            }
            if (deadline.hasExpired() || p->state() != QProcess::Running)
                return lines;
            if (p->waitForReadyRead(200))
                pending << QString::fromLocal8Bit(p->readAllStandardOutput())
                               .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        }
    }

    QProcessEnvironment mEnv;
    std::vector<std::unique_ptr<QProcess>> mProcesses;
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
    const QString trayer = QStandardPaths::findExecutable(QStringLiteral("trayer"));
    if (trayer.isEmpty())
        GTEST_SKIP() << "no notification area program (trayer) on this system";
    start(trayer,
          {"--edge", "bottom", "--align", "right", "--widthtype", "request", "--height", "24"});
    ASSERT_EQ(probe(kWaitMs), QStringLiteral("available"));

    const QString xdotool = QStandardPaths::findExecutable(QStringLiteral("xdotool"));
    if (xdotool.isEmpty())
        GTEST_SKIP() << "no way to click on the icon (xdotool) on this system";
    QProcess *helper = start(QStringLiteral(KX_TOOLS_DIR "/kx_traycheck"), {"icon"});
    QStringList pending;
    ASSERT_EQ(readLines(helper, pending, [](const QStringList &) { return true; }),
              QStringList{"icon shown"});

    // The notification area's window, which holds our icon only: its middle is the icon's.
    const QStringList geometry =
        output(xdotool, {"search", "--name", "^panel$", "getwindowgeometry", "--shell"})
            .split(QLatin1Char('\n'));
    auto value = [&geometry](const char *name) {
        for (const QString &line : geometry)
            if (line.startsWith(QLatin1String(name) + QLatin1Char('=')))
                return line.section(QLatin1Char('='), 1).toInt();
        return -1;
    };
    ASSERT_GT(value("WIDTH"), 0) << geometry.join(QLatin1Char(' ')).toStdString();
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
