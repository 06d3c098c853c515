#include "texture/bmp_reader.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"
#include "texture/bmp_fixtures.h"

namespace livrano {
namespace {

using testing::allBmpVariants;
using testing::makeBmp;
using testing::variantPicture;

Bitmap pictureFor(const testing::BmpVariant& v) {
    return variantPicture(13, 6, v.bitCount == 1 ? 2 : 12);
}

TEST(DecodeBmp, EveryVariantDecodesToTheSamePixels) {
    for (const testing::BmpVariant& v : allBmpVariants()) {
        const Bitmap picture = pictureFor(v);
        const std::optional<Bitmap> decoded = decodeBmp(makeBmp(picture, v));
        ASSERT_TRUE(decoded) << v.name;
        EXPECT_EQ(decoded->width, 13) << v.name;
        EXPECT_EQ(decoded->height, 6) << v.name;
        EXPECT_EQ(toColour(*decoded).pixels, toColour(picture).pixels) << v.name;
        if (v.bitCount <= 8) {
            // Palettised files keep their indices and their table.
            EXPECT_EQ(decoded->bytesPerPixel, 1) << v.name;
            EXPECT_EQ(decoded->pixels, picture.pixels) << v.name;
            ASSERT_GE(decoded->palette.size(), picture.palette.size()) << v.name;
            EXPECT_TRUE(std::equal(picture.palette.begin(), picture.palette.end(), decoded->palette.begin()))
                << v.name;
        } else {
            EXPECT_EQ(decoded->bytesPerPixel, 3) << v.name;
        }
    }
}

// A truncated file either fails or, when only the padding of its last row or its end mark is
// missing, still gives the whole picture: never a part of one, never a read past the end.
TEST(DecodeBmp, EveryTruncatedLengthFailsCleanly) {
    for (const testing::BmpVariant& v : allBmpVariants()) {
        const Bitmap picture = pictureFor(v);
        const std::vector<std::uint8_t> file = makeBmp(picture, v);
        const std::vector<std::uint8_t> expected = toColour(picture).pixels;
        int accepted = 0;
        for (std::size_t length = 0; length < file.size(); ++length) {
            // A copy of exactly `length` bytes, so the sanitizer sees any read beyond it.
            const std::vector<std::uint8_t> cut(file.begin(),
                                                file.begin() + static_cast<std::ptrdiff_t>(length));
            const std::optional<Bitmap> decoded = decodeBmp(cut);
            if (decoded) {
                ++accepted;
                EXPECT_EQ(toColour(*decoded).pixels, expected) << v.name << " cut to " << length;
            }
        }
        EXPECT_LE(accepted, 3) << v.name;
    }
}

void put32(std::vector<std::uint8_t>& f, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        f[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(v >> (8 * i));
}

TEST(DecodeBmp, LyingHeadersAreRefused) {
    const testing::BmpVariant plain{"8-bit", 40, 8, testing::BmpCompression::Rgb, false, false};
    const testing::BmpVariant rle{"8-bit RLE", 40, 8, testing::BmpCompression::Rle8, false, false};
    struct Case {
        const char* what;
        testing::BmpVariant variant;
        void (*lie)(std::vector<std::uint8_t>&);
        const char* says; // the start of the reason given
    };
    const Case cases[] = {
        {"not BM", plain, [](std::vector<std::uint8_t>& f) { f[1] = 'A'; }, "it is not a BMP file"},
        {"huge width", plain, [](std::vector<std::uint8_t>& f) { put32(f, 18, 0x7FFFFFFF); },
         "its size 2147483647 x 6 is too large"},
        {"huge height", plain, [](std::vector<std::uint8_t>& f) { put32(f, 22, 0x80000000); },
         "its size 13 x 2147483648 is too large"},
        {"zero width", plain, [](std::vector<std::uint8_t>& f) { put32(f, 18, 0); },
         "its size 0 x 6 holds no pixel"},
        {"more rows than bytes", plain, [](std::vector<std::uint8_t>& f) { put32(f, 22, 4000); },
         "it is truncated"},
        {"wide RLE beyond the pixel cap", rle,
         [](std::vector<std::uint8_t>& f) { put32(f, 18, 16384), put32(f, 22, 16384); },
         "its size 16384 x 16384 is too large"},
        {"pixels past the end", plain, [](std::vector<std::uint8_t>& f) { put32(f, 10, 0x7FFFFFF0); },
         "it is truncated"},
        {"pixels inside the header", plain, [](std::vector<std::uint8_t>& f) { put32(f, 10, 20); },
         "its header is damaged"},
        {"header size past the end", plain, [](std::vector<std::uint8_t>& f) { put32(f, 14, 0xFFFFFFF0); },
         "it is truncated"},
        {"unknown header size", plain, [](std::vector<std::uint8_t>& f) { put32(f, 14, 64); },
         "its header of 64 bytes"},
        {"2 bits per pixel", plain, [](std::vector<std::uint8_t>& f) { f[28] = 2; },
         "its depth of 2 bits per pixel is not supported"},
        {"planes 0", plain, [](std::vector<std::uint8_t>& f) { f[26] = 0; }, "its header is damaged"},
        {"JPEG inside", plain, [](std::vector<std::uint8_t>& f) { put32(f, 30, 4); },
         "its compression (4) is not supported"},
        {"RLE8 at 24 bits", plain, [](std::vector<std::uint8_t>& f) { put32(f, 30, 1), f[28] = 24; },
         "its compression (1) does not go with its depth of 24"},
        {"top-down RLE", rle,
         [](std::vector<std::uint8_t>& f) { put32(f, 22, static_cast<std::uint32_t>(-6)); },
         "its compression (1) does not go with"},
        {"RLE literal run past the end", rle,
         [](std::vector<std::uint8_t>& f) {
             f.resize(f.size() - 4); // the last row's end-of-line and the end mark
             f.push_back(0);
             f.push_back(200);
         },
         "its run-length pixel data"},
    };
    for (const Case& c : cases) {
        std::vector<std::uint8_t> file = makeBmp(pictureFor(c.variant), c.variant);
        c.lie(file);
        std::string why;
        EXPECT_FALSE(decodeBmp(file, {}, &why)) << c.what;
        EXPECT_TRUE(why.starts_with(c.says)) << c.what << ": " << why;
    }
}

// The colour count of the header is believed only as far as the file has room for it before
// the pixels: neither a huge allocation nor a table read out of the pixels.
TEST(DecodeBmp, ColourCountsAreBoundedByTheFile) {
    struct Case {
        const char* what;
        testing::BmpVariant variant;
        std::uint32_t colourCount;
        std::size_t tableSize;
    };
    const Case cases[] = {
        {"count beyond any table", {"", 40, 8, testing::BmpCompression::Rgb, false, false}, 0xFFFFFFFF, 256},
        {"count beyond the room", {"", 40, 8, testing::BmpCompression::Rgb, false, true}, 256, 12},
    };
    for (const Case& c : cases) {
        const Bitmap picture = pictureFor(c.variant);
        std::vector<std::uint8_t> file = makeBmp(picture, c.variant);
        put32(file, 46, c.colourCount);
        const std::optional<Bitmap> decoded = decodeBmp(file);
        ASSERT_TRUE(decoded) << c.what;
        EXPECT_EQ(decoded->palette.size(), c.tableSize) << c.what;
        EXPECT_EQ(decoded->pixels, picture.pixels) << c.what;
    }
}

TEST(DecodeBmp, RunLengthDeltasAndOverlongRunsStayInsideThePicture) {
    // 4x2 RLE8: a run of 9 pixels on a 4-pixel row, a delta far beyond the picture, then the end.
    std::vector<std::uint8_t> file =
        makeBmp(variantPicture(4, 2, 4), {"", 40, 8, testing::BmpCompression::Rle8, false, false});
    const std::size_t offset = file[10] | (file[11] << 8);
    file.resize(offset);
    for (int b : {9, 1, 0, 2, 250, 250, 0, 1})
        file.push_back(static_cast<std::uint8_t>(b));
    const auto decoded = decodeBmp(file);
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->pixels, (std::vector<std::uint8_t>{0, 0, 0, 0, 1, 1, 1, 1})); // bottom row filled
}

TEST(DecodeBmp, LimitsBoundThePictureAndTheFile) {
    const std::vector<std::uint8_t> file = makeBmp(variantPicture(13, 6, 12), allBmpVariants()[6]);
    EXPECT_TRUE(decodeBmp(file, BmpLimits{13, 78}));
    EXPECT_FALSE(decodeBmp(file, BmpLimits{12, 1000}));
    EXPECT_FALSE(decodeBmp(file, BmpLimits{100, 77}));

    // A file far larger than any picture within the limits is not read at all.
    testing::TempDir dir;
    std::string bytes(file.begin(), file.end());
    testing::writeFile(dir / "small.bmp", bytes);
    bytes.resize(file.size() + (2 << 20));
    testing::writeFile(dir / "padded.bmp", bytes);
    EXPECT_TRUE(readBmpFile(dir / "small.bmp", BmpLimits{13, 78}));
    EXPECT_FALSE(readBmpFile(dir / "padded.bmp", BmpLimits{13, 78}));
}

} // namespace
} // namespace livrano
