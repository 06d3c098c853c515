// SPDX-License-Identifier: MIT
#pragma once
// The one scaler of the texture pipeline: copies a rectangle of one bitmap onto a rectangle of
// another of the same pixel size. It draws the pixels the platform's StretchBlt draws in its
// default mode (BLACKONWHITE), because the program's templates were laid out against those.
//
// - Rectangles are x, y, width, height, y downwards. A negative width covers the columns x,
//   x - 1, ..., x + width + 1 (it includes its anchor) and mirrors the copy along that axis;
//   likewise heights. Mirrored on both rectangles, an axis is upright again.
// - Along each axis pixels are paired as on a line from one rectangle's corner to the other's,
//   stepped along the longer extent: a destination pixel takes the source pixel under its centre
//   when enlarging, and when shrinking the run of source pixels whose centres fall in it, ANDed
//   byte by byte (per colour byte for colour, per index for indexed pictures).
// - Pixels of either rectangle outside its bitmap are neither written nor read; a destination
//   pixel whose whole run lies outside keeps what it held. As on the platform, a source mirrored
//   against its destination that reaches past its bitmap puts what is visible where an
//   unmirrored copy would, and a destination one pixel wide (high) reads one source pixel fewer.

#include "texture/bitmap.h"

namespace livrano {

// Returns false when either bitmap is empty or their pixel sizes differ; true otherwise, even when
// nothing lay inside the bitmaps (the platform reports some such copies as failures; a copy that
// draws nothing is not one here). The rows are shared out over `threads` threads (0: one per
// core); the pixels drawn are the same whatever their number.
bool stretchRect(Bitmap& dst, int dx, int dy, int dw, int dh, const Bitmap& src, int sx, int sy, int sw,
                 int sh, unsigned threads = 1);

} // namespace livrano
