#pragma once

// The start-up window. Main shows it modeless; its load opens the database (offering the locate
// dialog and the end of the program when there is none), loads the settings record, has every
// entry's days until recomputed, loads the main window and unloads the splash again, all inside
// that one Show. Nothing outside the window calls its procedures.

#include "platform/forms/ControlRef.h"
#include "platform/forms/Form.h"

#include <cstdint>

namespace platform {
class CommonDialog;
class Image;
class Label;
class PictureBox;
class TextBox;
} // namespace platform

class frmSplash : public platform::Form
{
    Q_OBJECT
public:
    explicit frmSplash(QWidget *parent = nullptr);

    // The program's copyright notice, as its version information carries it.
    static const QString kCopyright;
    // The program's picture (img1), which the about window shows too.
    static QIcon programPicture();

    platform::ControlRef<platform::PictureBox> img1;
    platform::ControlRef<platform::Image> imgLogo;
    platform::ControlRef<platform::Label> lblProductName[2];
    platform::ControlRef<platform::Label> lblVersion;
    platform::ControlRef<platform::Label> lblCopyright;
    platform::ControlRef<platform::Label> lblCompany;
    platform::ControlRef<platform::Label> lblQW;
    platform::ControlRef<platform::Label> lblWarning;
    // Never shown: only its background colour, the system's window background, is read
    // (gstrEnabledColor).
    platform::ControlRef<platform::TextBox> txtEnabledColor;
    platform::ControlRef<platform::CommonDialog> cdlg1;

    // Shows the ending box for argReason (1: no database connection) and ends the program.
    void msgEndingApp(std::int16_t argReason);
    // Loads gudtSettings from the first row of table Settings; no row leaves every field 0.
    void FillAppUdts();
    // Opens gstrDbPath (rebuilt as the program folder's vovuriv.mdb), offering the locate dialog
    // until a database is open or the user ends the program. argConnected is false only when
    // the procedure was left through its own error dialog.
    void GetDatabaseConnection(bool &argConnected);
    void SetFormProperties();

protected:
    // Runs the rest of the start-up. It has no handler of its own: a run-time error goes on to
    // Main's, under "Sub Main".
    void Form_Load() override;
};
