// SPDX-License-Identifier: MIT
#pragma once
// A paint kit's guide: a transparent picture the size of the template with each texture's place
// outlined and named, for the painter to lay over the template as a layer of its own.

#include <cstdint>
#include <string>
#include <vector>

#include "app/status.h"
#include "texture/bitmap_font.h"

namespace livrano {

// A texture's place on the template and its name (Windows-1252 bytes: a byte outside printable
// ASCII draws as a box).
struct GuideBox {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    std::string name;
};

inline constexpr Rgba8 kGuideOutline = {255, 0, 255, 255}; // magenta: rare in paint
inline constexpr Rgba8 kGuideBacking = {0, 0, 0, 255};     // behind the name, so it reads over any paint
inline constexpr Rgba8 kGuideLettering = {255, 255, 255, 255};

// How a box is drawn: its outline's width (2 px, 1 for a box narrower or lower than 8 px) inside
// its edge; its name at `scale` (the box's width / 256, from 1 to 8) in kGuideLettering, on a
// kGuideBacking rectangle reaching `scale` px beyond the text on every side, at the top-left
// corner inside the outline; text and backing cut at the outline's inner edge.
struct GuideBoxLook {
    int outline = 0;
    int scale = 0;
    PixelRect interior; // inside the outline
    PixelRect backing;  // empty for an empty name
};
GuideBoxLook guideBoxLook(const GuideBox& box);

// The guide as a PNG (RGBA, 8 bits a channel, zlib level `zlibLevel`, 0 to 9) of width x height
// (each >= 1), transparent but for each box as guideBoxLook says, later boxes over earlier ones,
// all cut at the picture's edges; a box without width or height draws nothing. Made a row at a
// time: beside the PNG's bytes it holds one row, whatever the size. On failure (libpng refuses
// the picture: a side beyond its 1,000,000 px; memory runs out) `png` is empty and the status
// says why.
Status encodeGuidePng(int width, int height, const std::vector<GuideBox>& boxes, int zlibLevel,
                      std::vector<std::uint8_t>& png);

} // namespace livrano
