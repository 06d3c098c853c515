// SPDX-License-Identifier: MIT
#include "texture/texture_reader.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <cstdio>

#include "support/data_rows.h"
#include "texture/bmp_writer.h"
#include "texture/dxt_decoder.h"
#include "texture/texture_fixtures.h"

namespace livrano {
namespace {

using Bytes = std::vector<std::uint8_t>;
using Masks = std::array<std::uint32_t, 4>; // red, green, blue, alpha
constexpr int kW = 13, kH = 6;              // edge blocks both ways; levels 13x6, 6x3, 3x1, 1x1
const auto le = testkit::littleEndian;
const char* const kFs = "simulator bitmap (BMP with FS70 block)";

// How a format keeps the known picture's alpha (0, 102 or 255 a texel): not at all, as 1 bit
// (DXT1's transparent texels black besides), or whole.
enum class Keeps { Nothing, OneBit, OneBitBlack, All };

// Two colours in each column of 4x4 blocks (whichever way up the blocks are cut), of the eight
// whose channels are 0 or 255, which every depth holds exactly: each format gives back exactly
// this picture, its alpha as the format keeps it.
RgbaImage knownPicture(Keeps keeps) {
    RgbaImage p{kW, kH, {}};
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x) {
            const int corner = x / 4 + ((x + y) % 3 == 0 ? 3 : 0);
            const int a = std::array{255, 102, 0}[(x * 5 + y) % 3];
            const int kept = keeps == Keeps::All ? a : keeps == Keeps::Nothing || a >= 128 ? 255 : 0;
            for (int c : {4, 2, 1})
                p.rgba.push_back((corner & c) == 0 || (keeps == Keeps::OneBitBlack && kept == 0) ? 0 : 255);
            p.rgba.push_back(static_cast<std::uint8_t>(kept));
        }
    return p;
}

// A block that decodes to its texels exactly (they are the known picture's).
void appendBlock(const std::array<const std::uint8_t*, 16>& t, DxtFormat format, std::string& out) {
    const auto pack = [](const std::uint8_t* c) { return (c[0] >> 3) << 11 | (c[1] >> 2) << 5 | c[2] >> 3; };
    bool transparent = false;
    std::vector<int> ends;
    for (const std::uint8_t* texel : t) {
        transparent = transparent || texel[3] == 0;
        if ((format != DxtFormat::Dxt1 || texel[3] != 0) &&
            std::count(ends.begin(), ends.end(), pack(texel)) == 0)
            ends.push_back(pack(texel));
    }
    ends.resize(2, ends.empty() ? 0 : ends[0]);
    // DXT1 keeps four colours when colour0 > colour1, three and transparent black otherwise.
    if ((ends[0] > ends[1]) == (format == DxtFormat::Dxt1 && transparent))
        std::swap(ends[0], ends[1]);
    std::uint32_t colourIndices = 0;
    std::uint64_t alphaIndices = 0;
    for (int i = 0; i < 16; ++i) {
        const bool gone = format == DxtFormat::Dxt1 && t[i][3] == 0;
        colourIndices |= std::uint32_t(gone ? 3 : pack(t[i]) == ends[0] ? 0 : 1) << (2 * i);
        // DXT3: nibbles; DXT5: end points 0 and 255, six-value mode, where index 3 is 102.
        alphaIndices |= std::uint64_t(format == DxtFormat::Dxt3 ? t[i][3] / 17
                                      : t[i][3] == 0            ? 0
                                      : t[i][3] == 255          ? 1
                                                                : 3)
                        << (format == DxtFormat::Dxt3 ? 4 * i : 3 * i);
    }
    if (format == DxtFormat::Dxt3)
        out += le(std::uint32_t(alphaIndices), 4) + le(std::uint32_t(alphaIndices >> 32), 4);
    if (format == DxtFormat::Dxt5)
        out += std::string{'\0', '\xFF'} + le(std::uint32_t(alphaIndices), 4) +
               le(std::uint32_t(alphaIndices >> 32), 2);
    out += le(std::uint32_t(ends[0]), 2) + le(std::uint32_t(ends[1]), 2) + le(colourIndices, 4);
}

// The picture's blocks, the first row of them its bottom four rows unless `topDown`, then
// zeros for the smaller levels when there are `levels`.
std::string blocksOf(const RgbaImage& p, DxtFormat format, bool topDown, int levels) {
    std::string out;
    for (int by = 0; by < 2; ++by)
        for (int bx = 0; bx < 4; ++bx) {
            std::array<const std::uint8_t*, 16> t;
            for (int i = 0; i < 16; ++i) {
                const int y = std::min(by * 4 + i / 4, kH - 1);
                t[i] = p.pixel(std::min(bx * 4 + i % 4, kW - 1), topDown ? y : kH - 1 - y);
            }
            appendBlock(t, format, out);
        }
    return out + std::string(levels == 1 ? 0 : dxtBlockBytes(format) * 4, '\0'); // 6x3 (2 blocks), 3x1, 1x1
}

// The picture through masks, rows bottom-up and padded for a BMP, top-down for a DDS file, with
// zeros for the smaller levels when there are `levels`.
std::string masked(const RgbaImage& p, int bits, const Masks& masks, bool bmp, int levels) {
    std::string out;
    for (int row = 0; row < kH; ++row, out.resize(bmp ? (out.size() + 3) / 4 * 4 : out.size(), '\0'))
        for (int x = 0; x < kW; ++x) {
            std::uint32_t v = 0;
            for (int c = 0; c < 4; ++c)
                if (masks[c] != 0)
                    v |= (p.pixel(x, bmp ? kH - 1 - row : row)[c] * (masks[c] >> std::countr_zero(masks[c])) +
                          127) /
                             255
                         << std::countr_zero(masks[c]);
            out += le(v, bits / 8);
        }
    return out + std::string(levels == 1 ? 0 : (18 + 3 + 1) * bits / 8, '\0');
}

Bytes bytes(const std::string& s) {
    return {s.begin(), s.end()};
}

std::uint32_t fourCc(DxtFormat format) {
    return std::array{0x31545844u, 0x33545844u, 0x35545844u}[static_cast<std::size_t>(format)]; // "DXT1"...
}

// A BMP of the known picture's size with `extra` (the FS70 block, the masks) after its headers.
Bytes bmpFile(int height, int bits, std::uint32_t compression, const std::string& extra,
              const std::string& pixels) {
    const auto offset = static_cast<std::uint32_t>(54 + extra.size());
    return bytes(testkit::bmpHeaders(offset + static_cast<std::uint32_t>(pixels.size()), offset, kW, height,
                                     bits, compression) +
                 extra + pixels);
}

Bytes dxtBmp(DxtFormat format, Keeps keeps, bool fs70, int levels, bool topDown = false) {
    const std::string block =
        fs70 ? "FS70" + le(20, 4) + le(0x400, 4) + le(0, 2) + le(levels > 1 ? 3 : 0, 2) + le(0, 4) : "";
    return bmpFile(topDown ? -kH : kH, 16, fourCc(format), block,
                   blocksOf(knownPicture(keeps), format, topDown, levels));
}

Bytes maskedBmp(int bits, std::uint32_t compression, const Masks& masks, Keeps keeps) {
    const std::string fields = compression == 3 ? le(masks[0], 4) + le(masks[1], 4) + le(masks[2], 4) : "";
    return bmpFile(kH, bits, compression, fields, masked(knownPicture(keeps), bits, masks, true, 1));
}

Bytes dds(int levels, std::uint32_t pixelFlags, std::uint32_t fourCc, int bits, const Masks& m,
          const std::string& data) {
    return bytes("DDS " + le(124, 4) + le(levels > 1 ? 0x21007 : 0x1007, 4) + le(kH, 4) + le(kW, 4) +
                 le(0, 8) + le(levels, 4) + std::string(44, '\0') + le(32, 4) + le(pixelFlags, 4) +
                 le(fourCc, 4) + le(bits, 4) + le(m[0], 4) + le(m[1], 4) + le(m[2], 4) + le(m[3], 4) +
                 le(0x1000, 4) + std::string(16, '\0') + data);
}

Bytes ddsDxt(DxtFormat format, Keeps keeps, int levels) {
    return dds(levels, 0x4, fourCc(format), 0, {}, blocksOf(knownPicture(keeps), format, true, levels));
}

Bytes ddsMasked(int bits, const Masks& masks, Keeps keeps, int levels) {
    return dds(levels, masks[3] != 0 ? 0x41 : 0x40, 0, bits, masks,
               masked(knownPicture(keeps), bits, masks, false, levels));
}

Bytes written(TextureContainer container, TextureFormat format, bool mipmaps) {
    return encodeTexture(knownPicture(Keeps::All), container,
                         TextureOptions{.format = format, .mipmaps = mipmaps});
}

// The known picture as palette indices of the eight colours, or as blue-green-red (`colour`).
Bitmap bitmapOf(bool colour) {
    const RgbaImage p = knownPicture(Keeps::Nothing);
    Bitmap b{kW, kH, colour ? 3 : 1, {}, {}};
    for (std::size_t i = 0; i < p.rgba.size(); i += 4) {
        if (colour)
            b.pixels.insert(b.pixels.end(), {p.rgba[i + 2], p.rgba[i + 1], p.rgba[i]});
        else
            b.pixels.push_back(
                static_cast<std::uint8_t>((p.rgba[i] & 4) | (p.rgba[i + 1] & 2) | (p.rgba[i + 2] & 1)));
    }
    for (int k = 0; k < 8 && !colour; ++k)
        b.palette.push_back(
            {std::uint8_t(k & 1 ? 255 : 0), std::uint8_t(k & 2 ? 255 : 0), std::uint8_t(k & 4 ? 255 : 0), 0});
    return b;
}

struct Row {
    const char* name;
    Bytes file;
    const char* container;
    const char* format;
    int levels;
    Keeps keeps;
};

std::vector<Row> decoderTable() {
    using enum DxtFormat;
    using enum Keeps;
    return {
        {"bmp-dxt1-fs70", dxtBmp(Dxt1, Nothing, true, 1), kFs, "DXT1", 1, Nothing},
        {"bmp-dxt1-alpha-mips", dxtBmp(Dxt1, OneBitBlack, false, 4), "BMP", "DXT1", 4, OneBitBlack},
        {"bmp-dxt3-written", written(TextureContainer::FsBitmap, TextureFormat::Dxt3, true), kFs, "DXT3", 4,
         All},
        {"bmp-dxt5-fs70-mips-top-down", dxtBmp(Dxt5, All, true, 4, true), kFs, "DXT5", 4, All},
        {"bmp-dxt5", dxtBmp(Dxt5, All, false, 1), "BMP", "DXT5", 1, All},
        {"bmp-32-fs70-mips", written(TextureContainer::FsBitmap, TextureFormat::Argb32, true), kFs,
         "32-bit BGRA", 4, All},
        {"bmp-32", encodeBmp32(kW, kH, knownPicture(All).rgba), "BMP", "32-bit BGRA", 1, All},
        {"bmp-24", encodeBmp24(bitmapOf(true)), "BMP", "24-bit BGR", 1, Nothing},
        {"bmp-8", encodeBmp8(bitmapOf(false), bitmapOf(false).palette), "BMP", "8-bit palettised", 1,
         Nothing},
        {"bmp-1555", maskedBmp(16, 0, {0x7C00, 0x3E0, 0x1F, 0x8000}, OneBit), "BMP", "16-bit ARGB 1555", 1,
         OneBit},
        {"bmp-555", maskedBmp(16, 0, {0x7C00, 0x3E0, 0x1F, 0}, Nothing), "BMP", "16-bit RGB 555", 1, Nothing},
        {"bmp-4444", maskedBmp(16, 3, {0xF00, 0xF0, 0xF, 0xF000}, All), "BMP", "16-bit ARGB 4444", 1, All},
        {"bmp-565", maskedBmp(16, 3, {0xF800, 0x7E0, 0x1F, 0}, Nothing), "BMP", "16-bit RGB 565", 1, Nothing},
        {"dds-dxt1", ddsDxt(Dxt1, Nothing, 1), "DDS", "DXT1", 1, Nothing},
        {"dds-dxt1-alpha-mips", ddsDxt(Dxt1, OneBitBlack, 4), "DDS", "DXT1", 4, OneBitBlack},
        {"dds-dxt3-written-mips", written(TextureContainer::Dds, TextureFormat::Dxt3, true), "DDS", "DXT3", 4,
         All},
        {"dds-dxt5", ddsDxt(Dxt5, All, 1), "DDS", "DXT5", 1, All},
        {"dds-32-written", written(TextureContainer::Dds, TextureFormat::Argb32, false), "DDS", "32-bit BGRA",
         1, All},
        {"dds-32-rgba-mips", ddsMasked(32, {0xFF, 0xFF00, 0xFF0000, 0xFF000000}, All, 4), "DDS",
         "32-bit RGBA", 4, All},
        {"dds-24", ddsMasked(24, {0xFF0000, 0xFF00, 0xFF, 0}, Nothing, 1), "DDS", "24-bit BGR", 1, Nothing},
        {"dds-565", ddsMasked(16, {0xF800, 0x7E0, 0x1F, 0}, Nothing, 1), "DDS", "16-bit RGB 565", 1, Nothing},
        {"dds-1555-mips", ddsMasked(16, {0x7C00, 0x3E0, 0x1F, 0x8000}, OneBit, 4), "DDS", "16-bit ARGB 1555",
         4, OneBit},
        {"dds-4444", ddsMasked(16, {0xF00, 0xF0, 0xF, 0xF000}, All, 1), "DDS", "16-bit ARGB 4444", 1, All},
    };
}

// Each decodes to the known picture. Cut short, a file is refused, with no picture, or (where a
// BMP's last padding or a level no header counts is missing) still gives the whole picture: never
// a part of one, never a read past the end (the cuts are exact-size copies, for the sanitizer).
TEST(DecodeTexture, EveryFormatAndVariantGivesBackTheKnownPicture) {
    for (const Row& row : decoderTable()) {
        SCOPED_TRACE(row.name);
        DecodedTexture t;
        ASSERT_TRUE(decodeTexture(row.file, t).ok()) << t.format;
        EXPECT_EQ(describeContainer(t) + ", " + t.format + ", " + std::to_string(t.levels) + " levels",
                  std::string(row.container) + ", " + row.format + ", " + std::to_string(row.levels) +
                      " levels");
        EXPECT_EQ(std::pair(t.width, t.height), std::pair(kW, kH));
        EXPECT_EQ(t.image.rgba, knownPicture(row.keeps).rgba);
        for (std::size_t length = 0; length < row.file.size(); ++length) {
            DecodedTexture part;
            if (decodeTexture(Bytes(row.file.begin(), row.file.begin() + std::ptrdiff_t(length)), part).ok())
                EXPECT_EQ(part.image.rgba, t.image.rgba) << "cut to " << length;
            else
                EXPECT_TRUE(part.image.rgba.empty()) << "cut to " << length;
        }
    }
}

// Bits a writer left 0 throughout are no alpha; in the simulator's bitmap they are its alpha.
TEST(DecodeTexture, SpareBitsZeroEverywhereAreNoAlphaButInTheSimulatorsBitmap) {
    RgbaImage clear = knownPicture(Keeps::All);
    for (std::size_t i = 3; i < clear.rgba.size(); i += 4)
        clear.rgba[i] = 0;
    DecodedTexture plain, simulator;
    ASSERT_TRUE(decodeTexture(encodeBmp32(kW, kH, clear.rgba), plain).ok());
    ASSERT_TRUE(
        decodeTexture(encodeTexture(clear, TextureContainer::FsBitmap, {.format = TextureFormat::Argb32}),
                      simulator)
            .ok());
    EXPECT_EQ(plain.format, "32-bit BGRX");
    EXPECT_EQ(plain.image.rgba, knownPicture(Keeps::Nothing).rgba);
    EXPECT_EQ(simulator.image.rgba, clear.rgba);
}

// One case for each reason given, as tests/data/texture_lies.txt lists them: a file of the
// decoder table with its header patched.
TEST(DecodeTexture, LyingHeadersAreRefusedWithTheReason) {
    const std::vector<Row> table = decoderTable();
    for (const std::vector<std::string>& lie : testkit::dataRows("texture_lies.txt", "lie")) {
        SCOPED_TRACE(lie[0] + ": " + lie[1]);
        const auto row =
            std::find_if(table.begin(), table.end(), [&](const Row& r) { return r.name == lie[0]; });
        ASSERT_NE(row, table.end());
        Bytes file = row->file;
        for (auto patch = lie.begin() + 2; patch != lie.end(); ++patch) {
            unsigned long at = 0, width = 0;
            long value = 0;
            if (std::sscanf(patch->c_str(), "cut:%lu", &at) == 1)
                file.resize(file.size() - at);
            else
                ASSERT_EQ(std::sscanf(patch->c_str(), "%lu:%lu:%li", &at, &width, &value), 3) << *patch;
            for (unsigned long i = 0; i < width; ++i)
                file.at(at + i) = static_cast<std::uint8_t>(value >> (8 * i));
        }
        DecodedTexture t;
        const Status status = decodeTexture(file, t, BmpLimits{1024, 1 << 20});
        EXPECT_FALSE(status.ok());
        EXPECT_THAT(status.message(), testing::HasSubstr(lie[1]));
        EXPECT_TRUE(t.image.rgba.empty());
    }
}

} // namespace
} // namespace livrano
