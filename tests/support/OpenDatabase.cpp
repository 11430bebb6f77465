#include "OpenDatabase.h"

#include "platform/vb/Conversions.h"

#include <QFile>

namespace kxtest {

std::int32_t OpenDatabaseTest::addEntry(const QString &name, const QString &isoDate, int eventId,
                                        int alertDays, const QString &isoTime,
                                        const QString &notes)
{
    auto rs = gdbMain->OpenRecordset(QStringLiteral("SELECT * FROM Dazez WHERE Dazez_Id = -1"),
                                     jet::dbOpenDynaset);
    rs->AddNew();
    rs->SetField(QStringLiteral("Dazez_Name"), name);
    rs->SetField(QStringLiteral("Dazez_Date"), vb::textToDate(isoDate));
    rs->SetField(QStringLiteral("Dazez_Time"),
                 vb::textToDate(QStringLiteral("1899-12-30 ") + isoTime));
    rs->SetField(QStringLiteral("Events_Id"), std::int32_t(eventId));
    rs->SetField(QStringLiteral("Dazez_AlertDays"), std::int16_t(alertDays));
    rs->SetField(QStringLiteral("Dazez_Notes"), notes);
    rs->SetField(QStringLiteral("Dazez_DaysTil"), std::int16_t(0));
    rs->Update();
    rs->MoveFirst();
    rs->MoveLast();
    const auto id = vb::CLng(rs->Field(QStringLiteral("Dazez_Id")));
    rs->Close();
    return id;
}

QString OpenDatabaseTest::debugLog() const
{
    QFile f(platform.programFolder() + QStringLiteral("/DebugLog.TXT"));
    if (!f.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromLocal8Bit(f.readAll());
}

QStringList OpenDatabaseTest::loggedProcedures(int number) const
{
    // An entry: the error's text, "Number: n", "Description: " and the procedure's name, its
    // time, a blank line.
    QStringList names;
    const QString numberLine = QStringLiteral("Number: ") + QString::number(number);
    const QString nameLine = QStringLiteral("Description: ");
    for (const QString &entry : debugLog().split(QStringLiteral("\r\n\r\n"))) {
        const QStringList lines = entry.split(QStringLiteral("\r\n"));
        if (!lines.contains(numberLine))
            continue;
        for (const QString &line : lines)
            if (line.startsWith(nameLine))
                names << line.mid(nameLine.size());
    }
    return names;
}

} // namespace kxtest
