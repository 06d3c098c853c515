// SPDX-License-Identifier: MIT
#include "texture/dxt3_block.h"

#include "app/little_endian.h"

namespace livrano {

namespace {

void decode565(unsigned v, int* rgb) {
    const int r = static_cast<int>((v >> 11) & 0x1F);
    const int g = static_cast<int>((v >> 5) & 0x3F);
    const int b = static_cast<int>(v & 0x1F);
    rgb[0] = (r << 3) | (r >> 2);
    rgb[1] = (g << 2) | (g >> 4);
    rgb[2] = (b << 3) | (b >> 2);
}

} // namespace

void encodeDxt3Block(const std::uint8_t* rgba, std::uint8_t* block, ColourBlockEncoder encoder) {
    encoder(rgba, block + 8);
    // The alpha half is always ours, so its rounding does not depend on the colour encoder's.
    for (int i = 0; i < 8; ++i) {
        const unsigned lo = (rgba[(2 * i) * 4 + 3] + 8u) / 17u;
        const unsigned hi = (rgba[(2 * i + 1) * 4 + 3] + 8u) / 17u;
        block[i] = static_cast<std::uint8_t>(lo | (hi << 4));
    }
}

void decodeDxt3Block(const std::uint8_t* block, std::uint8_t* rgba) {
    int colours[4][3];
    decode565(readLe16(block, 8), colours[0]);
    decode565(readLe16(block, 10), colours[1]);
    for (int c = 0; c < 3; ++c) {
        colours[2][c] = (2 * colours[0][c] + colours[1][c]) / 3;
        colours[3][c] = (colours[0][c] + 2 * colours[1][c]) / 3;
    }
    for (int i = 0; i < 16; ++i) {
        const int index = (block[12 + i / 4] >> (2 * (i % 4))) & 3;
        for (int c = 0; c < 3; ++c)
            rgba[i * 4 + c] = static_cast<std::uint8_t>(colours[index][c]);
        const int nibble = (block[i / 2] >> (4 * (i % 2))) & 0x0F;
        rgba[i * 4 + 3] = static_cast<std::uint8_t>(nibble * 17);
    }
}

} // namespace livrano
