// The days-until pass over 1,000, 10,000 and 100,000 entries: cDateHandler::SetDaysTil (through
// the data-access object, the shared recordset and one workspace transaction) against its floor,
// the library's own calls doing the same reads, the same computation and the same writes in one
// transaction with one prepared UPDATE. "per_entry" is the time per entry.

#include "BenchServices.h"
#include "EntryTable.h"
#include "Measure.h"

#include "core/Globals.h"
#include "core/cDAO.h"
#include "dates/cDateHandler.h"

#include <QDir>
#include <QFile>

#include <benchmark/benchmark.h>
#include <sqlite3.h>

namespace {

void BM_SetDaysTil(benchmark::State &state)
{
    const int entries = static_cast<int>(state.range(0));
    kxbench::EntryTable &table = kxbench::startTable(entries);
    kxbench::ScopedBenchServices services(QDir::toNativeSeparators(table.dir.path()));
    if (!kxbench::openProgramDatabase(table.path)) {
        state.SkipWithError("the database did not open");
        return;
    }
    kxbench::measure(state, [] { cDateHandler().SetDaysTil(); });
    if (services.boxes.shown || QFile::exists(core::programPath(QStringLiteral("DebugLog.TXT"))))
        state.SkipWithError("the pass reported an error");
    kxbench::perEntry(state, entries);
    core::resetGlobals();
}

void BM_SetDaysTilFloor(benchmark::State &state)
{
    const int entries = static_cast<int>(state.range(0));
    sqlite3 *db = kxbench::openKeyed(kxbench::startTable(entries).path);
    bool ok = true;
    kxbench::measure(state, [&] { ok = kxfloor::daysTilPass(db, kxbench::kBenchToday) && ok; });
    if (!ok)
        state.SkipWithError("the floor's pass failed");
    sqlite3_close(db);
    kxbench::perEntry(state, entries);
}

} // namespace

BENCHMARK(BM_SetDaysTil)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SetDaysTilFloor)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
