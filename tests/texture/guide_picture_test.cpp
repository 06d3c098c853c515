// SPDX-License-Identifier: MIT
#include "texture/guide_picture.h"

#include <gtest/gtest.h>

#include <png.h>

#include <cstdint>
#include <string>
#include <vector>

#include "texture/rgba_image.h"

namespace livrano {
namespace {

// The PNG read back by libpng's own reader; an empty picture unless it is an 8-bit RGBA file.
RgbaImage decodePng(const std::vector<std::uint8_t>& png) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, png.data(), png.size()))
        return {};
    RgbaImage picture{int(image.width), int(image.height), std::vector<std::uint8_t>(PNG_IMAGE_SIZE(image))};
    const bool read = png_image_finish_read(&image, nullptr, picture.rgba.data(), 0, nullptr);
    return read && image.format == PNG_FORMAT_RGBA ? picture : RgbaImage{};
}

// Boxes that do not overlap, of every size: beyond the picture's edges with their names (left,
// right, bottom), a name too long for its box, a Windows-1252 letter, none.
// clang-format off
const std::vector<GuideBox> kBoxes = {
    {10, 10, 300, 200, "Fuselage"},            {330, 10, 540, 300, "Wing_L.bmp"},
    {10, 230, 40, 30, "A name far too long"},  {100, 230, 1, 1, "x"},
    {120, 230, 5, 3, ""},                      {800, 400, 300, 300, "Tail with a long name"},
    {200, 330, 100, 100, "Caf\xE9"},           {-20, 590, 60, 50, "Left"},
};
// clang-format on

// The guide of kBoxes on 900x600, read back; the test fails when it is not that.
RgbaImage guide(int level = 1) {
    std::vector<std::uint8_t> png;
    EXPECT_TRUE(encodeGuidePng(900, 600, kBoxes, level, png).ok());
    const RgbaImage picture = decodePng(png);
    EXPECT_TRUE(picture.width == 900 && picture.height == 600) << "not a 900x600 RGBA PNG";
    return picture.width == 900 && picture.height == 600
               ? picture
               : RgbaImage{900, 600, std::vector<std::uint8_t>(std::size_t(900) * 600 * 4)};
}

bool is(const std::uint8_t* pixel, Rgba8 c) {
    return pixel[0] == c.red && pixel[1] == c.green && pixel[2] == c.blue && pixel[3] == c.alpha;
}

bool inside(const PixelRect& r, int x, int y) {
    return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}

// Every pixel is what its place says: outside the boxes clear; in a box the outline on its edge,
// backing or lettering in the label, clear elsewhere; the same at every zlib level. The names run
// off the picture's edges: AddressSanitizer sees any pixel drawn outside the row buffer.
TEST(GuidePicture, EachBoxOutlinedAndNamedEverythingElseClear) {
    const RgbaImage picture = guide();
    EXPECT_EQ(guide(0).rgba, picture.rgba);
    EXPECT_EQ(guide(9).rgba, picture.rgba);
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) {
            const std::uint8_t* pixel = picture.pixel(x, y);
            std::size_t b = 0;
            while (b < kBoxes.size() && !inside({kBoxes[b].x, kBoxes[b].y, kBoxes[b].x + kBoxes[b].width,
                                                 kBoxes[b].y + kBoxes[b].height},
                                                x, y))
                ++b;
            const GuideBoxLook look = b < kBoxes.size() ? guideBoxLook(kBoxes[b]) : GuideBoxLook{};
            if (b == kBoxes.size() || (inside(look.interior, x, y) && !inside(look.backing, x, y))) {
                ASSERT_EQ(pixel[3], 0) << x << "," << y;
            } else if (!inside(look.interior, x, y)) {
                ASSERT_TRUE(is(pixel, kGuideOutline)) << x << "," << y;
            } else {
                ASSERT_TRUE(is(pixel, kGuideBacking) || is(pixel, kGuideLettering)) << x << "," << y;
            }
        }
    }
}

// The outline is 2 px wide (test above: drawn as the look says), and the name stands at the top-left
// inside it at the box's scale (its width / 256, at most 8), each letter pixel for pixel; a byte
// beyond ASCII is the box glyph.
TEST(GuidePicture, TheNameStandsAtTheTopLeftAtTheBoxsScale) {
    const RgbaImage picture = guide();
    for (auto [b, scale] : {std::pair(0, 1), {1, 2}, {6, 1}}) {
        const GuideBox& box = kBoxes[std::size_t(b)];
        ASSERT_TRUE(guideBoxLook(box).scale == scale && guideBoxLook(box).outline == 2) << box.name;
        const int left = box.x + 2 + scale, top = box.y + 2 + scale; // inside the outline and the padding
        for (std::size_t i = 0; i < box.name.size(); ++i)
            for (int row = 0; row < kGlyphHeight * scale; ++row)
                for (int column = 0; column < kGlyphWidth * scale; ++column)
                    EXPECT_EQ(is(picture.pixel(left + int(i) * kGlyphAdvance * scale + column, top + row),
                                 kGuideLettering),
                              glyphPixel(std::uint8_t(box.name[i]), column / scale, row / scale))
                        << box.name << " letter " << i << " at " << column << "," << row;
    }
    EXPECT_EQ(guideBoxLook({0, 0, 5000, 900, "A"}).scale, 8);
    EXPECT_EQ(guideBoxLook({0, 0, 7, 900, "A"}).outline, 1);
}

// A picture libpng will not write (wider than its 1,000,000 px) is a failure that says why, not a
// crash, and leaves no bytes.
TEST(GuidePicture, APictureLibpngRefusesIsAFailure) {
    std::vector<std::uint8_t> png = {1, 2, 3};
    const Status status = encodeGuidePng(1'000'001, 1, {{0, 0, 10, 1, "A"}}, 1, png);
    EXPECT_TRUE(!status.ok() && status.message().find("width") != std::string::npos && png.empty())
        << status.message();
}

// Each printable character has a glyph of its own (a slip in the drawn table that doubled or
// blanked one shows here), and every other byte the box: the edge of a capital's cell.
TEST(BitmapFont, EveryPrintableCharacterHasAGlyphOfItsOwnAndOtherBytesTheBox) {
    std::vector<std::string> glyphs(256); // rows of '#' (set) and '.', one after the other
    for (int byte = 0; byte < 256; ++byte)
        for (int i = 0; i < kGlyphWidth * kGlyphHeight; ++i)
            glyphs[std::size_t(byte)] +=
                glyphPixel(std::uint8_t(byte), i % kGlyphWidth, i / kGlyphWidth) ? '#' : '.';
    // clang-format off
    const std::string box = "#####" "#...#" "#...#" "#...#" "#...#" "#...#" "#####" ".....";
    // clang-format on
    for (int byte = 0; byte < 256; ++byte) {
        const bool printable = byte >= ' ' && byte <= '~';
        EXPECT_EQ(glyphs[std::size_t(byte)] == box, !printable) << byte;
        for (int other = ' '; printable && other < byte; ++other)
            EXPECT_NE(glyphs[std::size_t(byte)], glyphs[std::size_t(other)])
                << char(byte) << " and " << char(other);
    }
}

} // namespace
} // namespace livrano
