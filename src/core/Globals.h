#pragma once

// The program's shared state, module-level as the rest of the program expects it. Owned by the
// application core; tests reset it with resetGlobals().

#include "platform/jet/Jet.h"
#include "platform/vb/Date.h"
#include "platform/vb/Variant.h"

#include <QString>

#include <cstdint>
#include <memory>

// The in-memory copy of the single Settings row. Check values are 0 or 1; every field is 0 when
// the table has no row.
struct udtSettings
{
    std::int32_t FormLeft = 0;
    std::int32_t FormTop = 0;
    std::int32_t DefaultEvent = 0;
    std::int16_t DefaultAlertDays = 0;
    vb::Date DefaultDisplayTime;
    std::int16_t StartInTray = 0;
    std::int16_t ShowEventsAtStart = 0;
    std::int32_t LastRecordViewed = 0;
    std::int16_t Tab = 0;
    std::int16_t TimerOn = 0;
    std::int16_t SoundOn = 0;
};

// Facts gathered at start-up, and the day the upcoming-event lists were last built.
struct udtAppInfo
{
    QString LanguageName;
    QString LanguageEnglishName;
    QString CountryEnglishName;
    QString ShortDateFormat;
    QString IntlMonetarySymbol;
    vb::Variant UpcomingBuiltDate; // Empty until the first build
};

extern std::shared_ptr<jet::Workspace> gwsMain;
extern std::shared_ptr<jet::Database> gdbMain;
extern QString gstrDbPath;
extern std::shared_ptr<jet::Recordset> grsShared;
extern udtSettings gudtSettings;
extern udtAppInfo gudtAppInfo;
extern QString gstrEnabledColor; // decimal text of a colour number, from the splash window
extern QString gstrVersion;
extern QString gstrHelpFile; // the runtime's help-file path (App.HelpFile)

namespace core {

// The product's name as message boxes and captions show it, and the program's version.
inline const QString kProductName = QStringLiteral("Almanoria");
inline const QString kMakerName = QStringLiteral("Quarnwell");
constexpr int kVersionMajor = 2;
constexpr int kVersionMinor = 12;
constexpr int kVersionRevision = 11;
inline const QString kDatabaseFileName = QStringLiteral("vovuriv.mdb");
inline const QString kConnectText = QStringLiteral("MS Access;pwd=vmr;");

// The program's folder joined with a file name by the native separator ("\name" in the
// program's own terms).
QString programPath(const QString &fileName);

// The open database and the shared recordset; raise 91 (object variable not set) when there is
// none, as using an unset object variable does (object() in ErrorProtocol.h). Steps reach them
// only through these, never through gdbMain-> or grsShared->: after an ignored failure there may
// be none.
jet::Database &db();
jet::Recordset &sharedRecordset();
// Closes a recordset when it is open and sets it to nothing; no error when there is none.
void closeRecordset(std::shared_ptr<jet::Recordset> &recordset);
void closeSharedRecordset();

// Puts every global back to its start-up value (tests).
void resetGlobals();

} // namespace core
