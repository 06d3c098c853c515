// SPDX-License-Identifier: MIT
#include "texture/stretch.h"

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <vector>

#include "texture/worker_threads.h"

namespace livrano {

namespace {

// A half-open run of pixels along one axis.
struct Range {
    std::int64_t lo = 0;
    std::int64_t hi = 0;
    bool empty() const { return lo >= hi; }
};

Range intersect(Range a, Range b) {
    return Range{std::max(a.lo, b.lo), std::min(a.hi, b.hi)};
}
Range ordered(std::int64_t a, std::int64_t b) {
    return Range{std::min(a, b), std::max(a, b)};
}

// The pixels a rectangle covers along one axis. A negative extent counts back from the origin,
// which it includes: x, x - 1, ..., x + extent + 1.
Range covered(std::int64_t origin, std::int64_t extent) {
    return extent < 0 ? Range{origin + extent + 1, origin + 1} : Range{origin, origin + extent};
}

// One axis of a copy: origin and signed extent on each bitmap, and what of each is visible (the
// rectangle's pixels inside its bitmap).
struct Axis {
    std::int64_t d, dExtent, s, sExtent;
    Range dVisible, sVisible;
};

Axis axis(int d, int dExtent, int dLimit, int s, int sExtent, int sLimit) {
    Axis a{d, dExtent, s, sExtent, {}, {}};
    a.dVisible = intersect(covered(d, dExtent), Range{0, dLimit});
    a.sVisible = intersect(covered(s, sExtent), Range{0, sLimit});
    return a;
}

// The source pixels feeding one destination pixel: [first, last).
struct Span {
    int dest = 0;
    int first = 0;
    int last = 0;
};

// A copy whose source is mirrored against its destination and reaches past its bitmap moves the
// destination: what is visible of the source lands where an unmirrored copy would put it, though
// still mirrored. That is the platform's rule, its test of reach included (a mirrored source
// counts as past the far edge only from two pixels beyond it), and templates laid out on Windows
// rely on where it puts those pixels.
void shiftClippedMirror(Axis& a) {
    const bool reaches = a.sExtent < 0 ? a.s + a.sExtent + 1 < a.sVisible.lo || a.s > a.sVisible.hi
                                       : a.s < a.sVisible.lo || a.s + a.sExtent > a.sVisible.hi;
    if ((a.sExtent < 0) == (a.dExtent < 0) || !reaches)
        return;
    // Where the visible source lands in the mirrored copy, from the destination's origin.
    const std::int64_t sBase = a.s + (a.sExtent < 0 ? 1 : 0);
    const Range r = ordered((a.sVisible.lo - sBase) * a.dExtent / a.sExtent,
                            (a.sVisible.hi - sBase) * a.dExtent / a.sExtent);
    a.d += a.dExtent - r.lo - r.hi;
}

// The indices i along a line of `length` steps from `origin` in direction `step` whose pixel
// origin + i * step lies in `visible`.
Range stepsInside(std::int64_t origin, int step, std::int64_t length, Range visible) {
    const Range steps = step > 0 ? Range{visible.lo - origin, visible.hi - origin}
                                 : Range{origin - visible.hi + 1, origin - visible.lo + 1};
    return intersect(steps, Range{0, length});
}

// Pairs source and destination pixels along one axis as the platform's midpoint line does. The
// longer of the two extents is stepped one pixel at a time; step i of it meets pixel
// floor(((2i + 1) * shorter - 1) / (2 * longer)) of the other, the pixel under the centre of
// pixel i with exact halves rounded down. Enlarging thus repeats source pixels; shrinking sends
// runs of source pixels into one destination pixel, which ANDs them. Pairs outside either
// visible range are left out, so a destination pixel may lose part of its run or get none.
std::vector<Span> pairPixels(const Axis& a) {
    const std::int64_t dLength = a.dExtent < 0 ? -a.dExtent : a.dExtent;
    const std::int64_t sLength = a.sExtent < 0 ? -a.sExtent : a.sExtent;
    const int dStep = a.dExtent < 0 ? -1 : 1;
    const int sStep = a.sExtent < 0 ? -1 : 1;
    std::vector<Span> spans;
    if (sLength > dLength) {
        const Range steps = stepsInside(a.s, sStep, sLength, a.sVisible);
        for (std::int64_t i = steps.lo; i < steps.hi; ++i) {
            const std::int64_t dest = a.d + dStep * (((2 * i + 1) * dLength - 1) / (2 * sLength));
            if (dest < a.dVisible.lo || dest >= a.dVisible.hi)
                continue;
            const int src = static_cast<int>(a.s + sStep * i);
            if (!spans.empty() && spans.back().dest == dest) {
                spans.back().first = std::min(spans.back().first, src);
                spans.back().last = std::max(spans.back().last, src + 1);
            } else {
                spans.push_back(Span{static_cast<int>(dest), src, src + 1});
            }
        }
    } else {
        const Range steps = stepsInside(a.d, dStep, dLength, a.dVisible);
        for (std::int64_t i = steps.lo; i < steps.hi; ++i) {
            const std::int64_t src = a.s + sStep * (((2 * i + 1) * sLength - 1) / (2 * dLength));
            if (src >= a.sVisible.lo && src < a.sVisible.hi)
                spans.push_back(Span{static_cast<int>(a.d + dStep * i), static_cast<int>(src),
                                     static_cast<int>(src + 1)});
        }
    }
    return spans;
}

} // namespace

bool stretchRect(Bitmap& dst, int dx, int dy, int dw, int dh, const Bitmap& src, int sx, int sy, int sw,
                 int sh, unsigned threads) {
    if (dst.empty() || src.empty() || dst.bytesPerPixel != src.bytesPerPixel)
        return false;
    Axis x = axis(dx, dw, dst.width, sx, sw, src.width);
    Axis y = axis(dy, dh, dst.height, sy, sh, src.height);
    if (x.dVisible.empty() || x.sVisible.empty() || y.dVisible.empty() || y.sVisible.empty())
        return true;
    shiftClippedMirror(x);
    shiftClippedMirror(y);
    // A destination one pixel wide reads one source pixel fewer than asked (likewise heights): the
    // platform's own adjustment, made after the shift.
    for (Axis* a : {&x, &y})
        if (a->dExtent == 1 && a->sExtent > 1)
            --a->sExtent;
    const std::vector<Span> columns = pairPixels(x);
    const std::vector<Span> rows = pairPixels(y);
    const std::size_t bpp = static_cast<std::size_t>(dst.bytesPerPixel);
    // Columns copied one to one, left to right, without gaps: such a row is one block copy.
    bool plainColumns = !columns.empty();
    for (std::size_t k = 0; k < columns.size() && plainColumns; ++k)
        plainColumns = columns[k].last - columns[k].first == 1 &&
                       columns[k].dest == columns[0].dest + static_cast<int>(k) &&
                       columns[k].first == columns[0].first + static_cast<int>(k);
    auto copyRow = [&](const Span& row) {
        std::uint8_t* out = dst.row(row.dest);
        const bool singleRow = row.last - row.first == 1;
        if (singleRow && plainColumns) {
            std::copy_n(src.row(row.first) + static_cast<std::size_t>(columns[0].first) * bpp,
                        columns.size() * bpp, out + static_cast<std::size_t>(columns[0].dest) * bpp);
            return;
        }
        std::uint8_t acc[4];
        for (const Span& column : columns) {
            std::uint8_t* target = out + static_cast<std::size_t>(column.dest) * bpp;
            if (singleRow && column.last - column.first == 1) { // nothing dropped: a plain copy
                std::copy_n(src.row(row.first) + static_cast<std::size_t>(column.first) * bpp, bpp, target);
                continue;
            }
            std::fill(acc, acc + bpp, std::uint8_t{0xFF});
            for (int y0 = row.first; y0 < row.last; ++y0) {
                const std::uint8_t* in = src.row(y0);
                for (int x0 = column.first; x0 < column.last; ++x0)
                    for (std::size_t b = 0; b < bpp; ++b)
                        acc[b] &= in[static_cast<std::size_t>(x0) * bpp + b];
            }
            std::copy(acc, acc + bpp, target);
        }
    };
    if (threads == 1) {
        for (const Span& row : rows)
            copyRow(row);
        return true;
    }
    // Every destination row is written once, from source rows only: rows may go to any thread.
    constexpr std::size_t kRowsPerPart = 16;
    const std::size_t parts = (rows.size() + kRowsPerPart - 1) / kRowsPerPart;
    std::atomic<std::size_t> nextPart{0};
    runOnThreads(threads, parts, [&] {
        for (std::size_t part = nextPart++; part < parts; part = nextPart++)
            for (std::size_t r = part * kRowsPerPart; r < std::min(rows.size(), (part + 1) * kRowsPerPart);
                 ++r)
                copyRow(rows[r]);
    });
    return true;
}

} // namespace livrano
