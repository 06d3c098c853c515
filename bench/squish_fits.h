// SPDX-License-Identifier: MIT
#pragma once
// libsquish's three colour fits as colour-block encoders, the references our encoder is measured
// against by the benchmark and the comparison tests. Nothing else links the library.

#include <cstdint>

namespace livrano::bench {

// rgba: 16 texels of red, green, blue, alpha (64 bytes); colour: the 8-byte colour half of a
// DXT3 block. Red, green and blue weigh alike, as in our encoder.
void squishRangeFit(const std::uint8_t* rgba, std::uint8_t* colour);
void squishClusterFit(const std::uint8_t* rgba, std::uint8_t* colour);
void squishIterativeClusterFit(const std::uint8_t* rgba, std::uint8_t* colour);

} // namespace livrano::bench
