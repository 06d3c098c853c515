// SPDX-License-Identifier: MIT
#include "skin/region_data.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "app/little_endian.h"

namespace livrano {
namespace {

std::vector<std::int32_t> words(const QByteArray& bytes) {
    std::vector<std::int32_t> out;
    for (qsizetype i = 0; i + 4 <= bytes.size(); i += 4)
        out.push_back(static_cast<std::int32_t>(readLe32(bytes, i)));
    return out;
}

QByteArray fromWords(const std::vector<std::int32_t>& values) {
    QByteArray out;
    for (const std::int32_t value : values)
        appendLe32(out, static_cast<std::uint32_t>(value));
    return out;
}

TEST(RegionData, BytesAreTheHeaderThenTheBandedRectangles) {
    // An L shape: a full band on top, then a narrower band below.
    const QRegion region = QRegion(-2, 0, 10, 3) + QRegion(-2, 3, 4, 2);
    EXPECT_EQ(words(regionToRgnData(region)),
              (std::vector<std::int32_t>{32, 1, 2, 32, -2, 0, 8, 5, -2, 0, 8, 3, -2, 3, 2, 5}));
    // Byte by byte once, so that the word readers above cannot hide a wrong byte order.
    EXPECT_EQ(regionToRgnData(QRegion()), QByteArray("\x20\0\0\0\1\0\0\0", 8) + QByteArray(24, '\0'));
}

TEST(RegionData, ReadsWhatItWritesAndAcceptsAZeroBufferSize) {
    const QRegion region = QRegion(0, 0, 800, 600) - QRegion(0, 0, 5, 1) - QRegion(790, 599, 10, 1);
    EXPECT_EQ(regionFromRgnData(regionToRgnData(region)), region);
    QByteArray zeroSize = regionToRgnData(region);
    zeroSize[12] = zeroSize[13] = 0;
    EXPECT_EQ(regionFromRgnData(zeroSize), region);
    // Rectangles in any order, overlapping, as the system's region builder takes them.
    const QByteArray loose = fromWords({32, 1, 2, 32, 0, 0, 0, 0, 5, 0, 9, 4, 0, 0, 6, 4});
    EXPECT_EQ(regionFromRgnData(loose), QRegion(0, 0, 9, 4));
}

TEST(RegionData, MalformedBytesAreRefused) {
    const QByteArray good = regionToRgnData(QRegion(0, 0, 8, 2) + QRegion(0, 2, 3, 2));
    for (qsizetype length = 0; length < good.size(); ++length)
        EXPECT_FALSE(regionFromRgnData(good.left(length))) << "length " << length;
    struct Case {
        const char* name;
        std::vector<std::int32_t> words;
    };
    const Case cases[] = {
        {"header size", {16, 1, 0, 0, 0, 0, 0, 0}},
        {"type", {32, 2, 0, 0, 0, 0, 0, 0}},
        {"count beyond the data", {32, 1, 2, 32, 0, 0, 1, 1, 0, 0, 1, 1}},
        {"huge count", {32, 1, -1, 0, 0, 0, 1, 1, 0, 0, 1, 1}},
        {"buffer size disagrees", {32, 1, 1, 8, 0, 0, 1, 1, 0, 0, 1, 1}},
        {"right before left", {32, 1, 1, 16, 0, 0, 1, 1, 5, 0, 4, 1}},
        {"bottom before top", {32, 1, 1, 16, 0, 0, 1, 1, 0, 5, 1, 4}},
        {"width beyond 32 bits", {32, 1, 1, 16, 0, 0, 1, 1, INT32_MIN, 0, INT32_MAX, 1}},
        {"trailing byte", {32, 1, 0, 0, 0, 0, 0, 0, 7}},
    };
    for (const Case& c : cases)
        EXPECT_FALSE(regionFromRgnData(fromWords(c.words))) << c.name;
}

} // namespace
} // namespace livrano
