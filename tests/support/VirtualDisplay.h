#pragma once

// A virtual X display (Xvfb) of a test's own, the programs a test starts on it, and the X tools
// that look at its windows. Every program started through it is killed when the test ends,
// last started first, the server last: on every path, passed, failed or skipped.

#include <QImage>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

namespace kxtest {

constexpr int kDisplayWaitMs = 20000; // how long to wait for a program to come up or answer

class VirtualDisplayTest : public ::testing::Test
{
protected:
    // Starts the server; skips the test where there is no Xvfb.
    void SetUp() override;
    void TearDown() override;

    // Skips the test (returns false) where `name` is not installed; else stores its path.
    bool need(const QString &name, QString *path);

    // Starts a program on the display, in `folder` when one is given.
    QProcess *start(const QString &program, const QStringList &arguments,
                    const QString &folder = QString());
    // Runs a program to its end and returns what it printed.
    QString output(const QString &program, const QStringList &arguments);
    // Starts the notification area (trayer) at the bottom right, as wide as its icons; skips the
    // test where it is not installed.
    QProcess *startNotificationArea();

    // Reads a program's lines until one satisfies `enough` or the wait is over.
    static QStringList readLines(QProcess *p, QStringList &pending,
                                 const std::function<bool(const QStringList &)> &enough);

    // Polls `done` until it holds or `ms` have passed; true when it held.
    static bool waitUntil(const std::function<bool()> &done, int ms = kDisplayWaitMs);

    // The windows a name search with xdotool finds (a regular expression), visible ones only
    // when `visible`; an empty list without xdotool.
    QStringList windows(const QString &name, bool visible);
    // One value ("X", "WIDTH", ...) of a window's geometry as xdotool reports it; -1 when the
    // window or the value is not there.
    int geometry(const QString &window, const char *value);
    // What the screen shows now, read from the server's framebuffer; a null image when it
    // cannot be read.
    QImage screen() const;

    QProcessEnvironment mEnv;
    QString mXdotool;

private:
    std::vector<std::unique_ptr<QProcess>> mProcesses;
    QTemporaryDir mFramebuffer; // the server keeps its screen here, as an XWD file
};

} // namespace kxtest
