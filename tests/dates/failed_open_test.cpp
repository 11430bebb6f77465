// A statement whose table is not there, answered Abort, Retry (after which the table is back) or
// Ignore, with and without a shared recordset left open by an earlier caller, through every
// procedure that opens a recordset. Whatever the answer, the procedure ends normally: a step
// that needs a recordset that was never opened raises 91 through the same dialog.

#include "DatesFixture.h"

#include "core/frmSplash.h"
#include "core/modDataSQL.h"
#include "core/mod_VOVuriv.h"
#include "dates/cDateHandler.h"
#include "platform/vb/Conversions.h"

#include <functional>
#include <ostream>

using kxdatestest::DatesTest;
using namespace platform::mb;

namespace {

// Passes every box on to the scripted one; the first Retry puts the hidden table back first, so
// the repeated step succeeds.
class MendingMessageBox : public platform::MessageBoxService
{
public:
    explicit MendingMessageBox(kxtest::ScriptedMessageBox &scripted) : mScripted(scripted) {}
    std::function<void()> mendOnRetry;

    int show(const QString &prompt, int style, const QString &title) override
    {
        const int answer = mScripted.show(prompt, style, title);
        if (answer == Retry && mendOnRetry)
            std::exchange(mendOnRetry, {})();
        return answer;
    }

private:
    kxtest::ScriptedMessageBox &mScripted;
};

// What is left in grsShared afterwards.
enum class Shared {
    AsBefore, // the recordset held before the call (or none)
    None,     // nothing
    Fresh,    // a recordset of the call's own statement
};

enum Answer { AnswerAbort, AnswerRetry, AnswerIgnore };

struct Outcome
{
    QString result;
    int boxes;
    Shared shared;
};

struct Case
{
    const char *name;
    const char *hiddenTable;
    const char *literal; // the procedure named in the boxes
    std::function<QString()> call;
    Outcome outcome[3]; // by Answer
};

QString text(std::int32_t n)
{
    return QString::number(n);
}

const std::vector<Case> &cases()
{
    static const std::vector<Case> list = {
        {"RSReadFrom",
         "Events",
         "cDAO.RSReadFrom",
         [] { return text(cDAO().RSReadFrom(QStringLiteral("SELECT * FROM Events"))); },
         {{"0", 1, Shared::AsBefore}, {"5", 1, Shared::Fresh}, {"0", 3, Shared::None}}},
        {"RSOpen",
         "Events",
         "cDAO.RSOpen",
         [] {
             cDAO().RSOpen(QStringLiteral("SELECT * FROM Events"));
             return QString();
         },
         {{"", 1, Shared::AsBefore}, {"", 1, Shared::Fresh}, {"", 1, Shared::None}}},
        {"GetEventName",
         "Events",
         "frmDazez.GetEventName",
         [] { return vb::CStr(GetEventName(1)); },
         {{"", 1, Shared::AsBefore}, {"Birthday", 1, Shared::AsBefore}, {"", 2, Shared::AsBefore}}},
        {"ReturnId",
         "Events",
         "cDAO.RSReadFrom",
         [] {
             return text(ReturnId(QStringLiteral("Events"), QStringLiteral("Events_EventName"),
                                  QStringLiteral("birthday"), QStringLiteral("Events_Id")));
         },
         {{"-1", 1, Shared::None}, {"1", 1, Shared::None}, {"-1", 3, Shared::None}}},
        {"ReturnString",
         "Events",
         "cDAO.RSReadFrom",
         [] {
             return ReturnString(QStringLiteral("Events"), QStringLiteral("Events_EventName"),
                                 QStringLiteral("Events_Id"), 1);
         },
         {{"", 1, Shared::None}, {"Birthday", 1, Shared::None}, {"", 3, Shared::None}}},
        {"SetComingEvents",
         "Dazez",
         "cDAO.RSReadFrom",
         [] {
             cDateHandler().SetComingEvents();
             return text(gcolUpcomingId.Count());
         },
         // Abort leaves the procedure (log only) on whatever it finds instead of its rows,
         // before it closes anything.
         {{"0", 1, Shared::AsBefore}, {"1", 1, Shared::None}, {"0", 3, Shared::None}}},
        {"FillAppUdts",
         "Settings",
         "cDAO.RSReadFrom",
         [] {
             frmSplash().FillAppUdts();
             return text(gudtSettings.DefaultAlertDays);
         },
         {{"0", 1, Shared::None}, {"3", 1, Shared::None}, {"0", 3, Shared::None}}},
    };
    return list;
}

// One procedure, one answer to the failed open, and whether an earlier caller left a shared
// recordset open.
using Combination = std::tuple<std::size_t, Answer, bool>;

class FailedOpenTest : public DatesTest, public ::testing::WithParamInterface<Combination>
{
protected:
    void SetUp() override
    {
        DatesTest::SetUp();
        ASSERT_FALSE(HasFatalFailure());
        kxdatestest::Entry coming;
        coming.daysTil = 1;
        addEntry(coming);
        // The earlier caller's recordset is on a table no case hides.
        execute(QStringLiteral("CREATE TABLE Spare (Spare_Id INTEGER)"));
        execute(QStringLiteral("INSERT INTO Spare VALUES (7)"));
        mPrevious = platform::services().messageBox;
        platform::services().messageBox = &mBox;
    }
    void TearDown() override
    {
        platform::services().messageBox = mPrevious;
        DatesTest::TearDown();
    }

    // The table goes aside until the first Retry brings it back.
    void hide(const QString &table)
    {
        execute(QStringLiteral("ALTER TABLE %1 RENAME TO %1_aside").arg(table));
        mBox.mendOnRetry = [this, table] {
            execute(QStringLiteral("ALTER TABLE %1_aside RENAME TO %1").arg(table));
        };
    }

    MendingMessageBox mBox{platform.messageBox};
    platform::MessageBoxService *mPrevious = nullptr;
};

TEST_P(FailedOpenTest, EveryAnswerEndsTheProcedureNormally)
{
    const auto [index, answer, sharedBefore] = GetParam();
    const Case &proc = cases().at(index);
    const Outcome &want = proc.outcome[answer];
    const QString literal = QString::fromLatin1(proc.literal);
    const int button[] = {Abort, Retry, Ignore};

    if (sharedBefore) {
        ASSERT_EQ(cDAO().RSReadFrom(QStringLiteral("SELECT * FROM Spare")), 1);
    }
    const std::shared_ptr<jet::Recordset> before = grsShared;
    hide(QString::fromLatin1(proc.hiddenTable));
    platform.messageBox.expect(button[answer], literal);
    // Each step after an ignored open that needs the recordset reports 91, and is ignored too.
    for (int i = 1; i < want.boxes; ++i)
        platform.messageBox.expect(Ignore, QStringLiteral("An error has occured: 91"));

    EXPECT_EQ(proc.call(), want.result);

    EXPECT_EQ(platform.messageBox.calls().size(), std::size_t(want.boxes));
    for (const auto &box : platform.messageBox.calls())
        EXPECT_TRUE(box.prompt.endsWith(literal)) << box.prompt.toStdString();
    switch (want.shared) {
    case Shared::AsBefore:
        EXPECT_EQ(grsShared, before);
        break;
    case Shared::None:
        EXPECT_FALSE(grsShared);
        break;
    case Shared::Fresh:
        ASSERT_TRUE(grsShared);
        EXPECT_NE(grsShared, before);
        EXPECT_EQ(vb::CLng(grsShared->Field(QStringLiteral("Events_Id"))), 1);
        break;
    }
}

std::string describe(const Combination &combination)
{
    static const char *const answers[] = {"Abort", "RetryThenSuccess", "Ignore"};
    const auto [index, answer, sharedBefore] = combination;
    return std::string(cases().at(index).name) + "_" + answers[answer] +
           (sharedBefore ? "_SharedOpen" : "_NoneOpen");
}

std::string combinationName(const ::testing::TestParamInfo<Combination> &info)
{
    return describe(info.param);
}

void PrintTo(const Combination &combination, std::ostream *os)
{
    *os << describe(combination);
}

INSTANTIATE_TEST_SUITE_P(ProceduresAnswers, FailedOpenTest,
                         ::testing::Combine(::testing::Range<std::size_t>(0, cases().size()),
                                            ::testing::Values(AnswerAbort, AnswerRetry,
                                                              AnswerIgnore),
                                            ::testing::Bool()),
                         combinationName);

} // namespace
