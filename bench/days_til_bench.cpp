// The days-until pass over 10,000 entries: cDateHandler::SetDaysTil (through the data-access
// object, the shared recordset and one workspace transaction) against the library's own calls
// doing the same reads, the same computation and the same writes in one transaction.

#include "BenchServices.h"
#include "EntryTable.h"

#include "core/Globals.h"
#include "core/cDAO.h"
#include "dates/cDateHandler.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <sqlite3.h>

namespace {

constexpr int kEntries = 10000;

kxbench::EntryTable &entryTable()
{
    static kxbench::EntryTable table(kEntries);
    return table;
}

void BM_SetDaysTil(benchmark::State &state)
{
    kxbench::ScopedBenchServices services(QDir::toNativeSeparators(entryTable().dir.path()));
    core::resetGlobals();
    gstrDbPath = entryTable().path;
    if (!cDAO().DAOOpenConnection(gstrDbPath)) {
        state.SkipWithError("the database did not open");
        return;
    }
    for (auto _ : state)
        cDateHandler().SetDaysTil();
    if (services.boxes.shown || QFile::exists(core::programPath(QStringLiteral("DebugLog.TXT"))))
        state.SkipWithError("the pass reported an error");
    state.SetItemsProcessed(state.iterations() * kEntries);
    core::resetGlobals();
}

void BM_SetDaysTilPlainLibrary(benchmark::State &state)
{
    sqlite3 *db = kxbench::openKeyed(entryTable().path);
    for (auto _ : state)
        kxbench::plainDaysTilPass(db, [](const char *text) {
            return kxbench::plainDaysTil(
                QDate::fromString(QString::fromLatin1(text, 10), Qt::ISODate),
                kxbench::kBenchToday);
        });
    sqlite3_close(db);
    state.SetItemsProcessed(state.iterations() * kEntries);
}

} // namespace

BENCHMARK(BM_SetDaysTil)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SetDaysTilPlainLibrary)->Unit(benchmark::kMillisecond);
