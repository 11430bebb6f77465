// The start-up chain from Main through the splash window's load, with every box and dialog
// scripted: the database paths (present, missing, wrong file, not a database, cancelled), the
// settings load, and the single-instance rule.

#include "core/Globals.h"
#include "core/MainCode_QW.h"
#include "core/StartupHooks.h"
#include "core/cDAO.h"
#include "core/frmSplash.h"

#include "platform/forms/Controls.h"
#include "platform/forms/Form.h"
#include "platform/services/CommonDialog.h"
#include "platform/services/Services.h"
#include "platform/vb/RuntimeError.h"
#include "support/ScriptedPlatform.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <ostream>
#include <vector>

using namespace platform::mb;

namespace {

enum class DbFile { Delivered, Missing, NotADatabase };

struct Box
{
    int answer;
    QString contains;
};

struct Dialog
{
    enum Kind { Cancel, Other, Good } kind;
};

struct StartCase
{
    const char *id;
    const char *name;
    DbFile file;
    std::vector<Box> boxes;
    std::vector<Dialog> dialogs;
    bool ended;     // the program ended inside start-up
    bool atLocated; // connected with the located file, not the program folder's
};

const QString kQuestion = QStringLiteral("Would you like to search for the database?");
const QString kEnding = QStringLiteral("Almanoria is ending");

const StartCase kStartCases[] = {
    {"FileInPlace",
     "file in place, right password: no box",
     DbFile::Delivered,
     {},
     {},
     false,
     false},
    {"MissingNo",
     "missing file, No",
     DbFile::Missing,
     {{No, kQuestion}, {OK, kEnding}},
     {},
     true,
     false},
    {"MissingYesLocated",
     "missing file, Yes, then the file located",
     DbFile::Missing,
     {{Yes, kQuestion}},
     {{Dialog::Good}},
     false,
     true},
    {"OtherNameAsksAgain",
     "a file of another name counts as none: the question again",
     DbFile::Missing,
     {{Yes, kQuestion}, {Yes, kQuestion}},
     {{Dialog::Other}, {Dialog::Good}},
     false,
     true},
    {"NotADatabaseIgnore",
     "not a database: the error dialog, Ignore, then the locate dialog",
     DbFile::NotADatabase,
     {{Ignore, QStringLiteral("cDAO.DAOOpenConnection")}},
     {{Dialog::Good}},
     false,
     true},
    {"NotADatabaseAbort",
     "not a database, Abort behaves as Ignore",
     DbFile::NotADatabase,
     {{Abort, QStringLiteral("cDAO.DAOOpenConnection")}, {No, kQuestion}, {OK, kEnding}},
     {{Dialog::Cancel}},
     true,
     false},
    {"CancelledAsksAgain",
     "cancelled locate dialog: the question again",
     DbFile::Missing,
     {{Yes, kQuestion}, {Yes, kQuestion}, {No, kQuestion}, {OK, kEnding}},
     {{Dialog::Cancel}, {Dialog::Cancel}},
     true,
     false},
};

void PrintTo(const StartCase &c, std::ostream *os)
{
    *os << c.id;
}

class StartupTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        core::resetGlobals();
        ASSERT_TRUE(elsewhere.isValid());
        core::startupHooks().loadMainWindow = [this] { ++mainWindowLoads; };
        core::startupHooks().recomputeDaysTil = [this] { ++recomputes; };
    }
    void TearDown() override
    {
        core::startupHooks() = core::StartupHooks{};
        // A load interrupted by the end of the program leaves its splash behind.
        const QList<platform::Form *> left = platform::Forms();
        qDeleteAll(left);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        core::resetGlobals();
    }

    QString programDb() const { return platform.programFolder() + QStringLiteral("/vovuriv.mdb"); }

    // A good database in another folder, under the expected name in upper case.
    QString locatedDb()
    {
        const QString path = elsewhere.path() + QStringLiteral("/VOVURIV.MDB");
        QFile::remove(path);
        EXPECT_TRUE(QFile::copy(QStringLiteral(KX_DELIVERED_DB), path));
        return path;
    }

    void prepare(DbFile file)
    {
        if (file == DbFile::Delivered)
            platform.copyDeliveredDatabase();
        if (file == DbFile::NotADatabase) {
            QFile text(programDb());
            ASSERT_TRUE(text.open(QIODevice::WriteOnly));
            text.write("These are notes, not a database.\r\n");
        }
    }

    // Runs Main; true when the program ended inside it.
    bool runMain()
    {
        try {
            Main();
        } catch (const platform::ProgramEnded &) {
            return true;
        }
        return false;
    }

    kxtest::ScriptedPlatform platform;
    QTemporaryDir elsewhere;
    int mainWindowLoads = 0;
    int recomputes = 0;
};

class StartupPathTest : public StartupTest, public ::testing::WithParamInterface<StartCase>
{
};

TEST_P(StartupPathTest, DatabasePathsOfTheSplashLoad)
{
    const StartCase &c = GetParam();
    kxtest::ScriptedPlatform &os = platform;
    prepare(c.file);
    const QString located = locatedDb();
    for (const Box &b : c.boxes)
        os.messageBox.expect(b.answer, b.contains);
    for (const Dialog &d : c.dialogs) {
        if (d.kind == Dialog::Cancel)
            os.fileDialogs.expectCancel();
        else if (d.kind == Dialog::Other)
            os.fileDialogs.expectPath(elsewhere.path() + QStringLiteral("/other.mdb"));
        else
            os.fileDialogs.expectPath(located);
    }

    const bool ended = runMain();

    EXPECT_EQ(ended, c.ended);
    EXPECT_EQ(os.messageBox.calls().size(), c.boxes.size());
    EXPECT_EQ(os.fileDialogs.calls().size(), c.dialogs.size());
    EXPECT_EQ(os.messageBox.pendingAnswers(), 0u);
    EXPECT_EQ(os.fileDialogs.pendingAnswers(), 0u);
    for (const auto &call : os.messageBox.calls())
        EXPECT_EQ(call.title, QStringLiteral("Almanoria"));
    for (const auto &call : os.fileDialogs.calls()) {
        EXPECT_TRUE(call.open);
        EXPECT_EQ(call.request.title, QStringLiteral("Almanoria database connection "));
    }
    EXPECT_EQ(mainWindowLoads, ended ? 0 : 1);
    EXPECT_EQ(recomputes, ended ? 0 : 1);
    if (!ended) {
        ASSERT_TRUE(gdbMain);
        EXPECT_TRUE(gdbMain->isOpen());
        EXPECT_EQ(gstrDbPath, c.atLocated ? located : programDb());
        // The splash unloaded itself at the end of its load.
        for (platform::Form *f : platform::Forms())
            EXPECT_NE(f->Name(), QStringLiteral("frmSplash"));
        // The delivered settings row was loaded.
        EXPECT_EQ(gudtSettings.DefaultAlertDays, 3);
    }
}

INSTANTIATE_TEST_SUITE_P(Paths, StartupPathTest, ::testing::ValuesIn(kStartCases),
                         [](const ::testing::TestParamInfo<StartCase> &info) {
                             return std::string(info.param.id);
                         });

TEST_F(StartupTest, TheLocatedPathIsNotRememberedForTheNextStart)
{
    const QString located = locatedDb();
    platform.messageBox.expect(Yes, kQuestion);
    platform.fileDialogs.expectPath(located);
    ASSERT_FALSE(runMain());
    ASSERT_EQ(gstrDbPath, located);

    // The next start looks in the program folder again.
    core::resetGlobals();
    platform.copyDeliveredDatabase();
    ASSERT_FALSE(runMain());
    EXPECT_EQ(gstrDbPath, programDb());
    EXPECT_EQ(platform.fileDialogs.calls().size(), 1u);
}

TEST_F(StartupTest, SplashPropertiesAndGlobalsAfterAStart)
{
    platform.copyDeliveredDatabase();
    ASSERT_FALSE(runMain());
    EXPECT_EQ(gstrEnabledColor, QStringLiteral("-2147483643"));
    EXPECT_EQ(gstrVersion, QStringLiteral("version 2.12"));
    EXPECT_EQ(gstrHelpFile, platform.programFolder() + QStringLiteral("/virazivuzo.hlp"));
    EXPECT_EQ(gudtAppInfo.LanguageName, QStringLiteral("English (United States)"));
    EXPECT_EQ(gudtAppInfo.LanguageEnglishName, QStringLiteral("English"));
    EXPECT_EQ(gudtAppInfo.CountryEnglishName, QStringLiteral("United States"));
    EXPECT_EQ(gudtAppInfo.IntlMonetarySymbol, QStringLiteral("USD"));
    EXPECT_TRUE(QFile::exists(platform.programFolder() + QStringLiteral("/DebugLog.TXT")));
}

TEST_F(StartupTest, SplashWindowAsItStandsWhenTheMainWindowIsLoaded)
{
    platform.copyDeliveredDatabase();
    bool seen = false;
    core::startupHooks().loadMainWindow = [&] {
        frmSplash *splash = nullptr;
        for (platform::Form *f : platform::Forms())
            if (f->Name() == QStringLiteral("frmSplash"))
                splash = static_cast<frmSplash *>(f);
        ASSERT_TRUE(splash);
        seen = true;
        EXPECT_TRUE(splash->Visible());
        EXPECT_EQ(splash->lblVersion->Caption(), QStringLiteral("Version 2.12"));
        EXPECT_EQ(splash->lblProductName[0]->Caption(), QStringLiteral("Almanoria"));
        EXPECT_EQ(splash->lblProductName[1]->Caption(), QStringLiteral("Almanoria"));
        EXPECT_EQ(splash->lblCopyright->Caption(), frmSplash::kCopyright);
        EXPECT_EQ(splash->lblCompany->Caption(), QStringLiteral("Quarnwell"));
        EXPECT_EQ(splash->lblQW->Caption(), QStringLiteral("Quarnwell"));
        EXPECT_EQ(splash->txtEnabledColor->Text(), QStringLiteral("Text1"));
        EXPECT_FALSE(splash->txtEnabledColor->Visible());
        EXPECT_DOUBLE_EQ(splash->txtEnabledColor->Width(), 735);
        EXPECT_DOUBLE_EQ(splash->txtEnabledColor->Height(), 285);
        // Centred on the 15360 x 11520 twip screen.
        EXPECT_NEAR(splash->Left() + splash->Width() / 2, 15360 / 2.0, 15);
        EXPECT_NEAR(splash->Top() + splash->Height() / 2, 11520 / 2.0, 15);
        EXPECT_EQ(splash->findChild<platform::CommonDialog *>(QStringLiteral("cdlg1")),
                  splash->cdlg1);
    };
    ASSERT_FALSE(runMain());
    EXPECT_TRUE(seen);
}

TEST_F(StartupTest, AnErrorInTheSplashLoadGoesToMainsHandler)
{
    platform.copyDeliveredDatabase();
    core::startupHooks().loadMainWindow = [] { vb::raise(vb::err::ObjectVariableNotSet); };
    platform.messageBox.expect(Ignore, QStringLiteral("Sub Main"));
    EXPECT_FALSE(runMain());
    ASSERT_EQ(platform.messageBox.calls().size(), 1u);
    EXPECT_TRUE(platform.messageBox.calls()[0].prompt.startsWith(
        QStringLiteral("An error has occured: 91\r\n")));
}

TEST_F(StartupTest, RetryAfterAnErrorInTheSplashLoadRunsTheLoadAgain)
{
    platform.copyDeliveredDatabase();
    int attempts = 0;
    core::startupHooks().loadMainWindow = [&] {
        if (++attempts == 1)
            vb::raise(vb::err::ObjectVariableNotSet);
        ++mainWindowLoads;
    };
    platform.messageBox.expect(Retry, QStringLiteral("Sub Main"));
    EXPECT_FALSE(runMain());
    EXPECT_EQ(platform.messageBox.calls().size(), 1u);
    EXPECT_EQ(attempts, 2);
    EXPECT_EQ(recomputes, 2) << "the whole load ran again";
    EXPECT_EQ(mainWindowLoads, 1);
    for (platform::Form *f : platform::Forms())
        EXPECT_NE(f->Name(), QStringLiteral("frmSplash")) << "the second load unloads the splash";
}

TEST_F(StartupTest, EndingBoxAfterTheFallbackFindsNoUsableFile)
{
    frmSplash splash;
    platform.messageBox.expect(OK);
    EXPECT_THROW(splash.msgEndingApp(1), platform::ProgramEnded);
    ASSERT_EQ(platform.messageBox.calls().size(), 1u);
    const auto &box = platform.messageBox.calls().front();
    EXPECT_EQ(box.prompt,
              QStringLiteral("There is no valid dataase connection. Almanoria is now ending"));
    EXPECT_EQ(box.style, 16);
    EXPECT_EQ(box.title, QStringLiteral("Almanoria"));
    EXPECT_EQ(platform.program.endedWith, 0);
}

TEST_F(StartupTest, APreviousInstanceEndsAtOnceAndTouchesNothing)
{
    platform.copyDeliveredDatabase();
    platform.instance.previous = true;
    EXPECT_TRUE(runMain());
    EXPECT_EQ(platform.program.endedWith, 0);
    EXPECT_TRUE(platform.messageBox.calls().empty());
    EXPECT_TRUE(platform.fileDialogs.calls().empty());
    EXPECT_TRUE(platform::Forms().isEmpty());
    EXPECT_FALSE(QFile::exists(platform.programFolder() + QStringLiteral("/DebugLog.TXT")));
    EXPECT_EQ(mainWindowLoads, 0);
    EXPECT_FALSE(gdbMain);
    EXPECT_TRUE(gstrVersion.isEmpty());
    EXPECT_TRUE(gudtAppInfo.LanguageName.isEmpty());
}

// Where no lock could be taken, the start goes on and the log says why, after the system
// section that the start recreates the log with.
TEST_F(StartupTest, ALockThatCannotBeTakenIsLoggedAndTheStartGoesOn)
{
    class Unlocked : public platform::InstanceService
    {
    public:
        bool prevInstance() override { return false; }
        std::optional<vb::RuntimeError> lockFailure() const override
        {
            return vb::RuntimeError(70, QStringLiteral("No previous-instance lock: cannot open "
                                                       "/opt/kx/kalendrix.lock (Permission "
                                                       "denied)"));
        }
    } unlocked;
    platform::InstanceService *const scripted = platform::services().instance;
    platform::services().instance = &unlocked;
    platform.copyDeliveredDatabase();
    const bool ended = runMain();
    platform::services().instance = scripted;

    EXPECT_FALSE(ended);
    EXPECT_EQ(mainWindowLoads, 1);
    EXPECT_TRUE(platform.messageBox.calls().empty());
    QFile file(platform.programFolder() + QStringLiteral("/DebugLog.TXT"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString log = QString::fromLocal8Bit(file.readAll());
    const QString section = QStringLiteral("End of Debug Info Gathering \r\n\r\n\r\n\r\n");
    ASSERT_TRUE(log.contains(section));
    EXPECT_TRUE(log.mid(log.indexOf(section) + section.size())
                    .startsWith(QStringLiteral("No previous-instance lock: cannot open "
                                               "/opt/kx/kalendrix.lock (Permission denied); "
                                               "started without the check\r\nNumber: 70\r\n"
                                               "Description: Sub Main\r\n")))
        << log.toStdString();
}

} // namespace
