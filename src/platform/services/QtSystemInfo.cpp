#include "QtServices.h"

#include "LocaleTypes.h"
#include "platform/vb/Locale.h"

#include <QFile>
#include <QRegularExpression>
#include <QSysInfo>

#include <langinfo.h>
#include <pwd.h>
#include <sys/utsname.h>
#include <unistd.h>

namespace platform {

namespace {

// Windows language ids and their three-letter abbreviations, for the common locales only: Qt
// knows neither. Keyed by the ISO codes Qt gives.
struct LanguageRow
{
    const char *language;
    const char *territory;
    std::uint16_t langId;
    const char *abbrev;
};

constexpr LanguageRow languageRows[] = {
    {"en", "US", 0x0409, "ENU"}, {"en", "GB", 0x0809, "ENG"}, {"en", "AU", 0x0C09, "ENA"},
    {"en", "CA", 0x1009, "ENC"}, {"en", "NZ", 0x1409, "ENZ"}, {"en", "IE", 0x1809, "ENI"},
    {"en", "ZA", 0x1C09, "ENS"}, {"en", "IN", 0x4009, "ENN"}, {"en", "SG", 0x4809, "ENE"},
    {"de", "DE", 0x0407, "DEU"}, {"de", "CH", 0x0807, "DES"}, {"de", "AT", 0x0C07, "DEA"},
    {"de", "LU", 0x1007, "DEL"}, {"de", "LI", 0x1407, "DEC"}, {"fr", "FR", 0x040C, "FRA"},
    {"fr", "BE", 0x080C, "FRB"}, {"fr", "CA", 0x0C0C, "FRC"}, {"fr", "CH", 0x100C, "FRS"},
    {"fr", "LU", 0x140C, "FRL"}, {"es", "ES", 0x0C0A, "ESN"}, {"es", "MX", 0x080A, "ESM"},
    {"es", "AR", 0x2C0A, "ESS"}, {"es", "CO", 0x240A, "ESO"}, {"es", "CL", 0x340A, "ESL"},
    {"es", "US", 0x540A, "EST"}, {"it", "IT", 0x0410, "ITA"}, {"it", "CH", 0x0810, "ITS"},
    {"nl", "NL", 0x0413, "NLD"}, {"nl", "BE", 0x0813, "NLB"}, {"pt", "BR", 0x0416, "PTB"},
    {"pt", "PT", 0x0816, "PTG"}, {"sv", "SE", 0x041D, "SVE"}, {"sv", "FI", 0x081D, "SVF"},
    {"da", "DK", 0x0406, "DAN"}, {"nb", "NO", 0x0414, "NOR"}, {"nn", "NO", 0x0814, "NON"},
    {"fi", "FI", 0x040B, "FIN"}, {"is", "IS", 0x040F, "ISL"}, {"pl", "PL", 0x0415, "PLK"},
    {"cs", "CZ", 0x0405, "CSY"}, {"sk", "SK", 0x041B, "SKY"}, {"hu", "HU", 0x040E, "HUN"},
    {"ro", "RO", 0x0418, "ROM"}, {"hr", "HR", 0x041A, "HRV"}, {"sl", "SI", 0x0424, "SLV"},
    {"bg", "BG", 0x0402, "BGR"}, {"ru", "RU", 0x0419, "RUS"}, {"uk", "UA", 0x0422, "UKR"},
    {"el", "GR", 0x0408, "ELL"}, {"tr", "TR", 0x041F, "TRK"}, {"he", "IL", 0x040D, "HEB"},
    {"ar", "SA", 0x0401, "ARA"}, {"ar", "EG", 0x0C01, "ARE"}, {"ja", "JP", 0x0411, "JPN"},
    {"ko", "KR", 0x0412, "KOR"}, {"zh", "CN", 0x0804, "CHS"}, {"zh", "TW", 0x0404, "CHT"},
    {"zh", "HK", 0x0C04, "ZHH"}, {"zh", "SG", 0x1004, "ZHI"}, {"lt", "LT", 0x0427, "LTH"},
    {"lv", "LV", 0x0426, "LVI"}, {"et", "EE", 0x0425, "ETI"}, {"ca", "ES", 0x0403, "CAT"},
    {"th", "TH", 0x041E, "THA"}, {"vi", "VN", 0x042A, "VIT"}, {"hi", "IN", 0x0439, "HIN"},
};

// Windows country codes (the international dialling code, except Canada's 2) and ISO 3166
// alpha-3 names, for the same territories.
struct TerritoryRow
{
    const char *territory;
    int countryCode;
    const char *alpha3;
};

constexpr TerritoryRow territoryRows[] = {
    {"US", 1, "USA"},   {"CA", 2, "CAN"},   {"GB", 44, "GBR"},  {"IE", 353, "IRL"},
    {"AU", 61, "AUS"},  {"NZ", 64, "NZL"},  {"ZA", 27, "ZAF"},  {"IN", 91, "IND"},
    {"SG", 65, "SGP"},  {"DE", 49, "DEU"},  {"AT", 43, "AUT"},  {"CH", 41, "CHE"},
    {"LU", 352, "LUX"}, {"LI", 423, "LIE"}, {"FR", 33, "FRA"},  {"BE", 32, "BEL"},
    {"ES", 34, "ESP"},  {"MX", 52, "MEX"},  {"AR", 54, "ARG"},  {"CO", 57, "COL"},
    {"CL", 56, "CHL"},  {"IT", 39, "ITA"},  {"NL", 31, "NLD"},  {"BR", 55, "BRA"},
    {"PT", 351, "PRT"}, {"SE", 46, "SWE"},  {"FI", 358, "FIN"}, {"DK", 45, "DNK"},
    {"NO", 47, "NOR"},  {"IS", 354, "ISL"}, {"PL", 48, "POL"},  {"CZ", 420, "CZE"},
    {"SK", 421, "SVK"}, {"HU", 36, "HUN"},  {"RO", 40, "ROU"},  {"HR", 385, "HRV"},
    {"SI", 386, "SVN"}, {"BG", 359, "BGR"}, {"RU", 7, "RUS"},   {"UA", 380, "UKR"},
    {"GR", 30, "GRC"},  {"TR", 90, "TUR"},  {"IL", 972, "ISR"}, {"SA", 966, "SAU"},
    {"EG", 20, "EGY"},  {"JP", 81, "JPN"},  {"KR", 82, "KOR"},  {"CN", 86, "CHN"},
    {"TW", 886, "TWN"}, {"HK", 852, "HKG"}, {"LT", 370, "LTU"}, {"LV", 371, "LVA"},
    {"EE", 372, "EST"}, {"TH", 66, "THA"},  {"VN", 84, "VNM"},  {"ID", 62, "IDN"},
    {"LB", 961, "LBN"},
};

const LanguageRow *languageRow(const QLocale &l)
{
    const QString language = QLocale::languageToCode(l.language());
    const QString territory = QLocale::territoryToCode(l.territory());
    for (const auto &row : languageRows)
        if (language == QLatin1String(row.language) && territory == QLatin1String(row.territory))
            return &row;
    return nullptr;
}

const TerritoryRow *territoryRow(const QLocale &l)
{
    const QString territory = QLocale::territoryToCode(l.territory());
    for (const auto &row : territoryRows)
        if (territory == QLatin1String(row.territory))
            return &row;
    return nullptr;
}

std::optional<QString> nonEmpty(const QString &s)
{
    if (s.isEmpty())
        return std::nullopt;
    return s;
}

// The language's own name without a regional variant: Qt names en_US "American English" and
// de_CH "Schweizer Hochdeutsch", where Windows says "English" and "Deutsch".
QString nativeLanguageName(const QLocale &l)
{
    const QLocale world(l.language(), QLocale::World);
    if (world.language() == l.language() && world.territory() == QLocale::World)
        return world.nativeLanguageName();
    return QLocale(l.language()).nativeLanguageName();
}

// Qt writes direction marks around numbers in right-to-left locales; the modes ignore them.
QString withoutMarks(QString s)
{
    static const QRegularExpression marks(QStringLiteral("[\\x{200E}\\x{200F}\\x{061C}]"));
    return s.remove(marks);
}

QString grouping(const QLocale &l)
{
    const QString s = withoutMarks(l.toString(1234567890LL));
    const QString sep = l.groupSeparator();
    if (sep.isEmpty() || !s.contains(sep))
        return QStringLiteral("0");
    const QStringList parts = s.split(sep);
    const qsizetype primary = parts.last().size();
    const qsizetype secondary = parts.size() > 2 ? parts[parts.size() - 2].size() : primary;
    if (secondary == primary)
        return QStringLiteral("%1;0").arg(primary);
    return QStringLiteral("%1;%2;0").arg(primary).arg(secondary);
}

std::optional<QString> currencyDigits(const QLocale &l)
{
    const QString s = withoutMarks(l.toCurrencyString(1234.5));
    const qsizetype dot = s.lastIndexOf(l.decimalPoint());
    if (dot < 0)
        return QStringLiteral("0");
    int digits = 0;
    for (qsizetype i = dot + l.decimalPoint().size(); i < s.size() && s[i].isDigit(); ++i)
        ++digits;
    return QString::number(digits);
}

const QString Sym = QStringLiteral("\u00A4"); // stands in for the currency symbol

// Qt's currency format for `value` with the symbol Sym, the number written as "1", minus as
// "-" and every kind of space as a plain blank.
QString currencyShape(const QLocale &l, double value)
{
    QString s = withoutMarks(l.toCurrencyString(value, Sym, 0));
    s.replace(l.negativeSign(), QLatin1String("-"));
    s.replace(l.toString(1), QLatin1String("1"));
    for (QChar &c : s)
        if (c.isSpace())
            c = QLatin1Char(' ');
    return s;
}

std::optional<QString> positiveCurrencyMode(const QLocale &l)
{
    const QString s = currencyShape(l, 1.0);
    const QString modes[] = {Sym + "1", "1" + Sym, Sym + " 1", "1 " + Sym};
    for (int i = 0; i < 4; ++i)
        if (s == modes[i])
            return QString::number(i);
    return std::nullopt;
}

std::optional<QString> negativeCurrencyMode(const QLocale &l)
{
    const QString s = currencyShape(l, -1.0);
    const char *modes[] = {"($1)", "-$1",  "$-1",  "$1-",  "(1$)", "-1$",  "1-$",   "1$-",
                           "-1 $", "-$ 1", "1 $-", "$ 1-", "$ -1", "1- $", "($ 1)", "(1 $)"};
    for (int i = 0; i < 16; ++i)
        if (s == QString::fromLatin1(modes[i]).replace(QLatin1Char('$'), Sym))
            return QString::number(i);
    return std::nullopt;
}

// The letters of a picture outside its quoted literals.
QString pictureLetters(const QString &picture)
{
    QString letters;
    bool quoted = false;
    for (QChar c : picture) {
        if (c == QLatin1Char('\''))
            quoted = !quoted;
        else if (!quoted)
            letters += c.isLetter() ? c : QLatin1Char(' ');
    }
    return letters;
}

// 0 month-day-year, 1 day-month-year, 2 year-month-day; day names (ddd, dddd) are not the day.
std::optional<QString> dateOrder(const QString &picture)
{
    const QString letters = pictureLetters(picture);
    QString order;
    for (qsizetype i = 0; i < letters.size();) {
        const QChar c = letters[i];
        qsizetype run = 1;
        while (i + run < letters.size() && letters[i + run] == c)
            ++run;
        QChar part;
        if (c == QLatin1Char('d') && run <= 2)
            part = QLatin1Char('D');
        else if (c == QLatin1Char('M'))
            part = QLatin1Char('M');
        else if (c == QLatin1Char('y'))
            part = QLatin1Char('Y');
        if (!part.isNull() && !order.contains(part))
            order += part;
        i += run;
    }
    if (order == QLatin1String("MDY"))
        return QStringLiteral("0");
    if (order == QLatin1String("DMY"))
        return QStringLiteral("1");
    if (order == QLatin1String("YMD"))
        return QStringLiteral("2");
    return std::nullopt;
}

std::optional<QString> timeMode(const QString &picture)
{
    const QString letters = pictureLetters(picture);
    if (letters.contains(QLatin1Char('H')))
        return QStringLiteral("1");
    if (letters.contains(QLatin1Char('h')))
        return QStringLiteral("0");
    return std::nullopt;
}

std::optional<QString> centuryMode(const QString &picture)
{
    const QString letters = pictureLetters(picture);
    if (!letters.contains(QLatin1Char('y')))
        return std::nullopt;
    return letters.contains(QLatin1String("yyyy")) ? QStringLiteral("1") : QStringLiteral("0");
}

std::optional<QString> langIdText(const QLocale &l)
{
    if (const LanguageRow *row = languageRow(l))
        return QStringLiteral("%1").arg(row->langId, 4, 16, QLatin1Char('0')).toUpper();
    return std::nullopt;
}

std::optional<QString> countryCodeText(const QLocale &l)
{
    if (const TerritoryRow *row = territoryRow(l))
        return QString::number(row->countryCode);
    return std::nullopt;
}

} // namespace

std::optional<QString> localeItem(const vb::LocalePictures &pictures, std::uint32_t lctype)
{
    const QLocale &l = pictures.locale;
    switch (lctype) {
    case LOCALE_ILANGUAGE:
    case LOCALE_IDEFAULTLANGUAGE:
        return langIdText(l);
    case LOCALE_SLANGUAGE: {
        const QString language = nativeLanguageName(l);
        const QString territory = l.nativeTerritoryName();
        if (language.isEmpty() || territory.isEmpty())
            return nonEmpty(language);
        return QStringLiteral("%1 (%2)").arg(language, territory);
    }
    case LOCALE_SABBREVLANGNAME:
        if (const LanguageRow *row = languageRow(l))
            return QString::fromLatin1(row->abbrev);
        return std::nullopt;
    case LOCALE_SNATIVELANGNAME:
        return nonEmpty(nativeLanguageName(l));
    case LOCALE_ICOUNTRY:
    case LOCALE_IDEFAULTCOUNTRY:
        return countryCodeText(l);
    case LOCALE_SCOUNTRY:
    case LOCALE_SNATIVECTRYNAME:
        return nonEmpty(l.nativeTerritoryName());
    case LOCALE_SABBREVCTRYNAME:
        if (const TerritoryRow *row = territoryRow(l))
            return QString::fromLatin1(row->alpha3);
        return std::nullopt;
    case LOCALE_IDEFAULTCODEPAGE:
        // Linux has no OEM code page; the C library's character set of the process stands in.
        return nonEmpty(QString::fromLatin1(::nl_langinfo(CODESET)));
    case LOCALE_SLIST:
        // Qt has no list separator; Windows uses ';' wherever ',' is the decimal separator.
        return l.decimalPoint() == QLatin1String(",") ? QStringLiteral(";") : QStringLiteral(",");
    case LOCALE_IMEASURE:
        return l.measurementSystem() == QLocale::ImperialUSSystem ? QStringLiteral("1")
                                                                  : QStringLiteral("0");
    case LOCALE_SDECIMAL:
        return nonEmpty(pictures.decimalSeparator);
    case LOCALE_STHOUSAND:
        return nonEmpty(pictures.thousandSeparator);
    case LOCALE_SGROUPING:
    case LOCALE_SMONGROUPING:
        return grouping(l);
    case LOCALE_IDIGITS:
        // No source here has a number of fractional digits for plain numbers; Windows gives 2
        // for all but a handful of locales.
        return QStringLiteral("2");
    case LOCALE_ILZERO:
        return withoutMarks(l.toString(0.5)).startsWith(l.zeroDigit()) ? QStringLiteral("1")
                                                                       : QStringLiteral("0");
    case LOCALE_SNATIVEDIGITS: {
        const QList<uint> zero = l.zeroDigit().toUcs4();
        if (zero.isEmpty())
            return std::nullopt;
        QList<uint> digits;
        for (uint i = 0; i < 10; ++i)
            digits << zero.first() + i;
        return QString::fromUcs4(reinterpret_cast<const char32_t *>(digits.constData()), 10);
    }
    case LOCALE_SCURRENCY:
        return nonEmpty(l.currencySymbol(QLocale::CurrencySymbol));
    case LOCALE_SINTLSYMBOL:
        return nonEmpty(l.currencySymbol(QLocale::CurrencyIsoCode));
    case LOCALE_SMONDECIMALSEP:
        return nonEmpty(l.decimalPoint());
    case LOCALE_SMONTHOUSANDSEP:
        return nonEmpty(l.groupSeparator());
    case LOCALE_ICURRDIGITS:
    case LOCALE_IINTLCURRDIGITS:
        return currencyDigits(l);
    case LOCALE_ICURRENCY:
        return positiveCurrencyMode(l);
    case LOCALE_INEGCURR:
        return negativeCurrencyMode(l);
    case LOCALE_SDATE:
        return nonEmpty(pictures.dateSeparator);
    case LOCALE_STIME:
        return nonEmpty(pictures.timeSeparator);
    case LOCALE_SSHORTDATE:
        return nonEmpty(pictures.shortDate);
    case LOCALE_SLONGDATE:
        return nonEmpty(pictures.longDate);
    case LOCALE_STIMEFORMAT:
        return nonEmpty(pictures.time);
    case LOCALE_IDATE:
        return dateOrder(pictures.shortDate);
    case LOCALE_ILDATE:
        return dateOrder(pictures.longDate);
    case LOCALE_ITIME:
        return timeMode(pictures.time);
    case LOCALE_ICENTURY:
        return centuryMode(pictures.shortDate);
    case LOCALE_SENGLANGUAGE:
        return l.language() == QLocale::C ? std::nullopt
                                          : nonEmpty(QLocale::languageToString(l.language()));
    case LOCALE_SENGCOUNTRY:
        return l.territory() == QLocale::AnyTerritory
                   ? std::nullopt
                   : nonEmpty(QLocale::territoryToString(l.territory()));
    default:
        return std::nullopt;
    }
}

namespace {

// One value of an os-release file: KEY=VALUE, the value optionally in single or double quotes,
// with backslash escapes inside double quotes.
QString osReleaseValue(const QString &text, const QString &key)
{
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (QString line : lines) {
        line = line.trimmed();
        if (!line.startsWith(key + QLatin1Char('=')))
            continue;
        const QString raw = line.mid(key.size() + 1);
        if (raw.size() >= 2 && raw.front() == QLatin1Char('\'') && raw.back() == QLatin1Char('\''))
            return raw.mid(1, raw.size() - 2);
        if (raw.size() >= 2 && raw.front() == QLatin1Char('"') && raw.back() == QLatin1Char('"')) {
            QString value;
            const QString inner = raw.mid(1, raw.size() - 2);
            for (qsizetype i = 0; i < inner.size(); ++i) {
                if (inner[i] == QLatin1Char('\\') && i + 1 < inner.size())
                    ++i;
                value += inner[i];
            }
            return value;
        }
        return raw;
    }
    return {};
}

} // namespace

std::optional<SystemInfoService::Version> versionFromRelease(const QString &kernelRelease,
                                                             const QString &osReleaseText)
{
    // The record's service-pack field holds 128 characters with its terminating NUL.
    constexpr qsizetype ServicePackLength = 127;
    static const QRegularExpression numbers(
        QStringLiteral("^\\s*(\\d+)(?:\\.(\\d+))?(?:\\.(\\d+))?"));
    const QRegularExpressionMatch m = numbers.match(kernelRelease);
    if (!m.hasMatch())
        return std::nullopt;
    SystemInfoService::Version v;
    v.major = m.captured(1).toUInt();
    v.minor = m.captured(2).toUInt();
    v.build = m.captured(3).toUInt();
    v.platformId = 2;
    v.servicePack =
        osReleaseValue(osReleaseText, QStringLiteral("PRETTY_NAME")).left(ServicePackLength);
    return v;
}

std::optional<QString> QtSystemInfo::localeInfo(std::uint32_t lcid, std::uint32_t lctype) const
{
    // This system has one locale for the user and the system alike.
    if (lcid != LOCALE_USER_DEFAULT && lcid != LOCALE_SYSTEM_DEFAULT)
        return std::nullopt;
    return localeItem(vb::userPictures(), lctype);
}

std::optional<QString> QtSystemInfo::userName() const
{
    if (const passwd *pw = ::getpwuid(::geteuid()); pw && pw->pw_name && *pw->pw_name)
        return QString::fromLocal8Bit(pw->pw_name);
    return nonEmpty(qEnvironmentVariable("USER"));
}

std::optional<QString> QtSystemInfo::computerName() const
{
    return nonEmpty(QSysInfo::machineHostName());
}

std::optional<QString> QtSystemInfo::windowsDirectory() const
{
    // The system's root stands for the Windows directory; nothing in the program reads it.
    return QStringLiteral("/");
}

std::optional<SystemInfoService::Version> QtSystemInfo::version() const
{
    utsname u{};
    if (::uname(&u) != 0)
        return std::nullopt;
    QString osRelease;
    for (const char *path : {"/etc/os-release", "/usr/lib/os-release"}) {
        QFile f(QString::fromLatin1(path));
        if (f.open(QIODevice::ReadOnly)) {
            osRelease = QString::fromUtf8(f.readAll());
            break;
        }
    }
    return versionFromRelease(QString::fromLocal8Bit(u.release), osRelease);
}

} // namespace platform
