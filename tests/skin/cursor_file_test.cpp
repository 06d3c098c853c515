// SPDX-License-Identifier: MIT
#include "skin/cursor_file.h"

#include <QImage>

#include <gtest/gtest.h>

namespace livrano {
namespace {

QImage arrows() {
    QImage image(32, 32, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    for (int i = 4; i < 28; ++i) {
        image.setPixel(i, 16, qRgba(20, 40, 80, 255));
        image.setPixel(16, i, qRgba(255, 0, 255, 128)); // survives premultiplying exactly
    }
    return image;
}

TEST(CursorFile, WrittenCursorReadsBackWithItsHotspotAndPixels) {
    const QImage image = arrows();
    const QByteArray bytes = encodeCursorFile(image, QPoint(16, 15));
    // Directory, one entry, a 40-byte header, 32 x 32 x 4 colour bytes and a 32 x 4 byte mask.
    ASSERT_EQ(bytes.size(), 6 + 16 + 40 + 4096 + 128);
    EXPECT_EQ(bytes.left(6), QByteArray("\0\0\2\0\1\0", 6));
    const std::optional<CursorFile> cursor = decodeCursorFile(bytes);
    ASSERT_TRUE(cursor);
    EXPECT_EQ(cursor->hotspot, QPoint(16, 15));
    EXPECT_EQ(cursor->image.convertToFormat(QImage::Format_ARGB32), image);
}

TEST(CursorFile, BadArgumentsAndBadBytesAreRefused) {
    EXPECT_TRUE(encodeCursorFile(QImage(32, 16, QImage::Format_ARGB32), QPoint(0, 0)).isEmpty());
    EXPECT_TRUE(encodeCursorFile(arrows(), QPoint(32, 0)).isEmpty());
    const QByteArray good = encodeCursorFile(arrows(), QPoint(1, 1));
    EXPECT_FALSE(decodeCursorFile(good.left(21)));
    EXPECT_FALSE(decodeCursorFile(good.left(good.size() - 1)));
    QByteArray icon = good;
    icon[2] = 1; // an icon, not a cursor
    EXPECT_FALSE(decodeCursorFile(icon));
}

} // namespace
} // namespace livrano
