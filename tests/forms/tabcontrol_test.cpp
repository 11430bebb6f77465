#include "platform/forms/CheckBox.h"
#include "platform/forms/Form.h"
#include "platform/forms/TabControl.h"
#include "platform/vb/RuntimeError.h"
#include "support/ScriptedPlatform.h"

#include <QAccessible>
#include <QSignalSpy>
#include <QTabBar>
#include <QTabWidget>

#include <gtest/gtest.h>

using namespace platform;

namespace {

class TabControlTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        form = new Form(QStringLiteral("frmTest"));
        form->setClientSize(6000, 4500);
        tab = new TabControl(form, QStringLiteral("tab1"),
                             {QStringLiteral("Events      "), QStringLiteral("Settings")});
        tab->Move(120, 120, 5700, 4000);
    }
    void TearDown() override { delete form; }

    kxtest::ScriptedPlatform platform;
    Form *form = nullptr;
    TabControl *tab = nullptr;
};

TEST_F(TabControlTest, CaptionsAreShownAndReadExactlyTrailingBlanksIncluded)
{
    ASSERT_EQ(tab->Tabs(), 2);
    EXPECT_EQ(tab->TabCaption(0), QStringLiteral("Events      "));
    EXPECT_EQ(tab->TabCaption(1), QStringLiteral("Settings"));
    auto *tabs = static_cast<QTabWidget *>(tab->inner());
    EXPECT_EQ(tabs->tabBar()->tabText(0), QStringLiteral("Events      "));
    QAccessibleInterface *bar = QAccessible::queryAccessibleInterface(tabs->tabBar());
    ASSERT_NE(bar, nullptr);
    ASSERT_GE(bar->childCount(), 2);
    EXPECT_EQ(bar->child(1)->text(QAccessible::Name), QStringLiteral("Settings"));
    for (int bad : {-1, 2})
        EXPECT_THROW(tab->TabCaption(bad), vb::RuntimeError) << bad;
}

TEST_F(TabControlTest, APageHoldsItsControlsInTwipsAndShowsThemWithItsTab)
{
    auto *chk = new CheckBox(tab->page(1), QStringLiteral("chkSound"), QStringLiteral("Sound"));
    chk->Move(240, 660, 3000, 300);
    EXPECT_EQ(form->control(QStringLiteral("chkSound")), chk) << "registered with the window";
    EXPECT_EQ(chk->pos(), QPoint(16, 44));
    EXPECT_EQ(chk->Left(), 240);
    form->show();
    EXPECT_FALSE(chk->isVisible());

    QSignalSpy clicks(tab, &TabControl::Click);
    tab->setTab(1);
    EXPECT_TRUE(chk->isVisible());
    EXPECT_EQ(tab->Tab(), 1);
    ASSERT_EQ(clicks.count(), 1);
    EXPECT_EQ(clicks.at(0).at(0).toInt(), 0) << "Click names the tab before";
    tab->setTab(1);
    EXPECT_EQ(clicks.count(), 1) << "no change, no Click";
}

} // namespace
