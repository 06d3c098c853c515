// SPDX-License-Identifier: MIT
#include "texture/dxt3_block.h"

namespace livrano {

void encodeDxt3Block(const std::uint8_t* rgba, std::uint8_t* block, ColourBlockEncoder encoder) {
    encoder(rgba, block + 8);
    // The alpha half is always ours, so its rounding does not depend on the colour encoder's.
    for (int i = 0; i < 8; ++i) {
        const unsigned lo = (rgba[(2 * i) * 4 + 3] + 8u) / 17u;
        const unsigned hi = (rgba[(2 * i + 1) * 4 + 3] + 8u) / 17u;
        block[i] = static_cast<std::uint8_t>(lo | (hi << 4));
    }
}

} // namespace livrano
