// The system-data section: the whole debug log that WriteSystemData writes as a run's first
// entries, compared line by line.

#include "core/Globals.h"
#include "core/modFehlerHandler.h"

#include "platform/services/LocaleTypes.h"
#include "platform/services/Services.h"
#include "support/ScriptedPlatform.h"

#include <QFile>
#include <QStringList>

#include <gtest/gtest.h>

using namespace platform;

namespace {

// The section on the scripted en_US system, with the native digits item given as empty text.
const char *const kExpectedLog = R"(Computer Name: 
Almanoria Version: 2.12.11
Description: TESTHOST

Computer UserName: 
Description: tester

Country Name: 
Description: USA

CountryCode: 
Description: 1

Date Seperator: 
Description: /

Decimal Seperator: 
Description: .

CountryCode: 
Description: 1

Default Code Page: 
Description: 437

Default Country Code: 
Description: 1

Default Language Id: 
Description: 0409

English Name of Country: 
Description: United States

Intl. Monetary Symbol: 
Description: USD

Language Id: 
Description: 0409

Leading Zeros: 
Description: 1

ListItem Seperator: 
Description: ,

Local Country: 
Description: United States

Local Currency: 
Description: $

Local Currency Symbol: 
Description: $

Localized Name of Country: 
Description: United States

Local Language English Name: 
Description: English

Local Language Name: 
Description: English (United States)

Local Monetary Digits: 
Description: 2

Long Date Format: 
Description: dddd, MMMM dd, yyyy

Long Date Format Ordering: 
Description: 0

Metrics: 
Description: US

Monetary Decimal Seperator: 
Description: .

Native Ascii: 

Native Name of Country: 
Description: United States

Native Name of Language: 
Description: English

Native Currence Mode: 
Description: 0

Positive Monetary Mode: 
Description: 0

Short Date Format: 
Description: M/d/yyyy

Short Date Format Ordering: 
Description: 0

Thousand Seperator: 
Description: ,

Time Format: 
Description: h:mm:ss tt

Time Format Specifier: 
Description: 0

Time Seperator: 
Description: :

ScreenWidth: 
Description: 1024

ScreenHeight: 
Description: 768

TwipsPerPixelX: 
Description: 15

Windows Version: 6.1

Build Number: 0

Service Pack: Test Linux 1

End of Debug Info Gathering 



)";

QStringList lines(QString text)
{
    return text.split(QStringLiteral("\r\n"));
}

// Screen metrics given in twips directly, so that a size need not be whole pixels.
class TwipScreen : public ScreenService
{
public:
    double tpp = 15, width = 0, height = 0;
    double twipsPerPixelX() const override { return tpp; }
    double twipsPerPixelY() const override { return tpp; }
    double widthTwips() const override { return width; }
    double heightTwips() const override { return height; }
};

class SystemDataTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        core::resetGlobals();
        kxtest::FakeSystemInfo &info = platform.systemInfo;
        // The pictures-derived items fixed here, so the reference text does not follow the
        // test machine.
        info.setLocale(LOCALE_SDECIMAL, QStringLiteral("."));
        info.setLocale(LOCALE_STHOUSAND, QStringLiteral(","));
        info.setLocale(LOCALE_SDATE, QStringLiteral("/"));
        info.setLocale(LOCALE_STIME, QStringLiteral(":"));
        info.setLocale(LOCALE_SSHORTDATE, QStringLiteral("M/d/yyyy"));
        info.setLocale(LOCALE_SLONGDATE, QStringLiteral("dddd, MMMM dd, yyyy"));
        info.setLocale(LOCALE_STIMEFORMAT, QStringLiteral("h:mm:ss tt"));
        info.setLocale(LOCALE_SNATIVEDIGITS, QString());
    }
    void TearDown() override { core::resetGlobals(); }

    QString log() const
    {
        QFile file(platform.programFolder() + QStringLiteral("/DebugLog.TXT"));
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        return QString::fromLocal8Bit(file.readAll());
    }

    kxtest::ScriptedPlatform platform;
};

TEST_F(SystemDataTest, TheWholeSectionAsTheFirstEntriesOfARun)
{
    // A previous run's file goes with the first entry.
    {
        QFile old(platform.programFolder() + QStringLiteral("/DebugLog.TXT"));
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("previous run\r\n");
    }
    WriteSystemData();
    const QStringList want = QString::fromUtf8(kExpectedLog).split(QLatin1Char('\n'));
    const QStringList got = lines(log());
    ASSERT_EQ(got.size(), want.size());
    for (qsizetype i = 0; i < want.size(); ++i)
        EXPECT_EQ(got[i], want[i]) << "line " << i + 1;
    EXPECT_EQ(got.count(QStringLiteral("CountryCode: ")), 2);
    EXPECT_TRUE(platform.messageBox.calls().empty());

    EXPECT_EQ(gudtAppInfo.ShortDateFormat, QStringLiteral("M/d/yyyy"));
    EXPECT_EQ(gudtAppInfo.CountryEnglishName, QStringLiteral("United States"));
    EXPECT_EQ(gudtAppInfo.IntlMonetarySymbol, QStringLiteral("USD"));
}

TEST_F(SystemDataTest, AFailedVersionCall)
{
    platform.systemInfo.versionInfo.reset();
    WriteSystemData();
    const QStringList got = lines(log());
    const qsizetype at = got.indexOf(QStringLiteral("Windows Version: 0.0"));
    ASSERT_GE(at, 0);
    EXPECT_EQ(got.mid(at, 6), (QStringList{QStringLiteral("Windows Version: 0.0"), QString(),
                                           QStringLiteral("Build Number: 0"), QString(),
                                           QStringLiteral("Service Pack: "), QString()}));
}

TEST_F(SystemDataTest, ScreenEntries)
{
    const struct
    {
        double tpp, width, height;
        const char *wantWidth, *wantHeight, *wantTpp;
    } cases[] = {
        {15, 15360, 11520, "1024", "768", "15"},
        // Halves go to the even neighbour: 1024.5 -> 1024, 769.5 -> 770.
        {15, 15367.5, 11542.5, "1024", "770", "15"},
        {12, 23040, 14400, "1920", "1200", "12"},
        {13.5, 13824, 10368, "1024", "768", "13.5"},
    };
    TwipScreen screen;
    ScreenService *const previous = services().screen;
    services().screen = &screen;
    for (const auto &c : cases) {
        SCOPED_TRACE(c.wantTpp);
        core::resetGlobals();
        screen.tpp = c.tpp;
        screen.width = c.width;
        screen.height = c.height;
        WriteSystemData();
        const QStringList got = lines(log());
        const qsizetype at = got.indexOf(QStringLiteral("ScreenWidth: "));
        ASSERT_GE(at, 0);
        EXPECT_EQ(
            got.mid(at, 9),
            (QStringList{QStringLiteral("ScreenWidth: "),
                         QStringLiteral("Description: ") + QLatin1String(c.wantWidth), QString(),
                         QStringLiteral("ScreenHeight: "),
                         QStringLiteral("Description: ") + QLatin1String(c.wantHeight), QString(),
                         QStringLiteral("TwipsPerPixelX: "),
                         QStringLiteral("Description: ") + QLatin1String(c.wantTpp), QString()}));
    }
    services().screen = previous;
}

TEST_F(SystemDataTest, AMeasureThatIsNoNumberAsksAndIgnoreGoesOnWithTheNextEntry)
{
    platform.systemInfo.setLocale(LOCALE_IMEASURE, QStringLiteral("?"));
    platform.messageBox.expect(mb::Ignore, QStringLiteral("MainCodeRB.WriteSystemData"));
    WriteSystemData();
    ASSERT_EQ(platform.messageBox.calls().size(), 1u);
    EXPECT_TRUE(platform.messageBox.calls()[0].prompt.startsWith(
        QStringLiteral("An error has occured: 13\r\n")));
    const QString text = log();
    EXPECT_FALSE(text.contains(QStringLiteral("Metrics: ")));
    EXPECT_TRUE(text.contains(QStringLiteral("Monetary Decimal Seperator: ")));
    EXPECT_TRUE(text.contains(QStringLiteral("End of Debug Info Gathering ")));
    // The error's own entry comes between the section's, with its number and procedure name.
    EXPECT_TRUE(
        text.contains(QStringLiteral("Number: 13\r\nDescription: MainCodeRB.WriteSystemData")));
}

TEST_F(SystemDataTest, AbortEndsTheSectionEarly)
{
    platform.systemInfo.setLocale(LOCALE_IMEASURE, QStringLiteral("?"));
    platform.messageBox.expect(mb::Abort, QStringLiteral("MainCodeRB.WriteSystemData"));
    WriteSystemData();
    const QString text = log();
    EXPECT_TRUE(text.contains(QStringLiteral("Long Date Format Ordering: ")));
    EXPECT_FALSE(text.contains(QStringLiteral("Monetary Decimal Seperator: ")));
    EXPECT_FALSE(text.contains(QStringLiteral("End of Debug Info Gathering ")));
}

} // namespace
