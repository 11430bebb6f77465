#include "ScriptedPlatform.h"

#include "platform/services/LocaleTypes.h"
#include "platform/services/WindowMessages.h"
#include "platform/vb/Locale.h"

#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

namespace kxtest {

// ---- Message box ----------------------------------------------------------------------------

void ScriptedMessageBox::expect(int answer, const QString &promptContains,
                                std::function<void()> meanwhile)
{
    mAnswers.push_back({answer, promptContains, std::move(meanwhile)});
}

int ScriptedMessageBox::unexpectedAnswer(int style)
{
    switch (style & 0x0F) {
    case platform::mb::vbAbortRetryIgnore:
        return platform::mb::Abort;
    case platform::mb::vbYesNo:
        return platform::mb::No;
    case platform::mb::vbOKCancel:
    case platform::mb::vbYesNoCancel:
    case platform::mb::vbRetryCancel:
        return platform::mb::Cancel;
    default:
        return platform::mb::OK;
    }
}

int ScriptedMessageBox::show(const QString &prompt, int style, const QString &title)
{
    mCalls.push_back({prompt, style, title});
    if (mOpenMs > 0) {
        QEventLoop open;
        QTimer::singleShot(mOpenMs, &open, &QEventLoop::quit);
        open.exec();
    }
    if (mAnswers.empty() && mEveryAnswer)
        return *mEveryAnswer;
    if (mAnswers.empty()) {
        ADD_FAILURE() << "Unexpected message box (style " << style << ", title \""
                      << title.toStdString() << "\"): " << prompt.toStdString();
        return unexpectedAnswer(style);
    }
    const Answer next = mAnswers.front();
    mAnswers.pop_front();
    if (!next.promptContains.isEmpty() && !prompt.contains(next.promptContains))
        ADD_FAILURE() << "Message box \"" << prompt.toStdString() << "\" was expected to contain \""
                      << next.promptContains.toStdString() << "\"";
    if (next.meanwhile)
        next.meanwhile();
    return next.answer;
}

void closeBehindTheBox(QWidget *window)
{
    QPointer<QWidget> target(window);
    QEventLoop loop;
    QTimer::singleShot(0, &loop, [&] {
        if (target)
            target->close();
        QTimer::singleShot(0, &loop, &QEventLoop::quit);
    });
    loop.exec();
}

// ---- File dialogs ---------------------------------------------------------------------------

std::optional<QString> ScriptedFileDialogs::answer(const platform::FileDialogRequest &request,
                                                   QWidget *owner, bool open)
{
    mCalls.push_back({request, open, owner});
    if (mAnswers.empty()) {
        ADD_FAILURE() << "Unexpected " << (open ? "open" : "save") << " dialog \""
                      << request.title.toStdString() << "\"";
        return std::nullopt;
    }
    const Answer next = mAnswers.front();
    mAnswers.pop_front();
    if (next.meanwhile)
        next.meanwhile();
    return next.path;
}

std::optional<QString> ScriptedFileDialogs::open(const platform::FileDialogRequest &request,
                                                 QWidget *owner)
{
    return answer(request, owner, true);
}

std::optional<QString> ScriptedFileDialogs::save(const platform::FileDialogRequest &request,
                                                 QWidget *owner)
{
    return answer(request, owner, false);
}

// ---- Program, clock, sound, shell, help ------------------------------------------------------

void FakeProgram::end(int exitCode)
{
    endedWith = exitCode;
    throw platform::ProgramEnded{exitCode};
}

FixedClock::FixedClock() : mNow(QDate(2026, 12, 10), QTime(10, 0, 0)) {}

bool RecordingSound::play(const QString &path, unsigned flags)
{
    calls.push_back({path, flags});
    return QFileInfo(QDir::fromNativeSeparators(path)).isFile();
}

std::intptr_t FakeShell::shellExecute(QWidget *owner, const QString &operation, const QString &file,
                                      const QString &parameters, const QString &directory,
                                      int showCommand)
{
    calls.push_back({owner, operation, file, parameters, directory, showCommand});
    if (error)
        throw *error;
    return result;
}

bool RecordingHelp::winHelp(QWidget *owner, const QString &helpFile, unsigned command,
                            std::uintptr_t data)
{
    calls.push_back({owner, helpFile, command, data});
    return result;
}

// ---- System information ---------------------------------------------------------------------

FakeSystemInfo::FakeSystemInfo()
{
    using namespace platform;
    const vb::LocalePictures &p = vb::userPictures();
    locale = {
        {LOCALE_ILANGUAGE, QStringLiteral("0409")},
        {LOCALE_SLANGUAGE, QStringLiteral("English (United States)")},
        {LOCALE_SABBREVLANGNAME, QStringLiteral("ENU")},
        {LOCALE_SNATIVELANGNAME, QStringLiteral("English")},
        {LOCALE_ICOUNTRY, QStringLiteral("1")},
        {LOCALE_SCOUNTRY, QStringLiteral("United States")},
        {LOCALE_SABBREVCTRYNAME, QStringLiteral("USA")},
        {LOCALE_SNATIVECTRYNAME, QStringLiteral("United States")},
        {LOCALE_IDEFAULTLANGUAGE, QStringLiteral("0409")},
        {LOCALE_IDEFAULTCOUNTRY, QStringLiteral("1")},
        {LOCALE_IDEFAULTCODEPAGE, QStringLiteral("437")},
        {LOCALE_SLIST, QStringLiteral(",")},
        {LOCALE_IMEASURE, QStringLiteral("1")},
        {LOCALE_SDECIMAL, p.decimalSeparator},
        {LOCALE_STHOUSAND, p.thousandSeparator},
        {LOCALE_SGROUPING, QStringLiteral("3;0")},
        {LOCALE_IDIGITS, QStringLiteral("2")},
        {LOCALE_ILZERO, QStringLiteral("1")},
        {LOCALE_SNATIVEDIGITS, QStringLiteral("0123456789")},
        {LOCALE_SCURRENCY, QStringLiteral("$")},
        {LOCALE_SINTLSYMBOL, QStringLiteral("USD")},
        {LOCALE_SMONDECIMALSEP, QStringLiteral(".")},
        {LOCALE_SMONTHOUSANDSEP, QStringLiteral(",")},
        {LOCALE_SMONGROUPING, QStringLiteral("3;0")},
        {LOCALE_ICURRDIGITS, QStringLiteral("2")},
        {LOCALE_IINTLCURRDIGITS, QStringLiteral("2")},
        {LOCALE_ICURRENCY, QStringLiteral("0")},
        {LOCALE_INEGCURR, QStringLiteral("0")},
        {LOCALE_SDATE, p.dateSeparator},
        {LOCALE_STIME, p.timeSeparator},
        {LOCALE_SSHORTDATE, p.shortDate},
        {LOCALE_SLONGDATE, p.longDate},
        {LOCALE_IDATE, QStringLiteral("0")},
        {LOCALE_ILDATE, QStringLiteral("0")},
        {LOCALE_ITIME, QStringLiteral("0")},
        {LOCALE_ICENTURY, QStringLiteral("1")},
        {LOCALE_SENGLANGUAGE, QStringLiteral("English")},
        {LOCALE_SENGCOUNTRY, QStringLiteral("United States")},
        {LOCALE_STIMEFORMAT, p.time},
    };
    versionInfo = Version{6, 1, 0, 2, QStringLiteral("Test Linux 1")};
}

std::optional<QString> FakeSystemInfo::localeInfo(std::uint32_t /*lcid*/,
                                                  std::uint32_t lctype) const
{
    const auto it = locale.find(lctype);
    return it == locale.end() ? std::nullopt : it->second;
}

// ---- Tray ----------------------------------------------------------------------------------

bool RecordingTray::Shell_NotifyIconA(std::uint32_t message, const QByteArray &record)
{
    calls.push_back({message, record});
    const std::optional<platform::NOTIFYICONDATA> r = platform::NOTIFYICONDATA::fromBytes(record);
    bool done = false;
    if (r) {
        const auto found = std::find_if(mIcons.begin(), mIcons.end(), [&r](const auto &icon) {
            return icon.hWnd == r->hWnd && icon.uID == r->uID;
        });
        const bool there = found != mIcons.end();
        if (message == platform::NIM_ADD && !there && available) {
            mIcons.push_back(*r);
            done = true;
        } else if (message == platform::NIM_MODIFY && there) {
            *found = *r;
            done = true;
        } else if (message == platform::NIM_DELETE && there) {
            mIcons.erase(found);
            done = true;
        }
    }
    return result.value_or(done);
}

std::optional<platform::NOTIFYICONDATA> RecordingTray::icon(std::int32_t hWnd,
                                                            std::int32_t uID) const
{
    for (const auto &icon : mIcons)
        if (icon.hWnd == hWnd && icon.uID == uID)
            return icon;
    return std::nullopt;
}

void RecordingTray::fireMouse(std::int32_t mouseMessage)
{
    if (mIcons.empty()) {
        ADD_FAILURE() << "A tray mouse message was fired with no tray icon shown";
        return;
    }
    const platform::NOTIFYICONDATA &icon = mIcons.back();
    platform::PostMessage(icon.hWnd, icon.uCallbackMessage, icon.uID, mouseMessage);
}

// ---- Pop-up menus ---------------------------------------------------------------------------

void ScriptedPopupMenus::expectChoice(const QString &itemName, const QString &menuName)
{
    mAnswers.push_back({itemName, menuName});
}

void ScriptedPopupMenus::expectDismiss(const QString &menuName)
{
    mAnswers.push_back({QString(), menuName});
}

void ScriptedPopupMenus::run(platform::Menu &menu, const QPoint & /*globalPos*/)
{
    PopupMenuCall call{menu.Name(), {}};
    for (platform::Menu *item : menu.items())
        if (item->Visible())
            call.captions << item->Caption();
    mCalls.push_back(call);
    if (mAnswers.empty()) {
        ADD_FAILURE() << "Unexpected pop-up menu " << menu.Name().toStdString() << ": "
                      << call.captions.join(QStringLiteral(" | ")).toStdString();
        return;
    }
    const Answer next = mAnswers.front();
    mAnswers.pop_front();
    if (!next.menu.isEmpty() && next.menu.compare(menu.Name(), Qt::CaseInsensitive) != 0)
        ADD_FAILURE() << "Pop-up menu " << menu.Name().toStdString() << " shown where "
                      << next.menu.toStdString() << " was expected";
    if (next.item.isEmpty())
        return;
    for (platform::Menu *item : menu.items()) {
        if (item->Name().compare(next.item, Qt::CaseInsensitive) != 0)
            continue;
        if (!item->Visible() || !item->Enabled() || item->isSeparator() || item->isSubmenu()) {
            ADD_FAILURE() << "Pop-up menu item " << next.item.toStdString() << " cannot be chosen";
            return;
        }
        item->click();
        return;
    }
    ADD_FAILURE() << "Pop-up menu " << menu.Name().toStdString() << " has no item "
                  << next.item.toStdString();
}

// ---- Fixture --------------------------------------------------------------------------------

ScriptedPlatform::ScriptedPlatform() : mPrevious(platform::services())
{
    EXPECT_TRUE(mFolder.isValid()) << "no temporary program folder";
    program.folderPath = QDir::toNativeSeparators(mFolder.path());

    platform::Services s;
    s.messageBox = &messageBox;
    s.fileDialogs = &fileDialogs;
    s.program = &program;
    s.clock = &clock;
    s.sound = &sound;
    s.shell = &shell;
    s.screen = &screen;
    s.systemInfo = &systemInfo;
    s.instance = &instance;
    s.help = &help;
    s.tray = &tray;
    platform::installServices(s);
    mPreviousPopupRunner = platform::setPopupMenuRunner(
        [this](platform::Menu &menu, const QPoint &pos) { popupMenus.run(menu, pos); });
}

ScriptedPlatform::~ScriptedPlatform()
{
    platform::setPopupMenuRunner(mPreviousPopupRunner);
    platform::installServices(mPrevious);
}

QString ScriptedPlatform::copyDeliveredDatabase()
{
    const QString source = QStringLiteral(KX_DELIVERED_DB);
    if (!QFileInfo(source).isFile()) {
        ADD_FAILURE() << "The delivered database " << source.toStdString()
                      << " is missing: build the target that makes it first.";
        return {};
    }
    const QString target = QDir(mFolder.path()).filePath(QStringLiteral("vovuriv.mdb"));
    QFile::remove(target);
    if (!QFile::copy(source, target)) {
        ADD_FAILURE() << "Could not copy " << source.toStdString() << " to "
                      << target.toStdString();
        return {};
    }
    // The copy keeps the source's permissions; the program writes to its database.
    QFile::setPermissions(target, QFile::permissions(target) | QFileDevice::WriteOwner);
    return QDir::toNativeSeparators(target);
}

} // namespace kxtest
