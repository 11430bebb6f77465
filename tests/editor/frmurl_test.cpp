#include "core/Globals.h"
#include "core/MainCode_QW.h"
#include "core/StartupHooks.h"
#include "editor/frmURL.h"

#include "platform/forms/Controls.h"
#include "platform/forms/Form.h"
#include "support/ScriptedPlatform.h"

#include <QApplication>
#include <QLineEdit>
#include <QPointer>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

std::vector<frmURL *> openUrlWindows()
{
    std::vector<frmURL *> windows;
    for (platform::Form *form : platform::Forms())
        if (auto *w = qobject_cast<frmURL *>(form))
            windows.push_back(w);
    return windows;
}

class FrmUrlTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        core::resetGlobals();
        core::startupHooks().showWebsiteFallback = nullptr;
    }
    void TearDown() override
    {
        for (frmURL *w : openUrlWindows())
            w->Unload();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        core::startupHooks().showWebsiteFallback = nullptr;
        core::resetGlobals();
    }

    frmURL *showModeless()
    {
        auto *window = new frmURL();
        window->Show();
        window->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(window));
        return window;
    }

    kxtest::ScriptedPlatform platform;
};

TEST_F(FrmUrlTest, ShowsTheMessageAndBothAddresses)
{
    frmURL *window = showModeless();
    EXPECT_EQ(window->Caption(), QStringLiteral("Almanoria - Website"));
    EXPECT_EQ(window->lbl1->Caption(),
              QStringLiteral("Almanoria has been unable to establish an Internet connection.\r\n"
                             "Copy and paste one of the links below into your internet browser "
                             "and then try to establish a connection."));
    EXPECT_EQ(window->lbl2->Caption(), QStringLiteral("Almanoria Website:"));
    EXPECT_EQ(window->Label1->Caption(), QStringLiteral("Quarnwell website:"));
    EXPECT_EQ(window->Txt1->Text(), kProductPageUrl);
    EXPECT_EQ(window->Txt2->Text(), kHomePageUrl);
    EXPECT_TRUE(kProductPageUrl.startsWith(QLatin1String("http://")));
    EXPECT_TRUE(kProductPageUrl.endsWith(QLatin1String("/kalendrix.htm")));
    EXPECT_EQ(window->cmdCancel->Caption(), QStringLiteral("Cancel"));
    // Centred on the 1024 x 768 screen.
    const QRect frame = window->frameGeometry();
    EXPECT_NEAR(frame.center().x(), 512, 2);
    EXPECT_NEAR(frame.center().y(), 384, 2);
    EXPECT_TRUE(platform.messageBox.calls().empty());
}

TEST_F(FrmUrlTest, TheAddressBoxesTakeNoKeyAndSelectTheirTextOnFocus)
{
    frmURL *window = showModeless();
    for (platform::TextBox *box : {window->Txt1, window->Txt2}) {
        const QString before = box->Text();
        box->SetFocus();
        QApplication::processEvents();
        EXPECT_EQ(box->SelStart(), 0) << box->Name().toStdString();
        EXPECT_EQ(box->SelLength(), before.size()) << box->Name().toStdString();

        QWidget *edit = box->inner();
        QTest::keyClicks(edit, QStringLiteral("xyz"));
        for (Qt::Key key : {Qt::Key_Delete, Qt::Key_Backspace, Qt::Key_Space, Qt::Key_End})
            QTest::keyClick(edit, key);
        QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
        QTest::keyClick(edit, Qt::Key_X, Qt::ControlModifier);
        EXPECT_EQ(box->Text(), before) << box->Name().toStdString();
    }
    // Tab still moves on.
    window->Txt1->SetFocus();
    QApplication::processEvents();
    QTest::keyClick(window->Txt1->inner(), Qt::Key_Tab);
    QApplication::processEvents();
    EXPECT_EQ(window->ActiveControl(), window->Txt2);
    EXPECT_EQ(window->Txt2->SelLength(), window->Txt2->Text().size());
}

TEST_F(FrmUrlTest, EscLeavesTheWindowOpenAndEnterClosesIt)
{
    QPointer<frmURL> window = showModeless();
    window->Txt1->SetFocus();
    QTest::keyClick(window->Txt1->inner(), Qt::Key_Escape);
    ASSERT_FALSE(window.isNull());
    EXPECT_FALSE(window->isUnloaded());
    EXPECT_TRUE(window->isVisible());

    QTest::keyClick(window->Txt1->inner(), Qt::Key_Return);
    EXPECT_TRUE(window.isNull() || window->isUnloaded());
    EXPECT_TRUE(openUrlWindows().empty());
}

TEST_F(FrmUrlTest, TheFallbackWindowIsModalAndReturnsWhenClosed)
{
    bool wasModal = false;
    QTimer::singleShot(0, [&] {
        const std::vector<frmURL *> windows = openUrlWindows();
        ASSERT_EQ(windows.size(), 1u);
        wasModal = windows[0]->isModal();
        windows[0]->cmdOK->click();
    });
    showWebsiteFallbackWindow();
    EXPECT_TRUE(wasModal);
    EXPECT_TRUE(openUrlWindows().empty());
}

// ---- OpenWebsite -------------------------------------------------------------------------

TEST_F(FrmUrlTest, OpenWebsiteFallsBackOnlyWhenTheShellCallItselfFails)
{
    const struct
    {
        std::intptr_t result;
        bool raises;
        bool fallback;
    } cases[] = {{42, false, false}, {2, false, false}, {31, false, false}, {0, true, true}};
    for (const auto &c : cases) {
        platform.shell.calls.clear();
        platform.shell.result = c.result;
        if (c.raises)
            platform.shell.error = vb::RuntimeError(53, QStringLiteral("File not found: shell32"));
        else
            platform.shell.error.reset();
        int shown = 0;
        bool sawAddress = false;
        core::startupHooks().showWebsiteFallback = [&] {
            ++shown;
            QTimer::singleShot(0, [&] {
                const std::vector<frmURL *> windows = openUrlWindows();
                ASSERT_EQ(windows.size(), 1u);
                sawAddress = windows[0]->Txt1->Text() == kProductPageUrl;
                windows[0]->cmdOK->click();
            });
            showWebsiteFallbackWindow();
        };
        platform::Form owner(QStringLiteral("frmDazez"));

        OpenWebsite(&owner);

        ASSERT_EQ(platform.shell.calls.size(), 1u);
        const kxtest::ShellCall &call = platform.shell.calls[0];
        EXPECT_EQ(call.owner, &owner);
        EXPECT_EQ(call.operation, QStringLiteral("open"));
        EXPECT_EQ(call.file, kProductPageUrl);
        EXPECT_TRUE(call.parameters.isEmpty());
        EXPECT_TRUE(call.directory.isEmpty());
        EXPECT_EQ(call.showCommand, 1);
        EXPECT_EQ(shown, c.fallback ? 1 : 0) << "result " << c.result;
        EXPECT_EQ(sawAddress, c.fallback);
        EXPECT_TRUE(openUrlWindows().empty());
    }
    EXPECT_TRUE(platform.messageBox.calls().empty()) << "OpenWebsite reports nothing";
}

} // namespace
