// What the window layer tells the accessibility interface, read in the program itself; the
// end-to-end test reads the same through the desktop's interface.

#include "FormsFixture.h"

#include "platform/forms/Accessibility.h"
#include "platform/forms/Controls.h"
#include "platform/forms/ImageList.h"
#include "platform/forms/MonthView.h"
#include "platform/forms/Toolbar.h"

#include <QAccessible>
#include <QApplication>
#include <QTest>

#include <gtest/gtest.h>

using namespace platform;

namespace {

QAccessibleInterface *a11y(QObject *object)
{
    return QAccessible::queryAccessibleInterface(object);
}

QStringList childNames(QAccessibleInterface *node)
{
    QStringList names;
    for (int i = 0; i < node->childCount(); ++i)
        names << node->child(i)->object()->objectName();
    return names;
}

class AccessibilityTest : public kxformstest::FormTest
{
protected:
    Form *makeForm()
    {
        auto *form = new Form(QStringLiteral("frmTest"));
        form->setClientSize(3000, 2000);
        form->setCaption(QStringLiteral("Notice"));
        return form;
    }
};

TEST_F(AccessibilityTest, AWindowIsAFrameADialogWhileModalAndKeepsItsNameMinimised)
{
    Form *form = makeForm();
    QAccessibleInterface *window = a11y(form);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->role(), QAccessible::Window);
    EXPECT_FALSE(window->state().modal);
    form->showMinimized();
    EXPECT_TRUE(form->isMinimized());
    EXPECT_EQ(window->text(QAccessible::Name), QStringLiteral("Notice"));
    form->showNormal();
    form->setWindowModality(Qt::ApplicationModal);
    EXPECT_EQ(window->role(), QAccessible::Dialog);
    EXPECT_TRUE(window->state().modal);
}

TEST_F(AccessibilityTest, AStatusBarIsReadAsAStatusBarWithItsPanelsTexts)
{
    Form *form = makeForm();
    auto *bar = new StatusBar(form, QStringLiteral("statBar1"), 2);
    bar->Panels(1).setText(QStringLiteral("Your data has been saved."));
    QAccessibleInterface *status = a11y(bar);
    EXPECT_EQ(status->role(), QAccessible::StatusBar);
    EXPECT_EQ(status->text(QAccessible::Name), QStringLiteral("Your data has been saved."));
    bar->Panels(2).setText(QStringLiteral("Edit Mode"));
    const QString both = QStringLiteral("Your data has been saved. Edit Mode");
    EXPECT_EQ(status->text(QAccessible::Name), both);
    QAccessibleTextInterface *text = status->textInterface();
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->characterCount(), both.size());
    EXPECT_EQ(text->text(0, -1), both);
    EXPECT_EQ(text->text(5, 9), QStringLiteral("data"));
}

TEST_F(AccessibilityTest, ControlsOutsideTheWindowAreNotPresentedButKeepTheirWork)
{
    Form *form = makeForm();
    auto *inside = new CommandButton(form, QStringLiteral("cmdOK"), QStringLiteral("&OK"));
    inside->Move(120, 120, 900, 300);
    auto *below = new CommandButton(form, QStringLiteral("cmdCancel"), QStringLiteral("&Cancel"));
    below->Move(120, 2500, 900, 300);
    below->setCancel(true);
    CheckBox *sink = makeFocusSink(form, QStringLiteral("chkDummy"), QStringLiteral("Fake"));
    EXPECT_FALSE(liesOutsideItsWindow(inside));
    EXPECT_TRUE(liesOutsideItsWindow(below));
    EXPECT_TRUE(liesOutsideItsWindow(sink));

    form->show();
    QApplication::setActiveWindow(form);
    ASSERT_TRUE(QTest::qWaitForWindowActive(form));
    EXPECT_FALSE(childNames(a11y(form)).contains(QStringLiteral("cmdCancel")));
    EXPECT_FALSE(childNames(a11y(form)).contains(QStringLiteral("chkDummy")));
    EXPECT_TRUE(childNames(a11y(form)).contains(QStringLiteral("cmdOK")));
    for (Control *hidden : std::initializer_list<Control *>{below, sink}) {
        QAccessibleInterface *inner = a11y(hidden->inner());
        EXPECT_TRUE(inner->state().invisible) << hidden->Name().toStdString();
        EXPECT_EQ(inner->parent()->indexOfChild(inner), -1);
        EXPECT_EQ(a11y(hidden)->childCount(), 0);
    }
    QAccessibleInterface *sinkBox = a11y(sink->inner());
    EXPECT_EQ(sinkBox->role(), QAccessible::CheckBox);
    EXPECT_EQ(sinkBox->text(QAccessible::Name), QStringLiteral("Fake"));
    EXPECT_FALSE(a11y(inside->inner())->state().invisible);

    // Their work: the focus goes to the sink, Esc clicks the cancel button.
    sink->SetFocus();
    EXPECT_EQ(QApplication::focusWidget(), sink->inner());
    EXPECT_TRUE(sinkBox->state().focused);
    int cancelled = 0;
    QObject::connect(below, &CommandButton::Click, form, [&] { ++cancelled; });
    QTest::keyClick(sink->inner(), Qt::Key_Escape);
    EXPECT_EQ(cancelled, 1);

    // Brought onto the window, a control is presented again.
    below->Move(1200, 120, 900, 300);
    EXPECT_TRUE(childNames(a11y(form)).contains(QStringLiteral("cmdCancel")));
    EXPECT_FALSE(a11y(below->inner())->state().invisible);
    EXPECT_EQ(a11y(below->inner())->role(), QAccessible::Button);
}

TEST_F(AccessibilityTest, TheCalendarsArrowsAndTheToolbarHaveNamesAPersonUnderstands)
{
    Form *form = makeForm();
    auto *calendar = new MonthView(form, QStringLiteral("MonthView1"));
    QStringList arrows;
    for (const char *name : {"qt_calendar_prevmonth", "qt_calendar_nextmonth"})
        if (QWidget *arrow = calendar->inner()->findChild<QWidget *>(QLatin1String(name)))
            arrows << a11y(arrow)->text(QAccessible::Name);
    EXPECT_EQ(arrows, (QStringList{"Previous month", "Next month"}));
    auto *toolbar = new Toolbar(form, QStringLiteral("tlBar1"));
    EXPECT_EQ(a11y(toolbar->inner())->text(QAccessible::Name), QStringLiteral("Toolbar"));
}

TEST_F(AccessibilityTest, ALabelNamesItsFieldAndTheNameFollowsTheCaption)
{
    Form *form = makeForm();
    auto *label = new Label(form, QStringLiteral("lbl2"));
    auto *field = new TextBox(form, QStringLiteral("Txt1"));
    labelFor(label, field);
    label->setCaption(QStringLiteral("Almanoria Website:"));
    QAccessibleInterface *box = a11y(field->inner());
    EXPECT_EQ(box->text(QAccessible::Name), QStringLiteral("Almanoria Website:"));
    const auto labels = box->relations(QAccessible::Label);
    ASSERT_EQ(labels.size(), 1);
    EXPECT_EQ(labels.first().first->text(QAccessible::Name), QStringLiteral("Almanoria Website:"));
}

} // namespace
