// SPDX-License-Identifier: MIT
#include "texture/dxt_decoder.h"

#include <gtest/gtest.h>

#include <array>
#include <random>
#include <vector>

#include "squish_fits.h"

namespace livrano {
namespace {

// Every block of the table decodes as libsquish decodes it. The table: colour end points in both
// orders and equal (DXT1's three-colour mode with its transparent texel), alpha end points in both
// orders and equal (DXT5's eight and six-value palettes), every index, the extremes; then random
// blocks from a fixed seed. A DXT1 block is the colour half (the last 8 bytes) of the others.
TEST(DecodeDxtBlock, AgreesWithLibsquishOnEveryBlockOfTheTable) {
    using Block = std::array<std::uint8_t, 16>;
    std::vector<Block> blocks;
    const auto byte = [](std::uint64_t v) { return static_cast<std::uint8_t>(v); };
    for (unsigned c0 : {0x0000, 0xFFFF, 0xF81F, 0x07E0, 0x8410})
        for (unsigned c1 : {0x0000, 0xFFFF, 0xF81F, 0x07E0, 0x8410})
            for (unsigned a0 : {0, 255, 17, 200})
                for (unsigned a1 :
                     {0, 255, 17, 200}) // alpha indices 0-7 twice, colour indices 0-3 four times
                    blocks.push_back({byte(a0), byte(a1), 0x88, 0xC6, 0xFA, 0x88, 0xC6, 0xFA, byte(c0),
                                      byte(c0 >> 8), byte(c1), byte(c1 >> 8), 0xE4, 0x1B, 0xE4, 0x1B});
    std::mt19937 random(20240611);
    for (int i = 0; i < 20000; ++i) {
        Block& b = blocks.emplace_back();
        for (std::uint8_t& v : b)
            v = byte(random());
    }
    for (DxtFormat format : {DxtFormat::Dxt1, DxtFormat::Dxt3, DxtFormat::Dxt5}) {
        int differing = 0;
        for (const Block& block : blocks) {
            const std::uint8_t* bytes = block.data() + (format == DxtFormat::Dxt1 ? 8 : 0);
            std::array<std::uint8_t, 64> ours{}, theirs{};
            decodeDxtBlock(format, bytes, ours.data());
            bench::squishDecompress(format, bytes, theirs.data());
            differing += ours != theirs;
        }
        EXPECT_EQ(differing, 0) << "format " << static_cast<int>(format) << " of " << blocks.size()
                                << " blocks";
    }
}

} // namespace
} // namespace livrano
