// SPDX-License-Identifier: MIT
#pragma once
// Texture files in the formats aircraft makers ship and Livrano never writes, for the demo's
// aircraft without a configuration: DXT1 and DXT5 blocks in the simulator's bitmap (the FourCC in
// the compression field, bit count 16, the 20-byte FS70 block at 54, the blocks bottom-up from
// offset 74) or in a DDS file (top-down), 16-bit 565 BMPs with bit fields, and 8-bit palettised
// BMPs. texture_reader.h reads them all back.
//
// The block encoders are plain, not tuned: a block of one colour takes the pair of 5:6:5 end
// points whose blend (as the decoder divides it) comes nearest that colour, at most 1 off in each
// channel; any other block takes its two texels farthest apart as end points, and each texel the
// nearest entry of the palette the decoder makes of them.

#include <cstdint>
#include <vector>

#include "texture/rgba_image.h"

namespace livrano {

enum class DemoTextureStorage {
    Dxt1Bitmap,       // DXT1 in the simulator's bitmap
    Dxt5Bitmap,       // DXT5 in the simulator's bitmap
    Dxt1Dds,          // DXT1 in a DDS file
    Dxt5Dds,          // DXT5 in a DDS file
    Rgb565Bitmap,     // BMP, 16 bits, bit fields F800 07E0 001F; alpha dropped
    PalettisedBitmap, // BMP, 8 bits and a colour table; alpha dropped
};

// rgba: 16 texels of red, green, blue, alpha, row by row (64 bytes). block: 8 bytes out. Texels
// whose alpha is below 128 are transparent (a three-colour block), the others opaque.
void encodeDxt1Block(const std::uint8_t* rgba, std::uint8_t* block);

// rgba as above. block: 16 bytes out: alpha in eight levels between the block's lowest and
// highest (exact where the block has one or two levels), then a four-colour block.
void encodeDxt5Block(const std::uint8_t* rgba, std::uint8_t* block);

// The file's bytes for a top-down picture. A palettised file holds the picture's first 256
// colours; any further colour takes the nearest of them. Precondition: width and height at
// least 1 (edge blocks repeat the last column and row).
std::vector<std::uint8_t> encodeDemoTexture(const RgbaImage& image, DemoTextureStorage storage);

} // namespace livrano
