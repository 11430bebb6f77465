#include "ErrorTesting.h"
#include "ScopedPictures.h"

#include "platform/vb/Conversions.h"

#include <cmath>
#include <functional>

using namespace vb;

namespace {

Variant i16(int v)
{
    return Variant(static_cast<std::int16_t>(v));
}
Variant i32(std::int32_t v)
{
    return Variant(v);
}

// The expected outcome of a conversion: a value, or the number of the error it raises.
struct IntCase
{
    Variant input;
    long long expected; // ignored when error != 0
    int error;
};

void checkIntegers(const std::vector<IntCase> &cases,
                   const std::function<long long(const Variant &)> &convert)
{
    for (const IntCase &c : cases) {
        SCOPED_TRACE(testing::Message() << "case " << (&c - cases.data()));
        long long result = 0;
        const int error = errorNumberOf([&] { result = convert(c.input); });
        EXPECT_EQ(error, c.error);
        if (c.error == 0) {
            EXPECT_EQ(result, c.expected);
        }
    }
}

} // namespace

TEST(RoundHalfEven, HalvesGoToTheEvenNeighbour)
{
    const double cases[][2] = {{0.5, 0},   {1.5, 2},   {2.5, 2},          {3.5, 4},    {-0.5, 0},
                               {-1.5, -2}, {-2.5, -2}, {2.4999, 2},       {2.5001, 3}, {-2.6, -3},
                               {7, 7},     {0, 0},     {1e15 + 0.5, 1e15}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c[0]);
        EXPECT_EQ(roundHalfEven(c[0]), c[1]);
    }
}

TEST(CInt, RoundsAndChecksTheRange)
{
    checkIntegers(
        {
            {Variant(2.5), 2, 0},
            {Variant(3.5), 4, 0},
            {Variant(-2.5), -2, 0},
            {Variant(2.5f), 2, 0},
            {Variant(32767.4), 32767, 0},
            {Variant(32767.5), 0, 6},
            {Variant(-32768.5), -32768, 0},
            {Variant(-32768.6), 0, 6},
            {i32(40000), 0, 6},
            {i16(-7), -7, 0},
            {Variant(true), -1, 0},
            {Variant(false), 0, 0},
            {Variant(Date(2.75)), 3, 0},
            {Variant("  12  "), 12, 0},
            {Variant("2.5"), 2, 0},
            {Variant("-3.5"), -4, 0},
            {Variant("1e3"), 1000, 0},
            {Variant("40000"), 0, 6},
            {Variant("2,5"), 0, 13}, // a comma is no decimal separator under en_US
            {Variant("abc"), 0, 13},
            {Variant("12abc"), 0, 13},
            {Variant(""), 0, 13},
            {Variant(), 0, 0},
            {Variant::null(), 0, 94},
        },
        [](const Variant &v) { return CInt(v); });
}

TEST(CLng, RoundsAndChecksTheRange)
{
    checkIntegers(
        {
            {Variant(2147483647.4), 2147483647LL, 0},
            {Variant(2147483647.5), 0, 6},
            {Variant(-2147483648.5), -2147483648LL, 0},
            {Variant(-2147483649.0), 0, 6},
            {Variant(1e300), 0, 6},
            {Variant(4.5), 4, 0},
            {Variant(5.5), 6, 0},
            {i16(-32768), -32768, 0},
            {Variant(true), -1, 0},
            {Variant(" 70000 "), 70000, 0},
            {Variant("1e400"), 0, 6},
            {Variant("x"), 0, 13},
            {Variant(), 0, 0},
            {Variant::null(), 0, 94},
        },
        [](const Variant &v) { return CLng(v); });
}

TEST(CDbl, ReadsTextWithTheUserDecimalSeparatorAndThePoint)
{
    EXPECT_EQ(CDbl(Variant("1.25")), 1.25);
    EXPECT_EQ(CDbl(Variant(".5")), 0.5);
    EXPECT_EQ(CDbl(Variant("-3.")), -3.0);
    EXPECT_EQ(CDbl(Variant(Date(36526.5))), 36526.5);
    EXPECT_EQ(CDbl(Variant()), 0.0);
    EXPECT_EQ(errorNumberOf([] { CDbl(Variant("1,25")); }), 13);
    EXPECT_EQ(errorNumberOf([] { CDbl(Variant("1.2.3")); }), 13);
    EXPECT_EQ(errorNumberOf([] { CDbl(Variant("nan")); }), 13);
    EXPECT_EQ(errorNumberOf([] { CDbl(Variant::null()); }), 94);

    ScopedPictures german("de_DE");
    EXPECT_EQ(CDbl(Variant("1,25")), 1.25);
    EXPECT_EQ(CDbl(Variant("1.25")), 1.25);
    EXPECT_EQ(CInt(Variant("2,5")), 2);
    EXPECT_EQ(errorNumberOf([] { CDbl(Variant("1.234,5")); }), 13);
}

TEST(CSng, ChecksTheSingleRange)
{
    EXPECT_EQ(CSng(Variant(0.5)), 0.5f);
    EXPECT_EQ(CSng(Variant("2.25")), 2.25f);
    EXPECT_EQ(errorNumberOf([] { CSng(Variant(1e39)); }), 6);
    EXPECT_EQ(errorNumberOf([] { CSng(Variant::null()); }), 94);
}

TEST(CBool, NumbersTextAndErrors)
{
    const struct
    {
        Variant input;
        bool expected;
        int error;
    } cases[] = {
        {Variant(0.0), false, 0},    {Variant(0.1), true, 0},     {i16(-1), true, 0},
        {i32(2), true, 0},           {Variant("True"), true, 0},  {Variant(" false "), false, 0},
        {Variant("0"), false, 0},    {Variant("-1"), true, 0},    {Variant(), false, 0},
        {Variant(Date()), false, 0}, {Variant("yes"), false, 13}, {Variant::null(), false, 94},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(static_cast<int>(c.input.type()));
        bool result = false;
        EXPECT_EQ(errorNumberOf([&] { result = CBool(c.input); }), c.error);
        if (c.error == 0) {
            EXPECT_EQ(result, c.expected);
        }
    }
}

TEST(CStr, EachType)
{
    const struct
    {
        Variant input;
        const char *expected;
    } cases[] = {
        {Variant(), ""},
        {i16(-42), "-42"},
        {i32(2147483647), "2147483647"},
        {Variant(0.1f), "0.1"},
        {Variant(1.0f / 3.0f), "0.3333333"},
        {Variant(1234567.0f), "1234567"},
        {Variant(1e7f), "1E+07"},
        {Variant(-2.5f), "-2.5"},
        {Variant(0.1), "0.1"},
        {Variant(1.0 / 3.0), "0.333333333333333"},
        {Variant(2.0 / 3.0), "0.666666666666667"},
        {Variant(123456789012345.0), "123456789012345"},
        {Variant(1e15), "1E+15"},
        {Variant(0.0001), "0.0001"},
        {Variant(0.00001), "1E-05"},
        {Variant(36526.0), "36526"},
        {Variant(-0.0), "0"},
        {Variant(true), "True"},
        {Variant(false), "False"},
        {Variant("as is "), "as is "},
        {Variant(Date(36526.5)), "1/1/2000 12:00:00 PM"},
        {Variant(Date()), "12:00:00 AM"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.expected);
        EXPECT_EQ(CStr(c.input), QString::fromUtf8(c.expected));
    }
    EXPECT_EQ(errorNumberOf([] { CStr(Variant::null()); }), 94);
}

TEST(CStr, UsesTheUserDecimalSeparator)
{
    ScopedPictures german("de_DE");
    EXPECT_EQ(CStr(Variant(2.5)), QStringLiteral("2,5"));
    EXPECT_EQ(CStr(Variant(0.25f)), QStringLiteral("0,25"));
    EXPECT_EQ(CStr(Variant(1e-5)), QStringLiteral("1E-05"));
    EXPECT_EQ(CStr(Variant(i32(1000))), QStringLiteral("1000"));
}

TEST(CDate, NumbersTextAndErrors)
{
    EXPECT_EQ(CDate(Variant(36526.25)), Date(36526.25));
    EXPECT_EQ(CDate(i32(-1)), Date(-1));
    EXPECT_EQ(CDate(Variant(true)), Date(-1));
    EXPECT_EQ(CDate(Variant()), Date());
    EXPECT_EQ(CDate(Variant("1/2/2000")), Date::fromYmd(2000, 1, 2));
    EXPECT_EQ(CDate(Variant(Date(5.5))), Date(5.5));
    EXPECT_EQ(errorNumberOf([] { CDate(Variant::null()); }), 94);
    EXPECT_EQ(errorNumberOf([] { CDate(Variant("no date")); }), 13);
    // Beyond 31 December 9999 and before 1 January 100.
    EXPECT_EQ(errorNumberOf([] { CDate(Variant(2958466.0)); }), 6);
    EXPECT_EQ(errorNumberOf([] { CDate(Variant(-657435.0)); }), 6);
}

TEST(FormatHHMM, DatesAndText)
{
    const struct
    {
        Variant input;
        const char *expected;
    } cases[] = {
        {Variant(Date::fromQTime(QTime(9, 5))), "09:05"},
        {Variant(Date(36526.0 + (21 * 3600 + 5 * 60 + 59) / 86400.0)), "21:05"},
        {Variant(Date()), "00:00"},
        {Variant(), "00:00"},
        {Variant("09:05"), "09:05"},
        {Variant("9:05 PM"), "21:05"},
        {Variant("12:30 AM"), "00:30"},
        {Variant("21:05:59"), "21:05"},
        {Variant("1/2/2000 13:45"), "13:45"},
        {Variant("2000-01-02T07:08:09"), "07:08"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.expected);
        EXPECT_EQ(formatHHMM(c.input), QString::fromUtf8(c.expected));
    }
    EXPECT_EQ(errorNumberOf([] { formatHHMM(Variant::null()); }), 94);
    EXPECT_EQ(errorNumberOf([] { formatHHMM(Variant("soon")); }), 13);
}

TEST(CompareEqual, TheRuntimesEqualsOperator)
{
    const struct
    {
        Variant a, b;
        bool equal;
    } cases[] = {
        {i16(1), Variant(1.0), true},
        {i32(2), Variant(2.5f), false},
        {Variant(true), i16(-1), true},
        {Variant(false), i32(0), true},
        {Variant(true), i16(1), false},
        {Variant(Date(36526)), Variant(Date(36526)), true},
        {Variant(Date(36526)), Variant(Date(36526.5)), false},
        {Variant(Date(36526)), Variant(36526.0), true},
        {Variant(Date(36526)), Variant("1/1/2000"), true},
        {Variant(Date(36526)), Variant("not a date"), false},
        {i32(5), Variant("5"), true},
        {i32(5), Variant(" 5.0 "), true},
        {i32(5), Variant("6"), false},
        {i32(5), Variant("five"), false},
        {Variant("abc"), Variant("abc"), true},
        {Variant("abc"), Variant("ABC"), false},
        {Variant("abc"), Variant("abc "), false},
        {Variant::null(), Variant::null(), false},
        {Variant::null(), i16(0), false},
        {Variant(""), Variant::null(), false},
        {Variant(), Variant(), true},
        {Variant(), i16(0), true},
        {Variant(), Variant(false), true},
        {Variant(), Variant(""), true},
        {Variant(), Variant("0"), false},
        {Variant(), i16(1), false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(testing::Message()
                     << static_cast<int>(c.a.type()) << " vs " << static_cast<int>(c.b.type()));
        EXPECT_EQ(compareEqual(c.a, c.b), c.equal);
        EXPECT_EQ(compareEqual(c.b, c.a), c.equal);
    }
}

TEST(Variant, TypesAndNumericness)
{
    EXPECT_EQ(Variant().type(), VarType::Empty);
    EXPECT_EQ(Variant::null().type(), VarType::Null);
    EXPECT_EQ(i16(1).type(), VarType::Integer);
    EXPECT_EQ(i32(1).type(), VarType::Long);
    EXPECT_EQ(Variant(1.0f).type(), VarType::Single);
    EXPECT_EQ(Variant(1.0).type(), VarType::Double);
    EXPECT_EQ(Variant(Date()).type(), VarType::Date);
    EXPECT_EQ(Variant("x").type(), VarType::String);
    EXPECT_EQ(Variant(true).type(), VarType::Boolean);
    EXPECT_TRUE(Variant(true).isNumeric());
    EXPECT_TRUE(Variant(1.0f).isNumeric());
    EXPECT_FALSE(Variant(Date()).isNumeric());
    EXPECT_FALSE(Variant("1").isNumeric());
    EXPECT_FALSE(Variant().isNumeric());
}
