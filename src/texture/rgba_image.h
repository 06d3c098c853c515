// SPDX-License-Identifier: MIT
#pragma once
// A texture picture in memory: red, green, blue, alpha bytes per pixel, rows top-down.

#include <cstdint>
#include <vector>

namespace livrano {

struct RgbaImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgba; // width * height * 4 bytes

    const std::uint8_t* pixel(int x, int y) const {
        return rgba.data() +
               (static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)) *
                   4;
    }
};

// The image followed by its box-filtered smaller levels, each half the size of the one before
// (rounded down, at least 1), down to 1x1. Each pixel of a level averages (rounded) the up to 2x2
// pixels of the level above that it covers.
std::vector<RgbaImage> mipChain(const RgbaImage& image);

// Whether some pixel's alpha is below 255.
bool usesAlpha(const RgbaImage& image);

// The image upside down.
RgbaImage flippedVertically(const RgbaImage& image);

// Peak signal-to-noise ratio in dB of the red, green and blue bytes of two images of equal size
// (alpha not counted); infinity when they are identical.
double colourPsnr(const RgbaImage& a, const RgbaImage& b);

} // namespace livrano
