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

#include <vector>

#include "skin/region_data.h"
#include "support/temp_dir.h"

namespace livrano {
namespace {

using testkit::TempDir;

constexpr QRgb kKey = qRgb(0, 0, 0);

QString qpath(const std::filesystem::path& path) {
    return QString::fromStdString(path.string());
}

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
    for (const QPoint& p : keyPixels) {
        image.setPixel(p, kKey);
    }
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

TEST(TransForm, SavedFileHoldsTheRegionAndLoadsBackEqual) {
    TempDir dir;
    const QString file = qpath(dir / "Shape.dat");
    PictureWindow saver(picture(30, 20, {{0, 0}, {1, 0}, {29, 0}, {0, 19}, {5, 7}, {28, 19}, {29, 19}}));
    clsTransForm save;
    ASSERT_FALSE(save.ShapeMe(saver, kKey, false, file));
    EXPECT_EQ(saver.mask(), save.region());
    EXPECT_EQ(testkit::readFile(dir / "Shape.dat"), regionToRgnData(save.region()).toStdString());

    PictureWindow loader(picture(30, 20, {})); // its own pixels must not matter
    clsTransForm load;
    ASSERT_FALSE(load.ShapeMe(loader, kKey, true, file));
    EXPECT_EQ(load.region(), save.region());
    EXPECT_EQ(loader.mask(), save.region());
}

TEST(TransForm, LoadWithoutAFileNameReadsThePixelsOfWindowsOnly) {
    PictureWindow window(picture(10, 10, {{5, 7}}));
    PictureWindow child(picture(10, 10, {{1, 1}}));
    child.setParent(&window);
    clsTransForm shaper;
    EXPECT_FALSE(shaper.ShapeMe(child, kKey, true, QString()));
    EXPECT_TRUE(child.mask().isEmpty());
    ASSERT_FALSE(shaper.ShapeMe(window, kKey, true, QString()));
    EXPECT_EQ(window.mask(), QRegion(0, 0, 10, 10) - QRegion(5, 7, 1, 1)); // the child is not painted
}

// What of the window shows: all of it without a mask, else the mask within the window.
QRegion visibleArea(const QWidget& window) {
    return window.mask().isEmpty() ? QRegion(window.rect()) : window.mask() & window.rect();
}

TEST(TransForm, AnEmptyRegionHidesTheWholeWindow) {
    TempDir dir;
    const QString noRectangles = qpath(dir / "None.dat");
    testkit::writeFile(dir / "None.dat", regionToRgnData(QRegion()).toStdString());
    QImage allKey(8, 6, QImage::Format_RGB32);
    allKey.fill(kKey);
    for (const bool load : {false, true}) {
        SCOPED_TRACE(load ? "region file without rectangles" : "picture all of the key colour");
        PictureWindow window(allKey);
        clsTransForm shaper;
        ASSERT_FALSE(shaper.ShapeMe(window, kKey, load, load ? noRectangles : QString()));
        EXPECT_TRUE(shaper.region().isEmpty());
        EXPECT_TRUE(visibleArea(window).isEmpty());
    }
}

TEST(TransForm, PixelsAreReadFromTheWholePictureWhateverTheCurrentShape) {
    PictureWindow window(picture(10, 10, {{5, 7}}));
    window.setMask(QRegion(0, 0, 3, 3));
    clsTransForm shaper;
    ASSERT_FALSE(shaper.ShapeMe(window, kKey));
    EXPECT_EQ(visibleArea(window), QRegion(0, 0, 10, 10) - QRegion(5, 7, 1, 1));
}

TEST(TransForm, FailuresReachTheCallerWithNumberAndSource) {
    TempDir dir;
    testkit::writeFile(dir / "short.dat", std::string(31, '\0'));
    QByteArray wrongCount = regionToRgnData(QRegion(0, 0, 4, 4));
    wrongCount[8] = 2;
    testkit::writeFile(dir / "count.dat", wrongCount.toStdString());
    struct Case {
        const char* name;
        bool load;
        QString file;
        std::uint32_t number;
        QString sourceEnd;
    };
    const Case cases[] = {
        {"missing region file", true, qpath(dir / "missing.dat"), kErrFileNotFound, ".cDIBSectionRegion"},
        {"too short for a header", true, qpath(dir / "short.dat"), kErrBadFileFormat, ".cDIBSectionRegion"},
        {"count disagrees with length", true, qpath(dir / "count.dat"), kErrBadFileFormat,
         ".cDIBSectionRegion"},
        {"save into a missing folder", false, qpath(dir / "no" / "such.dat"), kErrPathFileAccess,
         "TransForm"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PictureWindow window(picture(8, 8, {{1, 1}}));
        window.setMask(QRegion(0, 0, 3, 3));
        clsTransForm shaper;
        const std::optional<TransFormError> error = shaper.ShapeMe(window, kKey, c.load, c.file);
        ASSERT_TRUE(error);
        EXPECT_EQ(error->number, c.number);
        EXPECT_TRUE(error->source.endsWith(c.sourceEnd)) << error->source.toStdString();
        EXPECT_FALSE(error->description.isEmpty());
        EXPECT_EQ(window.mask(), QRegion(0, 0, 3, 3)); // the window keeps its shape
    }
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
        if (entered) {
            QEvent enter(QEvent::Enter);
            QCoreApplication::sendEvent(&window, &enter);
        }
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

} // namespace
} // namespace livrano
