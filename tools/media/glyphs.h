// SPDX-License-Identifier: MIT
#pragma once
// Small vector glyphs shared by the backgrounds, the buttons and the cursor.

#include <QPainterPath>
#include <QPointF>

namespace livrano::media {

// An airliner seen from above, nose towards heading (degrees, 0 = right, clockwise), about
// size pixels from nose to tail.
QPainterPath aircraftGlyph(QPointF centre, double size, double heading);

// A tick mark, an arrow, a cross, a four-pointed star: outlines to stroke, centred on centre.
QPainterPath tickGlyph(QPointF centre, double size);
QPainterPath arrowGlyph(QPointF centre, double size, bool pointsRight);
QPainterPath crossGlyph(QPointF centre, double size);
QPainterPath starGlyph(QPointF centre, double size);
// Four arrows around a centre: the move cursor's filled shape.
QPainterPath moveArrowsGlyph(QPointF centre, double size);

} // namespace livrano::media
