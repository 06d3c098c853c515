// SPDX-License-Identifier: MIT
#include "texture/dxt3_image.h"
#include "texture/dxt_decoder.h"

#include <gtest/gtest.h>

#include <pthread.h>

#include <array>
#include <cstdlib>
#include <functional>
#include <vector>

#include "paint_pictures.h"
#include "squish_fits.h"
#include "support/time_limit.h"
#include "texture/dxt3_encoder.h"
#include "texture/texture_fixtures.h"

namespace livrano {
namespace {

std::vector<std::uint8_t> roundTrip(const std::uint8_t* texels, ColourBlockEncoder fit) {
    std::uint8_t block[16];
    std::vector<std::uint8_t> decoded(64);
    encodeDxt3Block(texels, block, fit);
    decodeDxtBlock(DxtFormat::Dxt3, block, decoded.data());
    return decoded;
}

int squaredError(const std::vector<std::uint8_t>& a, const std::uint8_t* b) {
    int sum = 0;
    for (int i = 0; i < 64; ++i)
        sum += i % 4 == 3 ? 0
                          : (a[static_cast<std::size_t>(i)] - b[i]) * (a[static_cast<std::size_t>(i)] - b[i]);
    return sum;
}

// A flat block of a colour 5:6:5 holds comes back exactly, one of any colour as near as libsquish
// brings it, and a block of two colours with every texel within one 5:6:5 step of its own colour.
// (Alpha is the converter's tests'.)
TEST(Dxt3Block, FlatAndTwoColourBlocksComeBackClose) {
    std::vector<std::array<int, 3>> flat = {{0, 0, 0},   {255, 255, 255}, {255, 0, 0},
                                            {0, 255, 0}, {0, 0, 255},     {132, 130, 66}};
    const std::size_t exact = flat.size(); // the colours 5:6:5 holds
    std::uint32_t seed = 12345;
    auto next = [&seed] { return seed = seed * 1664525u + 1013904223u, seed >> 24; };
    for (int v = 0; v < 256; ++v)
        flat.push_back({v, 255 - v, static_cast<int>(next())});
    for (std::size_t k = 0; k < flat.size(); ++k) {
        std::uint8_t texels[64];
        for (int i = 0; i < 64; ++i)
            texels[i] = static_cast<std::uint8_t>(i % 4 == 3 ? 255 : flat[k][i % 4]);
        const std::vector<std::uint8_t> ours = roundTrip(texels, encodeColourBlock);
        EXPECT_LE(squaredError(ours, texels),
                  squaredError(roundTrip(texels, bench::squishClusterFit), texels))
            << k;
        if (k < exact) {
            EXPECT_EQ(ours, std::vector<std::uint8_t>(texels, texels + 64)) << k;
        }
    }
    for (int block = 0; block < 500; ++block) {
        std::uint8_t pair[2][3], texels[64];
        for (auto& c : pair)
            for (auto& channel : c)
                channel = static_cast<std::uint8_t>(next());
        const unsigned pattern = next() << 8 | next();
        for (int i = 0; i < 16; ++i)
            for (int k = 0; k < 4; ++k)
                texels[i * 4 + k] = k == 3 ? 255 : pair[(pattern >> i) & 1][k];
        const std::vector<std::uint8_t> decoded = roundTrip(texels, encodeColourBlock);
        for (std::size_t i = 0; i < 48; ++i) {
            const int step = i % 3 == 1 ? 4 : 8; // green has six bits, red and blue five
            const std::size_t at = i / 3 * 4 + i % 3;
            ASSERT_LE(std::abs(decoded[at] - texels[at]), step) << "block " << block << " value " << i;
        }
    }
}

// On small photographic pictures our encoder is within 0.05 dB of libsquish's cluster fit, and
// the AVX2 and portable forms write the same bytes.
TEST(CompressDxt3, PhotographicQualityAndOneResultOnEveryPath) {
    for (const bench::NamedPicture& picture : bench::paintPictures()) {
        const RgbaImage image = picture.make(96);
        const double ours =
            colourPsnr(decompressDxt(DxtFormat::Dxt3, compressDxt3(image, encodeColourBlock), 96, 96), image);
        const double cluster = colourPsnr(
            decompressDxt(DxtFormat::Dxt3, compressDxt3(image, bench::squishClusterFit), 96, 96), image);
        EXPECT_GE(ours, cluster - 0.05) << picture.name << ": " << ours << " against " << cluster;
        if (!encoderPathAvailable(EncoderPath::Avx2))
            continue;
        std::uint8_t texels[64], portable[8], avx2[8];
        for (int bx = 0; bx < 24 * 24; ++bx) {
            for (int i = 0; i < 16; ++i)
                std::copy_n(image.pixel(bx % 24 * 4 + i % 4, bx / 24 * 4 + i / 4), 4,
                            texels + std::size_t(i) * 4);
            encodeColourBlock(texels, portable, EncoderPath::Portable);
            encodeColourBlock(texels, avx2, EncoderPath::Avx2);
            ASSERT_TRUE(std::equal(portable, portable + 8, avx2)) << picture.name << " block " << bx;
        }
    }
}

TEST(CompressDxt3, ThreadCountDoesNotChangeTheBlocks) {
    for (const auto& [width, height] : {std::pair{64, 64}, {9, 3}, {1, 1}, {16, 4}}) {
        RgbaImage image{width, height, {}};
        for (int i = 0; i < width * height * 4; ++i)
            image.rgba.push_back(static_cast<std::uint8_t>(i * 7 % 251));
        const std::vector<std::uint8_t> one = compressDxt3(image, encodeColourBlock, 1);
        EXPECT_EQ(one.size(), dxt3LevelSize(width, height));
        for (unsigned threads : {2u, 3u, 8u})
            EXPECT_EQ(compressDxt3(image, encodeColourBlock, threads), one) << width << "x" << height;
    }
}

// In a child process: leaves no room for a new thread's stack, then encodes with four threads.
// Exits 0 when the blocks match `expected`; 2 when threads could still start.
[[noreturn]] void encodeWithoutRoomForThreads(const RgbaImage& image,
                                              const std::vector<std::uint8_t>& expected) {
    if (!testkit::limitAddressSpace(std::size_t{1} << 20))
        std::_Exit(3);
    pthread_t probe;
    const auto nothing = [](void*) -> void* { return nullptr; };
    if (pthread_create(&probe, nullptr, nothing, nullptr) == 0)
        std::_Exit(2);
    std::_Exit(compressDxt3(image, encodeColourBlock, 4) == expected ? 0 : 1);
}

// Where the system refuses new threads every block still comes out, encoded by the calling
// thread, instead of an exception ending the build.
TEST(CompressDxt3, ARefusedThreadLeavesItsRowsToTheCaller) {
    if (testkit::kUnderAddressSanitizer)
        GTEST_SKIP() << "the address sanitizer's own reservations defeat the address-space limit";
    RgbaImage image{16, 16, {}};
    for (int i = 0; i < 16 * 16 * 4; ++i)
        image.rgba.push_back(static_cast<std::uint8_t>(i * 13 % 251));
    const std::vector<std::uint8_t> expected = compressDxt3(image, encodeColourBlock, 1);
    EXPECT_EXIT(encodeWithoutRoomForThreads(image, expected), ::testing::ExitedWithCode(0), "");
}

TEST(MipChain, BoxFiltersDownToOnePixel) {
    struct Case {
        int width, height;
        std::vector<std::uint8_t> red; // one channel; the others equal it
        std::vector<std::vector<std::uint8_t>> levels;
    };
    const Case cases[] = {
        {2, 2, {10, 20, 30, 41}, {{25}}},
        {4, 1, {0, 10, 100, 255}, {{5, 178}, {92}}},
        {3, 1, {9, 10, 200}, {{10}}}, // the odd column is dropped, as the size rounds down
        {1, 2, {1, 4}, {{3}}},
    };
    for (const Case& c : cases) {
        RgbaImage image{c.width, c.height, {}};
        for (std::uint8_t v : c.red)
            image.rgba.insert(image.rgba.end(), {v, v, v, v});
        const std::vector<RgbaImage> chain = mipChain(image);
        ASSERT_EQ(chain.size(), c.levels.size() + 1);
        for (std::size_t l = 0; l < c.levels.size(); ++l) {
            std::vector<std::uint8_t> red;
            for (std::size_t i = 0; i < chain[l + 1].rgba.size(); i += 4)
                red.push_back(chain[l + 1].rgba[i]);
            EXPECT_EQ(red, c.levels[l]) << c.width << "x" << c.height << " level " << l + 1;
        }
        EXPECT_EQ(chain.back().width * chain.back().height, 1);
    }
}

// A caller's mistake stops where it was made, in the builds that check (the sanitizers' and
// coverage's), instead of reading or writing past a buffer.
#ifndef NDEBUG
TEST(TextureContractsDeathTest, ABrokenPreconditionStopsAtTheCall) {
    const std::vector<std::uint8_t> oneBlock(16);
    const RgbaImage empty;
    const std::function<void()> mistakes[] = {
        [&] { (void)decompressDxt(DxtFormat::Dxt3, oneBlock, 8, 4); }, // two blocks' worth asked of one
        [&] { (void)decompressDxt(DxtFormat::Dxt5, oneBlock, 0, 4); },
        [&] { (void)compressDxt3(empty, encodeColourBlock); },
    };
    for (const auto& mistake : mistakes)
        EXPECT_DEATH(mistake(), "Assertion");
}
#endif

} // namespace
} // namespace livrano
