// The real program's backup on a virtual X display, driven by keys (xdotool) as a user drives
// it: F2, a name typed into the save dialog, Enter. The copy is made under exactly the name
// typed, double quotes included; under a file-size limit smaller than the database the backup
// fails and the program runs on. Skipped where Xvfb or xdotool is missing.

#include "core/Globals.h"
#include "platform/jet/Jet.h"
#include "support/VirtualDisplay.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

const QString kMainWindow = QStringLiteral("^Almanoria - Quarnwell$");
const QString kBackupDialog = QStringLiteral("^Backup Almanoria database\\.$");

QByteArray bytesOf(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

class BackupE2ETest : public kxtest::VirtualDisplayTest
{
protected:
    void SetUp() override
    {
        VirtualDisplayTest::SetUp();
        if (IsSkipped() || HasFatalFailure() || !need(QStringLiteral("xdotool"), &mXdotool))
            return;
        ASSERT_TRUE(folder.isValid());
        ASSERT_TRUE(QFile::copy(QStringLiteral(KX_PROGRAM_DIR "/Kalendrix"),
                                folder.filePath(QStringLiteral("Kalendrix"))));
        ASSERT_TRUE(QFile::copy(QStringLiteral(KX_DELIVERED_DB), database()));
        QFile::setPermissions(database(), QFile::ReadOwner | QFile::WriteOwner);
    }

    QString database() const { return folder.filePath(QStringLiteral("vovuriv.mdb")); }

    // Starts the program (through `launcher` when given: a program that runs the rest of its
    // command line) and answers what it asks before its window shows; returns the main window,
    // "" when it did not show.
    QString startProgram(const QStringList &launcher = {})
    {
        const QString program = folder.filePath(QStringLiteral("Kalendrix"));
        mProgram = launcher.isEmpty()
                       ? start(program, {}, folder.path())
                       : start(launcher.first(), launcher.mid(1) << program, folder.path());
        QString window;
        waitUntil([&] {
            const QStringList main = windows(kMainWindow, true);
            if (!main.isEmpty()) {
                window = main.first();
                return true;
            }
            for (const QString &box : windows(QStringLiteral("^Almanoria$"), true))
                xdotool({"windowfocus", "--sync", box, "key", "Return"});
            return mProgram->state() != QProcess::Running;
        });
        return window;
    }

    // F2, then `name` typed over the dialog's preset name, then Enter; false when the dialog
    // did not come or did not go.
    bool backUp(const QString &window, const QString &name)
    {
        xdotool({"windowfocus", "--sync", window, "key", "F2"});
        QStringList dialog;
        if (!waitUntil([&] { return !(dialog = windows(kBackupDialog, true)).isEmpty(); }))
            return false;
        xdotool({"windowfocus", "--sync", dialog.first(), "key", "ctrl+a", "BackSpace"});
        xdotool({"type", "--delay", "20", name});
        xdotool({"key", "Return"});
        return waitUntil([&] { return windows(kBackupDialog, true).isEmpty(); });
    }

    void xdotool(const QStringList &arguments) { output(mXdotool, arguments); }

    // Whether the program has ended; its process object learns of the end only when asked.
    bool ended() { return mProgram->state() != QProcess::Running || mProgram->waitForFinished(50); }

    QString debugLog() const
    {
        return QString::fromLocal8Bit(bytesOf(folder.filePath(QStringLiteral("DebugLog.TXT"))));
    }

    QTemporaryDir folder;
    QProcess *mProgram = nullptr;
};

TEST_F(BackupE2ETest, TheCopyIsNamedAsTypedQuotesAndAll)
{
    const QString window = startProgram();
    ASSERT_FALSE(window.isEmpty()) << "the main window did not show";
    for (const QString &name :
         {QStringLiteral("my \"best\" copy.mdb"), QStringLiteral("copy 12\" disk.mdb")}) {
        SCOPED_TRACE(name.toStdString());
        ASSERT_TRUE(backUp(window, name)) << "the save dialog did not come and go";
        const QString copy = folder.filePath(name);
        EXPECT_TRUE(waitUntil([&] { return QFileInfo::exists(copy); }))
            << "no copy under the typed name; the folder holds: "
            << QDir(folder.path()).entryList(QDir::Files).join(QStringLiteral(", ")).toStdString();
        EXPECT_EQ(bytesOf(copy), bytesOf(database()));
    }
    EXPECT_FALSE(QFileInfo::exists(folder.filePath(QStringLiteral("best"))));
    EXPECT_FALSE(QFileInfo::exists(folder.filePath(QStringLiteral(" disk.mdb"))));
    EXPECT_FALSE(ended());
}

TEST_F(BackupE2ETest, UnderAFileSizeLimitTheBackupFailsAndTheProgramRunsOn)
{
    QString prlimit;
    if (!need(QStringLiteral("prlimit"), &prlimit))
        return;
    // The database grown past the limit at its end, by rows the start never writes: the start's
    // own writes (the days until, the log, the engine's journal) stay below it.
    constexpr int kLimit = 32 * 1024;
    {
        auto ws = jet::DBEngine::instance().CreateWorkspace({}, QStringLiteral("Admin"), {});
        auto db = ws->OpenDatabase(database(), false, false, core::kConnectText);
        db->Execute(QStringLiteral("CREATE TABLE Filler (Filler_Text TEXT)"));
        db->Execute(QStringLiteral("INSERT INTO Filler VALUES ('%1')")
                        .arg(QString(2 * kLimit, QLatin1Char('x'))));
        db->Close();
    }
    ASSERT_GT(QFileInfo(database()).size(), 2 * kLimit);

    const QString window = startProgram({prlimit, QStringLiteral("--fsize=%1").arg(kLimit)});
    ASSERT_FALSE(window.isEmpty()) << "the main window did not show";
    ASSERT_TRUE(backUp(window, QStringLiteral("limited.mdb")))
        << "the save dialog did not come and go";
    EXPECT_TRUE(waitUntil([&] {
        return debugLog().contains(QStringLiteral("Description: cDAO.BackUpDatabase")) || ended();
    }));
    ASSERT_FALSE(ended()) << (mProgram->exitStatus() == QProcess::CrashExit
                                  ? "the program died from a signal"
                                  : "the program ended");
    EXPECT_TRUE(
        debugLog().contains(QStringLiteral("Number: 75\r\nDescription: cDAO.BackUpDatabase")));
    EXPECT_TRUE(QDir(folder.path()).entryList({QStringLiteral("limited*")}).isEmpty());

    // It still answers its keys: a second backup is tried, and fails the same way.
    EXPECT_TRUE(backUp(window, QStringLiteral("again.mdb")));
    EXPECT_TRUE(
        waitUntil([&] { return debugLog().count(QStringLiteral("cDAO.BackUpDatabase")) == 2; }));
    EXPECT_EQ(mProgram->state(), QProcess::Running);
}

} // namespace
