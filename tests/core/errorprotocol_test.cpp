#include "support/ScriptedPlatform.h"

#include "core/ErrorProtocol.h"
#include "core/Globals.h"
#include "core/modFehlerHandler.h"
#include "core/modDataSQL.h"

#include <QFile>
#include <gtest/gtest.h>

#include <vector>

namespace {

using core::ErrorVariant;
using core::Procedure;

// Three steps; the second fails as often as `failures` says. Records which steps ran.
struct ThreeSteps
{
    int failures = 1;
    std::vector<int> ran;
    int result = 0;

    int run(Procedure &p)
    {
        p([&] { ran.push_back(1); result = 1; });
        p([&] {
            ran.push_back(2);
            if (failures-- > 0)
                vb::raise(vb::err::ObjectVariableNotSet);
            result = 2;
        });
        p([&] { ran.push_back(3); result = 3; });
        return result;
    }
};

class ErrorProtocol : public ::testing::Test
{
protected:
    void SetUp() override { core::resetGlobals(); }
    QString log() const
    {
        QFile f(platform.programFolder() + QStringLiteral("/DebugLog.TXT"));
        return f.open(QIODevice::ReadOnly) ? QString::fromLocal8Bit(f.readAll()) : QString();
    }
    kxtest::ScriptedPlatform platform;
};

TEST_F(ErrorProtocol, DialogAnswersDecideWhatFollowsTheFailedStep)
{
    struct Case
    {
        const char *name;
        std::vector<int> answers;
        std::vector<int> ran;
        int result;
        bool left;
    };
    const Case cases[] = {
        {"retry repeats only the failed step", {4}, {1, 2, 2, 3}, 3, false},
        {"retry as long as it fails", {4, 4}, {1, 2, 2, 2, 3}, 3, false},
        {"ignore goes on with the next step", {5}, {1, 2, 3}, 3, false},
        {"abort leaves with the result so far", {3}, {1, 2}, 1, true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        ThreeSteps steps;
        steps.failures = static_cast<int>(c.answers.size());
        for (int a : c.answers)
            platform.messageBox.expect(a, QStringLiteral("Test.Steps"));
        Procedure p(QStringLiteral("Test.Steps"));
        EXPECT_EQ(steps.run(p), c.result);
        EXPECT_EQ(steps.ran, c.ran);
        EXPECT_EQ(p.left(), c.left);
    }
}

TEST_F(ErrorProtocol, NonDialogVariantsNeverAsk)
{
    struct Case
    {
        ErrorVariant variant;
        std::vector<int> ran;
        bool logged;
    };
    const Case cases[] = {
        {ErrorVariant::LogOnly, {1, 2}, true},
        {ErrorVariant::LogAndContinue, {1, 2, 3}, true},
        {ErrorVariant::Silent, {1, 2, 3}, false},
    };
    for (const Case &c : cases) {
        QFile::remove(platform.programFolder() + QStringLiteral("/DebugLog.TXT"));
        core::resetDebugLogRunFlag();
        ThreeSteps steps;
        Procedure p(QStringLiteral("Test.Quiet"), c.variant);
        steps.run(p);
        EXPECT_EQ(steps.ran, c.ran);
        EXPECT_EQ(log().contains(QStringLiteral("Description: Test.Quiet")), c.logged);
    }
    EXPECT_TRUE(platform.messageBox.calls().empty());
}

TEST_F(ErrorProtocol, OwnHandlerComesFirst)
{
    ThreeSteps steps;
    steps.failures = 2;
    Procedure p(QStringLiteral("Test.Handler"));
    int asked = 0;
    p.setHandler([&](const vb::RuntimeError &e) {
        EXPECT_EQ(e.number(), 91);
        return ++asked == 1 ? core::ErrorAction::Retry : core::ErrorAction::Resume;
    });
    steps.run(p);
    EXPECT_EQ(steps.ran, (std::vector<int>{1, 2, 2, 3}));
    EXPECT_TRUE(platform.messageBox.calls().empty());
}

TEST_F(ErrorProtocol, TheProgramsEndIsNotAnError)
{
    Procedure p(QStringLiteral("Test.End"));
    EXPECT_THROW(p([&] { platform::services().program->end(0); }), platform::ProgramEnded);
    EXPECT_TRUE(platform.messageBox.calls().empty());
}

// A row step of a pass: a value the runtime cannot convert is that row's fault, logged while
// the pass goes on; anything else is the procedure's, handled by its variant.
TEST_F(ErrorProtocol, ARowStepLogsAValueItCannotConvertAndGoesOnAnythingElseFollowsTheVariant)
{
    const struct
    {
        int error;
        ErrorVariant variant;
        bool goesOn;
        std::size_t boxes;
    } cases[] = {
        {vb::err::TypeMismatch, ErrorVariant::LogOnly, true, 0},
        {vb::err::InvalidUseOfNull, ErrorVariant::LogOnly, true, 0},
        {vb::err::Overflow, ErrorVariant::Dialog, true, 0},
        {vb::err::ObjectVariableNotSet, ErrorVariant::LogOnly, false, 0},
        {3026, ErrorVariant::LogOnly, false, 0}, // the file
        {vb::err::ObjectVariableNotSet, ErrorVariant::Dialog, false, 1},
    };
    for (const auto &c : cases) {
        QFile::remove(platform.programFolder() + QStringLiteral("/DebugLog.TXT"));
        core::resetDebugLogRunFlag();
        const std::size_t boxesBefore = platform.messageBox.calls().size();
        if (c.boxes)
            platform.messageBox.expect(platform::mb::Abort);
        Procedure p(QStringLiteral("Test.Rows"), c.variant);
        std::vector<int> rows;
        for (int row = 1; row <= 3; ++row) {
            const bool read = p.rowStep([&] {
                if (row == 2)
                    vb::raise(c.error);
            });
            if (read)
                rows.push_back(row);
            p([] {}); // the move to the next row
        }
        EXPECT_EQ(rows, c.goesOn ? std::vector<int>({1, 3}) : std::vector<int>({1})) << c.error;
        EXPECT_EQ(p.ok(), c.goesOn) << c.error;
        EXPECT_EQ(log().count(QStringLiteral("Description: Test.Rows")), 1) << c.error;
        EXPECT_TRUE(log().contains(QStringLiteral("Number: %1").arg(c.error))) << c.error;
        EXPECT_EQ(platform.messageBox.calls().size() - boxesBefore, c.boxes) << c.error;
    }
}

TEST_F(ErrorProtocol, HandleErrorLogsFirstThenAsksWithTheExactPrompt)
{
    // A message box that reads the log at the moment it is shown.
    struct PeekingBox : platform::MessageBoxService
    {
        QString folder, logAtShow, prompt;
        int style = 0;
        QString title;
        int show(const QString &p, int s, const QString &t) override
        {
            QFile f(folder + QStringLiteral("/DebugLog.TXT"));
            if (f.open(QIODevice::ReadOnly))
                logAtShow = QString::fromLocal8Bit(f.readAll());
            prompt = p;
            style = s;
            title = t;
            return 4;
        }
    } box;
    box.folder = platform.programFolder();
    platform::Services s = platform::services();
    s.messageBox = &box;
    platform::installServices(s);

    const vb::Variant answer = HandleError(
        91, vb::standardDescription(91), QStringLiteral("frmDazez.LoadEditor"));

    EXPECT_EQ(answer, vb::Variant(std::int16_t(4)));
    EXPECT_EQ(box.prompt, QStringLiteral("An error has occured: 91\r\nObject variable or With "
                                         "block variable not set\r\nfrmDazez.LoadEditor"));
    EXPECT_EQ(box.style, 18);
    EXPECT_EQ(box.title, QStringLiteral("Almanoria"));
    EXPECT_TRUE(box.logAtShow.contains(QStringLiteral("Description: frmDazez.LoadEditor")));
}

TEST_F(ErrorProtocol, HandleErrorStillAsksWhenTheLogCannotBeWritten)
{
    platform.program.folderPath = platform.programFolder() + QStringLiteral("/missing/folder");
    platform.messageBox.expect(3, QStringLiteral("An error has occured: -5"));
    EXPECT_EQ(HandleError(-5, QStringLiteral("x"), QStringLiteral("T.P")),
              vb::Variant(std::int16_t(3)));
    EXPECT_EQ(LogError(7, QStringLiteral("x"), QStringLiteral("T.P")), 0);
}

} // namespace
