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
        if (rs->RecordCount() > 0)
            result = rs->Field(QStringLiteral("Events_EventName"));
    });
    p([&] {
        if (rs)
            rs->Close();
        rs.reset();
    });
    return result;
}
