// SPDX-License-Identifier: MIT
#include "texture/stretch.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "../../tools/gdi-reference/case_line.h"

namespace livrano {
namespace {

Bitmap picture(int width, int height, int bytesPerPixel, const std::string& hex) {
    Bitmap b;
    b.width = width;
    b.height = height;
    b.bytesPerPixel = bytesPerPixel;
    b.pixels = fromHex(hex);
    return b;
}

// Each line of the table is a StretchBlt call with the pixels the platform drew for it.
TEST(StretchRect, DrawsWhatStretchBltDraws) {
    std::ifstream table(LIVRANO_TEST_DATA_DIR "/stretch_cases.txt");
    ASSERT_TRUE(table);
    std::string line;
    int lineNumber = 0, cases = 0;
    while (std::getline(table, line)) {
        ++lineNumber;
        if (!holdsCase(line))
            continue;
        const std::optional<StretchCase> c = parseCase(line);
        ASSERT_TRUE(c && !c->expectedHex.empty()) << "line " << lineNumber;
        Bitmap dst = picture(c->dstW, c->dstH, c->bpp, c->dstHex);
        EXPECT_TRUE(stretchRect(dst, c->dx, c->dy, c->dw, c->dh, picture(c->srcW, c->srcH, c->bpp, c->srcHex),
                                c->sx, c->sy, c->sw, c->sh));
        EXPECT_EQ(toHex(dst.pixels.data(), dst.pixels.size()), c->expectedHex) << "line " << lineNumber;
        ++cases;
    }
    EXPECT_EQ(cases, 32);
}

TEST(StretchRect, RefusesEmptyOrMismatchedBitmaps) {
    Bitmap colour = picture(1, 1, 3, "000000");
    Bitmap index = picture(1, 1, 1, "00");
    EXPECT_FALSE(stretchRect(colour, 0, 0, 1, 1, index, 0, 0, 1, 1));
    EXPECT_FALSE(stretchRect(index, 0, 0, 1, 1, Bitmap{}, 0, 0, 1, 1));
}

} // namespace
} // namespace livrano
