// SPDX-License-Identifier: MIT
#include "texture/bmp_reader.h"

#include <gtest/gtest.h>

#include "app/little_endian.h"
#include "support/data_rows.h"
#include "support/temp_dir.h"

namespace livrano {
namespace {

namespace fs = std::filesystem;

// tests/data/bmp holds this 13x6 picture (2 colours at 1 bit, 12 otherwise) in every layout the
// reader accepts, named after its bit count ("08-bit-rle.bmp") and written independently of the
// program. Its channels survive 5- and 6-bit quantisation exactly; runs, single pixels and literal
// stretches make both run-length modes occur.
Bitmap samplePicture(int colours) {
    static const std::uint8_t redBlue[3] = {0, 132, 255};
    Bitmap b{13, 6, 1, {}, {}};
    for (int i = 0; i < colours; ++i)
        b.palette.push_back(PaletteEntry{redBlue[(i / 2) % 3], static_cast<std::uint8_t>(i % 2 ? 255 : 0),
                                         redBlue[(i / 6) % 3], 0});
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 13; ++x)
            b.pixels.push_back(
                static_cast<std::uint8_t>(x < 4 ? y % colours : (x * 7 + y * 3 + x * y) % colours));
    return b;
}

std::vector<std::uint8_t> sample(const std::string& name) {
    const std::string bytes = testkit::readFile(testkit::testData("bmp/" + name));
    return {bytes.begin(), bytes.end()};
}

// Every layout decodes to the same picture. Cut short, a file either fails or, when only the
// padding of its last row or its end mark is missing, still gives the whole picture: never a part
// of one, never a read past the end.
TEST(DecodeBmp, EveryVariantDecodesToTheSamePixelsAndEveryTruncatedLengthFailsCleanly) {
    int variants = 0;
    for (const auto& entry : fs::directory_iterator(testkit::testData("bmp"))) {
        const std::string name = entry.path().filename().string();
        const int bitCount = std::stoi(name.substr(0, 2));
        const Bitmap picture = samplePicture(bitCount == 1 ? 2 : 12);
        const std::vector<std::uint8_t> file = sample(name);
        ++variants;
        const std::optional<Bitmap> decoded = decodeBmp(file);
        ASSERT_TRUE(decoded) << name;
        EXPECT_EQ(std::pair(decoded->width, decoded->height), std::pair(13, 6)) << name;
        EXPECT_EQ(toColour(*decoded).pixels, toColour(picture).pixels) << name;
        if (bitCount <= 8) {
            // Palettised files keep their indices and their table.
            EXPECT_EQ(decoded->bytesPerPixel, 1) << name;
            EXPECT_EQ(decoded->pixels, picture.pixels) << name;
            ASSERT_GE(decoded->palette.size(), picture.palette.size()) << name;
            EXPECT_TRUE(std::equal(picture.palette.begin(), picture.palette.end(), decoded->palette.begin()))
                << name;
        } else {
            EXPECT_EQ(decoded->bytesPerPixel, 3) << name;
            // The 32-bit samples hold 0x55 in the byte no colour uses, or 0x80 with masks.
            const std::size_t alphaBytes = bitCount == 32 ? 78 : 0;
            EXPECT_EQ(decoded->alpha, std::vector<std::uint8_t>(
                                          alphaBytes, name.find("masks") != std::string::npos ? 0x80 : 0x55))
                << name;
        }
        int accepted = 0;
        for (std::size_t length = 0; length < file.size(); ++length) {
            // A copy of exactly `length` bytes, so the sanitizer sees any read beyond it.
            const std::vector<std::uint8_t> cut(file.begin(),
                                                file.begin() + static_cast<std::ptrdiff_t>(length));
            const std::optional<Bitmap> decodedCut = decodeBmp(cut);
            if (decodedCut) {
                ++accepted;
                EXPECT_EQ(decodedCut->pixels, decoded->pixels) << name << " cut to " << length;
            }
        }
        EXPECT_LE(accepted, 3) << name;
    }
    EXPECT_EQ(variants, 27);
}

// One case for each reason given, as tests/data/bmp_lies.txt lists them.
TEST(DecodeBmp, LyingHeadersAreRefused) {
    for (const std::vector<std::string>& row : testkit::dataRows("bmp_lies.txt", "lie")) {
        std::vector<std::uint8_t> file = sample(row[0]);
        for (auto patch = row.begin() + 2; patch != row.end(); ++patch)
            testkit::patchBytes(file, *patch);
        std::string why;
        EXPECT_FALSE(decodeBmp(file, {}, &why)) << row[1];
        EXPECT_TRUE(why.starts_with(row[1])) << row[1] << ": " << why;
    }
}

// The colour count of the header is believed only as far as the file has room for it before
// the pixels: neither a huge allocation nor a table read out of the pixels.
TEST(DecodeBmp, ColourCountsAreBoundedByTheFile) {
    struct Case {
        const char* file;
        std::uint32_t colourCount;
        std::size_t tableSize;
    };
    const Case cases[] = {{"08-bit.bmp", 0xFFFFFFFF, 256}, {"08-bit-short-table.bmp", 256, 12}};
    for (const Case& c : cases) {
        std::vector<std::uint8_t> file = sample(c.file);
        putLe32(file, 46, c.colourCount);
        const std::optional<Bitmap> decoded = decodeBmp(file);
        ASSERT_TRUE(decoded) << c.file;
        EXPECT_EQ(decoded->palette.size(), c.tableSize) << c.file;
        EXPECT_EQ(decoded->pixels, samplePicture(12).pixels) << c.file;
    }
}

TEST(DecodeBmp, RunLengthDeltasAndOverlongRunsStayInsideThePicture) {
    // 4x2 RLE8: a run of 9 pixels on a 4-pixel row, a delta far beyond the picture, then the end.
    std::vector<std::uint8_t> file = sample("08-bit-rle.bmp");
    putLe32(file, 18, 4);
    putLe32(file, 22, 2);
    file.resize(readLe16(file, 10));
    for (int b : {9, 1, 0, 2, 250, 250, 0, 1})
        file.push_back(static_cast<std::uint8_t>(b));
    const auto decoded = decodeBmp(file);
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->pixels, (std::vector<std::uint8_t>{0, 0, 0, 0, 1, 1, 1, 1})); // bottom row filled
}

TEST(DecodeBmp, LimitsBoundThePictureAndTheFile) {
    const std::vector<std::uint8_t> file = sample("08-bit.bmp");
    EXPECT_TRUE(decodeBmp(file, BmpLimits{13, 78}));
    EXPECT_FALSE(decodeBmp(file, BmpLimits{12, 1000}));
    EXPECT_FALSE(decodeBmp(file, BmpLimits{100, 77}));

    // A file far larger than any picture within the limits is not read at all.
    testkit::TempDir dir;
    std::string bytes(file.begin(), file.end());
    testkit::writeFile(dir / "small.bmp", bytes);
    bytes.resize(file.size() + (2 << 20));
    testkit::writeFile(dir / "padded.bmp", bytes);
    EXPECT_TRUE(readBmpFile(dir / "small.bmp", BmpLimits{13, 78}));
    EXPECT_FALSE(readBmpFile(dir / "padded.bmp", BmpLimits{13, 78}));
}

} // namespace
} // namespace livrano
