// What the entry list pays per row for its event names: 10,000 lookups of an event type's name by
// its id, each a snapshot opened on a statement with the id joined into its text, through the
// engine layer and through GetEventName, against the library's own calls with one prepared
// statement bound to each id. And the list's order by name over 10,000 entries, through a
// snapshot against the library with its own NOCASE.

#include "BenchServices.h"
#include "EntryTable.h"

#include "core/Globals.h"
#include "core/cDAO.h"
#include "core/mod_VOVuriv.h"
#include "platform/jet/Jet.h"
#include "platform/jet/TextOrder.h"

#include <QDir>
#include <QFile>

#include <benchmark/benchmark.h>
#include <sqlite3.h>

namespace {

constexpr int kLookups = 10000;
constexpr int kEntries = 10000;
constexpr int kEventTypes = 5;
const QString kConnect = QStringLiteral("MS Access;pwd=vmr;");

kxbench::EntryTable &entryTable()
{
    static kxbench::EntryTable table(kEntries);
    return table;
}

std::shared_ptr<jet::Database> openThroughEngine()
{
    auto ws = jet::DBEngine::instance().CreateWorkspace(QString(), QStringLiteral("Admin"),
                                                        QString(), jet::dbUseJet);
    return ws->OpenDatabase(entryTable().path, false, false, kConnect);
}

void BM_EventNameSnapshots(benchmark::State &state)
{
    auto db = openThroughEngine();
    for (auto _ : state) {
        for (int i = 0; i < kLookups; ++i) {
            auto rs = db->OpenRecordset(
                QStringLiteral("SELECT Events_EventName FROM Events WHERE Events_Id = ") +
                    QString::number(i % kEventTypes + 1),
                jet::dbOpenSnapshot);
            if (rs->RecordCount() > 0)
                benchmark::DoNotOptimize(rs->Field(QStringLiteral("Events_EventName")));
            rs->Close();
        }
    }
    state.SetItemsProcessed(state.iterations() * kLookups);
}

void BM_GetEventName(benchmark::State &state)
{
    kxbench::ScopedBenchServices services(QDir::toNativeSeparators(entryTable().dir.path()));
    core::resetGlobals();
    gstrDbPath = entryTable().path;
    if (!cDAO().DAOOpenConnection(gstrDbPath)) {
        state.SkipWithError("the database did not open");
        return;
    }
    for (auto _ : state)
        for (int i = 0; i < kLookups; ++i)
            benchmark::DoNotOptimize(GetEventName(i % kEventTypes + 1));
    if (services.boxes.shown || QFile::exists(core::programPath(QStringLiteral("DebugLog.TXT"))))
        state.SkipWithError("a lookup reported an error");
    state.SetItemsProcessed(state.iterations() * kLookups);
    core::resetGlobals();
}

void BM_EventNamePlainLibrary(benchmark::State &state)
{
    sqlite3 *db = kxbench::openKeyed(entryTable().path);
    sqlite3_stmt *select = nullptr;
    sqlite3_prepare_v2(db, "SELECT Events_EventName FROM Events WHERE Events_Id = ?", -1, &select,
                       nullptr);
    for (auto _ : state) {
        for (int i = 0; i < kLookups; ++i) {
            sqlite3_bind_int(select, 1, i % kEventTypes + 1);
            if (sqlite3_step(select) == SQLITE_ROW)
                benchmark::DoNotOptimize(QString::fromUtf8(
                    reinterpret_cast<const char *>(sqlite3_column_text(select, 0)),
                    sqlite3_column_bytes(select, 0)));
            sqlite3_reset(select);
        }
    }
    sqlite3_finalize(select);
    sqlite3_close(db);
    state.SetItemsProcessed(state.iterations() * kLookups);
}

void BM_NameOrderSnapshot(benchmark::State &state)
{
    auto db = openThroughEngine();
    for (auto _ : state) {
        auto rs = db->OpenRecordset(QStringLiteral("SELECT * FROM Dazez ORDER BY Dazez_Name ASC"),
                                    jet::dbOpenSnapshot);
        benchmark::DoNotOptimize(rs->RecordCount());
        rs->Close();
    }
    state.SetItemsProcessed(state.iterations() * kEntries);
}

// The floor with the library's NOCASE (state.range(0) 0), or with the program's (1).
void BM_NameOrderPlainLibrary(benchmark::State &state)
{
    sqlite3 *db = kxbench::openKeyed(entryTable().path);
    if (state.range(0))
        jet::detail::TextOrder::forLocale(QLocale()).install(db);
    sqlite3_stmt *select = nullptr;
    sqlite3_prepare_v2(db, "SELECT * FROM Dazez ORDER BY Dazez_Name ASC", -1, &select, nullptr);
    for (auto _ : state) {
        while (sqlite3_step(select) == SQLITE_ROW)
            for (int c = 0; c < sqlite3_column_count(select); ++c)
                benchmark::DoNotOptimize(sqlite3_column_text(select, c));
        sqlite3_reset(select);
    }
    sqlite3_finalize(select);
    sqlite3_close(db);
    state.SetItemsProcessed(state.iterations() * kEntries);
}

} // namespace

BENCHMARK(BM_EventNameSnapshots)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GetEventName)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EventNamePlainLibrary)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_NameOrderSnapshot)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_NameOrderPlainLibrary)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
