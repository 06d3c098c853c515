// SPDX-License-Identifier: MIT
#include "skin/tooltip.h"

#include <QEnterEvent>
#include <QEvent>
#include <QFont>
#include <QFontInfo>
#include <QLabel>
#include <QMouseEvent>
#include <QScreen>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <tuple>
#include <utility>
#include <vector>

#include "skin/font_scaling.h"

namespace livrano {
namespace {

void enter(QWidget& control) {
    QEnterEvent event(QPointF(1, 1), QPointF(1, 1), control.mapToGlobal(QPointF(1, 1)));
    QCoreApplication::sendEvent(&control, &event);
}

void leave(QWidget& control) {
    QEvent event(QEvent::Leave);
    QCoreApplication::sendEvent(&control, &event);
}

TEST(Tooltip, TimesAreClampedAndTheCallerSeesTheClampedValue) {
    for (const auto& [given, stored] : {std::pair{40000, 32767}, {-5, 0}, {250, 250}}) {
        cls_Tooltip tip;
        int visible = given;
        tip.setVisibleTime(visible);
        int delay = given;
        tip.setDelayTime(delay);
        EXPECT_EQ(std::vector<int>({visible, delay, tip.VisibleTime(), tip.DelayTime()}),
                  std::vector<int>(4, stored))
            << given;
    }
}

// The point size is rounded to a whole number, halves to even, before it is scaled: 6.6 points
// (8.25 scaled for 120 pixels per inch) are 7 points, 12 pixels, not 11.
TEST(Tooltip, FontHeightScalesTheRoundedPointSize) {
    for (const auto& [points, perInch, pixels] : {std::tuple{6.6, 120, 12}, {8.5, 96, 11}, {9.5, 96, 13}})
        EXPECT_EQ(cls_Tooltip::fontPixelHeight(points, perInch), pixels)
            << points << " points at " << perInch;
}

// Colours and width set before the tip window exists take effect on it; so does a font, in pixels,
// which a screen does not scale again.
TEST(Tooltip, SettingsMadeBeforeCreateAndTheFontTakeEffectOnTheWindow) {
    QWidget parent;
    cls_Tooltip tip;
    tip.setForeColor(QColor(45, 45, 45));
    tip.setBackColor(QColor(231, 231, 231));
    tip.setMaxWidth(400);
    EXPECT_FALSE(tip.AddControl(&parent, QStringLiteral("too early")));
    tip.Create(&parent);
    ASSERT_NE(tip.tipWindow(), nullptr);
    EXPECT_EQ(tip.tipWindow()->palette().color(QPalette::WindowText), QColor(45, 45, 45));
    EXPECT_EQ(tip.tipWindow()->palette().color(QPalette::Window), QColor(231, 231, 231));
    EXPECT_EQ(tip.tipWindow()->maximumWidth(), 400);
    const QFont before = tip.tipFont();
    tip.Font(nullptr);
    EXPECT_EQ(tip.tipFont(), before);
    QFont tahoma(QStringLiteral("Tahoma"));
    tahoma.setPointSizeF(8.25);
    tahoma.setItalic(true);
    tip.Font(&tahoma);
    EXPECT_TRUE(tip.tipWindow()->font().italic());
    EXPECT_GT(tip.tipWindow()->font().pixelSize(), 0);
}

// A shown window with two controls, and a tip made for it that shows at once.
class TipWindow : public ::testing::Test {
protected:
    TipWindow() {
        window.setGeometry(200, 150, 300, 200);
        first->setGeometry(40, 50, 33, 35);
        second->setGeometry(120, 50, 33, 35);
        QCursor::setPos(0, 0); // off the window: only the test's own enter and leave count
        window.show();
        tip.Create(&window);
        setDelay(0);
    }
    void setDelay(int milliseconds) { tip.setDelayTime(milliseconds); }

    QWidget window;
    QWidget* first = new QWidget(&window);
    QWidget* second = new QWidget(&window);
    cls_Tooltip tip;
};

TEST_F(TipWindow, ShowsCentredOrBelowTheCursorAndHidesOnLeaveOrTimeout) {
    tip.setMaxWidth(120);
    const QString longText = QStringLiteral("Click to create an aircraft repaint using the settings above.");
    ASSERT_TRUE(tip.AddControl(first, longText, true));
    ASSERT_TRUE(tip.AddControl(second, QStringLiteral("Help"), false));

    enter(*first);
    ASSERT_TRUE(QTest::qWaitFor([&] { return tip.shownFor() == first; }, 1000));
    QLabel* shown = tip.tipWindow();
    EXPECT_TRUE(shown->isVisible());
    EXPECT_EQ(shown->text(), longText);
    EXPECT_LE(shown->width(), 120);
    EXPECT_GT(shown->height(), 2 * QFontMetrics(shown->font()).height()); // wrapped
    const QRect tool(first->mapToGlobal(QPoint(0, 0)), first->size());
    EXPECT_NEAR(shown->geometry().center().x(), tool.center().x(), 1);
    EXPECT_EQ(shown->y(), tool.bottom() + 1);

    leave(*first);
    EXPECT_FALSE(shown->isVisible());
    EXPECT_EQ(tip.shownFor(), nullptr);

    int briefly = 150;
    tip.setVisibleTime(briefly);
    QCursor::setPos(second->mapToGlobal(QPoint(5, 5)));
    enter(*second);
    ASSERT_TRUE(QTest::qWaitFor([&] { return tip.shownFor() == second; }, 1000));
    EXPECT_EQ(shown->pos(), QCursor::pos() + QPoint(0, 20));
    EXPECT_TRUE(QTest::qWaitFor([&] { return !shown->isVisible(); }, 2000));
    // A timed-out tip stays away while the mouse stays; leaving and coming back shows it again.
    enter(*second);
    QTest::qWait(20);
    EXPECT_EQ(tip.shownFor(), nullptr);
    leave(*second);
    enter(*second);
    EXPECT_TRUE(QTest::qWaitFor([&] { return tip.shownFor() == second; }, 1000));
    // At the screen's right edge the tip ends at the edge.
    leave(*second);
    const QRect area = second->screen()->availableGeometry();
    window.move(area.right() - 160, 150);
    QCursor::setPos(second->mapToGlobal(QPoint(5, 5)));
    enter(*second);
    ASSERT_TRUE(QTest::qWaitFor([&] { return tip.shownFor() == second; }, 1000));
    EXPECT_EQ(shown->geometry().right(), area.right());
}

// A word wider than the tip (a long file name) is broken: the tip keeps its width, on the screen.
TEST_F(TipWindow, AWordWiderThanTheTipIsBroken) {
    const QString name =
        QStringLiteral("Refused: ") + QString(120, QLatin1Char('W')) + QStringLiteral(".bmp");
    ASSERT_TRUE(tip.AddControl(second, name, false));
    const QRect area = second->screen()->availableGeometry();
    window.move(area.right() - 160, 150);
    QCursor::setPos(second->mapToGlobal(QPoint(5, 5)));
    enter(*second);
    ASSERT_TRUE(QTest::qWaitFor([&] { return tip.shownFor() == second; }, 1000));
    const QRect shown = tip.tipWindow()->geometry();
    EXPECT_LE(shown.width(), tip.MaxWidth());
    EXPECT_TRUE(area.contains(shown)) << shown.x() << "," << shown.y() << " " << shown.width();
    EXPECT_GT(shown.height(),
              3 * QFontMetrics(tip.tipWindow()->font()).height()); // the word on several lines
}

// The delay must pass first; a press hides the tip, a drag (the mouse moving with a button held)
// brings none up, and an empty text shows nothing.
TEST_F(TipWindow, TheDelayMustPassAPressHidesAndNeitherADragNorAnEmptyTextShowsOne) {
    setDelay(600);
    tip.AddControl(first, QStringLiteral("later"));
    tip.AddControl(second, QString());
    enter(*first);
    QTest::qWait(20);
    EXPECT_EQ(tip.shownFor(), nullptr);
    ASSERT_TRUE(QTest::qWaitFor([&] { return tip.shownFor() == first; }, 3000));
    setDelay(0);
    QTest::mousePress(first, Qt::LeftButton);
    EXPECT_FALSE(tip.tipWindow()->isVisible());
    QMouseEvent drag(QEvent::MouseMove, QPointF(3, 3), first->mapToGlobal(QPointF(3, 3)), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(first, &drag);
    QTest::qWait(50);
    EXPECT_EQ(tip.shownFor(), nullptr);
    QTest::mouseRelease(first, Qt::LeftButton); // no button left held for the tests that follow
    leave(*first);
    enter(*second);
    QTest::qWait(50);
    EXPECT_EQ(tip.shownFor(), nullptr);
    EXPECT_FALSE(tip.tipWindow()->isVisible());
}

// A window's texts (its own 9.75 point font inherited, labels of their own sizes, a pixel-sized one)
// render at their heights at 96 pixels per inch and every widget keeps its size; a tooltip made
// from a scaled font rounds its point size first and may come out a pixel larger. The build runs
// this at 96, 120 and 144 pixels per inch with Qt's scaling off, as a system set to larger fonts.
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
