// The days-until pass over a full entry table: every row read, one column written back, in one
// transaction. Measured through the engine layer and with the library's own calls, so that the
// layer's cost can be compared with the floor.

#include "platform/jet/Jet.h"

#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <memory>

namespace {

constexpr int kRows = 10000;
const QString kConnect = QStringLiteral("MS Access;pwd=vmr;");

sqlite3 *openPlain(const QString &path)
{
    sqlite3 *db = nullptr;
    sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
    sqlite3_exec(db, "PRAGMA key = 'vmr'", nullptr, nullptr, nullptr);
    return db;
}

// A copy of the delivered database with kRows entries, in a folder of its own.
struct BenchDb
{
    QTemporaryDir dir;
    QString path;

    BenchDb()
    {
        path = dir.filePath(QStringLiteral("vovuriv.mdb"));
        QFile::copy(QStringLiteral(KX_DELIVERED_DB), path);
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
        sqlite3 *db = openPlain(path);
        sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
        sqlite3_stmt *insert = nullptr;
        sqlite3_prepare_v2(db,
                           "INSERT INTO Dazez (Events_Id, Dazez_Name, Dazez_Date, Dazez_Time, "
                           "Dazez_AlertDays, Dazez_Notes, Dazez_DaysTil) "
                           "VALUES (1, ?, ?, '1899-12-30 09:00:00', 3, 'notes', 0)",
                           -1, &insert, nullptr);
        for (int i = 0; i < kRows; ++i) {
            const QByteArray name = "Person " + QByteArray::number(i);
            const QByteArray date = QStringLiteral("%1-%2-%3 00:00:00")
                                        .arg(1930 + i % 80)
                                        .arg(1 + i % 12, 2, 10, QLatin1Char('0'))
                                        .arg(1 + i % 28, 2, 10, QLatin1Char('0'))
                                        .toLatin1();
            sqlite3_bind_text(insert, 1, name.constData(), name.size(), SQLITE_TRANSIENT);
            sqlite3_bind_text(insert, 2, date.constData(), date.size(), SQLITE_TRANSIENT);
            sqlite3_step(insert);
            sqlite3_reset(insert);
        }
        sqlite3_finalize(insert);
        sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
        sqlite3_close(db);
    }
};

BenchDb &benchDb()
{
    static BenchDb db;
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
    sqlite3 *db = openPlain(benchDb().path);
    int n = 0;
    for (auto _ : state) {
        sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
        sqlite3_stmt *select = nullptr;
        sqlite3_stmt *update = nullptr;
        sqlite3_prepare_v2(db, "SELECT Dazez_Id, Dazez_Date, Dazez_DaysTil FROM Dazez", -1,
                           &select, nullptr);
        sqlite3_prepare_v2(db, "UPDATE Dazez SET Dazez_DaysTil = ? WHERE Dazez_Id = ?", -1,
                           &update, nullptr);
        while (sqlite3_step(select) == SQLITE_ROW) {
            const sqlite3_int64 id = sqlite3_column_int64(select, 0);
            benchmark::DoNotOptimize(sqlite3_column_text(select, 1));
            benchmark::DoNotOptimize(sqlite3_column_int(select, 2));
            sqlite3_bind_int(update, 1, n);
            sqlite3_bind_int64(update, 2, id);
            sqlite3_step(update);
            sqlite3_reset(update);
            n = (n + 1) % 366;
        }
        sqlite3_finalize(select);
        sqlite3_finalize(update);
        sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    }
    sqlite3_close(db);
    state.SetItemsProcessed(state.iterations() * kRows);
}

} // namespace

BENCHMARK(BM_EngineDynasetPass)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainLibraryPass)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
