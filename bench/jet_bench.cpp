// The days-until pass over a full entry table: every row read, one column written back, in one
// transaction. Measured through the engine layer and with the library's own calls, so that the
// layer's cost can be compared with the floor.

#include "EntryTable.h"

#include "platform/jet/Jet.h"

#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <memory>

namespace {

constexpr int kRows = 10000;
const QString kConnect = QStringLiteral("MS Access;pwd=vmr;");

kxbench::EntryTable &benchDb()
{
    static kxbench::EntryTable db(kRows);
    return db;
}

void BM_EngineDynasetPass(benchmark::State &state)
{
    auto ws = jet::DBEngine::instance().CreateWorkspace(QString(), QStringLiteral("Admin"),
                                                        QString(), jet::dbUseJet);
    auto db = ws->OpenDatabase(benchDb().path, false, false, kConnect);
    std::int16_t n = 0;
    for (auto _ : state) {
        ws->BeginTrans();
        auto rs = db->OpenRecordset(
            QStringLiteral("SELECT Dazez_Id, Dazez_Date, Dazez_DaysTil FROM Dazez"),
            jet::dbOpenDynaset);
        while (!rs->eof()) {
            benchmark::DoNotOptimize(rs->Field(QStringLiteral("Dazez_Date")));
            rs->Edit();
            rs->SetField(QStringLiteral("Dazez_DaysTil"), n);
            rs->Update();
            rs->MoveNext();
            n = static_cast<std::int16_t>((n + 1) % 366);
        }
        rs->Close();
        ws->CommitTrans();
    }
    state.SetItemsProcessed(state.iterations() * kRows);
}

void BM_PlainLibraryPass(benchmark::State &state)
{
    sqlite3 *db = kxbench::openKeyed(benchDb().path);
    int n = 0;
    for (auto _ : state)
        kxbench::plainDaysTilPass(db, [&n](const char *) {
            const int value = n;
            n = (n + 1) % 366;
            return value;
        });
    sqlite3_close(db);
    state.SetItemsProcessed(state.iterations() * kRows);
}

} // namespace

BENCHMARK(BM_EngineDynasetPass)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainLibraryPass)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
