// SPDX-License-Identifier: MIT
#include "screens/main_window.h"

#include <QComboBox>
#include <QFontInfo>
#include <QLabel>
#include <QPainter>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

#include "screens/gui_installation.h"
#include "screens/wizard_screen.h"
#include "skin/image_button.h"
#include "support/data_rows.h"

namespace livrano {
namespace {

using testing::clickButton;
using testing::GuiInstallation;

// The pixels of ink a text leaves in a font.
long inkOf(const QFont& font) {
    QImage image(400, 40, QImage::Format_Grayscale8);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setFont(font);
    painter.drawText(2, 30, QStringLiteral("Aircraft Variation: Tail Number"));
    painter.end();
    long ink = 0;
    for (int i = 0; i < image.sizeInBytes(); ++i)
        ink += 255 - image.constBits()[i];
    return ink;
}

// Run at 96 pixels per inch and again at 120 and 144: positions and sizes are device pixels and
// texts keep their designed pixel heights whatever the screen.
TEST(MainWindowLoad, ControlsAndButtonsAsDesignedInDevicePixels) {
    GuiInstallation installation;
    auto program = installation.started();
    MainWindow& main = *program->mainWindow();
    EXPECT_EQ(main.size(), QSize(800, 600));
    EXPECT_EQ(main.devicePixelRatio(), 1);
    EXPECT_TRUE(main.isVisible());
    EXPECT_EQ(main.windowTitle(), "Corvane's Livrano");
    EXPECT_FALSE(main.mask().isEmpty());

    for (const std::vector<std::string>& c : testing::dataRows("main_window_layout.txt", "control")) {
        SCOPED_TRACE(c[0]);
        ASSERT_EQ(c.size(), 10u);
        auto* w = main.findChild<QWidget*>(QString::fromStdString(c[0]));
        ASSERT_NE(w, nullptr);
        EXPECT_EQ(w->geometry(), QRect(std::stoi(c[1]), std::stoi(c[2]), std::stoi(c[3]), std::stoi(c[4])));
        EXPECT_EQ(QFontInfo(w->font()).pixelSize(), std::stoi(c[5]));
        EXPECT_EQ(w->font().bold(), c[6] == "bold");
        EXPECT_EQ(w->isVisibleTo(&main), c[7] == "shown");
        if (c[9] != "-") {
            EXPECT_EQ(w->property("text").toString(), QString::fromStdString(c[9]));
            EXPECT_EQ(w->palette().color(QPalette::WindowText), QColor(QString::fromStdString(c[8])));
        }
    }
    EXPECT_EQ(main.lbl_Version->text(), "Livrano Version 0.1.0");
    EXPECT_EQ(main.lbl_Version->geometry().right(), 751 + 31 - 1);
    EXPECT_EQ(main.lst_Texture->palette().color(QPalette::Base), QColor(255, 254, 250));
    EXPECT_TRUE(main.opt_Standard->isChecked());
    EXPECT_FALSE(main.lst_Texture->isEnabled());
    // Bold captions carry clearly more ink than regular text of the same size.
    QFont regular = main.findChild<QLabel*>("Label3")->font();
    regular.setBold(false);
    EXPECT_GT(inkOf(main.findChild<QLabel*>("Label3")->font()), inkOf(regular) * 5 / 4);

    for (const std::vector<std::string>& b : testing::dataRows("main_window_layout.txt", "button")) {
        SCOPED_TRACE(b[0]);
        ASSERT_EQ(b.size(), 7u);
        auto* button = main.findChild<ImageButton*>(QString::fromStdString(b[0]));
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->pos(), QPoint(std::stoi(b[1]), std::stoi(b[2])));
        EXPECT_EQ(button->button_type(), QString::fromStdString(b[3]));
        EXPECT_EQ(button->form_name(), &main);
        EXPECT_EQ(button->picture(), QString::fromStdString(b[4]));
        EXPECT_EQ(button->state(), QString::fromStdString(b[5]));
        EXPECT_EQ(button->ToolTip(), QString::fromStdString(b[6]));
    }
}

TEST(MainWindowStatus, NamesTheFirstOpenStepAndResetEmptiesEveryChoiceButTheAircraft) {
    GuiInstallation installation;
    auto program = installation.started();
    MainWindow& main = *program->mainWindow();
    struct Case {
        const char* checked; // one letter per step button: x checked, . empty
        const char* status;
    };
    const Case cases[] = {
        {"......", "Ready to Load Aircraft Specification"},
        {"x....x", "Ready to Load Repaint Template"},
        {"xx.x..", "Ready to Enter Aircraft Variation Information"},
        {"xxx.xx", "Ready to Designate Texture Folder"},
        {"xxxx.x", "Ready to Enter Tail Number"},
        {"xxxxx.", "Ready to Select Aircraft Callsign"},
        {"xxxxxx", "Ready to Create Aircraft Repaint"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.checked);
        for (int i = 0; i < 6; ++i)
            main.stepButtons()[i]->set_picture(c.checked[i] == 'x' ? "Check" : "EMPTY");
        main.btn_CreateAircraft->set_state("disabled");
        main.UpdateStatusLine();
        EXPECT_EQ(main.lbl_Status->text(), c.status);
        EXPECT_EQ(main.btn_CreateAircraft->state(), QString(c.checked) == "xxxxxx" ? "enabled" : "disabled");
    }

    // The empty state: every choice but the aircraft's.
    for (int i = 0; i < 6; ++i) {
        main.stepButtons()[i]->set_picture("Check");
        main.stepButtons()[i]->set_state("disabled");
        main.currentLabels()[i]->setText("chosen");
    }
    main.lst_Texture->addItem("*Entire Template*");
    main.PreviewImage->setPixmap(QPixmap(4, 4));
    main.ResetMainWindow();
    EXPECT_EQ(main.btn_SelectAircraft->picture(), "Check");
    EXPECT_EQ(main.btn_SelectAircraft->state(), "disabled");
    EXPECT_EQ(main.lbl_CurrentAircraft->text(), "chosen");
    for (int i = 1; i < 6; ++i) {
        EXPECT_EQ(main.stepButtons()[i]->picture(), "Empty");
        EXPECT_EQ(main.stepButtons()[i]->state(), "enabled");
        EXPECT_NE(main.currentLabels()[i]->text(), "chosen");
    }
    EXPECT_EQ(main.lbl_CurrentCallsign->text(), "No callsign currently selected");
    EXPECT_EQ(main.btn_CreateAircraft->state(), "disabled");
    EXPECT_EQ(main.lst_Texture->count(), 0);
    EXPECT_TRUE(main.PreviewImage->pixmap().isNull());
    EXPECT_EQ(main.lbl_Status->text(), "Ready to Load Repaint Template");
}

// How far a window goes when the left button goes down on `control` at `at` and the mouse
// moves 30 right and 20 down with it held.
QPoint draggedBy(QWidget& control, QPoint at) {
    QWidget& window = *control.window();
    const QPoint before = window.pos();
    QCursor::setPos(control.mapToGlobal(at));
    QTest::mousePress(&control, Qt::LeftButton, {}, at);
    for (const QPoint step : {QPoint(1, 0), QPoint(30, 20)}) {
        QMouseEvent move(QEvent::MouseMove, QPointF(at + step), QPointF(control.mapToGlobal(at + step)),
                         Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&control, &move);
    }
    QTest::mouseRelease(&control, Qt::LeftButton, {}, at + QPoint(30, 20));
    return window.pos() - before;
}

TEST(MainWindowDrag, OnlyTheWindowsOwnSurfaceDragsIt) {
    GuiInstallation installation;
    auto program = installation.started();
    MainWindow& main = *program->mainWindow();
    main.Pic_StatusBackground->show();
    clickButton(*main.btn_Wizard);
    WizardScreen& aircraft = *program->screen(Screen::SelectAircraft);
    struct Case {
        QWidget* control;
        QPoint at;
    };
    const Case labels[] = {{main.findChild<QLabel*>("Label3"), {2, 2}},
                           {main.lbl_CurrentAircraft, {2, 2}},
                           {main.lbl_Status, {2, 2}},
                           {main.Pic_StatusBackground, {1, 1}},
                           {aircraft.lbl_Title, {2, 2}}};
    for (const Case& c : labels)
        EXPECT_EQ(draggedBy(*c.control, c.at), QPoint(0, 0)) << c.control->objectName().toStdString();
    EXPECT_EQ(draggedBy(main, {300, 40}), QPoint(30, 20));
    EXPECT_EQ(draggedBy(aircraft, {200, 15}), QPoint(30, 20));
}

} // namespace
} // namespace livrano
