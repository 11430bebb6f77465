#include "mod_VOVuriv.h"

#include "ErrorProtocol.h"
#include "Globals.h"

vb::Variant GetEventName(std::int32_t argEventId)
{
    core::Procedure p(QStringLiteral("frmDazez.GetEventName"));
    vb::Variant result;
    std::shared_ptr<jet::Recordset> rs;
    QString statement;
    p([&] {
        statement = QStringLiteral("SELECT Events_EventName FROM Events WHERE Events_Id = ") +
                    QString::number(argEventId);
    });
    p([&] { rs = core::db().OpenRecordset(statement, jet::dbOpenSnapshot); });
    p([&] {
        const jet::Recordset &own = core::object(rs);
        if (own.RecordCount() > 0)
            result = own.Field(QStringLiteral("Events_EventName"));
    });
    p([&] { core::closeRecordset(rs); });
    return result;
}
