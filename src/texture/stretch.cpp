#include "texture/stretch.h"

#include <algorithm>
#include <cstdint>
#include <vector>

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

// The source pixels feeding one destination pixel: [first, last).
struct Span {
    int dest = 0;
    int first = 0;
    int last = 0;
};

// A copy that stretches narrows what is visible the way the platform does before it draws: the
// visible source is mapped into the destination with truncating division and widened by a pixel
// either way, then the destination mapped back likewise. A source that is mirrored against its
// destination and reaches past its bitmap also shifts the destination, so that what is visible
// of the source lands where an unmirrored copy would put it; templates laid out on Windows rely
// on that placement. False when nothing stays visible.
bool narrowForStretch(Axis& a) {
    const std::int64_t sBase = a.s + (a.sExtent < 0 ? 1 : 0);
    const Range r = ordered((a.sVisible.lo - sBase) * a.dExtent / a.sExtent,
                            (a.sVisible.hi - sBase) * a.dExtent / a.sExtent);
    if (a.sExtent < 0 && a.dExtent > 0 && (a.s + a.sExtent + 1 < a.sVisible.lo || a.s > a.sVisible.hi))
        a.d += (a.dExtent - r.hi) - r.lo;
    else if (a.sExtent > 0 && a.dExtent < 0 && (a.s < a.sVisible.lo || a.s + a.sExtent > a.sVisible.hi))
        a.d -= r.hi - (a.dExtent - r.lo);
    a.dVisible = intersect(a.dVisible, Range{a.d + r.lo - 1, a.d + r.hi + 1});
    if (a.dVisible.empty())
        return false;
    const std::int64_t dBase = a.d + (a.dExtent < 0 ? 1 : 0);
    const Range back = ordered(a.s + (a.dVisible.lo - dBase) * a.sExtent / a.dExtent,
                               a.s + (a.dVisible.hi - dBase) * a.sExtent / a.dExtent);
    a.sVisible = intersect(a.sVisible, Range{back.lo - 1, back.hi + 1});
    return !a.sVisible.empty();
}

// A copy at the same size lines up what is visible of the two rectangles.
bool alignForCopy(Axis& a) {
    a.dVisible = intersect(a.dVisible, Range{a.sVisible.lo + a.d - a.s, a.sVisible.hi + a.d - a.s});
    a.sVisible = Range{a.dVisible.lo + a.s - a.d, a.dVisible.hi + a.s - a.d};
    return !a.dVisible.empty();
}

// A copy at the same size reads the visible destination's width from where the visible source
// begins, as the platform does. After the narrowing of a stretch (see stretchRect) that may start
// a pixel off the line and run past the visible source; pixels past the bitmap are left out.
std::vector<Span> copyPixels(const Axis& a, int srcLimit) {
    std::vector<Span> spans;
    for (std::int64_t k = 0; k < a.dVisible.hi - a.dVisible.lo && a.sVisible.lo + k < srcLimit; ++k) {
        const int src = static_cast<int>(a.sVisible.lo + k);
        spans.push_back(Span{static_cast<int>(a.dVisible.lo + k), src, src + 1});
    }
    return spans;
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
                 int sh) {
    if (dst.empty() || src.empty() || dst.bytesPerPixel != src.bytesPerPixel)
        return false;
    Axis x{dx,
           dw,
           sx,
           sw,
           intersect(covered(dx, dw), Range{0, dst.width}),
           intersect(covered(sx, sw), Range{0, src.width})};
    Axis y{dy,
           dh,
           sy,
           sh,
           intersect(covered(dy, dh), Range{0, dst.height}),
           intersect(covered(sy, sh), Range{0, src.height})};
    if (x.dVisible.empty() || x.sVisible.empty() || y.dVisible.empty() || y.sVisible.empty())
        return true;
    const bool stretching = dw != sw || dh != sh;
    if (stretching ? !narrowForStretch(x) || !narrowForStretch(y) : !alignForCopy(x) || !alignForCopy(y))
        return true;
    // A destination one pixel wide reads one source pixel fewer than asked: the platform's own
    // adjustment, made after the narrowing. When it leaves both extents equal the platform copies
    // at the same size from the narrowed ranges.
    for (Axis* a : {&x, &y})
        if (a->dExtent == 1 && a->sExtent > 1)
            --a->sExtent;
    const bool copying = x.dExtent == x.sExtent && y.dExtent == y.sExtent;
    const std::vector<Span> columns = copying ? copyPixels(x, src.width) : pairPixels(x);
    const std::vector<Span> rows = copying ? copyPixels(y, src.height) : pairPixels(y);
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
            for (int y0 = row.first; y0 < row.last; ++y0) {
                const std::uint8_t* in = src.row(y0);
                for (int x0 = column.first; x0 < column.last; ++x0)
                    for (std::size_t b = 0; b < bpp; ++b)
                        acc[b] &= in[static_cast<std::size_t>(x0) * bpp + b];
            }
            std::copy(acc, acc + bpp, target);
        }
    }
    return true;
}

} // namespace livrano
