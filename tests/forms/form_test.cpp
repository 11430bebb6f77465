#include "FormsFixture.h"

#include "platform/forms/Controls.h"
#include "platform/forms/Form.h"
#include "platform/forms/Twips.h"
#include "support/ScriptedPlatform.h"

#include <QApplication>
#include <QPointer>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

using namespace platform;

namespace {

using kxformstest::flushDeletes;
using kxformstest::FormTest;

TEST_F(FormTest, GeometryIsInTwipsAtTheScreensTwipsPerPixel)
{
    Form form(QStringLiteral("frmTest"));
    form.setClientSize(3735, 2565); // 249 x 171 pixels
    EXPECT_EQ(form.width(), 249);
    EXPECT_EQ(form.height(), 171);
    EXPECT_DOUBLE_EQ(form.ScaleWidth(), 3735);
    EXPECT_DOUBLE_EQ(form.ScaleHeight(), 2565);

    form.Move(1500, 3000);
    EXPECT_EQ(form.frameGeometry().topLeft(), QPoint(100, 200));
    EXPECT_DOUBLE_EQ(form.Left(), 1500);
    EXPECT_DOUBLE_EQ(form.Top(), 3000);

    // A position between two pixels goes to the nearer one and reads back on the pixel.
    form.setLeft(1508);
    EXPECT_DOUBLE_EQ(form.Left(), 1515);
    form.setTop(-2000.5f);
    EXPECT_DOUBLE_EQ(form.Top(), -1995); // -133.4 pixels

    auto *txt = new TextBox(&form, QStringLiteral("txtName"));
    txt->Move(1035, 120, 2565, 285);
    EXPECT_EQ(txt->geometry(), QRect(69, 8, 171, 19));
    EXPECT_DOUBLE_EQ(txt->Left(), 1035);
    EXPECT_DOUBLE_EQ(txt->Width(), 2565);

    platform.screen.twipsPerPixel = 12; // 120 dpi
    EXPECT_DOUBLE_EQ(txt->Left(), 69 * 12);
    txt->setLeft(1200);
    EXPECT_EQ(txt->x(), 100);
}

TEST_F(FormTest, FormsListsLoadedWindowsInLoadOrderAndDropsUnloadedOnes)
{
    ASSERT_TRUE(Forms().isEmpty());
    auto *a = new Form(QStringLiteral("frmDazez"));
    auto *b = new Form(QStringLiteral("frmEventNotice"));
    auto *c = new Form(QStringLiteral("frmEventNotice"));
    ASSERT_EQ(Forms().size(), 3);
    EXPECT_EQ(Forms().at(0), a);
    EXPECT_EQ(Forms().at(1), b);
    EXPECT_EQ(Forms().at(2), c);
    EXPECT_EQ(Forms().at(2)->Name(), QStringLiteral("frmEventNotice"));

    QPointer<Form> gone(b);
    QSignalSpy unloaded(b, &Form::Unloaded);
    EXPECT_TRUE(b->Unload());
    EXPECT_EQ(unloaded.count(), 1);
    EXPECT_EQ(Forms(), (QList<Form *>{a, c}));
    ASSERT_TRUE(gone); // deleted later, not under its caller's feet
    flushDeletes();
    EXPECT_FALSE(gone);

    delete a;
    EXPECT_EQ(Forms(), QList<Form *>{c});
}

class CancellingForm : public Form
{
public:
    CancellingForm() : Form(QStringLiteral("frmDazez")) {}
    int loads = 0;
    int unloads = 0;
    int cancelAnswer = 1;

protected:
    void Form_Load() override { ++loads; }
    void Form_Unload(int &cancel) override
    {
        ++unloads;
        cancel = cancelAnswer;
    }
};

TEST_F(FormTest, ShowLoadsOnceAndUnloadHonoursCancel)
{
    auto *form = new CancellingForm;
    form->Show();
    form->Show();
    EXPECT_EQ(form->loads, 1);

    EXPECT_FALSE(form->Unload());
    EXPECT_TRUE(Forms().contains(form));
    EXPECT_FALSE(form->close()); // the close box asks the same
    EXPECT_TRUE(form->isVisible());

    form->cancelAnswer = 0;
    EXPECT_TRUE(form->close());
    EXPECT_FALSE(Forms().contains(form));
}

// A disabled window (the main window while its editor is open) does not even ask its
// Form_Unload: the close box does nothing until the window is enabled again. Its own code can
// still unload it.
TEST_F(FormTest, ADisabledWindowRefusesTheCloseBoxWithoutAsking)
{
    auto *form = new CancellingForm;
    form->cancelAnswer = 0;
    form->Show();
    form->setEnabled(false);
    EXPECT_FALSE(form->close());
    EXPECT_EQ(form->unloads, 0);
    EXPECT_TRUE(form->isVisible());
    EXPECT_FALSE(form->isUnloaded());
    EXPECT_TRUE(Forms().contains(form));

    form->setEnabled(true);
    EXPECT_TRUE(form->close());
    EXPECT_EQ(form->unloads, 1);
    EXPECT_TRUE(form->isUnloaded());

    auto *other = new CancellingForm;
    other->cancelAnswer = 0;
    other->Show();
    other->setEnabled(false);
    EXPECT_TRUE(other->Unload());
    EXPECT_EQ(other->unloads, 1);
}

TEST_F(FormTest, ShowModalReturnsWhenTheFormUnloadsItselfFromAHandler)
{
    auto *form = new Form(QStringLiteral("frmURL"));
    auto *ok = new CommandButton(form, QStringLiteral("cmdOK"), QStringLiteral("&OK"));
    QObject::connect(ok, &CommandButton::Click, form, [form] { form->Unload(); });
    QTimer::singleShot(0, ok, [ok] { ok->click(); });
    form->ShowModal(); // returns only through the local loop's end
    EXPECT_TRUE(Forms().isEmpty());
}

TEST_F(FormTest, ControlsAreListedInCreationOrderWithTheirKind)
{
    Form form(QStringLiteral("frmEditor"));
    auto *frame = new QWidget(&form); // a container: its controls still belong to the window
    new Label(&form, QStringLiteral("lbl1"));
    new TextBox(frame, QStringLiteral("txtName"));
    new ComboBox(frame, QStringLiteral("cboEvents"));
    new StatusBar(&form, QStringLiteral("statBar1"));
    auto *gone = new CheckBox(&form, QStringLiteral("chkDummy"));

    QStringList names;
    QList<ControlKind> kinds;
    for (Control *c : form.Controls()) {
        names << c->Name();
        kinds << c->kind();
    }
    EXPECT_EQ(names, (QStringList{"lbl1", "txtName", "cboEvents", "statBar1", "chkDummy"}));
    EXPECT_EQ(kinds,
              (QList<ControlKind>{ControlKind::Label, ControlKind::TextBox, ControlKind::ComboBox,
                                  ControlKind::StatusBar, ControlKind::CheckBox}));
    delete gone;
    EXPECT_EQ(form.Controls().size(), 4);
    EXPECT_EQ(form.control(QStringLiteral("TXTNAME"))->Name(), QStringLiteral("txtName"));
}

TEST_F(FormTest, TopmostKeepsPositionAndSize)
{
    Form form(QStringLiteral("frmEventNotice"));
    form.setClientSize(3735, 2565);
    form.Move(3000, 1500);
    form.show();
    const QRect before = form.geometry();
    form.setTopmost(true);
    EXPECT_TRUE(form.isTopmost());
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(form.geometry(), before);
}

// Windows with an Esc button below the client area and a hidden Enter button, as the notice
// window has them.
class DialogKeysTest : public FormTest
{
protected:
    void SetUp() override
    {
        form = new Form(QStringLiteral("frmEventNotice"));
        form->setClientSize(3735, 2565);
        note = new TextBox(form, QStringLiteral("txtNote"), TextBox::Lines::Multi);
        note->Move(1035, 1545, 2565, 810);
        // A filter that discards every key: the dialog keys must come before it.
        QObject::connect(note, &Control::KeyDown, note, [](int &code, int) { code = 0; });
        QObject::connect(note, &Control::KeyPress, note, [](int &ascii) { ascii = 0; });
        ok = new CommandButton(form, QStringLiteral("cmdOK"), QStringLiteral("&OK"));
        ok->Move(2475, 2460, 1155, 375);
        ok->setDefault(true);
        ok->hide();
        cancel = new CommandButton(form, QStringLiteral("cmdCancel"), QStringLiteral("&Cancel"));
        cancel->Move(120, 3705, 1155, 345);
        cancel->setCancel(true);
        form->show();
        QApplication::setActiveWindow(form);
        ASSERT_TRUE(QTest::qWaitForWindowActive(form));
        note->SetFocus();
        ASSERT_EQ(ActiveControl(), note);
    }

    Form *form = nullptr;
    TextBox *note = nullptr;
    CommandButton *ok = nullptr;
    CommandButton *cancel = nullptr;
};

TEST_F(DialogKeysTest, EscClicksTheCancelButtonBelowTheClientArea)
{
    ASSERT_GT(cancel->geometry().top(), form->height());
    QPointer<Form> guard(form);
    QObject::connect(cancel, &CommandButton::Click, form, [this] { form->Unload(); });
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    EXPECT_TRUE(Forms().isEmpty());
    flushDeletes();
    EXPECT_FALSE(guard);
}

TEST_F(DialogKeysTest, EnterClicksTheHiddenDefaultButtonButNotADisabledOne)
{
    QSignalSpy clicks(ok, &CommandButton::Click);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_EQ(clicks.count(), 1);
    ok->setEnabled(false);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_EQ(clicks.count(), 1);
}

TEST_F(DialogKeysTest, EscWithoutACancelHandlerLeavesTheWindowOpen)
{
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    EXPECT_TRUE(Forms().contains(form));
    EXPECT_TRUE(form->isVisible());
}

TEST_F(DialogKeysTest, FocusSinkIsVisibleAndTakesTheFocusOffTheWindow)
{
    CheckBox *sink = makeFocusSink(form);
    sink->show();
    EXPECT_EQ(sink->geometry().topLeft(), QPoint(-333, -333));
    EXPECT_TRUE(sink->isVisible());
    sink->SetFocus();
    EXPECT_EQ(ActiveControl(), sink);
}

} // namespace
