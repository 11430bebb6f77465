#include "platform/forms/Controls.h"
#include "platform/forms/Form.h"
#include "platform/forms/VbColor.h"
#include "platform/vb/RuntimeError.h"
#include "support/ScriptedPlatform.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

using namespace platform;

namespace {

struct ColorCase
{
    std::int32_t number;
    QColor color;
};

TEST(VbColorTest, PlainColourNumbersAreBlueGreenRed)
{
    const ColorCase cases[] = {
        {0x000000, QColor(0, 0, 0)},          {0x0000FF, QColor(255, 0, 0)},
        {0x00FF00, QColor(0, 255, 0)},        {0xFF0000, QColor(0, 0, 255)},
        {0xC0C0C0, QColor(192, 192, 192)},    {0xC0FFFF, QColor(255, 255, 192)}, // light yellow
        {0x123456, QColor(0x56, 0x34, 0x12)},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(colorFromVb(c.number), c.color) << c.number;
        EXPECT_EQ(vbFromColor(c.color), c.number) << c.number;
    }
}

TEST(VbColorTest, SystemColoursFollowThePalette)
{
    const struct
    {
        std::uint32_t number;
        QPalette::ColorRole role;
    } cases[] = {
        {0x80000005, QPalette::Base},      {0x80000008, QPalette::Text},
        {0x8000000F, QPalette::Button},    {0x80000012, QPalette::ButtonText},
        {0x8000000D, QPalette::Highlight}, {0x8000000E, QPalette::HighlightedText},
        {0x80000001, QPalette::Base}, // not one the program uses
    };
    QPalette palette;
    palette.setColor(QPalette::Base, QColor(1, 2, 3));
    palette.setColor(QPalette::Text, QColor(4, 5, 6));
    for (const auto &c : cases) {
        const auto number = static_cast<std::int32_t>(c.number);
        EXPECT_TRUE(isSystemColor(number));
        EXPECT_EQ(systemColorRole(number), c.role) << std::hex << c.number;
        EXPECT_EQ(colorFromVb(number, palette), palette.color(c.role));
    }
    EXPECT_EQ(vbcolor::WindowBackground, -2147483643);
}

class ControlsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        form = new Form(QStringLiteral("frmTest"));
        form->setClientSize(5505, 2865);
    }
    void TearDown() override { delete form; }

    // Shows the window, makes it active and gives `control` the focus, so keys reach it.
    void focus(Control *control)
    {
        form->show();
        QApplication::setActiveWindow(form);
        ASSERT_TRUE(QTest::qWaitForWindowActive(form));
        control->SetFocus();
        ASSERT_EQ(ActiveControl(), control);
    }

    kxtest::ScriptedPlatform platform;
    Form *form = nullptr;
};

TEST_F(ControlsTest, BackColorReadsBackTheNumberSet)
{
    auto *txt = new TextBox(form, QStringLiteral("txtEnabledColor"));
    auto *lst = new ListBox(form, QStringLiteral("lst1"));
    EXPECT_EQ(txt->BackColor(), -2147483643); // no colour of its own: the window background
    EXPECT_EQ(lst->BackColor(), -2147483643);

    txt->setBackColor(0xC0FFFF);
    EXPECT_EQ(txt->BackColor(), 0xC0FFFF);
    EXPECT_EQ(txt->inner()->palette().color(QPalette::Base), QColor(255, 255, 192));
    txt->setBackColor(-2147483643);
    EXPECT_EQ(txt->BackColor(), -2147483643);
    EXPECT_EQ(txt->inner()->palette().color(QPalette::Base),
              QApplication::palette(txt->inner()).color(QPalette::Base));
    lst->setBackColor(0xC0C0C0);
    EXPECT_EQ(lst->inner()->palette().color(QPalette::Base), QColor(192, 192, 192));
}

TEST_F(ControlsTest, CheckBoxValueFiresClickOnlyWhenItChanges)
{
    auto *chk = new CheckBox(form, QStringLiteral("chkTimerOn"), QStringLiteral("Timer ON"));
    QList<int> seen;
    QObject::connect(chk, &CheckBox::Click, chk, [&] { seen << chk->Value(); });
    chk->setValue(0);
    EXPECT_TRUE(seen.isEmpty());
    chk->setValue(1);
    chk->setValue(1);
    chk->setValue(0);
    EXPECT_EQ(seen, (QList<int>{1, 0})); // the handler sees the new value
    focus(chk);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space); // the user's toggle
    EXPECT_EQ(seen, (QList<int>{1, 0, 1}));
    EXPECT_THROW(chk->setValue(3), vb::RuntimeError);
}

TEST_F(ControlsTest, ComboTextFiresNoClickButListIndexAndAPickDo)
{
    auto *cbo = new ComboBox(form, QStringLiteral("cboDefalutAlertDays"));
    QSignalSpy clicks(cbo, &ComboBox::Click);
    for (int i = 0; i <= 30; ++i)
        cbo->AddItem(QString::number(i), i * 10);
    EXPECT_EQ(cbo->ListCount(), 31);
    EXPECT_EQ(cbo->ListIndex(), -1); // adding selects nothing
    EXPECT_EQ(cbo->Text(), QString());
    EXPECT_EQ(cbo->NewIndex(), 30);
    EXPECT_EQ(cbo->ItemData(12), 120);
    EXPECT_EQ(cbo->List(12), QStringLiteral("12"));

    cbo->setText(QStringLiteral("7"));
    EXPECT_EQ(cbo->Text(), QStringLiteral("7"));
    EXPECT_EQ(cbo->ListIndex(), 7);
    cbo->setText(QStringLiteral("not an item"));
    EXPECT_EQ(cbo->ListIndex(), -1);
    EXPECT_EQ(cbo->Text(), QStringLiteral("not an item"));
    EXPECT_EQ(clicks.count(), 0);

    cbo->setListIndex(12);
    EXPECT_EQ(clicks.count(), 1);
    EXPECT_EQ(cbo->Text(), QStringLiteral("12"));

    auto *combo = static_cast<QComboBox *>(cbo->inner());
    emit combo->activated(3); // what a pick from the list sends
    EXPECT_EQ(clicks.count(), 2);

    EXPECT_THROW(cbo->ItemData(31), vb::RuntimeError);
    cbo->Clear();
    EXPECT_EQ(cbo->ListCount(), 0);
    EXPECT_EQ(cbo->Text(), QString());
}

TEST_F(ControlsTest, KeyFiltersDiscardKeysOfComboAndTextBox)
{
    auto *cbo = new ComboBox(form, QStringLiteral("cbo1"));
    cbo->AddItem(QStringLiteral("Notice"));
    cbo->setText(QStringLiteral("Notice"));
    QList<int> codes, chars;
    QObject::connect(cbo, &Control::KeyDown, cbo, [&](int &code, int) {
        codes << code;
        code = 0;
    });
    QObject::connect(cbo, &Control::KeyPress, cbo, [&](int &ascii) {
        chars << ascii;
        ascii = 0;
    });
    focus(cbo);
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("ab"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backspace);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Delete);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    EXPECT_EQ(cbo->Text(), QStringLiteral("Notice"));
    EXPECT_EQ(codes, (QList<int>{65, 66, 8, 46, 40}));
    EXPECT_EQ(chars, (QList<int>{97, 98, 8})); // only the keys that produce a character
}

TEST_F(ControlsTest, UpAndDownPassTheNotesFilterAndMoveThroughTheText)
{
    auto *note = new TextBox(form, QStringLiteral("txtNote"), TextBox::Lines::Multi);
    note->Move(1035, 1545, 2565, 810);
    QObject::connect(note, &Control::KeyDown, note, [](int &code, int) {
        if (code != 38 && code != 40)
            code = 0;
    });
    QObject::connect(note, &Control::KeyPress, note, [](int &ascii) { ascii = 0; });
    note->setText(QStringLiteral("one\r\ntwo\r\nthree"));
    focus(note);
    ASSERT_EQ(note->SelStart(), 0);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    EXPECT_EQ(note->SelStart(), 5); // start of "two": CR LF counts two characters
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    EXPECT_EQ(note->SelStart(), 10);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Up);
    EXPECT_EQ(note->SelStart(), 5);
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("xy"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Delete);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_EQ(note->Text(), QStringLiteral("one\r\ntwo\r\nthree"));
}

TEST_F(ControlsTest, TabLeavesABoxThatDiscardsEveryKey)
{
    auto *txt1 = new TextBox(form, QStringLiteral("Txt1"));
    auto *txt2 = new TextBox(form, QStringLiteral("Txt2"));
    QObject::connect(txt1, &Control::KeyDown, txt1, [](int &code, int) { code = 0; });
    QObject::connect(txt1, &Control::KeyPress, txt1, [](int &ascii) { ascii = 0; });
    QSignalSpy gotFocus(txt2, &Control::GotFocus);
    focus(txt1);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(ActiveControl(), txt2);
    EXPECT_EQ(gotFocus.count(), 1);
}

TEST_F(ControlsTest, MaxLengthLimitsTypingAndPastingButNotCode)
{
    const TextBox::Lines kinds[] = {TextBox::Lines::Single, TextBox::Lines::Multi};
    for (TextBox::Lines lines : kinds) {
        SCOPED_TRACE(lines == TextBox::Lines::Single ? "single-line" : "multi-line");
        auto *txt = new TextBox(form, QStringLiteral("txtName"), lines);
        txt->setMaxLength(5);
        txt->setText(QStringLiteral("longer than five"));
        EXPECT_EQ(txt->Text(), QStringLiteral("longer than five"));

        txt->setText(QStringLiteral("abc"));
        focus(txt);
        txt->setSelStart(3);
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("defg"));
        EXPECT_EQ(txt->Text(), QStringLiteral("abcde"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backspace);
        EXPECT_EQ(txt->Text(), QStringLiteral("abcd"));

        QApplication::clipboard()->setText(QStringLiteral("XYZ"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_V, Qt::ControlModifier);
        EXPECT_EQ(txt->Text(), QStringLiteral("abcdX")); // only what fits
        delete txt;
    }
}

// Types `text` into the focused widget as a keyboard with those characters would: one key per
// character (an emoji is one key), CR LF as Enter.
void typeText(const QString &text)
{
    for (qsizetype i = 0; i < text.size();) {
        QWidget *target = QApplication::focusWidget();
        if (text.mid(i, 2) == QStringLiteral("\r\n")) {
            QTest::keyClick(target, Qt::Key_Return);
            i += 2;
            continue;
        }
        const qsizetype units = text.at(i).isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        const QString key = text.mid(i, units);
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, key);
        QApplication::sendEvent(target, &press);
        QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, key);
        QApplication::sendEvent(target, &release);
        i += units;
    }
}

void paste(const QString &text)
{
    QApplication::clipboard()->setText(text);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_V, Qt::ControlModifier);
}

QString repeated(const QString &text, int times)
{
    QString out;
    for (int i = 0; i < times; ++i)
        out += text;
    return out;
}

enum class Way { Typed, Pasted, SetInCode };

const char *wayName(Way way)
{
    return way == Way::Typed ? "typed" : way == Way::Pasted ? "pasted" : "set in code";
}

TEST_F(ControlsTest, MaxLengthCountsCharactersAndNeverKeepsHalfOfOne)
{
    const QString emoji = QStringLiteral(u"\U0001F600");
    const struct
    {
        const char *name;
        TextBox::Lines lines;
        int max;
        QString before;
        Way way;
        QString input;
        QString after;
    } cases[] = {
        {"an emoji typed as the name's 25th", TextBox::Lines::Single, 25, repeated("a", 24),
         Way::Typed, emoji + "b", repeated("a", 24) + emoji},
        {"an emoji pasted as the name's 25th", TextBox::Lines::Single, 25, QString(), Way::Pasted,
         repeated("a", 24) + emoji + "b", repeated("a", 24) + emoji},
        {"an emoji pasted into a full name", TextBox::Lines::Single, 25, repeated("a", 25),
         Way::Pasted, emoji, repeated("a", 25)},
        {"two emoji pasted after 1,249 characters", TextBox::Lines::Multi, 1250,
         repeated("a", 1249), Way::Pasted, emoji + emoji, repeated("a", 1249) + emoji},
        {"two emoji typed after 1,249 characters", TextBox::Lines::Multi, 1250,
         repeated("a", 1249), Way::Typed, emoji + emoji, repeated("a", 1249) + emoji},
        {"2,500 emoji pasted into the notes", TextBox::Lines::Multi, 1250, QString(), Way::Pasted,
         repeated(emoji, 2500), repeated(emoji, 1250)},
        {"a line break with room for one character", TextBox::Lines::Multi, 5,
         QStringLiteral("abcd"), Way::Pasted, QStringLiteral("\r\nx"), QStringLiteral("abcd")},
        {"code keeps a longer text whole", TextBox::Lines::Multi, 5, QString(), Way::SetInCode,
         repeated(emoji, 6), repeated(emoji, 6)},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        auto *txt = new TextBox(form, QStringLiteral("txtBox"), c.lines);
        txt->setMaxLength(c.max);
        txt->setText(c.before);
        focus(txt);
        txt->setSelStart(static_cast<int>(c.before.size()));
        if (c.way == Way::Typed)
            typeText(c.input);
        else if (c.way == Way::Pasted)
            paste(c.input);
        else
            txt->setText(c.input);
        EXPECT_EQ(txt->Text(), c.after);
        delete txt;
    }
}

// What the user types or pastes is what the box holds, and what code sets is what it gives back:
// no character is changed, dropped or split. A multi-line box's line breaks are CR LF.
TEST_F(ControlsTest, EveryCharacterTypedPastedOrSetComesBackAsItWas)
{
    const struct
    {
        const char *name;
        QString text;
    } texts[] = {
        {"no-break space", QStringLiteral(u"a\u00A0b")},
        {"line separator", QStringLiteral(u"a\u2028b")},
        {"paragraph separator", QStringLiteral(u"a\u2029b")},
        {"leading byte-order mark", QStringLiteral(u"\uFEFFab")},
        {"emoji", QStringLiteral(u"\U0001F600 \U0001F44D\U0001F3FD")},
        {"CR LF", QStringLiteral("a\r\nb")},
        {"all of them", QStringLiteral(u"\uFEFF\u00A0x\u2028\u2029y\r\n\u2029z\r\n")},
    };
    const TextBox::Lines kinds[] = {TextBox::Lines::Single, TextBox::Lines::Multi};
    for (const auto &t : texts) {
        for (TextBox::Lines lines : kinds) {
            const bool multi = lines == TextBox::Lines::Multi;
            if (!multi && t.text.contains(QLatin1Char('\r')))
                continue; // one line has no line breaks to keep
            for (Way way : {Way::Typed, Way::Pasted, Way::SetInCode}) {
                SCOPED_TRACE(std::string(t.name) + (multi ? ", multi-line, " : ", single-line, ") +
                             wayName(way));
                auto *txt = new TextBox(form, QStringLiteral("txtNotes"), lines);
                txt->setMaxLength(1250);
                QSignalSpy changes(txt, &TextBox::Change);
                focus(txt);
                if (way == Way::Typed)
                    typeText(t.text);
                else if (way == Way::Pasted)
                    paste(t.text);
                else
                    txt->setText(t.text);
                EXPECT_EQ(txt->Text(), t.text);
                if (way == Way::SetInCode) {
                    EXPECT_EQ(changes.count(), 1);
                }
                txt->setSelStart(0);
                txt->setSelLength(static_cast<int>(t.text.size()));
                EXPECT_EQ(txt->SelText(), t.text);
                delete txt;
            }
        }
    }
}

TEST_F(ControlsTest, NotesCopiedAndPastedBackAreTheSame)
{
    const QString text = QStringLiteral(u"\uFEFFone\u00A0two\u2028three\u2029four\r\nfive");
    auto *from = new TextBox(form, QStringLiteral("txtFrom"), TextBox::Lines::Multi);
    auto *to = new TextBox(form, QStringLiteral("txtTo"), TextBox::Lines::Multi);
    from->setText(text);
    focus(from);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_C, Qt::ControlModifier);
    QString onClipboard = text;
    EXPECT_EQ(QApplication::clipboard()->text(), onClipboard.replace(QStringLiteral("\r\n"), "\n"));
    to->SetFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(to->Text(), text);

    // Undone and done again, the paste is what it was.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(to->Text(), QString());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(to->Text(), text);
}

TEST_F(ControlsTest, ShiftEnterInTheNotesIsALineBreak)
{
    auto *txt = new TextBox(form, QStringLiteral("txtNotes"), TextBox::Lines::Multi);
    focus(txt);
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("a"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return, Qt::ShiftModifier);
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("b"));
    EXPECT_EQ(txt->Text(), QStringLiteral("a\r\nb"));
}

TEST_F(ControlsTest, ChangeFiresOnRealChangesOnly)
{
    auto *txt = new TextBox(form, QStringLiteral("txtName"));
    QSignalSpy changes(txt, &TextBox::Change);
    txt->setText(QStringLiteral("Ann"));
    txt->setText(QStringLiteral("Ann"));
    EXPECT_EQ(changes.count(), 1);
    EXPECT_EQ(txt->SelStart(), 0); // the caret goes to the start
    txt->setSelStart(1);
    txt->setSelLength(1);
    EXPECT_EQ(txt->SelText(), QStringLiteral("n"));
    txt->setSelText(QStringLiteral("NN"));
    EXPECT_EQ(txt->Text(), QStringLiteral("ANNn"));
    EXPECT_EQ(txt->SelStart(), 3);
    EXPECT_EQ(txt->SelLength(), 0);
    EXPECT_EQ(changes.count(), 2);
}

TEST_F(ControlsTest, MultiLineSelectionCountsLineBreaksAsTwoCharacters)
{
    auto *txt = new TextBox(form, QStringLiteral("txtNotes"), TextBox::Lines::Multi);
    txt->setText(QStringLiteral("ab\r\ncd"));
    EXPECT_EQ(txt->Text(), QStringLiteral("ab\r\ncd"));
    txt->setSelStart(1);
    txt->setSelLength(4); // "b", CR LF, "c"
    EXPECT_EQ(txt->SelText(), QStringLiteral("b\r\nc"));
    EXPECT_EQ(txt->SelLength(), 4);
    txt->setSelText(QStringLiteral("-"));
    EXPECT_EQ(txt->Text(), QStringLiteral("a-d"));
}

TEST_F(ControlsTest, StatusBarPanelsAreNumberedFromOne)
{
    auto *bar = new StatusBar(form, QStringLiteral("statBar1"), 2);
    bar->Panels(1).setText(QStringLiteral("Edit Mode"));
    bar->Panels(2).setText(QStringLiteral("second"));
    EXPECT_EQ(bar->Panels(1).Text(), QStringLiteral("Edit Mode"));
    EXPECT_EQ(bar->Panels(2).Text(), QStringLiteral("second"));
    for (int bad : {0, 3, -1}) {
        try {
            bar->Panels(bad);
            ADD_FAILURE() << "panel " << bad;
        } catch (const vb::RuntimeError &e) {
            EXPECT_EQ(e.number(), 35600);
            EXPECT_EQ(e.description(), QStringLiteral("Index out of bounds"));
        }
    }
    form->show();
    EXPECT_EQ(bar->geometry().bottom(), form->rect().bottom()); // along the window's bottom
    EXPECT_EQ(bar->width(), form->width());
}

TEST_F(ControlsTest, LabelCaptionAlignmentAndButtonCaption)
{
    auto *lbl = new Label(form, QStringLiteral("lbl2"), QStringLiteral("Almanoria Website:"));
    lbl->setAlignment(Alignment::Right);
    EXPECT_EQ(lbl->Caption(), QStringLiteral("Almanoria Website:"));
    EXPECT_TRUE(static_cast<QLabel *>(lbl->inner())->alignment() & Qt::AlignRight);
    auto *ok = new CommandButton(form, QStringLiteral("cmdOK"), QStringLiteral("&OK"));
    EXPECT_EQ(ok->Caption(), QStringLiteral("&OK"));
    ok->setCancel(true);
    EXPECT_TRUE(ok->Cancel());
    EXPECT_FALSE(ok->Default());
}

} // namespace
