// SPDX-License-Identifier: MIT
#include "squish_fits.h"

#include <algorithm>

#include <squish.h>

namespace livrano::bench {

namespace {

// The library writes a whole DXT3 block; its colour half is the second eight bytes.
void compress(const std::uint8_t* rgba, std::uint8_t* colour, int fit) {
    std::uint8_t block[16];
    squish::Compress(rgba, block, squish::kDxt3 | fit);
    std::copy_n(block + 8, 8, colour);
}

int flags(DxtFormat format) {
    return format == DxtFormat::Dxt1   ? squish::kDxt1
           : format == DxtFormat::Dxt3 ? squish::kDxt3
                                       : squish::kDxt5;
}

} // namespace

void squishRangeFit(const std::uint8_t* rgba, std::uint8_t* colour) {
    compress(rgba, colour, squish::kColourRangeFit);
}

void squishClusterFit(const std::uint8_t* rgba, std::uint8_t* colour) {
    compress(rgba, colour, squish::kColourClusterFit);
}

void squishIterativeClusterFit(const std::uint8_t* rgba, std::uint8_t* colour) {
    compress(rgba, colour, squish::kColourIterativeClusterFit);
}

void squishDecompress(DxtFormat format, const std::uint8_t* block, std::uint8_t* rgba) {
    squish::Decompress(rgba, block, flags(format));
}

} // namespace livrano::bench
