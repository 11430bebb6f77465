// The main window's own commands: deleting the current entry (menu and pop-up menu), the backup
// with its hourglass, the help calls and the product page.

#include "MainWindowFixture.h"

#include "core/MainCode_QW.h"
#include "core/StartupHooks.h"
#include "platform/forms/MousePointer.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>

using kxmaintest::MainWindowTest;
using kxmaintest::StoredSettings;

namespace {

const QString kDeleted = QStringLiteral("Your data has been deleted.");
const QString kNotDeleted = QStringLiteral("Your data has not been deleted.");

class CommandsTest : public MainWindowTest
{
protected:
    // Ann and Bob are coming events of 2026-12-10; Cid is not.
    void loadThree(int timerOn = 1)
    {
        ann = addEntry(QStringLiteral("Ann"), QStringLiteral("1980-12-11"));
        bob = addEntry(QStringLiteral("Bob"), QStringLiteral("1980-12-12"));
        cid = addEntry(QStringLiteral("Cid"), QStringLiteral("1980-06-01"));
        StoredSettings s;
        s.timerOn = timerOn;
        store(s);
        load();
    }

    int rows() { return value(QStringLiteral("SELECT COUNT(*) FROM Dazez")).toInt(); }

    std::vector<std::int32_t> upcomingIds() const
    {
        std::vector<std::int32_t> ids;
        for (int i = 1; i <= gcolUpcomingId.Count(); ++i)
            ids.push_back(vb::CLng(gcolUpcomingId.Item(i)));
        return ids;
    }

    QStringList prompts() const
    {
        QStringList out;
        for (const kxtest::MessageBoxCall &call : platform.messageBox.calls())
            out << call.prompt;
        return out;
    }

    std::int32_t ann = 0, bob = 0, cid = 0;
};

TEST_F(CommandsTest, DeleteAsksForTheCurrentEntryAndSaysWhatHappened)
{
    const struct
    {
        const char *name;
        int currentId; // 0: as loaded; -1: after "new"; 1: Ann
        std::optional<int> answer;
        QString prompt;
        int rowsLeft;
        QString status;
    } cases[] = {
        {"after new", -1, std::nullopt, QString(), 3, QStringLiteral("There is no data to delete")},
        {"nothing chosen yet", 0, platform::mb::Yes, QStringLiteral("Deleting -- "), 3, kDeleted},
        {"declined", 1, platform::mb::No, QStringLiteral("Deleting -- Ann"), 3, kNotDeleted},
        {"deleted", 1, platform::mb::Yes, QStringLiteral("Deleting -- Ann"), 2, kDeleted},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        execute(QStringLiteral("DELETE FROM Dazez"));
        loadThree();
        frm->mlngCurrentId = c.currentId == 1 ? ann : c.currentId;
        if (c.answer)
            platform.messageBox.expect(*c.answer);
        frm->mnuDelete_Click();

        EXPECT_EQ(prompts(), c.answer ? QStringList{c.prompt} : QStringList{});
        for (const kxtest::MessageBoxCall &call : platform.messageBox.calls())
            EXPECT_EQ(call.style, 52);
        EXPECT_EQ(rows(), c.rowsLeft);
        EXPECT_EQ(status(), c.status);
        EXPECT_TRUE(frm->Timer1->isActive());
        EXPECT_EQ(frm->mlngCurrentId, c.currentId == 1 ? ann : c.currentId) << "kept";
        delete frm.data();
        platform.messageBox = kxtest::ScriptedMessageBox();
    }
}

TEST_F(CommandsTest, ADeletedEntryLeavesTheListAndTheComingEvents)
{
    loadThree();
    ASSERT_EQ(upcomingIds(), (std::vector<std::int32_t>{ann, bob}));
    frm->mlngCurrentId = ann;
    platform.messageBox.expect(platform::mb::Yes);
    EXPECT_TRUE(frm->DeleteEvent());
    QStringList names = column(0);
    names.sort();
    EXPECT_EQ(names, (QStringList{"Bob", "Cid"}));
    EXPECT_EQ(upcomingIds(), std::vector<std::int32_t>{bob});
}

TEST_F(CommandsTest, AFailedDeleteSaysSoAndTheTimerRunsAgain)
{
    loadThree();
    frm->mlngCurrentId = ann;
    platform.messageBox.expect(platform::mb::Yes, QStringLiteral("Deleting -- Ann"));
    platform.messageBox.expect(platform::mb::Abort, QStringLiteral("An error has occured"));
    // The database refuses the statement.
    execute(QStringLiteral("CREATE TRIGGER NoDelete BEFORE DELETE ON Dazez BEGIN "
                           "SELECT RAISE(ABORT, 'refused'); END"));
    EXPECT_FALSE(frm->DeleteEvent());
    EXPECT_EQ(platform.messageBox.pendingAnswers(), 0u);
    EXPECT_EQ(rows(), 3);
    EXPECT_EQ(status(), kNotDeleted);
    EXPECT_TRUE(frm->Timer1->isActive());
}

TEST_F(CommandsTest, ThePopUpDeleteTakesTheSelectedRowAndRefillsOnceMore)
{
    // Each refill reverses the direction of the next one: the menu's delete refills once, the
    // pop-up's twice.
    const struct
    {
        bool popUp;
        std::int16_t sortAfter;
    } cases[] = {{false, 0}, {true, 1}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.popUp);
        execute(QStringLiteral("DELETE FROM Dazez"));
        loadThree();
        ASSERT_EQ(frm->intSortDesc, 1);
        frm->lvw1->ListItems().Item(2)->setSelected(true); // Bob
        frm->mlngCurrentId = c.popUp ? 0 : bob;
        platform.messageBox.expect(platform::mb::Yes, QStringLiteral("Deleting -- Bob"));
        if (c.popUp)
            frm->mnuPopupDelete_Click();
        else
            frm->mnuDelete_Click();
        EXPECT_EQ(frm->mlngCurrentId, bob);
        EXPECT_EQ(rows(), 2);
        EXPECT_EQ(frm->intSortDesc, c.sortAfter);
        delete frm.data();
    }
}

TEST_F(CommandsTest, ThePopUpDeleteWithoutASelectedRowDeletesNothing)
{
    loadThree();
    frm->mlngCurrentId = ann;
    ASSERT_EQ(frm->lvw1->SelectedItem(), nullptr);
    frm->mnuPopupDelete_Click();
    EXPECT_TRUE(platform.messageBox.calls().empty());
    EXPECT_EQ(rows(), 3);
    EXPECT_EQ(frm->mlngCurrentId, ann);
    EXPECT_EQ(status(), QStringLiteral("There is no data to delete"));
}

// Answers the save dialog after noting the program's pointer at that moment.
class PointerProbe : public platform::FileDialogService
{
public:
    explicit PointerProbe(std::optional<QString> answer)
        : mAnswer(std::move(answer)), mBefore(platform::services())
    {
        platform::Services s = mBefore;
        s.fileDialogs = this;
        platform::installServices(s);
    }
    ~PointerProbe() override { platform::installServices(mBefore); }

    std::optional<QString> open(const platform::FileDialogRequest &, QWidget *) override
    {
        return std::nullopt;
    }
    std::optional<QString> save(const platform::FileDialogRequest &, QWidget *) override
    {
        pointers.push_back(platform::screenMousePointer());
        overrideShape = QGuiApplication::overrideCursor()
                            ? std::optional(QGuiApplication::overrideCursor()->shape())
                            : std::nullopt;
        return mAnswer;
    }

    std::vector<int> pointers;
    std::optional<Qt::CursorShape> overrideShape;

private:
    std::optional<QString> mAnswer;
    platform::Services mBefore;
};

TEST_F(CommandsTest, TheBackupShowsTheHourglassAndSaysHowItWent)
{
    loadThree();
    const QString target = QDir(platform.programFolder()).filePath(QStringLiteral("copy.mdb"));
    const struct
    {
        const char *name;
        std::optional<QString> path;
        QString status;
    } cases[] = {
        {"copied", target, QStringLiteral("The database has been backed up")},
        {"cannot be written",
         QDir(platform.programFolder()).filePath(QStringLiteral("missing/copy.mdb")),
         QStringLiteral("An error has occured while backing up the database")},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        PointerProbe probe(c.path);
        frm->mnuBackupDB_Click();
        EXPECT_EQ(probe.pointers, std::vector<int>{platform::vbHourglass});
        EXPECT_EQ(probe.overrideShape, Qt::WaitCursor);
        EXPECT_EQ(status(), c.status);
        EXPECT_EQ(platform::screenMousePointer(), platform::vbDefault);
        EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
        EXPECT_EQ(rows(), 3) << "the database is open again";
    }
    EXPECT_TRUE(QFile::exists(target));
}

TEST_F(CommandsTest, TheHelpCommandsOpenTheTopicsAndTopicFive)
{
    loadThree();
    gstrHelpFile = core::programPath(QStringLiteral("virazivuzo.hlp"));
    frm->mnuContents_Click();
    frm->mnuIndex_Click();
    ASSERT_EQ(platform.help.calls.size(), 2u);
    const struct
    {
        unsigned command;
        std::uintptr_t data;
    } expected[] = {{platform::help::HELP_TAB, 0}, {platform::help::HELP_CONTEXT, 5}};
    for (std::size_t i = 0; i < 2; ++i) {
        EXPECT_EQ(platform.help.calls[i].owner, frm.data());
        EXPECT_EQ(platform.help.calls[i].helpFile, gstrHelpFile);
        EXPECT_EQ(platform.help.calls[i].command, expected[i].command);
        EXPECT_EQ(platform.help.calls[i].data, expected[i].data);
    }
}

TEST_F(CommandsTest, TheWebsiteAndAboutCommandsOpenTheProductPageAndTheAboutWindow)
{
    loadThree();
    int aboutShown = 0;
    core::startupHooks().showAbout = [&] { ++aboutShown; };
    frm->mnuWebsite_Click();
    frm->mnuAbout_Click();
    core::startupHooks().showAbout = nullptr;
    ASSERT_EQ(platform.shell.calls.size(), 1u);
    EXPECT_EQ(platform.shell.calls[0].owner, frm.data());
    EXPECT_EQ(platform.shell.calls[0].file, kProductPageUrl);
    EXPECT_EQ(aboutShown, 1);
}

} // namespace
