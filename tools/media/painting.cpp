// SPDX-License-Identifier: MIT
#include "painting.h"

#include <QFile>
#include <QFontDatabase>

#include "skin/design_font.h"

namespace livrano::media {

bool loadArtFonts() {
    bool loaded = true;
    for (const QString& file : designFontFiles()) {
        loaded = QFile::exists(file) && QFontDatabase::addApplicationFont(file) >= 0 && loaded;
    }
    return loaded && QFontDatabase::families().contains(kDesignFontFamily);
}

QFont artFont(int pixelSize, bool bold) {
    QFont font(kDesignFontFamily);
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setStyleStrategy(
        QFont::StyleStrategy(QFont::PreferAntialias | QFont::NoSubpixelAntialias | QFont::NoFontMerging));
    return font;
}

void prepare(QPainter& painter) {
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
}

namespace {

void corner(QPainterPath& path, QPointF at, QPointF from, QPointF to, double cut) {
    // from/to: unit directions towards the previous and the next corner.
    if (cut > 0) {
        path.lineTo(at + from * cut);
        path.lineTo(at + to * cut);
    } else if (cut < 0) {
        path.lineTo(at + from * -cut);
        path.quadTo(at, at + to * -cut);
    } else {
        path.lineTo(at);
    }
}

} // namespace

QPainterPath cutRect(const QRectF& r, double topLeft, double topRight, double bottomRight,
                     double bottomLeft) {
    QPainterPath path;
    const double startCut = topLeft < 0 ? -topLeft : topLeft;
    path.moveTo(r.left() + startCut, r.top());
    corner(path, r.topRight(), {-1, 0}, {0, 1}, topRight);
    corner(path, r.bottomRight(), {0, -1}, {-1, 0}, bottomRight);
    corner(path, r.bottomLeft(), {1, 0}, {0, -1}, bottomLeft);
    corner(path, r.topLeft(), {0, 1}, {1, 0}, topLeft);
    path.closeSubpath();
    return path;
}

} // namespace livrano::media
