#pragma once

#include "Variant.h"

namespace vb {

// The runtime's conversion functions. Each raises RuntimeError: 94 "Invalid use of Null" for
// Null, 13 "Type mismatch" for text that is not a number or date, 6 "Overflow" for a value out
// of the target's range. Empty converts to 0, "" or the zero date. Numbers round halves to the
// even neighbour (CInt(2.5) = 2, CInt(3.5) = 4). Text is read with the user's decimal separator.
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
// the time in the user's time picture only when there is a time part; a bare time (no date part)
// is the time alone.
QString dateToText(Date d);

// The runtime's locale-aware text-to-date conversion (CDate/DateValue of text). Understands the
// user's short date picture with or without a time, ISO "yyyy-mm-dd[ hh:mm[:ss]]", and a bare
// time. Two-digit years take 1930..2029. Raises 13 when the text is no date.
Date textToDate(const QString &text);

// Format(value, "HH:MM"): two-digit 24-hour hour, colon, two-digit minute. Takes a date value or
// text that converts to one ("09:05" stays "09:05").
QString formatHHMM(const Variant &v);

// The runtime's "=" between two values (numbers numerically, dates by value, text exactly).
// Null on either side compares unequal.
bool compareEqual(const Variant &a, const Variant &b);

} // namespace vb
