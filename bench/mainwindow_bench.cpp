// The main window over 10,000 entries of all five event types:
//  - the list refill (SetEventList into the real list view, offscreen) against the floor: the
//    same work in the library's own calls (the days-until rewrite in one transaction, the
//    ordered read, one event-name lookup per row through one reused prepared statement)
//    filling a plain QTreeWidget with the same rows;
//  - one notice tick over 10,000 coming events of which none is due, without a database.

#include "BenchServices.h"
#include "EntryTable.h"

#include "core/Globals.h"
#include "dates/UpcomingLists.h"
#include "dates/frmEventNotice.h"
#include "mainwindow/frmDazez.h"
#include "platform/forms/ListView.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QTimer>
#include <QTreeWidget>

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <array>

namespace {

constexpr int kEntries = 10000;

kxbench::EntryTable &typedTable()
{
    static kxbench::EntryTable table(kEntries);
    static const bool typed = [] {
        sqlite3 *db = kxbench::openKeyed(table.path);
        sqlite3_exec(db, "UPDATE Dazez SET Events_Id = Dazez_Id % 5 + 1", nullptr, nullptr,
                     nullptr);
        sqlite3_close(db);
        return true;
    }();
    (void)typed;
    return table;
}

void BM_SetEventList(benchmark::State &state)
{
    kxbench::ensureWidgets();
    kxbench::ScopedBenchServices services(QDir::toNativeSeparators(typedTable().dir.path()));
    if (!kxbench::openProgramDatabase(typedTable().path)) {
        state.SkipWithError("the database did not open");
        return;
    }
    {
        frmDazez window;
        window.Timer2->stop();
        window.show();
        for (auto _ : state) {
            window.SetEventList(window.lvw1, 0, 1);
            QCoreApplication::processEvents(); // the rows on show are painted
        }
        if (window.lvw1->ListItems().Count() != kEntries || services.boxes.shown ||
            QFile::exists(core::programPath(QStringLiteral("DebugLog.TXT"))))
            state.SkipWithError("the refill did not list every entry");
    }
    state.SetItemsProcessed(state.iterations() * kEntries);
    core::resetGlobals();
}

void BM_SetEventListPlainLibrary(benchmark::State &state)
{
    kxbench::ensureWidgets();
    static const std::array<const char *, 5> kTypes = {"birthday", "anniversary", "holiday",
                                                       "event", "reminder"};
    std::array<QIcon, 5> icons;
    for (int i = 0; i < 5; ++i)
        icons[static_cast<std::size_t>(i)] = frmEventNotice::eventTypeIcon(i);
    sqlite3 *db = kxbench::openKeyed(typedTable().path);
    QTreeWidget tree;
    tree.setRootIsDecorated(false);
    tree.setUniformRowHeights(true);
    tree.resize(384, 294);
    tree.show();
    for (auto _ : state) {
        tree.clear();
        tree.setHeaderLabels({QStringLiteral("Name"), QStringLiteral("Date"),
                              QStringLiteral("Event"), QStringLiteral("Days Til")});
        for (int c = 0; c < 4; ++c)
            tree.setColumnWidth(c, 90);
        kxbench::plainDaysTilPass(db, [](const char *text) {
            return kxbench::plainDaysTil(
                QDate::fromString(QString::fromLatin1(text, 10), Qt::ISODate),
                kxbench::kBenchToday);
        });
        sqlite3_stmt *rows = nullptr;
        sqlite3_stmt *eventName = nullptr;
        sqlite3_prepare_v2(db,
                           "SELECT Dazez_Id, Dazez_Name, Dazez_Date, Events_Id, Dazez_DaysTil "
                           "FROM Dazez ORDER BY Dazez_DaysTil ASC",
                           -1, &rows, nullptr);
        sqlite3_prepare_v2(db, "SELECT Events_EventName FROM Events WHERE Events_Id = ?", -1,
                           &eventName, nullptr);
        int picture = -1;
        while (sqlite3_step(rows) == SQLITE_ROW) {
            sqlite3_bind_int(eventName, 1, sqlite3_column_int(rows, 3));
            QString type;
            if (sqlite3_step(eventName) == SQLITE_ROW)
                type = QString::fromUtf8(
                    reinterpret_cast<const char *>(sqlite3_column_text(eventName, 0)));
            sqlite3_reset(eventName);
            const QString lower = type.toLower();
            for (int i = 0; i < 5; ++i)
                if (lower == QLatin1String(kTypes[static_cast<std::size_t>(i)]))
                    picture = i;
            const QString date = QString::fromLatin1(
                reinterpret_cast<const char *>(sqlite3_column_text(rows, 2)), 10);
            auto *item = new QTreeWidgetItem(QStringList{
                QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(rows, 1))),
                QDate::fromString(date, Qt::ISODate).toString(QStringLiteral("M/d/yyyy")), type,
                QString::number(sqlite3_column_int(rows, 4))});
            benchmark::DoNotOptimize(sqlite3_column_int(rows, 0)); // the row's key
            if (picture >= 0)
                item->setIcon(0, icons[static_cast<std::size_t>(picture)]);
            tree.addTopLevelItem(item);
        }
        sqlite3_finalize(rows);
        sqlite3_finalize(eventName);
        QCoreApplication::processEvents();
    }
    sqlite3_close(db);
    if (tree.topLevelItemCount() != kEntries)
        state.SkipWithError("the floor did not list every entry");
    state.SetItemsProcessed(state.iterations() * kEntries);
}

// No database at all: a tick that touched one would log the failure.
void BM_NoticeTickNothingDue(benchmark::State &state)
{
    kxbench::ensureWidgets();
    QTemporaryDir folder;
    kxbench::ScopedBenchServices services(QDir::toNativeSeparators(folder.path()));
    core::resetGlobals();
    dates::resetUpcomingLists();
    for (int i = 1; i <= kEntries; ++i)
        dates::appendUpcoming(
            vb::Variant(std::int32_t{i}), vb::Variant(vb::Date::fromYmd(1980, 12, 10)),
            vb::Variant(std::int16_t{0}), vb::Variant(vb::Date::fromQTime(QTime(9, 0))),
            vb::Variant(dates::kNotShownStatus));
    {
        frmDazez window;
        window.Timer2->stop();
        for (auto _ : state)
            window.Timer1_Timer();
    }
    if (gcolUpcomingId.Count() != kEntries || services.boxes.shown ||
        QFile::exists(core::programPath(QStringLiteral("DebugLog.TXT"))))
        state.SkipWithError("the tick did more than look");
    state.SetItemsProcessed(state.iterations() * kEntries);
    dates::resetUpcomingLists();
    core::resetGlobals();
}

} // namespace

BENCHMARK(BM_SetEventList)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SetEventListPlainLibrary)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_NoticeTickNothingDue)->Unit(benchmark::kMicrosecond);
