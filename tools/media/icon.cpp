// SPDX-License-Identifier: MIT
#include "icon.h"

#include <QPainter>
#include <QPolygonF>

namespace livrano::media {

namespace {

constexpr double kGrid = 64;
constexpr double kTile = 4;    // the tile's margin
constexpr double kCorner = 12; // the tile's corner radius
const QColor kTileColour(0x1d, 0x4e, 0x89);
const QColor kStripeColour(0xf2, 0xa9, 0x00);

const QPolygonF kStripe({{10, 44}, {54, 30}, {54, 37}, {10, 51}});
const QPolygonF kAircraft({{32, 8},
                           {35, 12},
                           {35, 26},
                           {54, 34},
                           {54, 38},
                           {35, 34},
                           {35, 46},
                           {42, 51},
                           {42, 54},
                           {32, 52},
                           {22, 54},
                           {22, 51},
                           {29, 46},
                           {29, 34},
                           {10, 38},
                           {10, 34},
                           {29, 26},
                           {29, 12}});

QByteArray points(const QPolygonF& polygon) {
    QByteArray text;
    for (const QPointF& p : polygon)
        text += QByteArray::number(p.x()) + ',' + QByteArray::number(p.y()) + ' ';
    return text.trimmed();
}

} // namespace

QByteArray iconSvg() {
    const QByteArray size = QByteArray::number(kGrid - 2 * kTile);
    return "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"64\" height=\"64\" viewBox=\"0 0 64 64\">\n"
           "  <rect x=\"" +
           QByteArray::number(kTile) + "\" y=\"" + QByteArray::number(kTile) + "\" width=\"" + size +
           "\" height=\"" + size + "\" rx=\"" + QByteArray::number(kCorner) + "\" fill=\"" +
           kTileColour.name().toLatin1() + "\"/>\n  <polygon points=\"" + points(kStripe) + "\" fill=\"" +
           kStripeColour.name().toLatin1() + "\"/>\n  <polygon points=\"" + points(kAircraft) +
           "\" fill=\"#ffffff\"/>\n</svg>\n";
}

QImage iconImage(int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / kGrid, size / kGrid);
    painter.setPen(Qt::NoPen);
    painter.setBrush(kTileColour);
    painter.drawRoundedRect(QRectF(kTile, kTile, kGrid - 2 * kTile, kGrid - 2 * kTile), kCorner, kCorner);
    painter.setBrush(kStripeColour);
    painter.drawPolygon(kStripe);
    painter.setBrush(Qt::white);
    painter.drawPolygon(kAircraft);
    return image;
}

} // namespace livrano::media
