#pragma once

// The floor of a start: the work that a start of the program demands, done the simplest fast way
// with the library's own calls and plain Qt widgets. The start-up floor program runs all of it;
// the benchmarks measure each of the program's steps against its part here, in the same run.
//  - open: the encrypted file, its key derived and checked by the first read;
//  - daysTilPass: every entry's days until rewritten in one transaction, one prepared SELECT of
//    the rows and one prepared UPDATE by id, every row written (a start makes two such passes);
//  - readComingEvents: one read of every entry, keeping those within their alert days;
//  - fillList: the list's rows read joined to their event names in days-until order, into a
//    QTreeWidget with the four columns.
// No error handling beyond a false or an empty result: a floor that fails shows in the counts.

#include <QDate>
#include <QFile>
#include <QHeaderView>
#include <QIcon>
#include <QString>
#include <QStringList>
#include <QTreeWidget>

#include <sqlite3.h>

#include <array>
#include <cstdint>
#include <vector>

namespace kxfloor {

// Opens the file with its key; null when it does not open or the key does not fit.
inline sqlite3 *openKeyed(const QString &path, const char *key = "vmr")
{
    sqlite3 *db = nullptr;
    if (sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READWRITE,
                        nullptr) != SQLITE_OK) {
        sqlite3_close(db);
        return nullptr;
    }
    const QByteArray pragma = QByteArray("PRAGMA key = '") + key + "'";
    sqlite3_exec(db, pragma.constData(), nullptr, nullptr, nullptr);
    // The key is derived and checked when the first page is read.
    if (sqlite3_exec(db, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr) !=
        SQLITE_OK) {
        sqlite3_close(db);
        return nullptr;
    }
    return db;
}

// The date part of the stored text "yyyy-MM-dd HH:mm:ss"; invalid for anything else.
inline QDate storedDate(const unsigned char *text, int bytes)
{
    if (!text || bytes < 10 || text[4] != '-' || text[7] != '-')
        return {};
    auto number = [text](int from, int count) {
        int value = 0;
        for (int i = from; i < from + count; ++i)
            value = value * 10 + (text[i] - '0');
        return value;
    };
    return QDate(number(0, 4), number(5, 2), number(8, 2));
}

// Minutes since midnight of the stored time text ("... HH:mm:ss"); -1 when there is none.
inline int storedMinuteOfDay(const unsigned char *text, int bytes)
{
    if (!text || bytes < 19 || text[13] != ':')
        return -1;
    return ((text[11] - '0') * 10 + (text[12] - '0')) * 60 + (text[14] - '0') * 10 +
           (text[15] - '0');
}

// Days from `today` to the next recurrence of `date`'s month and day (29 February counts on 28
// February in a year without one); 0 past 365.
inline int daysTil(const QDate &date, const QDate &today)
{
    if (!date.isValid())
        return 0;
    auto recurrence = [&](int year) {
        const int day =
            date.month() == 2 && date.day() == 29 && !QDate::isLeapYear(year) ? 28 : date.day();
        return QDate(year, date.month(), day);
    };
    QDate next = recurrence(today.year());
    if (next < today)
        next = recurrence(today.year() + 1);
    const qint64 days = today.daysTo(next);
    return days > 365 ? 0 : static_cast<int>(days);
}

// One days-until pass; false when a statement failed.
inline bool daysTilPass(sqlite3 *db, const QDate &today)
{
    sqlite3_stmt *select = nullptr;
    sqlite3_stmt *update = nullptr;
    bool ok = sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr) == SQLITE_OK &&
              sqlite3_prepare_v2(db, "SELECT Dazez_Id, Dazez_Date, Dazez_DaysTil FROM Dazez", -1,
                                 &select, nullptr) == SQLITE_OK &&
              sqlite3_prepare_v2(db, "UPDATE Dazez SET Dazez_DaysTil = ? WHERE Dazez_Id = ?", -1,
                                 &update, nullptr) == SQLITE_OK;
    while (ok && sqlite3_step(select) == SQLITE_ROW) {
        const QDate date =
            storedDate(sqlite3_column_text(select, 1), sqlite3_column_bytes(select, 1));
        sqlite3_bind_int(update, 1, daysTil(date, today));
        sqlite3_bind_int64(update, 2, sqlite3_column_int64(select, 0));
        ok = sqlite3_step(update) == SQLITE_DONE;
        sqlite3_reset(update);
    }
    sqlite3_finalize(select);
    sqlite3_finalize(update);
    return sqlite3_exec(db, ok ? "COMMIT" : "ROLLBACK", nullptr, nullptr, nullptr) == SQLITE_OK &&
           ok;
}

// A coming event, as the notice timer needs it.
struct ComingEvent
{
    sqlite3_int64 id = 0;
    QDate date;
    int daysTil = 0;
    int minuteOfDay = -1; // of its notice; -1 for none
    QDate shownOn;        // invalid until its notice has been shown
};

// Every entry read once; those whose days until are within their alert days are kept, in the
// order of the rows.
inline std::vector<ComingEvent> readComingEvents(sqlite3 *db)
{
    std::vector<ComingEvent> coming;
    sqlite3_stmt *rows = nullptr;
    if (sqlite3_prepare_v2(db,
                           "SELECT Dazez_Id, Dazez_Date, Dazez_DaysTil, Dazez_Time, "
                           "Dazez_AlertDays FROM Dazez",
                           -1, &rows, nullptr) != SQLITE_OK)
        return coming;
    while (sqlite3_step(rows) == SQLITE_ROW) {
        if (sqlite3_column_type(rows, 2) == SQLITE_NULL ||
            sqlite3_column_type(rows, 4) == SQLITE_NULL ||
            sqlite3_column_int(rows, 2) > sqlite3_column_int(rows, 4))
            continue;
        ComingEvent event;
        event.id = sqlite3_column_int64(rows, 0);
        event.date = storedDate(sqlite3_column_text(rows, 1), sqlite3_column_bytes(rows, 1));
        event.daysTil = sqlite3_column_int(rows, 2);
        event.minuteOfDay =
            storedMinuteOfDay(sqlite3_column_text(rows, 3), sqlite3_column_bytes(rows, 3));
        coming.push_back(event);
    }
    sqlite3_finalize(rows);
    return coming;
}

// The notice tick: the positions whose notice is due in `minuteOfDay` and not yet shown today.
inline int dueNotices(const std::vector<ComingEvent> &coming, const QDate &today, int minuteOfDay)
{
    int due = 0;
    for (const ComingEvent &event : coming)
        if (event.shownOn != today && event.minuteOfDay == minuteOfDay)
            ++due;
    return due;
}

inline const std::array<const char *, 5> kEventTypes = {"birthday", "anniversary", "holiday",
                                                         "event", "reminder"};

// The entry list: cleared, its four columns set, one row per entry in ascending days until with
// the entry's name, date, event name and days until, the picture of its event type (a type
// without one takes the picture of the row before), the entry's id kept with the row. Returns
// the number of rows.
inline int fillList(sqlite3 *db, QTreeWidget &tree, const std::array<QIcon, 5> &icons)
{
    tree.clear();
    tree.setHeaderLabels({QStringLiteral("Name"), QStringLiteral("Date"), QStringLiteral("Event"),
                          QStringLiteral("Days Til")});
    const std::array<int, 4> widths = {120, 93, 83, 50};
    for (int c = 0; c < 4; ++c)
        tree.setColumnWidth(c, widths[static_cast<std::size_t>(c)]);
    sqlite3_stmt *rows = nullptr;
    if (sqlite3_prepare_v2(db,
                           "SELECT d.Dazez_Id, d.Dazez_Name, d.Dazez_Date, e.Events_EventName, "
                           "d.Dazez_DaysTil FROM Dazez d LEFT JOIN Events e "
                           "ON e.Events_Id = d.Events_Id ORDER BY d.Dazez_DaysTil ASC",
                           -1, &rows, nullptr) != SQLITE_OK)
        return 0;
    auto text = [rows](int column) {
        return QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(rows, column)),
                                 sqlite3_column_bytes(rows, column));
    };
    int picture = -1;
    int count = 0;
    while (sqlite3_step(rows) == SQLITE_ROW) {
        const QString type = text(3);
        const QString lower = type.toLower();
        for (std::size_t i = 0; i < kEventTypes.size(); ++i)
            if (lower == QLatin1String(kEventTypes[i]))
                picture = static_cast<int>(i);
        const QDate date = storedDate(sqlite3_column_text(rows, 2), sqlite3_column_bytes(rows, 2));
        auto *item = new QTreeWidgetItem(
            QStringList{text(1),
                        QString::number(date.month()) + u'/' + QString::number(date.day()) + u'/' +
                            QString::number(date.year()),
                        type, QString::number(sqlite3_column_int(rows, 4))});
        item->setData(0, Qt::UserRole, sqlite3_column_int64(rows, 0));
        if (picture >= 0)
            item->setIcon(0, icons[static_cast<std::size_t>(picture)]);
        tree.addTopLevelItem(item);
        ++count;
    }
    sqlite3_finalize(rows);
    return count;
}

// A list view like the program's: no tree decoration, one row selected at a time.
inline void setUpList(QTreeWidget &tree)
{
    tree.setRootIsDecorated(false);
    tree.setItemsExpandable(false);
    tree.setUniformRowHeights(true);
    tree.setSelectionMode(QAbstractItemView::SingleSelection);
    tree.setSelectionBehavior(QAbstractItemView::SelectRows);
    tree.setEditTriggers(QAbstractItemView::NoEditTriggers);
    tree.setAllColumnsShowFocus(true);
    tree.header()->setStretchLastSection(false);
}

} // namespace kxfloor
