// SPDX-License-Identifier: MIT
#pragma once
// Windows cursor files (.cur): the drag cursor of the skinned windows. The hotspot lives in the
// file's directory entry, which the image readers do not report, so it is read here.

#include <QByteArray>
#include <QCursor>
#include <QImage>
#include <QPoint>
#include <QString>

#include <optional>

namespace livrano {

struct CursorFile {
    QImage image;
    QPoint hotspot;
};

// One 32-bit image (with its transparency also in the AND mask, for old readers). The image
// must be square, 1 to 256 pixels; the hotspot must lie inside it. Empty on a bad argument.
QByteArray encodeCursorFile(const QImage& image, QPoint hotspot);

// The first image of a cursor file and its hotspot; nullopt when the bytes are not one.
std::optional<CursorFile> decodeCursorFile(const QByteArray& bytes);

// The cursor in the file at path; nullopt when it cannot be read.
std::optional<QCursor> loadCursorFile(const QString& path);

} // namespace livrano
