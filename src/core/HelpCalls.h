#pragma once

// The two ways the windows open the help file: its topics window, and one topic by its context
// through a window's common dialog. The steps run through the caller's procedure, so that each
// command keeps its own name and error variant.

#include "ErrorProtocol.h"

#include <QString>

#include <cstdint>

class QWidget;

namespace platform {
class CommonDialog;
}

namespace core {

// The help file's name in the program's folder.
inline const QString kHelpFileName = QStringLiteral("virazivuzo.hlp");
// The topic the Help menus' "Index" shows.
constexpr std::int32_t kIndexHelpContext = 5;

// The help topics window for the program's help file (gstrHelpFile), owned by `owner`.
void showHelpTopics(Procedure &p, QWidget *owner);
// The topic of `context` in the help file beside the program, through `dialog`'s help function.
void showHelpContext(Procedure &p, platform::CommonDialog *dialog, std::int32_t context);

} // namespace core
