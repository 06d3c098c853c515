// SPDX-License-Identifier: MIT
#include "screens/main_window.h"

#include <QComboBox>
#include <QFontInfo>
#include <QFontMetrics>
#include <QLabel>
#include <QPainter>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>

#include "app/code_page.h"
#include "app/platform.h"
#include "output/build_repaint.h"
#include "output/repaint_world.h"
#include "screens/gui_installation.h"
#include "screens/wizard_screen.h"
#include "skin/image_button.h"
#include "support/data_rows.h"
#include "texture/bitmap_surfaces.h"
#include "texture/template_loader.h"

namespace livrano {
namespace {

using testkit::clickButton;
using testkit::GuiInstallation;
using testkit::RepaintWorld;
using testkit::writeFile;
namespace fs = std::filesystem;

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

    for (const std::vector<std::string>& c : testkit::dataRows("main_window_layout.txt", "control")) {
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

    for (const std::vector<std::string>& b : testkit::dataRows("main_window_layout.txt", "button")) {
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

// Every message the window can put in its status line, with the longest inputs it takes, fits the
// line, word-wrapped in its own font (at 96, 120 and 144 pixels per inch: the font keeps its
// pixel height); whatever the message leaves out is in its detail, the line's tooltip. A build
// that may not start writes and removes nothing, and says why on the line alone.
TEST(MainWindowStatus, EveryMessageFitsTheLineWithTheRestInItsDetail) {
    GuiInstallation installation;
    auto program = installation.started();
    const QLabel& line = *program->mainWindow()->lbl_Status;
    const auto fits = [&](const std::string& text) {
        const QRect needed =
            QFontMetrics(line.font())
                .boundingRect(QRect(QPoint(), line.size()), Qt::TextWordWrap | line.alignment(),
                              QString::fromStdString(text));
        return needed.width() <= line.width() && needed.height() <= line.height();
    };
    struct Case {
        const char* what;
        std::function<void(RepaintWorld&)> change;
        std::string named; // the message or its detail names this
        Status::Kind kind = Status::Kind::Refused;
        std::function<Status(RepaintWorld&)> act = {}; // the build, unless given
        std::optional<std::uintmax_t> freeSpace = {};  // on the disk, when not the real one's
    };
    std::string title = "Corvane Craft Harbour"; // as long as a title can be
    while (title.size() < 254)
        title += " Evening";
    title.resize(254);
    const std::string longName = "T_FUSELAGE_LEFT_SIDE_REGISTRATION_AND_CHEATLINE_STRIPES";
    // Every texture's name starts with it.
    const auto longTextures = [&](RepaintWorld& w) {
        for (TextureSpec& t : w.app.spec.Textures) {
            t.BaseTextureName = longName + "_" + t.BaseTextureName;
            t.ReplaceMask = longName + "_" + t.ReplaceMask;
        }
    };
    FolderLock otherBuild;
    std::string error;
    auto installed = [&](const std::string& value) {
        return [&, value](RepaintWorld& w) {
            writeFile(w.aircraft() / "Aircraft.cfg",
                      "[fltsim.0]\r\ntitle=" + title + "\r\n" + value + "\r\n");
        };
    };
    const Case cases[] = {
        {"another build", [&](RepaintWorld& w) { otherBuild.tryLock(w.programFolder(), true, error); },
         "Another build is running", Status::Kind::Locked},
        {"no simulator folder to lock", [](RepaintWorld& w) { fs::remove_all(w.root() / "Aircraft"); },
         "cannot lock the aircraft folder"},
        {"another livery's model", installed("model=qrx"), title.substr(0, 200)},
        {"another livery's folder",
         [&](RepaintWorld& w) {
             w.app.spec.TextureAssignOnly = 1;
             w.app.settings.FolderExtension = longName;
             installed("texture=" + longName)(w);
         },
         title.substr(0, 200)},
        // Written through, its files would be replaced; removed through, they would be gone.
        {"a folder linked to another livery's",
         [](RepaintWorld& w) {
             w.app.spec.TextureAssignOnly = 1;
             writeFile(w.aircraft() / "Texture.harbour" / "t.bmp", "harbour");
             fs::create_directory_symlink("Texture.harbour", w.aircraft() / "Texture.qrx");
             writeFile(w.aircraft() / "Aircraft.cfg",
                       "[fltsim.0]\r\ntitle=Corvane Craft Blue Sky\r\ntexture=qrx\r\n"
                       "[fltsim.1]\r\ntitle=Harbour\r\ntexture=harbour\r\n");
         },
         "Texture.qrx, which belongs to the livery \"Harbour\""},
        {"the extra textures' folder",
         [](RepaintWorld& w) {
             w.app.extraTextures = {1, "QRX", 1, {"extra.bmp"}};
         },
         "own extra textures"},
        {"converted over an intermediate",
         [](RepaintWorld& w) { w.app.spec.Textures[2].BaseTextureName = "T_FUSE_XXX_1_c"; },
         "T_FUSE_QRX_1_c.bmp"},
        {"empty texture name",
         [](RepaintWorld& w) {
             w.app.spec.TextureAssignOnly = 1;
             w.app.spec.Textures[2].BaseTextureName = " ";
         },
         "texture name"},
        {"no clean copy", [](RepaintWorld& w) { fs::remove(w.data() / "Aircraft.cfg"); }, "clean copy"},
        {"no model", [](RepaintWorld& w) { fs::remove(w.data() / "Craft_XXX.mdl"); },
         "Craft_XXX.mdl is missing"},
        {"no flight model", [](RepaintWorld& w) { fs::remove(w.data() / "Craft_XXX.air"); },
         "Craft_XXX.air is missing"},
        {"a backup that is a folder",
         [](RepaintWorld& w) { fs::create_directory(w.aircraft() / "Aircraft.bak"); },
         "Aircraft.bak, which is not a regular file"},
        {"a file where a folder goes", [](RepaintWorld& w) { writeFile(w.aircraft() / "Texture", ""); },
         "Texture, but something that is not a folder"},
        {"a folder name too long",
         [](RepaintWorld& w) {
             w.app.spec.TextureAssignOnly = 1;
             w.app.settings.FolderExtension = std::string(250, 'e');
         },
         "is too long for the file system"},
        {"no template", [](RepaintWorld& w) { FreeTemplateSurfaces(w.app.surfaces); }, "No template"},
        {"unreadable title", [&](RepaintWorld& w) { w.app.settings.Variation = title; },
         "cannot be read back"},
        {"aircraft folder", [&](RepaintWorld& w) { w.app.spec.AircraftDirectory = "../" + longName; },
         "../" + longName},
        {"data folder", [](RepaintWorld& w) { w.app.spec.DataPath = "CRAFT\\..\\.."; }, "CRAFT\\..\\.."},
        {"folder extension", [&](RepaintWorld& w) { w.app.settings.FolderExtension = longName + "a/b"; },
         "a/b"},
        {"folder extension dots", [](RepaintWorld& w) { w.app.settings.FolderExtension = ".."; }, ".."},
        {"quoted folder extension", [](RepaintWorld& w) { w.app.settings.FolderExtension = "'Q'"; },
         "\"'Q'\" of model cannot be read back"},
        {"an extra texture the build composes",
         [&](RepaintWorld& w) {
             w.app.spec.TextureAssignOnly = 1;
             longTextures(w);
             w.app.extraTextures = {1, "", 1, {longName + "_t_fuse_xxx_1.bmp"}};
         },
         "_T_FUSE_XXX_1\" that the build composes"},
        {"texture name",
         [&](RepaintWorld& w) {
             w.app.spec.Textures[1].BaseTextureName = "../" + longName + "_XXX";
             w.app.spec.Textures[1].ReplaceMask = "../" + longName + "_*";
         },
         "../" + longName + "_QRX"},
        {"flight-model mask",
         [&](RepaintWorld& w) {
             w.app.spec.BaseAirName = longName + "_XXX";
             w.app.spec.ReplaceAirMask = longName;
         },
         "mask \"" + longName},
        {"model mask",
         [&](RepaintWorld& w) {
             w.app.spec.BaseModelName = longName + "_XXX";
             w.app.spec.ReplaceMask = "Craft_";
         },
         "the mask \"Craft_\""},
        {"texture mask",
         [&](RepaintWorld& w) {
             longTextures(w);
             w.app.spec.Textures[1].ReplaceMask = "T_WING_";
         },
         "The texture name cannot be formed"},
        {"offset 0",
         [&](RepaintWorld& w) {
             longTextures(w);
             w.app.spec.Textures[1].MdlOffsets = {0};
         },
         "before the start"},
        {"extra texture",
         [&](RepaintWorld& w) {
             w.app.extraTextures = {1, "", 1, {"..\\" + longName + ".bmp"}};
         },
         "..\\" + longName},
        {"identifier length", [&](RepaintWorld& w) { w.app.settings.FolderExtension = longName; },
         "exactly 3 characters"},
        {"offset past the end",
         [&](RepaintWorld& w) {
             longTextures(w);
             w.app.spec.Textures[0].MdlOffsets = {1, 340};
         },
         "at model offset 340"},
        {"extra field the entry writes itself",
         [](RepaintWorld& w) {
             w.app.extraFields = {1, 1, {"atc_ID"}, {"X"}};
         },
         "\"atc_ID\" (ExtraField.00) is a key"},
        {"too many entries",
         [](RepaintWorld& w) {
             std::string cfg;
             for (int n = 0; n <= 1000; ++n)
                 cfg += "[fltsim." + std::to_string(n) + "]\r\ntitle=L" + std::to_string(n) + "\r\n";
             writeFile(w.aircraft() / "Aircraft.cfg", cfg);
         },
         "more than 1000"},
        {"UTF-16 without its mark",
         [](RepaintWorld& w) {
             writeFile(w.aircraft() / "Aircraft.cfg", std::string("[\0f\0l\0t\0s\0i\0m\0.\0"
                                                                  "0\0]\0",
                                                                  18));
         },
         "no livery can be read"},
        {"a character Windows-1252 has not",
         [](RepaintWorld& w) {
             writeFile(w.aircraft() / "Aircraft.cfg", std::string("\xFF\xFE[\0"
                                                                  "f\0\x13\x01",
                                                                  8));
         },
         "\"ē\" (U+0113)"},
        {"a full table",
         [](RepaintWorld& w) {
             std::string cfg;
             for (int n = 0; n < 1000; ++n)
                 cfg += "[fltsim." + std::to_string(n) + "]\r\ntitle=L" + std::to_string(n) + "\r\n";
             writeFile(w.aircraft() / "Aircraft.cfg", cfg);
         },
         "the most it can hold (1000)"},
        {"read-only aircraft.cfg",
         [](RepaintWorld& w) {
             fs::permissions(w.aircraft() / "Aircraft.cfg", fs::perms::owner_write, fs::perm_options::remove);
         },
         "is read-only"},
        // The replaced livery's files stay until the build has succeeded: they free nothing.
        {"too little free space",
         [](RepaintWorld& w) {
             writeFile(w.aircraft() / "Model.BBB" / "Craft_BBB.mdl", std::string(1 << 20, 'b'));
         },
         "replaced livery's files stay on it",
         Status::Kind::Refused,
         {},
         40 * 1024},
        {"the aircraft's own livery",
         [](RepaintWorld& w) {
             writeFile(w.data() / "Aircraft.cfg", testkit::readFile(testkit::testData("craft_aircraft.cfg")) +
                                                      "[fltsim.0]\r\ntitle=corvane craft BLUE SKY\r\n");
         },
         "one of the aircraft's own liveries"},
        // What the window says itself: a template that does not load, a typed character the files
        // cannot hold; and every text of a build that leaves out textures of long names.
        {"unreadable template",
         {},
         "Notes.bmp cannot be read as a BMP file",
         Status::Kind::Refused,
         [](RepaintWorld& w) {
             fs::path deep = w.root();
             for (int i = 0; i < 12; ++i)
                 deep /= "Repaints of the Corvane Craft";
             writeFile(deep / "Notes.bmp", "not a picture");
             w.app.spec.UseAlpha = 1; // and no companion either
             return LoadTemplate(w.app.spec, w.app.surfaces, w.frontend, (deep / "Notes.bmp").string());
         }},
        {"typed character",
         {},
         "(U+0113)",
         Status::Kind::Refused,
         [&](RepaintWorld&) {
             std::string out;
             return windows1252FromUtf8("template file name", title + "\xc4\x93", out);
         }},
        {"textures left out",
         [&](RepaintWorld& w) {
             longTextures(w);
             w.app.extraTextures = {1, "", 1, {longName + ".bmp"}};
         },
         "Extra texture " + longName + ".bmp was skipped", Status::Kind::Ok},
    };
    for (const Case& c : cases) {
        RepaintWorld world;
        world.installConfiguration();
        // A livery of the same title is installed: replacing it would delete files.
        writeFile(world.aircraft() / "Model.BBB" / "Craft_BBB.mdl", "b");
        writeFile(world.aircraft() / "Craft_BBB.air", "b");
        writeFile(world.aircraft() / "Aircraft.cfg",
                  "[fltsim.0]\r\ntitle=Corvane Craft Blue Sky\r\nmodel=BBB\r\n");
        if (c.change)
            c.change(world);
        const std::set<std::string> before = RepaintWorld::listing(world.root());

        testkit::FailingFileOperations files([](const std::string&, const std::string&) { return false; });
        files.freeSpace = c.freeSpace;
        const Status status = c.act ? c.act(world) : CreateRepaint(world.app, files);
        EXPECT_EQ(status.kind(), c.kind) << c.what;
        std::vector<std::string> shown = world.frontend.statusTexts;
        const std::string whole = status ? shown.back() + "\n" + world.frontend.statusDetail : status.text();
        EXPECT_NE(whole.find(c.named), std::string::npos) << c.what << ": " << whole;
        if (!status && !c.act) {
            EXPECT_EQ(shown, std::vector<std::string>{status.message()}) << c.what;
            EXPECT_EQ(world.frontend.statusDetail, status.detail()) << c.what;
            EXPECT_EQ(RepaintWorld::listing(world.root()), before) << c.what;
        }
        if (!status && c.act)
            shown.push_back(status.message()); // the window shows it itself
        for (const std::string& text : shown)
            EXPECT_TRUE(fits(text)) << c.what << ": " << text;
    }
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
