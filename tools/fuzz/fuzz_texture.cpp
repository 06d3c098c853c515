// SPDX-License-Identifier: MIT
// libFuzzer target for the texture reader behind "livrano-cli inspect", and so for every decoder
// it dispatches to: BMP (uncompressed, or DXT1, DXT3 or DXT5 blocks, with or without the FS70
// block) and DDS (DXT blocks or masked pixels). Any bytes must give a refusal with a reason and no
// picture, or a picture of the size the header states, without reading outside the input.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "texture/texture_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace livrano;
    // Small limits keep each input fast; the checks on sizes are the same at any limit.
    const BmpLimits limits{1024, 1 << 18};
    DecodedTexture texture;
    const Status status = decodeTexture(std::span<const std::uint8_t>(data, size), texture, limits);
    if (!status) {
        if (status.message().empty() || !texture.image.rgba.empty())
            std::abort();
        return 0;
    }
    const std::size_t pixels =
        static_cast<std::size_t>(texture.width) * static_cast<std::size_t>(texture.height);
    if (texture.image.width != texture.width || texture.image.height != texture.height || texture.width < 1 ||
        texture.height < 1 || pixels > static_cast<std::size_t>(limits.maxPixels) ||
        texture.image.rgba.size() != pixels * 4 || texture.levels < 1 || texture.levels > 11 ||
        texture.format.empty())
        std::abort();
    return 0;
}
