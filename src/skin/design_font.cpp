// SPDX-License-Identifier: MIT
#include "skin/design_font.h"

#include <QFile>
#include <QFontDatabase>

namespace livrano {

QStringList designFontFiles() {
    // The regular face only. Wine's tahomabd.ttf has bold advances but the regular outlines (the
    // same ink, glyph for glyph), and Qt emboldens a family's outlines only when it has no bold
    // face of its own: with the regular face alone, bold captions come out bold.
    return {QStringLiteral("/usr/share/wine/fonts/tahoma.ttf")};
}

bool ensureDesignFont() {
    if (QFontDatabase::families().contains(kDesignFontFamily)) {
        return true;
    }
    for (const QString& file : designFontFiles()) {
        if (QFile::exists(file)) {
            QFontDatabase::addApplicationFont(file);
        }
    }
    return QFontDatabase::families().contains(kDesignFontFamily);
}

} // namespace livrano
