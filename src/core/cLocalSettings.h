#pragma once

// The user's locale items, the computer's and the user's names and the system folder, asked of
// the system (platform::services().systemInfo) afresh on every property read; nothing is cached
// that a caller could rely on. Create one for a use, read, drop it.
//
// Contracts:
//  - Every locale property reads one item of the user's default locale (0x400) into the object's
//    buffer, which is never cleared between reads. A read the system cannot answer leaves the
//    buffer as it was, so the property returns the text of the previous successful locale read
//    of the same object, or empty text when there was none.
//  - prpMetrics turns 0 into "Metric" and 1 into "US" and leaves any other number as it is; text
//    that is not a number (empty text too) raises vb::RuntimeError 13 (Type mismatch).
//  - The properties have no error handling of their own: a run-time error goes to the reading
//    procedure's handler.
//  - prpComputerUserName / prpComputerName: Let stores a value, Set an object reference, and
//    the next Get replaces either with the system's current name ("" when the system gives none).

#include "platform/vb/Variant.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <cstdint>
#include <optional>

class cLocalSettings
{
public:
    cLocalSettings();

    vb::Variant prpComputerUserName();
    void letPrpComputerUserName(const vb::Variant &value);
    void setPrpComputerUserName(QObject *object);

    vb::Variant prpComputerName();
    void letPrpComputerName(const vb::Variant &value);
    void setPrpComputerName(QObject *object);

    QString prpCenturyFormatSpecificer();
    QString prpTimeFormatSpecifier();
    QString prpLongDateFormatOrdering();
    vb::Variant prpShortDateFormatOrdering();
    QString prpTimeFormat();
    QString prpLongDateFormat();
    QString prpShortDateFormat();
    QString prpTimeSeperator();
    QString prpDateSeperator();
    QString prpNegativeCurrencyMode();
    QString prpPositiveMonetaryMode();
    QString prpIntlMonetaryDigits();
    vb::Variant prpLocalMonetaryDigits();
    QString prpMonetaryGrouping();
    vb::Variant prpMonetaryThousandSeperator();
    vb::Variant prpMonetaryDecimalSeperator();
    QString prpIntlMonetarySymbol();
    QString prpLocalCurrencySymbol();
    QString prpNativeAscii();
    vb::Variant prpLeadingZeros();
    vb::Variant prpFractionalDigits();
    QString prpDigitGrouping();
    vb::Variant prpThousandSeperator();
    QString prpDecimalSeperator();
    QString prpMetrics();
    QString prpListItemSeperator();
    vb::Variant prpDefaultCodePage();
    QString prpDefaultCountryCode();
    QString prpDefaultLanguageId();
    QString prpNativeNameOfCountry();
    QString prpAbbrevCountryName();
    QString prpEnglishNameOfCountry();
    vb::Variant prpLocalizedNameOfCountry();
    vb::Variant prpCountryCode();
    QString prpNativeNameOfLanguage();
    QString prpAbbreviatedLanguageName();
    QString prpLanguageId();
    QString prpLocalLanguageName();
    vb::Variant prpLocalLanguageEnglishName();
    QString prpLocalCurrency();
    QString prpLocalCountry();

    vb::Variant prpWinDirectory();
    // Always empty text: nothing in the program reads the system directory.
    vb::Variant prpWinSysDirectory();

    // The text before the first NUL; empty text when there is no NUL at all. A private helper
    // of the class, reachable for its tests.
    static QString TrimAtNull(const QString &text);

private:
    // Room for the 99 characters a locale read may write (the item and its NUL).
    static constexpr int kBufferLength = 99;
    static constexpr int kNameBufferLength = 256;
    static constexpr int kWinDirBufferLength = 255;

    // One locale read through the buffer member; the property's text.
    QString readLocale(std::uint32_t lctype);
    QString GetWindowsDir();
    QString GetWindowsSysDir();

    struct NameMember
    {
        vb::Variant value;
        QPointer<QObject> object; // what Set stored, until the next Get
    };
    static vb::Variant readName(NameMember &member, const std::optional<QString> &systemName);

    QString mstrBuffer;
    NameMember mvarUserName;
    NameMember mvarComputerName;
};
