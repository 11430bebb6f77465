#include "platform/forms/DTPicker.h"
#include "platform/forms/Form.h"
#include "platform/vb/Conversions.h"
#include "platform/vb/RuntimeError.h"
#include "support/ScriptedPlatform.h"

#include <QApplication>
#include <QDateTimeEdit>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

using namespace platform;

namespace {

vb::Date at(int y, int mo, int d, int h = 0, int mi = 0, int s = 0)
{
    return vb::Date::fromDayAndTime(vb::Date::fromYmd(y, mo, d).dayNumber(),
                                    h * 3600 + mi * 60 + s);
}

class DTPickerTest : public ::testing::Test
{
protected:
    void SetUp() override { form = new Form(QStringLiteral("frmTest")); }
    void TearDown() override { delete form; }

    kxtest::ScriptedPlatform platform;
    Form *form = nullptr;
};

TEST(DisplayFormatTest, TheUsersPicturesBecomeQtFormats)
{
    const struct
    {
        const char *picture;
        const char *expected;
    } cases[] = {
        {"h:mm:ss tt", "h:mm:ss AP"},
        {"HH:mm", "HH:mm"},
        {"M/d/yyyy", "M/d/yyyy"},
        {"dd.MM.yyyy", "dd.MM.yyyy"},
        {"h 'o''clock' t", "h 'o''clock' AP"},
        {"'at' HH:mm", "'at' HH:mm"}, // a quoted t stays text
    };
    for (const auto &c : cases)
        EXPECT_EQ(qtDisplayFormat(QString::fromLatin1(c.picture)), QString::fromLatin1(c.expected))
            << c.picture;
}

TEST_F(DTPickerTest, ATimePickerShowsTheTimeAndKeepsTheDatePartOfItsValue)
{
    auto *dtp = new DTPicker(form, QStringLiteral("DTPDefaultTime"), DTPicker::Format::Time);
    dtp->setValue(vb::Variant(at(1899, 12, 30, 9, 5)));
    EXPECT_EQ(dtp->edit()->text(), QStringLiteral("9:05:00 AM"));
    const vb::Date value = vb::CDate(dtp->Value());
    EXPECT_EQ(value.date(), QDate(1899, 12, 30));
    EXPECT_EQ(value.time(), QTime(9, 5));
    EXPECT_FALSE(dtp->edit()->calendarPopup());
    // Another day's time: the picker's range is not the one day Qt gives a time-only edit.
    dtp->setValue(vb::Variant(at(2026, 1, 1, 7, 0)));
    EXPECT_EQ(vb::CDate(dtp->Value()).date(), QDate(2026, 1, 1));
    EXPECT_EQ(dtp->edit()->text(), QStringLiteral("7:00:00 AM"));
}

TEST_F(DTPickerTest, AShortDatePickerShowsTheShortDateWithinItsRange)
{
    auto *dtp = new DTPicker(form, QStringLiteral("DTPdate"), DTPicker::Format::ShortDate);
    dtp->setMinDate(vb::Date::fromYmd(1900, 1, 1));
    dtp->setMaxDate(vb::Date::fromYmd(2100, 12, 31));
    EXPECT_TRUE(dtp->edit()->calendarPopup());
    dtp->setValue(vb::Variant(QStringLiteral("7/4/1976")));
    EXPECT_EQ(dtp->edit()->text(), QStringLiteral("7/4/1976"));
    dtp->setValue(vb::Variant(at(2100, 12, 31, 23, 59, 59)));
    EXPECT_EQ(vb::CDate(dtp->Value()).date(), QDate(2100, 12, 31));
    const struct
    {
        vb::Variant value;
        int error;
    } refused[] = {
        {vb::Variant(vb::Date::fromYmd(1899, 12, 31)), 35775},
        {vb::Variant(vb::Date::fromYmd(2101, 1, 1)), 35775},
        {vb::Variant::null(), 94},
        {vb::Variant(QStringLiteral("no date")), 13},
    };
    for (const auto &c : refused) {
        try {
            dtp->setValue(c.value);
            ADD_FAILURE() << "no error for " << c.error;
        } catch (const vb::RuntimeError &e) {
            EXPECT_EQ(e.number(), c.error);
        }
    }
    EXPECT_EQ(vb::CDate(dtp->Value()).date(), QDate(2100, 12, 31))
        << "a refused value changes nothing";
}

TEST_F(DTPickerTest, ChangeFiresOncePerChangeFromCodeOrTheUser)
{
    auto *dtp = new DTPicker(form, QStringLiteral("DTPtime"), DTPicker::Format::Time);
    dtp->setValue(vb::Variant(at(1899, 12, 30, 9, 0)));
    QSignalSpy changes(dtp, &DTPicker::Change);
    dtp->setValue(vb::Variant(at(1899, 12, 30, 9, 0)));
    EXPECT_EQ(changes.count(), 0) << "the same value";
    dtp->setValue(vb::Variant(at(1899, 12, 30, 10, 30)));
    EXPECT_EQ(changes.count(), 1);

    form->show();
    QApplication::setActiveWindow(form);
    ASSERT_TRUE(QTest::qWaitForWindowActive(form));
    dtp->SetFocus();
    dtp->edit()->setCurrentSection(QDateTimeEdit::HourSection);
    QTest::keyClick(dtp->edit(), Qt::Key_Up);
    EXPECT_EQ(changes.count(), 2);
    EXPECT_EQ(vb::CDate(dtp->Value()).time(), QTime(11, 30));
}

TEST_F(DTPickerTest, IsOneTabStopWhoseArrowsGoFromPartToPart)
{
    auto *before = new QLineEdit(form);
    auto *dtp = new DTPicker(form, QStringLiteral("DTPtime"), DTPicker::Format::Time);
    auto *after = new QLineEdit(form);
    QWidget::setTabOrder(before, dtp);
    QWidget::setTabOrder(dtp, after);
    dtp->setValue(vb::Variant(at(1899, 12, 30, 9, 5)));
    form->show();
    QApplication::setActiveWindow(form);
    ASSERT_TRUE(QTest::qWaitForWindowActive(form));

    // Tab enters on the first part (the hour), Shift+Tab on the last (AM/PM).
    before->setFocus();
    QTest::keyClick(before, Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), dtp->edit());
    EXPECT_EQ(dtp->edit()->currentSection(), QDateTimeEdit::HourSection);
    // Right goes to the next part, Up and Down change it; Right stops at the last part, Left at
    // the first.
    const struct
    {
        Qt::Key key;
        QDateTimeEdit::Section section;
        QTime time;
    } presses[] = {
        {Qt::Key_Right, QDateTimeEdit::MinuteSection, QTime(9, 5)},
        {Qt::Key_Up, QDateTimeEdit::MinuteSection, QTime(9, 6)},
        {Qt::Key_Right, QDateTimeEdit::SecondSection, QTime(9, 6)},
        {Qt::Key_Right, QDateTimeEdit::AmPmSection, QTime(9, 6)},
        {Qt::Key_Right, QDateTimeEdit::AmPmSection, QTime(9, 6)},
        {Qt::Key_Left, QDateTimeEdit::SecondSection, QTime(9, 6)},
        {Qt::Key_Left, QDateTimeEdit::MinuteSection, QTime(9, 6)},
        {Qt::Key_Left, QDateTimeEdit::HourSection, QTime(9, 6)},
        {Qt::Key_Left, QDateTimeEdit::HourSection, QTime(9, 6)},
        {Qt::Key_Down, QDateTimeEdit::HourSection, QTime(8, 6)},
    };
    for (const auto &p : presses) {
        QTest::keyClick(dtp->edit(), p.key);
        EXPECT_EQ(dtp->edit()->currentSection(), p.section) << p.key;
        EXPECT_EQ(vb::CDate(dtp->Value()).time(), p.time) << p.key;
    }
    // One Tab leaves it, from whichever part; one Shift+Tab comes back.
    QTest::keyClick(dtp->edit(), Qt::Key_Right);
    QTest::keyClick(dtp->edit(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), after);
    QTest::keyClick(after, Qt::Key_Backtab);
    EXPECT_EQ(QApplication::focusWidget(), dtp->edit());
    EXPECT_EQ(dtp->edit()->currentSection(), QDateTimeEdit::AmPmSection);
    QTest::keyClick(dtp->edit(), Qt::Key_Backtab);
    EXPECT_EQ(QApplication::focusWidget(), before);
}

} // namespace
