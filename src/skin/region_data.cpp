// SPDX-License-Identifier: MIT
#include "skin/region_data.h"

#include <QRect>

#include <cstdint>

#include "app/little_endian.h"

namespace livrano {
namespace {

constexpr std::uint32_t kRdhRectangles = 1;

// Signed fields are written as their two's complement bits.
void putInt(QByteArray& out, std::int64_t value) {
    appendLe32(out, static_cast<std::uint32_t>(value));
}

std::int32_t getInt(const QByteArray& data, qsizetype offset) {
    return static_cast<std::int32_t>(readLe32(data, offset));
}

void putRect(QByteArray& out, const QRect& rect) {
    putInt(out, rect.left());
    putInt(out, rect.top());
    putInt(out, std::int64_t{rect.left()} + rect.width());
    putInt(out, std::int64_t{rect.top()} + rect.height());
}

} // namespace

QByteArray regionToRgnData(const QRegion& region) {
    const auto count = static_cast<qsizetype>(region.rectCount());
    QByteArray out;
    out.reserve(kRgnHeaderSize + kRgnRectSize * count);
    putInt(out, kRgnHeaderSize);
    putInt(out, kRdhRectangles);
    putInt(out, count);
    putInt(out, kRgnRectSize * count);
    if (region.isEmpty()) {
        putRect(out, QRect(0, 0, 0, 0));
    } else {
        putRect(out, region.boundingRect());
    }
    for (const QRect& rect : region) {
        putRect(out, rect);
    }
    return out;
}

std::optional<QRegion> regionFromRgnData(const QByteArray& data) {
    if (data.size() < kRgnHeaderSize || readLe32(data, 0) != kRgnHeaderSize ||
        readLe32(data, 4) != kRdhRectangles) {
        return std::nullopt;
    }
    const std::uint64_t count = readLe32(data, 8);
    const std::uint64_t bufferSize = readLe32(data, 12);
    const std::uint64_t expected = kRgnHeaderSize + kRgnRectSize * count;
    if (static_cast<std::uint64_t>(data.size()) != expected ||
        (bufferSize != 0 && bufferSize != kRgnRectSize * count)) {
        return std::nullopt;
    }
    // The rectangles may come in any order and may overlap, as the system's own region builder
    // allows; their union is the region.
    QRegion region;
    for (std::uint64_t i = 0; i < count; ++i) {
        const qsizetype at = kRgnHeaderSize + kRgnRectSize * static_cast<qsizetype>(i);
        const std::int64_t left = getInt(data, at);
        const std::int64_t top = getInt(data, at + 4);
        const std::int64_t right = getInt(data, at + 8);
        const std::int64_t bottom = getInt(data, at + 12);
        if (right < left || bottom < top || right - left > INT32_MAX || bottom - top > INT32_MAX) {
            return std::nullopt;
        }
        if (right > left && bottom > top) {
            region += QRect(static_cast<int>(left), static_cast<int>(top), static_cast<int>(right - left),
                            static_cast<int>(bottom - top));
        }
    }
    return region;
}

} // namespace livrano
