#include "support/OpenDatabase.h"

#include "core/MainCode_QW.h"
#include "core/modDataSQL.h"
#include "platform/forms/Form.h"
#include "platform/jet/JetErrors.h"
#include "platform/services/CommonDialog.h"
#include "platform/services/QtServices.h"
#include "platform/vb/Conversions.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstdio>
#include <optional>

#include <sys/fsuid.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using kxtest::OpenDatabaseTest;

QByteArray bytesOf(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

class DataAccess : public OpenDatabaseTest
{
};

TEST_F(DataAccess, ReadFromGivesTheFullCountOnTheFirstRow)
{
    EXPECT_EQ(cDAO().RSReadFrom(QStringLiteral("SELECT * FROM Dazez")), 0);
    ASSERT_TRUE(grsShared);
    EXPECT_TRUE(grsShared->eof());

    for (const char *name : {"Ann", "Bob", "Cy"})
        addEntry(QString::fromUtf8(name), QStringLiteral("2000-01-01"));
    EXPECT_EQ(cDAO().RSReadFrom(QStringLiteral("SELECT * FROM Dazez ORDER BY Dazez_Name")), 3);
    EXPECT_EQ(vb::CStr(grsShared->Field(QStringLiteral("Dazez_Name"))), QStringLiteral("Ann"));
}

TEST_F(DataAccess, AFailedReadKeepsTheSharedRecordsetAndReturnsZero)
{
    cDAO().RSReadFrom(QStringLiteral("SELECT * FROM Events"));
    const auto before = grsShared;
    platform.messageBox.expect(3, QStringLiteral("cDAO.RSReadFrom"));
    EXPECT_EQ(cDAO().RSReadFrom(QStringLiteral("SELECT * FROM NoSuchTable")), 0);
    EXPECT_EQ(grsShared, before);
}

TEST_F(DataAccess, ANewRowsIdIsReadBack)
{
    cDAO().RSOpen(QStringLiteral("SELECT * FROM dazez WHERE dazez_Id = -1"));
    ASSERT_TRUE(grsShared);
    EXPECT_EQ(grsShared->RecordCount(), 0);
    grsShared->AddNew();
    grsShared->SetField(QStringLiteral("Dazez_Name"), QStringLiteral("New"));
    grsShared->SetField(QStringLiteral("Dazez_AlertDays"),
                        QStringLiteral("12")); // text, as the editor writes
    grsShared->Update();
    grsShared->MoveFirst();
    grsShared->MoveLast();
    const std::int32_t id = vb::CLng(grsShared->Field(QStringLiteral("Dazez_Id")));
    core::closeSharedRecordset();
    EXPECT_GT(id, 0);
    EXPECT_EQ(ReturnString(QStringLiteral("Dazez"), QStringLiteral("Dazez_AlertDays"),
                           QStringLiteral("Dazez_Id"), id),
              QStringLiteral("12"));
}

TEST_F(DataAccess, DeleteReportsWhatTheUserDecides)
{
    const auto id = addEntry(QStringLiteral("Gone"), QStringLiteral("2001-02-03"));
    EXPECT_TRUE(cDAO().RSDelete(QStringLiteral("DELETE FROM Dazez WHERE Dazez_Id = ") +
                                QString::number(id)));
    EXPECT_EQ(cDAO().RSReadFrom(QStringLiteral("SELECT * FROM Dazez")), 0);

    platform.messageBox.expect(3, QStringLiteral("cDAO.RSDelete"));
    EXPECT_FALSE(cDAO().RSDelete(QStringLiteral("DELETE FROM Nowhere")));
    platform.messageBox.expect(5, QStringLiteral("cDAO.RSDelete"));
    EXPECT_TRUE(cDAO().RSDelete(QStringLiteral("DELETE FROM Nowhere")));
}

TEST_F(DataAccess, AHeldTableIsTriedAFewTimesThenReported)
{
    addEntry(QStringLiteral("Held"), QStringLiteral("2001-02-03"));
    // Another connection holds the file in a write transaction.
    auto other =
        jet::DBEngine::instance().CreateWorkspace(QString(), QStringLiteral("Admin"), QString());
    auto otherDb = other->OpenDatabase(gstrDbPath, false, false, core::kConnectText);
    other->BeginTrans();
    otherDb->Execute(QStringLiteral("UPDATE Events SET Events_EventName = 'Birthday'"));

    platform.messageBox.expect(3, QStringLiteral("An error has occured: 3008"));
    QElapsedTimer timer;
    timer.start();
    EXPECT_FALSE(cDAO().RSDelete(QStringLiteral("DELETE FROM Dazez")));
    EXPECT_GE(timer.elapsed(), cDAO::kHeldTableTries * cDAO::kHeldTableWaitMs);
    EXPECT_EQ(platform.messageBox.calls().size(), 1u);
    other->Rollback();
    otherDb->Close();
}

class Connection : public ::testing::Test
{
protected:
    void SetUp() override { core::resetGlobals(); }
    void TearDown() override { core::resetGlobals(); }
    kxtest::ScriptedPlatform platform;
};

TEST_F(Connection, AMissingFileAsksAndNoEndsTheProgram)
{
    QString path = platform.programFolder() + QStringLiteral("/vovuriv.mdb");
    platform.messageBox.expect(6, QStringLiteral("Would you like to search for the database?"));
    EXPECT_FALSE(cDAO().DAOOpenConnection(path));
    EXPECT_FALSE(QFile::exists(path)); // nothing created

    platform.messageBox.expect(7, QStringLiteral("unable to find the database"));
    platform.messageBox.expect(1, QStringLiteral("Almanoria is ending"));
    EXPECT_THROW(cDAO().DAOOpenConnection(path), platform::ProgramEnded);
    ASSERT_EQ(platform.messageBox.calls().size(), 3u);
    EXPECT_EQ(platform.messageBox.calls()[0].style, 36);
    EXPECT_EQ(platform.messageBox.calls()[2].style, 64);
}

TEST_F(Connection, AFileThatCannotBeOpenedGoesToTheErrorDialog)
{
    struct Case
    {
        const char *name;
        QByteArray content; // empty: a copy of the delivered file under another key
        int number;
    };
    const Case cases[] = {
        {"damaged", QByteArray("this is not a database\r\n"), jet::err::UnrecognizedFormat},
        {"wrong password", QByteArray(), jet::err::InvalidPassword},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        QString path = platform.programFolder() + QStringLiteral("/vovuriv.mdb");
        QFile::remove(path);
        if (c.content.isEmpty()) {
            path = platform.copyDeliveredDatabase();
            auto ws = jet::DBEngine::instance().CreateWorkspace({}, QStringLiteral("Admin"), {});
            ws->OpenDatabase(path, false, false, core::kConnectText)
                ->Execute(QStringLiteral("PRAGMA rekey = 'other'"));
        } else {
            QFile f(path);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write(c.content);
        }
        const QString number = QString::number(c.number);
        platform.messageBox.expect(4, QStringLiteral("An error has occured: ") + number);
        platform.messageBox.expect(5, QStringLiteral("cDAO.DAOOpenConnection"));
        EXPECT_FALSE(cDAO().DAOOpenConnection(path));
        EXPECT_EQ(platform.messageBox.pendingAnswers(), 0u);
    }
}

class Backup : public OpenDatabaseTest
{
protected:
    void SetUp() override
    {
        OpenDatabaseTest::SetUp();
        platform.clock.set(QDateTime(QDate(2003, 3, 5), QTime(12, 0)));
        addEntry(QStringLiteral("Kept"), QStringLiteral("1990-06-01"));
    }
    bool stillOpen() { return cDAO().RSReadFrom(QStringLiteral("SELECT * FROM Dazez")) == 1; }
    platform::CommonDialog dialog;
};

TEST_F(Backup, PresetNameHasNoLeadingZeros)
{
    EXPECT_EQ(cDAO::backupPresetName(), QStringLiteral("BirthdayDBbackup532003"));
    platform.clock.set(QDateTime(QDate(2003, 12, 15), QTime(0, 0)));
    EXPECT_EQ(cDAO::backupPresetName(), QStringLiteral("BirthdayDBbackup15122003"));
}

TEST_F(Backup, ACopyInAnotherFolderIsByteIdenticalAndTheDatabaseIsOpenAgain)
{
    QTemporaryDir elsewhere;
    const QString target = elsewhere.path() + QStringLiteral("/copy.mdb");
    platform.fileDialogs.expectPath(target);
    EXPECT_TRUE(cDAO().BackUpDatabase(&dialog));

    ASSERT_EQ(platform.fileDialogs.calls().size(), 1u);
    const auto &request = platform.fileDialogs.calls()[0].request;
    EXPECT_FALSE(platform.fileDialogs.calls()[0].open);
    EXPECT_EQ(request.title, QStringLiteral("Backup Almanoria database."));
    EXPECT_EQ(request.fileName, QStringLiteral("BirthdayDBbackup532003"));
    EXPECT_EQ(request.filter, QStringLiteral("*.mdb|*.mdb"));
    EXPECT_EQ(request.initDir, platform.programFolder());
    EXPECT_EQ(request.defaultExt, QString());
    EXPECT_EQ(request.flags, 0);

    core::closeSharedRecordset();
    EXPECT_EQ(bytesOf(target), bytesOf(gstrDbPath));
    EXPECT_TRUE(stillOpen());
}

TEST_F(Backup, ReplacesAnEarlierBackup)
{
    QTemporaryDir elsewhere;
    const QString target = elsewhere.path() + QStringLiteral("/copy.mdb");
    {
        QFile f(target);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("old backup");
    }
    platform.fileDialogs.expectPath(target);
    EXPECT_TRUE(cDAO().BackUpDatabase(&dialog));
    EXPECT_EQ(bytesOf(target), bytesOf(gstrDbPath));
}

TEST_F(Backup, CancelChangesNothing)
{
    platform.fileDialogs.expectCancel();
    EXPECT_FALSE(cDAO().BackUpDatabase(&dialog));
    EXPECT_TRUE(stillOpen());
    EXPECT_EQ(QDir(platform.programFolder()).entryList(QStringList{QStringLiteral("Birthday*")}),
              QStringList());
}

TEST_F(Backup, AFailedCopyIsLoggedOnlyAndTheDatabaseIsOpenAgain)
{
    platform.fileDialogs.expectPath(QStringLiteral("/no/such/folder/copy.mdb"));
    EXPECT_FALSE(cDAO().BackUpDatabase(&dialog));
    EXPECT_TRUE(platform.messageBox.calls().empty());
    EXPECT_TRUE(debugLog().contains(QStringLiteral("Description: cDAO.BackUpDatabase")));
    EXPECT_TRUE(stillOpen());
}

// A folder this process cannot create files in. Root creates files anywhere, so as root this
// thread's file operations run as the unprivileged user "nobody" from close() to leave(); the
// program folder and the database are opened to everybody for that.
class ReadOnlyFolder
{
public:
    ReadOnlyFolder()
    {
        mRoot = geteuid() == 0;
        if (mRoot) {
            openToAll(QFileInfo(gstrDbPath).absolutePath(), 0777);
            openToAll(gstrDbPath, 0666);
        }
    }
    ~ReadOnlyFolder()
    {
        leave();
        QFile::setPermissions(mDir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    // A file in the folder, made before the folder is closed; `writable` for everybody or for
    // nobody.
    QString addFile(const QString &name, const QByteArray &content, bool writable)
    {
        const QString path = mDir.filePath(name);
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write(content);
        f.close();
        openToAll(path, writable ? 0666 : 0444);
        return path;
    }

    // Closes the folder to new files; false (with the reason) when this process can still
    // create them.
    bool close(std::string *why)
    {
        openToAll(mDir.path(), 0555);
        if (mRoot) {
            setfsgid(kNobody);
            setfsuid(kNobody);
            if (setfsuid(-1) != kNobody) {
                *why = "root cannot take an unprivileged file-system user here";
                return false;
            }
        }
        QFile probe(mDir.filePath(QStringLiteral("probe")));
        if (probe.open(QIODevice::WriteOnly)) {
            probe.remove();
            *why = "this process creates files in a read-only folder";
            return false;
        }
        return true;
    }

    void leave()
    {
        if (mRoot) {
            setfsuid(0);
            setfsgid(0);
        }
    }

    QString path() const { return mDir.path(); }

private:
    static constexpr uid_t kNobody = 65534;

    static void openToAll(const QString &path, mode_t mode)
    {
        ::chmod(QFile::encodeName(path).constData(), mode);
    }

    QTemporaryDir mDir;
    bool mRoot = false;
};

TEST_F(Backup, AReadOnlyFolderTakesTheCopyOnlyOverAWritableFile)
{
    struct Case
    {
        const char *name;
        std::optional<bool> writableTarget; // nothing: no file there yet
        bool copied;
    };
    const Case cases[] = {
        {"writable earlier backup: written in place", true, true},
        {"read-only earlier backup", false, false},
        {"no file to write over", std::nullopt, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        core::closeSharedRecordset();
        QFile::remove(platform.programFolder() + QStringLiteral("/DebugLog.TXT"));
        ReadOnlyFolder folder;
        QString target = folder.path() + QStringLiteral("/copy.mdb");
        if (c.writableTarget)
            target = folder.addFile(QStringLiteral("copy.mdb"), "old backup", *c.writableTarget);
        std::string why;
        if (!folder.close(&why))
            GTEST_SKIP() << why;

        platform.fileDialogs.expectPath(target);
        const bool copied = cDAO().BackUpDatabase(&dialog);
        const bool open = stillOpen();
        core::closeSharedRecordset();
        folder.leave();

        EXPECT_EQ(copied, c.copied);
        EXPECT_TRUE(open);
        if (c.copied)
            EXPECT_EQ(bytesOf(target), bytesOf(gstrDbPath));
        else
            EXPECT_TRUE(debugLog().contains(QStringLiteral("Description: cDAO.BackUpDatabase")));
        EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files).size(), c.writableTarget ? 1 : 0)
            << "nothing left beside the target";
    }
}

const char *const kLimitChild = "KX_BACKUP_LIMIT_CHILD";
constexpr rlim_t kFileSizeLimit = 4096; // below the database's size, above a log entry's

// The child of the test below: the program's own start-up handling of the limit, then a backup
// under a file-size limit smaller than the database. It reports what came of it.
TEST_F(Backup, ChildUnderAFileSizeLimit)
{
    if (qEnvironmentVariableIsEmpty(kLimitChild))
        GTEST_SKIP() << "runs only as the child of the file-size limit test";
    platform::ignoreFileSizeLimitSignal();
    const rlimit limit{kFileSizeLimit, kFileSizeLimit};
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limit), 0);
    const QString target = platform.programFolder() + QStringLiteral("/copy.mdb");
    platform.fileDialogs.expectPath(target);
    const bool copied = cDAO().BackUpDatabase(&dialog);
    std::printf("copied %d\n", int(copied));
    std::printf("open %d\n", int(stillOpen()));
    std::printf("left %d\n",
                int(QDir(platform.programFolder()).entryList({QStringLiteral("copy*")}).size()));
    const QString log = debugLog();
    std::printf(
        "logged %d\n",
        int(log.startsWith(QStringLiteral("Path/File access error\r\n")) &&
            log.contains(QStringLiteral("Number: 75\r\nDescription: cDAO.BackUpDatabase"))));
    std::fflush(stdout);
}

// A write past the process's file-size limit is a failed write: the backup is reported failed
// as on a full disk, nothing is left of it, and the program lives on with its database open.
TEST_F(Backup, AFileSizeLimitFailsTheCopyAndTheProgramGoesOn)
{
    ASSERT_GT(QFileInfo(gstrDbPath).size(), qint64(kFileSizeLimit));
    QTemporaryDir childTemp;
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QString::fromLatin1(kLimitChild), QStringLiteral("1"));
    env.insert(QStringLiteral("TMPDIR"), childTemp.path());
    child.setProcessEnvironment(env);
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--gtest_filter=Backup.ChildUnderAFileSizeLimit")});
    ASSERT_TRUE(child.waitForFinished(60000));
    EXPECT_EQ(child.exitStatus(), QProcess::NormalExit) << "ended by a signal";
    const QStringList said = QString::fromLocal8Bit(child.readAllStandardOutput())
                                 .split(QLatin1Char('\n'))
                                 .filter(QRegularExpression(QStringLiteral("^[a-z]+ \\d+$")));
    EXPECT_EQ(said, (QStringList{"copied 0", "open 1", "left 0", "logged 1"}));
}

class LocateDialog : public ::testing::Test
{
protected:
    void SetUp() override { core::resetGlobals(); }
    kxtest::ScriptedPlatform platform;
    platform::Form form{QStringLiteral("frmSplash")};
    platform::CommonDialog *cdlg1 = new platform::CommonDialog(&form);
};

TEST_F(LocateDialog, OnlyAFileNamedLikeTheDatabaseIsUsable)
{
    struct Case
    {
        std::optional<QString> chosen;
        bool usable;
    };
    const Case cases[] = {
        {QStringLiteral("/home/u/data/VOVURIV.MDB"), true},
        {QStringLiteral("/home/u/vovuriv.mdb"), true},
        {QStringLiteral("/home/u/other.mdb"), false},
        {std::nullopt, false}, // cancel: the preset empty name stays
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.chosen.value_or(QStringLiteral("(cancel)")).toStdString());
        if (c.chosen)
            platform.fileDialogs.expectPath(*c.chosen);
        else
            platform.fileDialogs.expectCancel();
        gstrDbPath = QStringLiteral("before");
        EXPECT_EQ(MakeConnectionString(&form), c.usable);
        EXPECT_EQ(gstrDbPath, c.chosen.value_or(QString()));
    }
    const auto &request = platform.fileDialogs.calls().back().request;
    EXPECT_TRUE(platform.fileDialogs.calls().back().open);
    EXPECT_EQ(request.title, QStringLiteral("Almanoria database connection "));
    EXPECT_EQ(request.filter, QStringLiteral("vovuriv.mdb|vovuriv.mdb"));
    EXPECT_EQ(request.fileName, QString());
}

TEST_F(LocateDialog, AWindowWithoutTheDialogReportsEachStepThatNeedsIt)
{
    platform::Form bare{QStringLiteral("frmSplash")};
    gstrDbPath.clear();
    for (int i = 0; i < 3; ++i)
        platform.messageBox.expect(platform::mb::Ignore,
                                   QStringLiteral("An error has occured: 91\r\n"));
    EXPECT_FALSE(MakeConnectionString(&bare));
    EXPECT_EQ(platform.messageBox.calls().size(), 3u);
    EXPECT_TRUE(platform.fileDialogs.calls().empty());
}

} // namespace
