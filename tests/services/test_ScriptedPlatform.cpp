#include "support/ScriptedPlatform.h"

#include "platform/services/LocaleTypes.h"

#include <QDir>
#include <QFileInfo>

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

using namespace platform;

TEST(ScriptedPlatform, InstallsItsDoublesAndRestoresThePreviousServices)
{
    const Services before = services();
    {
        kxtest::ScriptedPlatform p;
        EXPECT_EQ(services().messageBox, &p.messageBox);
        EXPECT_EQ(services().fileDialogs, &p.fileDialogs);
        EXPECT_EQ(services().program, &p.program);
        EXPECT_EQ(services().clock, &p.clock);
        EXPECT_EQ(services().sound, &p.sound);
        EXPECT_EQ(services().shell, &p.shell);
        EXPECT_EQ(services().screen, &p.screen);
        EXPECT_EQ(services().systemInfo, &p.systemInfo);
        EXPECT_EQ(services().instance, &p.instance);
        EXPECT_TRUE(QFileInfo(p.programFolder()).isDir());
        EXPECT_EQ(services().program->folder(), p.programFolder());
    }
    EXPECT_EQ(services().messageBox, before.messageBox);
    EXPECT_EQ(services().instance, before.instance);
}

TEST(ScriptedMessageBox, AnswersInOrderAndRecords)
{
    kxtest::ScriptedPlatform p;
    p.messageBox.expect(mb::Yes, QStringLiteral("Deleting"));
    p.messageBox.expect(mb::Cancel);
    EXPECT_EQ(services().messageBox->show("Deleting -- Ann", 52, "Almanoria"), mb::Yes);
    EXPECT_EQ(services().messageBox->show("Save?", 35, "Almanoria"), mb::Cancel);
    ASSERT_EQ(p.messageBox.calls().size(), 2u);
    EXPECT_EQ(p.messageBox.calls()[0].prompt, QStringLiteral("Deleting -- Ann"));
    EXPECT_EQ(p.messageBox.calls()[0].style, 52);
    EXPECT_EQ(p.messageBox.calls()[1].title, QStringLiteral("Almanoria"));
    EXPECT_EQ(p.messageBox.pendingAnswers(), 0u);
}

TEST(ScriptedMessageBox, UnexpectedBoxFailsAndAnswersSoTheCallerLeaves)
{
    const struct
    {
        int style;
        int answer;
    } cases[] = {{mb::vbOKOnly + mb::vbInformation, mb::OK},
                 {mb::vbOKCancel, mb::Cancel},
                 {mb::vbAbortRetryIgnore + mb::vbCritical, mb::Abort},
                 {mb::vbYesNoCancel + mb::vbQuestion, mb::Cancel},
                 {mb::vbYesNo + mb::vbQuestion, mb::No},
                 {mb::vbRetryCancel, mb::Cancel}};
    for (const auto &c : cases) {
        kxtest::ScriptedPlatform p;
        int answer = 0;
        EXPECT_NONFATAL_FAILURE(
            answer = services().messageBox->show("Nobody asked", c.style, "Almanoria"),
            "Nobody asked");
        EXPECT_EQ(answer, c.answer) << "style " << c.style;
    }
}

TEST(ScriptedMessageBox, WrongPromptFails)
{
    kxtest::ScriptedPlatform p;
    p.messageBox.expect(mb::Yes, QStringLiteral("Exiting"));
    int answer = 0;
    EXPECT_NONFATAL_FAILURE(answer = services().messageBox->show("Deleting -- x", 52, "Almanoria"),
                            "Deleting -- x");
    EXPECT_EQ(answer, mb::Yes);
}

TEST(ScriptedFileDialogs, AnswersRecordsAndFailsWhenUnexpected)
{
    kxtest::ScriptedPlatform p;
    p.fileDialogs.expectPath(QStringLiteral("/tmp/x.mdb"));
    p.fileDialogs.expectCancel();
    FileDialogRequest r;
    r.title = QStringLiteral("Backup Almanoria database.");
    r.filter = QStringLiteral("*.mdb|*.mdb");
    EXPECT_EQ(services().fileDialogs->save(r, nullptr), QStringLiteral("/tmp/x.mdb"));
    EXPECT_EQ(services().fileDialogs->open(r, nullptr), std::nullopt);
    std::optional<QString> unexpected = QStringLiteral("not cancelled");
    EXPECT_NONFATAL_FAILURE(unexpected = services().fileDialogs->open(r, nullptr),
                            "Backup Almanoria database.");
    EXPECT_EQ(unexpected, std::nullopt);
    ASSERT_EQ(p.fileDialogs.calls().size(), 3u);
    EXPECT_FALSE(p.fileDialogs.calls()[0].open);
    EXPECT_TRUE(p.fileDialogs.calls()[1].open);
    EXPECT_EQ(p.fileDialogs.calls()[0].request.filter, r.filter);
}

TEST(FakeProgram, EndThrowsProgramEnded)
{
    kxtest::ScriptedPlatform p;
    try {
        services().program->end(3);
        FAIL() << "end() returned";
    } catch (const ProgramEnded &e) {
        EXPECT_EQ(e.exitCode, 3);
    }
    EXPECT_EQ(p.program.endedWith, 3);
}

TEST(FixedClock, StartsAtItsDateAndMovesOnlyWhenTold)
{
    kxtest::FixedClock clock;
    EXPECT_EQ(clock.now(), QDateTime(QDate(2026, 12, 10), QTime(10, 0)));
    clock.advanceSecs(90);
    clock.advanceDays(22);
    EXPECT_EQ(clock.now(), QDateTime(QDate(2027, 1, 1), QTime(10, 1, 30)));
}

TEST(RecordingSound, AnswersWhetherTheFileExists)
{
    kxtest::ScriptedPlatform p;
    const QString missing = QDir(p.programFolder()).filePath("virazivuzo.wav");
    EXPECT_FALSE(services().sound->play(missing, 3));
    ASSERT_EQ(p.sound.calls.size(), 1u);
    EXPECT_EQ(p.sound.calls[0].path, missing);
    EXPECT_EQ(p.sound.calls[0].flags, 3u);
}

TEST(FakeShell, ResultOrScriptedError)
{
    kxtest::ScriptedPlatform p;
    EXPECT_EQ(services().shell->shellExecute(nullptr, "open", "http://x", {}, {}, 1), 42);
    p.shell.error = vb::RuntimeError(53, QStringLiteral("File not found: shell32"));
    EXPECT_THROW(services().shell->shellExecute(nullptr, "open", "http://x", {}, {}, 1),
                 vb::RuntimeError);
    EXPECT_EQ(p.shell.calls.size(), 2u);
    EXPECT_EQ(p.shell.calls[1].operation, QStringLiteral("open"));
}

TEST(FakeSystemInfo, UsDefaultsAndSettableItems)
{
    kxtest::ScriptedPlatform p;
    SystemInfoService &info = *services().systemInfo;
    EXPECT_EQ(info.localeInfo(LOCALE_USER_DEFAULT, LOCALE_SENGCOUNTRY),
              QStringLiteral("United States"));
    EXPECT_EQ(info.localeInfo(LOCALE_USER_DEFAULT, LOCALE_IMEASURE), QStringLiteral("1"));
    p.systemInfo.setLocale(LOCALE_IMEASURE, std::nullopt);
    EXPECT_EQ(info.localeInfo(LOCALE_USER_DEFAULT, LOCALE_IMEASURE), std::nullopt);
    EXPECT_EQ(info.userName(), QStringLiteral("tester"));
    EXPECT_EQ(info.computerName(), QStringLiteral("TESTHOST"));
    ASSERT_TRUE(info.version().has_value());
    EXPECT_EQ(info.version()->servicePack, QStringLiteral("Test Linux 1"));
    p.systemInfo.versionInfo.reset();
    EXPECT_FALSE(info.version().has_value());
}

TEST(ScriptedPlatform, CopiesTheDeliveredDatabaseIntoItsProgramFolder)
{
    kxtest::ScriptedPlatform p;
    const QString copy = p.copyDeliveredDatabase();
    ASSERT_FALSE(copy.isEmpty());
    EXPECT_EQ(QFileInfo(copy).absoluteFilePath(),
              QDir(p.programFolder()).absoluteFilePath(QStringLiteral("vovuriv.mdb")));
    EXPECT_EQ(QFileInfo(copy).size(), QFileInfo(QStringLiteral(KX_DELIVERED_DB)).size());
    EXPECT_TRUE(QFileInfo(copy).isWritable());
    EXPECT_EQ(p.copyDeliveredDatabase(), copy); // a second copy replaces the first
}
