#include "ErrorTesting.h"

TEST(RuntimeError, RaiseCarriesNumberAndStandardText)
{
    const struct
    {
        int number;
        const char *text;
    } cases[] = {
        {5, "Invalid procedure call or argument"},
        {6, "Overflow"},
        {7, "Out of memory"},
        {9, "Subscript out of range"},
        {13, "Type mismatch"},
        {53, "File not found"},
        {70, "Permission denied"},
        {75, "Path/File access error"},
        {91, "Object variable or With block variable not set"},
        {94, "Invalid use of Null"},
        {364, "Object was unloaded"},
        {380, "Invalid property value"},
        {457, "This key is already associated with an element of this collection"},
        {1234, "Application-defined or object-defined error"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.number);
        try {
            vb::raise(c.number);
            FAIL() << "no error raised";
        } catch (const vb::RuntimeError &e) {
            EXPECT_EQ(e.number(), c.number);
            EXPECT_EQ(e.description(), QString::fromUtf8(c.text));
            EXPECT_STREQ(e.what(), c.text);
        }
    }
}

TEST(RuntimeError, RaiseWithOwnDescription)
{
    try {
        vb::raise(3024, QStringLiteral("Could not find file 'x.mdb'."));
        FAIL() << "no error raised";
    } catch (const vb::RuntimeError &e) {
        EXPECT_EQ(e.number(), 3024);
        EXPECT_EQ(e.description(), QStringLiteral("Could not find file 'x.mdb'."));
    }
}
