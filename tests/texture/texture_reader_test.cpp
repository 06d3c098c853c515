// SPDX-License-Identifier: MIT
#include "texture/texture_reader.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>

#include "support/data_rows.h"
#include "support/temp_dir.h"

namespace livrano {
namespace {

using Bytes = std::vector<std::uint8_t>;

// tests/data/textures holds the 13 x 6 picture made here (edge blocks both ways) in every format
// and variant, written by the program's writers where they exist. Its alpha (0, 102 or 255 a
// texel) is kept as tests/data/texture_samples.txt says: 0 = none, 1 = as 1 bit, 2 = as 1 bit with
// DXT1's transparent texels black, 3 = whole, 4 = all 0. Each column of 4x4 blocks, whichever way
// up they are cut, holds two of the eight colours whose channels are 0 or 255, which every depth
// holds exactly.
RgbaImage knownPicture(int keeps) {
    RgbaImage p{13, 6, {}};
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 13; ++x) {
            const int corner = x / 4 + ((x + y) % 3 == 0 ? 3 : 0);
            const int a = std::array{255, 102, 0}[(x * 5 + y) % 3];
            const int kept = std::array{255, a >= 128 ? 255 : 0, a >= 128 ? 255 : 0, a, 0}[keeps];
            for (int c : {4, 2, 1})
                p.rgba.push_back((corner & c) == 0 || (keeps == 2 && kept == 0) ? 0 : 255);
            p.rgba.push_back(static_cast<std::uint8_t>(kept));
        }
    return p;
}

Bytes sample(const std::string& name) {
    const std::string bytes = testkit::readFile(testkit::testData("textures/" + name));
    return {bytes.begin(), bytes.end()};
}

// Each sample decodes to the known picture. Cut short, it is refused, with no picture, or (where
// a BMP's last padding or a level no header counts is missing) still gives the whole picture:
// never a part of one, never a read past the end (the cuts are exact-size copies, for ASan).
TEST(DecodeTexture, EveryFormatAndVariantGivesBackTheKnownPicture) {
    for (const std::vector<std::string>& row : testkit::dataRows("texture_samples.txt", "sample")) {
        SCOPED_TRACE(row[0]);
        const Bytes file = sample(row[0]);
        DecodedTexture t;
        ASSERT_TRUE(decodeTexture(file, t).ok());
        EXPECT_EQ(describeContainer(t) + ", " + t.format + ", " + std::to_string(t.levels) + " levels",
                  row[1] + ", " + row[2] + ", " + row[3] + " levels");
        EXPECT_EQ(std::pair(t.width, t.height), std::pair(13, 6));
        EXPECT_EQ(t.image.rgba, knownPicture(std::stoi(row[4])).rgba);
        for (std::size_t length = 0; length < file.size(); ++length) {
            DecodedTexture part;
            if (decodeTexture(Bytes(file.begin(), file.begin() + std::ptrdiff_t(length)), part).ok())
                EXPECT_EQ(part.image.rgba, t.image.rgba) << "cut to " << length;
            else
                EXPECT_TRUE(part.image.rgba.empty()) << "cut to " << length;
        }
    }
}

// One case for each reason given, as tests/data/texture_lies.txt lists them.
TEST(DecodeTexture, LyingHeadersAreRefusedWithTheReason) {
    for (const std::vector<std::string>& lie : testkit::dataRows("texture_lies.txt", "lie")) {
        SCOPED_TRACE(lie[0] + ": " + lie[1]);
        Bytes file = sample(lie[0]);
        for (auto patch = lie.begin() + 2; patch != lie.end(); ++patch)
            testkit::patchBytes(file, *patch);
        DecodedTexture t;
        const Status status = decodeTexture(file, t, BmpLimits{1024, 1 << 20});
        EXPECT_THAT(status.message(), testing::HasSubstr(lie[1]));
        EXPECT_TRUE(!status.ok() && t.image.rgba.empty());
    }
}

} // namespace
} // namespace livrano
