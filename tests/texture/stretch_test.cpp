// SPDX-License-Identifier: MIT
#include "texture/stretch.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

#include "../../tools/gdi-reference/case_line.h"

namespace livrano {
namespace {

Bitmap picture(int width, int height, int bytesPerPixel, const std::string& hex) {
    return {width, height, bytesPerPixel, fromHex(hex), {}};
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
    EXPECT_EQ(cases, 34);
}

// However many threads share a copy's rows it draws the same pixels: enlarged, shrunk, mirrored,
// reaching past either bitmap.
TEST(StretchRect, ThreadsDrawWhatOneThreadDraws) {
    const int copies[][8] = {{0, 0, 120, 160, 0, 0, 100, 150},
                             {-10, 100, 130, -95, 5, 3, 60, 40},
                             {20, -8, -50, 200, 90, 140, -80, -150},
                             {3, 5, 100, 150, 0, 0, 100, 150}};
    for (int bpp : {1, 3}) {
        Bitmap src = picture(100, 150, bpp, "");
        for (int i = 0; i < 100 * 150 * bpp; ++i)
            src.pixels.push_back(static_cast<std::uint8_t>(i * 2654435761u >> 24));
        for (const auto& c : copies) {
            auto draw = [&](unsigned threads) {
                Bitmap dst = picture(120, 160, bpp, std::string(std::size_t{120} * 160 * bpp * 2, '5'));
                EXPECT_TRUE(stretchRect(dst, c[0], c[1], c[2], c[3], src, c[4], c[5], c[6], c[7], threads));
                return dst.pixels;
            };
            const std::vector<std::uint8_t> one = draw(1);
            for (unsigned threads : {2u, 3u, 0u})
                EXPECT_EQ(draw(threads), one) << bpp << " " << c[0] << " " << c[1] << " threads " << threads;
        }
    }
}

TEST(StretchRect, RefusesEmptyOrMismatchedBitmaps) {
    Bitmap colour = picture(1, 1, 3, "000000");
    Bitmap index = picture(1, 1, 1, "00");
    EXPECT_FALSE(stretchRect(colour, 0, 0, 1, 1, index, 0, 0, 1, 1));
    EXPECT_FALSE(stretchRect(index, 0, 0, 1, 1, Bitmap{}, 0, 0, 1, 1));
}

} // namespace
} // namespace livrano
