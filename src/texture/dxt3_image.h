// SPDX-License-Identifier: MIT
#pragma once
// A whole picture as DXT3 blocks (decompressDxt reads them back). Blocks are stored row by row,
// ceil(width / 4) per row, in the picture's own row order (the caller decides which way up). Edge
// blocks of a picture whose sides are not multiples of 4 repeat the last column and row.

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "texture/dxt3_block.h"
#include "texture/rgba_image.h"

namespace livrano {

// Bytes of one level: max(1, ceil(w/4)) * max(1, ceil(h/4)) * 16.
std::size_t dxt3LevelSize(int width, int height);

// Which of the picture's rows the first row of blocks starts with: the top one, or the bottom one
// (the rows then taken upwards, as files stored bottom-up hold them).
enum class RowOrder { TopDown, BottomUp };

// Encodes into `out` (dxt3LevelSize bytes) on `threads` threads (0: one per core), each taking the
// next row of blocks not yet taken. When the system refuses to start a thread, the others (the
// calling thread at least) encode its rows: the result is the same and nothing is thrown.
// Precondition: width and height at least 1.
void compressDxt3(const RgbaImage& image, RowOrder order, ColourBlockEncoder encoder, unsigned threads,
                  std::uint8_t* out);

// The same, top-down, into a new buffer.
std::vector<std::uint8_t> compressDxt3(const RgbaImage& image, ColourBlockEncoder encoder,
                                       unsigned threads = 0);

} // namespace livrano
