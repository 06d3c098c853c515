// SPDX-License-Identifier: MIT
#include "aircraft/masked_name.h"

#include <gtest/gtest.h>

#include "support/data_rows.h"

namespace livrano {
namespace {

// The cases of tests/data/masked_names.txt.
TEST(MaskedName, ReplacesCharactersAtTheStarPosition) {
    for (const std::vector<std::string>& c : testkit::dataRows("masked_names.txt", "masked")) {
        const auto expected = c[4] == "(none)" ? std::nullopt : std::optional<std::string>(c[4]);
        EXPECT_EQ(MaskedName(c[0], c[1], std::stoi(c[2]), c[3]), expected)
            << c[0] << " " << c[1] << " " << c[2];
    }
}

} // namespace
} // namespace livrano
