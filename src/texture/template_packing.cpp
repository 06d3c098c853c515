// SPDX-License-Identifier: MIT
#include "texture/template_packing.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <numeric>
#include <tuple>
#include <utility>

namespace livrano {
namespace {

// Skyline packing: the template is filled from the top down, and the skyline is the lowest
// filled row of each run of columns, left to right, covering the whole bin width. Each texture
// takes the highest place on it where it fits (the leftmost of equals). A texture is packed grown
// by the gutter on its right and below, in a bin one gutter wider than the template may be: grown
// textures that do not overlap are a gutter apart, and the gutters at the outer edges are cut off
// when the layout takes its size from the textures themselves.
struct Segment {
    int x = 0;
    int y = 0; // the first free row below this run of columns
    int width = 0;
};

struct Spot {
    std::size_t segment = 0; // the segment whose left edge the texture starts at
    int y = 0;
};

// The highest spot where a texture of `width` fits, leftmost of equals; the bin must be at least
// that wide. Each start is a segment's left edge; the segments a texture starting there spans
// move right as the start does, so a queue of the highest skylines of the window (kept in falling
// height) gives each start's resting row in constant time: linear in the segments.
Spot highestSpot(const std::vector<Segment>& skyline, int width, int binWidth,
                 std::vector<std::size_t>& queue) {
    queue.clear();
    std::size_t head = 0, next = 0;
    Spot best{0, -1};
    for (std::size_t start = 0; start < skyline.size(); ++start) {
        const int left = skyline[start].x;
        if (left + width > binWidth)
            break; // starts only move right
        while (next < skyline.size() && skyline[next].x < left + width) {
            while (queue.size() > head && skyline[queue.back()].y <= skyline[next].y)
                queue.pop_back();
            queue.push_back(next++);
        }
        while (queue[head] < start)
            ++head;
        const int y = skyline[queue[head]].y;
        if (best.y < 0 || y < best.y)
            best = {start, y};
    }
    assert(best.y >= 0);
    return best;
}

// Raises the skyline under a texture of `width` and `height` placed at `spot`.
void raise(std::vector<Segment>& skyline, const Spot& spot, int width, int height) {
    const int left = skyline[spot.segment].x, right = left + width;
    std::size_t end = spot.segment;
    while (end < skyline.size() && skyline[end].x + skyline[end].width <= right)
        ++end;
    if (end < skyline.size() && skyline[end].x < right) { // the last one is covered in part
        skyline[end].width -= right - skyline[end].x;
        skyline[end].x = right;
    }
    auto at =
        skyline.erase(skyline.begin() + std::ptrdiff_t(spot.segment), skyline.begin() + std::ptrdiff_t(end));
    at = skyline.insert(at, Segment{left, spot.y + height, width});
    // Neighbours of one height are one segment, so that a wide texture sees one flat run.
    if (at + 1 != skyline.end() && (at + 1)->y == at->y) {
        at->width += (at + 1)->width;
        skyline.erase(at + 1);
    }
    if (at != skyline.begin() && (at - 1)->y == at->y) {
        (at - 1)->width += at->width;
        skyline.erase(at);
    }
}

TemplateLayout packInto(const std::vector<std::pair<int, int>>& sizes, const std::vector<std::size_t>& order,
                        int gutter, int binWidth) {
    TemplateLayout layout;
    layout.places.resize(sizes.size());
    std::vector<Segment> skyline = {{0, 0, binWidth}};
    std::vector<std::size_t> queue;
    for (std::size_t i : order) {
        const auto [width, height] = sizes[i];
        const Spot spot = highestSpot(skyline, width + gutter, binWidth, queue);
        const int x = skyline[spot.segment].x;
        layout.places[i] = {x, spot.y, width, height};
        layout.width = std::max(layout.width, x + width);
        layout.height = std::max(layout.height, spot.y + height);
        raise(skyline, spot, width + gutter, height + gutter);
    }
    return layout;
}

// Bin widths worth trying: the widest texture's; around the square root of the grown textures'
// area, each both as it is and snapped down to the widths of the largest textures side by side
// (so that a row of equal textures fills the width exactly).
std::vector<int> candidateWidths(const std::vector<std::pair<int, int>>& sizes,
                                 const std::vector<std::size_t>& order, int gutter) {
    std::int64_t area = 0;
    int widest = 0;
    for (const auto& [width, height] : sizes) {
        area += std::int64_t(width + gutter) * (height + gutter);
        widest = std::max(widest, width + gutter);
    }
    std::vector<int> widths = {widest};
    const double side = std::sqrt(double(area));
    for (double factor : {0.75, 0.85, 1.0, 1.1, 1.25, 1.4, 1.6, 1.8, 2.0}) {
        const std::int64_t target = std::llround(side * factor);
        if (target <= widest)
            continue;
        widths.push_back(int(target));
        std::int64_t row = 0;
        for (std::size_t i : order) {
            if (row + sizes[i].first + gutter > target)
                break;
            row += sizes[i].first + gutter;
        }
        widths.push_back(int(std::max<std::int64_t>(row, widest)));
    }
    std::sort(widths.begin(), widths.end());
    widths.erase(std::unique(widths.begin(), widths.end()), widths.end());
    return widths;
}

// Whether layout `a` is a better template than `b`: not too long against one that is not, then the
// smaller area, the shorter long side, the lower.
bool better(const TemplateLayout& a, const TemplateLayout& b) {
    auto tooLong = [](const TemplateLayout& l) {
        return std::max(l.width, l.height) > 2 * std::int64_t(std::min(l.width, l.height));
    };
    const auto key = [&](const TemplateLayout& l) {
        return std::tuple(tooLong(l), std::int64_t(l.width) * l.height, std::max(l.width, l.height),
                          l.height);
    };
    return key(a) < key(b);
}

} // namespace

TemplateLayout packTemplate(const std::vector<std::pair<int, int>>& sizes, int gutter) {
    assert(gutter >= 0);
    assert(
        std::all_of(sizes.begin(), sizes.end(), [](const auto& s) { return s.first >= 1 && s.second >= 1; }));
    if (sizes.empty())
        return {};
    std::vector<std::size_t> order(sizes.size());
    std::iota(order.begin(), order.end(), std::size_t(0));
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        const std::int64_t areaA = std::int64_t(sizes[a].first) * sizes[a].second;
        const std::int64_t areaB = std::int64_t(sizes[b].first) * sizes[b].second;
        return areaA != areaB ? areaA > areaB : sizes[a].second > sizes[b].second;
    });
    TemplateLayout best;
    for (int binWidth : candidateWidths(sizes, order, gutter)) {
        TemplateLayout layout = packInto(sizes, order, gutter, binWidth);
        if (best.places.empty() || better(layout, best))
            best = std::move(layout);
    }
    return best;
}

} // namespace livrano
