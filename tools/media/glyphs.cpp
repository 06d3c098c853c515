// SPDX-License-Identifier: MIT
#include "glyphs.h"

#include <QTransform>

#include <initializer_list>

namespace livrano::media {
namespace {

QPainterPath polygon(std::initializer_list<QPointF> points) {
    QPainterPath path;
    bool first = true;
    for (const QPointF& p : points) {
        if (first) {
            path.moveTo(p);
            first = false;
        } else {
            path.lineTo(p);
        }
    }
    path.closeSubpath();
    return path;
}

} // namespace

QPainterPath aircraftGlyph(QPointF centre, double size, double heading) {
    // Half outline of a swept-wing airliner, nose at +x, in units of half the length.
    const QPointF half[] = {{1.00, 0.00},  {0.86, 0.07},  {0.30, 0.09},  {-0.12, 0.78},
                            {-0.27, 0.78}, {-0.12, 0.10}, {-0.66, 0.08}, {-0.84, 0.34},
                            {-0.95, 0.34}, {-0.90, 0.04}, {-0.97, 0.00}};
    QPainterPath path;
    path.moveTo(half[0]);
    for (std::size_t i = 1; i < std::size(half); ++i) {
        path.lineTo(half[i]);
    }
    for (std::size_t i = std::size(half) - 1; i > 0; --i) {
        path.lineTo(half[i - 1].x(), -half[i - 1].y());
    }
    path.closeSubpath();
    QTransform place;
    place.translate(centre.x(), centre.y());
    place.rotate(heading);
    place.scale(size / 2, size / 2);
    return place.map(path);
}

QPainterPath tickGlyph(QPointF c, double s) {
    QPainterPath path;
    path.moveTo(c + QPointF(-0.42, 0.02) * s);
    path.lineTo(c + QPointF(-0.12, 0.32) * s);
    path.lineTo(c + QPointF(0.44, -0.30) * s);
    return path;
}

QPainterPath arrowGlyph(QPointF c, double s, bool pointsRight) {
    const double d = pointsRight ? 1 : -1;
    QPainterPath path;
    path.moveTo(c + QPointF(-0.40 * d, 0) * s);
    path.lineTo(c + QPointF(0.38 * d, 0) * s);
    path.moveTo(c + QPointF(0.06 * d, -0.32) * s);
    path.lineTo(c + QPointF(0.40 * d, 0) * s);
    path.lineTo(c + QPointF(0.06 * d, 0.32) * s);
    return path;
}

QPainterPath crossGlyph(QPointF c, double s) {
    QPainterPath path;
    path.moveTo(c + QPointF(-0.3, -0.3) * s);
    path.lineTo(c + QPointF(0.3, 0.3) * s);
    path.moveTo(c + QPointF(0.3, -0.3) * s);
    path.lineTo(c + QPointF(-0.3, 0.3) * s);
    return path;
}

QPainterPath starGlyph(QPointF c, double s) {
    const double r = s / 2;
    const double w = r * 0.22;
    return polygon({c + QPointF(0, -r), c + QPointF(w, -w), c + QPointF(r, 0), c + QPointF(w, w),
                    c + QPointF(0, r), c + QPointF(-w, w), c + QPointF(-r, 0), c + QPointF(-w, -w)});
}

QPainterPath moveArrowsGlyph(QPointF c, double s) {
    // One arrow pointing up, turned four times, joined by the shafts.
    const double r = s / 2;        // tip distance
    const double head = r * 0.42;  // arrow head length
    const double wing = r * 0.34;  // head half width
    const double shaft = r * 0.11; // shaft half width
    const QPointF up[] = {{0, -r},          {wing, -r + head},   {shaft, -r + head},
                          {shaft, -shaft},  {r - head, -shaft},  {r - head, -wing},
                          {r, 0},           {r - head, wing},    {r - head, shaft},
                          {shaft, shaft},   {shaft, r - head},   {wing, r - head},
                          {0, r},           {-wing, r - head},   {-shaft, r - head},
                          {-shaft, shaft},  {-r + head, shaft},  {-r + head, wing},
                          {-r, 0},          {-r + head, -wing},  {-r + head, -shaft},
                          {-shaft, -shaft}, {-shaft, -r + head}, {-wing, -r + head}};
    QPainterPath path;
    path.moveTo(c + up[0]);
    for (std::size_t i = 1; i < std::size(up); ++i) {
        path.lineTo(c + up[i]);
    }
    path.closeSubpath();
    return path;
}

} // namespace livrano::media
