// SPDX-License-Identifier: MIT
#include "app/text.h"

#include <gtest/gtest.h>

#include "app/code_page.h"
#include "support/data_rows.h"

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

    for (const std::vector<std::string>& c : testkit::dataRows("code_page_cases.txt", "convert")) {
        std::string out = "kept";
        const Status s = windows1252FromUtf8("variation", c[0], out);
        EXPECT_EQ(s.ok(), c[1] != "-") << c[0];
        EXPECT_EQ(out, c[1] != "-" ? c[1] : "kept") << c[0];
        EXPECT_NE(s.message().find(c[2]), std::string::npos) << s.message();
    }
    // Saved as UTF-16: read either way round; half of a pair alone is not text.
    std::string saved;
    EXPECT_TRUE(windows1252FromSavedText("file", std::string("\xFE\xFF\0C\0\xE9", 6), saved));
    EXPECT_EQ(saved, "C\xE9");
    EXPECT_EQ(windows1252FromSavedText("file", std::string("\xFF\xFE\0\xD8\x41\0", 6), saved).message(),
              "The file is not UTF-16 text.");
    EXPECT_EQ(pathFromWindows1252("Texture.\xC0\xC9\x80"), std::filesystem::path(u8"Texture.ÀÉ€"));
    // What is printed must be UTF-8: every byte converted is, and a stray byte anywhere is not.
    EXPECT_TRUE(isUtf8(utf8FromWindows1252(all)));
    for (const char* broken : {"\x80", "ok\xFF", "\xC0\xAF",
                               "a\xED\xA0\x80"
                               "b"})
        EXPECT_FALSE(isUtf8(broken)) << broken;
}

} // namespace
} // namespace livrano
