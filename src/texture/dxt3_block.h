// SPDX-License-Identifier: MIT
#pragma once
// One DXT3 (BC2) block: 4x4 texels, 16 bytes. Bytes 0-7 hold 4-bit alpha per texel (texel (x, y)
// in bits 4(4y+x)..+3 of the little-endian 64-bit value), bytes 8-15 a colour block decoded in
// four-colour mode. Pure functions over one block; images and files are handled elsewhere, and
// decoding with the other formats' blocks (dxt_decoder.h).

#include <cstdint>

namespace livrano {

// What makes a block's colour half: 16 texels of red, green, blue, alpha, row by row (64 bytes)
// in, 8 bytes out. Our own encoder (encodeColourBlock) unless a conversion is told otherwise; the
// benchmark and the comparison tests pass other libraries' encoders.
using ColourBlockEncoder = void (*)(const std::uint8_t* rgba, std::uint8_t* colour);

// rgba: 16 texels of red, green, blue, alpha, row by row (64 bytes). block: 16 bytes out.
// Alpha is rounded to the nearest of the 16 steps (a -> round(a / 17)), whatever the encoder.
void encodeDxt3Block(const std::uint8_t* rgba, std::uint8_t* block, ColourBlockEncoder encoder);

} // namespace livrano
