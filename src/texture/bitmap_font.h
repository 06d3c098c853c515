// SPDX-License-Identifier: MIT
#pragma once
// A small fixed-width bitmap font built into the program, for names drawn into pictures without a
// font file or a window system: 5x8 glyphs (capitals seven rows high, descenders below), printable
// ASCII, and a box for any other byte. The drawing target is a band of an RGBA picture's rows, so that a
// picture too large to hold can be drawn one row at a time.

#include <cstdint>
#include <string_view>

namespace livrano {

inline constexpr int kGlyphWidth = 5;   // pixels, at scale 1
inline constexpr int kGlyphHeight = 8;  // pixels, at scale 1: the last row for descenders
inline constexpr int kGlyphAdvance = 6; // from one character to the next: a blank column between

// Rows firstRow .. firstRow + rowCount - 1 of an RGBA picture `width` pixels wide (4 bytes a
// pixel: red, green, blue, alpha; rows top-down, unpadded), the first of them at `pixels`.
struct RgbaRows {
    std::uint8_t* pixels = nullptr;
    int width = 0;
    int firstRow = 0;
    int rowCount = 0;
};

// Picture coordinates from left, top (in) to right, bottom (out).
struct PixelRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

struct Rgba8 {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    std::uint8_t alpha = 0;
};

// Whether pixel (column, row) of the glyph of `byte` is set, 0 <= column < kGlyphWidth,
// 0 <= row < kGlyphHeight. A byte outside printable ASCII (32..126), such as a Windows-1252
// letter of a texture's name, draws as a box: the edge of a capital's cell.
bool glyphPixel(unsigned char byte, int column, int row);

// The width in pixels of `text` at `scale` (>= 1), without the blank column after the last
// character: 0 for no text.
std::int64_t textWidth(std::string_view text, int scale);

// Draws `text` with its top-left corner at picture coordinates (x, y), each pixel of a glyph a
// scale x scale square (scale >= 1) of `colour`, replacing what was there; the pixels between the
// glyphs' strokes are left as they were. Writes only pixels inside both `clip` and `band`,
// wherever the text lies.
void drawText(const RgbaRows& band, const PixelRect& clip, int x, int y, std::string_view text, int scale,
              Rgba8 colour);

} // namespace livrano
