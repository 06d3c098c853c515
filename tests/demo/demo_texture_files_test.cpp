// SPDX-License-Identifier: MIT
#include "demo/demo_texture_files.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdlib>

#include "texture/dxt_decoder.h"
#include "texture/texture_reader.h"

namespace livrano {
namespace {

using Block = std::array<std::uint8_t, 64>;

Block decoded(DxtFormat format, const Block& texels) {
    std::uint8_t block[16];
    if (format == DxtFormat::Dxt1)
        encodeDxt1Block(texels.data(), block);
    else
        encodeDxt5Block(texels.data(), block);
    Block out;
    decodeDxtBlock(format, block, out.data());
    return out;
}

int colourError(const std::uint8_t* a, const std::uint8_t* b) {
    return std::max({std::abs(a[0] - b[0]), std::abs(a[1] - b[1]), std::abs(a[2] - b[2])});
}

// Whatever its colour, a block of one colour comes back as one colour at most 1 off in each
// channel (the nearest a blend of two 5:6:5 end points gets) with its alpha exact: a DXT1 block
// keeps the four-colour order, in which no texel turns transparent.
TEST(DemoDxtBlock, OneColourComesBackWithinOne) {
    for (DxtFormat format : {DxtFormat::Dxt1, DxtFormat::Dxt5})
        for (int v = 0; v < 256; ++v)
            for (const std::array<int, 4>& c :
                 {std::array{v, v, v, 255}, std::array{v, 255 - v, v * 7 % 256, v}}) {
                const std::uint8_t alpha = format == DxtFormat::Dxt1 ? 255 : static_cast<std::uint8_t>(c[3]);
                Block texels;
                for (std::size_t i = 0; i < 64; ++i)
                    texels[i] = i % 4 == 3 ? alpha : static_cast<std::uint8_t>(c[i % 4]);
                const Block out = decoded(format, texels);
                for (std::size_t i = 0; i < 64; i += 4) {
                    ASSERT_LE(colourError(out.data() + i, texels.data()), 1) << v;
                    ASSERT_EQ(out[i + 3], alpha) << v;
                    ASSERT_TRUE(std::equal(out.begin(), out.begin() + 4, out.begin() + i)) << v;
                }
            }
}

// DXT1 keeps one bit of alpha: below 128 transparent, else opaque near its colour, whether the
// opaque texels have one colour, two, or there are none. DXT5 has eight levels from the block's
// lowest alpha to its highest: five come back at most half a step (255 / 14, and 1 the decoder
// truncates) off.
TEST(DemoDxtBlock, AlphaComesBackAsTheFormatKeepsIt) {
    constexpr std::uint8_t kAlphas[] = {0, 127, 128, 255, 100};
    constexpr std::uint8_t kRed[] = {200, 30, 30}, kBlue[] = {20, 40, 160};
    for (DxtFormat format : {DxtFormat::Dxt1, DxtFormat::Dxt5})
        for (int colours : {1, 2, 0}) {
            Block texels;
            for (std::size_t i = 0; i < 64; i += 4) {
                std::copy_n(colours == 2 && i >= 32 ? kBlue : kRed, 3, texels.begin() + i);
                texels[i + 3] = colours == 0 ? 0 : kAlphas[i / 4 % 5];
            }
            const Block out = decoded(format, texels);
            const bool dxt1 = format == DxtFormat::Dxt1;
            for (std::size_t i = 0; i < 64; i += 4) {
                const int alpha = dxt1 ? (texels[i + 3] >= 128 ? 255 : 0) : texels[i + 3];
                EXPECT_LE(std::abs(out[i + 3] - alpha), dxt1 ? 0 : 255 / 14 + 1) << colours << " " << i / 4;
                EXPECT_LE(alpha == 0 && dxt1 ? 0 : colourError(out.data() + i, texels.data() + i), 4)
                    << i / 4;
            }
        }
}

// Sides that are no multiple of 4 (edge blocks, rows padded to 4 bytes) read back at their size,
// near the picture: the left three columns one colour, the rest another.
TEST(DemoTextureFile, OddSizesReadBack) {
    constexpr std::uint8_t kLeft[] = {220, 90, 40, 255}, kRight[] = {16, 90, 180, 255};
    RgbaImage image{7, 5, {}};
    for (int i = 0; i < 7 * 5; ++i)
        image.rgba.insert(image.rgba.end(), i % 7 < 3 ? kLeft : kRight, (i % 7 < 3 ? kLeft : kRight) + 4);
    for (int s = 0; s <= static_cast<int>(DemoTextureStorage::PalettisedBitmap); ++s) {
        const auto storage = static_cast<DemoTextureStorage>(s);
        DecodedTexture texture;
        ASSERT_TRUE(decodeTexture(encodeDemoTexture(image, storage), texture)) << s;
        ASSERT_EQ(texture.image.width, 7);
        ASSERT_EQ(texture.image.height, 5);
        for (std::size_t i = 0; i < image.rgba.size(); i += 4) {
            EXPECT_LE(colourError(texture.image.rgba.data() + i, image.rgba.data() + i),
                      storage == DemoTextureStorage::PalettisedBitmap ? 0 : 4)
                << s << " at " << i / 4;
            EXPECT_EQ(texture.image.rgba[i + 3], 255);
        }
    }
}

} // namespace
} // namespace livrano
