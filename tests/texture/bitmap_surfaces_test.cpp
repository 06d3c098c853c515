// SPDX-License-Identifier: MIT
#include "texture/bitmap_surfaces.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <numeric>
#include <string>
#include <vector>

#include "../../tools/gdi-reference/case_line.h"
#include "support/time_limit.h"
#include "texture/bmp_writer.h"
#include "texture/stretch.h"
#include "texture/texture_converter.h"
#include "texture/texture_fixtures.h"

namespace livrano {
namespace {

namespace fs = std::filesystem;
using testkit::readFile;
using testkit::TempDir;

// `count` bytes counting up from `first`, then `padding` zero bytes.
std::string bytes(int first, int count, int padding) {
    std::string s;
    for (int i = 0; i < count; ++i)
        s.push_back(static_cast<char>(first + i));
    return s + std::string(static_cast<std::size_t>(padding), '\0');
}

// Three pixels a row, so that rows are padded to four bytes; rows are stored bottom-up.
TEST(SaveBitmap24, WritesTheExactIntermediateFile) {
    testkit::SimulatorFolders f;
    BitmapSurfaces s;
    ASSERT_TRUE(CreateSurface24(s, 24, 3, 2));
    s.WorkSurface24.bitmap.pixels = std::vector<std::uint8_t>(18);
    std::iota(s.WorkSurface24.bitmap.pixels.begin(), s.WorkSurface24.bitmap.pixels.end(), 1);
    ASSERT_TRUE(SaveBitmap24(s, f.program, "  T_FUSE_c "));
    EXPECT_EQ(readFile(f.program / "TempBitmaps/T_FUSE_c.bmp"),
              testkit::bmpHeaders(78, 54, 3, 2, 24) + bytes(10, 9, 3) + bytes(1, 9, 3));
    // Nothing but the file itself is left behind.
    EXPECT_EQ(testkit::entryCount(f.program / "TempBitmaps"), 1);
}

TEST(SaveBitmap8, WritesComposedAlphaOrUniformWhite) {
    struct Case {
        const char* what;
        bool alphaLoaded;
        std::string pixels;
        std::string entry5; // table entry 5: blue, green, red, 0
    };
    const Case cases[] = {{"alpha template loaded", true, bytes(4, 3, 1) + bytes(1, 3, 1), bytes(50, 3, 1)},
                          {"no alpha template", false, std::string("\xFF\xFF\xFF\0\xFF\xFF\xFF\0", 8),
                           std::string("\5\5\5\0", 4)}};
    for (const Case& c : cases) {
        testkit::SimulatorFolders f;
        BitmapSurfaces s;
        // An alpha template whose table is not a ramp, so its use shows.
        s.TemplateSurface8.Ready = true;
        s.TemplateSurface8.bitmap.palette.assign(16, PaletteEntry{});
        s.TemplateSurface8.bitmap.palette[5] = PaletteEntry{50, 51, 52, 0};
        ASSERT_TRUE(CreateSurface8(s, 8, 3, 2));
        s.WorkSurface8.bitmap.pixels = {1, 2, 3, 4, 5, 6};
        ASSERT_TRUE(SaveBitmap8(s, f.program, "T_a", c.alphaLoaded));
        const std::string file = readFile(f.program / "TempBitmaps/T_a.bmp");
        ASSERT_EQ(file.size(), 1078u + 8u) << c.what;
        EXPECT_EQ(file.substr(0, 54), testkit::bmpHeaders(1086, 1078, 3, 2, 8)) << c.what;
        EXPECT_EQ(file.substr(54 + 5 * 4, 4), c.entry5) << c.what;
        EXPECT_EQ(file.substr(1078), c.pixels) << c.what;
    }
}

TEST(CreateSurface8, KeepsTheLastTableWhenNoAlphaTemplateIsLoaded) {
    BitmapSurfaces s;
    ASSERT_TRUE(CreateSurface8(s, 8, 4, 4));
    EXPECT_EQ(s.WorkSurface8.bitmap.palette, std::vector<PaletteEntry>(256)); // black at first
    s.TemplateSurface8.Ready = true;
    s.TemplateSurface8.bitmap.palette = greyRamp();
    ASSERT_TRUE(CreateSurface8(s, 8, 4, 4));
    FreeTemplateSurfaces(s);
    FreeWorkSurfaces(s);
    ASSERT_TRUE(CreateSurface8(s, 8, 4, 4));
    EXPECT_EQ(s.WorkSurface8.bitmap.palette, greyRamp());
}

TEST(WorkSurfaces, CreateFailsCleanlyAndFreeReleases) {
    struct Case {
        const char* what;
        bool (*create)(BitmapSurfaces&, int, int, int);
        int bits, width, height;
        bool ok;
    };
    const Case cases[] = {
        {"24-bit", CreateSurface24, 24, 4, 2, true},
        {"8-bit", CreateSurface8, 8, 4, 2, true},
        {"zero width", CreateSurface24, 24, 0, 2, false},
        {"negative height", CreateSurface8, 8, 4, -2, false},
        {"too large", CreateSurface24, 24, 16384, 8193, false},
        {"wrong depth", CreateSurface24, 8, 4, 2, false},
    };
    for (const Case& c : cases) {
        BitmapSurfaces s;
        EXPECT_EQ(c.create(s, c.bits, c.width, c.height), c.ok) << c.what;
        const Surface& work = c.create == CreateSurface24 ? s.WorkSurface24 : s.WorkSurface8;
        const std::size_t size = c.ok ? static_cast<std::size_t>(c.width * c.height * c.bits / 8) : 0u;
        EXPECT_EQ(std::pair(work.Ready, work.bitmap.pixels.size()), std::pair(c.ok, size)) << c.what;
        FreeWorkSurfaces(s);
        EXPECT_FALSE(work.Ready || !work.bitmap.empty()) << c.what;
    }
}

TEST(Surfaces, FailuresLeaveNothingHalfMade) {
    testkit::SimulatorFolders f;
    std::vector<std::uint8_t> cut = encodeBmp24(testkit::gradientPicture(4, 4));
    cut.resize(cut.size() - 13);
    testkit::writeFile(f.root / "cut.bmp", cut);
    BitmapSurfaces s;
    EXPECT_FALSE(LoadBitmap8(s, "IGNORE"));
    EXPECT_FALSE(LoadBitmap24(s, f.root / "cut.bmp"));
    EXPECT_FALSE(LoadBitmap8(s, f.root / "missing.bmp"));
    EXPECT_FALSE(s.TemplateSurface24.Ready || s.TemplateSurface8.Ready);
    EXPECT_TRUE(s.TemplateSurface24.bitmap.empty());
    EXPECT_FALSE(StretchSection24(s, 0, 0, 1, 1, 0, 0, 1, 1));
    EXPECT_FALSE(SaveBitmap24(s, f.program, "x"));
    EXPECT_FALSE(SaveBitmap8(s, f.program, "x", false));
    ASSERT_TRUE(CreateSurface24(s, 24, 4, 4));
    ASSERT_TRUE(CreateSurface8(s, 8, 4, 4));
    EXPECT_FALSE(SaveBitmap24(s, f.root / "nowhere", "x"));
    EXPECT_FALSE(SaveBitmap8(s, f.root / "nowhere", "x", true));
    EXPECT_TRUE(fs::is_empty(f.program / "TempBitmaps"));
}

// In a child process with 8 MB to spare: a work surface, a template and a conversion whose
// pictures do not fit each fail as false, leaving nothing behind. Exits 0 then.
[[noreturn]] void runWithoutMemory(const fs::path& folder) {
    if (!testkit::limitAddressSpace(std::size_t{8} << 20))
        std::_Exit(3);
    BitmapSurfaces s;
    const bool created = CreateSurface24(s, 24, 8192, 8192);
    const bool loaded = LoadBitmap24(s, folder / "huge.bmp");
    const std::string colour = (folder / "c.bmp").string(), alpha = (folder / "a.bmp").string(),
                      output = (folder / "t.bmp").string();
    const std::int32_t converted =
        BMPScompressBMP(colour.c_str(), alpha.c_str(), kFormatCodeDxt3, 0, 0, output.c_str());
    const bool clean = !created && !s.WorkSurface24.Ready && !loaded && !s.TemplateSurface24.Ready &&
                       converted == kConvertFailed && !fs::exists(output);
    std::_Exit(clean ? 0 : 1);
}

TEST(Surfaces, PicturesBeyondTheMemoryLeftFailCleanly) {
    if (testkit::kUnderAddressSanitizer)
        GTEST_SKIP() << "the address sanitizer's own reservations defeat the address-space limit";
    TempDir dir;
    // 8192 x 8192 run-length coded: a few bytes asking for 64 MB of indices and 192 MB of colour.
    testkit::writeFile(dir / "huge.bmp",
                       testkit::bmpHeaders(56, 54, 8192, 8192, 8, 1) + testkit::littleEndian(0x0100, 2));
    testkit::writeFile(dir / "c.bmp", encodeBmp24(testkit::gradientPicture(2048, 2048)));
    testkit::writeFile(dir / "a.bmp", encodeBmp8(testkit::greyPicture(2048, 2048), greyRamp()));
    // A fresh process, not a fork of this one: what the tests before left mapped (other threads'
    // heaps among it) would otherwise serve the allocations that must fail.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(runWithoutMemory(dir.path()), ::testing::ExitedWithCode(0), "");
}

Bitmap picture(int width, int height, int bytesPerPixel, const std::string& hex) {
    return {width, height, bytesPerPixel, fromHex(hex), {}};
}

// Each line of the table is a StretchBlt call with the pixels the platform drew for it.
TEST(StretchRect, DrawsWhatStretchBltDraws) {
    std::ifstream table(LIVRANO_TEST_DATA_DIR "/stretch_cases.txt");
    ASSERT_TRUE(table);
    std::string line;
    int lineNumber = 0, cases = 0;
    while (std::getline(table, line)) {
        ++lineNumber;
        if (!holdsCase(line))
            continue;
        const std::optional<StretchCase> c = parseCase(line);
        ASSERT_TRUE(c && !c->expectedHex.empty()) << "line " << lineNumber;
        Bitmap dst = picture(c->dstW, c->dstH, c->bpp, c->dstHex);
        EXPECT_TRUE(stretchRect(dst, c->dx, c->dy, c->dw, c->dh, picture(c->srcW, c->srcH, c->bpp, c->srcHex),
                                c->sx, c->sy, c->sw, c->sh));
        EXPECT_EQ(toHex(dst.pixels.data(), dst.pixels.size()), c->expectedHex) << "line " << lineNumber;
        ++cases;
    }
    EXPECT_EQ(cases, 34);
}

// However many threads share a copy's rows it draws the same pixels: enlarged, shrunk, mirrored,
// reaching past either bitmap.
TEST(StretchRect, ThreadsDrawWhatOneThreadDraws) {
    const int copies[][8] = {{0, 0, 120, 160, 0, 0, 100, 150},
                             {-10, 100, 130, -95, 5, 3, 60, 40},
                             {20, -8, -50, 200, 90, 140, -80, -150},
                             {3, 5, 100, 150, 0, 0, 100, 150}};
    for (int bpp : {1, 3}) {
        Bitmap src = picture(100, 150, bpp, "");
        for (int i = 0; i < 100 * 150 * bpp; ++i)
            src.pixels.push_back(static_cast<std::uint8_t>(i * 2654435761u >> 24));
        for (const auto& c : copies) {
            auto draw = [&](unsigned threads) {
                Bitmap dst = picture(120, 160, bpp, std::string(std::size_t{120} * 160 * bpp * 2, '5'));
                EXPECT_TRUE(stretchRect(dst, c[0], c[1], c[2], c[3], src, c[4], c[5], c[6], c[7], threads));
                return dst.pixels;
            };
            const std::vector<std::uint8_t> one = draw(1);
            for (unsigned threads : {2u, 3u, 0u})
                EXPECT_EQ(draw(threads), one) << bpp << " " << c[0] << " " << c[1] << " threads " << threads;
        }
    }
}

TEST(StretchRect, RefusesEmptyOrMismatchedBitmaps) {
    Bitmap colour = picture(1, 1, 3, "000000");
    Bitmap index = picture(1, 1, 1, "00");
    EXPECT_FALSE(stretchRect(colour, 0, 0, 1, 1, index, 0, 0, 1, 1));
    EXPECT_FALSE(stretchRect(index, 0, 0, 1, 1, Bitmap{}, 0, 0, 1, 1));
}

} // namespace
} // namespace livrano
