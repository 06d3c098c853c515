// SPDX-License-Identifier: MIT
#include "aircraft/masked_name.h"

#include <gtest/gtest.h>

namespace livrano {
namespace {

TEST(MaskedName, ReplacesCharactersAtTheStarPosition) {
    struct Case {
        const char *base, *mask;
        int n;
        const char *id, *expected; // nullptr: the name cannot be derived
    };
    const Case cases[] = {
        {"T_FUSE_XXX_1", "T_FUSE_*", 3, "QRX", "T_FUSE_QRX_1"},
        {"Craft_XXX", "Craft_*", 3, "QRX", "Craft_QRX"},
        {"XXX_wing", "*", 3, "ABC", "ABC_wing"},         // star first: the first n characters
        {"Craft_XXX", "Other_*", 3, "QRX", "Craft_QRX"}, // the mask's other characters are not compared
        {"Craft_XXX", "Craft_*", 3, "QR", "Craft_QR"},   // a shorter identifier shortens the name
        {"Craft_XXX", "Craft_*", 0, "Q", "Craft_QXXX"},
        {"ABC", "***", 3, "xyz", "xyz"},
        {"Craft_XXX", "Craft_", 3, "QRX", nullptr}, // no star
        {"Craft_XX", "Craft_*", 3, "QRX", nullptr}, // too short
        {"Craft_XXX", "Craft_*", -1, "QRX", nullptr},
    };
    for (const Case& c : cases) {
        const auto expected = c.expected ? std::optional<std::string>(c.expected) : std::nullopt;
        EXPECT_EQ(MaskedName(c.base, c.mask, c.n, c.id), expected) << c.base << " " << c.mask << " " << c.n;
    }
}

} // namespace
} // namespace livrano
