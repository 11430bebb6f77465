// The days-until pass over 10,000 entries: cDateHandler::SetDaysTil (through the data-access
// object, the shared recordset and one workspace transaction) against the library's own calls
// doing the same reads, the same computation and the same writes in one transaction.

#include "ProgramOnTable.h"

#include "dates/cDateHandler.h"

#include <QDate>

#include <benchmark/benchmark.h>
#include <sqlite3.h>

namespace {

constexpr int kEntries = 10000;
const QDate kToday(2026, 12, 10);

kxbench::EntryTable &entryTable()
{
    static kxbench::EntryTable table(kEntries);
    return table;
}

QDate anniversary(int year, int month, int day)
{
    if (month == 2 && day == 29 && !QDate::isLeapYear(year))
        day = 28;
    return QDate(year, month, day);
}

int daysTil(const QDate &date)
{
    QDate next = anniversary(kToday.year(), date.month(), date.day());
    if (next < kToday)
        next = anniversary(kToday.year() + 1, date.month(), date.day());
    const qint64 days = kToday.daysTo(next);
    return days > 365 ? 0 : static_cast<int>(days);
}

void BM_SetDaysTil(benchmark::State &state)
{
    kxbench::ProgramOnTable program(entryTable(), QDateTime(kToday, QTime(10, 0)));
    if (!program.open()) {
        state.SkipWithError("the database did not open");
        return;
    }
    for (auto _ : state)
        cDateHandler().SetDaysTil();
    if (program.failed())
        state.SkipWithError("the pass reported an error");
    state.SetItemsProcessed(state.iterations() * kEntries);
}

void BM_SetDaysTilPlainLibrary(benchmark::State &state)
{
    sqlite3 *db = kxbench::openKeyed(entryTable().path);
    for (auto _ : state)
        kxbench::plainDaysTilPass(db, [](const char *text) {
            return daysTil(QDate::fromString(QString::fromLatin1(text, 10), Qt::ISODate));
        });
    sqlite3_close(db);
    state.SetItemsProcessed(state.iterations() * kEntries);
}

} // namespace

BENCHMARK(BM_SetDaysTil)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SetDaysTilPlainLibrary)->Unit(benchmark::kMillisecond);
