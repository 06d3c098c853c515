// SPDX-License-Identifier: MIT
// libFuzzer target for the BMP reader: any bytes must give either nothing or a whole picture
// whose buffers (colour, table, alpha) match its size, without reading outside the input.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "texture/bmp_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace livrano;
    // Small limits keep each input fast; the checks on sizes are the same at any limit.
    const BmpLimits limits{1024, 1 << 18};
    const std::optional<Bitmap> picture = decodeBmp(std::span<const std::uint8_t>(data, size), limits);
    if (!picture)
        return 0;
    const std::size_t pixels =
        static_cast<std::size_t>(picture->width) * static_cast<std::size_t>(picture->height);
    if (picture->width < 1 || picture->height < 1 || picture->width > limits.maxSide ||
        picture->height > limits.maxSide || pixels > static_cast<std::size_t>(limits.maxPixels) ||
        picture->pixels.size() != pixels * static_cast<std::size_t>(picture->bytesPerPixel) ||
        picture->palette.size() > 256 || (!picture->alpha.empty() && picture->alpha.size() != pixels))
        std::abort();
    // What the template loader does next with a picture must hold up too.
    if (greyLevels(*picture).size() != pixels || toColour(*picture).pixels.size() != pixels * 3)
        std::abort();
    return 0;
}
