#include "core/Globals.h"
#include "core/MainCode_QW.h"

#include "platform/forms/Controls.h"
#include "platform/forms/Form.h"
#include "support/ScriptedPlatform.h"

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QImage>
#include <QMimeData>
#include <QTest>

#include <gtest/gtest.h>

using namespace platform;

namespace {

class ClipboardTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        core::resetGlobals();
        form = new Form(QStringLiteral("frmEditor"));
        txt = new TextBox(form, QStringLiteral("txtName"));
        cbo = new ComboBox(form, QStringLiteral("cboEvents"));
        form->show();
        QApplication::setActiveWindow(form);
        ASSERT_TRUE(QTest::qWaitForWindowActive(form));
        QApplication::clipboard()->setText(QStringLiteral("before"));
    }
    void TearDown() override
    {
        delete form;
        core::resetGlobals();
    }

    void focus(Control *control)
    {
        control->SetFocus();
        ASSERT_EQ(ActiveControl(), control);
    }
    void select(int start, int length)
    {
        txt->setSelStart(start);
        txt->setSelLength(length);
    }
    QString clipText() const { return QApplication::clipboard()->text(); }
    bool logWritten() const
    {
        return QFile::exists(platform.programFolder() + QStringLiteral("/DebugLog.TXT"));
    }

    kxtest::ScriptedPlatform platform;
    Form *form = nullptr;
    TextBox *txt = nullptr;
    ComboBox *cbo = nullptr;
};

TEST_F(ClipboardTest, CutAndCopyMoveTheSelection)
{
    txt->setText(QStringLiteral("abcdef"));
    focus(txt);
    select(1, 3);
    CopyTextbox();
    EXPECT_EQ(clipText(), QStringLiteral("bcd"));
    EXPECT_EQ(txt->Text(), QStringLiteral("abcdef"));

    select(2, 2);
    CutTextbox();
    EXPECT_EQ(clipText(), QStringLiteral("cd"));
    EXPECT_EQ(txt->Text(), QStringLiteral("abef"));
}

TEST_F(ClipboardTest, CutOrCopyWithNothingSelectedLeavesAnEmptyClipboard)
{
    txt->setText(QStringLiteral("abcdef"));
    focus(txt);
    select(3, 0);
    for (auto op : {&CopyTextbox, &CutTextbox}) {
        QApplication::clipboard()->setText(QStringLiteral("before"));
        op();
        EXPECT_EQ(clipText(), QString());
        EXPECT_EQ(txt->Text(), QStringLiteral("abcdef"));
    }
}

TEST_F(ClipboardTest, CutOrCopyLeaveTheClipboardForAnEmptyBoxOrAComboBox)
{
    cbo->setText(QStringLiteral("birthday"));
    for (Control *target : {static_cast<Control *>(txt), static_cast<Control *>(cbo)}) {
        focus(target);
        CopyTextbox();
        CutTextbox();
        EXPECT_EQ(clipText(), QStringLiteral("before"));
    }
    EXPECT_EQ(cbo->Text(), QStringLiteral("birthday"));
}

TEST_F(ClipboardTest, PasteSplicesTheClipboardIntoTheSelection)
{
    const struct
    {
        int start, length;
        QString result;
    } cases[] = {
        {3, 0, QStringLiteral("abcXYdef")}, // caret after the third character
        {2, 2, QStringLiteral("abXYef")},   // third and fourth selected
        {0, 0, QStringLiteral("XYabcdef")}, {6, 0, QStringLiteral("abcdefXY")},
        {0, 6, QStringLiteral("XY")},
    };
    QApplication::clipboard()->setText(QStringLiteral("XY"));
    focus(txt);
    for (const auto &c : cases) {
        txt->setText(QStringLiteral("abcdef"));
        select(c.start, c.length);
        PasteTextbox();
        EXPECT_EQ(txt->Text(), c.result) << c.start << "," << c.length;
        EXPECT_EQ(txt->SelStart(), 0); // the whole text was set
    }
    EXPECT_FALSE(logWritten());
}

TEST_F(ClipboardTest, PasteWithoutPlainTextChangesNothing)
{
    auto *mime = new QMimeData;
    mime->setImageData(QImage(4, 4, QImage::Format_RGB32));
    QApplication::clipboard()->setMimeData(mime);
    txt->setText(QStringLiteral("abcdef"));
    focus(txt);
    select(3, 0);
    PasteTextbox();
    EXPECT_EQ(txt->Text(), QStringLiteral("abcdef"));
    EXPECT_EQ(txt->SelStart(), 3);
}

TEST_F(ClipboardTest, PasteIntoAComboBoxChangesAndLogsNothing)
{
    cbo->setText(QStringLiteral("birthday"));
    focus(cbo);
    PasteTextbox();
    EXPECT_EQ(cbo->Text(), QStringLiteral("birthday"));
    EXPECT_FALSE(logWritten());
    EXPECT_TRUE(platform.messageBox.calls().empty());
}

TEST_F(ClipboardTest, SelectAllTextSelectsTheWholeTextAndPassesOverOtherControls)
{
    focus(txt);
    SelectAllText();
    EXPECT_EQ(txt->SelStart(), 0);
    EXPECT_EQ(txt->SelLength(), 0);

    txt->setText(QStringLiteral("Almanoria"));
    select(4, 0);
    SelectAllText();
    EXPECT_EQ(txt->SelStart(), 0);
    EXPECT_EQ(txt->SelLength(), 9);

    focus(cbo);
    SelectAllText(); // no selection to set: silently nothing
    EXPECT_TRUE(platform.messageBox.calls().empty());
    EXPECT_FALSE(logWritten());
}

} // namespace
