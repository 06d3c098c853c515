// SPDX-License-Identifier: MIT
#include "skin/font_scaling.h"

#include <QFont>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <cmath>
#include <utility>
#include <vector>

namespace livrano {

int screenPixelsPerInch() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen != nullptr ? static_cast<int>(std::lround(screen->logicalDotsPerInchX())) : 96;
}

namespace {

// The measure IsSmallFonts took last: SmallFontFix scales by it when the screen is not at 96.
int g_pixelsPerInch = 96;

void scaleFonts(QWidget& window, double factor) {
    // Every widget gets its own scaled font, computed before any is changed: a child that
    // inherits its parent's font must be scaled once, not once more through its parent.
    std::vector<std::pair<QWidget*, QFont>> scaled;
    std::vector<QWidget*> widgets{&window};
    for (QWidget* child : window.findChildren<QWidget*>()) {
        widgets.push_back(child);
    }
    for (QWidget* widget : widgets) {
        QFont font = widget->font();
        if (font.pointSizeF() > 0) {
            font.setPointSizeF(font.pointSizeF() * factor);
            scaled.emplace_back(widget, font);
        }
    }
    for (auto& [widget, font] : scaled) {
        widget->setFont(font);
    }
}

} // namespace

bool IsSmallFonts() {
    g_pixelsPerInch = screenPixelsPerInch();
    return g_pixelsPerInch == 96;
}

float fontScaleFactor(int pixelsPerInch) {
    return pixelsPerInch > 0 ? 96.0f / static_cast<float>(pixelsPerInch) : 1.0f;
}

void SmallFontFix(QWidget& window) {
    const int pixelsPerInch = IsSmallFonts() ? 96 : g_pixelsPerInch;
    scaleFonts(window, fontScaleFactor(pixelsPerInch));
}

} // namespace livrano
