#pragma once

// The fallback for the product page: shown modally by OpenWebsite when the shell call itself
// cannot be made. Tells the user that no connection was made and offers the product page and
// the maker's home page in two boxes to copy from. The boxes take no key (Tab still moves on)
// and select their whole text when they get the focus; their context menu is the standard one.
// Enter, OK and the close box close the window; Esc does nothing.

#include "platform/forms/ControlRef.h"
#include "platform/forms/Form.h"

namespace platform {
class CommandButton;
class Image;
class Label;
class TextBox;
} // namespace platform

class frmURL : public platform::Form
{
    Q_OBJECT
public:
    explicit frmURL(QWidget *parent = nullptr);

    static constexpr double kClientWidth = 5505;
    static constexpr double kClientHeight = 2865;

    platform::ControlRef<platform::Image> img1;
    platform::ControlRef<platform::Label> lbl1;
    platform::ControlRef<platform::Label> lbl2;
    platform::ControlRef<platform::TextBox> Txt1;
    platform::ControlRef<platform::Label> Label1;
    platform::ControlRef<platform::TextBox> Txt2;
    platform::ControlRef<platform::CommandButton> cmdOK;
    platform::ControlRef<platform::CommandButton> cmdCancel;

protected:
    void Form_Load() override;

private:
    void SetProperties();
};

// Shows a new frmURL modally and returns when it has been closed (the core's
// showWebsiteFallback hook).
void showWebsiteFallbackWindow();
