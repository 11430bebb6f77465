#include "modMsg.h"

#include "ErrorProtocol.h"
#include "Globals.h"

#include "platform/services/Services.h"

using namespace platform::mb;

namespace {

int ask(const QString &prompt, int style)
{
    return platform::services().messageBox->show(prompt, style, core::kProductName);
}

} // namespace

std::int16_t msgExitingApp()
{
    core::Procedure p(QStringLiteral("modMsg.msgExitingApp"), core::ErrorVariant::Silent);
    std::int16_t result = 0;
    p([&] {
        result = static_cast<std::int16_t>(
            ask(QStringLiteral("Exiting ") + core::kProductName, vbYesNo + vbQuestion));
    });
    return result;
}

std::int16_t msgNoDbConnection()
{
    core::Procedure p(QStringLiteral("msgNoDbConnection"));
    std::int16_t result = 0;
    p([&] {
        result = static_cast<std::int16_t>(ask(
            core::kProductName +
                QStringLiteral(" is unable to find the database or you have an invalid "
                               "connection.\r\nWould you like to search for the database?"),
            vbYesNo + vbQuestion));
    });
    p([&] {
        if (result == No) {
            ask(core::kProductName + QStringLiteral(" is ending"), vbOKOnly + vbInformation);
            platform::services().program->end(0);
        }
    });
    return result;
}

bool msgDelete(const QString &argName)
{
    core::Procedure p(QStringLiteral("modMsg.msgDelete"));
    bool result = false;
    p([&] {
        result = ask(QStringLiteral("Deleting -- ") + argName, vbYesNo + vbExclamation) == Yes;
    });
    return result;
}

std::int16_t msgSaveChangedRecord()
{
    core::Procedure p(QStringLiteral("modMsg.msgSaveChangedRecord"));
    std::int16_t result = 0;
    p([&] {
        result = static_cast<std::int16_t>(
            ask(QStringLiteral("The data you have been working with has been changed. Would you "
                               "like to Save your changes before proceeding?"),
                vbYesNoCancel + vbQuestion));
    });
    return result;
}

bool msgAddNewEvent(const QString &argEventName)
{
    core::Procedure p(QStringLiteral("modMsg.msgAddNewEvent"));
    bool result = false;
    p([&] {
        result = ask(argEventName +
                         QStringLiteral(" is not currently listed as an Event.\r\n Would you like "
                                        "to add it to ") +
                         core::kProductName + QStringLiteral(" as an Event?"),
                     vbYesNo + vbQuestion) == Yes;
    });
    return result;
}

vb::Variant msgEnterEventName()
{
    core::Procedure p(QStringLiteral("modMsg.msgEnterEventName"));
    p([&] {
        ask(QStringLiteral("Please enter an Event before continuing."), vbOKOnly + vbInformation);
    });
    return vb::Variant();
}
