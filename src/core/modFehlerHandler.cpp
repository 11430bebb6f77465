#include "modFehlerHandler.h"

#include "Globals.h"
#include "modDataSQL.h"

#include "platform/services/Services.h"
#include "platform/vb/RuntimeError.h"

namespace {

vb::Date now()
{
    return vb::Date::fromQDateTime(platform::services().clock->now());
}

} // namespace

vb::Variant HandleError(std::int32_t number, const QString &description,
                        const QString &procedureName)
{
    std::int16_t answer = 0;
    // Every step is guarded on its own: a log that cannot be written must not keep the user
    // from being asked, and nothing may escape to the failing procedure.
    try {
        WriteDebugLog(number, description, procedureName, now());
    } catch (...) {
    }
    try {
        const QString prompt = QStringLiteral("An error has occured: ") + QString::number(number) +
                               QStringLiteral("\r\n") + description + QStringLiteral("\r\n") +
                               procedureName;
        answer = static_cast<std::int16_t>(platform::services().messageBox->show(
            prompt, platform::mb::vbAbortRetryIgnore + platform::mb::vbCritical,
            core::kProductName));
    } catch (const vb::RuntimeError &) {
    }
    return vb::Variant(answer);
}

std::int16_t LogError(std::int32_t number, const QString &description,
                      const QString &procedureName)
{
    try {
        WriteDebugLog(number, description, procedureName, now());
    } catch (...) {
    }
    return 0;
}
