#pragma once

// A copy of the delivered database holding a given number of entries, in a folder of its own,
// and the library's own way into it: the ground both benchmarks measure on.

#include "startup_floor/PlainStart.h"

#include <QDate>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <functional>
#include <map>
#include <memory>

namespace kxbench {

inline sqlite3 *openKeyed(const QString &path)
{
    sqlite3 *db = nullptr;
    sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
    sqlite3_exec(db, "PRAGMA key = 'vmr'", nullptr, nullptr, nullptr);
    return db;
}

struct EntryTable
{
    QTemporaryDir dir;
    QString path;

    explicit EntryTable(int entries)
    {
        path = dir.filePath(QStringLiteral("vovuriv.mdb"));
        QFile::copy(QStringLiteral(KX_DELIVERED_DB), path);
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
        sqlite3 *db = openKeyed(path);
        sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
        sqlite3_stmt *insert = nullptr;
        sqlite3_prepare_v2(db,
                           "INSERT INTO Dazez (Events_Id, Dazez_Name, Dazez_Date, Dazez_Time, "
                           "Dazez_AlertDays, Dazez_Notes, Dazez_DaysTil) "
                           "VALUES (1, ?, ?, '1899-12-30 09:00:00', 3, 'notes', 0)",
                           -1, &insert, nullptr);
        for (int i = 0; i < entries; ++i) {
            const QByteArray name = "Entry " + QByteArray::number(i);
            // Every day of the year, across ninety years.
            const QByteArray date = QDate(1930 + i % 90, 1, 1)
                                        .addDays(i % 366)
                                        .toString(QStringLiteral("yyyy-MM-dd 00:00:00"))
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

// A table as a user's big file: the five event types in turn, and one entry in ten a coming
// event (365 alert days; the others 0, so coming only on their day). Notices are due at 09:00,
// before the benchmarks' clock; nothing shows the coming events at start. One table per size,
// made on first use.
inline EntryTable &startTable(int entries)
{
    static std::map<int, std::unique_ptr<EntryTable>> tables;
    std::unique_ptr<EntryTable> &table = tables[entries];
    if (!table) {
        table = std::make_unique<EntryTable>(entries);
        sqlite3 *db = openKeyed(table->path);
        sqlite3_exec(db,
                     "UPDATE Dazez SET Events_Id = Dazez_Id % 5 + 1, Dazez_AlertDays = "
                     "CASE WHEN Dazez_Id % 10 = 0 THEN 365 ELSE 0 END; "
                     "UPDATE Settings SET Settings_ShowEventsAtStart = 0",
                     nullptr, nullptr, nullptr);
        sqlite3_close(db);
    }
    return *table;
}

// Days from `today` to the next recurrence of `date`'s month and day (29 February counts on 28
// February in a year without one): the floors' own computation.
inline int plainDaysTil(const QDate &date, const QDate &today)
{
    return kxfloor::daysTil(date, today);
}

// The floor both benchmarks compare with: one transaction, one prepared SELECT of every entry's
// id, date and days until, and one prepared UPDATE by id writing what `daysTil` gives for the
// row's date text ("yyyy-MM-dd HH:mm:ss").
inline void plainDaysTilPass(sqlite3 *db, const std::function<int(const char *dateText)> &daysTil)
{
    sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
    sqlite3_stmt *select = nullptr;
    sqlite3_stmt *update = nullptr;
    sqlite3_prepare_v2(db, "SELECT Dazez_Id, Dazez_Date, Dazez_DaysTil FROM Dazez", -1, &select,
                       nullptr);
    sqlite3_prepare_v2(db, "UPDATE Dazez SET Dazez_DaysTil = ? WHERE Dazez_Id = ?", -1, &update,
                       nullptr);
    while (sqlite3_step(select) == SQLITE_ROW) {
        const sqlite3_int64 id = sqlite3_column_int64(select, 0);
        const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(select, 1));
        benchmark::DoNotOptimize(sqlite3_column_int(select, 2)); // read, as the pass reads it
        sqlite3_bind_int(update, 1, daysTil(text));
        sqlite3_bind_int64(update, 2, id);
        sqlite3_step(update);
        sqlite3_reset(update);
    }
    sqlite3_finalize(select);
    sqlite3_finalize(update);
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
}

} // namespace kxbench
