#pragma once

#include "Services.h"

#include <QObject>
#include <QString>

#include <cstdint>

namespace platform {

// The common-dialog control a window carries (`cdlg1`): its user sets the properties, then calls
// ShowOpen or ShowSave. A cancelled dialog raises nothing and leaves FileName as it was preset;
// a confirmed one leaves the chosen full path in FileName. ShowHelp hands HelpFile, HelpCommand
// and HelpContext to the help viewer (HelpService), with the carrying window as owner.
class CommonDialog : public QObject
{
    Q_OBJECT
public:
    explicit CommonDialog(QObject *parent = nullptr, const QString &name = QStringLiteral("cdlg1"));

    QString FileName;
    QString DialogTitle;
    QString Filter;
    QString InitDir;
    QString DefaultExt;
    int Flags = 0;
    QString HelpFile;
    std::int32_t HelpContext = 0;
    std::int16_t HelpCommand = 0;

    void ShowOpen();
    void ShowSave();
    void ShowHelp();

private:
    FileDialogRequest request() const;
    QWidget *ownerWidget() const;
};

} // namespace platform
