#pragma once

// The services a benchmark runs the program's code with: a clock that stands at
// 2026-12-10 10:00 unless the benchmark moves it, a program folder of the benchmark's choice,
// and a message box that answers Abort and counts, since any box means the measured work
// failed. The program's database opened as at start-up, and, for the benchmarks that need
// widgets, one application object, offscreen.

#include "core/Globals.h"
#include "core/cDAO.h"
#include "platform/services/Services.h"

#include <QApplication>
#include <QDate>
#include <QDateTime>

#include <cstdlib>

namespace kxbench {

inline const QDate kBenchToday(2026, 12, 10);

class BenchClock : public platform::Clock
{
public:
    QDateTime at{kBenchToday, QTime(10, 0)};
    QDateTime now() const override { return at; }
};

class BenchProgram : public platform::ProgramService
{
public:
    QString path;
    QString folder() const override { return path; }
    [[noreturn]] void end(int exitCode) override { std::exit(exitCode); }
};

class CountingMessageBox : public platform::MessageBoxService
{
public:
    int shown = 0;
    int show(const QString &, int, const QString &) override
    {
        ++shown;
        return 3;
    }
};

// In force for its lifetime, over the services that were in force before.
class ScopedBenchServices
{
public:
    explicit ScopedBenchServices(const QString &programFolder) : mBefore(platform::services())
    {
        program.path = programFolder;
        platform::Services s = mBefore;
        s.clock = &clock;
        s.program = &program;
        s.messageBox = &boxes;
        platform::installServices(s);
    }
    ~ScopedBenchServices() { platform::installServices(mBefore); }
    ScopedBenchServices(const ScopedBenchServices &) = delete;
    ScopedBenchServices &operator=(const ScopedBenchServices &) = delete;

    BenchClock clock;
    BenchProgram program;
    CountingMessageBox boxes;

private:
    platform::Services mBefore;
};

// Opens the database file at `path` as the start-up does, over fresh globals; false when it did
// not open.
inline bool openProgramDatabase(const QString &path)
{
    core::resetGlobals();
    gstrDbPath = path;
    return cDAO().DAOOpenConnection(gstrDbPath);
}

inline void ensureWidgets()
{
    if (QApplication::instance())
        return;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "kalendrix_bench";
    static char *argv[] = {name, nullptr};
    new QApplication(argc, argv);
}

} // namespace kxbench
