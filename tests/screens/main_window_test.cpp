// SPDX-License-Identifier: MIT
#include "screens/main_window.h"

#include <QComboBox>
#include <QFontInfo>
#include <QFontMetrics>
#include <QLabel>
#include <QPainter>
#include <QRadioButton>
#include <QTest>

#include <gmock/gmock.h>
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

using testing::HasSubstr;
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
    EXPECT_TRUE(main.opt_Standard->isChecked());
    EXPECT_FALSE(main.lst_Texture->isEnabled());
    // Bold captions carry clearly more ink than regular text of the same size.
    QFont regular = main.findChild<QLabel*>("Label3")->font();
    regular.setBold(false);
    EXPECT_GT(inkOf(main.findChild<QLabel*>("Label3")->font()), inkOf(regular) * 5 / 4);

    for (const std::vector<std::string>& b : testkit::dataRows("main_window_layout.txt", "button")) {
        SCOPED_TRACE(b[0]);
        ASSERT_EQ(b.size(), 6u);
        auto* button = main.findChild<ImageButton*>(QString::fromStdString(b[0]));
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->pos(), QPoint(std::stoi(b[1]), std::stoi(b[2])));
        EXPECT_EQ(button->picture(), QString::fromStdString(b[3]));
        EXPECT_EQ(button->state(), QString::fromStdString(b[4]));
        EXPECT_EQ(button->ToolTip(), QString::fromStdString(b[5]));
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

// The longest inputs the window takes: a title of 254 characters and a long texture name.
const std::string kLongName = "T_FUSELAGE_LEFT_SIDE_REGISTRATION_AND_CHEATLINE_STRIPES";

// Every message the window can put in its status line, with the longest inputs it takes, must fit
// the line, word-wrapped in its own font (at 96, 120 and 144 pixels per inch: the font keeps its
// pixel height); whatever the message leaves out is in its detail, the line's tooltip.
class MainWindowStatusLine : public ::testing::Test {
protected:
    bool fits(const std::string& text) const {
        const QLabel& line = *program->mainWindow()->lbl_Status;
        const QRect room(QPoint(), line.size());
        const auto flags = static_cast<int>(Qt::TextWordWrap | line.alignment());
        return room.contains(
            QFontMetrics(line.font()).boundingRect(room, flags, QString::fromStdString(text)));
    }

    GuiInstallation installation;
    std::unique_ptr<Program> program = installation.started();
    const std::string title =
        ("Corvane Craft Harbour" + QString(" Evening").repeated(30).toStdString()).substr(0, 254);
};

// A change to the world a build starts from.
using Change = std::function<void(RepaintWorld&)>;
struct Refusal {
    std::vector<Change> changes;
    std::string named; // the message or its detail names this
    Status::Kind kind = Status::Kind::Refused;
    std::optional<std::uintmax_t> freeSpace = {}; // on the disk, when not the real one's
};

// Every texture's name starts with the long name.
void longTextures(RepaintWorld& w) {
    for (TextureSpec& t : w.app.spec.Textures) {
        t.BaseTextureName = kLongName + "_" + t.BaseTextureName;
        t.ReplaceMask = kLongName + "_" + t.ReplaceMask;
    }
}
const Change assignOnly = [](RepaintWorld& w) { w.app.spec.TextureAssignOnly = 1; };
Change extension(const std::string& text) {
    return [text](RepaintWorld& w) { w.app.settings.FolderExtension = text; };
}
Change extra(const std::string& name, const std::string& folder = "") {
    return [=](RepaintWorld& w) { w.app.extraTextures = {1, folder, 1, {name}}; };
}
Change atcField(std::int16_t copied) {
    return [=](RepaintWorld& w) { w.app.extraFields = {copied, 1, {"atc_ID"}, {"X"}}; };
}
Change cfg(const std::string& text) {
    return [text](RepaintWorld& w) { writeFile(w.aircraft() / "Aircraft.cfg", text); };
}
std::string entries(int count) {
    std::string text;
    for (int n = 0; n < count; ++n)
        text += "[fltsim." + std::to_string(n) + "]\r\ntitle=L" + std::to_string(n) + "\r\n";
    return text;
}

// Each with its longest inputs, in a world where a livery of the same title is installed.
std::vector<Refusal> refusals(const std::string& title, FolderLock& other) {
    using enum Status::Kind;
    const auto installed = [&](const std::string& value) {
        return cfg("[fltsim.0]\r\ntitle=" + title + "\r\n" + value + "\r\n");
    };
    return {
        {{[&](auto& w) { ASSERT_TRUE(other.tryLock(w.programFolder(), true)); }}, "Another build", Locked},
        {{[](auto& w) { fs::remove_all(w.root() / "Aircraft"); }}, "cannot lock the aircraft folder"},
        {{installed("model=qrx")}, title.substr(0, 200)},
        {{assignOnly, extension(kLongName), installed("texture=" + kLongName)}, title.substr(0, 200)},
        // Written through, its files would be replaced; removed through, they would be gone.
        {{assignOnly, [](auto& w) { writeFile(w.aircraft() / "Texture.harbour" / "t.bmp", "harbour"); },
          [](auto& w) { fs::create_directory_symlink("Texture.harbour", w.aircraft() / "Texture.qrx"); },
          cfg("[fltsim.0]\r\ntitle=Corvane Craft Blue Sky\r\ntexture=qrx\r\n"
              "[fltsim.1]\r\ntitle=Harbour\r\ntexture=harbour\r\n")},
         "Texture.qrx, which belongs to the livery \"Harbour\""},
        {{extra("extra.bmp", "QRX")}, "own extra textures"},
        {{[](auto& w) { w.app.spec.Textures[2].BaseTextureName = "T_FUSE_XXX_1_c"; }}, "T_FUSE_QRX_1_c.bmp"},
        {{assignOnly, [](auto& w) { w.app.spec.Textures[2].BaseTextureName = " "; }}, "texture name"},
        {{[](auto& w) { fs::remove(w.data() / "Aircraft.cfg"); }}, "clean copy"},
        {{[](auto& w) { fs::remove(w.data() / "Craft_XXX.mdl"); }}, "Craft_XXX.mdl is missing"},
        {{[](auto& w) { fs::remove(w.data() / "Craft_XXX.air"); }}, "Craft_XXX.air is missing"},
        {{[](auto& w) { fs::create_directory(w.aircraft() / "Aircraft.bak"); }},
         "Aircraft.bak, which is not a regular file"},
        {{[](auto& w) { writeFile(w.aircraft() / "Texture", ""); }},
         "Texture, but something that is not a folder"},
        {{[](auto& w) { fs::create_directory_symlink("Nowhere", w.aircraft() / "Texture"); }},
         "Texture, but something that is not a folder"},
        {{assignOnly, extension(std::string(250, 'e'))}, "is too long for the file system"},
        // Short enough itself, but not under the temporary name it is first written as.
        {{extra(std::string(236, 'e') + ".bmp")}, "is too long for the file system"},
        {{[](auto& w) { FreeTemplateSurfaces(w.app.surfaces); }}, "No template"},
        {{[&](auto& w) { w.app.settings.Variation = title; }}, "cannot be read back"},
        {{[&](auto& w) { w.app.spec.AircraftDirectory = "../" + kLongName; }}, "../" + kLongName},
        {{[](auto& w) { w.app.spec.DataPath = "CRAFT\\..\\.."; }}, "CRAFT\\..\\.."},
        {{extension(kLongName + "a/b")}, "a/b"},
        {{extension("'Q'")}, "\"'Q'\" of model cannot be read back"},
        {{assignOnly, longTextures, extra(kLongName + "_t_fuse_xxx_1.bmp")},
         "_T_FUSE_XXX_1\" that the build composes"},
        {{[&](auto& w) { w.app.spec.Textures[1].BaseTextureName = "../" + kLongName + "_XXX"; },
          [&](auto& w) { w.app.spec.Textures[1].ReplaceMask = "../" + kLongName + "_*"; }},
         "../" + kLongName + "_QRX"},
        {{[&](auto& w) { w.app.spec.BaseAirName = kLongName + "_XXX"; },
          [&](auto& w) { w.app.spec.ReplaceAirMask = kLongName; }},
         "mask \"" + kLongName},
        {{[&](auto& w) { w.app.spec.BaseModelName = kLongName + "_XXX"; },
          [](auto& w) { w.app.spec.ReplaceMask = "Craft_"; }},
         "the mask \"Craft_\""},
        {{longTextures, [](auto& w) { w.app.spec.Textures[1].ReplaceMask = "T_WING_"; }},
         "The texture name cannot be formed"},
        {{longTextures, [](auto& w) { w.app.spec.Textures[1].MdlOffsets = {0}; }}, "before the start"},
        {{extra("..\\" + kLongName + ".bmp")}, "..\\" + kLongName},
        {{extension(kLongName)}, "exactly 3 characters"},
        {{longTextures, [](auto& w) { w.app.spec.Textures[0].MdlOffsets = {340}; }}, "at model offset 340"},
        {{atcField(1)}, "\"atc_ID\" (ExtraField.00) is a key"},
        {{cfg(entries(1001))}, "more than 1000"},
        {{cfg(std::string("[\0f\0l\0t\0s\0i\0m\0", 14))}, "no livery can be read"}, // UTF-16 without its mark
        {{cfg(std::string("\xFF\xFE[\0f\0\x13\x01", 8))}, "\"ē\" (U+0113)"},
        {{cfg(entries(1000))}, "the most it can hold (1000)"},
        {{[](auto& w) { fs::permissions(w.aircraft() / "Aircraft.cfg", fs::perms::owner_read); }},
         "is read-only"},
        // The replaced livery's files stay until the build has succeeded: they free nothing.
        {{[](auto& w) { fs::resize_file(w.aircraft() / "Model.BBB" / "Craft_BBB.mdl", 4 << 20); },
          [](auto& w) { fs::resize_file(w.data() / "Craft_XXX.mdl", 3 << 20); }},
         "writes up to 3.1 MB",
         Refused,
         40 * 1024},
        {{[](auto& w) {
             writeFile(w.data() / "Aircraft.cfg", testkit::readFile(testkit::testData("craft_aircraft.cfg")) +
                                                      "[fltsim.0]\r\ntitle=corvane craft BLUE SKY\r\n");
         }},
         "one of the aircraft's own liveries"},
        // Every text of a build that leaves out textures of long names; extra fields it does not
        // copy are not checked, though one of them is a key.
        {{longTextures, extra(kLongName + ".bmp"), atcField(0)},
         "Extra texture " + kLongName + ".bmp was skipped",
         Ok},
    };
}

// A build that may not start writes and removes nothing, and says why on the line alone.
TEST_F(MainWindowStatusLine, EveryBuildMessageFitsTheLineWithTheRestInItsDetail) {
    FolderLock otherBuild;
    for (const Refusal& c : refusals(title, otherBuild)) {
        SCOPED_TRACE(c.named);
        RepaintWorld world;
        world.installConfiguration();
        // A livery of the same title is installed: replacing it would delete files.
        writeFile(world.aircraft() / "Model.BBB" / "Craft_BBB.mdl", "b");
        writeFile(world.aircraft() / "Craft_BBB.air", "b");
        cfg("[fltsim.0]\r\ntitle=Corvane Craft Blue Sky\r\nmodel=BBB\r\n")(world);
        for (const Change& change : c.changes)
            change(world);
        const std::set<std::string> before = RepaintWorld::listing(world.root());

        testkit::FailingFileOperations files([](const std::string&, const std::string&) { return false; });
        files.freeSpace = c.freeSpace;
        const Status status = CreateRepaint(world.app.buildState(), files);
        EXPECT_EQ(status.kind(), c.kind);
        const std::vector<std::string>& shown = world.frontend.statusTexts;
        EXPECT_THAT(status ? shown.back() + "\n" + world.frontend.statusDetail : status.text(),
                    HasSubstr(c.named));
        if (!status) {
            EXPECT_EQ(shown, std::vector<std::string>{status.message()});
            EXPECT_EQ(world.frontend.statusDetail, status.detail());
            EXPECT_EQ(RepaintWorld::listing(world.root()), before);
        }
        for (const std::string& text : shown)
            EXPECT_TRUE(fits(text)) << text;
    }
}

// What the window says itself: a template that does not load, a typed character the files cannot hold.
TEST_F(MainWindowStatusLine, TheWindowsOwnRefusalsFitTheLine) {
    RepaintWorld world;
    const fs::path notPicture = world.root() / std::string(200, 'd') / (kLongName + ".bmp");
    writeFile(notPicture, "not a picture");
    world.app.spec.UseAlpha = 1; // and no companion either
    std::string typed;
    for (const Status& said :
         {LoadTemplate(world.app.spec, world.app.surfaces, world.frontend, notPicture.string()),
          windows1252FromUtf8("template file name", title + "\xc4\x93", typed)})
        EXPECT_TRUE(!said && fits(said.message())) << said.message();
}

// How far a window goes when the left button goes down on `control` at `at` and the mouse
// moves 30 right and 20 down with it held.
QPoint draggedBy(QWidget& control, QPoint at = {1, 1}) {
    const QPoint before = control.window()->pos();
    QCursor::setPos(control.mapToGlobal(at));
    QTest::mousePress(&control, Qt::LeftButton, {}, at);
    QTest::mouseMove(&control, at + QPoint(1, 0));
    QTest::mouseMove(&control, at + QPoint(30, 20));
    QTest::mouseRelease(&control, Qt::LeftButton, {}, at + QPoint(30, 20));
    return control.window()->pos() - before;
}

TEST(MainWindowDrag, OnlyTheWindowsOwnSurfaceDragsIt) {
    GuiInstallation installation;
    auto program = installation.started();
    MainWindow& main = *program->mainWindow();
    main.Pic_StatusBackground->show();
    clickButton(*main.btn_Wizard);
    WizardScreen& aircraft = *program->screen(Screen::SelectAircraft);
    QWidget* const labels[] = {main.findChild<QLabel*>("Label3"), main.lbl_CurrentAircraft, main.lbl_Status,
                               main.Pic_StatusBackground, aircraft.lbl_Title};
    for (QWidget* label : labels)
        EXPECT_EQ(draggedBy(*label), QPoint(0, 0)) << label->objectName().toStdString();
    EXPECT_EQ(draggedBy(main, {300, 40}), QPoint(30, 20));
    EXPECT_EQ(draggedBy(aircraft, {200, 15}), QPoint(30, 20));
}

} // namespace
} // namespace livrano
