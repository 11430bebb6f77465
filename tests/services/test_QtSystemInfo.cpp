#include "platform/services/LocaleTypes.h"
#include "platform/services/QtServices.h"
#include "platform/vb/Locale.h"

#include <gtest/gtest.h>

using namespace platform;

namespace {

// Each test sets the user's pictures for its locale; the US pictures come back afterwards.
class LocaleInfo : public ::testing::Test
{
protected:
    void TearDown() override
    {
        vb::setUserPictures(vb::picturesFor(QLocale(QStringLiteral("en_US"))));
    }

    std::optional<QString> item(const char *locale, std::uint32_t lctype)
    {
        vb::setUserPictures(vb::picturesFor(QLocale(QString::fromLatin1(locale))));
        return QtSystemInfo().localeInfo(LOCALE_USER_DEFAULT, lctype);
    }
};

struct ItemCase
{
    const char *locale;
    std::uint32_t lctype;
    std::optional<QString> expected;
};

const std::uint32_t allItems[] = {
    LOCALE_ILANGUAGE,
    LOCALE_SLANGUAGE,
    LOCALE_SABBREVLANGNAME,
    LOCALE_SNATIVELANGNAME,
    LOCALE_ICOUNTRY,
    LOCALE_SCOUNTRY,
    LOCALE_SABBREVCTRYNAME,
    LOCALE_SNATIVECTRYNAME,
    LOCALE_IDEFAULTLANGUAGE,
    LOCALE_IDEFAULTCOUNTRY,
    LOCALE_IDEFAULTCODEPAGE,
    LOCALE_SLIST,
    LOCALE_IMEASURE,
    LOCALE_SDECIMAL,
    LOCALE_STHOUSAND,
    LOCALE_SGROUPING,
    LOCALE_IDIGITS,
    LOCALE_ILZERO,
    LOCALE_SNATIVEDIGITS,
    LOCALE_SCURRENCY,
    LOCALE_SINTLSYMBOL,
    LOCALE_SMONDECIMALSEP,
    LOCALE_SMONTHOUSANDSEP,
    LOCALE_SMONGROUPING,
    LOCALE_ICURRDIGITS,
    LOCALE_IINTLCURRDIGITS,
    LOCALE_ICURRENCY,
    LOCALE_INEGCURR,
    LOCALE_SDATE,
    LOCALE_STIME,
    LOCALE_SSHORTDATE,
    LOCALE_SLONGDATE,
    LOCALE_IDATE,
    LOCALE_ILDATE,
    LOCALE_ITIME,
    LOCALE_ICENTURY,
    LOCALE_SENGLANGUAGE,
    LOCALE_SENGCOUNTRY,
    LOCALE_STIMEFORMAT,
};

} // namespace

TEST_F(LocaleInfo, WindowsAnswers)
{
    const ItemCase cases[] = {
        {"en_US", LOCALE_ILANGUAGE, "0409"},
        {"en_US", LOCALE_IDEFAULTLANGUAGE, "0409"},
        {"en_US", LOCALE_SLANGUAGE, "English (United States)"},
        {"en_US", LOCALE_SENGLANGUAGE, "English"},
        {"en_US", LOCALE_SABBREVLANGNAME, "ENU"},
        {"en_US", LOCALE_SNATIVELANGNAME, "English"},
        {"en_US", LOCALE_ICOUNTRY, "1"},
        {"en_US", LOCALE_IDEFAULTCOUNTRY, "1"},
        {"en_US", LOCALE_SCOUNTRY, "United States"},
        {"en_US", LOCALE_SENGCOUNTRY, "United States"},
        {"en_US", LOCALE_SABBREVCTRYNAME, "USA"},
        {"en_US", LOCALE_SNATIVECTRYNAME, "United States"},
        {"en_US", LOCALE_SLIST, ","},
        {"en_US", LOCALE_IMEASURE, "1"},
        {"en_US", LOCALE_SDECIMAL, "."},
        {"en_US", LOCALE_STHOUSAND, ","},
        {"en_US", LOCALE_SGROUPING, "3;0"},
        {"en_US", LOCALE_IDIGITS, "2"},
        {"en_US", LOCALE_ILZERO, "1"},
        {"en_US", LOCALE_SNATIVEDIGITS, "0123456789"},
        {"en_US", LOCALE_SCURRENCY, "$"},
        {"en_US", LOCALE_SINTLSYMBOL, "USD"},
        {"en_US", LOCALE_SMONDECIMALSEP, "."},
        {"en_US", LOCALE_SMONTHOUSANDSEP, ","},
        {"en_US", LOCALE_SMONGROUPING, "3;0"},
        {"en_US", LOCALE_ICURRDIGITS, "2"},
        {"en_US", LOCALE_IINTLCURRDIGITS, "2"},
        {"en_US", LOCALE_ICURRENCY, "0"},
        {"en_US", LOCALE_INEGCURR, "0"},
        {"en_US", LOCALE_SDATE, "/"},
        {"en_US", LOCALE_STIME, ":"},
        {"en_US", LOCALE_SSHORTDATE, "M/d/yyyy"},
        {"en_US", LOCALE_STIMEFORMAT, "h:mm:ss tt"},
        {"en_US", LOCALE_IDATE, "0"},
        {"en_US", LOCALE_ILDATE, "0"},
        {"en_US", LOCALE_ITIME, "0"},
        {"en_US", LOCALE_ICENTURY, "1"},

        {"de_DE", LOCALE_ILANGUAGE, "0407"},
        {"de_DE", LOCALE_SLANGUAGE, "Deutsch (Deutschland)"},
        {"de_DE", LOCALE_SENGLANGUAGE, "German"},
        {"de_DE", LOCALE_SABBREVLANGNAME, "DEU"},
        {"de_DE", LOCALE_SNATIVELANGNAME, "Deutsch"},
        {"de_DE", LOCALE_ICOUNTRY, "49"},
        {"de_DE", LOCALE_SCOUNTRY, "Deutschland"},
        {"de_DE", LOCALE_SENGCOUNTRY, "Germany"},
        {"de_DE", LOCALE_SABBREVCTRYNAME, "DEU"},
        {"de_DE", LOCALE_SLIST, ";"},
        {"de_DE", LOCALE_IMEASURE, "0"},
        {"de_DE", LOCALE_SDECIMAL, ","},
        {"de_DE", LOCALE_STHOUSAND, "."},
        {"de_DE", LOCALE_SGROUPING, "3;0"},
        {"de_DE", LOCALE_SCURRENCY, "\u20AC"},
        {"de_DE", LOCALE_SINTLSYMBOL, "EUR"},
        {"de_DE", LOCALE_SMONDECIMALSEP, ","},
        {"de_DE", LOCALE_SMONTHOUSANDSEP, "."},
        {"de_DE", LOCALE_ICURRDIGITS, "2"},
        {"de_DE", LOCALE_ICURRENCY, "3"},
        {"de_DE", LOCALE_INEGCURR, "8"},
        {"de_DE", LOCALE_SDATE, "."},
        {"de_DE", LOCALE_IDATE, "1"},
        {"de_DE", LOCALE_ILDATE, "1"},
        {"de_DE", LOCALE_ITIME, "1"},
        {"de_DE", LOCALE_ICENTURY, "1"},

        {"en_GB", LOCALE_ILANGUAGE, "0809"},
        {"en_GB", LOCALE_SLANGUAGE, "English (United Kingdom)"},
        {"en_GB", LOCALE_SABBREVLANGNAME, "ENG"},
        {"en_GB", LOCALE_SNATIVELANGNAME, "English"},
        {"en_GB", LOCALE_ICOUNTRY, "44"},
        {"en_GB", LOCALE_SENGCOUNTRY, "United Kingdom"},
        {"en_GB", LOCALE_SABBREVCTRYNAME, "GBR"},
        {"en_GB", LOCALE_SLIST, ","},
        {"en_GB", LOCALE_IMEASURE, "0"}, // Qt's imperial UK system: Windows counts it metric
        {"en_GB", LOCALE_SCURRENCY, "\u00A3"},
        {"en_GB", LOCALE_SINTLSYMBOL, "GBP"},
        {"en_GB", LOCALE_ICURRENCY, "0"},
        {"en_GB", LOCALE_SDATE, "/"},
        {"en_GB", LOCALE_IDATE, "1"},
        {"en_GB", LOCALE_ITIME, "1"},

        // Shapes the three above do not show.
        {"hi_IN", LOCALE_SGROUPING, "3;2;0"},
        {"ar_EG", LOCALE_SNATIVEDIGITS,
         "\u0660\u0661\u0662\u0663\u0664\u0665\u0666\u0667\u0668\u0669"},
        {"ja_JP", LOCALE_ICURRDIGITS, "0"},
        {"fr_CA", LOCALE_ICOUNTRY, "2"},
        {"pt_BR", LOCALE_ICURRENCY, "2"},
        {"pt_BR", LOCALE_INEGCURR, "12"},
        {"de_CH", LOCALE_SNATIVELANGNAME, "Deutsch"},
        // Not in the small tables: no language id, no country code.
        {"sw_KE", LOCALE_ILANGUAGE, std::nullopt},
        {"sw_KE", LOCALE_SABBREVLANGNAME, std::nullopt},
        {"sw_KE", LOCALE_ICOUNTRY, std::nullopt},
        {"sw_KE", LOCALE_SABBREVCTRYNAME, std::nullopt},
        {"sw_KE", LOCALE_SENGLANGUAGE, "Swahili"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(item(c.locale, c.lctype), c.expected)
            << c.locale << " item 0x" << std::hex << c.lctype;
}

TEST_F(LocaleInfo, PicturesAreTheUsersOwn)
{
    for (const char *locale : {"en_US", "de_DE", "en_GB", "fr_CA"}) {
        SCOPED_TRACE(locale);
        vb::setUserPictures(vb::picturesFor(QLocale(QString::fromLatin1(locale))));
        const QtSystemInfo info;
        const vb::LocalePictures &p = vb::userPictures();
        EXPECT_EQ(info.localeInfo(LOCALE_USER_DEFAULT, LOCALE_SSHORTDATE), p.shortDate);
        EXPECT_EQ(info.localeInfo(LOCALE_USER_DEFAULT, LOCALE_SLONGDATE), p.longDate);
        EXPECT_EQ(info.localeInfo(LOCALE_USER_DEFAULT, LOCALE_STIMEFORMAT), p.time);
        EXPECT_EQ(info.localeInfo(LOCALE_USER_DEFAULT, LOCALE_SDATE), p.dateSeparator);
        EXPECT_EQ(info.localeInfo(LOCALE_USER_DEFAULT, LOCALE_STIME), p.timeSeparator);
    }
}

TEST_F(LocaleInfo, EveryItemAnswersForTheUsLocale)
{
    vb::setUserPictures(vb::picturesFor(QLocale(QStringLiteral("en_US"))));
    const QtSystemInfo info;
    for (std::uint32_t lctype : allItems)
        EXPECT_TRUE(info.localeInfo(LOCALE_USER_DEFAULT, lctype).has_value())
            << "item 0x" << std::hex << lctype;
}

TEST_F(LocaleInfo, OtherLocaleIdsAndItemsAnswerNothing)
{
    const QtSystemInfo info;
    EXPECT_FALSE(info.localeInfo(0x0407, LOCALE_SSHORTDATE).has_value());
    EXPECT_FALSE(info.localeInfo(LOCALE_USER_DEFAULT, 0x1004).has_value());
    EXPECT_TRUE(info.localeInfo(LOCALE_SYSTEM_DEFAULT, LOCALE_SSHORTDATE).has_value());
}

// ---- Version --------------------------------------------------------------------------------

TEST(VersionFromRelease, KernelNumbersAndPrettyName)
{
    const QString debian =
        QStringLiteral("PRETTY_NAME=\"Debian GNU/Linux 12 (bookworm)\"\nNAME=\"Debian "
                       "GNU/Linux\"\nVERSION_ID=\"12\"\n");
    const QString longName = QString(200, QLatin1Char('x'));
    const struct
    {
        const char *release;
        QString osRelease;
        std::optional<SystemInfoService::Version> expected;
    } cases[] = {
        {"6.1.0-18-amd64", debian,
         SystemInfoService::Version{6, 1, 0, 2, "Debian GNU/Linux 12 (bookworm)"}},
        {"6.18.44-fc-v1403", "", SystemInfoService::Version{6, 18, 44, 2, ""}},
        {"5.15", "PRETTY_NAME=Plain", SystemInfoService::Version{5, 15, 0, 2, "Plain"}},
        {"4", "PRETTY_NAME='Single quoted'",
         SystemInfoService::Version{4, 0, 0, 2, "Single quoted"}},
        {"3.10.0-1160.el7.x86_64",
         "NAME=x\n# PRETTY_NAME=\"comment\"\nPRETTY_NAME=\"A \\\"B\\\" \\\\ C\"",
         SystemInfoService::Version{3, 10, 0, 2, "A \"B\" \\ C"}},
        {"6.5.0", "PRETTY_NAME=\"" + longName + "\"",
         SystemInfoService::Version{6, 5, 0, 2, longName.left(127)}},
        {"6.5.0", "NAME=\"No pretty name\"", SystemInfoService::Version{6, 5, 0, 2, ""}},
        {"", debian, std::nullopt},
        {"unknown", debian, std::nullopt},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.release);
        const auto v = versionFromRelease(QString::fromLatin1(c.release), c.osRelease);
        ASSERT_EQ(v.has_value(), c.expected.has_value());
        if (!v)
            continue;
        EXPECT_EQ(v->major, c.expected->major);
        EXPECT_EQ(v->minor, c.expected->minor);
        EXPECT_EQ(v->build, c.expected->build);
        EXPECT_EQ(v->platformId, 2u);
        EXPECT_EQ(v->servicePack, c.expected->servicePack);
    }
}
