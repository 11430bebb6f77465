// The real program's backup on a virtual X display, driven by keys (xdotool) as a user drives
// it: F2, a name typed into the save dialog, Enter. The copy is made under exactly the name
// typed, double quotes included; under a file-size limit smaller than the database the backup
// fails and the program runs on. Skipped where Xvfb or xdotool is missing.

#include "ProgramOnDisplay.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

namespace {

const QString kBackupDialog = QStringLiteral("^Backup Almanoria database\\.$");

QByteArray bytesOf(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

class BackupE2ETest : public kxe2e::ProgramOnDisplayTest
{
protected:
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

    // Whether the program has ended; its process object learns of the end only when asked.
    bool ended() { return mProgram->state() != QProcess::Running || mProgram->waitForFinished(50); }

    QString debugLog() const
    {
        return QString::fromLocal8Bit(bytesOf(folder.filePath(QStringLiteral("DebugLog.TXT"))));
    }
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
    execute({QStringLiteral("CREATE TABLE Filler (Filler_Text TEXT)"),
             QStringLiteral("INSERT INTO Filler VALUES ('%1')")
                 .arg(QString(2 * kLimit, QLatin1Char('x')))});
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
