// SPDX-License-Identifier: MIT
#pragma once
// The uncompressed BMP files handed to the texture converter: a 14-byte file header, a 40-byte
// info header (size 40, width, positive height, planes 1, the bit count, compression 0, every
// other field 0), for 8 bits a 256-entry colour table, then the rows bottom-up.
//
// Rows are padded to a multiple of 4 bytes as every BMP reader expects; for widths that are a
// multiple of 4 (every texture the simulator accepts) there is no padding and the file size is
// width * height * 3 + 54 or width * height + 1078.

#include <cstdint>
#include <functional>
#include <span>
#include <vector>

#include "texture/bitmap.h"

namespace livrano {

// Precondition: a colour bitmap (3 bytes per pixel).
std::vector<std::uint8_t> encodeBmp24(const Bitmap& colour);

// Precondition: an indexed bitmap; the table is written as 256 entries (missing ones black).
std::vector<std::uint8_t> encodeBmp8(const Bitmap& indexed, std::span<const PaletteEntry> table);

// Fills `row` with row y of a picture (rows top-down): width * 3 bytes of blue, green, red for a
// colour picture, width palette indices for an indexed one.
using BmpRows = std::function<void(int y, std::uint8_t* row)>;

// The same files, their rows made straight into the file's bytes, so that no picture of the
// whole is made first (a paint kit's template can be 64 Mi pixels). Precondition: width and
// height at least 1.
std::vector<std::uint8_t> encodeBmp24(int width, int height, const BmpRows& rows);
std::vector<std::uint8_t> encodeBmp8(int width, int height, std::span<const PaletteEntry> table,
                                     const BmpRows& rows);

// An ordinary 32-bit BMP (blue, green, red, alpha bytes, bottom-up) from top-down RGBA pixels.
std::vector<std::uint8_t> encodeBmp32(int width, int height, std::span<const std::uint8_t> rgba);

} // namespace livrano
