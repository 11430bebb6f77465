#include "Globals.h"

#include "ErrorProtocol.h"
#include "modDataSQL.h"

#include "platform/services/Services.h"
#include "platform/vb/RuntimeError.h"

#include <QDir>

std::shared_ptr<jet::Workspace> gwsMain;
std::shared_ptr<jet::Database> gdbMain;
QString gstrDbPath;
std::shared_ptr<jet::Recordset> grsShared;
udtSettings gudtSettings;
udtAppInfo gudtAppInfo;
QString gstrEnabledColor;
QString gstrVersion;
QString gstrHelpFile;

namespace core {

QString programPath(const QString &fileName)
{
    // The separator is always inserted, whatever the folder ends with: the program's own rule.
    return QDir::toNativeSeparators(platform::services().program->folder()) + QDir::separator() +
           fileName;
}

jet::Database &db()
{
    return object(gdbMain);
}

jet::Recordset &sharedRecordset()
{
    return object(grsShared);
}

void closeRecordset(std::shared_ptr<jet::Recordset> &recordset)
{
    if (recordset && recordset->isOpen())
        recordset->Close();
    recordset.reset();
}

void closeSharedRecordset()
{
    closeRecordset(grsShared);
}

void resetGlobals()
{
    grsShared.reset();
    gdbMain.reset();
    gwsMain.reset();
    gstrDbPath.clear();
    gudtSettings = udtSettings{};
    gudtAppInfo = udtAppInfo{};
    gstrEnabledColor.clear();
    gstrVersion.clear();
    gstrHelpFile.clear();
    resetDebugLogRunFlag();
}

} // namespace core
