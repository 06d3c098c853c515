#include "texture/stretch.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace livrano {

namespace {

// The source span feeding one destination row or column: [first, last) in source pixels.
struct Span {
    int dest = 0;
    int first = 0;
    int last = 0;
};

// The pixel mapping, along one axis. Both rectangles are first put in ascending order; a
// mirrored pair (exactly one negative extent) counts destination pixels from the far end.
// Destination pixel k (0 <= k < D) of a D-pixel rectangle fed by an S-pixel source reads the
// source pixels floor(k*S/D) .. floor((k+1)*S/D) - 1, at least one: when enlarging (S < D) that
// is one pixel repeated, when shrinking it is the pixel kept plus those dropped after it.
// Destination pixels outside [0, dstLimit) are left out; source pixels outside [0, srcLimit)
// are cut off the span, and a destination pixel whose span is then empty is left out too.
std::vector<Span> mapAxis(std::int64_t d, std::int64_t dExtent, std::int64_t s, std::int64_t sExtent,
                          int dstLimit, int srcLimit) {
    const bool mirrored = (dExtent < 0) != (sExtent < 0);
    if (dExtent < 0) {
        d += dExtent;
        dExtent = -dExtent;
    }
    if (sExtent < 0) {
        s += sExtent;
        sExtent = -sExtent;
    }
    std::vector<Span> spans;
    if (dExtent == 0 || sExtent == 0)
        return spans;
    const std::int64_t kBegin = std::max<std::int64_t>(0, -d);
    const std::int64_t kEnd = std::min<std::int64_t>(dExtent, std::int64_t{dstLimit} - d);
    for (std::int64_t k = kBegin; k < kEnd; ++k) {
        const std::int64_t j = mirrored ? dExtent - 1 - k : k;
        std::int64_t first = j * sExtent / dExtent;
        std::int64_t last = std::max(first + 1, (j + 1) * sExtent / dExtent);
        first = std::max<std::int64_t>(s + first, 0);
        last = std::min<std::int64_t>(s + last, srcLimit);
        if (first < last)
            spans.push_back(Span{static_cast<int>(d + k), static_cast<int>(first), static_cast<int>(last)});
    }
    return spans;
}

} // namespace

bool stretchRect(Bitmap& dst, int dx, int dy, int dw, int dh, const Bitmap& src, int sx, int sy, int sw,
                 int sh) {
    if (dst.empty() || src.empty() || dst.bytesPerPixel != src.bytesPerPixel)
        return false;
    const std::vector<Span> columns = mapAxis(dx, dw, sx, sw, dst.width, src.width);
    const std::vector<Span> rows = mapAxis(dy, dh, sy, sh, dst.height, src.height);
    const std::size_t bpp = static_cast<std::size_t>(dst.bytesPerPixel);
    std::uint8_t acc[4];
    for (const Span& row : rows) {
        std::uint8_t* out = dst.row(row.dest);
        const bool singleRow = row.last - row.first == 1;
        for (const Span& column : columns) {
            std::uint8_t* target = out + static_cast<std::size_t>(column.dest) * bpp;
            if (singleRow && column.last - column.first == 1) { // nothing dropped: a plain copy
                std::copy_n(src.row(row.first) + static_cast<std::size_t>(column.first) * bpp, bpp, target);
                continue;
            }
            std::fill(acc, acc + bpp, std::uint8_t{0xFF});
            for (int y = row.first; y < row.last; ++y) {
                const std::uint8_t* in = src.row(y);
                for (int x = column.first; x < column.last; ++x)
                    for (std::size_t b = 0; b < bpp; ++b)
                        acc[b] &= in[static_cast<std::size_t>(x) * bpp + b];
            }
            std::copy(acc, acc + bpp, target);
        }
    }
    return true;
}

} // namespace livrano
