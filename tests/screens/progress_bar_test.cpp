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
        {100, 3060, 3000}, // full bar stops at the right margin
        {120, 3060, 3600}, // nothing clamps a value above 100
    };
    for (const Case& c : cases) {
        const ProgressBarGeometry g = progressBarGeometry(c.percent, c.inner);
        EXPECT_DOUBLE_EQ(g.width, c.width) << c.percent;
    }
}

} // namespace
} // namespace livrano
