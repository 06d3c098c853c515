// SPDX-License-Identifier: MIT
#include "screens/program.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPointer>
#include <QRadioButton>
#include <QScrollBar>
#include <QTest>

#include <cstdlib>

#include <gtest/gtest.h>

#include "aircraft/catalogue.h"
#include "app/file_names.h"
#include "app/program_folder.h"
#include "screens/callsign_screen.h"
#include "screens/first_start.h"
#include "screens/gui_installation.h"
#include "screens/main_window.h"
#include "screens/select_aircraft_screen.h"
#include "skin/image_button.h"
#include "skin/tooltip.h"
#include "texture/bmp_writer.h"
#include "texture/template_loader.h"

namespace livrano {
namespace {

namespace fs = std::filesystem;
using testkit::clickButton;
using testkit::GuiInstallation;

TEST(ProgramStartUp, EndsWithItsMessageBeforeAnyWindowShows) {
    // Relative to the program folder; all but the airline list are the windows' media.
    for (const std::string removed :
         {"Data/airlines.cfg", "Media/Wizard_Background.bmp", "Media/WizardRegion.dat", "Media/HMOVE.cur",
          "Media/Main_Background.bmp", "Media/MainRegion.dat"}) {
        SCOPED_TRACE(removed);
        GuiInstallation installation;
        fs::remove(installation.programFolder() / removed);
        auto program = installation.program();
        EXPECT_FALSE(program->Main());
        // The airline list's message names, on a second line, where the file was looked for.
        const QString message =
            removed.starts_with("Media/")
                ? QString::fromLatin1(Program::kMediaMissing)
                : "The 'Corvane Software\\Livrano\\Data\\airlines.cfg' file is missing. Please reinstall Livrano.\n" +
                      QString::fromStdString((installation.programFolder() / removed).string());
        EXPECT_EQ(installation.record().messages, std::vector<QString>{message});
        EXPECT_EQ(program->mainWindow(), nullptr);
        for (QWidget* window : QApplication::topLevelWidgets())
            EXPECT_FALSE(window->isVisible()) << window->objectName().toStdString();
    }
}

// A Linux installation's first start: the simulator's folder asked for (again after a wrong one,
// from there), then the same program folder a setup makes, which the next start finds by itself.
TEST(FirstStart, MakesTheProgramFolderInTheChosenSimulatorOrSaysWhyNot) {
    GuiInstallation installation;
    testkit::TempDir dir;
    ASSERT_EQ(setenv("XDG_CONFIG_HOME", (dir / "config").c_str(), 1), 0);
    const QByteArray home = qgetenv("HOME");
    ASSERT_TRUE(qputenv("HOME", dir.path().c_str()));
    fs::create_directories(dir / ".wine" / "drive_c"); // where the first dialog starts
    // An aircraft as its maker installs it, with no configuration: the first start offers a kit.
    const fs::path gull = dir / "Simulator" / "Aircraft" / "Gull";
    testkit::writeFile(gull / "aircraft.cfg", "[fltsim.0]\r\ntitle=Gull\r\nsim=gull\r\ntexture=\r\n");
    testkit::writeFile(gull / "texture" / "body.bmp",
                       encodeBmp24(Bitmap{4, 2, 3, std::vector<std::uint8_t>(24, 90), {}}));
    fs::create_directories(dir / "Empty");
    const fs::path made = dir / "Simulator" / "Corvane Software" / "Livrano";
    struct Case {
        fs::path executable; // where the installed files are looked for
        fs::path chosen;     // empty: the dialog is cancelled
        std::size_t messages;
        const char* lastMessageHas;
        std::size_t dialogs;
    };
    const Case cases[] = {
        {dir / "Empty", dir / "Simulator", 1, "are missing. Please reinstall Livrano.", 0},
        {installation.programFolder(), {}, 1, "Choose the simulator's folder", 1},
        {installation.programFolder(), dir / "Empty", 2, "has no Aircraft folder", 2},
        {installation.programFolder(), dir / "Simulator", 2, "Made 1 of 1 paint kits.", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.chosen.string());
        installation.record() = {};
        installation.record().chosenFolder = QString::fromStdString(c.chosen.string());
        const std::optional<fs::path> folder = setUpOnFirstStart(c.executable, installation.desktop());
        ASSERT_EQ(installation.record().messages.size(), c.messages);
        const std::vector<QString>& asked = installation.record().dialogFolders;
        ASSERT_EQ(asked.size(), c.dialogs);
        EXPECT_TRUE(asked.empty() || asked[0].toStdString() == (dir / ".wine" / "drive_c").string());
        EXPECT_TRUE(installation.record().messages.back().contains(QString::fromUtf8(c.lastMessageHas)));
        EXPECT_EQ(folder.has_value(), c.chosen == dir / "Simulator" && c.executable != dir / "Empty");
        EXPECT_EQ(fs::exists(made), folder.has_value());
    }
    EXPECT_EQ(findProgramFolder(std::nullopt, dir / "Empty"), made);
    ASSERT_EQ(installation.record().questions.size(), 1u);
    EXPECT_TRUE(installation.record().questions[0].startsWith("The simulator holds 1 aircraft without"));
    EXPECT_EQ(installation.record().progressSteps, (std::vector<int>{0, 1}));
    EXPECT_EQ(LoadAircraftCatalogue(made).Entries.size(), 1u);
    EXPECT_TRUE(fs::exists(made / "Data" / "airlines.cfg"));
    unsetenv("XDG_CONFIG_HOME");
    qputenv("HOME", home);
}

TEST(ProgramCommands,
     StartUpRefreshesAnOlderFolderFillsTheListScreensHelpOpensTheManualCloseShutsDownTheLoadedWindows) {
    GuiInstallation installation;
    // Refreshed before the airline list is read, as a folder an older version set up is.
    testkit::writeFile(installation.programFolder() / "Livrano.sha256", "");
    fs::remove(installation.programFolder() / "Data" / "airlines.cfg");
    auto program = installation.started();
    MainWindow* main = program->mainWindow();
    EXPECT_TRUE(main->lbl_Status->text().startsWith("Program folder refreshed for Livrano"));
    auto* aircraft = static_cast<SelectAircraftScreen*>(program->screen(Screen::SelectAircraft));
    auto* callsign = static_cast<CallsignScreen*>(program->screen(Screen::Callsign));
    EXPECT_FALSE(aircraft->isVisible() || callsign->isVisible());
    EXPECT_EQ(aircraft->lst_SelectAircraft->count(), 2);
    EXPECT_EQ(aircraft->lst_SelectAircraft->currentRow(), 0);
    EXPECT_EQ(callsign->lst_Callsign->itemText(0), "*NONE*");
    EXPECT_TRUE(main->isVisible());
    clickButton(*main->btn_Help);
    EXPECT_EQ(installation.record().documents,
              std::vector<fs::path>{programLocation(installation.programFolder(), "\\Livrano.pdf")});
    EXPECT_TRUE(installation.record().messages.empty());
    // Without xdg-open the press is answered, and the answer names what to install.
    installation.record().documentViewer = false;
    clickButton(*main->btn_Help);
    EXPECT_EQ(installation.record().documents.size(), 2);
    ASSERT_EQ(installation.record().messages.size(), 1);
    EXPECT_TRUE(installation.record().messages[0].contains(QStringLiteral("install xdg-utils")));

    const std::vector<Screen> loaded = {Screen::Main, Screen::SelectAircraft, Screen::Callsign};
    std::vector<QPointer<QWidget>> windows;
    std::vector<QPointer<ImageButton>> buttons;
    for (Screen s : loaded) {
        QWidget* window = s == Screen::Main ? static_cast<QWidget*>(main) : program->screen(s);
        windows.emplace_back(window);
        buttons.emplace_back(window->findChild<ImageButton*>("btn_Close"));
        ASSERT_NE(buttons.back()->tooltipObject(), nullptr);
    }
    clickButton(*main->btn_Close);
    EXPECT_EQ(installation.record().ends, 1);
    for (std::size_t i = 0; i < loaded.size(); ++i) {
        ASSERT_FALSE(buttons[i].isNull());
        EXPECT_EQ(buttons[i]->tooltipObject(), nullptr);
        EXPECT_FALSE(windows[i]->isVisible());
    }
    EXPECT_EQ(program->mainWindow(), nullptr);
    EXPECT_EQ(program->screen(Screen::Variation), nullptr);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    for (const QPointer<QWidget>& window : windows)
        EXPECT_TRUE(window.isNull());
}

// Loads a demo aircraft and its template through the core, as the wizard's confirm steps will.
void chooseAircraftAndTemplate(Program& program, const DemoAircraft& aircraft) {
    Application& app = program.app();
    ASSERT_TRUE(app.chooseAircraft(*catalogueIndexOfName(app.catalogue, aircraft.displayName)));
    app.settings.TemplatePath = aircraft.templateFile.string();
    app.settings.TemplateTitle = aircraft.templateFile.filename().string();
    ASSERT_TRUE(LoadTemplate(app.spec, app.surfaces, app.frontend, app.settings.TemplatePath));
}

// Counts the paint events a control gets.
struct Paints : QObject {
    explicit Paints(QWidget* control) { control->installEventFilter(this); }
    bool eventFilter(QObject*, QEvent* event) override {
        count += event->type() == QEvent::Paint;
        return false;
    }
    int count = 0;
};

TEST(ProgramPreview, ShowsTheSquareOfTheTemplateAtTheScrollValue) {
    GuiInstallation installation;
    auto program = installation.started();
    MainWindow& main = *program->mainWindow();
    chooseAircraftAndTemplate(*program, installation.demo().aircraft[0]);
    ASSERT_TRUE(main.PreviewImage->isVisible());
    // Once loaded, the status line says what the choices made so far call for, not what loading said.
    const QString afterLoading = main.lbl_Status->text();
    main.UpdateStatusLine();
    EXPECT_EQ(main.lbl_Status->text(), afterLoading);
    const Bitmap& colour = program->app().surfaces.TemplateSurface24.bitmap;
    struct Case {
        int templateWidth; // the aircraft's template width; the height is 1024
        int scroll;
        int maximum;
        int firstColumn;
    };
    // A template higher than wide scrolls nowhere, and leaves no room left of the next one.
    for (const Case& c : {Case{2048, 512, 1024, 512}, Case{1024, 512, 0, 0}, Case{512, 512, 0, 0},
                          Case{2048, -300, 1024, 0}}) {
        SCOPED_TRACE(c.templateWidth);
        program->app().spec.TemplateSizeX = static_cast<std::int16_t>(c.templateWidth);
        main.Preview_Scroll->setValue(c.scroll);
        program->redrawPreview();
        EXPECT_EQ(main.Preview_Scroll->maximum(), c.maximum);
        EXPECT_EQ(main.Preview_Scroll->pageStep(), 128);
        ASSERT_EQ(main.previewPicture.size(), QSize(1024, 1024));
        for (int y : {0, 700}) {
            const std::uint8_t* bgr = colour.row(y) + std::size_t{3} * c.firstColumn;
            EXPECT_EQ(main.previewPicture.pixel(0, y), qRgb(bgr[2], bgr[1], bgr[0]));
        }
    }
    // A texture, then its alpha; the page step follows the template's height. Each is painted at
    // once, before the event loop runs again: a build shows each texture as it makes it.
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&main));
    const Paints painted(main.PreviewImage);
    main.lst_Texture->setCurrentIndex(3);
    EXPECT_EQ(painted.count, 1);
    EXPECT_EQ(main.previewPicture.size(), QSize(512, 512));
    EXPECT_EQ(main.Preview_Scroll->pageStep(), 1024);
    const QImage colourTail = main.previewPicture;
    main.opt_Alpha->click();
    EXPECT_EQ(main.previewPicture.size(), QSize(512, 512));
    EXPECT_NE(main.previewPicture, colourTail);
    // Nothing is drawn while a specification loads.
    program->app().flags.SpecLoading = true;
    main.opt_Standard->click();
    EXPECT_NE(main.previewPicture, colourTail);
    program->app().flags.SpecLoading = false;

    // Without its companion the alpha preview is disabled, and its text is greyed to show it.
    const std::string templateFile = installation.demo().aircraft[0].templateFile.string();
    fs::remove(resolveCaseless(fs::path(alphaCompanionPath(templateFile))));
    ASSERT_TRUE(
        LoadTemplate(program->app().spec, program->app().surfaces, program->app().frontend, templateFile));
    ASSERT_FALSE(main.opt_Alpha->isEnabled());
    EXPECT_EQ(installation.record().messages.size(), 1u); // saying so
    EXPECT_EQ(main.cursor().shape(), Qt::ArrowCursor);    // and no longer busy
    const auto darkest = [](QWidget* control) {
        const QImage look = control->grab().toImage();
        int level = 255;
        for (int y = 0; y < look.height(); ++y)
            for (int x = 0; x < look.width(); ++x)
                level = std::min(level, qGray(look.pixel(x, y)));
        return level;
    };
    EXPECT_GT(darkest(main.opt_Alpha), darkest(main.opt_Standard) + 60);
}

} // namespace
} // namespace livrano
