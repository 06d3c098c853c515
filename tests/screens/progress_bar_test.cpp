// SPDX-License-Identifier: MIT
#include "screens/progress_bar.h"

#include <gtest/gtest.h>

namespace livrano {
namespace {

TEST(ProgressBarGeometry, WidthIsShareOfInnerWidthLessMargins) {
    struct Case {
        double percent, inner, width;
    };
    const Case cases[] = {
        {50, 3060, 1500},  // half of 3000
        {0, 3060, 0},      // empty bar
        {100, 3060, 3000}, // full bar stops at the right margin
        {120, 3060, 3600}, // nothing clamps a value above 100
        {38.0 + 1.0 / 3.0, 3060, 1150},
    };
    for (const Case& c : cases) {
        const ProgressBarGeometry g = progressBarGeometry(c.percent, c.inner);
        EXPECT_DOUBLE_EQ(g.width, c.width) << c.percent;
        EXPECT_EQ(g.left, 30);
        EXPECT_EQ(g.top, 30);
        EXPECT_EQ(g.height, 270);
    }
}

} // namespace
} // namespace livrano
