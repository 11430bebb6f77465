#include "support/OpenDatabase.h"

#include "core/modDataSQL.h"
#include "core/mod_VOVuriv.h"
#include "platform/vb/Conversions.h"

#include <gtest/gtest.h>

namespace {

class Lookups : public kxtest::OpenDatabaseTest
{
};

TEST_F(Lookups, ReturnIdMatchesTextWithoutRegardToCase)
{
    struct Case
    {
        const char *value;
        std::int32_t id;
    };
    const Case cases[] = {{"birthday", 1}, {"BIRTHDAY", 1}, {"Reminder", 5}, {"Wedding", -1}};
    for (const Case &c : cases)
        EXPECT_EQ(ReturnId(QStringLiteral("Events"), QStringLiteral("Events_EventName"),
                           QString::fromUtf8(c.value), QStringLiteral("Events_Id")),
                  c.id)
            << c.value;
    EXPECT_TRUE(platform.messageBox.calls().empty());
    EXPECT_FALSE(grsShared); // closed and released
}

TEST_F(Lookups, ReturnIdTakesApostrophesAsText)
{
    const auto id = addEntry(QStringLiteral("O'Brien"), QStringLiteral("1970-04-01"));
    addEntry(QStringLiteral("Other"), QStringLiteral("1970-04-02"));
    EXPECT_EQ(ReturnId(QStringLiteral("Dazez"), QStringLiteral("Dazez_Name"),
                       QStringLiteral("O'Brien"), QStringLiteral("Dazez_Id")),
              id);
    EXPECT_EQ(ReturnId(QStringLiteral("Dazez"), QStringLiteral("Dazez_Name"),
                       QStringLiteral("x' OR '1'='1"), QStringLiteral("Dazez_Id")),
              -1);
    EXPECT_TRUE(platform.messageBox.calls().empty());
}

TEST_F(Lookups, ReturnStringGivesEmptyTextWithoutARow)
{
    EXPECT_EQ(ReturnString(QStringLiteral("Events"), QStringLiteral("Events_EventName"),
                           QStringLiteral("Events_ID"), 2),
              QStringLiteral("Anniversary"));
    EXPECT_EQ(ReturnString(QStringLiteral("Dazez"), QStringLiteral("Dazez_Name"),
                           QStringLiteral("Dazez_Id"), 4711),
              QString());
}

TEST_F(Lookups, AFailedLookupAskedAndAbortedReturnsItsDefault)
{
    platform.messageBox.expect(3, QStringLiteral("cDAO.RSReadFrom"));
    EXPECT_EQ(ReturnString(QStringLiteral("Nowhere"), QStringLiteral("x"), QStringLiteral("y"), 1),
              QString());
}

TEST_F(Lookups, GetEventNameLeavesTheSharedRecordsetWhereItWas)
{
    for (const char *name : {"A", "B", "C"})
        addEntry(QString::fromUtf8(name), QStringLiteral("2000-01-01"));
    ASSERT_EQ(cDAO().RSReadFrom(QStringLiteral("SELECT * FROM Dazez ORDER BY Dazez_Name")), 3);
    const auto shared = grsShared;
    grsShared->MoveNext();

    EXPECT_EQ(vb::CStr(GetEventName(3)), QStringLiteral("Holiday"));
    EXPECT_TRUE(GetEventName(99).isEmpty());

    EXPECT_EQ(grsShared, shared);
    EXPECT_EQ(vb::CStr(grsShared->Field(QStringLiteral("Dazez_Name"))), QStringLiteral("B"));
}

} // namespace
