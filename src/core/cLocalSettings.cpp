#include "cLocalSettings.h"

#include "ErrorProtocol.h"

#include "platform/services/LocaleTypes.h"
#include "platform/services/Services.h"
#include "platform/vb/Conversions.h"

using namespace platform;

namespace {

const QChar kNul(QChar::Null);

// What a system call writes into a caller's buffer: the text and its NUL over the front of the
// buffer, the rest of the buffer untouched. A text that does not fit leaves the buffer as it
// was, as the system refuses to write a truncated item.
void writeInto(QString &buffer, const QString &text)
{
    if (text.size() + 1 > buffer.size())
        return;
    buffer.replace(0, text.size() + 1, text + kNul);
}

} // namespace

cLocalSettings::cLocalSettings() : mstrBuffer(kBufferLength, QLatin1Char(' ')) {}

QString cLocalSettings::TrimAtNull(const QString &text)
{
    const qsizetype at = text.indexOf(kNul);
    return at < 0 ? QString() : text.left(at);
}

QString cLocalSettings::readLocale(std::uint32_t lctype)
{
    const std::optional<QString> item =
        services().systemInfo->localeInfo(LOCALE_USER_DEFAULT, lctype);
    if (item)
        writeInto(mstrBuffer, *item);
    return TrimAtNull(mstrBuffer);
}

vb::Variant cLocalSettings::readName(NameMember &member, const std::optional<QString> &systemName)
{
    QString buffer(kNameBufferLength, kNul);
    if (systemName)
        writeInto(buffer, *systemName);
    member.object = nullptr;
    member.value = vb::Variant(TrimAtNull(buffer));
    return member.value;
}

vb::Variant cLocalSettings::prpComputerUserName()
{
    return readName(mvarUserName, services().systemInfo->userName());
}

void cLocalSettings::letPrpComputerUserName(const vb::Variant &value)
{
    mvarUserName.object = nullptr;
    mvarUserName.value = value;
}

void cLocalSettings::setPrpComputerUserName(QObject *object)
{
    mvarUserName.value = vb::Variant();
    mvarUserName.object = object;
}

vb::Variant cLocalSettings::prpComputerName()
{
    return readName(mvarComputerName, services().systemInfo->computerName());
}

void cLocalSettings::letPrpComputerName(const vb::Variant &value)
{
    mvarComputerName.object = nullptr;
    mvarComputerName.value = value;
}

void cLocalSettings::setPrpComputerName(QObject *object)
{
    mvarComputerName.value = vb::Variant();
    mvarComputerName.object = object;
}

QString cLocalSettings::prpCenturyFormatSpecificer()
{
    return readLocale(LOCALE_ICENTURY);
}
QString cLocalSettings::prpTimeFormatSpecifier()
{
    return readLocale(LOCALE_ITIME);
}
QString cLocalSettings::prpLongDateFormatOrdering()
{
    return readLocale(LOCALE_ILDATE);
}
vb::Variant cLocalSettings::prpShortDateFormatOrdering()
{
    return readLocale(LOCALE_IDATE);
}
QString cLocalSettings::prpTimeFormat()
{
    return readLocale(LOCALE_STIMEFORMAT);
}
QString cLocalSettings::prpLongDateFormat()
{
    return readLocale(LOCALE_SLONGDATE);
}
QString cLocalSettings::prpShortDateFormat()
{
    return readLocale(LOCALE_SSHORTDATE);
}
QString cLocalSettings::prpTimeSeperator()
{
    return readLocale(LOCALE_STIME);
}
QString cLocalSettings::prpDateSeperator()
{
    return readLocale(LOCALE_SDATE);
}
QString cLocalSettings::prpNegativeCurrencyMode()
{
    return readLocale(LOCALE_INEGCURR);
}
QString cLocalSettings::prpPositiveMonetaryMode()
{
    return readLocale(LOCALE_ICURRENCY);
}
QString cLocalSettings::prpIntlMonetaryDigits()
{
    return readLocale(LOCALE_IINTLCURRDIGITS);
}
vb::Variant cLocalSettings::prpLocalMonetaryDigits()
{
    return readLocale(LOCALE_ICURRDIGITS);
}
QString cLocalSettings::prpMonetaryGrouping()
{
    return readLocale(LOCALE_SMONGROUPING);
}
vb::Variant cLocalSettings::prpMonetaryThousandSeperator()
{
    return readLocale(LOCALE_SMONTHOUSANDSEP);
}
vb::Variant cLocalSettings::prpMonetaryDecimalSeperator()
{
    return readLocale(LOCALE_SMONDECIMALSEP);
}
QString cLocalSettings::prpIntlMonetarySymbol()
{
    return readLocale(LOCALE_SINTLSYMBOL);
}
QString cLocalSettings::prpLocalCurrencySymbol()
{
    return readLocale(LOCALE_SCURRENCY);
}
QString cLocalSettings::prpNativeAscii()
{
    return readLocale(LOCALE_SNATIVEDIGITS);
}
vb::Variant cLocalSettings::prpLeadingZeros()
{
    return readLocale(LOCALE_ILZERO);
}
vb::Variant cLocalSettings::prpFractionalDigits()
{
    return readLocale(LOCALE_IDIGITS);
}
QString cLocalSettings::prpDigitGrouping()
{
    return readLocale(LOCALE_SGROUPING);
}
vb::Variant cLocalSettings::prpThousandSeperator()
{
    return readLocale(LOCALE_STHOUSAND);
}
QString cLocalSettings::prpDecimalSeperator()
{
    return readLocale(LOCALE_SDECIMAL);
}

QString cLocalSettings::prpMetrics()
{
    const QString text = readLocale(LOCALE_IMEASURE);
    const double measure = vb::CDbl(vb::Variant(text)); // 13 for text that is no number
    if (measure == 0)
        return QStringLiteral("Metric");
    if (measure == 1)
        return QStringLiteral("US");
    return text;
}

QString cLocalSettings::prpListItemSeperator()
{
    return readLocale(LOCALE_SLIST);
}
vb::Variant cLocalSettings::prpDefaultCodePage()
{
    return readLocale(LOCALE_IDEFAULTCODEPAGE);
}
QString cLocalSettings::prpDefaultCountryCode()
{
    return readLocale(LOCALE_IDEFAULTCOUNTRY);
}
QString cLocalSettings::prpDefaultLanguageId()
{
    return readLocale(LOCALE_IDEFAULTLANGUAGE);
}
QString cLocalSettings::prpNativeNameOfCountry()
{
    return readLocale(LOCALE_SNATIVECTRYNAME);
}
QString cLocalSettings::prpAbbrevCountryName()
{
    return readLocale(LOCALE_SABBREVCTRYNAME);
}
QString cLocalSettings::prpEnglishNameOfCountry()
{
    return readLocale(LOCALE_SENGCOUNTRY);
}
vb::Variant cLocalSettings::prpLocalizedNameOfCountry()
{
    return readLocale(LOCALE_SCOUNTRY);
}
vb::Variant cLocalSettings::prpCountryCode()
{
    return readLocale(LOCALE_ICOUNTRY);
}
QString cLocalSettings::prpNativeNameOfLanguage()
{
    return readLocale(LOCALE_SNATIVELANGNAME);
}
QString cLocalSettings::prpAbbreviatedLanguageName()
{
    return readLocale(LOCALE_SABBREVLANGNAME);
}
QString cLocalSettings::prpLanguageId()
{
    return readLocale(LOCALE_ILANGUAGE);
}
QString cLocalSettings::prpLocalLanguageName()
{
    return readLocale(LOCALE_SLANGUAGE);
}
vb::Variant cLocalSettings::prpLocalLanguageEnglishName()
{
    return readLocale(LOCALE_SENGLANGUAGE);
}
QString cLocalSettings::prpLocalCurrency()
{
    return readLocale(LOCALE_SCURRENCY);
}
QString cLocalSettings::prpLocalCountry()
{
    return readLocale(LOCALE_SENGCOUNTRY);
}

vb::Variant cLocalSettings::prpWinDirectory()
{
    return GetWindowsDir();
}
vb::Variant cLocalSettings::prpWinSysDirectory()
{
    return GetWindowsSysDir();
}

QString cLocalSettings::GetWindowsDir()
{
    core::Procedure p(QStringLiteral("cLocalSettings.GetWindowsDir"));
    QString result;
    QString buffer;
    std::optional<QString> folder;
    p([&] { buffer = QString(kWinDirBufferLength, QLatin1Char(' ')); });
    p([&] { folder = services().systemInfo->windowsDirectory(); });
    p([&] {
        if (folder) {
            writeInto(buffer, *folder);
            result = TrimAtNull(buffer);
        }
    });
    return result;
}

QString cLocalSettings::GetWindowsSysDir()
{
    // The system folder has no counterpart here, and nothing reads it.
    return QString();
}
