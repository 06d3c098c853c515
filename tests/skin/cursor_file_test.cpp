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
        image.setPixel(16, i, qRgba(240, 200, 0, 128));
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
    const QImage read = cursor->image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            // Half-transparent pixels may lose one step to the reader's premultiplication.
            const QRgb a = read.pixel(x, y);
            const QRgb b = image.pixel(x, y);
            ASSERT_EQ(qAlpha(a), qAlpha(b)) << x << "," << y;
            ASSERT_NEAR(qRed(a), qRed(b), 1) << x << "," << y;
            ASSERT_NEAR(qGreen(a), qGreen(b), 1) << x << "," << y;
            ASSERT_NEAR(qBlue(a), qBlue(b), 1) << x << "," << y;
        }
    }
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
