// SPDX-License-Identifier: MIT
#include "texture/rgba_image.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

namespace livrano {

namespace {

RgbaImage halve(const RgbaImage& src) {
    RgbaImage dst;
    dst.width = std::max(1, src.width / 2);
    dst.height = std::max(1, src.height / 2);
    dst.rgba.resize(static_cast<std::size_t>(dst.width) * static_cast<std::size_t>(dst.height) * 4);
    for (int y = 0; y < dst.height; ++y) {
        const int y0 = std::min(2 * y, src.height - 1);
        const int y1 = std::min(2 * y + 1, src.height - 1);
        for (int x = 0; x < dst.width; ++x) {
            const int x0 = std::min(2 * x, src.width - 1);
            const int x1 = std::min(2 * x + 1, src.width - 1);
            const std::uint8_t* p[4] = {src.pixel(x0, y0), src.pixel(x1, y0), src.pixel(x0, y1),
                                        src.pixel(x1, y1)};
            // A side of 1 pixel has nothing to pair with: its texels are counted once, not twice.
            const int count = (x0 == x1 ? 1 : 2) * (y0 == y1 ? 1 : 2);
            const int used[4] = {1, x0 != x1, y0 != y1, x0 != x1 && y0 != y1};
            std::uint8_t* out =
                dst.rgba.data() + (static_cast<std::size_t>(y) * static_cast<std::size_t>(dst.width) +
                                   static_cast<std::size_t>(x)) *
                                      4;
            for (int c = 0; c < 4; ++c) {
                int sum = 0;
                for (int i = 0; i < 4; ++i)
                    sum += used[i] ? p[i][c] : 0;
                out[c] = static_cast<std::uint8_t>((sum + count / 2) / count);
            }
        }
    }
    return dst;
}

} // namespace

std::vector<RgbaImage> mipChain(const RgbaImage& image) {
    std::vector<RgbaImage> levels{image};
    while (levels.back().width > 1 || levels.back().height > 1)
        levels.push_back(halve(levels.back()));
    return levels;
}

bool usesAlpha(const RgbaImage& image) {
    for (std::size_t i = 3; i < image.rgba.size(); i += 4)
        if (image.rgba[i] != 255)
            return true;
    return false;
}

RgbaImage flippedVertically(const RgbaImage& image) {
    RgbaImage out = image;
    const std::size_t rowBytes = static_cast<std::size_t>(image.width) * 4;
    for (int y = 0; y < image.height; ++y)
        std::memcpy(out.rgba.data() + static_cast<std::size_t>(image.height - 1 - y) * rowBytes,
                    image.rgba.data() + static_cast<std::size_t>(y) * rowBytes, rowBytes);
    return out;
}

double colourPsnr(const RgbaImage& a, const RgbaImage& b) {
    double sum = 0;
    std::size_t count = 0;
    for (std::size_t i = 0; i < a.rgba.size() && i < b.rgba.size(); ++i) {
        if (i % 4 == 3)
            continue;
        const double d = double(a.rgba[i]) - double(b.rgba[i]);
        sum += d * d;
        ++count;
    }
    if (count == 0 || sum == 0)
        return std::numeric_limits<double>::infinity();
    return 10.0 * std::log10(255.0 * 255.0 / (sum / double(count)));
}

} // namespace livrano
