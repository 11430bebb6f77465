#include "modDataSQL.h"

#include "ErrorProtocol.h"
#include "Globals.h"
#include "cDAO.h"

#include "platform/vb/Conversions.h"

#include <QFile>

namespace {

// 0 until this run has written its first entry; then 1 for the rest of the run.
std::int16_t gintDebugLogRun = 0;

QString headerLine()
{
    return core::kProductName + QStringLiteral(" Version: ") + QString::number(core::kVersionMajor) +
           QLatin1Char('.') + QString::number(core::kVersionMinor) + QLatin1Char('.') +
           QString::number(core::kVersionRevision);
}

} // namespace

namespace core {
void resetDebugLogRunFlag()
{
    gintDebugLogRun = 0;
}
} // namespace core

void WriteDebugLog(std::int32_t number, const QString &text, const QString &description,
                   vb::Date timeStamp, const vb::Variant &extra)
{
    core::Procedure p(QStringLiteral("WriteDebugLog"), core::ErrorVariant::Silent);
    QString path;
    QFile file;
    const bool firstOfRun = gintDebugLogRun == 0;

    const auto writeLine = [&file](const QString &line) {
        const QByteArray bytes = (line + QStringLiteral("\r\n")).toLocal8Bit();
        if (!file.isOpen() || file.write(bytes) != bytes.size())
            vb::raise(vb::err::PathFileAccessError);
    };

    p([&] { path = core::programPath(QStringLiteral("DebugLog.TXT")); });
    p([&] {
        if (firstOfRun && QFile::exists(path) && !QFile::remove(path))
            vb::raise(vb::err::PermissionDenied);
    });
    p([&] {
        file.setFileName(path);
        if (!file.open(QIODevice::Append))
            vb::raise(vb::err::PathFileAccessError);
    });
    p([&] { writeLine(text); });
    p([&] {
        if (firstOfRun)
            writeLine(headerLine());
    });
    p([&] {
        if (number > 0)
            writeLine(QStringLiteral("Number: ") + QString::number(number));
    });
    p([&] {
        if (!description.isEmpty())
            writeLine(QStringLiteral("Description: ") + description);
    });
    p([&] {
        if (timeStamp.serial() != 0.0)
            writeLine(vb::dateToText(timeStamp));
    });
    p([&] {
        if (!extra.isEmpty() && !(extra.get<QString>() && extra.get<QString>()->isEmpty()))
            writeLine(QLatin1Char(' ') + vb::CStr(extra));
    });
    p([&] { writeLine(QString()); });
    p([&] { file.close(); });
    gintDebugLogRun = 1;
}

std::int32_t ReturnId(const QString &argTable, const QString &argWhereColumn,
                      const QString &argWhereValue, const QString &argIdColumn)
{
    core::Procedure p(QStringLiteral("ReturnId"));
    std::int32_t result = 0;
    cDAO dao;
    QString statement;
    int count = 0;
    p([&] {
        QString value = argWhereValue;
        value.replace(QLatin1Char('\''), QStringLiteral("''"));
        statement = QStringLiteral("SELECT * FROM ") + argTable + QStringLiteral(" WHERE ") +
                    argWhereColumn + QStringLiteral(" = ") + QLatin1Char('\'') + value +
                    QLatin1Char('\'');
    });
    p([&] { count = dao.RSReadFrom(statement); });
    p([&] {
        result = count > 0 ? vb::CLng(core::sharedRecordset().Field(argIdColumn)) : -1;
    });
    p([&] { core::closeSharedRecordset(); });
    return result;
}

QString ReturnString(const QString &argTable, const QString &argReturnColumn,
                     const QString &argWhereColumn, std::int32_t argId)
{
    core::Procedure p(QStringLiteral("ReturnString"));
    QString result;
    cDAO dao;
    QString statement;
    int count = 0;
    p([&] {
        statement = QStringLiteral("SELECT ") + argReturnColumn + QStringLiteral(" FROM ") +
                    argTable + QStringLiteral(" WHERE ") + argWhereColumn + QStringLiteral(" = ") +
                    QString::number(argId);
    });
    p([&] { count = dao.RSReadFrom(statement); });
    p([&] {
        if (count > 0)
            result = vb::CStr(core::sharedRecordset().Field(argReturnColumn));
    });
    p([&] { core::closeSharedRecordset(); });
    return result;
}
