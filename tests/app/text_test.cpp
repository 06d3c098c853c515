// SPDX-License-Identifier: MIT
#include "app/text.h"

#include <gtest/gtest.h>

#include "app/code_page.h"

namespace livrano {
namespace {

TEST(Text, TrimRemovesOnlySurroundingSpacesAndCaseFoldsWindows1252Letters) {
    EXPECT_EQ(trim("  a b  "), "a b");
    EXPECT_EQ(trim("   "), "");
    EXPECT_EQ(trim(""), "");
    EXPECT_EQ(trim("\tx\t"), "\tx\t");
    // Case folds every Windows-1252 letter.
    EXPECT_EQ(toUpper("n123ab"), "N123AB");
    EXPECT_EQ(toUpper("\xE0t\xE9 \x9A\x9C\x9E\xFF \xFE \xF7"),
              "\xC0T\xC9 \x8A\x8C\x8E\x9F \xDE \xF7"); // àté šœžÿ þ ÷
    EXPECT_EQ(toLower("\xC0T\xC9 \x8A\x8C\x8E\x9F \xDE \xD7"),
              "\xE0t\xE9 \x9A\x9C\x9E\xFF \xFE \xD7"); // ÀTÉ ŠŒŽŸ Þ ×
    EXPECT_TRUE(equalsNoCase("Texture.ABC", "texture.abc"));
    EXPECT_TRUE(equalsNoCase("\xC9", "\xE9"));
    EXPECT_FALSE(equalsNoCase("Texture.ab", "texture.abc"));
}

TEST(CodePage, EveryByteRoundTripsAndForeignTextIsRefusedByName) {
    std::string all;
    for (int b = 0; b < 256; ++b)
        all += static_cast<char>(b);
    std::string back;
    ASSERT_TRUE(windows1252FromUtf8("text", utf8FromWindows1252(all), back));
    EXPECT_EQ(back, all);

    struct Case {
        const char* utf8;
        const char* windows1252; // nullptr: refused
        const char* says;
    };
    const Case cases[] = {
        {"Café ÀÉ€ Œuvre™", "Caf\xE9 \xC0\xC9\x80 \x8Cuvre\x99", ""},
        {"飛行", nullptr, "(U+98DB)"},
        {"a\xC3", nullptr, "not UTF-8"},        // cut short
        {"\xC0\xAF", nullptr, "not UTF-8"},     // overlong '/'
        {"\xED\xA0\x80", nullptr, "not UTF-8"}, // a surrogate
    };
    for (const Case& c : cases) {
        std::string out = "kept";
        const Status s = windows1252FromUtf8("variation", c.utf8, out);
        EXPECT_EQ(s.ok(), c.windows1252 != nullptr) << c.utf8;
        EXPECT_EQ(out, c.windows1252 != nullptr ? c.windows1252 : "kept") << c.utf8;
        EXPECT_NE(s.message().find(c.says), std::string::npos) << s.message();
    }
    // Saved as UTF-16: read either way round; half of a pair alone is not text.
    std::string saved;
    EXPECT_TRUE(windows1252FromSavedText("file", std::string("\xFE\xFF\0C\0\xE9", 6), saved));
    EXPECT_EQ(saved, "C\xE9");
    EXPECT_EQ(windows1252FromSavedText("file", std::string("\xFF\xFE\0\xD8\x41\0", 6), saved).message(),
              "The file is not UTF-16 text.");
    EXPECT_EQ(pathFromWindows1252("Texture.\xC0\xC9\x80"), std::filesystem::path(u8"Texture.ÀÉ€"));
}

} // namespace
} // namespace livrano
