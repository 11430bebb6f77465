#include "ErrorTesting.h"
#include "ScopedPictures.h"

#include "platform/vb/Conversions.h"

using namespace vb;

namespace {

Date at(int y, int m, int d, int h = 0, int mi = 0, int s = 0)
{
    return Date::fromQDateTime(QDateTime(QDate(y, m, d), QTime(h, mi, s)));
}

Date timeOnly(int h, int mi, int s = 0)
{
    return Date::fromQTime(QTime(h, mi, s));
}

struct TextCase
{
    const char *locale;
    Date value;
    const char *text;
};

} // namespace

TEST(DateToText, ShortDateAndTimePicturesOfTheUser)
{
    const TextCase cases[] = {
        {"en_US", Date(), "12:00:00 AM"},
        {"en_US", Date(0.75), "6:00:00 PM"},
        {"en_US", at(2000, 1, 1), "1/1/2000"},
        {"en_US", at(2000, 1, 1, 12), "1/1/2000 12:00:00 PM"},
        {"en_US", at(2024, 2, 29, 13, 5, 9), "2/29/2024 1:05:09 PM"},
        {"en_US", Date(-1.25), "12/29/1899 6:00:00 AM"},
        {"en_US", at(1800, 1, 1), "1/1/1800"},
        {"de_DE", Date(), "00:00:00"},
        {"de_DE", at(2000, 1, 1, 12), "01.01.2000 12:00:00"},
        {"de_DE", at(2024, 2, 29), "29.02.2024"},
        {"de_DE", timeOnly(7, 8, 9), "07:08:09"},
        {"en_GB", at(2000, 1, 2), "02/01/2000"},
        {"en_GB", at(2000, 1, 2, 18, 30), "02/01/2000 18:30:00"},
        {"en_GB", Date(0.25), "06:00:00"},
    };
    for (const TextCase &c : cases) {
        SCOPED_TRACE(testing::Message() << c.locale << " " << c.text);
        ScopedPictures pictures(c.locale);
        EXPECT_EQ(dateToText(c.value), QString::fromUtf8(c.text));
    }
}

TEST(DateToText, PictureLetters)
{
    // Monday 5 March 2007 and, alone, the time 14:04:06.
    const struct
    {
        const char *picture;
        bool isDate;
        const char *text;
    } cases[] = {
        {"d/M/yy", true, "5/3/07"},
        {"dd-MM-yyyy", true, "05-03-2007"},
        {"ddd MMM d", true, "Mon Mar 5"},
        {"dddd, MMMM d, yyyy", true, "Monday, March 5, 2007"},
        {"d 'de' MMMM", true, "5 de March"},
        {"'it''s' d", true, "it's 5"},
        {"h:m:s t", false, "2:4:6 P"},
        {"hh:mm:ss tt", false, "02:04:06 PM"},
        {"H:mm", false, "14:04"},
        {"HH'h'mm", false, "14h04"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.picture);
        LocalePictures p = picturesFor(QLocale(QStringLiteral("en_US")));
        (c.isDate ? p.shortDate : p.time) = QString::fromUtf8(c.picture);
        const LocalePictures saved = userPictures();
        setUserPictures(p);
        const QString text = dateToText(c.isDate ? at(2007, 3, 5) : timeOnly(14, 4, 6));
        setUserPictures(saved);
        EXPECT_EQ(text, QString::fromUtf8(c.text));
    }
}

TEST(TextToDate, ReadsTheUserOrderSeparatorsTimesAndIso)
{
    const TextCase cases[] = {
        {"en_US", at(2000, 1, 2), "1/2/2000"},
        {"en_US", at(2000, 1, 2), "  01/02/2000  "},
        {"en_US", at(2000, 1, 2), "1-2-2000"},
        {"en_US", at(2000, 1, 2), "1.2.2000"},
        {"en_US", at(2024, 2, 29, 13, 5), "2/29/2024 13:05"},
        {"en_US", at(2024, 2, 29, 13, 5), "2/29/2024 1:05 PM"},
        {"en_US", at(2024, 2, 29, 13, 5, 9), "2/29/2024 1:05:09 pm"},
        {"en_US", at(2024, 2, 29, 0, 5), "2/29/2024 12:05 AM"},
        {"en_US", at(1896, 2, 29), "2/29/1896"},
        {"en_US", timeOnly(9, 5), "9:05"},
        {"en_US", timeOnly(21, 5), "9:05 PM"},
        {"en_US", timeOnly(12, 0), "12:00 PM"},
        {"en_US", Date(), "12:00 AM"},
        {"en_US", timeOnly(23, 59, 59), "23:59:59"},
        {"en_US", at(2000, 1, 2), "2000-01-02"},
        {"en_US", at(2000, 1, 2, 10, 11), "2000-01-02 10:11"},
        {"en_US", at(2000, 1, 2, 10, 11, 12), "2000-01-02 10:11:12"},
        {"en_US", at(2000, 1, 2, 10, 11, 12), "2000-01-02T10:11:12"},
        {"de_DE", at(2000, 1, 2), "02.01.2000"},
        {"de_DE", at(2000, 1, 2), "2/1/2000"},
        {"de_DE", at(2024, 2, 29, 23, 59, 59), "29.02.2024 23:59:59"},
        {"de_DE", timeOnly(7, 30), "07:30"},
        {"de_DE", at(2000, 1, 2), "2000-01-02"},
        {"en_GB", at(2000, 1, 2), "02/01/2000"},
        {"en_GB", at(2000, 1, 2, 18, 30), "2/1/2000 6:30 pm"},
        {"ja_JP", at(2000, 1, 2), "2000/01/02"},
        {"ja_JP", at(2000, 1, 2), "2000-1-2"},
    };
    for (const TextCase &c : cases) {
        SCOPED_TRACE(testing::Message() << c.locale << " " << c.text);
        ScopedPictures pictures(c.locale);
        EXPECT_EQ(textToDate(QString::fromUtf8(c.text)).serial(), c.value.serial());
    }
}

TEST(TextToDate, TwoDigitYearsFall1930To2029)
{
    const struct
    {
        const char *text;
        int year;
    } cases[] = {{"1/1/00", 2000},   {"1/1/29", 2029}, {"1/1/30", 1930},
                 {"12/31/99", 1999}, {"1/1/5", 2005},  {"1/1/0099", 1999}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(textToDate(QString::fromUtf8(c.text)).year(), c.year);
    }
    ScopedPictures german("de_DE");
    EXPECT_EQ(textToDate(QStringLiteral("2.1.30")), at(1930, 1, 2));
}

TEST(TextToDate, NoDateRaisesTypeMismatch)
{
    const struct
    {
        const char *locale;
        const char *text;
    } cases[] = {
        {"en_US", ""},           {"en_US", "   "},        {"en_US", "abc"},
        {"en_US", "2/30/2000"},  {"en_US", "13/1/2000"},  {"en_US", "2/29/2023"},
        {"en_US", "1/2"},        {"en_US", "12"},         {"en_US", "25:00"},
        {"en_US", "9:60"},       {"en_US", "13:00 PM"},   {"en_US", "1/2/2000 25:00"},
        {"en_US", "1/2/2000 x"}, {"en_US", "2000-02-30"}, {"en_US", "1/2/2000/3"},
        {"en_US", "0/1/2000"},   {"en_US", "1/2/10000"},  {"de_DE", "30.02.2000"},
        {"de_DE", "12/13/2000"}, {"de_DE", "9:05 PM x"},  {"en_GB", "12/13/2000"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(testing::Message() << c.locale << " '" << c.text << "'");
        ScopedPictures pictures(c.locale);
        EXPECT_EQ(errorNumberOf([&] { textToDate(QString::fromUtf8(c.text)); }), 13);
    }
}

// What dateToText writes, textToDate reads back, in each locale.
TEST(TextToDate, ReadsBackWhatDateToTextWrites)
{
    const Date values[] = {at(2000, 1, 2),    at(2024, 2, 29, 13, 5, 9), at(1800, 12, 31, 0, 0, 1),
                           timeOnly(0, 0, 1), timeOnly(23, 59, 59),      Date(-1.25)};
    for (const char *locale : {"en_US", "de_DE", "en_GB"}) {
        ScopedPictures pictures(locale);
        for (const Date &d : values) {
            SCOPED_TRACE(testing::Message() << locale << " " << d.serial());
            EXPECT_EQ(textToDate(dateToText(d)).serial(), d.serial());
        }
    }
}
