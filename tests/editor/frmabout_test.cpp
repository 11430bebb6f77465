#include "core/Globals.h"
#include "core/MainCode_QW.h"
#include "core/frmSplash.h"
#include "editor/frmAbout.h"

#include "platform/forms/Controls.h"
#include "support/ScriptedPlatform.h"

#include <QAccessible>
#include <QApplication>
#include <QPointer>
#include <QSet>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

std::vector<frmAbout *> openAboutWindows()
{
    std::vector<frmAbout *> windows;
    for (platform::Form *form : platform::Forms())
        if (auto *w = qobject_cast<frmAbout *>(form))
            windows.push_back(w);
    return windows;
}

QStringList accessibleTexts(QAccessibleInterface *node)
{
    QStringList texts;
    if (!node)
        return texts;
    if (!node->state().invisible) {
        texts << node->text(QAccessible::Name) << node->text(QAccessible::Description);
        for (int i = 0; i < node->childCount(); ++i)
            texts << accessibleTexts(node->child(i));
    }
    return texts;
}

class FrmAboutTest : public ::testing::Test
{
protected:
    void SetUp() override { core::resetGlobals(); }
    void TearDown() override
    {
        for (frmAbout *w : openAboutWindows())
            w->Unload();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        core::resetGlobals();
    }

    // Shown modeless, with its timer stopped so that the test drives the ticks itself.
    frmAbout *show()
    {
        auto *window = new frmAbout();
        window->Show();
        window->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(window));
        window->Timer1->stop();
        return window;
    }

    static qint64 shownFrame(const frmAbout *window) { return window->pic1->Picture().cacheKey(); }
    static qint64 frame(const frmAbout *window, int index)
    {
        return window->imgLogo[static_cast<std::size_t>(index)]->Picture().cacheKey();
    }

    kxtest::ScriptedPlatform platform;
};

TEST_F(FrmAboutTest, ShowsProductVersionCopyrightMakerAndUser)
{
    auto *window = new frmAbout();
    EXPECT_TRUE(window->Timer1->isActive()) << "the logo turns from the start";
    EXPECT_EQ(window->Timer1->interval(), 75);
    EXPECT_FALSE(window->mblnIsRunning);
    window->Show();

    EXPECT_TRUE(window->mblnIsRunning);
    EXPECT_EQ(window->Caption(), QStringLiteral("About Quarnwell's Almanoria"));
    EXPECT_EQ(window->lbl1[0]->Caption(), QStringLiteral("Almanoria"));
    EXPECT_EQ(window->lbl1[1]->Caption(), QStringLiteral("Almanoria"));
    EXPECT_EQ(window->lblCopyright[1]->Caption(), QStringLiteral("Version 2.12"));
    EXPECT_EQ(window->lblCopyright[0]->Caption(), frmSplash::kCopyright);
    EXPECT_EQ(window->lbl1[2]->Caption(), QStringLiteral("Quarnwell"));
    EXPECT_EQ(window->lbl1[3]->Caption(), QStringLiteral("Quarnwell"));
    EXPECT_EQ(window->lbl1[4]->Caption(), kHomePageUrl);
    EXPECT_EQ(window->lbl1[4]->inner()->toolTip(), QStringLiteral("Double click to go to website"));
    EXPECT_EQ(window->pic1->inner()->toolTip(), kHomePageUrl);
    EXPECT_EQ(window->lblUser->Caption(), QStringLiteral("tester"));
    EXPECT_EQ(window->cmdOK->Caption(), QStringLiteral("&Ok"));
    // Centred on the 1024 x 768 screen.
    const QRect frame = window->frameGeometry();
    EXPECT_NEAR(frame.center().x(), 512, 2);
    EXPECT_NEAR(frame.center().y(), 384, 2);
    EXPECT_TRUE(platform.messageBox.calls().empty());
}

TEST_F(FrmAboutTest, TheWindowsTextsReachTheAccessibilityInterface)
{
    frmAbout *window = show();
    const QStringList texts = accessibleTexts(QAccessible::queryAccessibleInterface(window));
    for (const QString &text :
         {QStringLiteral("About Quarnwell's Almanoria"), QStringLiteral("Almanoria"),
          QStringLiteral("Version 2.12"), frmSplash::kCopyright, QStringLiteral("Quarnwell"),
          kHomePageUrl, QStringLiteral("tester"), QStringLiteral("Ok"),
          QStringLiteral("Quarnwell logo")})
        EXPECT_TRUE(texts.contains(text)) << text.toStdString();
}

TEST_F(FrmAboutTest, TheUserNameIsShownUpToItsFirstNulAndNothingWhenTheCallFails)
{
    const QString longest(198, QLatin1Char('u'));
    const struct
    {
        std::optional<QString> user;
        QString shown;
    } cases[] = {
        {QStringLiteral("tester"), QStringLiteral("tester")},
        {QStringLiteral("ab") + QChar(u'\0') + QStringLiteral("cd"), QStringLiteral("ab")},
        {std::nullopt, QString()},
        {QString(), QString()},
        {longest, longest},
        {longest + QLatin1Char('u'), QString()}, // does not fit the 199-character buffer
    };
    for (const auto &c : cases) {
        platform.systemInfo.user = c.user;
        frmAbout *window = show();
        EXPECT_EQ(window->lblUser->Caption(), c.shown) << c.user.value_or("(fails)").toStdString();
        window->Unload();
    }
    EXPECT_TRUE(platform.messageBox.calls().empty());
}

TEST_F(FrmAboutTest, EachTickShowsTheNextOfThirtyFramesAndTheCountStartsAgainAfterThirty)
{
    frmAbout *window = show();
    EXPECT_EQ(window->frameCounter(), 0);
    EXPECT_EQ(shownFrame(window), frame(window, 0));

    for (int tick = 1; tick <= 61; ++tick) {
        window->Timer1_Timer();
        const int counter = (tick - 1) % 30 + 1;
        ASSERT_EQ(window->frameCounter(), counter) << "tick " << tick;
        ASSERT_EQ(shownFrame(window), frame(window, counter - 1)) << "tick " << tick;
    }

    // Thirty frames of their own: the logo moves at every tick.
    QSet<QByteArray> pictures;
    for (int i = 0; i < frmAbout::kLogoFrames; ++i) {
        const QImage image =
            window->imgLogo[static_cast<std::size_t>(i)]->Picture().pixmap(32, 32).toImage();
        EXPECT_EQ(image.size(), QSize(32, 32));
        pictures.insert(QByteArray(reinterpret_cast<const char *>(image.constBits()),
                                   static_cast<int>(image.sizeInBytes())));
    }
    EXPECT_EQ(pictures.size(), frmAbout::kLogoFrames);
}

TEST_F(FrmAboutTest, ADoubleClickOnTheLogoOrAnyNameLabelFreezesTheLogoAndOpensTheHomePage)
{
    const std::vector<int> labels = {0, 1, 2, 3, 4, 5, 8};
    for (int target = -1; target < static_cast<int>(labels.size()); ++target) {
        platform.shell.calls.clear();
        frmAbout *window = show();
        for (int i = 0; i < 3; ++i)
            window->Timer1_Timer();
        window->Timer1->start();
        platform::Control *clicked =
            target < 0
                ? static_cast<platform::Control *>(window->pic1)
                : window->lbl1[static_cast<std::size_t>(labels[static_cast<std::size_t>(target)])];
        const std::string name =
            target < 0 ? "pic1"
                       : "lbl1(" + std::to_string(labels[static_cast<std::size_t>(target)]) + ")";

        QTest::mouseDClick(clicked->inner(), Qt::LeftButton);

        EXPECT_FALSE(window->Timer1->isActive()) << name;
        EXPECT_EQ(window->frameCounter(), 3) << name;
        EXPECT_EQ(shownFrame(window), frame(window, 2)) << name;
        ASSERT_EQ(platform.shell.calls.size(), 1u) << name;
        const kxtest::ShellCall &call = platform.shell.calls[0];
        EXPECT_EQ(call.owner, window);
        EXPECT_EQ(call.operation, QStringLiteral("open"));
        EXPECT_EQ(call.file, kHomePageUrl);
        EXPECT_TRUE(call.parameters.isEmpty());
        EXPECT_TRUE(call.directory.isEmpty());
        EXPECT_EQ(call.showCommand, 1);
        EXPECT_FALSE(window->isUnloaded()) << name;
        EXPECT_TRUE(window->isVisible()) << name;
        window->Unload();
    }
    EXPECT_TRUE(platform.messageBox.calls().empty());
}

TEST_F(FrmAboutTest, AShellThatCannotBeCalledIsPassedOverWithoutAWord)
{
    const struct
    {
        std::intptr_t result;
        bool raises;
    } cases[] = {{2, false}, {0, true}};
    for (const auto &c : cases) {
        platform.shell.result = c.result;
        if (c.raises)
            platform.shell.error = vb::RuntimeError(53, QStringLiteral("File not found: shell32"));
        frmAbout *window = show();
        window->Timer1->start();
        QTest::mouseDClick(window->pic1->inner(), Qt::LeftButton);
        EXPECT_FALSE(window->Timer1->isActive());
        EXPECT_FALSE(window->isUnloaded());
        window->Unload();
    }
    EXPECT_EQ(platform.shell.calls.size(), 2u);
    EXPECT_TRUE(platform.messageBox.calls().empty());
    EXPECT_TRUE(openAboutWindows().empty()) << "no web-link window either";
}

TEST_F(FrmAboutTest, EscOkAndTheCloseBoxCloseTheWindow)
{
    const std::vector<std::pair<const char *, std::function<void(frmAbout *)>>> ways = {
        {"Esc", [](frmAbout *w) { QTest::keyClick(w, Qt::Key_Escape); }},
        {"Enter on OK", [](frmAbout *w) { QTest::keyClick(w->cmdOK->inner(), Qt::Key_Return); }},
        {"OK", [](frmAbout *w) { w->cmdOK->click(); }},
        {"close box", [](frmAbout *w) { w->close(); }},
    };
    for (const auto &[way, close] : ways) {
        QPointer<frmAbout> window = show();
        EXPECT_EQ(window->ActiveControl(), window->cmdOK) << way;
        bool runningAtUnload = true;
        QObject::connect(window, &platform::Form::Unloaded,
                         [&] { runningAtUnload = window->mblnIsRunning; });
        close(window);
        EXPECT_TRUE(window.isNull() || window->isUnloaded()) << way;
        EXPECT_FALSE(runningAtUnload) << way;
    }
    EXPECT_TRUE(openAboutWindows().empty());
}

TEST_F(FrmAboutTest, ShowAboutWindowIsModalAndReturnsWhenClosed)
{
    bool wasModal = false;
    QString caption;
    QTimer::singleShot(0, [&] {
        const std::vector<frmAbout *> windows = openAboutWindows();
        ASSERT_EQ(windows.size(), 1u);
        QPointer<frmAbout> window = windows[0];
        wasModal = window->isModal();
        caption = window->Caption();
        EXPECT_TRUE(QTest::qWaitForWindowActive(window));
        QTest::keyClick(window, Qt::Key_Escape);
        if (window && !window->isUnloaded()) {
            ADD_FAILURE() << "Esc left the window open";
            window->Unload();
        }
    });
    showAboutWindow();
    EXPECT_TRUE(wasModal);
    EXPECT_EQ(caption, QStringLiteral("About Quarnwell's Almanoria"));
    EXPECT_TRUE(openAboutWindows().empty());
}

} // namespace
