// SPDX-License-Identifier: MIT
#pragma once
// The program's icon: a white aircraft seen from above over a painted stripe on a blue tile. One
// set of shapes gives both the scalable SVG and the bitmaps the desktop asks for.

#include <QByteArray>
#include <QImage>

namespace livrano::media {

// The icon as SVG text (a 64 x 64 view box).
QByteArray iconSvg();

// The icon drawn at size x size pixels, antialiased, on a transparent ground.
QImage iconImage(int size);

} // namespace livrano::media
