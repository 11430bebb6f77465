#include "core/Globals.h"
#include "core/MainCode_QW.h"

#include "platform/forms/Controls.h"
#include "platform/forms/Form.h"
#include "platform/forms/Twips.h"
#include "support/ScriptedPlatform.h"

#include <QFile>
#include <QSignalSpy>

#include <gtest/gtest.h>

using namespace platform;

namespace {

constexpr std::int32_t kEnabled = -2147483643; // &H80000005, as the splash window reports it

class FormUtilitiesTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        core::resetGlobals();
        gstrEnabledColor = QString::number(kEnabled);
        form = new Form(QStringLiteral("frmEditor"));
    }
    void TearDown() override
    {
        delete form;
        core::resetGlobals();
    }

    bool logWritten() const
    {
        return QFile::exists(platform.programFolder() + QStringLiteral("/DebugLog.TXT"));
    }

    template <class T> T *add(const QString &name, const QString &group, const QString &tag)
    {
        auto *control = new T(form, name);
        control->DataMember = group;
        control->Tag = tag;
        return control;
    }

    kxtest::ScriptedPlatform platform;
    Form *form = nullptr;
};

TEST_F(FormUtilitiesTest, CenterFormCentresAndGoesNegativeForAFormLargerThanTheScreen)
{
    // The screen: 1024 x 768 pixels at 15 twips per pixel, 15360 x 11520 twips.
    const struct
    {
        double width, height;
    } sizes[] = {{3735, 2565}, {5505, 2865}, {20000, 15000}};
    for (const auto &size : sizes) {
        form->setClientSize(size.width, size.height);
        CenterForm(form);
        const double left = 7680.0f - static_cast<float>(form->Width()) / 2.0f;
        const double top = 5760.0f - static_cast<float>(form->Height()) / 2.0f;
        EXPECT_DOUBLE_EQ(form->Left(), twipsToPixelsX(left) * 15.0) << size.width;
        EXPECT_DOUBLE_EQ(form->Top(), twipsToPixelsY(top) * 15.0) << size.height;
    }
    EXPECT_LT(form->Left(), 0); // 20000 twips wide: nothing clamps it
    EXPECT_LT(form->Top(), 0);
    EXPECT_TRUE(platform.messageBox.calls().empty());
}

TEST_F(FormUtilitiesTest, SetStatBarWritesThePanelAndReportsABadNumber)
{
    auto *bar = new StatusBar(form, QStringLiteral("statBar1"));
    SetStatBar(bar, QStringLiteral("Edit Mode"), 1);
    EXPECT_EQ(bar->Panels(1).Text(), QStringLiteral("Edit Mode"));

    platform.messageBox.expect(3, QStringLiteral("MainCode.SetStatBar"));
    SetStatBar(bar, QStringLiteral("lost"), 2);
    ASSERT_EQ(platform.messageBox.calls().size(), 1u);
    EXPECT_TRUE(platform.messageBox.calls()[0].prompt.startsWith(
        QStringLiteral("An error has occured: 35600\r\nIndex out of bounds\r\n")));
    EXPECT_EQ(bar->Panels(1).Text(), QStringLiteral("Edit Mode"));
}

TEST_F(FormUtilitiesTest, ReadOnlyIsTheThirdCharacterOfTheTag)
{
    const struct
    {
        const char *tag;
        bool readOnly;
    } cases[] = {
        {"", false},   {"d", false},  {"dd", false},    {"dxy", false},
        {"ddd", true}, {"txD", true}, {"abdxyz", true}, {"xxd ", true},
    };
    for (const auto &c : cases) {
        auto *txt = add<TextBox>(QStringLiteral("txt"), QStringLiteral("dazez"), c.tag);
        auto *lst = add<ListBox>(QStringLiteral("lst"), QStringLiteral("dazez"), c.tag);
        txt->setLocked(true);
        ClearSpecificDataFields(form, QStringLiteral("dazez"));
        EXPECT_EQ(txt->BackColor(), c.readOnly ? 0xC0C0C0 : kEnabled) << c.tag;
        EXPECT_EQ(txt->Locked(), c.readOnly) << c.tag; // read-only keeps its Locked, others unlock
        EXPECT_EQ(lst->BackColor(), c.readOnly ? 0xC0FFFF : kEnabled) << c.tag;
        delete txt;
        delete lst;
    }
}

TEST_F(FormUtilitiesTest, ClearSpecificDataFieldsResetsTheGroupIgnoringCase)
{
    auto *name = add<TextBox>(QStringLiteral("txtName"), QStringLiteral("dazez"), QString());
    auto *shown =
        add<TextBox>(QStringLiteral("txtShown"), QStringLiteral("Dazez"), QStringLiteral("txd"));
    auto *other = add<TextBox>(QStringLiteral("txtOther"), QStringLiteral("events"), QString());
    auto *recId =
        add<Label>(QStringLiteral("lblRecId"), QStringLiteral("DAzez"), QStringLiteral("ID"));
    auto *data =
        add<Label>(QStringLiteral("lblData"), QStringLiteral("dazez"), QStringLiteral("Data"));
    auto *plain =
        add<Label>(QStringLiteral("lblName"), QStringLiteral("dazez"), QStringLiteral("x"));
    auto *cbo = add<ComboBox>(QStringLiteral("cboEvents"), QStringLiteral("dazez"), QString());
    auto *lst = add<ListBox>(QStringLiteral("lst1"), QStringLiteral("dazez"), QString());
    auto *chk = add<CheckBox>(QStringLiteral("chk1"), QStringLiteral("dazez"), QString());
    name->setText(QStringLiteral("Ann"));
    shown->setText(QStringLiteral("42"));
    shown->setLocked(false);
    other->setText(QStringLiteral("keep"));
    recId->setCaption(QStringLiteral("7"));
    data->setCaption(QStringLiteral("x"));
    plain->setCaption(QStringLiteral("Name:"));
    cbo->AddItem(QStringLiteral("birthday"), 1);
    cbo->setText(QStringLiteral("birthday"));
    lst->AddItem(QStringLiteral("item"));
    chk->setValue(1);
    QSignalSpy changes(name, &TextBox::Change);
    QSignalSpy clicks(chk, &CheckBox::Click);

    ClearSpecificDataFields(form, QStringLiteral("DAZEZ"));

    EXPECT_EQ(name->Text(), QString());
    EXPECT_EQ(changes.count(), 1); // the control's own handler runs inside the walk
    EXPECT_EQ(shown->Text(), QString());
    EXPECT_FALSE(shown->Locked()); // not made read-only: Locked is not touched
    EXPECT_EQ(shown->BackColor(), 0xC0C0C0);
    EXPECT_EQ(other->Text(), QStringLiteral("keep"));
    EXPECT_EQ(other->BackColor(), kEnabled); // its own default, not set by the walk
    EXPECT_EQ(recId->Caption(), QStringLiteral("-1"));
    EXPECT_EQ(data->Caption(), QString());
    EXPECT_EQ(plain->Caption(), QStringLiteral("Name:"));
    EXPECT_EQ(cbo->ListCount(), 0);
    EXPECT_EQ(lst->ListCount(), 0);
    EXPECT_EQ(chk->Value(), 0);
    EXPECT_EQ(clicks.count(), 1);
    EXPECT_TRUE(platform.messageBox.calls().empty());
}

TEST_F(FormUtilitiesTest, ClearSpecificDataFieldsAbortLeavesTheRestAndIgnoreGoesOn)
{
    auto *first = add<TextBox>(QStringLiteral("txtName"), QStringLiteral("dazez"), QString());
    auto *second = add<TextBox>(QStringLiteral("txtNotes"), QStringLiteral("dazez"), QString());
    first->setText(QStringLiteral("a"));
    first->setLocked(true);
    second->setText(QStringLiteral("b"));
    gstrEnabledColor = QStringLiteral("not a number"); // the colour step fails with 13

    platform.messageBox.expect(3, QStringLiteral("ClearSpecificDataFields"));
    ClearSpecificDataFields(form, QStringLiteral("dazez"));
    EXPECT_EQ(platform.messageBox.calls().size(), 1u);
    EXPECT_EQ(first->Text(), QString());
    EXPECT_FALSE(first->Locked());
    EXPECT_EQ(second->Text(), QStringLiteral("b"));

    second->setLocked(true);
    platform.messageBox.expect(5);
    platform.messageBox.expect(5);
    ClearSpecificDataFields(form, QStringLiteral("dazez"));
    EXPECT_EQ(platform.messageBox.calls().size(), 3u);
    EXPECT_EQ(second->Text(), QString());
    EXPECT_FALSE(second->Locked());
    EXPECT_EQ(second->BackColor(), kEnabled); // untouched by the failed step
}

TEST_F(FormUtilitiesTest, ClearDataFieldsEmptiesInputsButLeavesListBoxes)
{
    auto *txt = add<TextBox>(QStringLiteral("txt1"), QStringLiteral("any"), QStringLiteral("txd"));
    auto *cbo = add<ComboBox>(QStringLiteral("cbo1"), QString(), QString());
    auto *lst = add<ListBox>(QStringLiteral("lst1"), QString(), QString());
    auto *id = add<Label>(QStringLiteral("lblId"), QString(), QStringLiteral("iD"));
    auto *data = add<Label>(QStringLiteral("lblData"), QString(), QStringLiteral("DATA"));
    auto *plain = add<Label>(QStringLiteral("lbl1"), QString(), QStringLiteral("ids"));
    auto *chk = add<CheckBox>(QStringLiteral("chkSound"), QString(), QString());
    txt->setText(QStringLiteral("x"));
    txt->setBackColor(0xC0C0C0);
    cbo->AddItem(QStringLiteral("0"));
    lst->AddItem(QStringLiteral("stays"));
    id->setCaption(QStringLiteral("5"));
    data->setCaption(QStringLiteral("x"));
    plain->setCaption(QStringLiteral("Name:"));
    chk->setValue(1);

    ClearDataFields(form);

    EXPECT_EQ(txt->Text(), QString());
    EXPECT_EQ(txt->BackColor(), 0xC0C0C0);
    EXPECT_EQ(cbo->ListCount(), 0);
    EXPECT_EQ(lst->ListCount(), 1);
    EXPECT_EQ(id->Caption(), QStringLiteral("-1"));
    EXPECT_EQ(data->Caption(), QString());
    EXPECT_EQ(plain->Caption(), QStringLiteral("Name:"));
    EXPECT_EQ(chk->Value(), 0);
    EXPECT_TRUE(platform.messageBox.calls().empty());
}

TEST_F(FormUtilitiesTest, ApostropheParseOutReplacesApostrophesInTextBoxesOnly)
{
    const struct
    {
        QString before, after;
    } cases[] = {
        {QStringLiteral("O'Brien's"), QStringLiteral("O\u2019Brien\u2019s")},
        {QStringLiteral("'"), QStringLiteral("\u2019")},
        {QStringLiteral("no apostrophe \u2018here\u2019"),
         QStringLiteral("no apostrophe \u2018here\u2019")},
        {QStringLiteral("line 'one'\r\nline two"),
         QStringLiteral("line \u2019one\u2019\r\nline two")},
    };
    auto *single = new TextBox(form, QStringLiteral("txtName"));
    auto *multi = new TextBox(form, QStringLiteral("txtNotes"), TextBox::Lines::Multi);
    auto *cbo = new ComboBox(form, QStringLiteral("cboEvents"));
    auto *lbl = new Label(form, QStringLiteral("lbl1"));
    for (const auto &c : cases) {
        for (TextBox *box : {single, multi}) {
            if (box == single && c.before.contains(QLatin1Char('\n')))
                continue;
            box->setText(c.before);
            QSignalSpy changes(box, &TextBox::Change);
            cbo->setText(QStringLiteral("it's"));
            lbl->setCaption(QStringLiteral("it's"));
            ApostropheParseOut(form);
            EXPECT_EQ(box->Text(), c.after) << c.before.toStdString();
            EXPECT_EQ(changes.count(), c.before == c.after ? 0 : 1);
            EXPECT_EQ(cbo->Text(), QStringLiteral("it's"));
            EXPECT_EQ(lbl->Caption(), QStringLiteral("it's"));
        }
    }
    EXPECT_FALSE(logWritten());
}

} // namespace
