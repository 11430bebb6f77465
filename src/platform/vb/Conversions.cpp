#include "Conversions.h"

#include "Locale.h"
#include "RuntimeError.h"

#include <QRegularExpression>

#include <array>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <optional>

namespace vb {

namespace {

// The runtime's date range: 1 January 100 to 31 December 9999.
constexpr double kMinDateSerial = -657434.0;
constexpr double kMaxDateSerial = 2958465.99999999;

[[noreturn]] void typeMismatch()
{
    raise(err::TypeMismatch);
}

// A number in text: optional sign, digits with the user's decimal separator or ".", an optional
// exponent. Group separators are not accepted: "." is the group separator of some locales and
// is read as a decimal point here.
std::optional<double> parseNumber(const QString &raw)
{
    QString text = raw.trimmed();
    const QString &decimal = userPictures().decimalSeparator;
    if (!decimal.isEmpty() && decimal != QStringLiteral("."))
        text.replace(decimal, QStringLiteral("."));
    static const QRegularExpression number(
        QStringLiteral("^[+-]?(?:[0-9]+\\.?[0-9]*|\\.[0-9]+)(?:[eE][+-]?[0-9]+)?$"));
    if (!number.match(text).hasMatch())
        return std::nullopt;
    const double value = text.toDouble();
    if (!std::isfinite(value))
        raise(err::Overflow);
    return value;
}

// Any numeric value (Boolean as -1/0, Date as its serial) as a double; text is parsed.
double toDouble(const Variant &v)
{
    if (v.isNull())
        raise(err::InvalidUseOfNull);
    if (v.isEmpty())
        return 0.0;
    if (const auto *x = v.get<std::int16_t>())
        return *x;
    if (const auto *x = v.get<std::int32_t>())
        return *x;
    if (const auto *x = v.get<float>())
        return *x;
    if (const auto *x = v.get<double>())
        return *x;
    if (const auto *x = v.get<bool>())
        return *x ? -1.0 : 0.0;
    if (const auto *x = v.get<Date>())
        return x->serial();
    if (const auto *x = v.get<QString>()) {
        if (const auto value = parseNumber(*x))
            return *value;
        typeMismatch();
    }
    typeMismatch();
}

QString withDecimalSeparator(QString text)
{
    const QString &decimal = userPictures().decimalSeparator;
    if (!decimal.isEmpty() && decimal != QStringLiteral("."))
        text.replace(u'.', decimal);
    return text;
}

// The runtime's general number display: `digits` significant digits, exponent form only for
// very large or very small magnitudes ("1E+15", "1E-05"), as printf's %G gives it.
QString numberText(double value, int digits)
{
    if (value == 0.0)
        return QStringLiteral("0");
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*G", digits, value);
    return withDecimalSeparator(QString::fromLatin1(buffer));
}

// ---- pictures -------------------------------------------------------------------------------

QString twoDigits(int n)
{
    return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0'));
}

// Appends `n` in decimal with at least `digits` digits (leading zeros): as QString::number and
// twoDigits give it, without a text of its own per number (a date is shown per row of the list).
void appendNumber(QString &out, int n, int digits)
{
    if (n < 0) {
        out += digits > 1 ? QStringLiteral("%1").arg(n, digits, 10, QLatin1Char('0'))
                          : QString::number(n);
        return;
    }
    char16_t buffer[12];
    int at = 12;
    do {
        buffer[--at] = static_cast<char16_t>(u'0' + n % 10);
        n /= 10;
    } while (n > 0 || 12 - at < digits);
    out.append(reinterpret_cast<const QChar *>(buffer + at), 12 - at);
}

// Formats a Windows date/time picture. Letter runs: d dd ddd dddd, M MM MMM MMMM, y yy yyyy,
// h hh H HH, m mm, s ss, t tt; 'quoted' text ('' a quote) and any other character are literal.
QString formatPicture(const QString &picture, const QDate &date, const QTime &time,
                      const LocalePictures &p)
{
    QString out;
    out.reserve(picture.size() + 16);
    const qsizetype n = picture.size();
    for (qsizetype i = 0; i < n;) {
        const QChar c = picture.at(i);
        if (c == u'\'') {
            ++i;
            if (i < n && picture.at(i) == u'\'') {
                out += u'\'';
                ++i;
                continue;
            }
            while (i < n) {
                if (picture.at(i) == u'\'') {
                    if (i + 1 < n && picture.at(i + 1) == u'\'') {
                        out += u'\'';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                out += picture.at(i++);
            }
            continue;
        }
        if (c.unicode() == 0 || c.unicode() > 0x7f || !std::strchr("dMyhHmstg", c.unicode())) {
            out += c;
            ++i;
            continue;
        }
        qsizetype j = i;
        while (j < n && picture.at(j) == c)
            ++j;
        const qsizetype count = j - i;
        i = j;
        const int hour12 = time.hour() % 12 == 0 ? 12 : time.hour() % 12;
        switch (c.unicode()) {
        case 'd':
            if (count <= 2)
                appendNumber(out, date.day(), static_cast<int>(count));
            else if (count == 3)
                out += p.locale.dayName(date.dayOfWeek(), QLocale::ShortFormat);
            else
                out += p.locale.dayName(date.dayOfWeek(), QLocale::LongFormat);
            break;
        case 'M':
            if (count <= 2)
                appendNumber(out, date.month(), static_cast<int>(count));
            else if (count == 3)
                out += p.locale.monthName(date.month(), QLocale::ShortFormat);
            else
                out += p.locale.monthName(date.month(), QLocale::LongFormat);
            break;
        case 'y':
            if (count <= 2)
                appendNumber(out, date.year() % 100, static_cast<int>(count));
            else
                appendNumber(out, date.year(), 4);
            break;
        case 'h':
            appendNumber(out, hour12, count == 1 ? 1 : 2);
            break;
        case 'H':
            appendNumber(out, time.hour(), count == 1 ? 1 : 2);
            break;
        case 'm':
            appendNumber(out, time.minute(), count == 1 ? 1 : 2);
            break;
        case 's':
            appendNumber(out, time.second(), count == 1 ? 1 : 2);
            break;
        case 't': {
            const QString &designator = time.hour() < 12 ? p.amDesignator : p.pmDesignator;
            out += count == 1 ? designator.left(1) : designator;
            break;
        }
        case 'g':
            break; // era: none in the Gregorian calendar's pictures
        }
    }
    return out;
}

// ---- reading dates --------------------------------------------------------------------------

enum class Field { Day, Month, Year };

// The order of day, month and year in a Windows short date picture.
std::array<Field, 3> fieldOrder(const QString &picture)
{
    std::array<Field, 3> order{Field::Month, Field::Day, Field::Year};
    int found = 0;
    bool quoted = false;
    bool seen[3] = {false, false, false};
    for (QChar c : picture) {
        if (c == u'\'') {
            quoted = !quoted;
            continue;
        }
        if (quoted)
            continue;
        Field f;
        if (c == u'd')
            f = Field::Day;
        else if (c == u'M')
            f = Field::Month;
        else if (c == u'y')
            f = Field::Year;
        else
            continue;
        if (seen[static_cast<int>(f)])
            continue;
        seen[static_cast<int>(f)] = true;
        if (found < 3)
            order[found++] = f;
    }
    return found == 3 ? order : std::array<Field, 3>{Field::Month, Field::Day, Field::Year};
}

int windowYear(const QString &digits)
{
    const int year = digits.toInt();
    if (year >= 100)
        return year;
    return year < 30 ? 2000 + year : 1900 + year;
}

std::optional<QDate> makeDate(int year, int month, int day)
{
    if (year < 100 || year > 9999)
        return std::nullopt;
    const QDate d(year, month, day);
    if (!d.isValid())
        return std::nullopt;
    return d;
}

QString escapedClass(const QString &extra)
{
    QString cls = QStringLiteral("/.\\-");
    for (QChar c : extra) {
        if (!c.isSpace())
            cls += QRegularExpression::escape(QString(c));
    }
    return cls;
}

// "h:mm", "h:mm:ss", "h AM", each with or without AM/PM: seconds of the day.
std::optional<int> parseTime(const QString &text, const LocalePictures &p)
{
    static const QString kPattern =
        QStringLiteral("^([0-9]{1,2})(?:[%1]([0-9]{1,2}))?(?:[%1]([0-9]{1,2}))?\\s*(.*)$");
    QString separators = QStringLiteral(":");
    for (QChar c : p.timeSeparator) {
        if (!c.isSpace() && c != u':')
            separators += QRegularExpression::escape(QString(c));
    }
    const QRegularExpression re(kPattern.arg(separators));
    const QRegularExpressionMatch m = re.match(text.trimmed());
    if (!m.hasMatch())
        return std::nullopt;
    int hour = m.captured(1).toInt();
    const bool hasMinutes = m.capturedLength(2) > 0;
    const int minute = hasMinutes ? m.captured(2).toInt() : 0;
    const int second = m.capturedLength(3) > 0 ? m.captured(3).toInt() : 0;
    const QString suffix = m.captured(4).trimmed();

    std::optional<bool> pm;
    if (!suffix.isEmpty()) {
        auto is = [&suffix](const QString &designator) {
            return !designator.isEmpty() && suffix.compare(designator, Qt::CaseInsensitive) == 0;
        };
        if (is(QStringLiteral("AM")) || is(QStringLiteral("A")) || is(p.amDesignator))
            pm = false;
        else if (is(QStringLiteral("PM")) || is(QStringLiteral("P")) || is(p.pmDesignator))
            pm = true;
        else
            return std::nullopt;
    }
    if (!hasMinutes && !pm)
        return std::nullopt; // a lone number is no time
    if (pm) {
        if (hour < 1 || hour > 12)
            return std::nullopt;
        hour = (hour % 12) + (*pm ? 12 : 0);
    }
    if (hour > 23 || minute > 59 || second > 59)
        return std::nullopt;
    return hour * 3600 + minute * 60 + second;
}

std::optional<Date> parseIso(const QString &text)
{
    static const QRegularExpression iso(
        QStringLiteral("^([0-9]{4})-([0-9]{1,2})-([0-9]{1,2})(?:(?:[ "
                       "]+|T)([0-9]{1,2}):([0-9]{2})(?::([0-9]{2}))?)?$"));
    const QRegularExpressionMatch m = iso.match(text);
    if (!m.hasMatch())
        return std::nullopt;
    const auto d = makeDate(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
    if (!d)
        return std::nullopt;
    int seconds = 0;
    if (m.capturedLength(4) > 0) {
        const int h = m.captured(4).toInt();
        const int mi = m.captured(5).toInt();
        const int s = m.capturedLength(6) > 0 ? m.captured(6).toInt() : 0;
        if (h > 23 || mi > 59 || s > 59)
            return std::nullopt;
        seconds = h * 3600 + mi * 60 + s;
    }
    return Date::fromDayAndTime(QDate(1899, 12, 30).daysTo(*d), seconds);
}

std::optional<Date> parseLocalDate(const QString &text, const LocalePictures &p)
{
    const QString sep = escapedClass(p.dateSeparator);
    const QRegularExpression re(
        QStringLiteral("^([0-9]{1,4})\\s*[%1]\\s*([0-9]{1,4})\\s*[%1]\\s*([0-9]{1,4})\\s*[%1]?"
                       "(?:\\s+(.*))?$")
            .arg(sep));
    const QRegularExpressionMatch m = re.match(text);
    if (!m.hasMatch())
        return std::nullopt;
    const auto order = fieldOrder(p.shortDate);
    int day = 0, month = 0, year = 0;
    for (int i = 0; i < 3; ++i) {
        const QString digits = m.captured(i + 1);
        switch (order[static_cast<std::size_t>(i)]) {
        case Field::Day:
            if (digits.size() > 2)
                return std::nullopt;
            day = digits.toInt();
            break;
        case Field::Month:
            if (digits.size() > 2)
                return std::nullopt;
            month = digits.toInt();
            break;
        case Field::Year:
            year = windowYear(digits);
            break;
        }
    }
    const auto d = makeDate(year, month, day);
    if (!d)
        return std::nullopt;
    int seconds = 0;
    const QString rest = m.captured(4).trimmed();
    if (!rest.isEmpty()) {
        const auto t = parseTime(rest, p);
        if (!t)
            return std::nullopt;
        seconds = *t;
    }
    return Date::fromDayAndTime(QDate(1899, 12, 30).daysTo(*d), seconds);
}

} // namespace

double roundHalfEven(double x)
{
    const double down = std::floor(x);
    const double rest = x - down;
    if (rest < 0.5)
        return down;
    if (rest > 0.5)
        return down + 1.0;
    return std::fmod(down, 2.0) == 0.0 ? down : down + 1.0;
}

std::int16_t CInt(const Variant &v)
{
    const double r = roundHalfEven(toDouble(v));
    if (!(r >= -32768.0 && r <= 32767.0))
        raise(err::Overflow);
    return static_cast<std::int16_t>(r);
}

std::int32_t CLng(const Variant &v)
{
    const double r = roundHalfEven(toDouble(v));
    if (!(r >= -2147483648.0 && r <= 2147483647.0))
        raise(err::Overflow);
    return static_cast<std::int32_t>(r);
}

float CSng(const Variant &v)
{
    const double x = toDouble(v);
    if (std::fabs(x) > std::numeric_limits<float>::max())
        raise(err::Overflow);
    return static_cast<float>(x);
}

double CDbl(const Variant &v)
{
    return toDouble(v);
}

bool CBool(const Variant &v)
{
    if (const auto *b = v.get<bool>())
        return *b;
    if (const auto *s = v.get<QString>()) {
        const QString t = s->trimmed();
        if (t.compare(QStringLiteral("True"), Qt::CaseInsensitive) == 0)
            return true;
        if (t.compare(QStringLiteral("False"), Qt::CaseInsensitive) == 0)
            return false;
    }
    return toDouble(v) != 0.0;
}

Date CDate(const Variant &v)
{
    if (v.isNull())
        raise(err::InvalidUseOfNull);
    if (const auto *d = v.get<Date>())
        return *d;
    if (const auto *s = v.get<QString>())
        return textToDate(*s);
    const double serial = toDouble(v);
    if (!(serial >= kMinDateSerial && serial <= kMaxDateSerial))
        raise(err::Overflow);
    return Date(serial);
}

QString CStr(const Variant &v)
{
    if (v.isNull())
        raise(err::InvalidUseOfNull);
    if (v.isEmpty())
        return QString();
    if (const auto *s = v.get<QString>())
        return *s;
    if (const auto *x = v.get<std::int16_t>())
        return QString::number(*x);
    if (const auto *x = v.get<std::int32_t>())
        return QString::number(*x);
    if (const auto *x = v.get<float>())
        return numberText(*x, 7);
    if (const auto *x = v.get<double>())
        return numberText(*x, 15);
    if (const auto *x = v.get<bool>())
        return *x ? QStringLiteral("True") : QStringLiteral("False");
    if (const auto *x = v.get<Date>())
        return dateToText(*x);
    typeMismatch();
}

QString dateToText(Date d)
{
    const LocalePictures &p = userPictures();
    const QDate date = d.date();
    const QTime time = d.time();
    if (!d.hasDate())
        return formatPicture(p.time, date, time, p);
    if (!d.hasTime())
        return formatPicture(p.shortDate, date, time, p);
    return formatPicture(p.shortDate, date, time, p) + u' ' + formatPicture(p.time, date, time, p);
}

Date textToDate(const QString &raw)
{
    const QString text = raw.trimmed();
    const LocalePictures &p = userPictures();
    if (text.isEmpty())
        typeMismatch();
    if (const auto d = parseIso(text))
        return *d;
    if (const auto d = parseLocalDate(text, p))
        return *d;
    if (const auto t = parseTime(text, p))
        return Date::fromDayAndTime(0, *t);
    typeMismatch();
}

QString formatHHMM(const Variant &v)
{
    const QTime t = CDate(v).time();
    return twoDigits(t.hour()) + u':' + twoDigits(t.minute());
}

bool compareEqual(const Variant &a, const Variant &b)
{
    if (a.isNull() || b.isNull())
        return false;
    if (a.isEmpty() && b.isEmpty())
        return true;
    const QString *sa = a.get<QString>();
    const QString *sb = b.get<QString>();
    if (sa && sb)
        return *sa == *sb;
    if ((sa && b.isEmpty()) || (sb && a.isEmpty()))
        return (sa ? sa : sb)->isEmpty();
    const Date *da = a.get<Date>();
    const Date *db = b.get<Date>();
    if ((da && sb) || (db && sa)) {
        try {
            return (da ? *da : *db) == textToDate(sa ? *sa : *sb);
        } catch (const RuntimeError &) {
            return false;
        }
    }
    if (sa || sb) {
        const auto number = parseNumber(sa ? *sa : *sb);
        return number && *number == toDouble(sa ? b : a);
    }
    return toDouble(a) == toDouble(b);
}

} // namespace vb
