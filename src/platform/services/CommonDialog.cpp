#include "CommonDialog.h"

#include "platform/vb/RuntimeError.h"

#include <QWidget>

namespace platform {

CommonDialog::CommonDialog(QObject *parent, const QString &name) : QObject(parent)
{
    setObjectName(name);
}

FileDialogRequest CommonDialog::request() const
{
    FileDialogRequest r;
    r.title = DialogTitle;
    r.filter = Filter;
    r.fileName = FileName;
    r.initDir = InitDir;
    r.defaultExt = DefaultExt;
    r.flags = Flags;
    return r;
}

QWidget *CommonDialog::ownerWidget() const
{
    return qobject_cast<QWidget *>(parent());
}

void CommonDialog::ShowOpen()
{
    if (auto chosen = services().fileDialogs->open(request(), ownerWidget()))
        FileName = *chosen;
}

void CommonDialog::ShowSave()
{
    if (auto chosen = services().fileDialogs->save(request(), ownerWidget()))
        FileName = *chosen;
}

void CommonDialog::ShowHelp()
{
    HelpService *help = services().help;
    if (!help)
        vb::raise(vb::err::ObjectVariableNotSet);
    // The two numbers go on as the help call takes them: the command unsigned, the context as
    // its data word.
    help->winHelp(ownerWidget(), HelpFile, static_cast<std::uint16_t>(HelpCommand),
                  static_cast<std::uint32_t>(HelpContext));
}

} // namespace platform
