// SPDX-License-Identifier: MIT
#pragma once
// An in-memory picture: either blue-green-red colour or palette indices with their colour table.
// Rows are stored top-down without padding, so pixel (x, y) of a colour picture starts at
// (y * width + x) * 3.

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace livrano {

struct PaletteEntry {
    std::uint8_t blue = 0;
    std::uint8_t green = 0;
    std::uint8_t red = 0;
    std::uint8_t reserved = 0;
    bool operator==(const PaletteEntry&) const = default;
};

struct Bitmap {
    int width = 0;
    int height = 0;
    int bytesPerPixel = 3;             // 3: blue, green, red; 1: palette index
    std::vector<std::uint8_t> pixels;  // width * height * bytesPerPixel bytes, top-down
    std::vector<PaletteEntry> palette; // the colour of each index (1-byte pixels only)
    // The alpha of each pixel, width * height bytes top-down, when a colour file held it, else
    // empty. Its initialiser lets pictures made field by field leave it out.
    std::vector<std::uint8_t> alpha = {};

    bool empty() const { return pixels.empty(); }
    std::size_t rowBytes() const {
        return static_cast<std::size_t>(width) * static_cast<std::size_t>(bytesPerPixel);
    }
    std::uint8_t* row(int y) { return pixels.data() + static_cast<std::size_t>(y) * rowBytes(); }
    const std::uint8_t* row(int y) const { return pixels.data() + static_cast<std::size_t>(y) * rowBytes(); }
};

// A picture's rows wherever they lie: in a Bitmap, or in a file's bytes read in place, without a
// copy. Pixels as in a Bitmap; row y starts at top + y * stride (a negative stride for rows stored
// bottom-up).
struct BitmapView {
    int width = 0;
    int height = 0;
    int bytesPerPixel = 3;
    const std::uint8_t* top = nullptr;
    std::ptrdiff_t stride = 0;
    std::span<const PaletteEntry> palette;

    const std::uint8_t* row(int y) const { return top + static_cast<std::ptrdiff_t>(y) * stride; }
};

// The rows of the bitmap, valid while it lives unchanged.
BitmapView viewOf(const Bitmap& bitmap);

// The 256-entry ramp in which entry i is blue i, green i, red i.
std::vector<PaletteEntry> greyRamp();

// The grey level of a colour (Rec. 601 weights, rounded): a grey colour gives its own level.
std::uint8_t greyLevel(std::uint8_t red, std::uint8_t green, std::uint8_t blue);

// The grey level of every pixel, top-down: colour pictures by their colour, indexed pictures
// through their colour table (an index beyond the table reads as black).
std::vector<std::uint8_t> greyLevels(const Bitmap& bitmap);

// The picture as blue-green-red colour; an indexed picture is looked up in its table.
Bitmap toColour(Bitmap bitmap);

// An indexed picture whose index is the grey level of each pixel, with the grey ramp as table.
Bitmap toGreyIndexed(const Bitmap& bitmap);

} // namespace livrano
