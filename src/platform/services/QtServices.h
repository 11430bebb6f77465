#pragma once

// The Qt/Linux implementations of the operating-system services (Services.h). The program calls
// installQtServices() once at start; tests install their doubles instead and use the classes
// here only to check the implementations themselves.

#include "NotifyIcon.h"
#include "Services.h"
#include "TrayMouseMessages.h"

#include <QStringList>

#include <map>
#include <memory>
#include <utility>

class QSoundEffect;
class QSystemTrayIcon;

namespace vb {
struct LocalePictures;
}

namespace platform {

// Creates the Qt implementations once (they live until the process ends) and installs them.
// Calling it again installs the same objects again. `productName` titles the boxes that a
// service shows itself (the help viewer's); it is taken on the first call.
void installQtServices(const QString &productName);

// Makes a write past the process's file-size limit (ulimit -f) a failed write, which its writer
// reports as it reports a full disk, instead of the end of the process by SIGXFSZ. For the
// program's start, once.
void ignoreFileSizeLimitSignal();

// A QMessageBox, application-modal. Boxes whose button set has no Cancel and more than one
// button (Abort/Retry/Ignore, Yes/No) have no close box and ignore Esc, so they are answered
// only by a button; elsewhere Esc and the close box answer Cancel, or OK on an OK box.
class QtMessageBox : public MessageBoxService
{
public:
    int show(const QString &prompt, int style, const QString &title) override;
};

// "text|pattern|text|pattern" as Qt name filters: "*.mdb|*.mdb" -> "*.mdb (*.mdb)". Patterns
// separated by ';' become space-separated; an unpaired trailing text is dropped.
QStringList qtNameFilters(const QString &filter);

// QFileDialog (Qt's own dialog, not the desktop's). Open accepts only an existing file; save
// does not ask about overwriting, the caller overwrites. Names match without regard to case.
// Each chooses one file: a typed name is that file's name exactly, double quotes included (the
// toolkit would read them as marks around several names).
class QtFileDialogs : public FileDialogService
{
public:
    std::optional<QString> open(const FileDialogRequest &request, QWidget *owner) override;
    std::optional<QString> save(const FileDialogRequest &request, QWidget *owner) override;
};

// folder(): the executable's folder. end(): flushes stdio and leaves the process at once.
class QtProgram : public ProgramService
{
public:
    QString folder() const override;
    [[noreturn]] void end(int exitCode = 0) override;
};

class QtClock : public Clock
{
public:
    QDateTime now() const override;
};

// One QSoundEffect, made on the first play and kept for the process's life. Every call stops
// the sound still playing; a file that does not exist plays nothing (there is no default
// sound) and gives false. Playing is always asynchronous, whatever the flags say.
class QtSound : public SoundService
{
public:
    QtSound();
    ~QtSound() override;
    bool play(const QString &path, unsigned flags) override;
    // The effect, or null before the first play (tests).
    const QSoundEffect *effect() const { return mEffect.get(); }

private:
    std::unique_ptr<QSoundEffect> mEffect;
};

// QDesktopServices::openUrl for "open". Without a desktop launcher (xdg-open) the call cannot be
// made at all: vb::RuntimeError 53 "File not found: shell32". Otherwise 42 when the launcher
// took the address, 2 (file not found) when it did not, 31 (no association) for any other
// operation than "open".
class QtShell : public ShellService
{
public:
    std::intptr_t shellExecute(QWidget *owner, const QString &operation, const QString &file,
                               const QString &parameters, const QString &directory,
                               int showCommand) override;
};

// The primary screen: twips per pixel = 1440 / logical dots per inch. Without a screen: 15
// twips per pixel and a size of 0.
class QtScreen : public ScreenService
{
public:
    double twipsPerPixelX() const override;
    double twipsPerPixelY() const override;
    double widthTwips() const override;
    double heightTwips() const override;
};

// The locale item `lctype` for the given pictures' locale, as Windows answers it (LocaleTypes.h
// lists the items); nothing when no source on this system supplies it. The date and time
// pictures are the pictures' own, so every part of the program shows the same formats.
std::optional<QString> localeItem(const vb::LocalePictures &pictures, std::uint32_t lctype);

// The Windows version record as this system fills it: major, minor and build are the first
// three numbers of the kernel release ("6.1.0-18-amd64" -> 6, 1, 0; a missing number is 0),
// platformId is 2 (the NT family), servicePack is PRETTY_NAME of os-release (at most 127
// characters, empty when absent). Nothing when the release does not start with a number.
std::optional<SystemInfoService::Version> versionFromRelease(const QString &kernelRelease,
                                                             const QString &osReleaseText);

// Locale items for the user's locale (vb::userPictures(); LCID 0x400 or 0x800, anything else
// gives nothing); the login name; the host name; "/" as the Windows directory (the system's
// root; nothing in the program reads it); the version from uname and /etc/os-release.
class QtSystemInfo : public SystemInfoService
{
public:
    std::optional<QString> localeInfo(std::uint32_t lcid, std::uint32_t lctype) const override;
    std::optional<QString> userName() const override;
    std::optional<QString> computerName() const override;
    std::optional<QString> windowsDirectory() const override;
    std::optional<Version> version() const override;
};

class HelpWindow;

// The help viewer on one HelpWindow, made on the first topic shown and reused. Every call reads
// the file afresh. Its boxes (style 48, OK) go through the message-box service, titled
// `boxTitle`: a missing file, a file that cannot be read, one without topics, and a context
// number the file does not have.
class QtHelp : public HelpService
{
public:
    explicit QtHelp(QString boxTitle);
    ~QtHelp() override;
    QtHelp(const QtHelp &) = delete;
    QtHelp &operator=(const QtHelp &) = delete;

    bool winHelp(QWidget *owner, const QString &helpFile, unsigned command,
                 std::uintptr_t data) override;

    // The window, or null before the first topic was shown (tests, pictures).
    HelpWindow *window() const;

private:
    void tell(const QString &text) const;

    QString mBoxTitle;
    HelpWindow *mWindow = nullptr;
};

// The lock file beside the database: kalendrix.lock in the program folder.
QString instanceLockPath(const QString &programFolder);

// An exclusive flock on the lock file, taken when the object is made and held (fd open) until
// it is destroyed or the process ends. prevInstance() is true when another holder - another
// process, or another open of the same file - had the lock at that moment. The file is made
// when missing and opened for reading only, which is all a lock needs: a lock file that another
// user made, or one in a folder that has since become read-only, still serves. When the file
// can neither be opened nor made, or the lock cannot be taken, there is no previous instance
// and lockFailure() holds the reason (70 for a folder or file without access, 75 otherwise),
// with the path and the system's text.
class QtInstance : public InstanceService
{
public:
    explicit QtInstance(const QString &lockPath = instanceLockPath(QtProgram().folder()));
    ~QtInstance() override;
    QtInstance(const QtInstance &) = delete;
    QtInstance &operator=(const QtInstance &) = delete;

    bool prevInstance() override { return mPrevInstance; }
    std::optional<vb::RuntimeError> lockFailure() const override { return mFailure; }

private:
    int mFd = -1;
    bool mPrevInstance = false;
    std::optional<vb::RuntimeError> mFailure;
};

// QSystemTrayIcon, one per placed icon, keyed by the record's hWnd and uID. NIM_ADD makes and
// shows it (the picture of hIcon, else the application's window icon; the tip as its tool tip)
// and fails when there is no notification area; NIM_MODIFY changes the fields its uFlags name;
// NIM_DELETE removes it. Clicks come back to the record's window as posted messages when the
// record has NIF_MESSAGE (TrayMouseMessages.h gives the sequences), timed by the program's clock.
// The icon has no menu of its own: the window shows its menu on the right button's message.
class QtTray : public TrayService
{
public:
    QtTray();
    ~QtTray() override;
    bool Shell_NotifyIconA(std::uint32_t message, const QByteArray &record) override;
    bool isSystemTrayAvailable() const override;
    // The icon placed for the window and id, or nullptr (tests).
    QSystemTrayIcon *icon(std::int32_t hWnd, std::int32_t uID) const;

private:
    struct Placed;
    void apply(Placed &placed, const NOTIFYICONDATA &record);
    void clicked(std::pair<std::int32_t, std::int32_t> key, int reason);
    std::map<std::pair<std::int32_t, std::int32_t>, std::unique_ptr<Placed>> mIcons;
};

} // namespace platform
