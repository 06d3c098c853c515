// SPDX-License-Identifier: MIT
// libFuzzer target for the texture-file reader behind "livrano-cli inspect": any bytes must give
// an error or a picture of the size the header states, without reading outside the input.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "texture/texture_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace livrano;
    // Headers may announce pictures of up to 32768 x 32768; only inputs holding the pixels decode,
    // so the sizes the fuzzer reaches stay bounded by its input length.
    DecodedTexture texture;
    if (!decodeTexture(std::span<const std::uint8_t>(data, size), texture))
        return 0;
    const std::size_t pixels =
        static_cast<std::size_t>(texture.image.width) * static_cast<std::size_t>(texture.image.height);
    if (texture.image.rgba.size() != pixels * 4 || texture.levels < 1)
        std::abort();
    return 0;
}
