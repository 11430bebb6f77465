#include "modFehlerHandler.h"

#include "ErrorProtocol.h"
#include "Globals.h"
#include "cLocalSettings.h"
#include "modDataSQL.h"

#include "platform/services/Services.h"
#include "platform/vb/Conversions.h"

#include <functional>
#include <memory>
#include <utility>
#include <vector>

namespace {

// Labels as the log has always carried them, spellings included; "CountryCode: " twice.
using Value = std::function<QString(cLocalSettings &)>;

QString text(const vb::Variant &v)
{
    return vb::CStr(v);
}

const std::vector<std::pair<QString, Value>> &labelledEntries()
{
    using S = cLocalSettings;
    static const std::vector<std::pair<QString, Value>> entries = {
        {QStringLiteral("Computer Name: "), [](S &s) { return text(s.prpComputerName()); }},
        {QStringLiteral("Computer UserName: "), [](S &s) { return text(s.prpComputerUserName()); }},
        {QStringLiteral("Country Name: "), [](S &s) { return s.prpAbbrevCountryName(); }},
        {QStringLiteral("CountryCode: "), [](S &s) { return text(s.prpCountryCode()); }},
        {QStringLiteral("Date Seperator: "), [](S &s) { return s.prpDateSeperator(); }},
        {QStringLiteral("Decimal Seperator: "), [](S &s) { return s.prpDecimalSeperator(); }},
        {QStringLiteral("CountryCode: "), [](S &s) { return text(s.prpCountryCode()); }},
        {QStringLiteral("Default Code Page: "), [](S &s) { return text(s.prpDefaultCodePage()); }},
        {QStringLiteral("Default Country Code: "), [](S &s) { return s.prpDefaultCountryCode(); }},
        {QStringLiteral("Default Language Id: "), [](S &s) { return s.prpDefaultLanguageId(); }},
        {QStringLiteral("English Name of Country: "),
         [](S &s) { return s.prpEnglishNameOfCountry(); }},
        {QStringLiteral("Intl. Monetary Symbol: "), [](S &s) { return s.prpIntlMonetarySymbol(); }},
        {QStringLiteral("Language Id: "), [](S &s) { return s.prpLanguageId(); }},
        {QStringLiteral("Leading Zeros: "), [](S &s) { return text(s.prpLeadingZeros()); }},
        {QStringLiteral("ListItem Seperator: "), [](S &s) { return s.prpListItemSeperator(); }},
        {QStringLiteral("Local Country: "), [](S &s) { return s.prpLocalCountry(); }},
        {QStringLiteral("Local Currency: "), [](S &s) { return s.prpLocalCurrency(); }},
        {QStringLiteral("Local Currency Symbol: "),
         [](S &s) { return s.prpLocalCurrencySymbol(); }},
        {QStringLiteral("Localized Name of Country: "),
         [](S &s) { return text(s.prpLocalizedNameOfCountry()); }},
        {QStringLiteral("Local Language English Name: "),
         [](S &s) { return text(s.prpLocalLanguageEnglishName()); }},
        {QStringLiteral("Local Language Name: "), [](S &s) { return s.prpLocalLanguageName(); }},
        {QStringLiteral("Local Monetary Digits: "),
         [](S &s) { return text(s.prpLocalMonetaryDigits()); }},
        {QStringLiteral("Long Date Format: "), [](S &s) { return s.prpLongDateFormat(); }},
        {QStringLiteral("Long Date Format Ordering: "),
         [](S &s) { return s.prpLongDateFormatOrdering(); }},
        {QStringLiteral("Metrics: "), [](S &s) { return s.prpMetrics(); }},
        {QStringLiteral("Monetary Decimal Seperator: "),
         [](S &s) { return text(s.prpMonetaryDecimalSeperator()); }},
        {QStringLiteral("Native Ascii: "), [](S &s) { return s.prpNativeAscii(); }},
        {QStringLiteral("Native Name of Country: "),
         [](S &s) { return s.prpNativeNameOfCountry(); }},
        {QStringLiteral("Native Name of Language: "),
         [](S &s) { return s.prpNativeNameOfLanguage(); }},
        {QStringLiteral("Native Currence Mode: "),
         [](S &s) { return s.prpNegativeCurrencyMode(); }},
        {QStringLiteral("Positive Monetary Mode: "),
         [](S &s) { return s.prpPositiveMonetaryMode(); }},
        {QStringLiteral("Short Date Format: "), [](S &s) { return s.prpShortDateFormat(); }},
        {QStringLiteral("Short Date Format Ordering: "),
         [](S &s) { return text(s.prpShortDateFormatOrdering()); }},
        {QStringLiteral("Thousand Seperator: "),
         [](S &s) { return text(s.prpThousandSeperator()); }},
        {QStringLiteral("Time Format: "), [](S &s) { return s.prpTimeFormat(); }},
        {QStringLiteral("Time Format Specifier: "),
         [](S &s) { return s.prpTimeFormatSpecifier(); }},
        {QStringLiteral("Time Seperator: "), [](S &s) { return s.prpTimeSeperator(); }},
    };
    return entries;
}

// A section entry: no number, no time stamp.
void entry(const QString &label, const QString &value)
{
    WriteDebugLog(-1, label, value, vb::Date());
}

// The version record's service-pack text holds at most 127 characters and its NUL.
QString servicePackText(const QString &servicePack)
{
    return cLocalSettings::TrimAtNull(servicePack.left(127) + QChar(QChar::Null));
}

} // namespace

void WriteSystemData()
{
    core::Procedure p(QStringLiteral("MainCodeRB.WriteSystemData"));
    std::unique_ptr<cLocalSettings> settings;
    const platform::Services &os = platform::services();
    double widthPixels = 0;
    double heightPixels = 0;
    platform::SystemInfoService::Version version; // stays 0 when the call fails

    p([&] { settings = std::make_unique<cLocalSettings>(); });
    p([&] {
        widthPixels = vb::roundHalfEven(os.screen->widthTwips() / os.screen->twipsPerPixelX());
    });
    p([&] {
        heightPixels = vb::roundHalfEven(os.screen->heightTwips() / os.screen->twipsPerPixelY());
    });
    p([&] {
        if (const auto answered = os.systemInfo->version())
            version = *answered;
    });
    for (const auto &[label, value] : labelledEntries())
        p([&] { entry(label, value(core::object(settings))); });
    p([&] { entry(QStringLiteral("ScreenWidth: "), QString::number(widthPixels, 'f', 0)); });
    p([&] { entry(QStringLiteral("ScreenHeight: "), QString::number(heightPixels, 'f', 0)); });
    p([&] {
        entry(QStringLiteral("TwipsPerPixelX: "),
              vb::CStr(vb::Variant(static_cast<float>(os.screen->twipsPerPixelX()))));
    });
    p([&] {
        entry(QStringLiteral("Windows Version: ") + QString::number(version.major) +
                  QLatin1Char('.') + QString::number(version.minor),
              QString());
    });
    p([&] { entry(QStringLiteral("Build Number: ") + QString::number(version.build), QString()); });
    p([&] {
        entry(QStringLiteral("Service Pack: ") + servicePackText(version.servicePack), QString());
    });
    p([&] { entry(QStringLiteral("End of Debug Info Gathering "), QString()); });
    p([&] { entry(QString(), QString()); });
    // Kept for the run; read after the section so that they do not stand between its entries'
    // reads of the shared locale buffer.
    p([&] { gudtAppInfo.ShortDateFormat = core::object(settings).prpShortDateFormat(); });
    p([&] { gudtAppInfo.CountryEnglishName = core::object(settings).prpEnglishNameOfCountry(); });
    p([&] { gudtAppInfo.IntlMonetarySymbol = core::object(settings).prpIntlMonetarySymbol(); });
    p([&] { settings.reset(); });
}
