#include "skin/font_scaling.h"

#include <QFont>
#include <QFontInfo>
#include <QLabel>
#include <QWidget>

#include <gtest/gtest.h>

#include "skin/tooltip.h"

namespace livrano {
namespace {

// How tall a font's text is in pixels when laid out at pixelsPerInch.
double textPixelHeight(const QFont& font, int pixelsPerInch) {
    return font.pixelSize() > 0 ? font.pixelSize() : font.pointSizeF() * pixelsPerInch / 72.0;
}

TEST(FontScaling, FactorIsNinetySixOverThePixelsPerInch) {
    EXPECT_EQ(fontScaleFactor(96), 1.0f);
    EXPECT_EQ(fontScaleFactor(120), 0.8f);
    EXPECT_EQ(fontScaleFactor(144), 96.0f / 144.0f);
    EXPECT_EQ(fontScaleFactor(0), 1.0f);
}

// A window with the designed fonts: its own 9.75 point font inherited by one label, a label of
// its own size, a bold caption and a pixel-sized text. Every text must keep its height at 96
// pixels per inch and every widget its size, whatever the screen's value.
TEST(FontScaling, TextKeepsItsDesignedPixelHeightAndWidgetsTheirSize) {
    struct Text {
        const char* name;
        double pointSize; // 0: inherits the window's
        int pixelSize;    // 0: point-sized
    };
    const Text texts[] = {
        {"inherited", 0, 0}, {"Label13", 8.25, 0}, {"Label3", 9, 0}, {"lbl_Title", 12, 0}, {"pixels", 0, 15}};
    for (const int dpi : {96, 120, 144}) {
        SCOPED_TRACE(dpi);
        QWidget window;
        window.resize(800, 600);
        QFont windowFont(QStringLiteral("Tahoma"));
        windowFont.setPointSizeF(9.75);
        window.setFont(windowFont);
        std::vector<QLabel*> labels;
        for (const Text& text : texts) {
            auto* label = new QLabel(QString::fromLatin1(text.name), &window);
            label->setGeometry(10, 20, 119, 20);
            QFont font = label->font();
            if (text.pointSize > 0) {
                font.setPointSizeF(text.pointSize);
                label->setFont(font);
            } else if (text.pixelSize > 0) {
                font.setPixelSize(text.pixelSize);
                label->setFont(font);
            }
            labels.push_back(label);
        }
        SmallFontFix(window, dpi);
        EXPECT_EQ(window.size(), QSize(800, 600));
        EXPECT_NEAR(textPixelHeight(window.font(), dpi), 13.0, 1e-4);
        for (std::size_t i = 0; i < labels.size(); ++i) {
            const Text& text = texts[i];
            const double designed =
                text.pixelSize > 0 ? text.pixelSize : (text.pointSize > 0 ? text.pointSize : 9.75) * 96 / 72;
            EXPECT_NEAR(textPixelHeight(labels[i]->font(), dpi), designed, 1e-4) << text.name;
            EXPECT_EQ(labels[i]->geometry(), QRect(10, 20, 119, 20)) << text.name;
            if (text.pixelSize == 0) {
                // A tooltip made from a scaled font comes out at the designed height too.
                EXPECT_EQ(cls_Tooltip::fontPixelHeight(labels[i]->font().pointSizeF(), dpi),
                          static_cast<int>(designed + 0.5))
                    << text.name;
            }
        }
    }
}

// On the screen itself: the build also runs this at 120 and 144 pixels per inch, with Qt's own
// scaling off, as a system set to larger fonts presents itself.
TEST(FontScaling, OnTheScreenTextRendersAtItsDesignedPixelHeight) {
    if (const QByteArray wanted = qgetenv("QT_FONT_DPI"); !wanted.isEmpty()) {
        ASSERT_EQ(screenPixelsPerInch(), wanted.toInt());
    }
    QWidget window;
    window.resize(800, 600);
    QFont tahoma(QStringLiteral("Tahoma"));
    tahoma.setPointSizeF(9.75);
    window.setFont(tahoma);
    auto* inherits = new QLabel(QStringLiteral("inherited"), &window);
    auto* small = new QLabel(QStringLiteral("8.25"), &window);
    small->setGeometry(15, 85, 162, 45);
    tahoma.setPointSizeF(8.25);
    small->setFont(tahoma);
    SmallFontFix(window);
    EXPECT_EQ(window.size(), QSize(800, 600));
    EXPECT_EQ(small->geometry(), QRect(15, 85, 162, 45));
    EXPECT_EQ(QFontInfo(window.font()).pixelSize(), 13);
    EXPECT_EQ(QFontInfo(inherits->font()).pixelSize(), 13);
    EXPECT_EQ(QFontInfo(small->font()).pixelSize(), 11);
    cls_Tooltip tip;
    const QFont buttonFont = small->font();
    tip.Font(&buttonFont);
    EXPECT_EQ(tip.tipFont().pixelSize(), 11);
}

} // namespace
} // namespace livrano
