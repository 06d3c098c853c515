// SPDX-License-Identifier: MIT
// The drawn media as the program uses them: sizes and formats, shapes that hold every button,
// strips that blend into the surface under them, a real cursor and its file format, sound and manual.
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QPixmap>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "app/little_endian.h"
#include "skin/cursor_file.h"
#include "skin/image_button.h"
#include "skin/region_data.h"
#include "skin/trans_form.h"

namespace livrano {
namespace {

QString media(const char* name) {
    return QStringLiteral(LIVRANO_PROGRAM_DIR "/Media/") + QString::fromLatin1(name);
}

QByteArray bytesOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Where each window shows which strip, and the background under it.
struct Placement {
    const char* background;
    const char* strip;
    QPoint at;
    QSize frame;
};
const Placement kPlacements[] = {
    {"Main_Background.bmp", "Close.bmp", {756, 15}, TinyButton::kFrameSize},
    {"Main_Background.bmp", "Help.bmp", {715, 15}, TinyButton::kFrameSize},
    {"Main_Background.bmp", "Empty.bmp", {16, 149}, TinyButton::kFrameSize},
    {"Main_Background.bmp", "Check.bmp", {16, 409}, TinyButton::kFrameSize},
    {"Main_Background.bmp", "Wizard.bmp", {185, 85}, LargeButton::kFrameSize},
    {"Main_Background.bmp", "CreateAircraft.bmp", {185, 468}, LargeButton::kFrameSize},
    {"Wizard_Background.bmp", "Close.bmp", {360, 7}, TinyButton::kFrameSize},
    {"Wizard_Background.bmp", "Previous.bmp", {161, 253}, TinyButton::kFrameSize},
    {"Wizard_Background.bmp", "Close.bmp", {161, 253}, TinyButton::kFrameSize}, // single-edit mode
    {"Wizard_Background.bmp", "Next.bmp", {206, 253}, TinyButton::kFrameSize},
    {"Wizard_Background.bmp", "Next.bmp", {183, 253}, TinyButton::kFrameSize},
    {"Wizard_Background.bmp", "Empty.bmp", {17, 176}, TinyButton::kFrameSize},
};

TEST(Media, ShapesComeFromTheBackgroundsAndHoldEveryButton) {
    struct Case {
        const char* background;
        const char* region;
        QSize size;
    };
    const Case cases[] = {{"Main_Background.bmp", "MainRegion.dat", {800, 600}},
                          {"Wizard_Background.bmp", "WizardRegion.dat", {400, 300}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.region);
        const QImage background(media(c.background));
        ASSERT_EQ(background.size(), c.size);
        const QByteArray bytes = bytesOf(media(c.region));
        const std::optional<QRegion> region = regionFromRgnData(bytes);
        ASSERT_TRUE(region);
        EXPECT_EQ(*region, clsTransForm::regionFromPicture(background, qRgb(0, 0, 0)));
        // Not a rectangle, and not much less than one.
        EXPECT_GT(region->rectCount(), 1);
        EXPECT_FALSE(region->contains(QPoint(0, 0)));
        EXPECT_EQ(region->boundingRect(), QRect(QPoint(0, 0), c.size));
        for (const Placement& p : kPlacements) {
            if (QString::fromLatin1(p.background) == QString::fromLatin1(c.background)) {
                EXPECT_EQ(*region & QRect(p.at, p.frame), QRegion(QRect(p.at, p.frame))) << p.strip;
            }
        }
    }
}

// Every strip and background is a 24-bit uncompressed bitmap; a strip holds four frames, and each
// look, as a button shows it on its window, blends at its corners into the surface under it.
TEST(Media, StripsAreBitmapsOfFourFramesThatBlendIntoTheSurfaceUnderThem) {
    for (const Placement& p : kPlacements) {
        SCOPED_TRACE(std::string(p.strip) + " on " + p.background);
        for (const char* file : {p.strip, p.background}) {
            const QByteArray bytes = bytesOf(media(file));
            ASSERT_GT(bytes.size(), 54);
            EXPECT_TRUE(bytes.startsWith("BM"));
            EXPECT_EQ(readLe16(bytes, 28), 24u); // bits per pixel
            EXPECT_EQ(readLe32(bytes, 30), 0u);  // uncompressed
        }
        const QImage background(media(p.background));
        ASSERT_EQ(QImage(media(p.strip)).size(), QSize(p.frame.width(), p.frame.height() * 4));
        QLabel window;
        window.setPixmap(QPixmap::fromImage(background));
        window.resize(background.size());
        const std::filesystem::path folder(LIVRANO_PROGRAM_DIR);
        ImageButton* button = p.frame == TinyButton::kFrameSize
                                  ? static_cast<ImageButton*>(new TinyButton(folder, &window))
                                  : new LargeButton(folder, &window);
        button->move(p.at);
        button->set_picture(QString::fromLatin1(p.strip).chopped(4));
        for (const char* state : {"enabled", "highlight", "down", "disabled"}) {
            button->set_state(QString::fromLatin1(state));
            const QImage shown = window.grab(QRect(p.at, p.frame)).toImage();
            const QRect f(QPoint(), p.frame);
            for (const QPoint corner : {f.topLeft(), f.topRight(), f.bottomLeft(), f.bottomRight()})
                EXPECT_EQ(shown.pixel(corner), background.pixel(p.at + corner))
                    << state << corner.x() << corner.y();
        }
    }
}

// Where a strip leaves the key colour round its button, the button's edge is its own colour: a
// pixel half the key's black would show as a dark rim on a light surface.
TEST(Media, KeyedButtonsHaveNoDarkRim) {
    for (const Placement& p : kPlacements) {
        const QImage strip = QImage(media(p.strip)).convertToFormat(QImage::Format_RGB32);
        for (int frame = 0; frame < 4; ++frame) {
            const QRect f(QPoint(0, frame * p.frame.height()), p.frame);
            auto keyed = [&](int x, int y) {
                return !f.contains(x, y) || (strip.pixel(x, y) & 0xFFFFFFu) == 0;
            };
            int darkestInside = 255;
            std::vector<QPoint> rim;
            for (int y = f.top(); y <= f.bottom(); ++y)
                for (int x = f.left(); x <= f.right(); ++x) {
                    if (keyed(x, y))
                        continue;
                    if (keyed(x - 1, y) || keyed(x + 1, y) || keyed(x, y - 1) || keyed(x, y + 1))
                        rim.push_back({x, y});
                    else
                        darkestInside = std::min(darkestInside, qGray(strip.pixel(x, y)));
                }
            for (const QPoint at : rim)
                EXPECT_GE(qGray(strip.pixel(at)), darkestInside)
                    << p.strip << " frame " << frame << " at " << at.x() << "," << at.y();
        }
    }
}

TEST(Media, CursorSoundAndManualAreRealFiles) {
    const std::optional<CursorFile> cursor = decodeCursorFile(bytesOf(media("HMOVE.cur")));
    ASSERT_TRUE(cursor);
    EXPECT_EQ(cursor->hotspot, QPoint(16, 16));
    EXPECT_GT(qAlpha(cursor->image.pixel(16, 3)), 200);
    EXPECT_EQ(qAlpha(cursor->image.pixel(2, 2)), 0);

    // Headers that agree with the length; 16-bit mono samples, audible, unclipped, ending in silence.
    const QByteArray wav = bytesOf(media("Next.wav"));
    ASSERT_GT(wav.size(), 44);
    EXPECT_TRUE(wav.startsWith("RIFF") && wav.mid(8, 8) == "WAVEfmt ");
    EXPECT_EQ(readLe32(wav, 4), static_cast<std::uint32_t>(wav.size() - 8));
    EXPECT_EQ(readLe32(wav, 20), 0x10001u); // PCM, one channel
    ASSERT_EQ(readLe16(wav, 34), 16u);
    ASSERT_EQ(static_cast<qsizetype>(44 + readLe32(wav, 40)), wav.size());
    int peak = 0;
    for (int at = 44; at < wav.size(); at += 2)
        peak = std::max(peak, std::abs(static_cast<int>(static_cast<std::int16_t>(readLe16(wav, at)))));
    EXPECT_GT(peak, 8000);
    EXPECT_LT(peak, 32000);
    EXPECT_LT(std::abs(static_cast<std::int16_t>(readLe16(wav, static_cast<int>(wav.size()) - 2))), 50);

    const QByteArray pdf = bytesOf(QStringLiteral(LIVRANO_PROGRAM_DIR "/Livrano.pdf"));
    EXPECT_TRUE(pdf.startsWith("%PDF-") && pdf.trimmed().endsWith("%%EOF"));
}

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
