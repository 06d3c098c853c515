#include "screens/main_window.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontInfo>
#include <QLabel>
#include <QPainter>
#include <QRadioButton>
#include <QScrollBar>

#include <gtest/gtest.h>

#include "screens/gui_installation.h"
#include "skin/image_button.h"

namespace livrano {
namespace {

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

    enum Colour { Grey, Navy, Ink };
    struct Control {
        const char* name;
        QRect at;
        const char* text;
        int pixelHeight; // of its font
        bool bold;
        Colour colour;
        bool visible;
    };
    const char* const kNone = nullptr;
    const Control controls[] = {
        {"Label13",
         {15, 85, 162, 45},
         "Select to start the aircraft repaint wizard or use the buttons below to set items manually.",
         11,
         false,
         Grey,
         true},
        {"Label3", {57, 147, 119, 20}, "Aircraft:", 12, true, Grey, true},
        {"lbl_CurrentAircraft",
         {57, 168, 290, 21},
         "No aircraft currently selected for repainting",
         13,
         false,
         Navy,
         true},
        {"Label6", {57, 199, 119, 20}, "Template:", 12, true, Grey, true},
        {"lbl_CurrentTemplate",
         {57, 220, 290, 21},
         "No repaint template currently selected",
         13,
         false,
         Navy,
         true},
        {"Label8", {57, 251, 117, 20}, "Aircraft Variation:", 12, true, Grey, true},
        {"lbl_CurrentVariation",
         {57, 272, 290, 21},
         "No aircraft variation currently entered",
         13,
         false,
         Navy,
         true},
        {"Label10", {57, 303, 119, 20}, "Texture Folder:", 12, true, Grey, true},
        {"lbl_CurrentFolder",
         {57, 324, 290, 21},
         "No folder extension currently entered",
         13,
         false,
         Navy,
         true},
        {"Label12", {57, 355, 119, 20}, "Tail Number:", 12, true, Grey, true},
        {"lbl_CurrentTailNumber",
         {57, 376, 290, 21},
         "No tail number currently entered",
         13,
         false,
         Navy,
         true},
        {"Label5", {57, 407, 119, 20}, "Callsign:", 12, true, Grey, true},
        {"lbl_CurrentCallsign", {57, 428, 290, 21}, "No callsign currently selected", 13, false, Navy, true},
        {"Label14",
         {15, 468, 162, 45},
         "Once all items above have been checked, press the Create Aircraft button to finish.",
         11,
         false,
         Grey,
         true},
        {"Pic_StatusBackground", {15, 526, 333, 25}, kNone, 13, false, Grey, false},
        {"Label4", {15, 556, 39, 16}, "Status:", 11, false, Grey, true},
        {"lbl_Status", {55, 556, 293, 32}, "Ready to Load Aircraft Specification", 11, true, Grey, true},
        {"PreviewImage", {358, 74, 425, 425}, kNone, 13, false, Grey, false},
        {"Preview_Scroll", {358, 501, 425, 18}, kNone, 13, false, Grey, false},
        {"chkDXT3", {359, 522, 197, 16}, "Create Plane in DXT3 Format", 13, false, Ink, true},
        {"opt_Standard", {358, 549, 179, 19}, "Preview Standard Texture", 13, false, Ink, true},
        {"opt_Alpha", {358, 569, 179, 19}, "Preview Alpha Channel", 13, false, Ink, true},
        {"Label1", {561, 547, 141, 15}, "Select Texture to View", 11, true, Grey, true},
        {"lst_Texture", {561, 564, 224, 24}, kNone, 13, false, Grey, true},
    };
    const QColor colours[] = {QColor(96, 96, 96), QColor(0, 69, 140), QColor(48, 48, 48)};
    for (const Control& c : controls) {
        SCOPED_TRACE(c.name);
        auto* w = main.findChild<QWidget*>(QString::fromLatin1(c.name));
        ASSERT_NE(w, nullptr);
        EXPECT_EQ(w->geometry(), c.at);
        EXPECT_EQ(w->isVisibleTo(&main), c.visible);
        EXPECT_EQ(QFontInfo(w->font()).pixelSize(), c.pixelHeight);
        EXPECT_EQ(w->font().bold(), c.bold);
        if (c.text != nullptr) {
            EXPECT_EQ(w->property("text").toString(), QString::fromLatin1(c.text));
            EXPECT_EQ(w->palette().color(QPalette::WindowText), colours[c.colour]);
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

    struct Button {
        const char* name;
        QPoint at;
        const char* type;
        const char* picture;
        const char* state;
        const char* tip;
    };
    const Button buttons[] = {
        {"btn_Close", {756, 15}, "close", "Close", "enabled", "Click to Exit from Livrano."},
        {"btn_Help", {715, 15}, "help", "Help", "enabled", "Click to access the Help document for Livrano."},
        {"btn_SelectAircraft",
         {16, 149},
         "selectaircraft",
         "Empty",
         "enabled",
         "Click to modify the aircraft selection."},
        {"btn_SelectTemplate",
         {16, 201},
         "selecttemplate",
         "Empty",
         "disabled",
         "Click to modify the repaint template."},
        {"btn_Variation",
         {16, 253},
         "variation",
         "Empty",
         "disabled",
         "Click to modify the aircraft variation."},
        {"btn_Folder",
         {16, 305},
         "folder",
         "Empty",
         "disabled",
         "Click to modify the aircraft texture folder."},
        {"btn_TailNumber",
         {16, 357},
         "tailnumber",
         "Empty",
         "disabled",
         "Click to modify the aircraft tail number."},
        {"btn_Callsign",
         {16, 409},
         "callsign",
         "Empty",
         "disabled",
         "Click to modify the aircraft callsign."},
        {"btn_Wizard",
         {185, 85},
         "wizard",
         "Wizard",
         "enabled",
         "Click to Start the Aircraft Repaint Wizard."},
        {"btn_CreateAircraft",
         {185, 468},
         "create",
         "CreateAircraft",
         "disabled",
         "Click to create an aircraft repaint using the settings above."},
    };
    for (const Button& b : buttons) {
        SCOPED_TRACE(b.name);
        auto* button = main.findChild<ImageButton*>(QString::fromLatin1(b.name));
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->pos(), b.at);
        EXPECT_EQ(button->button_type(), b.type);
        EXPECT_EQ(button->form_name(), &main);
        EXPECT_EQ(button->picture(), b.picture);
        EXPECT_EQ(button->state(), b.state);
        EXPECT_EQ(button->ToolTip(), b.tip);
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

} // namespace
} // namespace livrano
