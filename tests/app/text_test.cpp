#include "app/text.h"

#include <gtest/gtest.h>

namespace livrano {
namespace {

TEST(Text, TrimRemovesOnlySurroundingSpaces) {
    EXPECT_EQ(trim("  a b  "), "a b");
    EXPECT_EQ(trim("   "), "");
    EXPECT_EQ(trim(""), "");
    EXPECT_EQ(trim("\tx\t"), "\tx\t");
}

TEST(Text, CaseFoldingCoversWindows1252Letters) {
    EXPECT_EQ(toUpper("n123ab"), "N123AB");
    EXPECT_EQ(toUpper("\xE9t\xE9 \x9A\xFF \xF7"), "\xC9T\xC9 \x8A\x9F \xF7"); // été šÿ ÷
    EXPECT_EQ(toLower("\xC9T\xC9"), "\xE9t\xE9");
    EXPECT_TRUE(equalsNoCase("Texture.ABC", "texture.abc"));
    EXPECT_TRUE(equalsNoCase("\xC9", "\xE9"));
    EXPECT_FALSE(equalsNoCase("Texture.ab", "texture.abc"));
}

TEST(Text, TwoDigitIndexes) {
    EXPECT_EQ(twoDigits(0), "00");
    EXPECT_EQ(twoDigits(9), "09");
    EXPECT_EQ(twoDigits(10), "10");
    EXPECT_EQ(twoDigits(123), "123");
}

} // namespace
} // namespace livrano
