#include "HelpCalls.h"

#include "Globals.h"

#include "platform/services/CommonDialog.h"
#include "platform/services/Services.h"

namespace core {

namespace {
// The dialog's help command that shows the topic of its help context.
constexpr std::int16_t kHelpShowContext = 1;
} // namespace

void showHelpTopics(Procedure &p, QWidget *owner)
{
    p([&] {
        object(platform::services().help).winHelp(owner, gstrHelpFile, platform::help::HELP_TAB, 0);
    });
}

void showHelpContext(Procedure &p, platform::CommonDialog *dialog, std::int32_t context)
{
    p([&] { object(dialog).HelpFile = programPath(kHelpFileName); });
    p([&] { object(dialog).HelpContext = context; });
    p([&] { object(dialog).HelpCommand = kHelpShowContext; });
    p([&] { object(dialog).ShowHelp(); });
}

} // namespace core
