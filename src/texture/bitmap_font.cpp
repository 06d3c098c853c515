// SPDX-License-Identifier: MIT
#include "texture/bitmap_font.h"

#include <algorithm>
#include <array>
#include <cassert>
#include <cstddef>

namespace livrano {
namespace {

constexpr int kFirstGlyph = 32; // the space
constexpr int kGlyphCount = 95; // up to the tilde
constexpr int kGlyphsAcross = 16;

// The glyphs as they look, sixteen to a band of eight rows in the order of their codes ('#' set,
// '.' clear, a space between glyphs). Drawn for this program: plain capitals seven rows high,
// descenders in the eighth, a slashed zero.
constexpr std::string_view kGlyphArt[] = {
    //       !     "     #     $     %     &     '     (     )     *     +     ,     -     .     /
    "..... ..#.. .#.#. .#.#. ..#.. ##... .##.. ..#.. ...#. .#... ..... ..... ..... ..... ..... .....",
    "..... ..#.. .#.#. .#.#. .#### ##..# #..#. ..#.. ..#.. ..#.. ..#.. ..#.. ..... ..... ..... ....#",
    "..... ..#.. ..... ##### #.#.. ...#. #.#.. .#... .#... ...#. #.#.# ..#.. ..... ..... ..... ...#.",
    "..... ..#.. ..... .#.#. .###. ..#.. .#... ..... .#... ...#. .###. ##### ..... ##### ..... ..#..",
    "..... ..#.. ..... ##### ..#.# .#... #.#.# ..... .#... ...#. #.#.# ..#.. ..... ..... ..... .#...",
    "..... ..... ..... .#.#. ####. #..## #..#. ..... ..#.. ..#.. ..#.. ..#.. ..##. ..... .##.. #....",
    "..... ..#.. ..... .#.#. ..#.. ...## .##.# ..... ...#. .#... ..... ..... ..#.. ..... .##.. .....",
    "..... ..... ..... ..... ..... ..... ..... ..... ..... ..... ..... ..... .#... ..... ..... .....",
    // 0     1     2     3     4     5     6     7     8     9     :     ;     <     =     >     ?
    ".###. ..#.. .###. ##### ...#. ##### ..##. ##### .###. .###. ..... ..... ...#. ..... .#... .###.",
    "#...# .##.. #...# ...#. ..##. #.... .#... ....# #...# #...# .##.. .##.. ..#.. ..... ..#.. #...#",
    "#..## ..#.. ....# ..#.. .#.#. ####. #.... ...#. #...# #...# .##.. .##.. .#... ##### ...#. ....#",
    "#.#.# ..#.. ...#. ...#. #..#. ....# ####. ..#.. .###. .#### ..... ..... #.... ..... ....# ...#.",
    "##..# ..#.. ..#.. ....# ##### ....# #...# .#... #...# ....# .##.. .##.. .#... ##### ...#. ..#..",
    "#...# ..#.. .#... #...# ...#. #...# #...# .#... #...# ...#. .##.. .##.. ..#.. ..... ..#.. .....",
    ".###. .###. ##### .###. ...#. .###. .###. .#... .###. .##.. ..... ..#.. ...#. ..... .#... ..#..",
    "..... ..... ..... ..... ..... ..... ..... ..... ..... ..... ..... .#... ..... ..... ..... .....",
    // @     A     B     C     D     E     F     G     H     I     J     K     L     M     N     O
    ".###. .###. ####. .###. ###.. ##### ##### .###. #...# .###. ..### #...# #.... #...# #...# .###.",
    "#...# #...# #...# #...# #..#. #.... #.... #...# #...# ..#.. ...#. #..#. #.... ##.## #...# #...#",
    "....# #...# #...# #.... #...# #.... #.... #.... #...# ..#.. ...#. #.#.. #.... #.#.# ##..# #...#",
    ".##.# ##### ####. #.... #...# ####. ####. #.### ##### ..#.. ...#. ##... #.... #.#.# #.#.# #...#",
    "#.#.# #...# #...# #.... #...# #.... #.... #...# #...# ..#.. ...#. #.#.. #.... #...# #..## #...#",
    "#.#.# #...# #...# #...# #..#. #.... #.... #...# #...# ..#.. #..#. #..#. #.... #...# #...# #...#",
    ".###. #...# ####. .###. ###.. ##### #.... .#### #...# .###. .##.. #...# ##### #...# #...# .###.",
    "..... ..... ..... ..... ..... ..... ..... ..... ..... ..... ..... ..... ..... ..... ..... .....",
    // P     Q     R     S     T     U     V     W     X     Y     Z     [     \     ]     ^     _
    "####. .###. ####. .#### ##### #...# #...# #...# #...# #...# ##### .###. ..... .###. ..#.. .....",
    "#...# #...# #...# #.... ..#.. #...# #...# #...# #...# #...# ....# .#... #.... ...#. .#.#. .....",
    "#...# #...# #...# #.... ..#.. #...# #...# #...# .#.#. .#.#. ...#. .#... .#... ...#. #...# .....",
    "####. #...# ####. .###. ..#.. #...# #...# #.#.# ..#.. ..#.. ..#.. .#... ..#.. ...#. ..... .....",
    "#.... #.#.# #.#.. ....# ..#.. #...# #...# #.#.# .#.#. ..#.. .#... .#... ...#. ...#. ..... .....",
    "#.... #..#. #..#. ....# ..#.. #...# .#.#. #.#.# #...# ..#.. #.... .#... ....# ...#. ..... .....",
    "#.... .##.# #...# ####. ..#.. .###. ..#.. .#.#. #...# ..#.. ##### .###. ..... .###. ..... .....",
    "..... ..... ..... ..... ..... ..... ..... ..... ..... ..... ..... ..... ..... ..... ..... #####",
    // `     a     b     c     d     e     f     g     h     i     j     k     l     m     n     o
    ".#... ..... #.... ..... ....# ..... ..##. ..... #.... ..#.. ...#. #.... .##.. ..... ..... .....",
    "..#.. ..... #.... ..... ....# ..... .#..# ..... #.... ..... ..... #.... ..#.. ..... ..... .....",
    "...#. .###. #.##. .###. .##.# .###. .#... .#### #.##. .##.. ..##. #..#. ..#.. ##.#. #.##. .###.",
    "..... ....# ##..# #.... #..## #...# ###.. #...# ##..# ..#.. ...#. #.#.. ..#.. #.#.# ##..# #...#",
    "..... .#### #...# #.... #...# ##### .#... #...# #...# ..#.. ...#. ##... ..#.. #.#.# #...# #...#",
    "..... #...# #...# #...# #...# #.... .#... .#### #...# ..#.. ...#. #.#.. ..#.. #...# #...# #...#",
    "..... .#### ####. .###. .#### .###. .#... ....# #...# .###. #..#. #..#. .###. #...# #...# .###.",
    "..... ..... ..... ..... ..... ..... ..... .###. ..... ..... .##.. ..... ..... ..... ..... .....",
    // p     q     r     s     t     u     v     w     x     y     z     {     |     }     ~
    "..... ..... ..... ..... .#... ..... ..... ..... ..... ..... ..... ...#. ..#.. .#... .....",
    "..... ..... ..... ..... .#... ..... ..... ..... ..... ..... ..... ..#.. ..#.. ..#.. .....",
    "####. .#### #.##. .###. ###.. #...# #...# #...# #...# #...# ##### ..#.. ..#.. ..#.. .#...",
    "#...# #...# ##..# #.... .#... #...# #...# #...# .#.#. #...# ...#. .#... ..#.. ...#. #.#.#",
    "#...# #...# #.... .###. .#... #...# #...# #.#.# ..#.. #...# ..#.. ..#.. ..#.. ..#.. ...#.",
    "####. .#### #.... ....# .#..# #..## .#.#. #.#.# .#.#. .#### .#... ..#.. ..#.. ..#.. .....",
    "#.... ....# #.... ####. ..##. .##.# ..#.. .#.#. #...# ....# ##### ...#. ..#.. .#... .....",
    "#.... ....# ..... ..... ..... ..... ..... ..... ..... .###. ..... ..... ..... ..... .....",
};

using Glyph = std::array<std::uint8_t, kGlyphHeight>; // a row's pixels in its low bits, leftmost highest

constexpr int lineLength(int band) {
    const int glyphs = std::min(kGlyphsAcross, kGlyphCount - band * kGlyphsAcross);
    return glyphs * kGlyphAdvance - 1;
}

// Whether every band's lines are as long as its glyphs and hold only the art's three characters
// where they belong, so that a slip in the drawing fails the build instead of shifting a glyph.
constexpr bool artIsWellFormed() {
    if (int(std::size(kGlyphArt)) != (kGlyphCount + kGlyphsAcross - 1) / kGlyphsAcross * kGlyphHeight)
        return false;
    for (std::size_t line = 0; line < std::size(kGlyphArt); ++line) {
        const std::string_view text = kGlyphArt[line];
        if (int(text.size()) != lineLength(int(line) / kGlyphHeight))
            return false;
        for (std::size_t i = 0; i < text.size(); ++i) {
            const bool gap = i % kGlyphAdvance == kGlyphWidth;
            if (gap ? text[i] != ' ' : text[i] != '#' && text[i] != '.')
                return false;
        }
    }
    return true;
}
static_assert(artIsWellFormed());

constexpr std::array<Glyph, kGlyphCount> glyphsFromArt() {
    std::array<Glyph, kGlyphCount> glyphs{};
    for (int code = 0; code < kGlyphCount; ++code) {
        const int band = code / kGlyphsAcross, slot = code % kGlyphsAcross;
        for (int row = 0; row < kGlyphHeight; ++row) {
            const std::string_view line = kGlyphArt[band * kGlyphHeight + row];
            for (int column = 0; column < kGlyphWidth; ++column) {
                const int at = slot * kGlyphAdvance + column;
                if (line[std::size_t(at)] == '#')
                    glyphs[std::size_t(code)][std::size_t(row)] |=
                        std::uint8_t(1 << (kGlyphWidth - 1 - column));
            }
        }
    }
    return glyphs;
}

constexpr std::array<Glyph, kGlyphCount> kGlyphs = glyphsFromArt();
constexpr Glyph kBox = {0x1F, 0x11, 0x11, 0x11, 0x11, 0x11, 0x1F, 0x00}; // a capital's height

} // namespace

bool glyphPixel(unsigned char byte, int column, int row) {
    assert(column >= 0 && column < kGlyphWidth && row >= 0 && row < kGlyphHeight);
    const bool printable = byte >= kFirstGlyph && byte < kFirstGlyph + kGlyphCount;
    const Glyph& glyph = printable ? kGlyphs[std::size_t(byte - kFirstGlyph)] : kBox;
    return (glyph[std::size_t(row)] >> (kGlyphWidth - 1 - column) & 1) != 0;
}

std::int64_t textWidth(std::string_view text, int scale) {
    assert(scale >= 1);
    return text.empty() ? 0 : (std::int64_t(text.size()) * kGlyphAdvance - 1) * scale;
}

void drawText(const RgbaRows& band, const PixelRect& clip, int x, int y, std::string_view text, int scale,
              Rgba8 colour) {
    assert(scale >= 1);
    // The pixels both the text and the target cover; the far edges in 64 bits, as a long text at a
    // large scale may end beyond int's range.
    const int top = std::max({clip.top, band.firstRow, y});
    const int bottom = int(std::min<std::int64_t>({clip.bottom, std::int64_t(band.firstRow) + band.rowCount,
                                                   std::int64_t(y) + std::int64_t(kGlyphHeight) * scale}));
    const int left = std::max({clip.left, 0, x});
    const int right = int(std::min<std::int64_t>({clip.right, band.width, x + textWidth(text, scale)}));
    const std::int64_t cell = std::int64_t(kGlyphAdvance) * scale;
    for (int py = top; py < bottom; ++py) {
        const int row = (py - y) / scale;
        std::uint8_t* line = band.pixels + std::size_t(py - band.firstRow) * std::size_t(band.width) * 4;
        for (int px = left; px < right; ++px) {
            const std::int64_t along = std::int64_t(px) - x;
            const int column = int(along % cell) / scale;
            if (column < kGlyphWidth &&
                glyphPixel(static_cast<unsigned char>(text[std::size_t(along / cell)]), column, row)) {
                std::uint8_t* pixel = line + std::size_t(px) * 4;
                pixel[0] = colour.red;
                pixel[1] = colour.green;
                pixel[2] = colour.blue;
                pixel[3] = colour.alpha;
            }
        }
    }
}

} // namespace livrano
