#include "texture/bmp_fixtures.h"

namespace livrano::testing {

namespace {

struct Out {
    std::vector<std::uint8_t> bytes;
    void u8(unsigned v) { bytes.push_back(static_cast<std::uint8_t>(v)); }
    void u16(unsigned v) {
        u8(v & 0xFF);
        u8((v >> 8) & 0xFF);
    }
    void u32(std::uint32_t v) {
        u16(v & 0xFFFF);
        u16(v >> 16);
    }
    void set32(std::size_t at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i)
            bytes[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(v >> (8 * i));
    }
    void pad(std::size_t multiple) {
        while (bytes.size() % multiple != 0)
            u8(0);
    }
};

unsigned q5(unsigned v) {
    return (v * 31 + 127) / 255;
}

// One row of pixels, uncompressed, padded to 4 bytes. Rows are relative to the row start, so
// padding is counted from there.
void putRow(Out& out, const Bitmap& picture, int y, const BmpVariant& v) {
    const std::size_t start = out.bytes.size();
    const std::uint8_t* row = picture.row(y);
    auto colour = [&](int x) { return picture.palette[row[x]]; };
    switch (v.bitCount) {
    case 1:
    case 4:
    case 8: {
        const int perByte = 8 / v.bitCount;
        for (int x = 0; x < picture.width; x += perByte) {
            unsigned byte = 0;
            for (int i = 0; i < perByte; ++i)
                byte = (byte << v.bitCount) | (x + i < picture.width ? row[x + i] : 0u);
            out.u8(byte);
        }
        break;
    }
    case 16:
        for (int x = 0; x < picture.width; ++x) {
            const PaletteEntry c = colour(x);
            if (v.compression == BmpCompression::BitFields) // 5-6-5
                out.u16((q5(c.red) << 11) | ((c.green * 63u + 127u) / 255u << 5) | q5(c.blue));
            else
                out.u16((q5(c.red) << 10) | (q5(c.green) << 5) | q5(c.blue));
        }
        break;
    case 24:
        for (int x = 0; x < picture.width; ++x) {
            out.u8(colour(x).blue);
            out.u8(colour(x).green);
            out.u8(colour(x).red);
        }
        break;
    case 32:
        for (int x = 0; x < picture.width; ++x) {
            const PaletteEntry c = colour(x);
            if (v.compression == BmpCompression::BitFields) { // red in the low byte
                out.u8(c.red);
                out.u8(c.green);
                out.u8(c.blue);
                out.u8(0x80);
            } else {
                out.u8(c.blue);
                out.u8(c.green);
                out.u8(c.red);
                out.u8(0x55); // unused byte, which must not matter
            }
        }
        break;
    }
    while ((out.bytes.size() - start) % 4 != 0)
        out.u8(0);
}

// Runs of equal pixels as encoded runs, stretches of three or more differing pixels as literal
// runs; every row ends with an end-of-line mark and the picture with an end mark.
void putRle(Out& out, const Bitmap& picture, bool four) {
    for (int y = picture.height - 1; y >= 0; --y) {
        const std::uint8_t* row = picture.row(y);
        int x = 0;
        while (x < picture.width) {
            int run = 1;
            while (x + run < picture.width && row[x + run] == row[x] && run < 255)
                ++run;
            if (run >= 2) {
                out.u8(static_cast<unsigned>(run));
                out.u8(four ? (row[x] << 4) | row[x] : row[x]);
                x += run;
                continue;
            }
            int literal = 1;
            while (x + literal < picture.width && literal < 255 &&
                   (x + literal + 1 >= picture.width || row[x + literal] != row[x + literal + 1]))
                ++literal;
            if (literal < 3) {
                out.u8(1);
                out.u8(four ? (row[x] << 4) | row[x] : row[x]);
                ++x;
                continue;
            }
            out.u8(0);
            out.u8(static_cast<unsigned>(literal));
            const std::size_t start = out.bytes.size();
            for (int i = 0; i < literal; i += four ? 2 : 1) {
                if (four)
                    out.u8((row[x + i] << 4) | (i + 1 < literal ? row[x + i + 1] : 0u));
                else
                    out.u8(row[x + i]);
            }
            if ((out.bytes.size() - start) % 2 != 0)
                out.u8(0);
            x += literal;
        }
        out.u8(0);
        out.u8(0);
    }
    out.u8(0);
    out.u8(1);
}

} // namespace

std::vector<BmpVariant> allBmpVariants() {
    using C = BmpCompression;
    return {
        {"1-bit", 40, 1, C::Rgb, false, false},
        {"1-bit OS/2", 12, 1, C::Rgb, false, false},
        {"4-bit", 40, 4, C::Rgb, false, false},
        {"4-bit short table", 40, 4, C::Rgb, false, true},
        {"4-bit OS/2", 12, 4, C::Rgb, false, false},
        {"4-bit RLE", 40, 4, C::Rle4, false, false},
        {"8-bit", 40, 8, C::Rgb, false, false},
        {"8-bit top-down", 40, 8, C::Rgb, true, false},
        {"8-bit short table", 40, 8, C::Rgb, false, true},
        {"8-bit RLE", 40, 8, C::Rle8, false, false},
        {"8-bit RLE short table", 40, 8, C::Rle8, false, true},
        {"8-bit OS/2", 12, 8, C::Rgb, false, false},
        {"8-bit V4 header", 108, 8, C::Rgb, false, false},
        {"8-bit V5 header", 124, 8, C::Rgb, false, false},
        {"16-bit 5-5-5", 40, 16, C::Rgb, false, false},
        {"16-bit 5-6-5 masks", 40, 16, C::BitFields, false, false},
        {"16-bit 5-6-5 V3 header", 56, 16, C::BitFields, true, false},
        {"24-bit", 40, 24, C::Rgb, false, false},
        {"24-bit top-down", 40, 24, C::Rgb, true, false},
        {"24-bit OS/2", 12, 24, C::Rgb, false, false},
        {"24-bit V5 header", 124, 24, C::Rgb, false, false},
        {"32-bit", 40, 32, C::Rgb, false, false},
        {"32-bit top-down", 40, 32, C::Rgb, true, false},
        {"32-bit masks", 40, 32, C::BitFields, false, false},
        {"32-bit masks V2 header", 52, 32, C::BitFields, false, false},
        {"32-bit masks V4 header", 108, 32, C::BitFields, true, false},
        {"32-bit masks V5 header", 124, 32, C::BitFields, false, false},
    };
}

Bitmap variantPicture(int width, int height, int colours) {
    static const std::uint8_t redBlue[3] = {0, 132, 255};
    Bitmap b;
    b.width = width;
    b.height = height;
    b.bytesPerPixel = 1;
    for (int i = 0; i < colours; ++i)
        b.palette.push_back(PaletteEntry{redBlue[(i / 2) % 3], static_cast<std::uint8_t>(i % 2 ? 255 : 0),
                                         redBlue[(i / 6) % 3], 0});
    // Runs, single pixels and literal stretches, so that both run-length modes occur.
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            b.pixels.push_back(
                static_cast<std::uint8_t>(x < width / 3 ? y % colours : (x * 7 + y * 3 + x * y) % colours));
    return b;
}

std::vector<std::uint8_t> makeBmp(const Bitmap& picture, const BmpVariant& v) {
    const bool indexed = v.bitCount <= 8;
    const bool os2 = v.headerSize == 12;
    const std::size_t tableCount =
        indexed ? (v.shortTable ? picture.palette.size() : std::size_t{1} << v.bitCount) : 0;
    Out out;
    out.u8('B');
    out.u8('M');
    out.u32(0); // file size, set below
    out.u32(0);
    out.u32(0); // pixel offset, set below
    if (os2) {
        out.u32(12);
        out.u16(static_cast<unsigned>(picture.width));
        out.u16(static_cast<unsigned>(picture.height));
        out.u16(1);
        out.u16(static_cast<unsigned>(v.bitCount));
    } else {
        const std::uint32_t compression = v.compression == BmpCompression::Rle8        ? 1
                                          : v.compression == BmpCompression::Rle4      ? 2
                                          : v.compression == BmpCompression::BitFields ? 3
                                                                                       : 0;
        std::uint32_t masks[4] = {0, 0, 0, 0};
        if (v.compression == BmpCompression::BitFields && v.bitCount == 16)
            masks[0] = 0xF800, masks[1] = 0x07E0, masks[2] = 0x001F;
        if (v.compression == BmpCompression::BitFields && v.bitCount == 32)
            masks[0] = 0x000000FF, masks[1] = 0x0000FF00, masks[2] = 0x00FF0000, masks[3] = 0xFF000000;
        out.u32(static_cast<std::uint32_t>(v.headerSize));
        out.u32(static_cast<std::uint32_t>(picture.width));
        out.u32(static_cast<std::uint32_t>(v.topDown ? -picture.height : picture.height));
        out.u16(1);
        out.u16(static_cast<unsigned>(v.bitCount));
        out.u32(compression);
        out.u32(0);
        out.u32(2835);
        out.u32(2835);
        out.u32(v.shortTable ? static_cast<std::uint32_t>(tableCount) : 0);
        out.u32(0);
        const int maskCount = v.headerSize == 40 ? (compression == 3 ? 3 : 0) : v.headerSize == 52 ? 3 : 4;
        for (int i = 0; i < maskCount; ++i)
            out.u32(masks[i]);
        while (out.bytes.size() < 14 + static_cast<std::size_t>(v.headerSize))
            out.u8(0);
    }
    for (std::size_t i = 0; i < tableCount; ++i) {
        const PaletteEntry c = i < picture.palette.size() ? picture.palette[i] : PaletteEntry{};
        out.u8(c.blue);
        out.u8(c.green);
        out.u8(c.red);
        if (!os2)
            out.u8(0);
    }
    out.set32(10, static_cast<std::uint32_t>(out.bytes.size()));
    if (v.compression == BmpCompression::Rle8 || v.compression == BmpCompression::Rle4) {
        putRle(out, picture, v.compression == BmpCompression::Rle4);
    } else {
        for (int i = 0; i < picture.height; ++i)
            putRow(out, picture, v.topDown ? i : picture.height - 1 - i, v);
    }
    out.set32(2, static_cast<std::uint32_t>(out.bytes.size()));
    return out.bytes;
}

} // namespace livrano::testing
