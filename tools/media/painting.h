// SPDX-License-Identifier: MIT
#pragma once
// Shared drawing set-up for the generated art: the same painter settings and fonts on every run,
// so that the files come out byte for byte the same.

#include <QFont>
#include <QPainter>
#include <QPainterPath>

namespace livrano::media {

// Registers the Tahoma face the art is drawn with; false when it is not on this system.
bool loadArtFonts();

// Tahoma at a pixel size (never points: the art must not depend on the screen).
QFont artFont(int pixelSize, bool bold);

// A painter with antialiasing and the fixed text rendering choices.
void prepare(QPainter& painter);

// A rectangle whose corners are each cut diagonally (chamfer > 0) or rounded (chamfer < 0, by
// the radius -chamfer); top-left, top-right, bottom-right, bottom-left.
QPainterPath cutRect(const QRectF& rect, double topLeft, double topRight, double bottomRight,
                     double bottomLeft);

} // namespace livrano::media
