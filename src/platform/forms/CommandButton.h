#pragma once

#include "Control.h"

class QPushButton;

namespace platform {

class CommandButton : public Control
{
    Q_OBJECT
public:
    CommandButton(QWidget *parent, const QString &name, const QString &caption = QString());

    // "&" marks the accelerator letter.
    QString Caption() const;
    void setCaption(const QString &caption);
    // The window's Enter and Esc buttons (see Form.h for how they are reached).
    bool Default() const;
    void setDefault(bool isDefault);
    bool Cancel() const;
    void setCancel(bool isCancel);
    // Clicks the button as the user would (nothing when it is disabled).
    void click();

    // The caption as drawn, without its accelerator mark.
    std::optional<TextRoom> textRoom() const override;

signals:
    void Click();

private:
    QPushButton *mButton;
};

} // namespace platform
