// SPDX-License-Identifier: MIT
#include "texture/texture_converter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "app/little_endian.h"
#include "texture/bmp_reader.h"
#include "texture/bmp_writer.h"
#include "texture/dxt_decoder.h"
#include "texture/texture_fixtures.h"
#include "texture/texture_reader.h"

namespace livrano {
namespace {

namespace fs = std::filesystem;
using testkit::TempDir;

// The intermediate files of a texture "T" in the TempBitmaps folder of a program folder `dir`: a
// colour picture smooth enough for DXT3 to keep it within 40 dB, and an alpha picture whose table
// runs backwards (index i is grey 255 - i), so alpha taken from raw indices instead of grey
// levels shows.
struct Intermediates {
    TempDir dir;
    Bitmap colour;
    Bitmap alpha;
    fs::path colourPath = dir / "TempBitmaps/T_c.bmp";
    fs::path alphaPath = dir / "TempBitmaps/T_a.bmp";
    fs::path output = dir / "TempBitmaps/T.bmp";

    Intermediates(int w, int h) : colour{w, h, 3, {}, {}}, alpha(testkit::greyPicture(w, h)) {
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) // blue, green, red
                for (double v : {40.0 + x + y, 200.0 - 2 * y, 60 + 100 * std::sin(x / 20.0)})
                    colour.pixels.push_back(static_cast<std::uint8_t>(v));
        for (std::uint8_t& index : alpha.pixels)
            index = static_cast<std::uint8_t>(255 - index);
        std::reverse(alpha.palette.begin(), alpha.palette.end());
        testkit::writeFile(colourPath, encodeBmp24(colour));
        testkit::writeFile(alphaPath, encodeBmp8(alpha, alpha.palette));
    }

    std::uint8_t expectedAlpha(int x, int y) const { return static_cast<std::uint8_t>(x * 16 + y * 3); }

    RgbaImage expected() const {
        RgbaImage image{colour.width, colour.height, {}};
        for (int y = 0; y < colour.height; ++y)
            for (int x = 0; x < colour.width; ++x) {
                const std::uint8_t* c = colour.row(y) + std::size_t(x) * 3;
                image.rgba.insert(image.rgba.end(), {c[2], c[1], c[0], expectedAlpha(x, y)});
            }
        return image;
    }

    std::vector<std::uint8_t> convert(std::int32_t code, std::int16_t flag = 0) const {
        EXPECT_EQ(BMPScompressBMP(colourPath.c_str(), alphaPath.c_str(), code, flag, flag, output.c_str()),
                  kConvertOk);
        const std::string bytes = testkit::readFile(output);
        return {bytes.begin(), bytes.end()};
    }
};

// The headers of a simulator texture: a BMP's, then the 20-byte "FS70" block.
std::string fsHeader(std::uint32_t fileSize, int w, int h, int bits, std::uint32_t compression,
                     std::uint32_t imageSize, std::uint32_t mipFlag) {
    const auto le = testkit::littleEndian;
    return testkit::bmpHeaders(fileSize, 74, w, h, bits, compression, imageSize) + "FS70" + le(20, 4) +
           le(0x400, 4) + le(0, 2) + le(mipFlag, 2) + le(0, 4);
}

std::string head(const std::vector<std::uint8_t>& file, std::size_t n) {
    return std::string(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(std::min(n, file.size())));
}

// Both formats, with and without every level down to one pixel: the whole header, then the
// composed pixels bottom-up (DXT3's first block covers the picture's bottom four rows, its first
// row the lowest), alpha to the nearest of DXT3's steps.
TEST(BMPScompressBMP, EachFormatHasItsHeaderAndTheComposedPixelsBottomUp) {
    struct Case {
        std::int32_t code;
        int w, h; // neither side a power of two for one
        std::int16_t mips;
        int bits;
        std::uint32_t compression, imageSize, fileSize, mipFlag;
        int levels;
    };
    const Case cases[] = {
        {kFormatCodeDxt3, 64, 32, 0, 16, 0x33545844, 2048, 74 + 2048, 0, 1},
        {kFormatCodeArgb32, 12, 5, 0, 32, 0, 240, 74 + 240, 0, 1},
        // 64x32, 32x16, 16x8, 8x4, 4x2, 2x1, 1x1
        {kFormatCodeDxt3, 64, 32, 1, 16, 0x33545844, 2048, 74 + 2048 + 512 + 128 + 32 + 16 + 16 + 16, 6, 7},
        {kFormatCodeArgb32, 64, 32, 1, 32, 0, 8192, 74 + 4 * (2048 + 512 + 128 + 32 + 8 + 2 + 1), 6, 7},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.bits) + " bits, mips " + std::to_string(c.mips));
        Intermediates in(c.w, c.h);
        const std::vector<std::uint8_t> file = in.convert(c.code, c.mips);
        ASSERT_EQ(file.size(), c.fileSize);
        EXPECT_EQ(head(file, 74),
                  fsHeader(c.fileSize, c.w, c.h, c.bits, c.compression, c.imageSize, c.mipFlag));
        DecodedTexture decoded;
        ASSERT_TRUE(decodeTexture(file, decoded).ok());
        EXPECT_EQ(decoded.levels, c.levels);
        if (c.code == kFormatCodeArgb32) {
            const std::uint8_t* bottomLeft = in.colour.row(c.h - 1);
            EXPECT_EQ(std::vector<int>(file.begin() + 74, file.begin() + 78),
                      (std::vector<int>{bottomLeft[0], bottomLeft[1], bottomLeft[2],
                                        in.expectedAlpha(0, c.h - 1)}));
            EXPECT_EQ(decoded.image.rgba, in.expected().rgba);
            continue;
        }
        EXPECT_EQ(decoded.format, "DXT3");
        EXPECT_GE(colourPsnr(decoded.image, in.expected()), 40.0);
        int alphaOff = 0;
        for (int y = 0; y < c.h; ++y)
            for (int x = 0; x < c.w; ++x)
                alphaOff += decoded.image.pixel(x, y)[3] != (in.expectedAlpha(x, y) + 8) / 17 * 17;
        EXPECT_EQ(alphaOff, 0);
        std::uint8_t texels[64];
        decodeDxtBlock(DxtFormat::Dxt3, file.data() + 74, texels);
        for (int r = 0; r < 4; ++r)
            EXPECT_EQ(texels[r * 16 + 3], (in.expectedAlpha(0, c.h - 1 - r) + 8) / 17 * 17) << r;
    }
}

TEST(BMPScompressBMP, FailuresWriteNothing) {
    struct Case {
        const char* what;
        std::int32_t code;
        bool mismatchSizes;
        bool missingAlpha;
        std::int32_t result;
    };
    const Case cases[] = {
        {"unknown format code", 13, false, false, kConvertUnknownFormat},
        {"sizes differ", kFormatCodeDxt3, true, false, kConvertFailed},
        {"alpha missing", kFormatCodeArgb32, false, true, kConvertFailed},
    };
    for (const Case& c : cases) {
        Intermediates in(8, 4);
        testkit::writeFile(in.output, "earlier");
        if (c.mismatchSizes)
            testkit::writeFile(in.alphaPath, encodeBmp8(testkit::greyPicture(4, 4), greyRamp()));
        if (c.missingAlpha)
            fs::remove(in.alphaPath);
        EXPECT_EQ(
            BMPScompressBMP(in.colourPath.c_str(), in.alphaPath.c_str(), c.code, 0, 0, in.output.c_str()),
            c.result)
            << c.what;
        EXPECT_EQ(testkit::readFile(in.output), "earlier") << c.what;
    }
}

TEST(CompressTexture, FindsTheBitmapsInTempBitmaps) {
    Intermediates in(8, 8);
    EXPECT_TRUE(CompressTexture(in.dir.path(), " T_c", "T_a ", "T", 0, kFormatCodeArgb32));
    EXPECT_EQ(testkit::readFile(in.output).size(), 74u + 256u);
    EXPECT_FALSE(CompressTexture(in.dir.path(), "NONE_c", "T_a", "NONE", 0, kFormatCodeArgb32));
    EXPECT_FALSE(fs::exists(in.dir / "TempBitmaps/NONE.bmp"));
}

TEST(ConvertTexture, DdsFilesAreTopDownWithTheirHeader) {
    const auto le = testkit::littleEndian;
    // The pixel format after its size: flags, four-character code, bit count and the four masks.
    const std::string argb = le(0x41, 4) + le(0, 4) + le(32, 4) + le(0x00FF0000, 4) + le(0x0000FF00, 4) +
                             le(0x000000FF, 4) + le(0xFF000000, 4);
    const std::string dxt3 = le(0x4, 4) + "DXT3" + std::string(20, '\0');
    struct Case {
        TextureFormat format;
        bool mips;
        std::uint32_t flags, pitch, mipCount;
        std::string pixelFormat;
        std::uint32_t caps;
    };
    const Case cases[] = {
        {TextureFormat::Argb32, false, 0x100F, 64 * 4, 1, argb, 0x1000},
        {TextureFormat::Dxt3, false, 0x81007, 2048, 1, dxt3, 0x1000},
        {TextureFormat::Dxt3, true, 0xA1007, 2048, 7, dxt3, 0x401008},
    };
    for (const Case& c : cases) {
        Intermediates in(64, 32);
        TextureOptions options;
        options.format = c.format;
        options.mipmaps = c.mips;
        ASSERT_TRUE(
            convertTexture(in.colourPath, in.alphaPath, in.output, TextureContainer::Dds, options).ok());
        const std::string bytes = testkit::readFile(in.output);
        const std::vector<std::uint8_t> file(bytes.begin(), bytes.end());
        EXPECT_EQ(head(file, 128), "DDS " + le(124, 4) + le(c.flags, 4) + le(32, 4) + le(64, 4) +
                                       le(c.pitch, 4) + le(0, 4) + le(c.mipCount, 4) + std::string(44, '\0') +
                                       le(32, 4) + c.pixelFormat + le(c.caps, 4) + std::string(16, '\0'));
        if (c.format == TextureFormat::Argb32) {
            EXPECT_EQ(file[128 + 4 + 3], in.expectedAlpha(1, 0)); // top row first
        }
        DecodedTexture decoded;
        ASSERT_TRUE(decodeTexture(file, decoded).ok());
        EXPECT_EQ(decoded.container, TextureContainer::Dds);
        EXPECT_EQ(decoded.levels, static_cast<int>(c.mipCount));
        EXPECT_GE(colourPsnr(decoded.image, in.expected()), 40.0);
    }
}

// The converter reads the two files' rows where they lie when it can and combines them straight
// into the file for a 32-bit texture of one level: every kind of bitmap must still give the bytes
// of the picture toColour and greyLevels make of it, in every format.
TEST(ConvertTexture, FromFilesGivesTheBytesOfTheComposedPicture) {
    const int w = 13, h = 6; // rows of 39 colour bytes: padded in the files
    const Bitmap colour = testkit::gradientPicture(w, h);
    Bitmap indexed = testkit::greyPicture(w, h);
    indexed.palette.resize(100); // indices 100 and above are black
    std::string topDown = testkit::bmpHeaders(54 + 40 * h, 54, w, -h, 24);
    for (int y = 0; y < h; ++y)
        topDown += std::string(colour.row(y), colour.row(y) + std::size_t(w) * 3) + '\0';
    RgbaImage rgba{w, h, std::vector<std::uint8_t>(std::size_t(w) * h * 4)};
    for (std::size_t i = 0; i < rgba.rgba.size(); ++i)
        rgba.rgba[i] = static_cast<std::uint8_t>(i * 7);
    const Bitmap greyAlpha = Intermediates(w, h).alpha; // a table that runs backwards
    struct Case {
        const char* what;
        std::vector<std::uint8_t> colourFile, alphaFile;
        Bitmap colour, alpha; // the pictures the files hold
    };
    const Case cases[] = {
        {"24-bit colour, 8-bit alpha", encodeBmp24(colour), encodeBmp8(greyAlpha, greyAlpha.palette), colour,
         greyAlpha},
        {"indexed colour, colour alpha", encodeBmp8(indexed, indexed.palette), encodeBmp24(colour),
         toColour(indexed), colour},
        {"top-down colour", std::vector<std::uint8_t>(topDown.begin(), topDown.end()),
         encodeBmp8(greyAlpha, greyAlpha.palette), colour, greyAlpha},
        {"32-bit colour, decoded", encodeBmp32(w, h, rgba.rgba), encodeBmp8(greyAlpha, greyAlpha.palette),
         *decodeBmp(encodeBmp32(w, h, rgba.rgba)), greyAlpha},
    };
    for (const Case& c : cases) {
        TempDir dir;
        testkit::writeFile(dir / "c.bmp", c.colourFile);
        testkit::writeFile(dir / "a.bmp", c.alphaFile);
        RgbaImage expected{w, h, {}};
        const std::vector<std::uint8_t> grey = greyLevels(c.alpha);
        for (std::size_t i = 0; i < grey.size(); ++i)
            for (std::uint8_t v :
                 {c.colour.pixels[i * 3 + 2], c.colour.pixels[i * 3 + 1], c.colour.pixels[i * 3], grey[i]})
                expected.rgba.push_back(v);
        for (TextureContainer container : {TextureContainer::FsBitmap, TextureContainer::Dds}) {
            for (TextureFormat format : {TextureFormat::Argb32, TextureFormat::Dxt3}) {
                for (bool mips : {false, true}) {
                    const TextureOptions options{.format = format, .mipmaps = mips};
                    ASSERT_TRUE(
                        convertTexture(dir / "c.bmp", dir / "a.bmp", dir / "t", container, options).ok());
                    const std::vector<std::uint8_t> bytes = encodeTexture(expected, container, options);
                    SCOPED_TRACE(std::string(c.what) + ", " + describe(container) + ", " + describe(format) +
                                 (mips ? ", mips" : ""));
                    EXPECT_EQ(testkit::readFile(dir / "t"), std::string(bytes.begin(), bytes.end()));
                    // It decodes; no part of it cut short does (exact-size copies, for the sanitizer).
                    DecodedTexture decoded;
                    EXPECT_TRUE(decodeTexture(bytes, decoded).ok());
                    for (std::size_t length = 0; length < bytes.size(); ++length) {
                        const std::vector<std::uint8_t> cut(bytes.begin(),
                                                            bytes.begin() + std::ptrdiff_t(length));
                        EXPECT_FALSE(decodeTexture(cut, decoded).ok()) << length;
                    }
                }
            }
        }
    }
}

} // namespace
} // namespace livrano
