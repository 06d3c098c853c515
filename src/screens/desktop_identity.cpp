// SPDX-License-Identifier: MIT
#include "screens/desktop_identity.h"

#include <QFile>
#include <QGuiApplication>
#include <QString>

namespace livrano {

namespace fs = std::filesystem;

QIcon programIcon(const fs::path& executableFolder) {
    // The sizes the package installs, each as the hicolor theme wants it, or as the build drew it.
    const fs::path installed = executableFolder / ".." / "share" / "icons" / "hicolor";
    const fs::path built = executableFolder / "icons";
    QIcon icon;
    for (const int size : {16, 32, 48, 64, 128, 256}) {
        const std::string pixels = std::to_string(size);
        for (const fs::path& file :
             {installed / (pixels + "x" + pixels) / "apps" / (kDesktopFileName + std::string(".png")),
              built / ("livrano-" + pixels + ".png")}) {
            std::error_code ec;
            if (fs::is_regular_file(file, ec)) {
                icon.addFile(QFile::decodeName(file.string().c_str()), QSize(size, size));
                break;
            }
        }
    }
    return icon;
}

void introduceToDesktop(const fs::path& executableFolder) {
    QGuiApplication::setApplicationName(QString::fromLatin1(kWindowClass));
    QGuiApplication::setDesktopFileName(QString::fromLatin1(kDesktopFileName));
    QGuiApplication::setWindowIcon(programIcon(executableFolder));
}

} // namespace livrano
