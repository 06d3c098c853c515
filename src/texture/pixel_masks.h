// SPDX-License-Identifier: MIT
#pragma once
// Pixels whose channels are bit masks over a little-endian 16, 24 or 32-bit value, as BMP bit
// fields and uncompressed DDS files describe them.

#include <cstddef>
#include <cstdint>
#include <string>

namespace livrano {

struct PixelMasks {
    std::uint32_t red = 0;
    std::uint32_t green = 0;
    std::uint32_t blue = 0;
    std::uint32_t alpha = 0; // 0: the pixels have no alpha
};

// One channel described by its mask, scaled to 0..255 (rounded); a zero mask reads 0.
class MaskChannel {
public:
    explicit MaskChannel(std::uint32_t mask);
    std::uint8_t operator()(std::uint32_t value) const {
        if (m_max == 0)
            return 0;
        const std::uint64_t v = (value & m_mask) >> m_shift;
        return static_cast<std::uint8_t>((v * 255 + m_max / 2) / m_max);
    }

private:
    std::uint32_t m_mask = 0;
    int m_shift = 0;
    std::uint64_t m_max = 0;
};

// The value of the pixel of `bytes` bytes (1 to 4) at `p`, little-endian.
inline std::uint32_t pixelValue(const std::uint8_t* p, std::size_t bytes) {
    std::uint32_t v = 0;
    for (std::size_t i = bytes; i-- > 0;)
        v = (v << 8) | p[i];
    return v;
}

// How a painter reads the layout: channels that are whole bytes by their order in memory ("32-bit
// BGRA", "24-bit BGR", X for a byte no channel uses), others from the high bits down with their
// widths ("16-bit ARGB 1555", "16-bit RGB 565").
std::string describeMasks(unsigned bitCount, const PixelMasks& masks);

} // namespace livrano
