#pragma once

// The operating-system services the program uses, each behind a small interface: one Qt/Linux
// implementation (QtServices.h) and one scriptable double for the tests (tests/support). The
// program reaches them only through platform::services(), so a test can install its doubles
// before it starts anything.

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QWidget>

#include "platform/vb/RuntimeError.h"

#include <cstdint>
#include <optional>

namespace platform {

// Message box: style = buttons (0 OK, 1 OK/Cancel, 2 Abort/Retry/Ignore, 3 Yes/No/Cancel, 4 Yes/No,
// 5 Retry/Cancel) + icon (16 critical, 32 question, 48 warning, 64 information). Returns the
// button: 1 OK, 2 Cancel, 3 Abort, 4 Retry, 5 Ignore, 6 Yes, 7 No. CR LF in the prompt is a
// line break. Esc answers Cancel where there is one (2), OK on an OK box; an Abort/Retry/Ignore
// or Yes/No box cannot be closed without a button.
class MessageBoxService
{
public:
    virtual ~MessageBoxService() = default;
    virtual int show(const QString &prompt, int style, const QString &title) = 0;
};

namespace mb {
constexpr int OK = 1, Cancel = 2, Abort = 3, Retry = 4, Ignore = 5, Yes = 6, No = 7;
constexpr int vbOKOnly = 0, vbOKCancel = 1, vbAbortRetryIgnore = 2, vbYesNoCancel = 3, vbYesNo = 4,
              vbRetryCancel = 5;
constexpr int vbCritical = 16, vbQuestion = 32, vbExclamation = 48, vbInformation = 64;
} // namespace mb

// The settings of a common-dialog control, as its user sets them before ShowOpen / ShowSave.
struct FileDialogRequest
{
    QString title;
    QString filter;   // "text|pattern[|text|pattern...]"
    QString fileName; // preset file name
    QString initDir;
    QString defaultExt;
    int flags = 0;
};

// Open and save dialogs. Returns the chosen full path, or nothing when the user cancelled.
class FileDialogService
{
public:
    virtual ~FileDialogService() = default;
    virtual std::optional<QString> open(const FileDialogRequest &request, QWidget *owner) = 0;
    virtual std::optional<QString> save(const FileDialogRequest &request, QWidget *owner) = 0;
};

// The program itself: its folder (the executable's folder) and its immediate end. A test double
// points the folder at a temporary folder, and its end() throws platform::ProgramEnded so that
// nothing after it runs.
class ProgramService
{
public:
    virtual ~ProgramService() = default;
    virtual QString folder() const = 0;
    // Ends the process at once: no window's unload handling runs, no further event is processed.
    [[noreturn]] virtual void end(int exitCode = 0) = 0;
};

// Thrown by the test double of ProgramService::end(). Not a vb::RuntimeError, so no procedure's
// error protocol stops it.
struct ProgramEnded
{
    int exitCode = 0;
};

// The wall clock, local time. Nothing in the program reads the time any other way.
class Clock
{
public:
    virtual ~Clock() = default;
    virtual QDateTime now() const = 0;
};

// Sound files, played asynchronously. flags as sndPlaySound: 1 async, 2 no default sound.
// A new sound cuts off the one still playing. Returns false when nothing could be played.
class SoundService
{
public:
    virtual ~SoundService() = default;
    virtual bool play(const QString &path, unsigned flags) = 0;
};

// Shell open of a document or address. Returns a value above 32 on success, 32 or less when the
// shell could not open it (no browser, no association). Throws vb::RuntimeError only when the
// call itself cannot be made (no launcher on the system).
class ShellService
{
public:
    virtual ~ShellService() = default;
    virtual std::intptr_t shellExecute(QWidget *owner, const QString &operation,
                                       const QString &file, const QString &parameters,
                                       const QString &directory, int showCommand) = 0;
};

// Screen metrics as the runtime's Screen object gives them (twips: 1440 per logical inch).
class ScreenService
{
public:
    virtual ~ScreenService() = default;
    virtual double twipsPerPixelX() const = 0; // 15 at 96 dpi
    virtual double twipsPerPixelY() const = 0;
    virtual double widthTwips() const = 0;
    virtual double heightTwips() const = 0;
};

// Locale items by their Windows LCTYPE number, for the user's locale (0x400), and the
// computer facts. An item the system cannot supply is std::nullopt.
class SystemInfoService
{
public:
    virtual ~SystemInfoService() = default;
    virtual std::optional<QString> localeInfo(std::uint32_t lcid, std::uint32_t lctype) const = 0;
    virtual std::optional<QString> userName() const = 0;
    virtual std::optional<QString> computerName() const = 0;
    virtual std::optional<QString> windowsDirectory() const = 0;
    struct Version
    {
        std::uint32_t major = 0, minor = 0, build = 0, platformId = 0;
        QString servicePack;
    };
    virtual std::optional<Version> version() const = 0;
};

// The help viewer: the stand-in for WinHelp(owner, helpFile, command, data). The file is the
// program's help file (HelpFile.h gives its format); the viewer is one window, reused by every
// call. Commands: 15 the help topics (the contents, first topic shown), 3 and 11 likewise,
// 1 the topic whose context number is `data`, 2 closes the viewer. A file that is missing or
// cannot be read, or a context the file does not have, is told to the user in a message box;
// the call then returns false and shows no window. Any other command returns false.
class HelpService
{
public:
    virtual ~HelpService() = default;
    virtual bool winHelp(QWidget *owner, const QString &helpFile, unsigned command,
                         std::uintptr_t data) = 0;
};

namespace help {
constexpr unsigned HELP_CONTEXT = 1, HELP_QUIT = 2, HELP_CONTENTS = 3, HELP_FINDER = 11,
                   HELP_TAB = 15;
} // namespace help

// The runtime's previous-instance flag: true when another instance of the program runs from the
// same program folder, and so on the same database, whoever started it and however. The lock
// behind it dies with its process. When no lock could be taken the flag is false and
// lockFailure() says why, so that the start can go on and say so.
class InstanceService
{
public:
    virtual ~InstanceService() = default;
    virtual bool prevInstance() = 0;
    virtual std::optional<vb::RuntimeError> lockFailure() const { return std::nullopt; }
};

// The notification area (the "system tray"). Shell_NotifyIconA takes NIM_ADD, NIM_MODIFY or
// NIM_DELETE and a tray icon record in its passed form (NotifyIcon.h) and answers as the system
// does: true when done; adding an icon that is there already, or changing or removing one that
// is not, gives false. An icon is named by its record's hWnd and uID. Its mouse events come back
// to that window as posted messages (WindowMessages.h): the record's uCallbackMessage, wParam =
// uID, lParam = the mouse message (wm:: in NotifyIcon.h).
class TrayService
{
public:
    virtual ~TrayService() = default;
    virtual bool Shell_NotifyIconA(std::uint32_t message, const QByteArray &record) = 0;
    // False when the desktop shows no notification area: an icon placed then is never seen.
    virtual bool isSystemTrayAvailable() const = 0;
};

struct Services
{
    MessageBoxService *messageBox = nullptr;
    FileDialogService *fileDialogs = nullptr;
    ProgramService *program = nullptr;
    Clock *clock = nullptr;
    SoundService *sound = nullptr;
    ShellService *shell = nullptr;
    ScreenService *screen = nullptr;
    SystemInfoService *systemInfo = nullptr;
    InstanceService *instance = nullptr;
    HelpService *help = nullptr;
    TrayService *tray = nullptr;
};

// The services in force. The program installs the Qt implementations at start (QtServices.h);
// tests install their doubles.
Services &services();
void installServices(const Services &s);

} // namespace platform
