#include "core/Globals.h"
#include "editor/cInternet.h"

#include "platform/forms/Controls.h"
#include "platform/forms/Form.h"
#include "support/ScriptedPlatform.h"

#include <gtest/gtest.h>

namespace {

const QString kAddress = QStringLiteral("http://www.example.org/page.htm");
const QString kRecipient = QStringLiteral("someone@example.org");

class CInternetTest : public ::testing::Test
{
protected:
    void SetUp() override { core::resetGlobals(); }
    void TearDown() override { core::resetGlobals(); }

    QStringList opened() const
    {
        QStringList files;
        for (const kxtest::ShellCall &call : platform.shell.calls)
            files << call.file;
        return files;
    }

    kxtest::ScriptedPlatform platform;
};

TEST_F(CInternetTest, TheActionWordIsLowerCasedWholeAndComparedExactly)
{
    const struct
    {
        vb::Variant action;
        QStringList opened;
    } cases[] = {
        {"URL", {kAddress}},
        {"Url", {kAddress}},
        {"url", {kAddress}},
        {"email", {QStringLiteral("mailto:") + kRecipient}},
        {"EMAIL", {QStringLiteral("mailto:") + kRecipient}},
        {"web", {}},
        {"", {}},
        {" url", {}},
        {"url ", {}},
        {"e-mail", {}},
        {vb::Variant(), {}},
        {vb::Variant::null(), {}},
        {std::int32_t(1), {}},
    };
    int row = 0;
    for (const auto &c : cases) {
        ++row;
        platform.shell.calls.clear();
        cInternet internet;
        internet.setPrpURL(kAddress);
        internet.setPrpMailTo(kRecipient);
        internet.setPrpAction(c.action);
        EXPECT_EQ(opened(), c.opened) << "case " << row;
        EXPECT_EQ(std::get<vb::Variant>(internet.prpAction()), c.action) << "case " << row;
    }
    EXPECT_TRUE(platform.messageBox.calls().empty());
}

TEST_F(CInternetTest, EachAssignmentOfTheWordActsAgainWithTheValuesOfThatMoment)
{
    cInternet internet;
    internet.setPrpMailTo(kRecipient);
    internet.setPrpAction("email");
    internet.setPrpAction("email");
    EXPECT_EQ(opened(), QStringList(2, QStringLiteral("mailto:") + kRecipient));

    // A recipient set after the word waits for the word to be assigned again.
    internet.setPrpMailTo(QStringLiteral("other@example.org"));
    EXPECT_EQ(platform.shell.calls.size(), 2u);
    internet.setPrpAction("email");
    EXPECT_EQ(opened().last(), QStringLiteral("mailto:other@example.org"));

    // No recipient at all, or Null, still opens a new mail.
    cInternet empty;
    empty.setPrpAction("email");
    empty.setPrpMailTo(vb::Variant::null());
    empty.SendEmail();
    EXPECT_EQ(opened().mid(3), QStringList(2, QStringLiteral("mailto:")));
}

TEST_F(CInternetTest, TheShellIsCalledAsOpenWithTheOwnersHandleAndNothingElse)
{
    platform::Form owner(QStringLiteral("frmDazez"));
    const std::int32_t handle = owner.hWnd();
    const struct
    {
        vb::Variant hwnd;
        QWidget *expected;
    } cases[] = {{vb::Variant(), nullptr}, {std::int32_t(0), nullptr}, {handle, &owner}};
    for (const auto &c : cases) {
        platform.shell.calls.clear();
        cInternet internet;
        internet.setPrpHwnd(c.hwnd);
        internet.setPrpURL(kAddress);
        internet.GoOnline();
        ASSERT_EQ(platform.shell.calls.size(), 1u);
        const kxtest::ShellCall &call = platform.shell.calls[0];
        EXPECT_EQ(call.owner, c.expected);
        EXPECT_EQ(call.operation, QStringLiteral("open"));
        EXPECT_EQ(call.file, kAddress);
        EXPECT_TRUE(call.parameters.isEmpty());
        EXPECT_TRUE(call.directory.isEmpty());
        EXPECT_EQ(call.showCommand, 1);
    }
}

TEST_F(CInternetTest, AReferenceIsKeptAndReadWhenTheValueIsUsed)
{
    platform::Form form(QStringLiteral("frmTest"));
    auto *address = new platform::TextBox(&form, QStringLiteral("txtAddress"));
    auto *recipient = new platform::Label(&form, QStringLiteral("lblTo"));
    auto *word = new platform::TextBox(&form, QStringLiteral("txtWord"));
    address->setText(QStringLiteral("http://first.example.org/"));
    word->setText(QStringLiteral("url"));

    cInternet internet;
    internet.setPrpURL(address);
    internet.setPrpMailTo(recipient);
    internet.setPrpAction(word);
    EXPECT_TRUE(platform.shell.calls.empty()) << "a reference to the word only stores it";
    EXPECT_EQ(std::get<QPointer<QObject>>(internet.prpAction()).data(), word);
    EXPECT_EQ(std::get<QPointer<QObject>>(internet.prpURL()).data(), address);

    address->setText(kAddress);
    recipient->setCaption(kRecipient);
    internet.GoOnline();
    internet.SendEmail();
    EXPECT_EQ(opened(), (QStringList{kAddress, QStringLiteral("mailto:") + kRecipient}));

    // By value, the value is copied: a later change of the box is not seen.
    internet.setPrpURL(vb::Variant(address->Text()));
    address->setText(QStringLiteral("http://changed.example.org/"));
    internet.setPrpAction("URL");
    EXPECT_EQ(opened().last(), kAddress);
    EXPECT_TRUE(platform.messageBox.calls().empty());
}

TEST_F(CInternetTest, FailedStepsGoToTheErrorDialogUnderEachMethodsOwnName)
{
    // GoOnline: a Null address cannot become text (94); Abort leaves without a shell call.
    cInternet internet;
    internet.setPrpURL(vb::Variant::null());
    platform.messageBox.expect(platform::mb::Abort, QStringLiteral("cHttp.GoOnline"));
    internet.setPrpAction("url");
    EXPECT_TRUE(platform.shell.calls.empty());

    // SendEmail: the shell cannot be called; Retry repeats the call, Ignore goes on.
    platform.shell.error = vb::RuntimeError(53, QStringLiteral("File not found: shell32"));
    platform.messageBox.expect(platform::mb::Retry, QStringLiteral("SendEmail"));
    platform.messageBox.expect(platform::mb::Ignore, QStringLiteral("SendEmail"));
    internet.setPrpMailTo(kRecipient);
    internet.setPrpAction("email");
    EXPECT_EQ(platform.shell.calls.size(), 2u);
    ASSERT_EQ(platform.messageBox.calls().size(), 3u);
    EXPECT_TRUE(platform.messageBox.calls()[1].prompt.endsWith(QLatin1String("\r\nSendEmail")));

    // A reference to an object without a value of its own.
    platform.shell.error.reset();
    platform::Form form(QStringLiteral("frmTest"));
    internet.setPrpURL(&form);
    platform.messageBox.expect(platform::mb::Abort, QStringLiteral("438"));
    internet.GoOnline();
    EXPECT_EQ(platform.shell.calls.size(), 2u);
    EXPECT_EQ(platform.messageBox.pendingAnswers(), 0u);
}

} // namespace
