// SPDX-License-Identifier: MIT
#include "texture/dxt3_image.h"

#include <algorithm>
#include <atomic>
#include <cassert>

#include "texture/worker_threads.h"

namespace livrano {

namespace {

std::size_t blocksAcross(int width) {
    return std::max<std::size_t>(1, (static_cast<std::size_t>(width) + 3) / 4);
}

// Encodes rows of blocks, taking the next row not yet taken until none is left: a thread slowed
// by other work (the next texture's composition, another program) leaves more rows to the others.
void encodeBlockRows(const RgbaImage& image, RowOrder order, ColourBlockEncoder encoder,
                     std::atomic<std::size_t>& nextRow, std::uint8_t* out) {
    const std::size_t across = blocksAcross(image.width);
    const std::size_t rows = blocksAcross(image.height);
    // Texel row r of the stored picture is the image's row r or, bottom-up, its row height-1-r;
    // rows past the stored picture's end repeat its last one.
    auto imageRow = [&](std::size_t r) {
        const int stored = std::min(static_cast<int>(r), image.height - 1);
        return order == RowOrder::TopDown ? stored : image.height - 1 - stored;
    };
    std::uint8_t texels[64];
    for (std::size_t by = nextRow++; by < rows; by = nextRow++) {
        const std::uint8_t* rowStart[4];
        for (std::size_t row = 0; row < 4; ++row)
            rowStart[row] = image.pixel(0, imageRow(by * 4 + row));
        for (std::size_t bx = 0; bx < across; ++bx) {
            if (static_cast<int>(bx * 4 + 4) <= image.width) {
                for (std::size_t row = 0; row < 4; ++row)
                    std::copy_n(rowStart[row] + bx * 16, 16, texels + row * 16);
            } else {
                for (std::size_t i = 0; i < 16; ++i) {
                    const std::size_t x = std::min(bx * 4 + i % 4, static_cast<std::size_t>(image.width - 1));
                    std::copy_n(rowStart[i / 4] + x * 4, 4, texels + i * 4);
                }
            }
            encodeDxt3Block(texels, out + (by * across + bx) * 16, encoder);
        }
    }
}

} // namespace

std::size_t dxt3LevelSize(int width, int height) {
    return blocksAcross(width) * blocksAcross(height) * 16;
}

void compressDxt3(const RgbaImage& image, RowOrder order, ColourBlockEncoder encoder, unsigned threads,
                  std::uint8_t* out) {
    assert(image.width >= 1 && image.height >= 1);
    std::atomic<std::size_t> nextRow{0};
    runOnThreads(threads, blocksAcross(image.height),
                 [&] { encodeBlockRows(image, order, encoder, nextRow, out); });
}

std::vector<std::uint8_t> compressDxt3(const RgbaImage& image, ColourBlockEncoder encoder, unsigned threads) {
    std::vector<std::uint8_t> out(dxt3LevelSize(image.width, image.height));
    compressDxt3(image, RowOrder::TopDown, encoder, threads, out.data());
    return out;
}

} // namespace livrano
