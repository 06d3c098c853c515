// SPDX-License-Identifier: MIT
#include "texture/dxt_decoder.h"

#include <gtest/gtest.h>

#include <array>
#include <random>
#include <vector>

#include "squish_fits.h"

namespace livrano {
namespace {

using Block = std::array<std::uint8_t, 16>;

// Blocks each mode turns on: the colour end points in both orders and equal (DXT1's three-colour
// mode with its transparent texel), the alpha end points in both orders and equal (DXT5's eight
// and six-value palettes), every index, the extremes; then random blocks from a fixed seed.
std::vector<Block> blockTable() {
    std::vector<Block> blocks;
    const std::array<std::uint16_t, 5> colours = {0x0000, 0xFFFF, 0xF81F, 0x07E0, 0x8410};
    const std::array<std::uint8_t, 4> alphas = {0, 255, 17, 200};
    for (std::uint16_t c0 : colours)
        for (std::uint16_t c1 : colours)
            for (std::uint8_t a0 : alphas)
                for (std::uint8_t a1 : alphas) {
                    // Alpha indices 0-7 twice over, colour indices 0-3 four times.
                    Block b = {a0,
                               a1,
                               0x88,
                               0xC6,
                               0xFA,
                               0x88,
                               0xC6,
                               0xFA,
                               std::uint8_t(c0),
                               std::uint8_t(c0 >> 8),
                               std::uint8_t(c1),
                               std::uint8_t(c1 >> 8),
                               0xE4,
                               0x1B,
                               0xE4,
                               0x1B};
                    blocks.push_back(b);
                }
    std::mt19937 random(20240611);
    for (int i = 0; i < 20000; ++i) {
        Block b;
        for (std::uint8_t& byte : b)
            byte = static_cast<std::uint8_t>(random());
        blocks.push_back(b);
    }
    return blocks;
}

TEST(DecodeDxtBlock, AgreesWithLibsquishOnEveryBlockOfTheTable) {
    const std::vector<Block> blocks = blockTable();
    for (DxtFormat format : {DxtFormat::Dxt1, DxtFormat::Dxt3, DxtFormat::Dxt5}) {
        int differing = 0;
        for (const Block& block : blocks) {
            std::array<std::uint8_t, 64> ours{}, theirs{};
            // A DXT1 block is the colour half of the others.
            const std::uint8_t* bytes = block.data() + (format == DxtFormat::Dxt1 ? 8 : 0);
            decodeDxtBlock(format, bytes, ours.data());
            bench::squishDecompress(format, bytes, theirs.data());
            differing += ours != theirs;
        }
        EXPECT_EQ(differing, 0) << "format " << static_cast<int>(format) << " of " << blocks.size()
                                << " blocks";
    }
}

// A level whose sides are not multiples of 4 keeps the texels of its edge blocks that lie inside
// it, at their places: as libsquish's whole-image decoder places them.
TEST(DecompressDxt, EdgeBlocksAsLibsquishPlacesThem) {
    const std::vector<Block> blocks = blockTable();
    for (DxtFormat format : {DxtFormat::Dxt1, DxtFormat::Dxt5})
        for (auto [w, h] : {std::pair(1, 1), std::pair(5, 3), std::pair(13, 6), std::pair(8, 9)}) {
            std::vector<std::uint8_t> data;
            for (std::size_t i = 0; data.size() < dxtLevelSize(format, w, h); ++i)
                data.insert(data.end(), blocks[i * 7].begin(), blocks[i * 7].begin() + dxtBlockBytes(format));
            std::vector<std::uint8_t> theirs(std::size_t(w) * h * 4);
            bench::squishDecompressImage(format, data.data(), w, h, theirs.data());
            EXPECT_EQ(decompressDxt(format, data, w, h).rgba, theirs) << w << "x" << h;
        }
}

} // namespace
} // namespace livrano
