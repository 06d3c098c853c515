// SPDX-License-Identifier: MIT
#include "skin/trans_form.h"

#include <QCoreApplication>
#include <QCursor>
#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QMouseEvent>
#include <QSaveFile>
#include <QWidget>
#include <QWindow>

#include <cstdint>

#include "skin/region_data.h"

namespace livrano {
namespace {

const QString kSaveSource = QStringLiteral("TransForm");

QString loadSource() {
    return QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName() +
           QStringLiteral(".cDIBSectionRegion");
}

} // namespace

QRegion clsTransForm::regionFromPicture(const QImage& picture, QRgb key) {
    const QImage image = picture.convertToFormat(QImage::Format_RGB32);
    const int width = image.width();
    const int height = image.height();
    const QRgb wanted = key & 0xFFFFFFu;
    QRegion region(0, 0, width, height);
    bool inRun = false;
    int x1 = 0;
    int x2 = 0;
    // One column and one row past the picture read as "no colour", which closes every run.
    for (int y = 0; y <= height; ++y) {
        const auto* row = y < height ? reinterpret_cast<const QRgb*>(image.constScanLine(y)) : nullptr;
        for (int x = 0; x <= width; ++x) {
            const bool isKey = row != nullptr && x < width && (row[x] & 0xFFFFFFu) == wanted;
            if (isKey) {
                if (!inRun) {
                    inRun = true;
                    x1 = x;
                }
                x2 = x;
            } else if (inRun) {
                inRun = false;
                region -= QRect(x1, y, x2 - x1 + 1, 1);
            }
        }
    }
    return region;
}

std::optional<TransFormError> clsTransForm::ShapeMe(QWidget& window, QRgb color, bool Load,
                                                    const QString& FileName) {
    if (!window.isWindow()) {
        return std::nullopt;
    }
    if (FileName.isEmpty() || !Load) {
        // The window's own picture: background and painting, not its child controls, and the
        // whole of it, whatever shape an earlier call gave the window.
        QImage picture(window.size(), QImage::Format_RGB32);
        picture.fill(color);
        window.render(&picture, QPoint(), QRegion(), QWidget::DrawWindowBackground | QWidget::IgnoreMask);
        m_region = regionFromPicture(picture, color);
        if (!FileName.isEmpty()) {
            if (auto error = SaveRegionDataToFile(FileName)) {
                return error;
            }
        }
    } else if (auto error = loadRegionFromFile(FileName)) {
        return error;
    }
    // An empty region cuts the whole window away, as the window system's region call does; Qt
    // takes an empty mask for no mask at all, so one pixel outside the window stands for it.
    window.setMask(m_region.isEmpty() ? QRegion(-1, -1, 1, 1) : m_region);
    return std::nullopt;
}

std::optional<TransFormError> clsTransForm::SaveRegionDataToFile(const QString& fileName) const {
    // The structure's size must fit the 32-bit size field of the format.
    const std::int64_t size = kRgnHeaderSize + std::int64_t{kRgnRectSize} * m_region.rectCount();
    if (size > INT32_MAX) {
        return TransFormError{kErrRegionSize, kSaveSource,
                              QStringLiteral("Unable to determine size of region in SaveRegionDataToFile")};
    }
    const QByteArray data = regionToRgnData(m_region);
    if (data.size() != size) {
        return TransFormError{kErrRegionData, kSaveSource,
                              QStringLiteral("Unable to get region data in SaveRegionDataToFile")};
    }
    // Written beside and renamed, so a failed save never leaves a half-written shape behind.
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly) || file.write(data) != data.size() || !file.commit()) {
        return TransFormError{kErrPathFileAccess, kSaveSource,
                              QStringLiteral("Path/File access error: ") + file.errorString()};
    }
    return std::nullopt;
}

std::optional<TransFormError> clsTransForm::loadRegionFromFile(const QString& fileName) {
    QFile file(fileName);
    if (!file.exists()) {
        return TransFormError{kErrFileNotFound, loadSource(), QStringLiteral("File not found: ") + fileName};
    }
    if (!file.open(QIODevice::ReadOnly)) {
        return TransFormError{kErrPathFileAccess, loadSource(),
                              QStringLiteral("Path/File access error: ") + file.errorString()};
    }
    const QByteArray data = file.readAll();
    file.close();
    // A damaged file is reported rather than silently leaving the window without a shape.
    std::optional<QRegion> region = regionFromRgnData(data);
    if (!region) {
        return TransFormError{kErrBadFileFormat, loadSource(),
                              QStringLiteral("Bad file format: ") + fileName};
    }
    m_region = *region;
    return std::nullopt;
}

void clsTransForm::DragForm(QWidget& widget, int button) {
    if (button != Qt::LeftButton) {
        return;
    }
    QWidget* window = widget.window();
    endMove();
    m_moving = window;
    m_grabOffset = QCursor::pos() - window->pos();
    QWindow* handle = window->windowHandle();
    m_followMouse = handle == nullptr || !handle->startSystemMove();
    // The system's move runs on its own; the filter only learns when it has ended.
    window->installEventFilter(this);
}

bool clsTransForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched != m_moving) {
        return false;
    }
    switch (event->type()) {
    case QEvent::MouseMove: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (!(mouse->buttons() & Qt::LeftButton)) {
            endMove();
            return false;
        }
        if (m_followMouse) {
            m_moving->move(mouse->globalPosition().toPoint() - m_grabOffset);
            return true;
        }
        return false;
    }
    case QEvent::MouseButtonRelease:
        endMove();
        return false;
    case QEvent::Enter:
        if (!(QGuiApplication::mouseButtons() & Qt::LeftButton)) {
            endMove();
        }
        return false;
    default:
        return false;
    }
}

void clsTransForm::endMove() {
    if (m_moving) {
        m_moving->removeEventFilter(this);
        if (m_moving->cursor().shape() == Qt::BitmapCursor) {
            m_moving->unsetCursor();
        }
    }
    m_moving = nullptr;
    m_followMouse = false;
}

} // namespace livrano
