#pragma once

#include "Variant.h"

namespace vb {

// The runtime's conversion functions. Each raises RuntimeError: 94 "Invalid use of Null" for
// Null, 13 "Type mismatch" for text that is not a number or date, 6 "Overflow" for a value out
// of the target's range. Empty converts to 0, "" or the zero date. Numbers round halves to the
// even neighbour (CInt(2.5) = 2, CInt(3.5) = 4). Text is trimmed and read as a number with the
// user's decimal separator or "." (no group separators, no words such as "nan" or "inf");
// Boolean counts as -1/0, a Date as its serial. CBool also takes "True"/"False" (any case).
// CDate of a number is Date(number) and raises 6 outside 1 January 100 .. 31 December 9999;
// CDate of text is textToDate. CStr: whole numbers as plain digits, Single with up to 7 and
// Double with up to 15 significant digits (exponent form only for very large or small
// magnitudes: "1E+15", "1E-05") and the user's decimal separator, "True"/"False", a Date as
// dateToText, Empty as "".
std::int16_t CInt(const Variant &v);
std::int32_t CLng(const Variant &v);
float CSng(const Variant &v);
double CDbl(const Variant &v);
bool CBool(const Variant &v);
Date CDate(const Variant &v);
QString CStr(const Variant &v);

// Round to the nearest whole number, halves to even (the runtime's CInt/CLng and "\" rules).
double roundHalfEven(double x);

// The runtime's default date-to-text conversion: the user's short date picture, then a space and
// the time in the user's time picture only when there is a time part; a bare time (no date part,
// the zero value included) is the time alone ("12:00:00 AM" for 0 under en_US).
QString dateToText(Date d);

// The runtime's locale-aware text-to-date conversion (CDate/DateValue of text). Understands the
// user's short date picture with or without a time, ISO "yyyy-mm-dd[ hh:mm[:ss]]", and a bare
// time. The short date's fields are read in the order of the user's picture (M/d/y, d.M.y,
// y/M/d) with any of / . - or the locale's separator between them; a time ("h:mm", "h:mm:ss",
// optionally AM/PM or the locale's designators) may follow after blanks. ISO also takes
// "yyyy-mm-ddThh:mm:ss". Two-digit years take 1930..2029. Raises 13 when the text is no date,
// including days that do not exist (30 February); day and month are never swapped to make
// the text fit.
Date textToDate(const QString &text);

// Format(value, "HH:MM"): two-digit 24-hour hour, colon, two-digit minute. Takes a date value or
// text that converts to one ("09:05" stays "09:05", "9:05 PM" gives "21:05"). Seconds are
// dropped, not rounded. Null raises 94, text that is no date 13.
QString formatHHMM(const Variant &v);

// The runtime's "=" between two values (numbers numerically with Boolean as -1/0, dates by
// serial, text exactly and case-sensitively). A number against text converts the text; a date
// against text reads the text as a date; text that does not convert compares unequal (no error
// here). Empty equals 0, False, the zero date and "". Null on either side compares unequal.
bool compareEqual(const Variant &a, const Variant &b);

} // namespace vb
