// SPDX-License-Identifier: MIT
#pragma once
// The drag cursor: four arrows around the hotspot.

#include <QImage>
#include <QPoint>

namespace livrano::media {

inline constexpr QPoint kMoveCursorHotspot{16, 16};
// 32 x 32, white arrows with a navy outline on transparency.
QImage moveCursor();

} // namespace livrano::media
