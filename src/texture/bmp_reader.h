// SPDX-License-Identifier: MIT
#pragma once
// Reads the BMP files a paint program writes: 1, 4, 8, 16, 24 and 32 bits per pixel, uncompressed,
// RLE8, RLE4 and bit-field masks, bottom-up and top-down rows, the 12-byte OS/2 header and the
// 40, 52, 56, 108 and 124-byte Windows headers.
//
// A file that is truncated, contradicts itself or describes a picture beyond the limits is
// refused as a whole: the reader never reads outside the bytes it was given and never returns
// half a picture.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <span>
#include <string>

#include "texture/bitmap.h"
#include "texture/pixel_masks.h"

namespace livrano {

struct BmpLimits {
    int maxSide = 16384;                         // width and height each
    std::int64_t maxPixels = 64LL * 1024 * 1024; // width * height: 192 MB as colour
};

// How a file stores its pixels.
struct BmpLayout {
    unsigned bitCount = 0;
    bool runLength = false;
    bool fs70Block = false; // see hasFs70Block
    PixelMasks masks;       // 16, 24 and 32 bits; alpha 0 when the picture has none
};

// Whether the file is the simulator's bitmap: the 20-byte "FS70" block after a 40-byte header
// without bit-field masks (which would lie where it lies), before the pixels.
bool hasFs70Block(std::span<const std::uint8_t> file);

// 1, 4 and 8-bit files give an indexed Bitmap with the file's colour table (indices keep their
// values even where the table is shorter); every other depth gives blue-green-red colour, and the
// 16 and 32-bit ones their alpha: the header's alpha mask, else the bits above the colour masks
// (1555, 4444, 8888) where some pixel sets them or the file has the FS70 block. nullopt when the
// bytes are not a picture this reader accepts; then `fault`, when given, receives what is wrong,
// as a clause ("it is truncated", "its compression (3) does not go with its depth of 24 bits per
// pixel"...). `layout`, when given, receives how the pixels were stored.
std::optional<Bitmap> decodeBmp(std::span<const std::uint8_t> file, const BmpLimits& limits = {},
                                std::string* fault = nullptr, BmpLayout* layout = nullptr);

// decodeBmp of a whole file; nullopt also when the file cannot be read, and without reading it
// when it is larger than any picture within the limits can be (4 bytes a pixel and 1 MB).
std::optional<Bitmap> readBmpFile(const std::filesystem::path& path, const BmpLimits& limits = {},
                                  std::string* fault = nullptr);

// readBmpFile's picture, given to `use` while the file's bytes are held: the rows of uncompressed 8 and
// 24-bit files where the file holds them (no copy), any other kind decoded first. False, without
// calling `use`, when readBmpFile would give nullopt (`fault` as there).
bool withBmpFile(const std::filesystem::path& path, const std::function<void(const BitmapView&)>& use,
                 const BmpLimits& limits = {}, std::string* fault = nullptr);

} // namespace livrano
