#pragma once

// The program's globals on an entry table, as after start-up: a fixed clock, the table's folder
// as the program folder, every box counted (a box means a failed run), the database open in
// gdbMain. The services before it are put back when it goes.

#include "EntryTable.h"

#include "core/Globals.h"
#include "core/cDAO.h"
#include "platform/services/Services.h"

#include <QDateTime>
#include <QDir>
#include <QFile>

#include <benchmark/benchmark.h>

#include <cstdlib>

namespace kxbench {

class FixedClock : public platform::Clock
{
public:
    explicit FixedClock(const QDateTime &now) : mNow(now) {}
    QDateTime now() const override { return mNow; }

private:
    QDateTime mNow;
};

class FolderProgram : public platform::ProgramService
{
public:
    QString path;
    QString folder() const override { return path; }
    [[noreturn]] void end(int exitCode) override { std::exit(exitCode); }
};

// Any box would mean a failed pass: answer Abort and count it.
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

class ProgramOnTable
{
public:
    ProgramOnTable(EntryTable &table, const QDateTime &now)
        : mClock(now), mBefore(platform::services())
    {
        mProgram.path = QDir::toNativeSeparators(table.dir.path());
        platform::Services s = mBefore;
        s.clock = &mClock;
        s.program = &mProgram;
        s.messageBox = &mBoxes;
        platform::installServices(s);
        core::resetGlobals();
        gstrDbPath = table.path;
        mOpen = cDAO().DAOOpenConnection(gstrDbPath);
    }
    ~ProgramOnTable()
    {
        core::resetGlobals();
        platform::installServices(mBefore);
    }

    bool open() const { return mOpen; }
    // Whether a box was shown or the debug log written since the start.
    bool failed() const
    {
        return mBoxes.shown || QFile::exists(core::programPath(QStringLiteral("DebugLog.TXT")));
    }

private:
    FixedClock mClock;
    FolderProgram mProgram;
    CountingMessageBox mBoxes;
    const platform::Services mBefore;
    bool mOpen = false;
};

} // namespace kxbench
