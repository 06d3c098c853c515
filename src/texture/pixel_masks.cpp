// SPDX-License-Identifier: MIT
#include "texture/pixel_masks.h"

#include <algorithm>
#include <array>
#include <bit>
#include <utility>

namespace livrano {

MaskChannel::MaskChannel(std::uint32_t mask) : m_mask(mask) {
    if (mask != 0) {
        m_shift = std::countr_zero(mask);
        m_max = mask >> m_shift;
    }
}

std::string describeMasks(unsigned bitCount, const PixelMasks& masks) {
    std::array<std::pair<char, std::uint32_t>, 4> channels = {
        {{'R', masks.red}, {'G', masks.green}, {'B', masks.blue}, {'A', masks.alpha}}};
    const auto wholeByte = [](std::uint32_t m) {
        return m == 0 ||
               (std::popcount(m) == 8 && std::countr_zero(m) % 8 == 0 && (m >> std::countr_zero(m)) == 0xFF);
    };
    const bool bytes = bitCount % 8 == 0 && std::all_of(channels.begin(), channels.end(),
                                                        [&](const auto& c) { return wholeByte(c.second); });
    std::string name = std::to_string(bitCount) + "-bit ";
    if (bytes) {
        for (unsigned at = 0; at < bitCount; at += 8) {
            char letter = 'X';
            for (const auto& [l, mask] : channels)
                letter = mask == 0xFFu << at ? l : letter;
            name += letter;
        }
        return name;
    }
    std::sort(channels.begin(), channels.end(),
              [](const auto& a, const auto& b) { return a.second > b.second; });
    std::string widths;
    for (const auto& [letter, mask] : channels) {
        if (mask != 0) {
            name += letter;
            widths += std::to_string(std::popcount(mask));
        }
    }
    return name + " " + widths;
}

} // namespace livrano
