// SPDX-License-Identifier: MIT
#include "texture/dxt_decoder.h"

#include <algorithm>
#include <cassert>

#include "app/little_endian.h"

namespace livrano {

namespace {

void decode565(unsigned v, std::uint8_t* rgba) {
    const unsigned r = (v >> 11) & 0x1F;
    const unsigned g = (v >> 5) & 0x3F;
    const unsigned b = v & 0x1F;
    rgba[0] = static_cast<std::uint8_t>((r << 3) | (r >> 2));
    rgba[1] = static_cast<std::uint8_t>((g << 2) | (g >> 4));
    rgba[2] = static_cast<std::uint8_t>((b << 3) | (b >> 2));
    rgba[3] = 255;
}

// The colour half of a block (8 bytes) into the colour and alpha of 16 texels. DXT1 alone lets
// the order of the end points choose the three-colour mode; the other formats keep four colours.
void decodeColours(const std::uint8_t* colour, bool dxt1, std::uint8_t* rgba) {
    std::uint8_t palette[4][4];
    const unsigned c0 = readLe16(colour, 0);
    const unsigned c1 = readLe16(colour, 2);
    decode565(c0, palette[0]);
    decode565(c1, palette[1]);
    const bool threeColours = dxt1 && c0 <= c1;
    for (int c = 0; c < 3; ++c) {
        const int a = palette[0][c];
        const int b = palette[1][c];
        palette[2][c] = static_cast<std::uint8_t>(threeColours ? (a + b) / 2 : (2 * a + b) / 3);
        palette[3][c] = static_cast<std::uint8_t>(threeColours ? 0 : (a + 2 * b) / 3);
    }
    palette[2][3] = 255;
    palette[3][3] = threeColours ? 0 : 255;
    const std::uint32_t indices = readLe32(colour, 4);
    for (std::size_t i = 0; i < 16; ++i)
        std::copy_n(palette[(indices >> (2 * i)) & 3], 4, rgba + i * 4);
}

// DXT3's explicit alpha: a nibble per texel, n read as 17n.
void decodeExplicitAlpha(const std::uint8_t* alpha, std::uint8_t* rgba) {
    for (int i = 0; i < 16; ++i)
        rgba[i * 4 + 3] = static_cast<std::uint8_t>(((alpha[i / 2] >> (4 * (i % 2))) & 0x0F) * 17);
}

// DXT5's alpha: two end points and 48 bits of 3-bit indices. a0 > a1 spreads eight values between
// them; otherwise six, then 0 and 255.
void decodeInterpolatedAlpha(const std::uint8_t* alpha, std::uint8_t* rgba) {
    const int a0 = alpha[0];
    const int a1 = alpha[1];
    int values[8] = {a0, a1, 0, 0, 0, 0, 0, 255};
    const int steps = a0 > a1 ? 7 : 5;
    for (int i = 1; i < steps; ++i)
        values[1 + i] = ((steps - i) * a0 + i * a1) / steps;
    std::uint64_t indices = 0;
    for (int b = 5; b >= 0; --b)
        indices = (indices << 8) | alpha[2 + b];
    for (int i = 0; i < 16; ++i)
        rgba[i * 4 + 3] = static_cast<std::uint8_t>(values[(indices >> (3 * i)) & 7]);
}

std::size_t blocksAcross(int side) {
    return std::max<std::size_t>(1, (static_cast<std::size_t>(side) + 3) / 4);
}

} // namespace

std::size_t dxtBlockBytes(DxtFormat format) {
    return format == DxtFormat::Dxt1 ? 8 : 16;
}

std::size_t dxtLevelSize(DxtFormat format, int width, int height) {
    assert(width >= 1 && height >= 1);
    return blocksAcross(width) * blocksAcross(height) * dxtBlockBytes(format);
}

void decodeDxtBlock(DxtFormat format, const std::uint8_t* block, std::uint8_t* rgba) {
    switch (format) {
    case DxtFormat::Dxt1:
        decodeColours(block, true, rgba);
        break;
    case DxtFormat::Dxt3:
        decodeColours(block + 8, false, rgba);
        decodeExplicitAlpha(block, rgba);
        break;
    case DxtFormat::Dxt5:
        decodeColours(block + 8, false, rgba);
        decodeInterpolatedAlpha(block, rgba);
        break;
    }
}

RgbaImage decompressDxt(DxtFormat format, std::span<const std::uint8_t> blocks, int width, int height) {
    assert(width >= 1 && height >= 1 && blocks.size() >= dxtLevelSize(format, width, height));
    RgbaImage image;
    image.width = width;
    image.height = height;
    image.rgba.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4);
    const std::size_t across = blocksAcross(width);
    const std::size_t blockBytes = dxtBlockBytes(format);
    const auto w = static_cast<std::size_t>(width);
    const auto h = static_cast<std::size_t>(height);
    std::uint8_t texels[64];
    for (std::size_t by = 0; by < blocksAcross(height); ++by) {
        for (std::size_t bx = 0; bx < across; ++bx) {
            decodeDxtBlock(format, blocks.data() + (by * across + bx) * blockBytes, texels);
            // The block's columns that lie inside the picture, for each of its rows that does.
            const std::size_t columns = std::min<std::size_t>(4, w - bx * 4);
            for (std::size_t row = 0; row < 4 && by * 4 + row < h; ++row)
                std::copy_n(texels + row * 16, columns * 4,
                            image.rgba.data() + ((by * 4 + row) * w + bx * 4) * 4);
        }
    }
    return image;
}

} // namespace livrano
