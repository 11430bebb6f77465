// The two procedures of MainCode_QW that reach outside the program: the alarm sound of a notice
// and the maker's product page in the browser.

#include "ErrorProtocol.h"
#include "Globals.h"
#include "MainCode_QW.h"
#include "StartupHooks.h"

#include "platform/forms/Form.h"
#include "platform/services/Services.h"

namespace {
constexpr unsigned kSoundAsyncNoDefault = 1 | 2;
constexpr int kShowNormal = 1;
} // namespace

void PlayAlarmSound()
{
    // Whatever fails here, the notice still comes: every step is passed over without a report.
    core::Procedure p(QStringLiteral("MainCode_QW.PlayAlarmSound"), core::ErrorVariant::Silent);
    p([&] {
        if (gudtSettings.SoundOn == 0)
            p.leave();
    });
    QString path;
    p([&] { path = core::programPath(QStringLiteral("virazivuzo.wav")); });
    p([&] {
        platform::SoundService *sound = platform::services().sound;
        if (!sound)
            vb::raise(vb::err::ObjectVariableNotSet);
        sound->play(path, kSoundAsyncNoDefault);
    });
}

void OpenWebsite(platform::Form *argOwner)
{
    // A shell result that says "no browser" is not looked at; only a call that cannot be made
    // at all falls back to the window with the addresses.
    core::Procedure p(QStringLiteral("MainCode_QW.OpenWebsite"), core::ErrorVariant::Silent);
    bool callFailed = false;
    p.setHandler([&](const vb::RuntimeError &) {
        callFailed = true;
        return core::ErrorAction::Leave;
    });
    p([&] {
        platform::ShellService *shell = platform::services().shell;
        if (!shell)
            vb::raise(vb::err::ObjectVariableNotSet);
        shell->shellExecute(argOwner, QStringLiteral("open"), kProductPageUrl, QString(),
                            QString(), kShowNormal);
    });
    if (!callFailed)
        return;
    core::Procedure fallback(QStringLiteral("MainCode_QW.OpenWebsite"),
                             core::ErrorVariant::Silent);
    fallback([] {
        if (const auto &show = core::startupHooks().showWebsiteFallback)
            show();
    });
}
