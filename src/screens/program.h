// SPDX-License-Identifier: MIT
#pragma once
// The running program: the application state, the Qt frontend, the seven windows in their
// fixed order and the command dispatcher. Start-up (Main) and shutdown (ShutDownApplication)
// live here, and so does every action that needs more than one window.

#include <QPointer>

#include <array>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "app/status.h"
#include "output/application.h"
#include "screens/desktop.h"
#include "screens/qt_frontend.h"
#include "screens/window_flags.h"

namespace livrano {

class CommandDispatcher;
class MainWindow;
class SkinnedWindow;
class Wizard;
class WizardScreen;

// What the windows need of Qt before the application object exists: the program lays itself
// out in device pixels (its skin bitmaps have one size), so Qt's own high-DPI scaling is off
// and the font-size fix keeps the texts at their designed pixel heights.
void useDevicePixels();

class Program {
public:
    // The message of a skin that cannot be read.
    static constexpr const char* kMediaMissing = "Media files are missing. Please reinstall Livrano.";
    // The message of a manual that no program can be asked to open.
    static constexpr const char* kViewerMissing =
        "The manual cannot be opened: xdg-open is missing. Please install xdg-utils.";

    // `sharedFiles`: the installed files that a program folder an older version set up is
    // refreshed from at start; none, and the folder is used as it is.
    Program(std::filesystem::path programFolder, Desktop desktop,
            std::optional<std::filesystem::path> sharedFiles = std::nullopt);
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    // Start-up: a program folder an older version set up refreshed from the shared files, the
    // airline list into the callsign screen, the catalogue into the aircraft screen (both created
    // hidden), the main window created and shown, the status line, which says in one line what
    // the refresh did or why it could not (the program then goes on with the folder as it is).
    // False when the program must end before its loop runs: the missing airline file or a skin
    // that cannot be read, each after its message.
    bool Main();

    // Ends every image button's subclassing, then releases every shaper, then every window, each
    // in the fixed window order and only for windows whose ScreenLoaded flag is set; then ends
    // the process's event loop.
    void ShutDownApplication();

    // Opens ProgramFolder\Livrano.pdf with its associated program. When no program can be asked
    // to open it, kViewerMissing says so; a viewer that fails later is not reported.
    void OpenHelpFile();

    // The Create command: the same-title replacement and the build, as the CLI's build runs
    // them. A build that is refused or fails leaves its reason in the status line.
    Status CreateAircraft();

    // DrawPreview from the main window's texture list, option buttons and scroll bar, with the
    // scroll bar's range (never below 0) set for the selection first. With no template loaded the
    // preview shows no picture.
    void redrawPreview();

    // The whole of the shared state, for the tests that set it up and look into it. The windows
    // take the parts they use, below.
    Application& app() { return m_app; }
    // The painter's choices, which the wizard's screens show and change.
    RepaintSettings& settings() { return m_app.settings; }
    // The chosen aircraft's records, and the catalogue it was chosen from; read only.
    const AircraftSpec& spec() const { return m_app.spec; }
    const AircraftCatalogue& catalogue() const { return m_app.catalogue; }
    const std::filesystem::path& programFolder() const { return m_app.programFolder; }
    // Makes catalogue entry `index` the chosen aircraft (Application::chooseAircraft).
    Status chooseAircraft(int index) { return m_app.chooseAircraft(index); }
    // LoadTemplate of `file` into the template's surfaces, for the chosen aircraft.
    Status loadTemplate(const std::string& file);
    WindowFlags& windowFlags() { return m_windowFlags; }
    const Desktop& desktop() const { return m_desktop; }
    MainWindow* mainWindow() const;
    // The wizard screen of a step; null until it is created.
    WizardScreen* screen(Screen screen) const;
    // The screen, created (with its ScreenLoaded flag) on first use; null when its skin cannot be read.
    WizardScreen* ensureScreen(Screen screen);
    // Destroys a wizard screen (it is made afresh on its next use).
    void destroyScreen(Screen screen);
    Wizard& wizard() { return *m_wizard; }

private:
    Desktop m_desktop;
    std::optional<std::filesystem::path> m_sharedFiles;
    QtFrontend m_frontend;
    Application m_app;
    WindowFlags m_windowFlags;
    std::unique_ptr<CommandDispatcher> m_dispatcher;
    std::unique_ptr<Wizard> m_wizard;
    std::array<std::unique_ptr<SkinnedWindow>, kScreenCount> m_windows;
};

} // namespace livrano
