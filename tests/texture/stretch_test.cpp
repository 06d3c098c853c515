#include "texture/stretch.h"

#include <gtest/gtest.h>

namespace livrano {
namespace {

Bitmap indexed(int width, int height, std::vector<std::uint8_t> pixels) {
    Bitmap b;
    b.width = width;
    b.height = height;
    b.bytesPerPixel = 1;
    b.pixels = std::move(pixels);
    return b;
}

TEST(StretchRect, RepeatsAndsMirrorsAndClipsIndexedPixels) {
    struct Case {
        const char* what;
        Bitmap src;
        int dstWidth, dstHeight;
        int dx, dy, dw, dh, sx, sy, sw, sh;
        std::vector<std::uint8_t> expected; // destination, which starts filled with 0x77
    };
    const Bitmap row4 = indexed(4, 1, {1, 2, 3, 4});
    const Bitmap bits = indexed(4, 1, {0xCC, 0xAA, 0xF0, 0x0F});
    const Bitmap square = indexed(2, 2, {0xF1, 0xF2, 0xF4, 0xF8});
    const Bitmap grid = indexed(3, 2, {1, 2, 3, 4, 5, 6});
    const Case cases[] = {
        {"copy", row4, 4, 1, 0, 0, 4, 1, 0, 0, 4, 1, {1, 2, 3, 4}},
        {"enlarging repeats", indexed(2, 1, {1, 2}), 4, 1, 0, 0, 4, 1, 0, 0, 2, 1, {1, 1, 2, 2}},
        {"enlarging rows repeats rows", indexed(1, 2, {1, 2}), 1, 4, 0, 0, 1, 4, 0, 0, 1, 2, {1, 1, 2, 2}},
        {"halving ANDs the dropped pixel in", bits, 2, 1, 0, 0, 2, 1, 0, 0, 4, 1, {0x88, 0x00}},
        {"shrinking by three", indexed(3, 1, {0xF7, 0x7F, 0x3E}), 1, 1, 0, 0, 1, 1, 0, 0, 3, 1, {0x36}},
        {"halving both ways ANDs four", square, 1, 1, 0, 0, 1, 1, 0, 0, 2, 2, {0xF0}},
        {"negative destination width mirrors", row4, 4, 1, 4, 0, -4, 1, 0, 0, 4, 1, {4, 3, 2, 1}},
        {"negative source width mirrors", row4, 4, 1, 0, 0, 4, 1, 4, 0, -4, 1, {4, 3, 2, 1}},
        {"both negative is upright", row4, 4, 1, 4, 0, -4, 1, 4, 0, -4, 1, {1, 2, 3, 4}},
        {"negative height mirrors rows", grid, 3, 2, 0, 2, 3, -2, 0, 0, 3, 2, {4, 5, 6, 1, 2, 3}},
        {"destination left of the bitmap", row4, 3, 1, -1, 0, 4, 1, 0, 0, 4, 1, {2, 3, 4}},
        {"destination beyond the right edge", row4, 3, 1, 1, 0, 4, 1, 0, 0, 4, 1, {0x77, 1, 2}},
        {"source beyond its bitmap is not read", row4, 4, 1, 0, 0, 4, 1, 2, 0, 4, 1, {3, 4, 0x77, 0x77}},
        {"source before its bitmap", row4, 4, 1, 0, 0, 4, 1, -2, 0, 4, 1, {0x77, 0x77, 1, 2}},
        {"entirely outside", row4, 2, 1, 5, 7, 4, 1, 0, 0, 4, 1, {0x77, 0x77}},
        {"huge rectangles stay in bounds", row4, 2, 1, -1000000, 0, 2000000, 1, 0, 0, 4, 1, {3, 3}},
        {"mirrored across the 16-bit range", row4, 4, 1, 4, 0, -32768, 1, 0, 0, 32767, 1, {3, 2, 1, 1}},
        {"source at the 16-bit limits", row4, 2, 1, 0, 0, 2, 1, -32768, 0, -32768, 1, {0x77, 0x77}},
        {"zero width draws nothing", row4, 2, 1, 0, 0, 0, 1, 0, 0, 4, 1, {0x77, 0x77}},
        {"a sub-rectangle", grid, 2, 1, 0, 0, 2, 1, 1, 1, 2, 1, {5, 6}},
    };
    for (const Case& c : cases) {
        Bitmap dst =
            indexed(c.dstWidth, c.dstHeight,
                    std::vector<std::uint8_t>(static_cast<std::size_t>(c.dstWidth * c.dstHeight), 0x77));
        EXPECT_TRUE(stretchRect(dst, c.dx, c.dy, c.dw, c.dh, c.src, c.sx, c.sy, c.sw, c.sh)) << c.what;
        EXPECT_EQ(dst.pixels, c.expected) << c.what;
    }
}

TEST(StretchRect, ColourIsAndedBytePerByte) {
    Bitmap src;
    src.width = 2;
    src.height = 1;
    src.pixels = {0xF0, 0x0F, 0xFF, 0x3C, 0xFF, 0x81};
    Bitmap dst = src;
    dst.width = 1;
    dst.pixels.assign(3, 0);
    ASSERT_TRUE(stretchRect(dst, 0, 0, 1, 1, src, 0, 0, 2, 1));
    EXPECT_EQ(dst.pixels, (std::vector<std::uint8_t>{0x30, 0x0F, 0x81}));
}

TEST(StretchRect, RefusesEmptyOrMismatchedBitmaps) {
    Bitmap colour;
    colour.width = 1;
    colour.height = 1;
    colour.pixels.assign(3, 0);
    Bitmap index = indexed(1, 1, {0});
    EXPECT_FALSE(stretchRect(colour, 0, 0, 1, 1, index, 0, 0, 1, 1));
    EXPECT_FALSE(stretchRect(index, 0, 0, 1, 1, Bitmap{}, 0, 0, 1, 1));
}

} // namespace
} // namespace livrano
