// SPDX-License-Identifier: MIT
#pragma once
// Reads the texture files aircraft come with into the RGBA picture the pipeline uses: BMP files
// (whatever the BMP reader takes, and DXT1, DXT3 or DXT5 blocks under the FourCC in the
// compression field), with or without the simulator's FS70 block, and DDS files (DXT1, DXT3, DXT5,
// uncompressed 16, 24 and 32-bit pixels described by masks), with or without mipmaps. The largest
// level is decoded; every level the header announces must be present.

#include <cstdint>
#include <span>
#include <string>

#include "app/status.h"
#include "texture/bmp_reader.h"
#include "texture/rgba_image.h"
#include "texture/texture_file.h"

namespace livrano {

struct DecodedTexture {
    TextureContainer container = TextureContainer::FsBitmap; // FsBitmap: any BMP
    bool fs70Block = false;
    std::string format; // how the pixels are stored, as a painter reads it: "DXT1", "16-bit ARGB 1555"...
    int width = 0;      // as the header states
    int height = 0;
    int levels = 1;
    RgbaImage image; // the largest level, top-down
};

// The picture in `file`. Refused, with the reason in the message, when the bytes are not such a
// texture, contradict themselves, are cut short or describe a picture beyond the limits; nothing
// outside `file` is read. Then `out` keeps what its header told (width 0 when not even that) and
// an empty image.
Status decodeTexture(std::span<const std::uint8_t> file, DecodedTexture& out, const BmpLimits& limits = {});

// "DDS", "BMP", or describe(FsBitmap) for a BMP with the FS70 block.
std::string describeContainer(const DecodedTexture& texture);

} // namespace livrano
