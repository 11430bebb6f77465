// The road of a start over 1,000, 10,000 and 100,000 entries, one in ten a coming event, each
// case beside its floor (startup_floor/PlainStart.h) in the same run:
//  - the start road: the splash's days-until pass, then the main window made and loaded (its
//    list fill with the second pass, the combo boxes, the upcoming-event lists) and shown,
//    against the floor's two passes, list fill and read of the coming events into a plain window;
//  - the build of the upcoming-event lists (SetComingEvents after the lists were replaced, as a
//    change of day does) against the floor's one read of every entry.
// The file is open already, as after the splash's open: its key derivation is the same one call
// in both and is measured with the real program (scripts/measure-startup.sh). "per_entry" is the
// time per entry of the table.

#include "BenchServices.h"
#include "EntryTable.h"
#include "Measure.h"

#include "core/Globals.h"
#include "dates/UpcomingLists.h"
#include "dates/cDateHandler.h"
#include "dates/frmEventNotice.h"
#include "mainwindow/frmDazez.h"
#include "platform/forms/ListView.h"
#include "platform/services/QtServices.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <array>

namespace {

// The settings record as the splash loads it from the bench table's Settings row.
void loadBenchSettings()
{
    gudtSettings = udtSettings{};
    gudtSettings.DefaultAlertDays = 3;
    gudtSettings.DefaultEvent = 1;
    gudtSettings.DefaultDisplayTime = vb::Date::fromQTime(QTime(9, 0));
    gudtSettings.TimerOn = 1;
    gudtSettings.SoundOn = 1;
    gudtSettings.ShowEventsAtStart = 0;
}

bool failedQuietly(const kxbench::ScopedBenchServices &services)
{
    return services.boxes.shown || QFile::exists(core::programPath(QStringLiteral("DebugLog.TXT")));
}

void BM_StartRoad(benchmark::State &state)
{
    const int entries = static_cast<int>(state.range(0));
    kxbench::EntryTable &table = kxbench::startTable(entries);
    kxbench::ensureWidgets();
    // The window needs the screen and the rest of the desktop's services.
    platform::installQtServices(core::kProductName);
    kxbench::ScopedBenchServices services(QDir::toNativeSeparators(table.dir.path()));
    if (!kxbench::openProgramDatabase(table.path)) {
        state.SkipWithError("the database did not open");
        return;
    }
    loadBenchSettings();
    int rows = 0;
    kxbench::measure(state, [&] {
        dates::replaceUpcomingLists();
        cDateHandler().SetDaysTil();
        frmDazez window;
        window.Timer2->stop();
        window.Load();
        QCoreApplication::processEvents();
        rows = window.lvw1->ListItems().Count();
    });
    if (rows != entries || gcolUpcomingId.Count() < entries / 10 || failedQuietly(services))
        state.SkipWithError("the start did not list every entry and coming event");
    kxbench::perEntry(state, entries);
    dates::resetUpcomingLists();
    core::resetGlobals();
}

void BM_StartRoadFloor(benchmark::State &state)
{
    const int entries = static_cast<int>(state.range(0));
    kxbench::EntryTable &table = kxbench::startTable(entries);
    kxbench::ensureWidgets();
    std::array<QIcon, 5> icons;
    for (int i = 0; i < 5; ++i)
        icons[static_cast<std::size_t>(i)] = frmEventNotice::eventTypeIcon(i);
    sqlite3 *db = kxbench::openKeyed(table.path);
    int rows = 0;
    std::size_t coming = 0;
    kxbench::measure(state, [&] {
        kxfloor::daysTilPass(db, kxbench::kBenchToday);
        QWidget window;
        auto *layout = new QVBoxLayout(&window);
        auto *tree = new QTreeWidget(&window);
        kxfloor::setUpList(*tree);
        layout->addWidget(tree);
        window.resize(672, 420);
        kxfloor::daysTilPass(db, kxbench::kBenchToday);
        rows = kxfloor::fillList(db, *tree, icons);
        coming = kxfloor::readComingEvents(db).size();
        window.show();
        QCoreApplication::processEvents();
    });
    sqlite3_close(db);
    if (rows != entries || coming < static_cast<std::size_t>(entries / 10))
        state.SkipWithError("the floor did not list every entry and coming event");
    kxbench::perEntry(state, entries);
}

void BM_BuildUpcomingLists(benchmark::State &state)
{
    const int entries = static_cast<int>(state.range(0));
    kxbench::EntryTable &table = kxbench::startTable(entries);
    kxbench::ScopedBenchServices services(QDir::toNativeSeparators(table.dir.path()));
    if (!kxbench::openProgramDatabase(table.path)) {
        state.SkipWithError("the database did not open");
        return;
    }
    // The stored days until as a start leaves them.
    cDateHandler().SetDaysTil();
    kxbench::measure(state, [] {
        dates::replaceUpcomingLists();
        cDateHandler().SetComingEvents();
    });
    sqlite3 *db = kxbench::openKeyed(table.path);
    const std::size_t expected = kxfloor::readComingEvents(db).size();
    sqlite3_close(db);
    if (static_cast<std::size_t>(gcolUpcomingId.Count()) != expected || failedQuietly(services))
        state.SkipWithError("the build did not list every coming event");
    kxbench::perEntry(state, entries);
    dates::resetUpcomingLists();
    core::resetGlobals();
}

void BM_BuildUpcomingListsFloor(benchmark::State &state)
{
    const int entries = static_cast<int>(state.range(0));
    sqlite3 *db = kxbench::openKeyed(kxbench::startTable(entries).path);
    kxfloor::daysTilPass(db, kxbench::kBenchToday);
    std::size_t coming = 0;
    kxbench::measure(state, [&] { coming = kxfloor::readComingEvents(db).size(); });
    sqlite3_close(db);
    if (coming < static_cast<std::size_t>(entries / 10))
        state.SkipWithError("the floor did not find the coming events");
    kxbench::perEntry(state, entries);
}

} // namespace

BENCHMARK(BM_StartRoad)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StartRoadFloor)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BuildUpcomingLists)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BuildUpcomingListsFloor)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond);
