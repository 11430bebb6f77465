#include "support/ScriptedPlatform.h"

#include "core/Globals.h"
#include "core/modDataSQL.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

class DebugLog : public ::testing::Test
{
protected:
    void SetUp() override { core::resetGlobals(); }
    QString path() const { return platform.programFolder() + QStringLiteral("/DebugLog.TXT"); }
    QByteArray log() const
    {
        QFile f(path());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    vb::Date now() const { return vb::Date::fromQDateTime(platform.clock.now()); }
    kxtest::ScriptedPlatform platform;
};

TEST_F(DebugLog, FirstEntryReplacesThePreviousRunsFileAndCarriesTheHeader)
{
    {
        QFile old(path());
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("previous run\r\n");
    }
    WriteDebugLog(91, QStringLiteral("Object variable or With block variable not set"),
                  QStringLiteral("frmDazez.LoadEditor"), now());
    WriteDebugLog(3021, QStringLiteral("No current record."), QStringLiteral("cDAO.RSOpen"),
                  now());

    EXPECT_EQ(log(), QByteArray("Object variable or With block variable not set\r\n"
                                "Almanoria Version: 2.12.11\r\n"
                                "Number: 91\r\n"
                                "Description: frmDazez.LoadEditor\r\n"
                                "12/10/2026 10:00:00 AM\r\n"
                                "\r\n"
                                "No current record.\r\n"
                                "Number: 3021\r\n"
                                "Description: cDAO.RSOpen\r\n"
                                "12/10/2026 10:00:00 AM\r\n"
                                "\r\n"));
}

TEST_F(DebugLog, LinesAppearOnlyForWhatTheEntryHas)
{
    WriteDebugLog(-1, QStringLiteral("first"), QString(), vb::Date()); // takes the header
    const QByteArray afterFirst = log();
    struct Case
    {
        int number;
        const char *text;
        const char *description;
        bool stamped;
        const char *lines;
    };
    const Case cases[] = {
        {0, "zero", "d", false, "zero\r\nDescription: d\r\n\r\n"},
        {-1, "negative", "", false, "negative\r\n\r\n"},
        {1, "one", "", false, "one\r\nNumber: 1\r\n\r\n"},
        {0, "", "", false, "\r\n\r\n"},
        {0, "stamped", "", true, "stamped\r\n12/10/2026 10:00:00 AM\r\n\r\n"},
    };
    QByteArray expected = afterFirst;
    for (const Case &c : cases) {
        WriteDebugLog(c.number, QString::fromUtf8(c.text), QString::fromUtf8(c.description),
                      c.stamped ? now() : vb::Date());
        expected += c.lines;
    }
    EXPECT_EQ(log(), expected);
    EXPECT_EQ(afterFirst, QByteArray("first\r\nAlmanoria Version: 2.12.11\r\n\r\n"));
}

TEST_F(DebugLog, ExtraGoesOnALineOfItsOwnAfterASpace)
{
    WriteDebugLog(-1, QStringLiteral("a"), QString(), vb::Date(), QStringLiteral("more"));
    EXPECT_TRUE(log().endsWith("\r\n more\r\n\r\n"));
}

TEST_F(DebugLog, AFailedFirstWriteStillEndsTheRunsFirstEntry)
{
    const QString real = platform.program.folderPath;
    platform.program.folderPath = real + QStringLiteral("/no/such/folder");
    WriteDebugLog(5, QStringLiteral("lost"), QStringLiteral("P"), now()); // must not raise
    platform.program.folderPath = real;
    {
        QFile kept(path());
        ASSERT_TRUE(kept.open(QIODevice::WriteOnly));
        kept.write("kept\r\n");
    }
    WriteDebugLog(-1, QStringLiteral("second"), QString(), vb::Date());
    // Not deleted again, and no second header.
    EXPECT_EQ(log(), QByteArray("kept\r\nsecond\r\n\r\n"));
}

} // namespace
