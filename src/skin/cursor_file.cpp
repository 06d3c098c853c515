// SPDX-License-Identifier: MIT
#include "skin/cursor_file.h"

#include <QFile>
#include <QPixmap>

#include <cstdint>

#include "app/little_endian.h"

namespace livrano {
namespace {

constexpr int kDirectorySize = 6;
constexpr int kEntrySize = 16;
constexpr int kInfoHeaderSize = 40;
constexpr std::uint16_t kCursorType = 2;

} // namespace

QByteArray encodeCursorFile(const QImage& image, QPoint hotspot) {
    const int size = image.width();
    if (image.height() != size || size < 1 || size > 256 || !QRect(0, 0, size, size).contains(hotspot)) {
        return {};
    }
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    const auto side = static_cast<std::uint32_t>(size);
    const std::uint32_t maskRow = (side + 31) / 32 * 4;
    const std::uint32_t imageBytes = kInfoHeaderSize + side * side * 4 + maskRow * side;

    QByteArray out;
    appendLe16(out, 0);
    appendLe16(out, kCursorType);
    appendLe16(out, 1);
    out.append(static_cast<char>(size & 0xFF)); // 256 is written as 0
    out.append(static_cast<char>(size & 0xFF));
    out.append('\0'); // no palette
    out.append('\0');
    appendLe16(out, static_cast<std::uint32_t>(hotspot.x()));
    appendLe16(out, static_cast<std::uint32_t>(hotspot.y()));
    appendLe32(out, imageBytes);
    appendLe32(out, kDirectorySize + kEntrySize);

    appendLe32(out, kInfoHeaderSize);
    appendLe32(out, side);
    appendLe32(out, side * 2); // colour rows and mask rows
    appendLe16(out, 1);
    appendLe16(out, 32);
    appendLe32(out, 0);
    appendLe32(out, side * side * 4 + maskRow * side);
    appendLe32(out, 0);
    appendLe32(out, 0);
    appendLe32(out, 0);
    appendLe32(out, 0);
    for (int y = size - 1; y >= 0; --y) {
        const auto* row = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
        for (int x = 0; x < size; ++x) {
            appendLe32(out, row[x]); // B, G, R, A in memory order
        }
    }
    for (int y = size - 1; y >= 0; --y) {
        const auto* row = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
        QByteArray bits(static_cast<qsizetype>(maskRow), '\0');
        for (int x = 0; x < size; ++x) {
            if (qAlpha(row[x]) == 0) {
                bits[x / 8] = static_cast<char>(bits[x / 8] | (0x80 >> (x % 8)));
            }
        }
        out.append(bits);
    }
    return out;
}

std::optional<CursorFile> decodeCursorFile(const QByteArray& bytes) {
    if (bytes.size() < kDirectorySize + kEntrySize || readLe16(bytes, 0) != 0 ||
        readLe16(bytes, 2) != kCursorType || readLe16(bytes, 4) == 0) {
        return std::nullopt;
    }
    const QPoint hotspot(static_cast<int>(readLe16(bytes, 10)), static_cast<int>(readLe16(bytes, 12)));
    const std::uint64_t length = readLe32(bytes, 14);
    const std::uint64_t offset = readLe32(bytes, 18);
    if (offset + length > static_cast<std::uint64_t>(bytes.size())) {
        return std::nullopt;
    }
    QImage image = QImage::fromData(bytes, "CUR");
    if (image.isNull() || !image.rect().contains(hotspot)) {
        return std::nullopt;
    }
    return CursorFile{image, hotspot};
}

std::optional<QCursor> loadCursorFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return std::nullopt;
    }
    const std::optional<CursorFile> cursor = decodeCursorFile(file.readAll());
    if (!cursor) {
        return std::nullopt;
    }
    return QCursor(QPixmap::fromImage(cursor->image), cursor->hotspot.x(), cursor->hotspot.y());
}

} // namespace livrano
