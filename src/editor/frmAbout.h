#pragma once

// The about window, shown modally by the main window's and the editor's About commands
// (showAboutWindow). It shows the product, its version and copyright, the maker with its
// address and contact lines, and the name the user is logged in under, and turns the maker's
// logo: Timer1 shows the next of the 30 frames every 75 ms. A double-click on the logo or on
// any lbl1 label stops the logo and opens the maker's home page through the shell; the window
// stays open. OK, Esc (OK is the cancel button) and the close box close it.
//
// A new window is made for every showing, so the frame counter starts at 0 each time.

#include "platform/forms/ControlRef.h"
#include "platform/forms/Form.h"

#include <array>
#include <cstdint>

class QTimer;

namespace platform {
class CommandButton;
class Image;
class Label;
class PictureBox;
class StatusBar;
} // namespace platform

class frmAbout : public platform::Form
{
    Q_OBJECT
public:
    explicit frmAbout(QWidget *parent = nullptr);

    static constexpr double kClientWidth = 5490;
    static constexpr double kClientHeight = 3630;
    static constexpr int kLogoFrames = 30;

    // True from the window's load to its unload.
    bool mblnIsRunning = false;

    // lbl1 is a control array as the design numbers it: 0 and 1 the shadowed product name, 2 and
    // 3 the shadowed maker name, 4 the home page address, 5 and 8 the contact lines. Indexes 6
    // and 7 are not in the design.
    std::array<platform::Label *, 9> lbl1{};
    // 1 the version, 0 the copyright.
    std::array<platform::Label *, 2> lblCopyright{};
    platform::ControlRef<platform::Label> lblUser;
    platform::ControlRef<platform::PictureBox> pic1;
    std::array<platform::Image *, kLogoFrames> imgLogo{};
    platform::ControlRef<platform::CommandButton> cmdOK;
    platform::ControlRef<platform::Image> img1;
    platform::ControlRef<platform::StatusBar> statBar1;
    QTimer *Timer1 = nullptr;

    // The frame counter: 0 before the first tick, then 1 to 30; pic1 shows frame counter - 1.
    std::int16_t frameCounter() const { return mFrameCounter; }

    void NameUser();
    void Timer1_Timer();
    void pic1_DblClick();

protected:
    void Form_Load() override;
    void Form_Unload(int &cancel) override;
    void paintEvent(QPaintEvent *event) override;

private:
    std::int16_t mFrameCounter = 0;
};

// Shows a new frmAbout modally and returns when it has been closed (the core's showAbout hook).
void showAboutWindow();
