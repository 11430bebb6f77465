// The window's make-up: its controls where the design puts them, and readable by screen readers.

#include "MainWindowFixture.h"

#include "platform/forms/DTPicker.h"
#include "platform/forms/MonthView.h"
#include "platform/forms/TabControl.h"

#include <QAccessible>
#include <QApplication>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>

using kxmaintest::MainWindowTest;

namespace {

QString accessibleName(QWidget *widget)
{
    QAccessibleInterface *a = QAccessible::queryAccessibleInterface(widget);
    return a ? a->text(QAccessible::Name) : QString();
}

// The name of the label a screen reader announces with the field.
QString labelName(QWidget *widget)
{
    QAccessibleInterface *a = QAccessible::queryAccessibleInterface(widget);
    if (!a)
        return {};
    const auto labels = a->relations(QAccessible::Label);
    return labels.isEmpty() ? QString() : labels.first().first->text(QAccessible::Name);
}

class WindowTest : public MainWindowTest
{
};

TEST_F(WindowTest, TheTabsHoldTheirControlsAndThePlaceholderLiesOutsideTheWindow)
{
    addEntry(QStringLiteral("Ann"), QStringLiteral("1980-12-12"));
    load();
    EXPECT_EQ(frm->tab1->TabCaption(0), QStringLiteral("Events      "));
    EXPECT_EQ(frm->tab1->TabCaption(1), QStringLiteral("Settings"));
    EXPECT_EQ(frm->lvw1->parentWidget(), frm->tab1->page(0));
    EXPECT_EQ(frm->MonthView1->parentWidget(), frm->tab1->page(0));
    for (platform::Control *c : std::initializer_list<platform::Control *>{
             frm->chkSound, frm->chkTimerOn, frm->chkShowEvents, frm->chkSysTray,
             frm->cboDefalutAlertDays, frm->cboDefaultEvent, frm->DTPDefaultTime})
        EXPECT_EQ(c->parentWidget(), frm->tab1->page(1)) << c->Name().toStdString();

    // Every control of a page lies inside it, and the tab control inside the window above
    // the status bar.
    for (int page = 0; page < 2; ++page) {
        frm->tab1->setTab(page);
        const QRect area = frm->tab1->page(page)->rect();
        for (platform::Control *c : frm->Controls()) {
            if (c->parentWidget() == frm->tab1->page(page)) {
                EXPECT_TRUE(area.contains(c->geometry())) << c->Name().toStdString();
            }
        }
    }
    EXPECT_LE(frm->tab1->geometry().bottom(), frm->statBar1->geometry().top());
    EXPECT_EQ(frm->statBar1->geometry().bottom(), frm->height() - 1);

    EXPECT_EQ(frm->chkDummy->Caption(), QStringLiteral("PlatzHolder"));
    EXPECT_NEAR(frm->chkDummy->Left(), -5000, 15); // to the pixel
    EXPECT_NEAR(frm->chkDummy->Top(), -100, 15);
    EXPECT_EQ(frm->chkDummy->parentWidget(), frm);
}

TEST_F(WindowTest, ScreenReadersReadTheTabsTheListAndEachFieldByItsCaption)
{
    addEntry(QStringLiteral("Ann"), QStringLiteral("1980-12-12"));
    addEntry(QStringLiteral("Bob"), QStringLiteral("1975-12-20"), 2);
    load();
    const struct
    {
        platform::Control *control;
        const char *name;
    } boxes[] = {
        {frm->chkSound, "Use Alarm sound"},
        {frm->chkTimerOn, "Timer ON"},
        {frm->chkShowEvents, "Show Events at start up"},
        {frm->chkSysTray, "Start in System Tray"},
    };
    for (const auto &b : boxes)
        EXPECT_EQ(accessibleName(b.control->inner()), QString::fromLatin1(b.name));
    const struct
    {
        platform::Control *control;
        const char *label;
    } fields[] = {
        {frm->cboDefalutAlertDays, "Default Alert days:"},
        {frm->cboDefaultEvent, "Default Event:"},
        {frm->DTPDefaultTime, "Default Event Time:"},
    };
    for (const auto &f : fields)
        EXPECT_EQ(labelName(f.control->inner()), QString::fromLatin1(f.label))
            << f.control->Name().toStdString();

    auto *tabs = static_cast<QTabWidget *>(frm->tab1->inner());
    QAccessibleInterface *bar = QAccessible::queryAccessibleInterface(tabs->tabBar());
    ASSERT_NE(bar, nullptr);
    ASSERT_EQ(bar->childCount() >= 2, true);
    EXPECT_EQ(bar->child(0)->text(QAccessible::Name), QStringLiteral("Events      "));
    EXPECT_EQ(bar->child(1)->text(QAccessible::Name), QStringLiteral("Settings"));

    QAccessibleInterface *list = QAccessible::queryAccessibleInterface(frm->lvw1->tree());
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->text(QAccessible::Name), QStringLiteral("Events"));
    QAccessibleTableInterface *table = list->tableInterface();
    ASSERT_NE(table, nullptr);
    const QStringList headers{"Name", "Date", "Event", "Days Til"};
    ASSERT_EQ(table->columnCount(), 4);
    for (int c = 0; c < 4; ++c)
        EXPECT_EQ(table->columnDescription(c), headers[c]);
    const QStringList rows[] = {{"Ann", "12/12/1980", "Birthday", "2"},
                                {"Bob", "12/20/1975", "Anniversary", "10"}};
    ASSERT_EQ(table->rowCount(), 2);
    for (int r = 0; r < 2; ++r)
        for (int c = 0; c < 4; ++c) {
            QAccessibleInterface *cell = table->cellAt(r, c);
            ASSERT_NE(cell, nullptr) << r << "," << c;
            EXPECT_EQ(cell->text(QAccessible::Name), rows[r][c]) << r << "," << c;
        }
}

} // namespace

namespace {

TEST_F(WindowTest, TabGoesThroughTheSettingsTabOneStopPerField)
{
    load();
    frm->tab1->setTab(1);
    QApplication::setActiveWindow(frm);
    ASSERT_TRUE(QTest::qWaitForWindowActive(frm));
    frm->chkSound->SetFocus();
    // "Start in System Tray" is shown, not offered: Tab passes it by.
    const QStringList order = {"chkSound",        "chkTimerOn",
                               "chkShowEvents",   "cboDefalutAlertDays",
                               "cboDefaultEvent", "DTPDefaultTime"};
    const auto active = [this] {
        platform::Control *control = frm->ActiveControl();
        return control ? control->Name() : QString();
    };
    ASSERT_EQ(active(), order.first());
    for (qsizetype i = 1; i < order.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(active(), order[i]) << "Tab from " << order[i - 1].toStdString();
    }
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_NE(active(), order.last()) << "one Tab leaves the time picker";
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
    for (qsizetype i = order.size() - 1; i >= 0; --i) {
        EXPECT_EQ(active(), order[i]) << "Shift+Tab";
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
    }
}

} // namespace
