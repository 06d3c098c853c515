// SPDX-License-Identifier: MIT
#include "screens/wizard.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "app/file_names.h"
#include "screens/callsign_screen.h"
#include "screens/core_text.h"
#include "screens/entry_screen.h"
#include "screens/gui_installation.h"
#include "screens/main_window.h"
#include "screens/select_aircraft_screen.h"
#include "screens/select_template_screen.h"
#include "skin/image_button.h"
#include "texture/template_loader.h"

namespace livrano {
namespace {

namespace fs = std::filesystem;
using testing::HasSubstr;
using testing::StartsWith;
using testkit::clickButton;
using testkit::GuiInstallation;

// The one wizard screen on show; fails the test when there is none or more than one.
WizardScreen* shown(Program& program) {
    WizardScreen* on = nullptr;
    for (int s = 1; s <= 6; ++s) {
        WizardScreen* screen = program.screen(static_cast<Screen>(s));
        if (screen != nullptr && screen->isVisible()) {
            EXPECT_EQ(on, nullptr) << "two screens on show";
            on = screen;
        }
    }
    EXPECT_NE(on, nullptr);
    return on;
}

template <typename S> S* shownAs(Program& program) {
    return dynamic_cast<S*>(shown(program));
}

void enter(QWidget* control) {
    QTest::keyClick(control, Qt::Key_Return);
}

// A build the core refuses says why in the status line, the path in its tooltip, and stays on
// offer, highlighted; so does one that fails once it began writing. Leaves the folder extension PLX.
void refusedBuildsSaySo(MainWindow& main, RepaintSettings& settings, const DemoAircraft& meridian) {
    settings.FolderExtension = "NWD";
    clickButton(*main.btn_CreateAircraft);
    EXPECT_THAT(main.lbl_Status->text().toStdString(),
                StartsWith("Model.NWD belongs to \"Corvane CJ-70 Meridian"));
    EXPECT_THAT(main.lbl_Status->toolTip().toStdString(),
                HasSubstr("/Café/Aircraft/Corvane CJ-70 Meridian/Model.NWD, which belongs to the livery"));
    EXPECT_EQ(main.btn_CreateAircraft->state(), "highlight");
    // One that names an accented folder and a character the code page has not reads as it should.
    const fs::path cfgFile = resolveCaseless(meridian.aircraftFolder / "aircraft.cfg");
    const std::string installed = testkit::readFile(cfgFile);
    testkit::writeFile(cfgFile, std::string("\xFF\xFE\x13\x01", 4));
    clickButton(*main.btn_CreateAircraft);
    EXPECT_THAT(main.lbl_Status->toolTip().toStdString(),
                HasSubstr("/Café/Aircraft/Corvane CJ-70 Meridian/aircraft.cfg cannot hold \"ē\" (U+0113)"));
    testkit::writeFile(cfgFile, installed);
    // One that fails once it began writing says so too: here the model copy leads into a file.
    settings.FolderExtension = "PLX";
    const fs::path model = meridian.aircraftFolder / "Model.PLX" / "CJ70_PLX.mdl";
    fs::create_directories(model.parent_path());
    fs::create_symlink(meridian.aircraftFolder / "aircraft.cfg" / "x", model);
    clickButton(*main.btn_CreateAircraft);
    EXPECT_EQ(main.lbl_Status->text(), "The build stopped at \"Renaming Textures in MDL\".");
    EXPECT_THAT(main.lbl_Status->toolTip().toStdString(), HasSubstr("CJ70_PLX.mdl"));
    EXPECT_FALSE(main.Pic_StatusBackground->isVisible());
    fs::remove(model);
}

TEST(WizardEndToEnd, FromWizardToCreateWithKeyboardAndMouse) {
    GuiInstallation installation;
    const DemoAircraft& meridian = installation.demo().aircraft[1];
    auto program = installation.started();
    MainWindow& main = *program->mainWindow();
    clickButton(*main.btn_Wizard);
    auto* aircraft = shownAs<SelectAircraftScreen>(*program);
    ASSERT_NE(aircraft, nullptr);
    EXPECT_EQ(aircraft->lbl_Title->text(), "Wizard Step 1: Select Aircraft to Repaint");
    EXPECT_EQ(aircraft->btn_Next->state(), "enabled");
    QTest::keyClick(aircraft->lst_SelectAircraft, Qt::Key_Down);
    ASSERT_EQ(aircraft->lst_SelectAircraft->currentItem()->text().toStdString(), meridian.displayName);
    enter(aircraft->lst_SelectAircraft);

    auto* templ = shownAs<SelectTemplateScreen>(*program);
    ASSERT_NE(templ, nullptr);
    EXPECT_EQ(templ->btn_Next->state(), "disabled");
    // The second line of instructions belongs to steps 2 to 6 only.
    EXPECT_EQ(aircraft->lbl_instructions2, nullptr);
    ASSERT_NE(templ->lbl_instructions2, nullptr);
    EXPECT_FALSE(templ->lbl_instructions2->text().isEmpty());
    enter(templ); // nothing picked: nothing happens
    ASSERT_EQ(shown(*program), templ);
    installation.record().chosenFile = QString::fromStdString(meridian.templateFile.string());
    clickButton(*templ->btn_Select);
    EXPECT_EQ(installation.record().dialogFolders.back().toStdString(),
              resolveCaseless(installation.programFolder() / "Templates").string());
    EXPECT_EQ(templ->lbl_SelectedTemplate->text(), "Meridian Template.bmp");
    clickButton(*templ->btn_Next);

    for (const char* typed : {"Polar Express", "PLX", "N704PX"}) {
        auto* entry = shownAs<EntryScreen>(*program);
        ASSERT_NE(entry, nullptr) << typed;
        QTest::keyClicks(entry->txt_Entry, QString::fromLatin1(typed));
        enter(entry->txt_Entry);
    }
    auto* callsign = shownAs<CallsignScreen>(*program);
    ASSERT_NE(callsign, nullptr);
    QTest::keyClick(callsign->lst_Callsign, Qt::Key_Down);
    const QString airline = callsign->lst_Callsign->itemText(1);
    clickButton(*callsign->btn_Next);
    EXPECT_FALSE(callsign->isVisible());
    EXPECT_EQ(main.lbl_CurrentFolder->text(), "Texture.PLX");
    EXPECT_EQ(main.lbl_CurrentCallsign->text(), airline);
    ASSERT_EQ(main.btn_CreateAircraft->state(), "enabled");

    refusedBuildsSaySo(main, program->app().settings, meridian);
    clickButton(*main.btn_CreateAircraft);
    EXPECT_TRUE(
        fs::is_regular_file(resolveCaseless(meridian.aircraftFolder / "texture" / "CJ70_PLX_FUSE.bmp")));
    const std::string cfg = testkit::readFile(resolveCaseless(meridian.aircraftFolder / "aircraft.cfg"));
    for (const std::string& line :
         std::vector<std::string>{"title=Corvane CJ-70 Meridian Polar Express", "atc_id=N704PX",
                                  "atc_airline=" + airline.toStdString()})
        EXPECT_NE(cfg.find(line + "\r\n"), std::string::npos) << line;
    EXPECT_EQ(main.lbl_Status->text(), "Your Aircraft Repaint has been built");
    EXPECT_FALSE(main.Pic_StatusBackground->isVisible());
    EXPECT_EQ(installation.record().sounds.size(), 7u); // six confirmations and the build
    // The empty state, with the aircraft still chosen and its default tail number back.
    EXPECT_EQ(main.lbl_CurrentAircraft->text().toStdString(), meridian.displayName);
    EXPECT_EQ(main.lbl_CurrentVariation->text(), "No aircraft variation currently entered");
    EXPECT_EQ(main.lbl_CurrentTailNumber->text(), "N70CM");
    EXPECT_EQ(main.btn_TailNumber->picture(), "Check");
    EXPECT_EQ(main.btn_CreateAircraft->state(), "disabled");
    EXPECT_EQ(main.lst_Texture->itemText(0), "*Entire Template*");
}

// An aircraft chosen through the aircraft screen in single-edit mode.
std::unique_ptr<Program> withAircraft(GuiInstallation& installation) {
    auto program = installation.started();
    clickButton(*program->mainWindow()->btn_SelectAircraft);
    enter(static_cast<SelectAircraftScreen*>(shown(*program))->lst_SelectAircraft);
    return program;
}

TEST(WizardModes, ItemButtonsOpenOneScreenAndTheWizardChainsThem) {
    GuiInstallation installation;
    auto program = withAircraft(installation);
    MainWindow& main = *program->mainWindow();
    const char* const titles[] = {"Select Aircraft to Repaint", "Select Repaint Template",
                                  "Enter Aircraft Variation",   "Enter Aircraft Folder",
                                  "Enter Aircraft Tail Number", "Select Aircraft Callsign"};
    for (int step = 1; step <= 6; ++step) {
        SCOPED_TRACE(step);
        clickButton(*main.stepButtons()[static_cast<std::size_t>(step - 1)]);
        WizardScreen* s = shown(*program);
        ASSERT_EQ(s->step(), step);
        EXPECT_EQ(s->lbl_Title->text(), titles[step - 1]);
        EXPECT_EQ(s->btn_Close->isVisibleTo(s), step == 1);
        EXPECT_EQ(s->pos(), main.pos() + QPoint(200, 150));
        if (step > 1) {
            EXPECT_EQ(s->btn_Previous->picture(), "Close");
        }
        clickButton(step == 1 ? *s->btn_Close : *s->btn_Previous);
        EXPECT_FALSE(s->isVisible());
    }
    EXPECT_EQ(main.btn_Variation->picture(), "Empty");

    // The wizard: Previous goes back one step in wizard mode, Next and Close as told.
    clickButton(*main.btn_Wizard);
    enter(static_cast<SelectAircraftScreen*>(shown(*program))->lst_SelectAircraft);
    installation.record().chosenFile =
        QString::fromStdString(installation.demo().aircraft[0].templateFile.string());
    clickButton(*shown(*program)->btn_Select);
    clickButton(*shown(*program)->btn_Next);
    auto* variation = shownAs<EntryScreen>(*program);
    EXPECT_EQ(variation->lbl_Title->text(), "Wizard Step 3: Enter Aircraft Variation");
    EXPECT_TRUE(variation->btn_Close->isVisibleTo(variation));
    clickButton(*variation->btn_Previous);
    WizardScreen* templ = shown(*program);
    EXPECT_EQ(templ->lbl_Title->text(), "Wizard Step 2: Select Repaint Template");
    EXPECT_EQ(templ->btn_Next->state(), "enabled");
    clickButton(*templ->btn_Next);
    enter(shownAs<EntryScreen>(*program)->txt_Entry); // Next disabled: Enter confirms the placeholder
    EXPECT_EQ(program->app().settings.Variation, "Enter Aircraft Variation");
    auto* folder = shownAs<EntryScreen>(*program);
    QTest::keyClicks(folder->txt_Entry, " ab ");
    EXPECT_EQ(folder->lbl_Info->text(), "Texture.ab");
    clickButton(*folder->btn_Close);
    EXPECT_EQ(program->app().settings.PendingFolderExtension, " ab ");
    const char* const checks[] = {"Check", "Check", "Check",
                                  "Empty", "Check", "Empty"}; // 5: the default tail
    for (std::size_t i = 0; i < 6; ++i)
        EXPECT_EQ(main.stepButtons()[i]->picture(), checks[i]) << i;
}

TEST(WizardEdges, PlaceholdersCallsignsAndCataloguesAsThePainterMeetsThem) {
    GuiInstallation installation;
    auto program = withAircraft(installation);
    MainWindow& main = *program->mainWindow();
    RepaintSettings& settings = program->app().settings;
    // A box cleared and closed gets the placeholder back, which counts as a change.
    clickButton(*main.btn_Variation);
    auto* variation = shownAs<EntryScreen>(*program);
    variation->txt_Entry->clear();
    EXPECT_EQ(variation->btn_Next->state(), "enabled");
    clickButton(*variation->btn_Previous);
    clickButton(*main.btn_Variation);
    EXPECT_EQ(settings.PendingVariation, "Enter Aircraft Variation");
    EXPECT_EQ(variation->btn_Next->state(), "enabled");
    // Text the simulator cannot store is refused with its reason, which goes with the character.
    variation->txt_Entry->clear();
    QTest::keyClicks(variation->txt_Entry, "Nord");
    QTest::sendKeyEvent(QTest::Click, variation->txt_Entry, Qt::Key_unknown, QString::fromUtf8("\xc4\x93"),
                        Qt::NoModifier);
    enter(variation->txt_Entry);
    EXPECT_TRUE(variation->isVisible());
    EXPECT_THAT(main.lbl_Status->text().toStdString(), HasSubstr("\"\xc4\x93\" (U+0113)"));
    QTest::keyClick(variation->txt_Entry, Qt::Key_Backspace);
    EXPECT_EQ(main.lbl_Status->text(), "Ready to Load Repaint Template");
    clickButton(*variation->btn_Previous);

    // A template that does not load leaves the check mark clear and the preview empty, and says why.
    ASSERT_TRUE(LoadTemplate(program->app().spec, program->app().surfaces, program->app().frontend,
                             installation.demo().aircraft[0].templateFile.string()));
    ASSERT_FALSE(main.PreviewImage->pixmap().isNull());
    const fs::path notPicture = installation.programFolder() / "Notes.bmp";
    testkit::writeFile(notPicture, "not a picture");
    installation.record().chosenFile = QString::fromStdString(notPicture.string());
    clickButton(*main.btn_SelectTemplate);
    clickButton(*shown(*program)->btn_Select);
    clickButton(*shown(*program)->btn_Next);
    EXPECT_EQ(main.btn_SelectTemplate->picture(), "Empty");
    EXPECT_TRUE(main.PreviewImage->pixmap().isNull());
    EXPECT_THAT(main.lbl_Status->text().toStdString(), HasSubstr("Notes.bmp"));

    // A typed callsign replaces the text on show, is committed as typed, not completed from the
    // list, and comes back upper-cased as a line of its own.
    clickButton(*main.btn_Callsign);
    auto* callsign = shownAs<CallsignScreen>(*program);
    // What the window system does for a window shown in front, and the offscreen platform does not:
    // a control learns that it has the focus only from it.
    QApplication::setActiveWindow(callsign);
    EXPECT_EQ(callsign->lbl_CurrentCallsign->text(), "NONE");
    const int lines = callsign->lst_Callsign->count();
    enter(callsign->lst_Callsign->lineEdit()); // *NONE* is a line of the list: reopened, it is not added
    clickButton(*main.btn_Callsign);
    EXPECT_EQ(callsign->lst_Callsign->count(), lines);
    QApplication::setActiveWindow(callsign);
    QTest::keyClicks(callsign->lst_Callsign->lineEdit(), "Osprey "); // the list holds "OSPREY VALLEY"
    enter(callsign->lst_Callsign->lineEdit());
    EXPECT_EQ(settings.Callsign, "Osprey ");
    clickButton(*main.btn_Callsign);
    EXPECT_EQ(callsign->lst_Callsign->currentIndex(), callsign->lst_Callsign->count() - 1);
    EXPECT_EQ(settings.PendingCallsign, "OSPREY");
    EXPECT_EQ(callsign->lbl_CurrentCallsign->text(), "Osprey ");
    clickButton(*callsign->btn_Previous);

    // A double-click on an aircraft chooses it, as Enter does.
    clickButton(*main.btn_SelectAircraft);
    QListWidget* list = shownAs<SelectAircraftScreen>(*program)->lst_SelectAircraft;
    const QPoint at = list->visualItemRect(list->item(1)).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at); // the first click of the two
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
    EXPECT_FALSE(list->isVisible());
    EXPECT_EQ(fromCore(settings.AircraftName), list->item(1)->text());
    // A callsign typed, never confirmed, does not outlive a reset.
    clickButton(*main.btn_Callsign);
    QTest::keyClicks(callsign->lst_Callsign->lineEdit(), "Northwind");
    clickButton(*callsign->btn_Previous);
    program->wizard().resetScreens();
    clickButton(*main.btn_Callsign);
    enter(callsign->lst_Callsign->lineEdit());
    EXPECT_EQ(settings.Callsign, "*NONE*");
}

TEST(WizardEdges, CatalogueOfTwinNamesLoadsEachUntilAStepFailsAndAnEmptyOneSaysSoAndLetsGo) {
    GuiInstallation installation;
    const fs::path configurations = resolveCaseless(installation.programFolder() / "Aircraft Configurations");
    std::vector<fs::path> files(fs::directory_iterator(configurations), fs::directory_iterator{});
    std::sort(files.begin(), files.end());
    fs::copy_file(files[0], configurations / "zz_twin.bin");
    {
        auto program = installation.started();
        clickButton(*program->mainWindow()->btn_Wizard);
        enter(static_cast<SelectAircraftScreen*>(shown(*program))->lst_SelectAircraft);
        EXPECT_EQ(program->app().settings.AircraftIndex, 2);
        EXPECT_EQ(installation.record().sounds.size(), 2u);
        EXPECT_NE(shownAs<SelectTemplateScreen>(*program), nullptr);
    }
    {
        auto program = installation.started();
        clickButton(*program->mainWindow()->btn_Wizard);
        const fs::path skin = installation.programFolder() / "Media" / "Wizard_Background.bmp";
        fs::rename(skin, skin.string() + ".aside"); // the next screen fails: the second twin is not loaded
        enter(static_cast<SelectAircraftScreen*>(shown(*program))->lst_SelectAircraft);
        EXPECT_EQ(program->app().settings.AircraftIndex, 0);
        fs::rename(skin.string() + ".aside", skin);
    }
    for (const auto& f : fs::directory_iterator(configurations))
        fs::remove(f.path());
    auto program = installation.started();
    MainWindow& main = *program->mainWindow();
    clickButton(*main.btn_Wizard);
    ASSERT_EQ(installation.record().messages.size(), 1u);
    EXPECT_TRUE(installation.record().messages[0].startsWith("Cannot continue! There are no aircraft"));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(program->screen(Screen::SelectAircraft), nullptr);
    // The main window takes clicks from the window system again: its Close ends the program.
    QTest::mouseClick(main.windowHandle(), Qt::LeftButton, {}, main.btn_Close->geometry().center());
    EXPECT_EQ(installation.record().ends, 1);
}

} // namespace
} // namespace livrano
