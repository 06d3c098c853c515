// SPDX-License-Identifier: MIT
#include "skin/trans_form.h"

#include <QCoreApplication>
#include <QCursor>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QWidget>

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "app/little_endian.h"
#include "skin/region_data.h"
#include "support/data_rows.h"
#include "support/temp_dir.h"

namespace livrano {
namespace {

using testkit::TempDir;

constexpr QRgb kKey = qRgb(0, 0, 0);

// A window whose picture is an image, as the skinned windows paint their backgrounds.
class PictureWindow : public QWidget {
public:
    explicit PictureWindow(QImage picture) : m_picture(std::move(picture)) { resize(m_picture.size()); }

protected:
    void paintEvent(QPaintEvent*) override { QPainter(this).drawImage(0, 0, m_picture); }

private:
    QImage m_picture;
};

QImage picture(int width, int height, const std::vector<QPoint>& keyPixels) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(qRgb(200, 210, 220));
    for (const QPoint& p : keyPixels)
        image.setPixel(p, kKey);
    return image;
}

TEST(TransFormRegion, KeyPixelsAreCutAwayRunByRun) {
    struct Case {
        const char* name;
        std::vector<QPoint> keys;
        QRegion cut; // what must be missing from the 20 x 12 rectangle
    };
    const Case cases[] = {
        {"no key pixel", {}, QRegion()},
        {"single pixel at (5, 7)", {{5, 7}}, QRegion(5, 7, 1, 1)},
        {"run reaching the right edge", {{17, 3}, {18, 3}, {19, 3}}, QRegion(17, 3, 3, 1)},
        {"neighbouring rows stay apart", {{19, 0}, {0, 1}}, QRegion(19, 0, 1, 1) + QRegion(0, 1, 1, 1)},
        {"last row", {{0, 11}, {1, 11}}, QRegion(0, 11, 2, 1)},
        {"two runs in one row", {{2, 4}, {3, 4}, {6, 4}}, QRegion(2, 4, 2, 1) + QRegion(6, 4, 1, 1)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QRegion region = clsTransForm::regionFromPicture(picture(20, 12, c.keys), kKey);
        EXPECT_EQ(region, QRegion(0, 0, 20, 12) - c.cut);
    }
}

TEST(TransFormRegion, OnlyTheKeyColourIsCutWhateverTheAlpha) {
    QImage image(4, 1, QImage::Format_ARGB32);
    image.setPixel(0, 0, qRgba(0, 0, 0, 255));
    image.setPixel(1, 0, qRgba(0, 0, 0, 0));
    image.setPixel(2, 0, qRgba(1, 0, 0, 255));
    image.setPixel(3, 0, qRgba(255, 0, 255, 255));
    EXPECT_EQ(clsTransForm::regionFromPicture(image, kKey), QRegion(2, 0, 2, 1));
    EXPECT_EQ(clsTransForm::regionFromPicture(image, qRgb(255, 0, 255)), QRegion(0, 0, 3, 1));
}

// What of the window shows: all of it without a mask, else the mask within the window.
QRegion visibleArea(const QWidget& window) {
    return window.mask().isEmpty() ? QRegion(window.rect()) : window.mask() & window.rect();
}

// Each window starts with a 3 x 3 shape, which must not matter, and a key pixel at (5, 7).
TEST(TransForm, ShapeMeCutsThePictureSavesAndLoadsTheShapeOrSaysWhyNot) {
    TempDir dir;
    const QRegion loaded = QRegion(0, 0, 8, 8) - QRegion(2, 3, 1, 1);
    testkit::writeFile(dir / "loaded.dat", regionToRgnData(loaded).toStdString());
    testkit::writeFile(dir / "none.dat", regionToRgnData(QRegion()).toStdString());
    testkit::writeFile(dir / "short.dat", std::string(31, '\0'));
    QByteArray wrongCount = regionToRgnData(QRegion(0, 0, 4, 4));
    wrongCount[8] = 2;
    testkit::writeFile(dir / "count.dat", wrongCount.toStdString());
    const QRegion cut = QRegion(0, 0, 8, 8) - QRegion(5, 7, 1, 1);
    struct Case {
        const char* file; // in dir; "" for none
        bool load;
        QRegion shown;              // when it succeeds
        std::uint32_t error = 0;    // else its number
        const char* sourceEnd = ""; // and the end of its source
    };
    const Case cases[] = {
        {"", false, cut},
        {"", true, cut}, // nothing to load: the picture counts
        {"saved.dat", false, cut},
        {"loaded.dat", true, loaded},
        {"none.dat", true, QRegion()}, // no rectangles hide the whole window
        {"missing.dat", true, {}, kErrFileNotFound, ".cDIBSectionRegion"},
        {"short.dat", true, {}, kErrBadFileFormat, ".cDIBSectionRegion"},
        {"count.dat", true, {}, kErrBadFileFormat, ".cDIBSectionRegion"},
        {"no/such.dat", false, {}, kErrPathFileAccess, "TransForm"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.file) + (c.load ? " loaded" : " saved"));
        PictureWindow window(picture(8, 8, {{5, 7}}));
        window.setMask(QRegion(0, 0, 3, 3));
        clsTransForm shaper;
        const QString file = *c.file == '\0' ? QString() : QString::fromStdString((dir / c.file).string());
        const std::optional<TransFormError> error = shaper.ShapeMe(window, kKey, c.load, file);
        if (c.error != 0) {
            ASSERT_TRUE(error);
            EXPECT_EQ(error->number, c.error);
            EXPECT_TRUE(error->source.endsWith(c.sourceEnd)) << error->source.toStdString();
            EXPECT_FALSE(error->description.isEmpty());
            EXPECT_EQ(window.mask(), QRegion(0, 0, 3, 3));
            continue;
        }
        ASSERT_FALSE(error) << error->description.toStdString();
        EXPECT_EQ(shaper.region(), c.shown);
        EXPECT_EQ(visibleArea(window), c.shown);
        if (!c.load && !file.isEmpty()) {
            EXPECT_EQ(testkit::readFile(dir / c.file), regionToRgnData(c.shown).toStdString());
        }
    }
    // Only the window's own picture counts, not a control on it, which keeps its shape.
    PictureWindow window(picture(8, 8, {{5, 7}}));
    PictureWindow child(picture(8, 8, {{1, 1}}));
    child.setParent(&window);
    clsTransForm shaper;
    EXPECT_FALSE(shaper.ShapeMe(child, kKey));
    EXPECT_TRUE(child.mask().isEmpty());
    EXPECT_FALSE(shaper.ShapeMe(window, kKey));
    EXPECT_EQ(window.mask(), cut);
}

TEST(TransFormDrag, OnlyTheLeftButtonMovesTheWindowUntilRelease) {
    // `entered`: the mouse comes back into the window with the button let go elsewhere.
    const std::pair<int, bool> cases[] = {
        {Qt::RightButton, false}, {Qt::MiddleButton, false}, {Qt::LeftButton, false}, {Qt::LeftButton, true}};
    for (const auto& [button, entered] : cases) {
        SCOPED_TRACE(button + entered);
        PictureWindow window(picture(40, 30, {}));
        window.move(100, 100);
        window.show();
        window.setCursor(QCursor(QPixmap(16, 16), 8, 8));
        const QPoint start = window.pos() + QPoint(10, 10);
        QCursor::setPos(start);
        clsTransForm shaper;
        shaper.DragForm(window, button);
        // The left button held while the mouse moves; released at `at`.
        const auto mouse = [&](QEvent::Type type, QPoint at) {
            const bool release = type == QEvent::MouseButtonRelease;
            QMouseEvent event(type, QPointF(10, 10), QPointF(at), release ? Qt::LeftButton : Qt::NoButton,
                              release ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
            QCoreApplication::sendEvent(&window, &event);
        };
        const QPoint to = start + QPoint(30, 20);
        QEvent enter(QEvent::Enter);
        if (entered)
            QCoreApplication::sendEvent(&window, &enter);
        mouse(QEvent::MouseMove, to);
        mouse(QEvent::MouseButtonRelease, to);
        const bool dragged = button == Qt::LeftButton && !entered;
        const QPoint end = dragged ? QPoint(130, 120) : QPoint(100, 100);
        EXPECT_EQ(window.pos(), end);
        EXPECT_EQ(window.cursor().shape(), button == Qt::LeftButton ? Qt::ArrowCursor : Qt::BitmapCursor);
        // After the release the window no longer follows the mouse.
        mouse(QEvent::MouseMove, to + QPoint(50, 50));
        EXPECT_EQ(window.pos(), end);
    }
}

std::vector<std::int32_t> words(const QByteArray& bytes) {
    std::vector<std::int32_t> out;
    for (qsizetype i = 0; i + 4 <= bytes.size(); i += 4)
        out.push_back(static_cast<std::int32_t>(readLe32(bytes, i)));
    return out;
}

QByteArray fromWords(const std::vector<std::int32_t>& values) {
    QByteArray out;
    for (const std::int32_t value : values)
        appendLe32(out, static_cast<std::uint32_t>(value));
    return out;
}

TEST(RegionData, BytesAreTheHeaderThenTheBandedRectangles) {
    // An L shape: a full band on top, then a narrower band below.
    const QRegion region = QRegion(-2, 0, 10, 3) + QRegion(-2, 3, 4, 2);
    EXPECT_EQ(words(regionToRgnData(region)),
              (std::vector<std::int32_t>{32, 1, 2, 32, -2, 0, 8, 5, -2, 0, 8, 3, -2, 3, 2, 5}));
    // Byte by byte once, so that the word readers above cannot hide a wrong byte order.
    EXPECT_EQ(regionToRgnData(QRegion()), QByteArray("\x20\0\0\0\1\0\0\0", 8) + QByteArray(24, '\0'));
}

TEST(RegionData, ReadsWhatItWritesAndAcceptsAZeroBufferSize) {
    const QRegion region = QRegion(0, 0, 800, 600) - QRegion(0, 0, 5, 1) - QRegion(790, 599, 10, 1);
    EXPECT_EQ(regionFromRgnData(regionToRgnData(region)), region);
    QByteArray zeroSize = regionToRgnData(region);
    zeroSize[12] = zeroSize[13] = 0;
    EXPECT_EQ(regionFromRgnData(zeroSize), region);
    // Rectangles in any order, overlapping, as the system's region builder takes them.
    const QByteArray loose = fromWords({32, 1, 2, 32, 0, 0, 0, 0, 5, 0, 9, 4, 0, 0, 6, 4});
    EXPECT_EQ(regionFromRgnData(loose), QRegion(0, 0, 9, 4));
}

TEST(RegionData, MalformedBytesAreRefused) {
    const QByteArray good = regionToRgnData(QRegion(0, 0, 8, 2) + QRegion(0, 2, 3, 2));
    for (qsizetype length = 0; length < good.size(); ++length)
        EXPECT_FALSE(regionFromRgnData(good.left(length))) << "length " << length;
    for (const std::vector<std::string>& row : testkit::dataRows("region_data.txt", "malformed")) {
        std::vector<std::int32_t> values;
        for (auto word = row.begin() + 1; word != row.end(); ++word)
            values.push_back(static_cast<std::int32_t>(std::stol(*word)));
        EXPECT_FALSE(regionFromRgnData(fromWords(values))) << row[0];
    }
}

} // namespace
} // namespace livrano
