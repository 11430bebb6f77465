// cLocalSettings: every read goes to the system, through one shared buffer per object.

#include "core/Globals.h"
#include "core/cLocalSettings.h"

#include "platform/services/LocaleTypes.h"
#include "platform/vb/Conversions.h"
#include "support/ScriptedPlatform.h"

#include <QObject>

#include <gtest/gtest.h>

using namespace platform;

namespace {

class LocalSettingsTest : public ::testing::Test
{
protected:
    void SetUp() override { core::resetGlobals(); }
    void TearDown() override { core::resetGlobals(); }

    kxtest::ScriptedPlatform platform;
    kxtest::FakeSystemInfo &info = platform.systemInfo;
};

TEST_F(LocalSettingsTest, AFailedLocaleReadGivesThePreviousReadOfTheSameObject)
{
    info.setLocale(LOCALE_SABBREVCTRYNAME, std::nullopt);
    info.setLocale(LOCALE_SNATIVECTRYNAME, std::nullopt);
    cLocalSettings settings;
    EXPECT_EQ(settings.prpAbbrevCountryName(), QString()) << "no earlier read: empty text";
    EXPECT_EQ(settings.prpIntlMonetarySymbol(), QStringLiteral("USD"));
    EXPECT_EQ(settings.prpAbbrevCountryName(), QStringLiteral("USD"));
    // A shorter item after a longer one: only the text up to the new NUL counts.
    EXPECT_EQ(settings.prpEnglishNameOfCountry(), QStringLiteral("United States"));
    EXPECT_EQ(settings.prpLocalCurrencySymbol(), QStringLiteral("$"));
    EXPECT_EQ(settings.prpNativeNameOfCountry(), QStringLiteral("$"));
    // Another object starts with its own, empty buffer.
    EXPECT_EQ(cLocalSettings().prpNativeNameOfCountry(), QString());
}

TEST_F(LocalSettingsTest, EveryReadAsksAfresh)
{
    cLocalSettings settings;
    EXPECT_EQ(settings.prpShortDateFormat(), info.locale[LOCALE_SSHORTDATE].value());
    info.setLocale(LOCALE_SSHORTDATE, QStringLiteral("dd.MM.yyyy"));
    EXPECT_EQ(settings.prpShortDateFormat(), QStringLiteral("dd.MM.yyyy"));
    info.setLocale(LOCALE_SSHORTDATE, QString());
    EXPECT_EQ(settings.prpShortDateFormat(), QString()) << "an item the system gives as empty";
}

TEST_F(LocalSettingsTest, Metrics)
{
    const struct
    {
        std::optional<QString> item;
        QString want; // empty: type mismatch
    } cases[] = {
        {QStringLiteral("0"), QStringLiteral("Metric")},
        {QStringLiteral("1"), QStringLiteral("US")},
        {QStringLiteral("2"), QStringLiteral("2")},
        {QStringLiteral("x"), QString()},
        {QString(), QString()},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.item.value_or(QStringLiteral("<none>")).toStdString());
        info.setLocale(LOCALE_IMEASURE, c.item);
        cLocalSettings settings;
        if (c.want.isEmpty()) {
            try {
                settings.prpMetrics();
                ADD_FAILURE() << "no error raised";
            } catch (const vb::RuntimeError &e) {
                EXPECT_EQ(e.number(), vb::err::TypeMismatch);
            }
        } else {
            EXPECT_EQ(settings.prpMetrics(), c.want);
        }
    }
}

TEST_F(LocalSettingsTest, PairsReadingTheSameItemAreEqual)
{
    cLocalSettings settings;
    EXPECT_EQ(settings.prpLocalCurrency(), settings.prpLocalCurrencySymbol());
    EXPECT_EQ(settings.prpLocalCurrency(), QStringLiteral("$"));
    EXPECT_EQ(settings.prpLocalCountry(), settings.prpEnglishNameOfCountry());
    EXPECT_EQ(settings.prpLocalCountry(), QStringLiteral("United States"));
}

TEST_F(LocalSettingsTest, NamesAlwaysComeFromTheSystem)
{
    cLocalSettings settings;
    QObject holder;
    settings.letPrpComputerName(vb::Variant(QStringLiteral("stored")));
    EXPECT_EQ(vb::CStr(settings.prpComputerName()), QStringLiteral("TESTHOST"));
    settings.setPrpComputerName(&holder);
    EXPECT_EQ(vb::CStr(settings.prpComputerName()), QStringLiteral("TESTHOST"));
    settings.letPrpComputerUserName(vb::Variant(QStringLiteral("stored")));
    EXPECT_EQ(vb::CStr(settings.prpComputerUserName()), QStringLiteral("tester"));

    info.user = QStringLiteral("someone");
    EXPECT_EQ(vb::CStr(settings.prpComputerUserName()), QStringLiteral("someone"));
    // A failed name read gives empty text, not the previous name.
    info.user = std::nullopt;
    info.computer = std::nullopt;
    EXPECT_EQ(vb::CStr(settings.prpComputerUserName()), QString());
    EXPECT_EQ(vb::CStr(settings.prpComputerName()), QString());
}

TEST_F(LocalSettingsTest, Directories)
{
    cLocalSettings settings;
    EXPECT_EQ(vb::CStr(settings.prpWinDirectory()), QStringLiteral("/"));
    info.windowsDir = std::nullopt;
    EXPECT_EQ(vb::CStr(settings.prpWinDirectory()), QString());
    EXPECT_EQ(vb::CStr(settings.prpWinSysDirectory()), QString());
}

TEST_F(LocalSettingsTest, TrimAtNull)
{
    const QChar nul(QChar::Null);
    const struct
    {
        QString in, want;
    } cases[] = {
        {QStringLiteral("no nul at all"), QString()},
        {QString(nul) + QStringLiteral("after"), QString()},
        {QStringLiteral("abc") + nul + QStringLiteral("def") + nul, QStringLiteral("abc")},
        {QString(), QString()},
    };
    for (const auto &c : cases)
        EXPECT_EQ(cLocalSettings::TrimAtNull(c.in), c.want) << c.in.toStdString();
}

} // namespace
