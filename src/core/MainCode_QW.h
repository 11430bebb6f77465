#pragma once

// Module MainCode_QW: start-up, the locate dialog, and the helpers that every window shares.
// Each procedure handles its own run-time errors (ErrorProtocol.h); none raises to its caller
// except where said.

#include <QString>

class QObject;
class QWidget;

namespace platform {
class Form;
}

// The program's entry (error-report name "Sub Main"): single instance, help path, debug log's
// system section, then the splash window, whose load runs the rest of the start-up.
void Main();

// The locate dialog on argForm's common dialog `cdlg1`. True when the chosen path names a
// "vovuriv.mdb" (any case, anywhere in the path); the choice is left in gstrDbPath in any case.
bool MakeConnectionString(platform::Form *argForm);

// Form utilities.
void CenterForm(platform::Form *argForm);
void SetStatBar(QObject *argStatusBar, const QString &argText, short argPanel);
void ClearDataFields(platform::Form *argForm);
void ClearSpecificDataFields(platform::Form *argForm, const QString &argGroup);
void ApostropheParseOut(platform::Form *argForm);

// Text-box and clipboard helpers: they work on the focused control of the active window.
void SelectAllText();
void CutTextbox();  // raises to its caller when the clipboard step fails
void CopyTextbox(); // likewise
void PasteTextbox();

// The alarm sound (only when gudtSettings.SoundOn) and the maker's product page.
void PlayAlarmSound();
void OpenWebsite(platform::Form *argOwner);

// The maker's web addresses.
inline const QString kProductPageUrl = QStringLiteral("http://www.quarnwell.example/kalendrix.htm");
inline const QString kHomePageUrl = QStringLiteral("http://www.quarnwell.example/");
