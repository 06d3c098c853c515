// SPDX-License-Identifier: MIT
#pragma once
// libsquish's three colour fits as colour-block encoders, the references our encoder is measured
// against by the benchmark and the comparison tests, and its block decoder, the reference of ours.
// Nothing else links the library.

#include <cstdint>

#include "texture/dxt_decoder.h"

namespace livrano::bench {

// rgba: 16 texels of red, green, blue, alpha (64 bytes); colour: the 8-byte colour half of a
// DXT3 block. Red, green and blue weigh alike, as in our encoder.
void squishRangeFit(const std::uint8_t* rgba, std::uint8_t* colour);
void squishClusterFit(const std::uint8_t* rgba, std::uint8_t* colour);
void squishIterativeClusterFit(const std::uint8_t* rgba, std::uint8_t* colour);

// block: a DXT1 (8 bytes), DXT3 or DXT5 block (16); rgba: its 16 texels out (64 bytes).
void squishDecompress(DxtFormat format, const std::uint8_t* block, std::uint8_t* rgba);

} // namespace livrano::bench
