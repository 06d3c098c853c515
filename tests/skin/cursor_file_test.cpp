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
    // The headers as the format lays them out: readers trust these fields, not the picture.
    const QByteArray headers =
        QByteArray::fromHex("000002000100"                     // a cursor, one image
                            "2020000010000f00a810000016000000" // 32 x 32 at (16, 15)
                            "2800000020000000400000000100200000000000801000000000000000000000"
                            "0000000000000000");
    EXPECT_EQ(bytes.left(62).toHex(), headers.toHex());
    // The mask, bottom row first, marks the transparent pixels: rows 10 and 16 of the picture.
    const int mask = 62 + 4096;
    EXPECT_EQ(bytes.mid(mask + 4 * (31 - 10), 4).toHex(), "ffff7fff");
    EXPECT_EQ(bytes.mid(mask + 4 * (31 - 16), 4).toHex(), "f000000f");
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
    QByteArray outside = good;
    outside[10] = 32; // a hotspot beyond the picture
    EXPECT_FALSE(decodeCursorFile(outside));
}

} // namespace
} // namespace livrano
