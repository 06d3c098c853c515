// SPDX-License-Identifier: MIT
#include "aircraft/texture_file_names.h"

#include <gtest/gtest.h>

namespace livrano {
namespace {

TEST(TextureFileClashes, AFileOfAnotherKindIsAFaultOneNameTwiceIsNot) {
    struct Case {
        std::vector<std::string> names;
        std::vector<std::pair<std::size_t, std::size_t>> clashes; // earlier, later
        bool sameName;
        const char* file; // named in the message
    };
    const Case cases[] = {
        {{"WING", "WING_c"}, {{0, 1}}, false, "WING_c.bmp"},
        {{"wing_A", "TAIL", "WING"}, {{0, 2}}, false, "WING_a.bmp"},
        {{"Wing", "TAIL", "WING"}, {{0, 2}}, true, "\"WING\""},
        {{"Wing", "WING", "wing"}, {{0, 1}, {0, 2}}, true, "\"Wing\""}, // each against the first
        {{"WING", "WINGS_c", "WING_cc"}, {}, false, ""},
    };
    for (const Case& c : cases) {
        const std::vector<TextureFileClash> found = textureFileClashes(c.names);
        ASSERT_EQ(found.size(), c.clashes.size()) << c.names.back();
        for (std::size_t k = 0; k < found.size(); ++k) {
            EXPECT_EQ(std::make_pair(found[k].earlier, found[k].later), c.clashes[k]) << c.names.back();
            EXPECT_EQ(found[k].sameName, c.sameName) << c.names.back();
            EXPECT_NE(found[k].message.find(c.file), std::string::npos) << found[k].message;
        }
    }
}

} // namespace
} // namespace livrano
