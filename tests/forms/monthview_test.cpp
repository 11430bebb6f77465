#include "platform/forms/Form.h"
#include "platform/forms/MonthView.h"
#include "platform/vb/RuntimeError.h"
#include "support/ScriptedPlatform.h"

#include <QCalendarWidget>

#include <gtest/gtest.h>

using namespace platform;

namespace {

class MonthViewTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        form = new Form(QStringLiteral("frmTest"));
        view = new MonthView(form, QStringLiteral("MonthView1"));
    }
    void TearDown() override { delete form; }

    kxtest::ScriptedPlatform platform;
    Form *form = nullptr;
    MonthView *view = nullptr;
};

TEST_F(MonthViewTest, StartsOnTheClocksTodayAndShowsTheMonthOfItsValue)
{
    EXPECT_EQ(view->Value().date(), QDate(2026, 12, 10));
    view->setValue(vb::Variant(vb::Date::fromYmd(1999, 3, 7)));
    EXPECT_EQ(view->Value().date(), QDate(1999, 3, 7));
    EXPECT_EQ(view->calendar()->monthShown(), 3);
    EXPECT_EQ(view->calendar()->yearShown(), 1999);
    EXPECT_THROW(view->setValue(vb::Variant::null()), vb::RuntimeError);
}

// The date engine pages any object through its "Month" and "Year" properties.
TEST_F(MonthViewTest, MonthAndYearPropertiesMoveTheDayIntoThatMonth)
{
    const struct
    {
        QDate from;
        const char *property;
        int value;
        QDate expected;
    } cases[] = {
        {{2026, 12, 10}, "Month", 1, {2026, 1, 10}},
        {{2026, 1, 31}, "Month", 2, {2026, 2, 28}}, // the month's last day
        {{2024, 2, 29}, "Year", 2025, {2025, 2, 28}},
        {{2024, 2, 29}, "Year", 2028, {2028, 2, 29}},
    };
    for (const auto &c : cases) {
        view->setValue(vb::Variant(vb::Date::fromQDate(c.from)));
        EXPECT_TRUE(view->setProperty(c.property, c.value));
        EXPECT_EQ(view->Value().date(), c.expected) << c.property << " " << c.value;
        EXPECT_EQ(view->property("Month").toInt(), c.expected.month());
        EXPECT_EQ(view->property("Year").toInt(), c.expected.year());
        EXPECT_EQ(view->calendar()->monthShown(), c.expected.month());
    }
    for (int bad : {0, 13})
        EXPECT_THROW(view->setMonth(bad), vb::RuntimeError) << bad;
    EXPECT_THROW(view->setYear(1752), vb::RuntimeError);
}

} // namespace
