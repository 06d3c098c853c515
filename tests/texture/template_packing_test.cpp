// SPDX-License-Identifier: MIT
#include "texture/template_packing.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace livrano {
namespace {

using Sizes = std::vector<std::pair<int, int>>;

Sizes repeated(std::initializer_list<std::pair<int, std::pair<int, int>>> groups) {
    Sizes sizes;
    for (const auto& [count, size] : groups)
        sizes.insert(sizes.end(), std::size_t(count), size);
    return sizes;
}

// Each texture at its size, inside the picture, a gutter from every other (grown by the gutter
// right and below, no two overlap), the largest at the top-left, the picture no larger than its
// textures nor longer than twice its width, the same every time. The area bounds sit about a tenth
// above what the packer gives (mixed 1.14, no gutter 1.09, thin strips 1.21, seeded mixture 1.15,
// 1 px squares 0.94): the textures' shapes waste some room whatever the packing (two 512 px
// textures and a gutter do not fit beside one of 1024).
TEST(PackTemplate, EveryTextureAtItsSizeInsideAGutterApartOnACompactPicture) {
    Sizes mixture; // sides from 1 to 1024 px from a fixed seed, every fifth texture a thin strip
    std::mt19937 random(7);
    for (int i = 0; i < 200; ++i)
        mixture.emplace_back(1 + int(random() % 1024), i % 5 == 0 ? 1 + i % 7 : 1 + int(random() % 1024));
    const struct {
        std::string name;
        Sizes sizes;
        int gutter;
        double areaBound; // against the textures' area with a gutter right and below each
        std::pair<int, int> exactSize = {0, 0};
    } cases[] = {
        {"one texture", {{1024, 512}}, 8, 1.0, {1024, 512}},
        {"twelve 2048x2048", repeated({{12, {2048, 2048}}}), 16, 1.0, {4 * 2048 + 3 * 16, 3 * 2048 + 2 * 16}},
        {"mixed", repeated({{3, {1024, 1024}}, {5, {512, 256}}, {9, {64, 64}}, {4, {1, 1}}}), 8, 1.25},
        {"no gutter", repeated({{1, {1, 1}}, {5, {512, 256}}, {3, {1024, 1024}}, {9, {64, 64}}}), 0, 1.2},
        {"thin strips", repeated({{40, {8, 512}}, {40, {1024, 16}}, {20, {300, 3}}}), 4, 1.35},
        {"seeded mixture", mixture, 6, 1.25},
        {"1 px squares", repeated({{50, {1, 1}}}), 1, 1.0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const TemplateLayout layout = packTemplate(c.sizes, c.gutter);
        ASSERT_EQ(layout.places.size(), c.sizes.size());
        bool touchesRight = false, touchesBottom = false;
        double grown = 0;
        for (std::size_t i = 0; i < c.sizes.size(); ++i) {
            const PackedTexture& p = layout.places[i];
            EXPECT_EQ(std::pair(p.width, p.height), c.sizes[i]) << i;
            EXPECT_TRUE(p.x >= 0 && p.y >= 0 && p.x + p.width <= layout.width &&
                        p.y + p.height <= layout.height)
                << i;
            touchesRight |= p.x + p.width == layout.width;
            touchesBottom |= p.y + p.height == layout.height;
            grown += double(p.width + c.gutter) * (p.height + c.gutter);
            for (std::size_t j = 0; j < i; ++j) {
                const PackedTexture& q = layout.places[j];
                EXPECT_FALSE(p.x < q.x + q.width + c.gutter && q.x < p.x + p.width + c.gutter &&
                             p.y < q.y + q.height + c.gutter && q.y < p.y + p.height + c.gutter)
                    << j << " and " << i;
            }
        }
        EXPECT_TRUE(touchesRight && touchesBottom);
        const auto largest = std::max_element(c.sizes.begin(), c.sizes.end(), [](auto a, auto b) {
            return std::pair(std::int64_t(a.first) * a.second, a.second) <
                   std::pair(std::int64_t(b.first) * b.second, b.second);
        });
        const PackedTexture& first = layout.places[std::size_t(largest - c.sizes.begin())];
        EXPECT_EQ(std::pair(first.x, first.y), std::pair(0, 0));
        EXPECT_LE(double(layout.width) * layout.height / grown, c.areaBound)
            << layout.width << "x" << layout.height;
        EXPECT_LE(std::max(layout.width, layout.height), 2 * std::min(layout.width, layout.height));
        EXPECT_TRUE(c.exactSize.first == 0 || std::pair(layout.width, layout.height) == c.exactSize);
        EXPECT_TRUE(packTemplate(c.sizes, c.gutter).places == layout.places);
    }
    EXPECT_EQ(packTemplate({}, 8).width, 0);
}

} // namespace
} // namespace livrano
