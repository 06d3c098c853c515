// SPDX-License-Identifier: MIT
#pragma once
// The finished texture files: the simulator's extended bitmap (a BMP whose pixels are DXT3
// blocks or 32-bit BGRA, followed by an "FS70" block) and DDS, each with optional mipmaps.
//
// Extended bitmap, little-endian: "BM", file size, 0, pixel offset 74; a 40-byte info header
// (width, positive height, planes 1, bit count 16 for DXT3 / 32, compression "DXT3" / 0, image
// size of the top level); at 54 "FS70", length 20, a 32-bit word whose byte 63 is 4, 0 (16 bits),
// the mip flag (log2 of the largest side when mipmaps follow, else 0; 16 bits), 0 (32 bits).
// Levels follow each other from offset 74, rows bottom-up like any BMP. DDS rows are top-down.
// texture_reader.h reads these files back, and the other layouts textures come in.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "texture/dxt3_block.h"
#include "texture/dxt3_encoder.h"
#include "texture/rgba_image.h"

namespace livrano {

enum class TextureFormat { Dxt3, Argb32 };
enum class TextureContainer { FsBitmap, Dds };

struct TextureOptions {
    TextureFormat format = TextureFormat::Dxt3;
    bool mipmaps = false;
    ColourBlockEncoder encoder = encodeColourBlock; // the colour halves of DXT3 blocks
    unsigned threads = 0;                           // 0: one per core
};

// The file's bytes for a top-down image. Precondition: width and height at least 1.
std::vector<std::uint8_t> encodeTexture(const RgbaImage& image, TextureContainer container,
                                        const TextureOptions& options);

// Fills `bgra` with row y of a picture (rows top-down) as a 32-bit texture stores it: blue, green,
// red, alpha, width * 4 bytes.
using BgraRows = std::function<void(int y, std::uint8_t* bgra)>;

// The file of a 32-bit texture without mipmaps, its rows made straight into the file's bytes, so
// that no picture of the whole is made first: encodeTexture's bytes for the picture of these
// rows. Precondition: width and height at least 1.
std::vector<std::uint8_t> encodeArgb32Texture(int width, int height, const BgraRows& rows,
                                              TextureContainer container);

// The size of the file encodeTexture writes for a picture of width x height (at least 1 x 1).
std::size_t encodedTextureSize(int width, int height, TextureContainer container,
                               const TextureOptions& options);

// How the container and the format are named to the painter (livrano-cli inspect and convert).
std::string describe(TextureContainer container);
std::string describe(TextureFormat format);

} // namespace livrano
