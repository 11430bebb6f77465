// The days-until pass over 10,000 entries: cDateHandler::SetDaysTil (through the data-access
// object, the shared recordset and one workspace transaction) against the library's own calls
// doing the same reads, the same computation and the same writes in one transaction.

#include "EntryTable.h"

#include "core/Globals.h"
#include "core/cDAO.h"
#include "dates/cDateHandler.h"
#include "platform/services/Services.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <sqlite3.h>

namespace {

constexpr int kEntries = 10000;
const QDate kToday(2026, 12, 10);

class BenchClock : public platform::Clock
{
public:
    QDateTime now() const override { return QDateTime(kToday, QTime(10, 0)); }
};

class BenchProgram : public platform::ProgramService
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
    BenchClock clock;
    BenchProgram program;
    program.path = QDir::toNativeSeparators(entryTable().dir.path());
    CountingMessageBox boxes;
    const platform::Services before = platform::services();
    platform::Services s = before;
    s.clock = &clock;
    s.program = &program;
    s.messageBox = &boxes;
    platform::installServices(s);

    core::resetGlobals();
    gstrDbPath = entryTable().path;
    if (!cDAO().DAOOpenConnection(gstrDbPath)) {
        state.SkipWithError("the database did not open");
        return;
    }
    for (auto _ : state)
        cDateHandler().SetDaysTil();
    if (boxes.shown || QFile::exists(core::programPath(QStringLiteral("DebugLog.TXT"))))
        state.SkipWithError("the pass reported an error");
    state.SetItemsProcessed(state.iterations() * kEntries);
    core::resetGlobals();
    platform::installServices(before);
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
