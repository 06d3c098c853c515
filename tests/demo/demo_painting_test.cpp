// SPDX-License-Identifier: MIT
#include "demo/demo_painting.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "support/data_rows.h"

namespace livrano {
namespace {

constexpr Rgb kBody{200, 30, 30}, kStripe{20, 40, 160}, kAccent{250, 200, 0}, kSentinel{1, 2, 3};
constexpr PixelRect kArea{40, 30, 440, 230}; // 400 x 200, away from the picture's corner

Rgb colourAt(const LiveryPicture& p, int x, int y) {
    const std::size_t i = (static_cast<std::size_t>(y) * static_cast<std::size_t>(p.colour.width) + x) * 3;
    return {p.colour.pixels[i + 2], p.colour.pixels[i + 1], p.colour.pixels[i]};
}
bool same(Rgb a, Rgb b) {
    return a.red == b.red && a.green == b.green && a.blue == b.blue;
}
// The share of the band [left, right) x [top, bottom), in area fractions, that has the colour.
double share(const LiveryPicture& p, double left, double top, double right, double bottom, Rgb colour) {
    const auto x = [](double f) { return kArea.left + static_cast<int>(f * (kArea.right - kArea.left)); };
    const auto y = [](double f) { return kArea.top + static_cast<int>(f * (kArea.bottom - kArea.top)); };
    int n = 0, cells = 0;
    for (int row = y(top); row < y(bottom); ++row)
        for (int col = x(left); col < x(right); ++col, ++cells)
            n += same(colourAt(p, col, row), colour);
    return static_cast<double>(n) / std::max(cells, 1);
}

// The rows of the 5 x 7 glyph painted at (x, y) in cells of `scale` pixels, read at the cells' centres.
std::array<int, 7> glyphAt(const LiveryPicture& p, int x, int y, int scale, Rgb ink) {
    std::array<int, 7> rows{};
    for (int r = 0; r < 7; ++r)
        for (int c = 0; c < 5; ++c)
            rows[r] =
                rows[r] << 1 | same(colourAt(p, x + c * scale + scale / 2, y + r * scale + scale / 2), ink);
    return rows;
}

// What a painter must recognise in each part, as bands of its area (tests/data/demo_painting_bands.txt).
TEST(DemoPainting, EachPartShowsItsFeaturesInsideItsArea) {
    const Rgb glass{40, 52, 70}, metal{150, 154, 160}, white{245, 245, 245};
    const std::map<std::string, Rgb> colours = {
        {"stripe", kStripe}, {"accent", kAccent}, {"glass", glass}, {"metal", metal}, {"white", white}};
    const std::map<std::string, LiveryPart> parts = {{"fuselage", LiveryPart::Fuselage},
                                                     {"wing", LiveryPart::Wing},
                                                     {"tail", LiveryPart::Tail},
                                                     {"nacelle", LiveryPart::Nacelle}};
    const LiveryDesign design{kBody, kStripe, kAccent, "N318BH", "SKYLARK AIR"};
    for (const std::vector<std::string>& b : testkit::dataRows("demo_painting_bands.txt", "band")) {
        SCOPED_TRACE(b[0] + " " + b[1] + "," + b[2]);
        ASSERT_EQ(b.size(), 8u);
        const auto at = [&](int i) { return std::stoi(b[static_cast<std::size_t>(i)]) / 1000.0; };
        LiveryPicture picture = blankPicture(480, 260, {kSentinel, kSentinel, kSentinel, "", ""});
        paintPart(picture, parts.at(b[0]), kArea, design);
        const double painted = share(picture, at(1), at(2), at(3), at(4), colours.at(b[5]));
        EXPECT_GE(painted, at(6));
        EXPECT_LE(painted, at(7));
        // Nothing outside the area is painted.
        int outside = 0;
        for (int y = 0; y < 260; ++y)
            for (int x = 0; x < 480; ++x)
                outside += (x < kArea.left || x >= kArea.right || y < kArea.top || y >= kArea.bottom) &&
                           !same(colourAt(picture, x, y), kSentinel);
        EXPECT_EQ(outside, 0);
    }
    // Glass and metal shine in the alpha picture; paint does not.
    LiveryPicture picture = blankPicture(480, 260, design);
    paintPart(picture, LiveryPart::Fuselage, kArea, design);
    const auto alpha = [&](int x, int y) {
        return picture.alpha.pixels[static_cast<std::size_t>(y) * 480 + x];
    };
    EXPECT_EQ(alpha(kArea.left + 24, kArea.top + 72), 70);
    EXPECT_EQ(alpha(kArea.left + 200, kArea.top + 180), 255);
    paintPart(picture, LiveryPart::Nacelle, kArea, design);
    EXPECT_EQ(alpha(kArea.left + 200, kArea.top + 10), 170);
    // On a small fuselage the cabin windows are still two pixels wide, half of their row.
    LiveryPicture small = blankPicture(100, 40, design);
    paintPart(small, LiveryPart::Fuselage, {0, 0, 100, 40}, design);
    int window = 0;
    for (int x = 15; x < 70; ++x)
        window += same(colourAt(small, x, 14), glass);
    EXPECT_EQ(window, 14 * 2);

    // Letters read as letters, in either case, one cell apart: the wing's registration, centred,
    // and the logo's initial.
    const std::array<int, 7> ell{0x10, 0x10, 0x10, 0x10, 0x10, 0x10, 0x1F}, dash{0, 0, 0, 0x1F, 0, 0, 0};
    const LiveryDesign lettered{kBody, kStripe, kAccent, "l-L", "Livrano"};
    paintPart(picture, LiveryPart::Wing, kArea, lettered);
    for (const int letter : {0, 2})
        EXPECT_EQ(glyphAt(picture, kArea.left + 74 + letter * 84, kArea.top + 51, 14, kAccent), ell)
            << letter;
    EXPECT_EQ(glyphAt(picture, kArea.left + 74 + 84, kArea.top + 51, 14, kAccent), dash);
    // Every capital and digit is the cell's full height, and no two look alike.
    const std::string glyphs = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    std::set<std::array<int, 7>> seen;
    for (std::size_t i = 0; i < glyphs.size(); i += 3) {
        paintPart(picture, LiveryPart::Wing, kArea, {kBody, kStripe, kAccent, glyphs.substr(i, 3), ""});
        for (int letter = 0; letter < 3; ++letter) {
            const auto rows = glyphAt(picture, kArea.left + 74 + letter * 84, kArea.top + 51, 14, kAccent);
            EXPECT_TRUE(rows[0] != 0 && rows[6] != 0) << glyphs[i + letter];
            seen.insert(rows);
        }
    }
    EXPECT_EQ(seen.size(), glyphs.size());
    // The fuselage's titles start a sixth of its length in; its registration ends a thirtieth short.
    paintPart(picture, LiveryPart::Fuselage, kArea, lettered);
    EXPECT_EQ(glyphAt(picture, kArea.left + 400 / 6, kArea.top + 28, 5, kStripe), ell);
    EXPECT_EQ(glyphAt(picture, kArea.right - 400 / 30 - 3 * 6 * 5, kArea.top + 80, 5, kAccent), ell);
    paintPart(picture, LiveryPart::Tail, kArea, lettered);
    EXPECT_EQ(glyphAt(picture, kArea.left + 228, kArea.top + 76, 8, kStripe), ell);
}

} // namespace
} // namespace livrano
