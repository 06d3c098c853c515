#include "skin/design_font.h"

#include <QFile>
#include <QFontDatabase>

namespace livrano {

QStringList designFontFiles() {
    return {QStringLiteral("/usr/share/wine/fonts/tahoma.ttf"),
            QStringLiteral("/usr/share/wine/fonts/tahomabd.ttf")};
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
