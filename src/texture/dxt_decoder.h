// SPDX-License-Identifier: MIT
#pragma once
// DXT1, DXT3 and DXT5 (BC1, BC2, BC3) blocks back into texels, one block or a whole level. A
// block holds 4x4 texels, rows top to bottom of the block as stored; which way up the level is
// the container's business. The palettes are libsquish's: colour end points widened from 5:6:5 by
// repeating their top bits, the in-between entries divided down (truncated), so a decoded texture
// is what that library and the encoders measured against it show.

#include <cstddef>
#include <cstdint>
#include <span>

#include "texture/rgba_image.h"

namespace livrano {

enum class DxtFormat {
    Dxt1, // 8 bytes: a colour block; colour0 <= colour1 selects three colours and transparent black
    Dxt3, // 16 bytes: 4-bit alpha per texel, then a colour block always in four-colour mode
    Dxt5, // 16 bytes: two alpha end points and 3-bit indices, then a four-colour block
};

// 8 for DXT1, 16 for the others.
std::size_t dxtBlockBytes(DxtFormat format);

// Bytes of one level: max(1, ceil(width / 4)) * max(1, ceil(height / 4)) blocks. Preconditions:
// width and height at least 1, and the product fits in std::size_t (true of any side up to 2^20).
std::size_t dxtLevelSize(DxtFormat format, int width, int height);

// block: dxtBlockBytes(format) bytes. rgba: 64 bytes out, the 16 texels row by row.
void decodeDxtBlock(DxtFormat format, const std::uint8_t* block, std::uint8_t* rgba);

// A level of width x height texels whose blocks are stored row by row, the first row of blocks
// being the image's top. Texels of edge blocks beyond the picture are dropped.
// Precondition: blocks.size() >= dxtLevelSize(format, width, height).
RgbaImage decompressDxt(DxtFormat format, std::span<const std::uint8_t> blocks, int width, int height);

} // namespace livrano
