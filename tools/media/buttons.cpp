// SPDX-License-Identifier: MIT
#include "buttons.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include "glyphs.h"
#include "painting.h"
#include "palette.h"

namespace livrano::media {
namespace {

constexpr int kTinyWidth = 33;
constexpr int kTinyHeight = 35;
constexpr int kLargeWidth = 166;
constexpr int kLargeHeight = 50;

enum class Look { Enabled, Highlight, Down, Disabled };
constexpr Look kLooks[] = {Look::Enabled, Look::Highlight, Look::Down, Look::Disabled};

// How one round button looks in one frame.
struct Disc {
    QColor fill;
    QColor ring; // invalid: none
    double ringWidth = 0;
    QColor ink; // the glyph
    bool shadow = false;
    bool pressed = false;
};

enum class Glyph { Cross, Question, ArrowRight, ArrowLeft, None, Tick };

void drawGlyph(QPainter& painter, Glyph glyph, QPointF c, const QColor& ink) {
    QPen pen(ink, 2.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(pen);
    switch (glyph) {
    case Glyph::Cross:
        painter.drawPath(crossGlyph(c, 24));
        break;
    case Glyph::Question: {
        // Stroked like the other glyphs: the text face's question mark is too light at this size.
        QPainterPath hook;
        const QRectF bowl(c.x() - 4.6, c.y() - 9.2, 9.2, 9.2);
        hook.arcMoveTo(bowl, 165);
        hook.arcTo(bowl, 165, -240);
        hook.quadTo(c + QPointF(0, 0.2), c + QPointF(0, 2.6));
        painter.drawPath(hook);
        painter.setPen(Qt::NoPen);
        painter.setBrush(ink);
        painter.drawEllipse(c + QPointF(0, 7), 1.7, 1.7);
        break;
    }
    case Glyph::ArrowRight:
    case Glyph::ArrowLeft:
        painter.drawPath(arrowGlyph(c, 20, glyph == Glyph::ArrowRight));
        break;
    case Glyph::Tick:
        painter.setPen(QPen(ink, 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.drawPath(tickGlyph(c, 22));
        break;
    case Glyph::None:
        break;
    }
}

void drawDisc(QPainter& painter, QPointF origin, const QColor& surface, const Disc& disc, Glyph glyph) {
    painter.fillRect(QRectF(origin, QSizeF(kTinyWidth, kTinyHeight)), surface);
    const QPointF centre = origin + QPointF(16.5, 17.5) + (disc.pressed ? QPointF(0, 1) : QPointF(0, 0));
    const double radius = 13.5;
    if (disc.shadow) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(10, 34, 66, 40));
        painter.drawEllipse(centre + QPointF(0, 1.5), radius + 0.5, radius + 0.5);
    }
    painter.setPen(disc.ring.isValid() ? QPen(disc.ring, disc.ringWidth) : Qt::NoPen);
    QLinearGradient shade(centre.x(), centre.y() - radius, centre.x(), centre.y() + radius);
    shade.setColorAt(0, disc.pressed ? disc.fill : disc.fill.lighter(112));
    shade.setColorAt(1, disc.pressed ? disc.fill.lighter(108) : disc.fill);
    painter.setBrush(shade);
    painter.drawEllipse(centre, radius, radius);
    drawGlyph(painter, glyph, centre, disc.ink);
}

// Buttons on the header band: a light ring until the mouse comes.
Disc headerDisc(Look look, const QColor& active) {
    switch (look) {
    case Look::Enabled:
        return {QColor(32, 62, 100), QColor(255, 255, 255, 110), 1.2, Qt::white, false, false};
    case Look::Highlight:
        return {active, QColor(255, 255, 255, 170), 1.2, Qt::white, false, false};
    case Look::Down:
        return {active.darker(135), QColor(255, 255, 255, 90), 1.2, QColor(235, 235, 235), false, true};
    case Look::Disabled:
        return {QColor(24, 46, 78), QColor(255, 255, 255, 40), 1.2, QColor(96, 114, 140), false, false};
    }
    return {};
}

// Solid buttons on the body: navy, lighter with an amber ring under the mouse.
Disc solidDisc(Look look) {
    switch (look) {
    case Look::Enabled:
        return {kNavy, QColor(), 0, Qt::white, true, false};
    case Look::Highlight:
        return {kNavyLight, kAmber, 2, Qt::white, true, false};
    case Look::Down:
        return {kNavyDeep, QColor(), 0, QColor(230, 236, 244), false, true};
    case Look::Disabled:
        return {kDisabledFill, QColor(), 0, kDisabledInk, false, false};
    }
    return {};
}

// The open item: an empty ring.
Disc ringDisc(Look look) {
    switch (look) {
    case Look::Enabled:
        return {kIvory, QColor(150, 162, 178), 2, kNavy, true, false};
    case Look::Highlight:
        return {Qt::white, kNavyLight, 2.4, kNavy, true, false};
    case Look::Down:
        return {QColor(222, 232, 244), kNavy, 2.4, kNavy, false, true};
    case Look::Disabled:
        return {QColor(245, 246, 248), QColor(214, 219, 226), 2, kDisabledInk, false, false};
    }
    return {};
}

QImage tinyStrip(const QColor& surface, Disc (*look)(Look), Glyph glyph) {
    QImage strip(kTinyWidth, kTinyHeight * 4, QImage::Format_RGB32);
    QPainter painter(&strip);
    prepare(painter);
    for (int k = 0; k < 4; ++k) {
        drawDisc(painter, QPointF(0, k * kTinyHeight), surface, look(kLooks[k]), glyph);
    }
    return strip;
}

QImage headerStrip(const QColor& surface, const QColor& active, Glyph glyph) {
    QImage strip(kTinyWidth, kTinyHeight * 4, QImage::Format_RGB32);
    QPainter painter(&strip);
    prepare(painter);
    for (int k = 0; k < 4; ++k) {
        drawDisc(painter, QPointF(0, k * kTinyHeight), surface, headerDisc(kLooks[k], active), glyph);
    }
    return strip;
}

// A strip that sits on whatever the window has around it: drawn on nothing, each pixel the disc
// covers at least half is its own colour and the rest is the key colour. Blending the smooth edge
// with the key would leave a dark rim wherever the surface around the button is light.
QImage keyedStrip(const QColor& active, Glyph glyph) {
    QImage art(kTinyWidth, kTinyHeight * 4, QImage::Format_ARGB32);
    art.fill(Qt::transparent);
    {
        QPainter painter(&art);
        prepare(painter);
        for (int k = 0; k < 4; ++k)
            drawDisc(painter, QPointF(0, k * kTinyHeight), Qt::transparent, headerDisc(kLooks[k], active),
                     glyph);
    }
    QImage strip(art.size(), QImage::Format_RGB32);
    for (int y = 0; y < art.height(); ++y) {
        const auto* from = reinterpret_cast<const QRgb*>(art.constScanLine(y));
        auto* to = reinterpret_cast<QRgb*>(strip.scanLine(y));
        for (int x = 0; x < art.width(); ++x)
            to[x] = qAlpha(from[x]) < 128 ? kKey.rgb() : (from[x] | 0xFF000000u);
    }
    return strip;
}

enum class Icon { Star, Aircraft };

void drawPill(QPainter& painter, QPointF origin, Look look, const QString& caption, Icon icon) {
    painter.fillRect(QRectF(origin, QSizeF(kLargeWidth, kLargeHeight)), kBody);
    const bool pressed = look == Look::Down;
    const QPointF shift = pressed ? QPointF(0, 1) : QPointF(0, 0);
    const QRectF pill(origin + QPointF(3, 3) + shift, QSizeF(kLargeWidth - 6, kLargeHeight - 8));
    if (look == Look::Enabled || look == Look::Highlight) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(10, 34, 66, 45));
        painter.drawRoundedRect(pill.translated(0, 2), 10, 10);
    }
    QColor top;
    QColor bottom;
    QColor ink = Qt::white;
    switch (look) {
    case Look::Enabled:
        top = QColor(24, 98, 180);
        bottom = kNavy;
        break;
    case Look::Highlight:
        top = QColor(58, 138, 218);
        bottom = QColor(22, 96, 178);
        break;
    case Look::Down:
        top = kNavyDeep;
        bottom = QColor(16, 52, 98);
        ink = QColor(225, 233, 243);
        break;
    case Look::Disabled:
        top = QColor(226, 230, 236);
        bottom = kDisabledFill;
        ink = kDisabledInk;
        break;
    }
    QLinearGradient shade(pill.topLeft(), pill.bottomLeft());
    shade.setColorAt(0, top);
    shade.setColorAt(1, bottom);
    painter.setBrush(shade);
    painter.setPen(look == Look::Disabled ? QPen(QColor(200, 206, 214), 1) : QPen(QColor(8, 40, 84), 1));
    painter.drawRoundedRect(pill.adjusted(0.5, 0.5, -0.5, -0.5), 10, 10);
    if (look == Look::Highlight) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(kAmber);
        painter.drawRoundedRect(QRectF(pill.left() + 14, pill.bottom() - 4, pill.width() - 28, 2.5), 1.2,
                                1.2);
    }
    // Icon in a faint circle at the left, caption beside it.
    const QPointF iconCentre(pill.left() + 22, pill.center().y());
    painter.setPen(Qt::NoPen);
    painter.setBrush(look == Look::Disabled ? QColor(255, 255, 255, 120) : QColor(255, 255, 255, 38));
    painter.drawEllipse(iconCentre, 13, 13);
    painter.setBrush(look == Look::Highlight ? kAmber : ink);
    painter.drawPath(icon == Icon::Star ? starGlyph(iconCentre, 18) : aircraftGlyph(iconCentre, 20, -45));
    painter.setPen(ink);
    painter.setFont(artFont(14, true));
    painter.drawText(QRectF(pill.left() + 40, pill.top(), pill.width() - 48, pill.height()),
                     Qt::AlignVCenter | Qt::AlignHCenter, caption);
}

QImage largeStrip(const QString& caption, Icon icon) {
    QImage strip(kLargeWidth, kLargeHeight * 4, QImage::Format_RGB32);
    QPainter painter(&strip);
    prepare(painter);
    for (int k = 0; k < 4; ++k) {
        drawPill(painter, QPointF(0, k * kLargeHeight), kLooks[k], caption, icon);
    }
    return strip;
}

} // namespace

std::vector<Strip> buttonStrips() {
    std::vector<Strip> strips{
        // Close sits on the header and, as a wizard screen's Close beside Next, on the body: it
        // is drawn on the key colour, which the buttons leave undrawn.
        {QStringLiteral("Close"), keyedStrip(kAlert, Glyph::Cross)},
        {QStringLiteral("Help"), headerStrip(kNavyDeep, kNavyLight, Glyph::Question)},
        {QStringLiteral("Next"), tinyStrip(kBody, solidDisc, Glyph::ArrowRight)},
        {QStringLiteral("Previous"), tinyStrip(kBody, solidDisc, Glyph::ArrowLeft)},
        {QStringLiteral("Empty"), tinyStrip(kBody, ringDisc, Glyph::None)},
        {QStringLiteral("Check"), tinyStrip(kBody, solidDisc, Glyph::Tick)},
        {QStringLiteral("Wizard"), largeStrip(QStringLiteral("Repaint Wizard"), Icon::Star)},
        {QStringLiteral("CreateAircraft"), largeStrip(QStringLiteral("Create Aircraft"), Icon::Aircraft)},
    };
    for (Strip& strip : strips) {
        strip.image.setDotsPerMeterX(3780);
        strip.image.setDotsPerMeterY(3780);
    }
    return strips;
}

} // namespace livrano::media
