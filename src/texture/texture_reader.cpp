// SPDX-License-Identifier: MIT
#include "texture/texture_reader.h"

#include <algorithm>
#include <bit>
#include <optional>

#include "app/little_endian.h"
#include "texture/dxt_decoder.h"
#include "texture/pixel_masks.h"

namespace livrano {

namespace {

constexpr std::size_t kDdsHeaderSize = 128;
constexpr std::uint32_t kDdsMipMapCount = 0x20000; // header flag: the mipmap count is valid
constexpr std::uint32_t kDdsAlphaPixels = 0x1;     // pixel format flags
constexpr std::uint32_t kDdsFourCc = 0x4;
constexpr std::uint32_t kDdsRgb = 0x40;
constexpr std::uint32_t kDdsCubeOrVolume = 0x200 | 0x200000; // second caps word

// Sides beyond this are refused whatever the limits, so that sizes computed from them stay far
// from overflowing.
constexpr std::int64_t kLargestSide = 1 << 16;

Status refused(const std::string& clause) {
    return Status::Refused("The texture cannot be read: " + clause + ".");
}

std::optional<DxtFormat> dxtFormat(std::uint32_t fourCc) {
    switch (fourCc) {
    case 0x31545844: // "DXT1"
        return DxtFormat::Dxt1;
    case 0x33545844: // "DXT3"
        return DxtFormat::Dxt3;
    case 0x35545844: // "DXT5"
        return DxtFormat::Dxt5;
    default:
        return std::nullopt;
    }
}

std::string name(DxtFormat format) {
    return format == DxtFormat::Dxt1 ? "DXT1" : format == DxtFormat::Dxt3 ? "DXT3" : "DXT5";
}

// Why a picture of this size is refused; nullopt when it is not.
std::optional<std::string> sizeRefusal(std::int64_t width, std::int64_t height, const BmpLimits& limits) {
    const std::string size = std::to_string(width) + " x " + std::to_string(height);
    if (width <= 0 || height <= 0)
        return "its size " + size + " holds no pixel";
    if (width > limits.maxSide || height > limits.maxSide || width > kLargestSide || height > kLargestSide ||
        width * height > limits.maxPixels)
        return "its size " + size + " is too large (at most " + std::to_string(limits.maxSide) +
               " pixels a side and " + std::to_string(limits.maxPixels) + " pixels)";
    return std::nullopt;
}

// The levels of a full mip chain: down to 1 x 1.
int fullChain(int width, int height) {
    return static_cast<int>(std::bit_width(static_cast<unsigned>(std::max(width, height))));
}

// Bytes of `levels` levels from width x height down, each `levelSize(w, h)` bytes.
template <class LevelSize> std::size_t chainSize(int width, int height, int levels, LevelSize levelSize) {
    std::size_t total = 0;
    for (int i = 0; i < levels; ++i, width = std::max(1, width / 2), height = std::max(1, height / 2))
        total += levelSize(width, height);
    return total;
}

// The levels whose bytes all lie within `available`, at most a full chain; 0 when not even the top.
template <class LevelSize>
int levelsPresent(int width, int height, std::size_t available, LevelSize levelSize) {
    int levels = 0;
    while (levels < fullChain(width, height) && chainSize(width, height, levels + 1, levelSize) <= available)
        ++levels;
    return levels;
}

// The levels the FS70 block announces: all, or only the largest.
int announcedLevels(std::span<const std::uint8_t> file, const DecodedTexture& t) {
    return t.fs70Block && readLe16(file, 68) != 0 ? fullChain(t.width, t.height) : 1;
}

Status decodeDxtBitmap(std::span<const std::uint8_t> file, DxtFormat format, const BmpLimits& limits,
                       DecodedTexture& out) {
    const std::size_t infoSize = readLe32(file, 14);
    if (infoSize > file.size() - 14)
        return refused("it is truncated");
    const std::int64_t width = static_cast<std::int32_t>(readLe32(file, 18));
    const std::int64_t height = static_cast<std::int32_t>(readLe32(file, 22)); // negative: top-down
    if (const auto refusal = sizeRefusal(width, height < 0 ? -height : height, limits))
        return refused(*refusal);
    out.format = name(format);
    out.width = static_cast<int>(width);
    out.height = static_cast<int>(height < 0 ? -height : height);
    const std::size_t pixelOffset = readLe32(file, 10);
    if (pixelOffset < 14 + infoSize || pixelOffset > file.size())
        return refused(pixelOffset > file.size() ? "it is truncated" : "its header is damaged");
    // Without the FS70 block nothing counts the mipmaps: the levels are those the file holds.
    const auto levelSize = [format](int w, int h) { return dxtLevelSize(format, w, h); };
    const std::size_t available = file.size() - pixelOffset;
    const int levels = out.fs70Block ? announcedLevels(file, out)
                                     : levelsPresent(out.width, out.height, available, levelSize);
    if (levels == 0 || chainSize(out.width, out.height, levels, levelSize) > available)
        return refused("it is truncated");
    out.levels = levels;
    const RgbaImage level = decompressDxt(format, file.subspan(pixelOffset), out.width, out.height);
    // Like every BMP the blocks are stored bottom-up unless the height says otherwise.
    out.image = height < 0 ? level : flippedVertically(level);
    return Status::Ok();
}

std::string layoutName(const BmpLayout& layout) {
    if (layout.bitCount <= 8)
        return std::to_string(layout.bitCount) + "-bit palettised" + (layout.runLength ? ", run-length" : "");
    return describeMasks(layout.bitCount, layout.masks);
}

RgbaImage rgbaOf(const Bitmap& colour) {
    RgbaImage image{colour.width, colour.height, std::vector<std::uint8_t>(colour.pixels.size() / 3 * 4)};
    for (std::size_t i = 0, j = 0; i < colour.pixels.size(); i += 3, j += 4) {
        image.rgba[j] = colour.pixels[i + 2];
        image.rgba[j + 1] = colour.pixels[i + 1];
        image.rgba[j + 2] = colour.pixels[i];
        image.rgba[j + 3] = colour.alpha.empty() ? 255 : colour.alpha[i / 3];
    }
    return image;
}

Status decodeUncompressedBitmap(std::span<const std::uint8_t> file, const BmpLimits& limits,
                                DecodedTexture& out) {
    std::string why;
    BmpLayout layout;
    std::optional<Bitmap> bitmap = decodeBmp(file, limits, &why, &layout);
    if (!bitmap)
        return refused(why);
    out.fs70Block = layout.fs70Block;
    out.format = layoutName(layout);
    out.width = bitmap->width;
    out.height = bitmap->height;
    out.levels = layout.runLength ? 1 : announcedLevels(file, out);
    // The smaller levels follow the largest as whole BMP rows (decodeBmp has found the pixel
    // offset within the file).
    const auto levelSize = [&layout](int w, int h) {
        return (static_cast<std::size_t>(w) * layout.bitCount + 31) / 32 * 4 * static_cast<std::size_t>(h);
    };
    if (out.levels > 1 &&
        chainSize(out.width, out.height, out.levels, levelSize) > file.size() - readLe32(file, 10))
        return refused("its mipmap levels are cut short");
    if (bitmap->bytesPerPixel == 1)
        *bitmap = toColour(std::move(*bitmap));
    out.image = rgbaOf(*bitmap);
    return Status::Ok();
}

Status decodeBitmap(std::span<const std::uint8_t> file, const BmpLimits& limits, DecodedTexture& out) {
    out.container = TextureContainer::FsBitmap;
    out.fs70Block = hasFs70Block(file);
    // Only an information header of 40 bytes or more has the compression field (OS/2's has none).
    const bool infoHeader = file.size() >= 34 && readLe32(file, 14) >= 40;
    const std::optional<DxtFormat> format = infoHeader ? dxtFormat(readLe32(file, 30)) : std::nullopt;
    return format ? decodeDxtBitmap(file, *format, limits, out) : decodeUncompressedBitmap(file, limits, out);
}

// The DDS pixel format at offset 76: DXT blocks (`dxt`), or masks and a depth in bits.
struct DdsPixels {
    std::optional<DxtFormat> dxt;
    unsigned bitCount = 0;
    PixelMasks masks;
};

std::string fourCcText(std::uint32_t fourCc) {
    std::string text;
    for (int i = 0; i < 4; ++i) {
        const auto c = static_cast<char>((fourCc >> (8 * i)) & 0xFF);
        text += c >= ' ' && c <= '~' ? std::string(1, c) : "?";
    }
    return text;
}

// The pixel format, or the reason it is refused in `why`.
std::optional<DdsPixels> ddsPixels(std::span<const std::uint8_t> file, std::string& why) {
    const std::uint32_t flags = readLe32(file, 80);
    DdsPixels pixels;
    if ((flags & kDdsFourCc) != 0) {
        pixels.dxt = dxtFormat(readLe32(file, 84));
        if (!pixels.dxt)
            why = "its compression \"" + fourCcText(readLe32(file, 84)) + "\" is not supported";
        return pixels.dxt ? std::optional(pixels) : std::nullopt;
    }
    if ((flags & kDdsRgb) == 0) {
        why = "its pixel format (flags " + std::to_string(flags) + ") is neither compressed nor RGB";
        return std::nullopt;
    }
    pixels.bitCount = readLe32(file, 88);
    pixels.masks = {readLe32(file, 92), readLe32(file, 96), readLe32(file, 100),
                    (flags & kDdsAlphaPixels) != 0 ? readLe32(file, 104) : 0};
    const PixelMasks& m = pixels.masks;
    if (pixels.bitCount != 16 && pixels.bitCount != 24 && pixels.bitCount != 32) {
        why = "its depth of " + std::to_string(pixels.bitCount) + " bits per pixel is not supported";
        return std::nullopt;
    }
    if (((m.red | m.green | m.blue | m.alpha) >> (pixels.bitCount - 1) >> 1) != 0 ||
        (m.red | m.green | m.blue) == 0) {
        why = "its colour masks do not fit its depth of " + std::to_string(pixels.bitCount) + " bits";
        return std::nullopt;
    }
    return pixels;
}

// Uncompressed DDS rows lie without padding, whatever the header's pitch says (writers disagree).
RgbaImage unpackMasked(std::span<const std::uint8_t> data, const DdsPixels& pixels, int width, int height) {
    const std::size_t bytes = pixels.bitCount / 8;
    const MaskChannel red(pixels.masks.red), green(pixels.masks.green), blue(pixels.masks.blue),
        alpha(pixels.masks.alpha);
    RgbaImage image{width, height, std::vector<std::uint8_t>(static_cast<std::size_t>(width) * height * 4)};
    for (std::size_t i = 0; i < image.rgba.size() / 4; ++i) {
        const std::uint32_t v = pixelValue(data.data() + i * bytes, bytes);
        image.rgba[i * 4] = red(v);
        image.rgba[i * 4 + 1] = green(v);
        image.rgba[i * 4 + 2] = blue(v);
        image.rgba[i * 4 + 3] = pixels.masks.alpha != 0 ? alpha(v) : 255;
    }
    return image;
}

Status decodeDds(std::span<const std::uint8_t> file, const BmpLimits& limits, DecodedTexture& out) {
    out.container = TextureContainer::Dds;
    if (file.size() < kDdsHeaderSize)
        return refused("it is truncated");
    if (readLe32(file, 4) != 124 || readLe32(file, 76) != 32)
        return refused("its header is damaged");
    if ((readLe32(file, 112) & kDdsCubeOrVolume) != 0)
        return refused("it is a cube map or a volume, not a flat texture");
    const std::int64_t height = readLe32(file, 12);
    const std::int64_t width = readLe32(file, 16);
    if (const auto refusal = sizeRefusal(width, height, limits))
        return refused(*refusal);
    std::string why;
    const std::optional<DdsPixels> pixels = ddsPixels(file, why);
    if (!pixels)
        return refused(why);
    out.format = pixels->dxt ? name(*pixels->dxt) : describeMasks(pixels->bitCount, pixels->masks);
    out.width = static_cast<int>(width);
    out.height = static_cast<int>(height);
    const std::uint32_t count = readLe32(file, 28);
    if ((readLe32(file, 8) & kDdsMipMapCount) != 0 && count > 1) {
        if (count > static_cast<std::uint32_t>(fullChain(out.width, out.height)))
            return refused("its mipmap count " + std::to_string(count) + " is more than its size allows");
        out.levels = static_cast<int>(count);
    }
    const auto levelSize = [&pixels](int w, int h) {
        return pixels->dxt
                   ? dxtLevelSize(*pixels->dxt, w, h)
                   : static_cast<std::size_t>(w) * static_cast<std::size_t>(h) * (pixels->bitCount / 8);
    };
    const std::span<const std::uint8_t> data = file.subspan(kDdsHeaderSize);
    if (chainSize(out.width, out.height, out.levels, levelSize) > data.size())
        return refused("it is truncated");
    out.image = pixels->dxt ? decompressDxt(*pixels->dxt, data, out.width, out.height)
                            : unpackMasked(data, *pixels, out.width, out.height);
    return Status::Ok();
}

} // namespace

Status decodeTexture(std::span<const std::uint8_t> file, DecodedTexture& out, const BmpLimits& limits) {
    out = DecodedTexture{};
    const auto starts = [&](std::string_view magic) {
        return file.size() >= magic.size() && std::equal(magic.begin(), magic.end(), file.begin());
    };
    if (starts("DDS "))
        return decodeDds(file, limits, out);
    if (starts("BM"))
        return decodeBitmap(file, limits, out);
    return Status::Refused("The file is neither a texture bitmap nor a DDS file.");
}

std::string describeContainer(const DecodedTexture& texture) {
    if (texture.container == TextureContainer::Dds)
        return "DDS";
    return texture.fs70Block ? describe(TextureContainer::FsBitmap) : "BMP";
}

} // namespace livrano
