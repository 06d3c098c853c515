// SPDX-License-Identifier: MIT
#include "skin/font_scaling.h"

#include <QFont>
#include <QFontInfo>
#include <QLabel>
#include <QWidget>

#include <gtest/gtest.h>

#include "skin/tooltip.h"

namespace livrano {
namespace {

// A window with the designed fonts: its own 9.75 point font inherited by one label, labels of
// their own sizes and a pixel-sized text. Each text must render at its height at 96 pixels per
// inch, and every widget keep its size; a tooltip made from a scaled font rounds its point size
// first and may come out a pixel larger. The build runs this on screens of 96, 120 and 144
// pixels per inch, with Qt's own scaling off, as a system set to larger fonts presents itself.
TEST(FontScaling, OnTheScreenTextRendersAtItsDesignedPixelHeight) {
    if (const QByteArray wanted = qgetenv("QT_FONT_DPI"); !wanted.isEmpty()) {
        ASSERT_EQ(screenPixelsPerInch(), wanted.toInt());
    }
    struct Text {
        const char* name;
        double pointSize; // 0: inherits the window's
        int pixelSize;    // 0: point-sized
        int designed;     // pixel height at 96 pixels per inch
        int tip[3];       // a tooltip's at 96, 120 and 144: the scaled point size, rounded, scaled
    };
    const Text texts[] = {{"inherited", 0, 0, 13, {13, 13, 14}},
                          {"Label13", 8.25, 0, 11, {11, 12, 12}},
                          {"Label3", 9, 0, 12, {12, 12, 12}},
                          {"lbl_Title", 12, 0, 16, {16, 17, 16}},
                          {"pixels", 0, 15, 15, {15, 15, 15}}};
    const int dpi = screenPixelsPerInch();
    ASSERT_TRUE(dpi == 96 || dpi == 120 || dpi == 144) << dpi;
    const int column = dpi == 96 ? 0 : dpi == 120 ? 1 : 2;
    EXPECT_EQ(fontScaleFactor(0), 1.0f); // a screen that gives no density is taken as 96
    QWidget window;
    window.resize(800, 600);
    QFont tahoma(QStringLiteral("Tahoma"));
    tahoma.setPointSizeF(9.75);
    window.setFont(tahoma);
    std::vector<QLabel*> labels;
    for (const Text& text : texts) {
        auto* label = new QLabel(QString::fromLatin1(text.name), &window);
        label->setGeometry(15, 85, 162, 45);
        QFont font = tahoma;
        if (text.pointSize > 0) {
            font.setPointSizeF(text.pointSize);
            label->setFont(font);
        } else if (text.pixelSize > 0) {
            font.setPixelSize(text.pixelSize);
            label->setFont(font);
        }
        labels.push_back(label);
    }
    SmallFontFix(window);
    EXPECT_EQ(window.size(), QSize(800, 600));
    EXPECT_EQ(QFontInfo(window.font()).pixelSize(), 13);
    for (std::size_t i = 0; i < labels.size(); ++i) {
        SCOPED_TRACE(texts[i].name);
        EXPECT_EQ(labels[i]->geometry(), QRect(15, 85, 162, 45));
        EXPECT_EQ(QFontInfo(labels[i]->font()).pixelSize(), texts[i].designed);
        cls_Tooltip tip;
        const QFont font = labels[i]->font();
        tip.Font(&font);
        EXPECT_EQ(QFontInfo(tip.tipFont()).pixelSize(), texts[i].tip[column]);
    }
}

} // namespace
} // namespace livrano
