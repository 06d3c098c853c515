#pragma once
// The one scaler of the texture pipeline: copies a rectangle of one bitmap onto a rectangle of
// another of the same pixel size, the way the program's templates have always been cut.
//
// - Enlarging repeats source pixels.
// - Shrinking keeps one source pixel per destination pixel and ANDs into it, byte by byte, the
//   source pixels it drops (per colour byte for colour, per index for indexed pictures).
// - A negative width or height mirrors that rectangle along its axis; when both rectangles are
//   mirrored the copy is upright again.
// - Parts of either rectangle outside its bitmap are clipped: destination pixels outside are not
//   written, source pixels outside are not read.

#include "texture/bitmap.h"

namespace livrano {

// Rectangles are x, y, width, height in pixels from the top-left corner, y downwards; a rectangle
// with a negative width w covers the columns x + w .. x - 1 (likewise for heights). Returns false
// when either bitmap is empty or their pixel sizes differ; true otherwise, even when nothing lay
// inside the bitmaps.
bool stretchRect(Bitmap& dst, int dx, int dy, int dw, int dh, const Bitmap& src, int sx, int sy, int sw,
                 int sh);

} // namespace livrano
