// SPDX-License-Identifier: MIT
#include "texture/texture_file.h"

#include <algorithm>
#include <bit>
#include <cassert>

#include "app/little_endian.h"
#include "texture/dxt3_image.h"
#include "texture/large_buffer.h"

namespace livrano {

namespace {

constexpr std::uint32_t kFourCcDxt3 = 0x33545844; // "DXT3"
constexpr std::size_t kFsHeaderSize = 74;
constexpr std::size_t kDdsHeaderSize = 128;

std::size_t levelSize(TextureFormat format, int width, int height) {
    if (format == TextureFormat::Dxt3)
        return dxt3LevelSize(width, height);
    return static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4;
}

// One level's stored bytes at `out`, its rows taken in the container's order.
void putLevel(std::uint8_t* out, const RgbaImage& level, RowOrder order, const TextureOptions& options) {
    if (options.format == TextureFormat::Dxt3) {
        compressDxt3(level, order, options.encoder, options.threads, out);
        return;
    }
    const std::size_t rowBytes = static_cast<std::size_t>(level.width) * 4;
    for (int y = 0; y < level.height; ++y) {
        const std::uint8_t* src = level.pixel(0, order == RowOrder::BottomUp ? level.height - 1 - y : y);
        std::uint8_t* dst = out + static_cast<std::size_t>(y) * rowBytes;
        for (std::size_t x = 0; x < rowBytes; x += 4) {
            dst[x] = src[x + 2];
            dst[x + 1] = src[x + 1];
            dst[x + 2] = src[x];
            dst[x + 3] = src[x + 3];
        }
    }
}

int floorLog2(int v) {
    return static_cast<int>(std::bit_width(static_cast<unsigned>(v))) - 1;
}

// Bytes of every level of a mip chain starting at width x height.
std::size_t chainSize(TextureFormat format, int width, int height, int levels) {
    std::size_t total = 0;
    for (int i = 0; i < levels; ++i) {
        total += levelSize(format, width, height);
        width = std::max(1, width / 2);
        height = std::max(1, height / 2);
    }
    return total;
}

std::size_t headerSize(TextureContainer container) {
    return container == TextureContainer::Dds ? kDdsHeaderSize : kFsHeaderSize;
}

// What a file's levels are made from: the picture, whose smaller levels the mipmaps are, or the
// rows of a 32-bit picture of one level.
struct LevelSource {
    int width = 0;
    int height = 0;
    const RgbaImage* image = nullptr; // else `rows`
    const BgraRows* rows = nullptr;
};

// The container's header (zeros, for the caller to fill) and the levels after it: the image
// itself, and with mipmaps its smaller levels. The buffer is made once at its final size.
std::vector<std::uint8_t> withLevels(TextureContainer container, const LevelSource& source, RowOrder order,
                                     const TextureOptions& options, std::size_t& levelCount) {
    const std::vector<RgbaImage> smaller = options.mipmaps && source.image != nullptr
                                               ? mipChain(*source.image)
                                               : std::vector<RgbaImage>{}; // the first is the image again
    levelCount = std::max<std::size_t>(1, smaller.size());
    const std::size_t size = encodedTextureSize(source.width, source.height, container, options);
    std::vector<std::uint8_t> out = largeBuffer(size);
    out.resize(size);
    if (source.image == nullptr) {
        const std::size_t rowBytes = static_cast<std::size_t>(source.width) * 4;
        for (int y = 0; y < source.height; ++y)
            (*source.rows)(order == RowOrder::BottomUp ? source.height - 1 - y : y,
                           out.data() + headerSize(container) + static_cast<std::size_t>(y) * rowBytes);
        return out;
    }
    std::size_t at = headerSize(container);
    for (std::size_t l = 0; l < levelCount; ++l) {
        const RgbaImage& level = l == 0 ? *source.image : smaller[l];
        putLevel(out.data() + at, level, order, options);
        at += levelSize(options.format, level.width, level.height);
    }
    return out;
}

std::vector<std::uint8_t> encodeFsBitmap(const LevelSource& picture, const TextureOptions& options) {
    const bool dxt3 = options.format == TextureFormat::Dxt3;
    std::size_t levels = 0;
    // The extended bitmap stores its rows bottom-up.
    std::vector<std::uint8_t> out =
        withLevels(TextureContainer::FsBitmap, picture, RowOrder::BottomUp, options, levels);
    out[0] = 'B';
    out[1] = 'M';
    putLe32(out, 10, kFsHeaderSize);
    putLe32(out, 14, 40);
    putLe32(out, 18, static_cast<std::uint32_t>(picture.width));
    putLe32(out, 22, static_cast<std::uint32_t>(picture.height));
    putLe16(out, 26, 1);
    putLe16(out, 28, dxt3 ? 16 : 32);
    putLe32(out, 30, dxt3 ? kFourCcDxt3 : 0);
    putLe32(out, 34, static_cast<std::uint32_t>(levelSize(options.format, picture.width, picture.height)));
    out[54] = 'F';
    out[55] = 'S';
    out[56] = '7';
    out[57] = '0';
    putLe32(out, 58, 20);
    out[63] = 4;
    if (options.mipmaps)
        putLe16(out, 68, static_cast<std::uint32_t>(floorLog2(std::max(picture.width, picture.height))));
    putLe32(out, 2, static_cast<std::uint32_t>(out.size()));
    return out;
}

std::vector<std::uint8_t> encodeDds(const LevelSource& picture, const TextureOptions& options) {
    const bool dxt3 = options.format == TextureFormat::Dxt3;
    std::size_t levels = 0;
    std::vector<std::uint8_t> out =
        withLevels(TextureContainer::Dds, picture, RowOrder::TopDown, options, levels);
    out[0] = 'D';
    out[1] = 'D';
    out[2] = 'S';
    out[3] = ' ';
    putLe32(out, 4, 124);
    std::uint32_t flags = 0x1007 | (dxt3 ? 0x80000u : 0x8u);
    if (levels > 1)
        flags |= 0x20000;
    putLe32(out, 8, flags);
    putLe32(out, 12, static_cast<std::uint32_t>(picture.height));
    putLe32(out, 16, static_cast<std::uint32_t>(picture.width));
    putLe32(out, 20,
            static_cast<std::uint32_t>(dxt3 ? dxt3LevelSize(picture.width, picture.height)
                                            : static_cast<std::size_t>(picture.width) * 4));
    putLe32(out, 28, static_cast<std::uint32_t>(levels));
    putLe32(out, 76, 32);
    if (dxt3) {
        putLe32(out, 80, 0x4);
        putLe32(out, 84, kFourCcDxt3);
    } else {
        putLe32(out, 80, 0x41);
        putLe32(out, 88, 32);
        putLe32(out, 92, 0x00FF0000);
        putLe32(out, 96, 0x0000FF00);
        putLe32(out, 100, 0x000000FF);
        putLe32(out, 104, 0xFF000000);
    }
    putLe32(out, 108, levels > 1 ? 0x1000 | 0x8 | 0x400000 : 0x1000);
    return out;
}

} // namespace

std::size_t encodedTextureSize(int width, int height, TextureContainer container,
                               const TextureOptions& options) {
    assert(width >= 1 && height >= 1);
    const int levels = options.mipmaps ? floorLog2(std::max(width, height)) + 1 : 1;
    return headerSize(container) + chainSize(options.format, width, height, levels);
}

std::vector<std::uint8_t> encodeTexture(const RgbaImage& image, TextureContainer container,
                                        const TextureOptions& options) {
    assert(image.width >= 1 && image.height >= 1);
    const LevelSource source{image.width, image.height, &image, nullptr};
    return container == TextureContainer::Dds ? encodeDds(source, options) : encodeFsBitmap(source, options);
}

std::vector<std::uint8_t> encodeArgb32Texture(int width, int height, const BgraRows& rows,
                                              TextureContainer container) {
    assert(width >= 1 && height >= 1);
    const LevelSource source{width, height, nullptr, &rows};
    TextureOptions options;
    options.format = TextureFormat::Argb32;
    return container == TextureContainer::Dds ? encodeDds(source, options) : encodeFsBitmap(source, options);
}

std::string describe(TextureContainer container) {
    return container == TextureContainer::Dds ? "DDS" : "simulator bitmap (BMP with FS70 block)";
}

std::string describe(TextureFormat format) {
    return format == TextureFormat::Dxt3 ? "DXT3" : "32-bit BGRA";
}

} // namespace livrano
