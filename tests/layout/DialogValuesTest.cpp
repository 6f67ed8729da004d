#include "layout/DialogValues.h"

#include <gtest/gtest.h>

TEST(DialogValues, UnsignedFieldRefusesNegativeAndJunk)
{
    unsigned value = 0;
    EXPECT_TRUE(parseUnsignedField("50000", value));
    EXPECT_EQ(value, 50000u);
    EXPECT_TRUE(parseUnsignedField(" 7 ", value));
    EXPECT_EQ(value, 7u);
    // Object numbers are 32-bit signed: a larger value is refused, never wrapped.
    EXPECT_TRUE(parseUnsignedField("2147483647", value));
    EXPECT_EQ(value, 2147483647u);
    EXPECT_FALSE(parseUnsignedField("2147483648", value));
    EXPECT_FALSE(parseUnsignedField("3000000000", value));
    EXPECT_FALSE(parseUnsignedField("-1", value));
    EXPECT_FALSE(parseUnsignedField("4294967296", value));
    EXPECT_FALSE(parseUnsignedField("", value));
    EXPECT_FALSE(parseUnsignedField("12a", value));
    EXPECT_FALSE(parseUnsignedField("1 2", value));
}

TEST(DialogValues, SignedFieldAcceptsNegative)
{
    int value = 0;
    EXPECT_TRUE(parseSignedField("-5", value));
    EXPECT_EQ(value, -5);
    EXPECT_TRUE(parseSignedField("99999999", value));
    EXPECT_EQ(value, 99999999);
    EXPECT_TRUE(parseSignedField("-2147483648", value));
    EXPECT_FALSE(parseSignedField("2147483648", value));
    EXPECT_FALSE(parseSignedField("-", value));
}

TEST(DialogValues, TextExtensionIsAddedWhenTheFileNameHasNoDot)
{
    EXPECT_EQ(withTextExtension("dir.v1/codeexport"), "dir.v1/codeexport.txt");
    EXPECT_EQ(withTextExtension("/home/a.b/c.d/list"), "/home/a.b/c.d/list.txt");
    EXPECT_EQ(withTextExtension("c:\\x.y\\list"), "c:\\x.y\\list.txt");
    EXPECT_EQ(withTextExtension("dir/list.csv"), "dir/list.csv");
    EXPECT_EQ(withTextExtension("list"), "list.txt");
    EXPECT_EQ(withTextExtension("dir.v1/.hidden"), "dir.v1/.hidden");
}
