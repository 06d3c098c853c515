// SPDX-License-Identifier: MIT
#pragma once
// Where each texture of a paint kit goes on its template: every texture at its own size, a gutter
// between any two, on a picture about as square as the textures allow.

#include <utility>
#include <vector>

namespace livrano {

// A texture's place on the template: its top-left corner and its own size.
struct PackedTexture {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    bool operator==(const PackedTexture&) const = default;
};

// The template's size and the place of each texture, in the order of the sizes packed. The size
// is the smallest that holds every place (some place touches the right edge, some the bottom);
// none when there are no textures.
struct TemplateLayout {
    int width = 0;
    int height = 0;
    std::vector<PackedTexture> places;
};

// Places every texture of `sizes` (width, height, each at least 1) unscaled and unrotated, at
// least `gutter` (>= 0) pixels from every other one in x or in y, none at the outer edges;
// largest first (by area, then the taller, then the earlier), the first at the top-left corner.
// Several template widths are tried (the widest texture, and around the square root of the
// textures' area with their gutters); the smallest layout no more than twice as long as it is
// wide (either way) is kept, or, when every one is longer, the smallest. The same sizes always
// give the same layout. Whether the template stays within what the template reader takes
// (BmpLimits) is the caller's to check. Quadratic in the number of textures.
TemplateLayout packTemplate(const std::vector<std::pair<int, int>>& sizes, int gutter);

} // namespace livrano
