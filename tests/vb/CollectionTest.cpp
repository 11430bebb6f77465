#include "ErrorTesting.h"

#include "platform/vb/Collection.h"
#include "platform/vb/Conversions.h"

using vb::Collection;
using vb::Variant;

namespace {

class CollectionTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        list.Add(Variant(std::int32_t(10)), QStringLiteral("a10"));
        list.Add(Variant("twenty"), QStringLiteral("a20"));
        list.Add(Variant(3.5));
        list.Add(Variant(std::int32_t(40)), QStringLiteral("a40"));
    }
    Collection list;
};

} // namespace

TEST_F(CollectionTest, PositionsAreOneBasedInOrderOfAdding)
{
    ASSERT_EQ(list.Count(), 4);
    EXPECT_EQ(list.Item(1), Variant(std::int32_t(10)));
    EXPECT_EQ(list(2), Variant("twenty"));
    EXPECT_EQ(list.Item(3), Variant(3.5));
    EXPECT_EQ(list.Key(1), QStringLiteral("a10"));
    EXPECT_EQ(list.Key(3), QString());
}

TEST_F(CollectionTest, RemoveClosesTheGap)
{
    list.Remove(2);
    ASSERT_EQ(list.Count(), 3);
    EXPECT_EQ(list.Item(2), Variant(3.5));
    EXPECT_EQ(list.Item(3), Variant(std::int32_t(40)));
    EXPECT_EQ(list.Key(3), QStringLiteral("a40"));
    // The removed key is free again.
    list.Add(Variant("again"), QStringLiteral("A20"));
    EXPECT_EQ(list.Key(4), QStringLiteral("A20"));
}

TEST_F(CollectionTest, DuplicateKeyIgnoresCaseAndLeavesTheListAlone)
{
    EXPECT_EQ(errorNumberOf([&] { list.Add(Variant("x"), QStringLiteral("A10")); }), 457);
    EXPECT_EQ(list.Count(), 4);
    // Items without a key never clash.
    list.Add(Variant("y"));
    EXPECT_EQ(list.Count(), 5);
}

TEST_F(CollectionTest, PositionsOutOfRangeRaiseSubscriptOutOfRange)
{
    for (int position : {0, -1, 5}) {
        SCOPED_TRACE(position);
        EXPECT_EQ(errorNumberOf([&] { list.Item(position); }), 9);
        EXPECT_EQ(errorNumberOf([&] { list.Key(position); }), 9);
        EXPECT_EQ(errorNumberOf([&] { list.Remove(position); }), 9);
    }
    EXPECT_EQ(list.Count(), 4);
}

TEST(Collection, EmptyCollection)
{
    Collection list;
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(errorNumberOf([&] { list.Item(1); }), 9);
    EXPECT_EQ(errorNumberOf([&] { list.Remove(1); }), 9);
}
