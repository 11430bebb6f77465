#include "MainCode_QW.h"

#include "ErrorProtocol.h"
#include "Globals.h"
#include "HelpCalls.h"
#include "cLocalSettings.h"
#include "frmSplash.h"
#include "modFehlerHandler.h"

#include "platform/services/Services.h"
#include "platform/vb/Conversions.h"

#include <QPointer>

#include <memory>

void Main()
{
    core::Procedure p(QStringLiteral("Sub Main"));
    // The splash unloads itself at the end of its own load, so showing it always ends in 364:
    // that is the normal way out of start-up, not an error.
    p.setHandler([](const vb::RuntimeError &e) {
        return e.number() == vb::err::FormUnloaded ? core::ErrorAction::Resume
                                                   : core::ErrorAction::Default;
    });
    std::unique_ptr<cLocalSettings> settings;
    p([&] { settings = std::make_unique<cLocalSettings>(); });
    p([&] {
        // A second instance leaves before it touches anything, the debug log included.
        if (platform::services().instance->prevInstance())
            platform::services().program->end(0);
    });
    p([&] { gudtAppInfo.LanguageName = core::object(settings).prpLocalLanguageName(); });
    p([&] {
        gudtAppInfo.LanguageEnglishName =
            vb::CStr(core::object(settings).prpLocalLanguageEnglishName());
    });
    p([&] { gstrHelpFile = core::programPath(core::kHelpFileName); });
    p([&] {
        gstrVersion = QStringLiteral("version ") + QString::number(core::kVersionMajor) +
                      QLatin1Char('.') + QString::number(core::kVersionMinor);
    });
    p([] { WriteSystemData(); });
    p([] {
        // Without its lock the start is not guarded against another on the same database; a
        // folder that takes no lock file most likely takes no database writes either, so the
        // start goes on and the log tells why the check was not made.
        if (const auto failure = platform::services().instance->lockFailure())
            LogError(failure->number(),
                     failure->description() + QStringLiteral("; started without the check"),
                     QStringLiteral("Sub Main"));
    });
    p([&] { settings.reset(); });
    QPointer<frmSplash> splash;
    p([&] { splash = new frmSplash; });
    p([&] {
        core::object(splash).Show();
        if (!splash || splash->isUnloaded())
            vb::raise(vb::err::FormUnloaded);
    });
}
