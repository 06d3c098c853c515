// SPDX-License-Identifier: MIT
#include "backgrounds.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include "glyphs.h"
#include "painting.h"
#include "palette.h"

namespace livrano::media {
namespace {

// Keeps the art inside the outline (filled without antialiasing, so the edge is a clean pixel
// staircase) and the key colour outside; a pure key pixel inside the art is nudged off the key.
QImage cutOut(const QImage& art, const QPainterPath& outline) {
    QImage inside(art.size(), QImage::Format_ARGB32);
    inside.fill(Qt::transparent);
    {
        QPainter painter(&inside);
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.fillPath(outline, Qt::white);
    }
    QImage out(art.size(), QImage::Format_RGB32);
    const QRgb key = kKey.rgb();
    for (int y = 0; y < out.height(); ++y) {
        const auto* mask = reinterpret_cast<const QRgb*>(inside.constScanLine(y));
        const auto* from = reinterpret_cast<const QRgb*>(art.constScanLine(y));
        auto* to = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x) {
            if (qAlpha(mask[x]) == 0) {
                to[x] = key;
            } else {
                to[x] = (from[x] & 0xFFFFFFu) == (key & 0xFFFFFFu) ? qRgb(8, 8, 8) : (from[x] | 0xFF000000u);
            }
        }
    }
    out.setDotsPerMeterX(3780); // 96 pixels per inch, whatever the screen
    out.setDotsPerMeterY(3780);
    return out;
}

// The outline's own edge: a band of the deep navy just inside it.
void edge(QPainter& painter, const QPainterPath& outline) {
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(kNavyDeep, 4));
    painter.drawPath(outline);
}

void hairline(QPainter& painter, QPointF from, QPointF to, const QColor& colour) {
    painter.setPen(QPen(colour, 1));
    painter.drawLine(from, to);
}

// The header band in the deep navy, lit from the left where the wordmark sits.
void headerBand(QPainter& painter, double width, double height, double glowWidth) {
    painter.fillRect(QRectF(0, 0, width, height), kNavyDeep);
    QLinearGradient glow(0, 0, glowWidth, 0);
    glow.setColorAt(0, QColor(0, 69, 140, 150));
    glow.setColorAt(1, QColor(0, 69, 140, 0));
    painter.fillRect(QRectF(0, 0, glowWidth, height), glow);
}

// A dashed flight path with an aircraft at its end, in the header.
void flightPath(QPainter& painter, QPointF from, QPointF control, QPointF to, double planeSize,
                double heading) {
    QPen dashes(QColor(255, 255, 255, 70), 1.5, Qt::DashLine, Qt::RoundCap);
    dashes.setDashPattern({3, 4});
    painter.setPen(dashes);
    painter.setBrush(Qt::NoBrush);
    QPainterPath path(from);
    path.quadTo(control, to);
    painter.drawPath(path);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 255, 255, 225));
    painter.drawPath(aircraftGlyph(to, planeSize, heading));
}

} // namespace

QImage mainBackground() {
    const QRectF window(0, 0, 800, 600);
    const QPainterPath outline = cutRect(window, 40, -14, 12, -14);
    QImage art(800, 600, QImage::Format_ARGB32);
    art.fill(kBody);
    QPainter painter(&art);
    prepare(painter);

    // Header band with the wordmark; the close and help buttons sit on its flat right end.
    headerBand(painter, 800, 64, 520);
    flightPath(painter, {250, 52}, {420, 4}, {612, 30}, 26, -12);
    QFont wordmark = artFont(28, true);
    wordmark.setLetterSpacing(QFont::AbsoluteSpacing, 4);
    painter.setFont(wordmark);
    painter.setPen(Qt::white);
    painter.drawText(QPointF(52, 37), QStringLiteral("LIVRANO"));
    QFont tagline = artFont(10, true);
    tagline.setLetterSpacing(QFont::AbsoluteSpacing, 2);
    painter.setFont(tagline);
    painter.setPen(kAmber);
    painter.drawText(QPointF(54, 53), QStringLiteral("REPAINT STUDIO"));
    painter.fillRect(QRectF(0, 64, 800, 3), kAmber);

    // The item column: one row per choice, each with its button at the left.
    painter.setPen(QPen(kLine, 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(QRectF(8.5, 141.5, 343, 316), 8, 8);
    for (int row = 1; row < 6; ++row) {
        const double y = 141.5 + 52 * row;
        hairline(painter, {57, y}, {343, y}, kLine);
    }
    // The preview panel.
    painter.setPen(QPen(kLine, 1));
    painter.setBrush(kIvory);
    painter.drawRect(QRectF(356.5, 72.5, 428, 428));
    // The progress area's recess and the bottom rule.
    painter.setPen(QPen(kLine, 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(QRectF(12.5, 523.5, 338, 30), 4, 4);
    hairline(painter, {358, 542.5}, {555, 542.5}, kLine);

    edge(painter, outline);
    painter.end();
    return cutOut(art, outline);
}

QImage wizardBackground() {
    const QRectF window(0, 0, 400, 300);
    const QPainterPath outline = cutRect(window, 24, -12, 10, -12);
    QImage art(400, 300, QImage::Format_ARGB32);
    art.fill(kBody);
    QPainter painter(&art);
    prepare(painter);

    // Header band, and the tab that holds the close button.
    headerBand(painter, 400, 26, 300);
    painter.fillPath(cutRect(QRectF(355, 0, 60, 50), 0, 0, 0, -8), kNavyDeep);
    QFont title = artFont(11, true);
    title.setLetterSpacing(QFont::AbsoluteSpacing, 2);
    painter.setFont(title);
    painter.setPen(Qt::white);
    painter.drawText(QPointF(30, 17), QStringLiteral("LIVRANO"));
    painter.setPen(kAmber);
    painter.drawText(QPointF(112, 17), QStringLiteral("REPAINT WIZARD"));
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 255, 255, 200));
    painter.drawPath(aircraftGlyph({318, 13}, 16, -8));
    painter.fillRect(QRectF(0, 26, 355, 2), kAmber);

    // The rule above the navigation buttons.
    hairline(painter, {12, 244.5}, {388, 244.5}, kLine);

    edge(painter, outline);
    painter.end();
    return cutOut(art, outline);
}

} // namespace livrano::media
