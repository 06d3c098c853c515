#pragma once
// BMP files in every layout the reader accepts, written independently of the program's own
// writer so that each decodes back to a known picture.

#include <cstdint>
#include <vector>

#include "texture/bitmap.h"

namespace livrano::testing {

enum class BmpCompression { Rgb, Rle8, Rle4, BitFields };

struct BmpVariant {
    const char* name;
    int headerSize; // 12, 40, 52, 56, 108 or 124
    int bitCount;   // 1, 4, 8, 16, 24 or 32
    BmpCompression compression;
    bool topDown;
    bool shortTable; // colour table of only the colours used, with the count in the header
};

// The variants the reader must accept.
std::vector<BmpVariant> allBmpVariants();

// An indexed picture with `colours` colours (at most 16) whose channels survive 5-bit and 6-bit
// quantisation exactly, so every variant can hold it without loss.
Bitmap variantPicture(int width, int height, int colours);

// The picture in the variant's layout. Precondition: the picture's indices fit the bit count.
std::vector<std::uint8_t> makeBmp(const Bitmap& picture, const BmpVariant& variant);

} // namespace livrano::testing
