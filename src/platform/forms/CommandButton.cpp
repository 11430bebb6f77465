#include "CommandButton.h"

#include "ControlSupport.h"

#include "Form.h"

#include <QPushButton>

namespace platform {

using namespace detail;

namespace {

// A button's caption as it is drawn: "&" marks the accelerator, "&&" stands for "&".
QString withoutAccelerator(const QString &caption)
{
    QString shown;
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption.at(i) == QLatin1Char('&') && i + 1 < caption.size())
            ++i;
        else if (caption.at(i) == QLatin1Char('&'))
            continue;
        shown.append(caption.at(i));
    }
    return shown;
}

} // namespace

CommandButton::CommandButton(QWidget *parent, const QString &name, const QString &caption)
    : Control(ControlKind::CommandButton, parent, name), mButton(new QPushButton(caption, this))
{
    mButton->setAutoDefault(false);
    connect(mButton, &QPushButton::clicked, this, [this] { emit Click(); });
    setInner(mButton);
}

QString CommandButton::Caption() const
{
    return mButton->text();
}

void CommandButton::setCaption(const QString &caption)
{
    mButton->setText(caption);
}

bool CommandButton::Default() const
{
    return form() && form()->defaultButton() == this;
}

void CommandButton::setDefault(bool isDefault)
{
    mButton->setDefault(isDefault);
    if (!form())
        return;
    if (isDefault)
        form()->setDefaultButton(this);
    else if (Default())
        form()->setDefaultButton(nullptr);
}

bool CommandButton::Cancel() const
{
    return form() && form()->cancelButton() == this;
}

void CommandButton::setCancel(bool isCancel)
{
    if (!form())
        return;
    if (isCancel)
        form()->setCancelButton(this);
    else if (Cancel())
        form()->setCancelButton(nullptr);
}

void CommandButton::click()
{
    // QAbstractButton::click works on a hidden button too, and does nothing when disabled.
    mButton->click();
}

std::optional<TextRoom> CommandButton::textRoom() const
{
    return TextRoom{{withoutAccelerator(Caption())},
                    buttonTextRoom(mButton, size(), QStyle::SE_PushButtonContents),
                    mButton->font(),
                    false};
}

} // namespace platform
