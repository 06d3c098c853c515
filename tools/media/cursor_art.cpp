// SPDX-License-Identifier: MIT
#include "cursor_art.h"

#include <QPainter>

#include "glyphs.h"
#include "painting.h"
#include "palette.h"

namespace livrano::media {

QImage moveCursor() {
    QImage image(32, 32, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    prepare(painter);
    const QPointF centre(16.5, 16.5);
    painter.setPen(QPen(kNavyDeep, 1.6, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    painter.setBrush(Qt::white);
    painter.drawPath(moveArrowsGlyph(centre, 29));
    painter.setPen(Qt::NoPen);
    painter.setBrush(kAmber);
    painter.drawEllipse(centre, 2.2, 2.2);
    return image;
}

} // namespace livrano::media
