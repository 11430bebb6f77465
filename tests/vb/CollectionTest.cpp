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

TEST_F(CollectionTest, ItemByKeyIgnoresCaseAndFollowsRemovals)
{
    EXPECT_EQ(list.Item(QStringLiteral("A20")), Variant("twenty"));
    list.Remove(1);
    list.Remove(1);
    // The rest keep their order and are still found by their keys at their new positions.
    ASSERT_EQ(list.Count(), 2);
    EXPECT_EQ(list.Item(1), Variant(3.5));
    EXPECT_EQ(list.Item(QStringLiteral("a40")), Variant(std::int32_t(40)));
    EXPECT_EQ(list.Item(2), Variant(std::int32_t(40)));
    for (const char *gone : {"a10", "A20"}) {
        SCOPED_TRACE(gone);
        EXPECT_EQ(errorNumberOf([&] { list.Item(QString::fromLatin1(gone)); }), 5);
    }
}

TEST_F(CollectionTest, MissingKeyRaisesInvalidProcedureCall)
{
    for (const char *key : {"a11", "a1", "", "a10 "}) {
        SCOPED_TRACE(key);
        EXPECT_EQ(errorNumberOf([&] { list.Item(QString::fromLatin1(key)); }), 5);
    }
}

// The keys compare as the runtime compares text without regard to case, letter by letter,
// beyond ASCII too; a key that folds to another length is another key.
TEST(Collection, KeysCompareAsTextWithoutRegardToCase)
{
    struct Case
    {
        QString stored;
        QString asked;
        bool same;
    };
    const Case cases[] = {
        {QStringLiteral("12k"), QStringLiteral("12K"), true},
        {QStringLiteral("12k"), QStringLiteral("12"), false},
        {QString::fromUtf8("Ärger"), QString::fromUtf8("äRGER"), true},
        {QString::fromUtf8("ΣΟΦΙΑ"), QString::fromUtf8("σοφια"), true},
        {QString::fromUtf8("ς"), QString::fromUtf8("Σ"), true},
        {QString::fromUtf8("straße"), QString::fromUtf8("STRASSE"), false},
        {QString::fromUtf8("Émile"), QString::fromUtf8("emile"), false},
        {QString::fromUtf8("𐐀"), QString::fromUtf8("𐐨"), true}, // Deseret
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.stored.toStdString() + " / " + c.asked.toStdString());
        ASSERT_EQ(QString::compare(c.stored, c.asked, Qt::CaseInsensitive) == 0, c.same);
        Collection list;
        list.Add(Variant("stored"), c.stored);
        EXPECT_EQ(errorNumberOf([&] { list.Add(Variant("asked"), c.asked); }), c.same ? 457 : 0);
        EXPECT_EQ(list.Item(c.asked), Variant(c.same ? "stored" : "asked"));
    }
}

TEST(Collection, ManyKeysStayDistinctAndFound)
{
    // Keys as the upcoming-event lists make them, far past any small-table shortcut.
    Collection list;
    for (int i = 1; i <= 5000; ++i)
        list.Add(Variant(std::int32_t(i)), QString::number(i) + QLatin1Char('k'));
    EXPECT_EQ(errorNumberOf([&] { list.Add(Variant("again"), QStringLiteral("2500K")); }), 457);
    for (int i = 1; i <= 5000; i += 499)
        EXPECT_EQ(list.Item(QString::number(i) + QLatin1Char('K')), Variant(std::int32_t(i)));
    list.Remove(1);
    EXPECT_EQ(list.Item(1), Variant(std::int32_t(2)));
    EXPECT_EQ(list.Item(QStringLiteral("5000k")), Variant(std::int32_t(5000)));
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
