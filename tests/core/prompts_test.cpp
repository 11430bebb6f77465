#include "support/ScriptedPlatform.h"

#include "core/Globals.h"
#include "core/modMsg.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

class Prompts : public ::testing::Test
{
protected:
    void SetUp() override { core::resetGlobals(); }
    kxtest::ScriptedPlatform platform;
};

TEST_F(Prompts, TextsStylesAndResults)
{
    struct Case
    {
        const char *name;
        std::function<int()> ask;
        int answer;
        QString text;
        int style;
        int result;
    };
    const Case cases[] = {
        {"exit", [] { return int(msgExitingApp()); }, 7, QStringLiteral("Exiting Almanoria"), 36, 7},
        {"delete yes", [] { return int(msgDelete(QStringLiteral("Ann"))); }, 6,
         QStringLiteral("Deleting -- Ann"), 52, 1},
        {"delete no", [] { return int(msgDelete(QStringLiteral("Ann"))); }, 7,
         QStringLiteral("Deleting -- Ann"), 52, 0},
        {"delete without a name", [] { return int(msgDelete(QString())); }, 6,
         QStringLiteral("Deleting -- "), 52, 1},
        {"save changed", [] { return int(msgSaveChangedRecord()); }, 2,
         QStringLiteral("The data you have been working with has been changed. Would you like to "
                        "Save your changes before proceeding?"),
         35, 2},
        {"add event", [] { return int(msgAddNewEvent(QStringLiteral("Wedding"))); }, 6,
         QStringLiteral("Wedding is not currently listed as an Event.\r\n Would you like to add it "
                        "to Almanoria as an Event?"),
         36, 1},
        {"enter event", [] { return msgEnterEventName().isEmpty() ? 0 : 1; }, 1,
         QStringLiteral("Please enter an Event before continuing."), 64, 0},
        {"search yes", [] { return int(msgNoDbConnection()); }, 6,
         QStringLiteral("Almanoria is unable to find the database or you have an invalid "
                        "connection.\r\nWould you like to search for the database?"),
         36, 6},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const std::size_t before = platform.messageBox.calls().size();
        platform.messageBox.expect(c.answer);
        EXPECT_EQ(c.ask(), c.result);
        ASSERT_EQ(platform.messageBox.calls().size(), before + 1);
        const auto &call = platform.messageBox.calls().back();
        EXPECT_EQ(call.prompt, c.text);
        EXPECT_EQ(call.style, c.style);
        EXPECT_EQ(call.title, QStringLiteral("Almanoria"));
    }
}

TEST_F(Prompts, NoToTheDatabaseSearchEndsTheProgramAfterSayingSo)
{
    platform.messageBox.expect(7);
    platform.messageBox.expect(1, QStringLiteral("Almanoria is ending"));
    EXPECT_THROW(msgNoDbConnection(), platform::ProgramEnded);
    EXPECT_EQ(platform.program.endedWith, 0);
}

} // namespace
