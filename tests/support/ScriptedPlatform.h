#pragma once

// Scriptable, recording doubles of every operating-system service, and the fixture that installs
// them. A test scripts the answers of the boxes and dialogs it expects before it starts the code
// under test, then reads what was asked. A box or dialog nobody expected fails the test and is
// answered so that the code under test leaves its loops.

#include "platform/forms/Menu.h"
#include "platform/services/NotifyIcon.h"
#include "platform/services/Services.h"
#include "platform/vb/RuntimeError.h"

#include <QStringList>
#include <QTemporaryDir>

#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <vector>

namespace kxtest {

struct MessageBoxCall
{
    QString prompt;
    int style = 0;
    QString title;
};

class ScriptedMessageBox : public platform::MessageBoxService
{
public:
    // The answer to the next box; with `promptContains`, that box's prompt must contain it.
    // `meanwhile` runs while the box is up, before it is answered: what the user or the desktop
    // does behind a modal box.
    void expect(int answer, const QString &promptContains = {},
                std::function<void()> meanwhile = {});
    int show(const QString &prompt, int style, const QString &title) override;

    // Answers every box with `answer` once the expected answers are used up, none of them
    // counted as unexpected (a fault that may bring many boxes, each answered alike).
    void answerEveryBox(int answer) { mEveryAnswer = answer; }
    // Keeps each box open for `ms` before it answers, running the event loop meanwhile as a
    // real modal box does: timers fire and posted events run behind it.
    void keepOpenFor(int ms) { mOpenMs = ms; }

    const std::vector<MessageBoxCall> &calls() const { return mCalls; }
    std::size_t pendingAnswers() const { return mAnswers.size(); }

    // The answer given to a box nobody expected: Abort, No, Cancel or OK by its buttons.
    static int unexpectedAnswer(int style);

private:
    struct Answer
    {
        int answer;
        QString promptContains;
        std::function<void()> meanwhile;
    };
    std::deque<Answer> mAnswers;
    std::vector<MessageBoxCall> mCalls;
    std::optional<int> mEveryAnswer;
    int mOpenMs = 0;
};

struct FileDialogCall
{
    platform::FileDialogRequest request;
    bool open = false; // false: save dialog
    QWidget *owner = nullptr;
};

class ScriptedFileDialogs : public platform::FileDialogService
{
public:
    // `meanwhile` runs while the dialog is up, before it is answered.
    void expectPath(const QString &path, std::function<void()> meanwhile = {})
    {
        mAnswers.push_back({path, std::move(meanwhile)});
    }
    void expectCancel(std::function<void()> meanwhile = {})
    {
        mAnswers.push_back({std::nullopt, std::move(meanwhile)});
    }

    std::optional<QString> open(const platform::FileDialogRequest &request,
                                QWidget *owner) override;
    std::optional<QString> save(const platform::FileDialogRequest &request,
                                QWidget *owner) override;

    const std::vector<FileDialogCall> &calls() const { return mCalls; }
    std::size_t pendingAnswers() const { return mAnswers.size(); }

private:
    std::optional<QString> answer(const platform::FileDialogRequest &request, QWidget *owner,
                                  bool open);
    struct Answer
    {
        std::optional<QString> path; // nothing: cancelled
        std::function<void()> meanwhile;
    };
    std::deque<Answer> mAnswers;
    std::vector<FileDialogCall> mCalls;
};

// end() records the code and throws platform::ProgramEnded, so nothing after it runs.
class FakeProgram : public platform::ProgramService
{
public:
    QString folderPath;
    std::optional<int> endedWith;

    QString folder() const override { return folderPath; }
    [[noreturn]] void end(int exitCode = 0) override;
};

// Stands still unless a test moves it. Starts at 2026-12-10 10:00:00 local time.
class FixedClock : public platform::Clock
{
public:
    FixedClock();
    QDateTime now() const override { return mNow; }
    void set(const QDateTime &now) { mNow = now; }
    void advanceSecs(qint64 secs) { mNow = mNow.addSecs(secs); }
    void advanceDays(qint64 days) { mNow = mNow.addDays(days); }

private:
    QDateTime mNow;
};

struct SoundCall
{
    QString path;
    unsigned flags = 0;
};

// Plays nothing; answers whether the file exists, as the real service does.
class RecordingSound : public platform::SoundService
{
public:
    bool play(const QString &path, unsigned flags) override;
    std::vector<SoundCall> calls;
};

struct ShellCall
{
    QWidget *owner = nullptr;
    QString operation, file, parameters, directory;
    int showCommand = 0;
};

// Answers 42 (success) unless a test sets another result, or an error to raise.
class FakeShell : public platform::ShellService
{
public:
    std::intptr_t result = 42;
    std::optional<vb::RuntimeError> error;
    std::vector<ShellCall> calls;

    std::intptr_t shellExecute(QWidget *owner, const QString &operation, const QString &file,
                               const QString &parameters, const QString &directory,
                               int showCommand) override;
};

// 15 twips per pixel, 1024 x 768 pixels, unless a test sets others.
class FakeScreen : public platform::ScreenService
{
public:
    double twipsPerPixel = 15.0;
    int widthPixels = 1024;
    int heightPixels = 768;

    double twipsPerPixelX() const override { return twipsPerPixel; }
    double twipsPerPixelY() const override { return twipsPerPixel; }
    double widthTwips() const override { return widthPixels * twipsPerPixel; }
    double heightTwips() const override { return heightPixels * twipsPerPixel; }
};

// The en_US answers of a Windows system (with the date and time pictures and separators of
// vb::userPictures() at construction), user "tester" on "TESTHOST", version 6.1.0 platform 2
// "Test Linux 1". Any item can be set, or set to nothing.
class FakeSystemInfo : public platform::SystemInfoService
{
public:
    FakeSystemInfo();

    std::map<std::uint32_t, std::optional<QString>> locale; // a missing item answers nothing
    std::optional<QString> user = QStringLiteral("tester");
    std::optional<QString> computer = QStringLiteral("TESTHOST");
    std::optional<QString> windowsDir = QStringLiteral("/");
    std::optional<Version> versionInfo; // nothing: the version call fails

    void setLocale(std::uint32_t lctype, std::optional<QString> value) { locale[lctype] = value; }

    std::optional<QString> localeInfo(std::uint32_t lcid, std::uint32_t lctype) const override;
    std::optional<QString> userName() const override { return user; }
    std::optional<QString> computerName() const override { return computer; }
    std::optional<QString> windowsDirectory() const override { return windowsDir; }
    std::optional<Version> version() const override { return versionInfo; }
};

struct HelpCall
{
    QWidget *owner = nullptr;
    QString helpFile;
    unsigned command = 0;
    std::uintptr_t data = 0;
};

// Shows nothing; records every call and answers `result`.
class RecordingHelp : public platform::HelpService
{
public:
    bool result = true;
    std::vector<HelpCall> calls;

    bool winHelp(QWidget *owner, const QString &helpFile, unsigned command,
                 std::uintptr_t data) override;
};

class FakeInstance : public platform::InstanceService
{
public:
    bool previous = false;
    bool prevInstance() override { return previous; }
};

struct TrayCall
{
    std::uint32_t message = 0;
    QByteArray record; // the bytes as passed
};

// Records every call with its bytes and answers as the system does (true for an add of an icon
// not there, a change or removal of one that is), or `result` when a test sets one. `available`
// is the notification area's presence; without it an add fails. A test fires the icon's mouse
// messages as the desktop would send them.
class RecordingTray : public platform::TrayService
{
public:
    bool available = true;
    std::optional<bool> result;
    std::vector<TrayCall> calls;

    bool Shell_NotifyIconA(std::uint32_t message, const QByteArray &record) override;
    bool isSystemTrayAvailable() const override { return available; }

    // The icon shown now for the window and id (the record as last added), if any.
    std::optional<platform::NOTIFYICONDATA> icon(std::int32_t hWnd, std::int32_t uID) const;
    // Whether any icon is shown.
    bool anyIcon() const { return !mIcons.empty(); }
    // Posts the mouse message to the window of the icon shown (the only one, or the one last
    // added) as its callback; fails the test when no icon is shown.
    void fireMouse(std::int32_t mouseMessage);

private:
    std::vector<platform::NOTIFYICONDATA> mIcons;
};

struct PopupMenuCall
{
    QString menu;         // the menu's name
    QStringList captions; // its visible items' captions, separators as "-"
};

// Answers pop-up menus from a queue: choose an item by name (its Click runs before the pop-up
// returns, as with the user's choice) or dismiss. A pop-up nobody expected fails the test and is
// dismissed; so is a choice of an item the menu does not show enabled.
class ScriptedPopupMenus
{
public:
    void expectChoice(const QString &itemName, const QString &menuName = {});
    void expectDismiss(const QString &menuName = {});
    void run(platform::Menu &menu, const QPoint &globalPos);

    const std::vector<PopupMenuCall> &calls() const { return mCalls; }
    std::size_t pendingAnswers() const { return mAnswers.size(); }

private:
    struct Answer
    {
        QString item; // empty: dismiss
        QString menu;
    };
    std::deque<Answer> mAnswers;
    std::vector<PopupMenuCall> mCalls;
};

// Closes `window` as the desktop's accessibility interface can while a modal box is up: from
// inside a running event loop, which also runs whatever deferred deletions are due in it, as the
// box's own loop would. For a box's or a dialog's `meanwhile`.
void closeBehindTheBox(QWidget *window);

// Owns one of each double and installs them for its lifetime; the services in force before are
// back after its destruction. The program folder is a fresh temporary folder.
class ScriptedPlatform
{
public:
    ScriptedPlatform();
    ~ScriptedPlatform();
    ScriptedPlatform(const ScriptedPlatform &) = delete;
    ScriptedPlatform &operator=(const ScriptedPlatform &) = delete;

    ScriptedMessageBox messageBox;
    ScriptedFileDialogs fileDialogs;
    FakeProgram program;
    FixedClock clock;
    RecordingSound sound;
    FakeShell shell;
    FakeScreen screen;
    FakeSystemInfo systemInfo;
    FakeInstance instance;
    RecordingHelp help;
    RecordingTray tray;
    ScriptedPopupMenus popupMenus;

    QString programFolder() const { return program.folderPath; }
    // Copies the build's delivered database into the program folder as "vovuriv.mdb"
    // (replacing an earlier copy) and returns its path; fails the test and returns an empty
    // text when the delivered file is missing or cannot be copied.
    QString copyDeliveredDatabase();

private:
    QTemporaryDir mFolder;
    platform::Services mPrevious;
    platform::PopupMenuRunner mPreviousPopupRunner;
};

} // namespace kxtest
