// The main window over 1,000, 10,000 and 100,000 entries of all five event types, one in ten a
// coming event, each case beside its floor (startup_floor/PlainStart.h) in the same run:
//  - the list refill: SetEventList into the real list view, offscreen, against the days-until
//    pass and the list's rows read joined to their event names into a plain QTreeWidget;
//  - one notice tick over the coming events (a tenth of the entries) of which none is due,
//    without a database, against a loop over the floor's coming events.
// "per_entry" is the time per entry of the table.

#include "BenchServices.h"
#include "EntryTable.h"
#include "Measure.h"

#include "core/Globals.h"
#include "dates/UpcomingLists.h"
#include "dates/frmEventNotice.h"
#include "mainwindow/frmDazez.h"
#include "platform/forms/ListView.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTimer>
#include <QTreeWidget>

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <array>

namespace {

std::array<QIcon, 5> eventIcons()
{
    std::array<QIcon, 5> icons;
    for (int i = 0; i < 5; ++i)
        icons[static_cast<std::size_t>(i)] = frmEventNotice::eventTypeIcon(i);
    return icons;
}

void BM_SetEventList(benchmark::State &state)
{
    const int entries = static_cast<int>(state.range(0));
    kxbench::EntryTable &table = kxbench::startTable(entries);
    kxbench::ensureWidgets();
    kxbench::ScopedBenchServices services(QDir::toNativeSeparators(table.dir.path()));
    if (!kxbench::openProgramDatabase(table.path)) {
        state.SkipWithError("the database did not open");
        return;
    }
    {
        frmDazez window;
        window.Timer2->stop();
        window.show();
        kxbench::measure(state, [&] {
            window.SetEventList(window.lvw1, 0, 1);
            QCoreApplication::processEvents(); // the rows on show are painted
        });
        if (window.lvw1->ListItems().Count() != entries || services.boxes.shown ||
            QFile::exists(core::programPath(QStringLiteral("DebugLog.TXT"))))
            state.SkipWithError("the refill did not list every entry");
    }
    kxbench::perEntry(state, entries);
    core::resetGlobals();
}

void BM_SetEventListFloor(benchmark::State &state)
{
    const int entries = static_cast<int>(state.range(0));
    kxbench::EntryTable &table = kxbench::startTable(entries);
    kxbench::ensureWidgets();
    const std::array<QIcon, 5> icons = eventIcons();
    sqlite3 *db = kxbench::openKeyed(table.path);
    QTreeWidget tree;
    kxfloor::setUpList(tree);
    tree.resize(384, 294);
    tree.show();
    int rows = 0;
    kxbench::measure(state, [&] {
        kxfloor::daysTilPass(db, kxbench::kBenchToday);
        rows = kxfloor::fillList(db, tree, icons);
        QCoreApplication::processEvents();
    });
    sqlite3_close(db);
    if (rows != entries)
        state.SkipWithError("the floor did not list every entry");
    kxbench::perEntry(state, entries);
}

// No database at all: a tick that touched one would log the failure.
void BM_NoticeTickNothingDue(benchmark::State &state)
{
    const int coming = static_cast<int>(state.range(0)) / 10;
    kxbench::ensureWidgets();
    QTemporaryDir folder;
    kxbench::ScopedBenchServices services(QDir::toNativeSeparators(folder.path()));
    core::resetGlobals();
    dates::resetUpcomingLists();
    for (int i = 1; i <= coming; ++i)
        dates::appendUpcoming(
            vb::Variant(std::int32_t{i}), vb::Variant(vb::Date::fromYmd(1980, 12, 10)),
            vb::Variant(std::int16_t{0}), vb::Variant(vb::Date::fromQTime(QTime(9, 0))),
            vb::Variant(dates::kNotShownStatus));
    {
        frmDazez window;
        window.Timer2->stop();
        kxbench::measure(state, [&] { window.Timer1_Timer(); });
    }
    if (gcolUpcomingId.Count() != coming || services.boxes.shown ||
        QFile::exists(core::programPath(QStringLiteral("DebugLog.TXT"))))
        state.SkipWithError("the tick did more than look");
    kxbench::perEntry(state, coming);
    dates::resetUpcomingLists();
    core::resetGlobals();
}

void BM_NoticeTickNothingDueFloor(benchmark::State &state)
{
    const int coming = static_cast<int>(state.range(0)) / 10;
    std::vector<kxfloor::ComingEvent> events(static_cast<std::size_t>(coming));
    for (int i = 0; i < coming; ++i) {
        kxfloor::ComingEvent &event = events[static_cast<std::size_t>(i)];
        event.id = i + 1;
        event.date = QDate(1980, 12, 10);
        event.minuteOfDay = 9 * 60;
    }
    kxbench::measure(state, [&] {
        const QDateTime now(kxbench::kBenchToday, QTime(10, 0));
        benchmark::DoNotOptimize(kxfloor::dueNotices(events, now.date(),
                                                     now.time().hour() * 60 + now.time().minute()));
    });
    kxbench::perEntry(state, coming);
}

} // namespace

BENCHMARK(BM_SetEventList)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SetEventListFloor)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_NoticeTickNothingDue)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_NoticeTickNothingDueFloor)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMicrosecond);
