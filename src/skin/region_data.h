// SPDX-License-Identifier: MIT
#pragma once
// Window shapes as region data files: the bytes of the Windows RGNDATA structure with nothing
// before or after it, so that the same files serve the program on every platform.
//
//   0  dwSize   32        16  rcBound left, top, right, bottom (signed, right/bottom exclusive)
//   4  iType    1         32  nCount rectangles of left, top, right, bottom
//   8  nCount             every integer 32-bit little-endian
//  12  nRgnSize 16 * nCount (readers also accept 0)

#include <QByteArray>
#include <QRegion>

#include <optional>

namespace livrano {

inline constexpr int kRgnHeaderSize = 32;
inline constexpr int kRgnRectSize = 16;

// The region's rectangles in their banded order (top to bottom, left to right within a band).
QByteArray regionToRgnData(const QRegion& region);

// The region described by data; nullopt when the bytes are not a well-formed RGNDATA structure
// (short, wrong header values, a length that disagrees with nCount, a rectangle with its right
// or bottom before its left or top).
std::optional<QRegion> regionFromRgnData(const QByteArray& data);

} // namespace livrano
