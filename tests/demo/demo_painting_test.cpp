// SPDX-License-Identifier: MIT
#include "demo/demo_painting.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <set>
#include <string>

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

// What a painter must recognise in each part, as bands of the part's area: a band wholly of one
// colour (share 1), or holding some of it (share between 0 and 1), or none of it (share 0).
TEST(DemoPainting, EachPartShowsItsFeaturesInsideItsArea) {
    const Rgb glass{40, 52, 70}, metal{150, 154, 160}, white{245, 245, 245};
    struct Band {
        LiveryPart part;
        double left, top, right, bottom;
        Rgb colour;
        double minShare, maxShare;
    };
    const Band bands[] = {
        {LiveryPart::Fuselage, 0, 0.71, 1, 1, kStripe, 1, 1},       // the belly
        {LiveryPart::Fuselage, 0.17, 0.53, 1, 0.61, kStripe, 1, 1}, // the cheatline
        {LiveryPart::Fuselage, 0.15, 0.635, 1, 0.655, kAccent, 1, 1},
        {LiveryPart::Fuselage, 0.03, 0.33, 0.09, 0.4, glass, 1, 1}, // the cockpit
        {LiveryPart::Fuselage, 0.15, 0.37, 0.7, 0.44, glass, 0.2, 0.6},
        {LiveryPart::Fuselage, 0.72, 0.37, 1, 0.44, glass, 0, 0},
        {LiveryPart::Fuselage, 0.15, 0.14, 0.9, 0.32, kStripe, 0.05, 0.6}, // the titles
        {LiveryPart::Fuselage, 0.7, 0.4, 1, 0.52, kAccent, 0.05, 0.6},     // the registration
        {LiveryPart::Wing, 0, 0, 1, 0.1, metal, 1, 1},
        {LiveryPart::Wing, 0, 0.9, 1, 1, metal, 1, 1},
        {LiveryPart::Wing, 0, 0.1, 0.08, 0.9, kStripe, 1, 1},
        {LiveryPart::Wing, 0.92, 0.1, 1, 0.9, kStripe, 1, 1},
        {LiveryPart::Wing, 0.1, 0.3, 0.9, 0.7, kAccent, 0.05, 0.6},
        {LiveryPart::Tail, 0, 0.92, 1, 1, kAccent, 1, 1},
        {LiveryPart::Tail, 0.58, 0.5, 0.66, 0.54, white, 0.2, 1}, // the logo's ring and letter
        {LiveryPart::Tail, 0.5, 0.1, 0.55, 0.2, kStripe, 1, 1},   // the fin's tip
        {LiveryPart::Tail, 0, 0, 0.35, 0.3, kStripe, 0, 0},       // ahead of its leading edge
        {LiveryPart::Tail, 0, 0.2, 0.3, 0.9, kAccent, 0, 0},      // the logo is round
        {LiveryPart::Nacelle, 0, 0, 1, 0.16, metal, 1, 1},
        {LiveryPart::Nacelle, 0, 0.4, 1, 0.6, kStripe, 1, 1},
        {LiveryPart::Nacelle, 0, 0.6, 1, 0.66, kAccent, 1, 1},
    };
    const LiveryDesign design{kBody, kStripe, kAccent, "N318BH", "SKYLARK AIR"};
    for (const Band& b : bands) {
        SCOPED_TRACE(testing::Message() << "part " << int(b.part) << " band " << b.left << "," << b.top);
        LiveryPicture picture = blankPicture(480, 260, {kSentinel, kSentinel, kSentinel, "", ""});
        paintPart(picture, b.part, kArea, design);
        const double painted = share(picture, b.left, b.top, b.right, b.bottom, b.colour);
        EXPECT_GE(painted, b.minShare);
        EXPECT_LE(painted, b.maxShare);
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
