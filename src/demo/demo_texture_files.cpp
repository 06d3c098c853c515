// SPDX-License-Identifier: MIT
#include "demo/demo_texture_files.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <unordered_map>
#include <utility>

#include "app/little_endian.h"
#include "texture/bitmap.h"
#include "texture/bmp_writer.h"
#include "texture/dxt_decoder.h"

namespace livrano {

namespace {

constexpr std::uint8_t kTransparentBelow = 128;
constexpr std::size_t kFsHeaderSize = 74;
constexpr std::size_t kDdsHeaderSize = 128;
constexpr std::size_t kMaskedHeaderSize = 66; // 14 + 40 + three masks

// A 5 or 6-bit end point widened to 8 bits as the decoder widens it: the top bits repeated.
int widen(int value, int bits) {
    return bits == 5 ? (value << 3) | (value >> 2) : (value << 2) | (value >> 4);
}

// One channel's end points for a block of one colour: their two-thirds blend, which the decoder
// truncates, is the nearest it can make of the colour. Equal where widening alone is exact.
struct ChannelFit {
    std::uint8_t first = 0;
    std::uint8_t second = 0;
};

struct ChannelTables {
    std::array<ChannelFit, 256> fit{};
    std::array<std::uint8_t, 256> nearest{}; // the end point whose widening is nearest
};

ChannelTables channelTables(int bits) {
    ChannelTables t;
    const int top = 1 << bits;
    for (int v = 0; v < 256; ++v) {
        int fitError = 256;
        int nearestError = 256;
        for (int a = 0; a < top; ++a) {
            if (std::abs(widen(a, bits) - v) < nearestError) {
                nearestError = std::abs(widen(a, bits) - v);
                t.nearest[static_cast<std::size_t>(v)] = static_cast<std::uint8_t>(a);
            }
            for (int b = 0; b < top; ++b) {
                const int error = std::abs((2 * widen(a, bits) + widen(b, bits)) / 3 - v);
                if (error < fitError) {
                    fitError = error;
                    t.fit[static_cast<std::size_t>(v)] = {static_cast<std::uint8_t>(a),
                                                          static_cast<std::uint8_t>(b)};
                }
            }
        }
    }
    return t;
}

const ChannelTables& tables(int bits) {
    static const ChannelTables five = channelTables(5);
    static const ChannelTables six = channelTables(6);
    return bits == 5 ? five : six;
}

std::uint16_t pack565(int red, int green, int blue) {
    return static_cast<std::uint16_t>((red << 11) | (green << 5) | blue);
}

std::uint16_t nearest565(const std::uint8_t* texel) {
    return pack565(tables(5).nearest[texel[0]], tables(6).nearest[texel[1]], tables(5).nearest[texel[2]]);
}

int distance(const std::uint8_t* a, const std::uint8_t* b) {
    int sum = 0;
    for (int c = 0; c < 3; ++c)
        sum += (a[c] - b[c]) * (a[c] - b[c]);
    return sum;
}

// The four entries the decoder makes of two end points (the fourth transparent black in a DXT1
// three-colour block), taken from the decoder itself: a block whose texel i has index i.
std::array<std::array<std::uint8_t, 4>, 4> palette(std::uint16_t c0, std::uint16_t c1, DxtFormat format) {
    std::uint8_t block[16] = {};
    std::uint8_t* colour = format == DxtFormat::Dxt1 ? block : block + 8;
    putLe16(colour, 0, c0);
    putLe16(colour, 2, c1);
    colour[4] = 0xE4; // indices 0, 1, 2, 3
    std::uint8_t texels[64];
    decodeDxtBlock(format, block, texels);
    std::array<std::array<std::uint8_t, 4>, 4> entries{};
    for (std::size_t i = 0; i < 4; ++i)
        std::copy_n(texels + i * 4, 4, entries[i].begin());
    return entries;
}

void putColourBlock(std::uint16_t c0, std::uint16_t c1, const std::array<int, 16>& indices,
                    std::uint8_t* out) {
    putLe16(out, 0, c0);
    putLe16(out, 2, c1);
    std::uint32_t bits = 0;
    for (std::size_t i = 0; i < 16; ++i)
        bits |= static_cast<std::uint32_t>(indices[i]) << (2 * i);
    putLe32(out, 4, bits);
}

// A block of one colour: blended two-thirds of the way from c1 to c0, or the other way where the
// end points must be swapped for DXT1's four-colour order (equal ones give c0 in either mode).
void oneColourBlock(const std::uint8_t* texel, std::uint8_t* out) {
    const ChannelFit& r = tables(5).fit[texel[0]];
    const ChannelFit& g = tables(6).fit[texel[1]];
    const ChannelFit& b = tables(5).fit[texel[2]];
    std::uint16_t c0 = pack565(r.first, g.first, b.first);
    std::uint16_t c1 = pack565(r.second, g.second, b.second);
    std::array<int, 16> indices{};
    indices.fill(2);
    if (c0 < c1) {
        std::swap(c0, c1);
        indices.fill(3);
    }
    putColourBlock(c0, c1, indices, out);
}

// The colour half of a block: 8 bytes. With `dxt1`, texels whose alpha is below 128 take the
// transparent entry of a three-colour block; otherwise every texel keeps a colour.
void encodeColours(const std::uint8_t* rgba, bool dxt1, std::uint8_t* out) {
    const auto texel = [rgba](std::size_t i) { return rgba + i * 4; };
    std::array<bool, 16> transparent{};
    bool oneColour = true; // and no texel transparent: most blocks of a painted livery
    for (std::size_t i = 0; i < 16; ++i) {
        transparent[i] = dxt1 && texel(i)[3] < kTransparentBelow;
        oneColour = oneColour && !transparent[i] && std::equal(texel(i), texel(i) + 3, texel(0));
    }
    if (oneColour) {
        oneColourBlock(texel(0), out);
        return;
    }
    // The end points: the two coloured texels farthest apart.
    std::size_t first = 16;
    std::size_t second = 16;
    int farthest = -1;
    for (std::size_t i = 0; i < 16; ++i)
        for (std::size_t j = i; j < 16; ++j)
            if (!transparent[i] && !transparent[j] && distance(texel(i), texel(j)) > farthest) {
                farthest = distance(texel(i), texel(j));
                first = i;
                second = j;
            }
    const bool anyTransparent = std::find(transparent.begin(), transparent.end(), true) != transparent.end();
    std::array<int, 16> indices{};
    if (first == 16) { // all transparent: a three-colour block (c0 <= c1) of index 3
        indices.fill(3);
        putColourBlock(0, 0, indices, out);
        return;
    }
    std::uint16_t c0 = nearest565(texel(first));
    std::uint16_t c1 = nearest565(texel(second));
    // DXT1 reads its mode from the end points' order: four colours when c0 > c1, else three and
    // transparent black. The other formats always have four.
    if (dxt1 && (anyTransparent ? c0 > c1 : c0 < c1))
        std::swap(c0, c1);
    const std::size_t entries = dxt1 && c0 <= c1 ? 3 : 4;
    const auto colours = palette(c0, c1, dxt1 ? DxtFormat::Dxt1 : DxtFormat::Dxt5);
    for (std::size_t i = 0; i < 16; ++i) {
        std::size_t best = transparent[i] ? 3 : 0;
        for (std::size_t e = 1; e < entries && !transparent[i]; ++e)
            if (distance(texel(i), colours[e].data()) < distance(texel(i), colours[best].data()))
                best = e;
        indices[i] = static_cast<int>(best);
    }
    putColourBlock(c0, c1, indices, out);
}

// DXT5's alpha half: the block's highest alpha as alpha0 and its lowest as alpha1 (eight levels
// between them), each texel the nearest level; one level is index 0 throughout.
void encodeAlpha(const std::uint8_t* rgba, std::uint8_t* out) {
    std::uint8_t low = 255;
    std::uint8_t high = 0;
    for (int i = 0; i < 16; ++i) {
        low = std::min(low, rgba[i * 4 + 3]);
        high = std::max(high, rgba[i * 4 + 3]);
    }
    std::fill_n(out, 8, std::uint8_t{0});
    out[0] = high;
    out[1] = low;
    if (high == low)
        return;
    // The levels as the decoder makes them: a block whose texel i has index i.
    std::uint8_t probe[16] = {high, low};
    std::uint64_t ramp = 0;
    for (std::uint64_t i = 0; i < 8; ++i)
        ramp |= i << (3 * i);
    for (std::size_t b = 0; b < 6; ++b)
        probe[2 + b] = static_cast<std::uint8_t>(ramp >> (8 * b));
    std::uint8_t texels[64];
    decodeDxtBlock(DxtFormat::Dxt5, probe, texels);
    std::uint64_t bits = 0;
    for (int i = 0; i < 16; ++i) {
        const int alpha = rgba[i * 4 + 3];
        std::uint64_t best = 0;
        for (std::uint64_t level = 1; level < 8; ++level)
            if (std::abs(texels[level * 4 + 3] - alpha) < std::abs(texels[best * 4 + 3] - alpha))
                best = level;
        bits |= best << (3 * i);
    }
    for (std::size_t b = 0; b < 6; ++b)
        out[2 + b] = static_cast<std::uint8_t>(bits >> (8 * b));
}

// The blocks of a picture, row by row from its top; edge blocks repeat the last column and row.
std::vector<std::uint8_t> blocksOf(const RgbaImage& image, DxtFormat format) {
    const std::size_t across = (static_cast<std::size_t>(image.width) + 3) / 4;
    const std::size_t down = (static_cast<std::size_t>(image.height) + 3) / 4;
    const std::size_t size = dxtBlockBytes(format);
    std::vector<std::uint8_t> out(across * down * size);
    std::uint8_t texels[64];
    for (std::size_t by = 0; by < down; ++by)
        for (std::size_t bx = 0; bx < across; ++bx) {
            for (std::size_t i = 0; i < 16; ++i) {
                const int x = std::min(static_cast<int>(bx * 4 + i % 4), image.width - 1);
                const int y = std::min(static_cast<int>(by * 4 + i / 4), image.height - 1);
                std::copy_n(image.pixel(x, y), 4, texels + i * 4);
            }
            std::uint8_t* block = out.data() + (by * across + bx) * size;
            if (format == DxtFormat::Dxt1)
                encodeDxt1Block(texels, block);
            else
                encodeDxt5Block(texels, block);
        }
    return out;
}

std::uint32_t fourCc(DxtFormat format) {
    return format == DxtFormat::Dxt1 ? 0x31545844 : 0x35545844; // "DXT1", "DXT5"
}

// The file header and the info header of a BMP filling `out`, its pixels from dataOffset.
void putBmpHeaders(std::vector<std::uint8_t>& out, const RgbaImage& image, std::size_t dataOffset,
                   std::uint32_t bitCount, std::uint32_t compression, std::size_t imageSize) {
    out[0] = 'B';
    out[1] = 'M';
    putLe32(out, 2, static_cast<std::uint32_t>(out.size()));
    putLe32(out, 10, static_cast<std::uint32_t>(dataOffset));
    putLe32(out, 14, 40);
    putLe32(out, 18, static_cast<std::uint32_t>(image.width));
    putLe32(out, 22, static_cast<std::uint32_t>(image.height));
    putLe16(out, 26, 1);
    putLe16(out, 28, bitCount);
    putLe32(out, 30, compression);
    putLe32(out, 34, static_cast<std::uint32_t>(imageSize));
}

// The simulator's bitmap: the header the program's own DXT3 textures have, with this FourCC
// (bit count 16 whatever the format, as readers of these files expect), blocks bottom-up.
std::vector<std::uint8_t> dxtBitmap(const RgbaImage& image, DxtFormat format) {
    const std::vector<std::uint8_t> blocks = blocksOf(flippedVertically(image), format);
    std::vector<std::uint8_t> out(kFsHeaderSize);
    out.insert(out.end(), blocks.begin(), blocks.end());
    putBmpHeaders(out, image, kFsHeaderSize, 16, fourCc(format), blocks.size());
    std::copy_n("FS70", 4, out.begin() + 54);
    putLe32(out, 58, 20);
    out[63] = 4;
    return out;
}

std::vector<std::uint8_t> dxtDds(const RgbaImage& image, DxtFormat format) {
    const std::vector<std::uint8_t> blocks = blocksOf(image, format);
    std::vector<std::uint8_t> out(kDdsHeaderSize);
    out.insert(out.end(), blocks.begin(), blocks.end());
    std::copy_n("DDS ", 4, out.begin());
    putLe32(out, 4, 124);
    putLe32(out, 8, 0x1007 | 0x80000); // caps, height, width, pixel format; linear size
    putLe32(out, 12, static_cast<std::uint32_t>(image.height));
    putLe32(out, 16, static_cast<std::uint32_t>(image.width));
    putLe32(out, 20, static_cast<std::uint32_t>(blocks.size()));
    putLe32(out, 28, 1);
    putLe32(out, 76, 32);
    putLe32(out, 80, 0x4); // FourCC
    putLe32(out, 84, fourCc(format));
    putLe32(out, 108, 0x1000); // a texture
    return out;
}

// 5:6:5 with bit fields; each channel rounded to the nearest step.
std::vector<std::uint8_t> rgb565Bitmap(const RgbaImage& image) {
    const std::size_t stride = (static_cast<std::size_t>(image.width) * 2 + 3) / 4 * 4;
    std::vector<std::uint8_t> out(kMaskedHeaderSize + stride * static_cast<std::size_t>(image.height));
    putBmpHeaders(out, image, kMaskedHeaderSize, 16, 3 /* bit fields */, out.size() - kMaskedHeaderSize);
    putLe32(out, 54, 0xF800);
    putLe32(out, 58, 0x07E0);
    putLe32(out, 62, 0x001F);
    const auto step = [](int value, int top) { return (value * top + 127) / 255; };
    for (int y = 0; y < image.height; ++y) {
        const std::size_t row = kMaskedHeaderSize + static_cast<std::size_t>(image.height - 1 - y) * stride;
        for (int x = 0; x < image.width; ++x) {
            const std::uint8_t* p = image.pixel(x, y);
            putLe16(out, row + static_cast<std::size_t>(x) * 2,
                    pack565(step(p[0], 31), step(p[1], 63), step(p[2], 31)));
        }
    }
    return out;
}

std::vector<std::uint8_t> palettisedBitmap(const RgbaImage& image) {
    Bitmap indexed;
    indexed.width = image.width;
    indexed.height = image.height;
    indexed.bytesPerPixel = 1;
    indexed.pixels.resize(static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height));
    std::unordered_map<std::uint32_t, std::uint8_t> indexOf;
    for (std::size_t i = 0; i < indexed.pixels.size(); ++i) {
        const std::uint8_t* p = image.rgba.data() + i * 4;
        const std::uint32_t key = (std::uint32_t{p[0]} << 16) | (std::uint32_t{p[1]} << 8) | p[2];
        auto found = indexOf.find(key);
        if (found == indexOf.end() && indexed.palette.size() < 256) {
            found = indexOf.emplace(key, static_cast<std::uint8_t>(indexed.palette.size())).first;
            indexed.palette.push_back(PaletteEntry{p[2], p[1], p[0], 0});
        }
        if (found != indexOf.end()) {
            indexed.pixels[i] = found->second;
            continue;
        }
        std::size_t best = 0;
        const auto error = [&](std::size_t e) {
            const PaletteEntry& c = indexed.palette[e];
            const std::uint8_t colour[3] = {c.red, c.green, c.blue};
            return distance(p, colour);
        };
        for (std::size_t e = 1; e < indexed.palette.size(); ++e)
            if (error(e) < error(best))
                best = e;
        indexed.pixels[i] = static_cast<std::uint8_t>(best);
    }
    return encodeBmp8(indexed, indexed.palette);
}

} // namespace

void encodeDxt1Block(const std::uint8_t* rgba, std::uint8_t* block) {
    encodeColours(rgba, true, block);
}

void encodeDxt5Block(const std::uint8_t* rgba, std::uint8_t* block) {
    encodeAlpha(rgba, block);
    encodeColours(rgba, false, block + 8);
}

std::vector<std::uint8_t> encodeDemoTexture(const RgbaImage& image, DemoTextureStorage storage) {
    switch (storage) {
    case DemoTextureStorage::Dxt1Bitmap:
        return dxtBitmap(image, DxtFormat::Dxt1);
    case DemoTextureStorage::Dxt5Bitmap:
        return dxtBitmap(image, DxtFormat::Dxt5);
    case DemoTextureStorage::Dxt1Dds:
        return dxtDds(image, DxtFormat::Dxt1);
    case DemoTextureStorage::Dxt5Dds:
        return dxtDds(image, DxtFormat::Dxt5);
    case DemoTextureStorage::Rgb565Bitmap:
        return rgb565Bitmap(image);
    case DemoTextureStorage::PalettisedBitmap:
        break;
    }
    return palettisedBitmap(image);
}

} // namespace livrano
