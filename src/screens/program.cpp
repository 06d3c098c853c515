// SPDX-License-Identifier: MIT
#include "screens/program.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QSignalBlocker>

#include <algorithm>

#include "aircraft/catalogue.h"
#include "app/airline_list.h"
#include "app/file_names.h"
#include "output/build_repaint.h"
#include "output/program_setup.h"
#include "screens/callsign_screen.h"
#include "screens/command_dispatcher.h"
#include "screens/core_text.h"
#include "screens/entry_screen.h"
#include "screens/main_window.h"
#include "screens/select_aircraft_screen.h"
#include "screens/select_template_screen.h"
#include "screens/wizard.h"
#include "skin/image_button.h"
#include "skin/trans_form.h"
#include "texture/template_loader.h"
#include "texture/texture_preview.h"

namespace livrano {

void useDevicePixels() {
    qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
}

Program::Program(std::filesystem::path programFolder, Desktop desktop,
                 std::optional<std::filesystem::path> sharedFiles)
    : m_desktop(std::move(desktop)), m_sharedFiles(std::move(sharedFiles)), m_frontend(*this),
      m_app(std::move(programFolder), m_frontend), m_dispatcher(std::make_unique<CommandDispatcher>(*this)),
      m_wizard(std::make_unique<Wizard>(*this)) {}

Program::~Program() = default;

MainWindow* Program::mainWindow() const {
    return static_cast<MainWindow*>(m_windows[static_cast<std::size_t>(Screen::Main)].get());
}

WizardScreen* Program::screen(Screen screen) const {
    return static_cast<WizardScreen*>(m_windows[static_cast<std::size_t>(screen)].get());
}

WizardScreen* Program::ensureScreen(Screen which) {
    const auto slot = static_cast<std::size_t>(which);
    if (m_windows[slot])
        return screen(which);
    std::unique_ptr<WizardScreen> made;
    switch (which) {
    case Screen::SelectAircraft:
        made = std::make_unique<SelectAircraftScreen>(m_app.programFolder, *m_dispatcher);
        break;
    case Screen::SelectTemplate:
        made = std::make_unique<SelectTemplateScreen>(m_app.programFolder, *m_dispatcher);
        break;
    case Screen::Callsign:
        made = std::make_unique<CallsignScreen>(m_app.programFolder, *m_dispatcher);
        break;
    default:
        made = std::make_unique<EntryScreen>(m_app.programFolder, which, *m_dispatcher);
        break;
    }
    if (!made->create())
        return nullptr;
    m_windowFlags.screenLoaded(which) = true;
    m_windows[slot] = std::move(made);
    m_wizard->connectScreen(*screen(which));
    return screen(which);
}

bool Program::Main() {
    m_app.surfaces.AlphaLoaded = false;
    // First: the airline list and the skin may be among the files refreshed. A refresh that
    // cannot be done leaves every file whole, so the program starts on the folder as it is.
    ProgramRefresh::Note refreshed;
    if (m_sharedFiles) {
        ProgramRefresh refresh;
        const Status s =
            refreshProgramFolder(*m_sharedFiles, m_app.programFolder, false, systemFileOperations(), refresh);
        refreshed = refresh.note(s, false);
    }
    if (Status s = LoadAirlineList(m_app.programFolder, m_app.airlines); !s) {
        m_desktop.message(fromMessage(s.text()));
        return false;
    }
    auto* callsign = static_cast<CallsignScreen*>(ensureScreen(Screen::Callsign));
    if (callsign == nullptr) {
        m_desktop.message(QString::fromLatin1(kMediaMissing));
        return false;
    }
    callsign->fill(callsignLines(m_app.airlines));
    m_app.catalogue = LoadAircraftCatalogue(m_app.programFolder);
    auto* aircraft = static_cast<SelectAircraftScreen*>(ensureScreen(Screen::SelectAircraft));
    if (aircraft == nullptr) {
        m_desktop.message(QString::fromLatin1(kMediaMissing));
        return false;
    }
    aircraft->fill(aircraftLines(m_app.catalogue));

    auto main = std::make_unique<MainWindow>(m_app.programFolder, *m_dispatcher);
    // A main window without its skin would be a bare rectangle; it ends the program like the
    // screens' skins do.
    if (!main->load()) {
        m_desktop.message(QString::fromLatin1(kMediaMissing));
        return false;
    }
    m_windowFlags.screenLoaded(Screen::Main) = true;
    MainWindow* shown = main.get();
    m_windows[static_cast<std::size_t>(Screen::Main)] = std::move(main);
    // The loads read the check box's choice from the core, which follows every tick.
    m_app.dxt3Textures = shown->chkDXT3->isChecked();
    QObject::connect(shown->chkDXT3, &QCheckBox::toggled, [this](bool on) { m_app.dxt3Textures = on; });
    QObject::connect(shown->lst_Texture, &QComboBox::currentIndexChanged, [this] { redrawPreview(); });
    QObject::connect(shown->opt_Alpha, &QRadioButton::clicked, [this] { redrawPreview(); });
    QObject::connect(shown->opt_Standard, &QRadioButton::clicked, [this] { redrawPreview(); });
    QObject::connect(shown->Preview_Scroll, &QScrollBar::valueChanged, [this] { redrawPreview(); });
    // A frameless window gets no place from the window manager's decorations: the middle of the screen.
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        shown->move(screen->availableGeometry().center() - shown->rect().center());
    shown->show();
    shown->UpdateStatusLine();
    if (!refreshed.message.empty())
        shown->setStatusText(fromMessage(refreshed.message), fromMessage(refreshed.detail));
    return true;
}

void Program::ShutDownApplication() {
    std::vector<SkinnedWindow*> loaded;
    for (std::size_t i = 0; i < kScreenCount; ++i) {
        if (m_windowFlags.ScreenLoaded[i] && m_windows[i])
            loaded.push_back(m_windows[i].get());
    }
    for (SkinnedWindow* window : loaded)
        EndButtonSubclassing(*window);
    for (SkinnedWindow* window : loaded)
        window->releaseShaper();
    for (std::size_t i = 0; i < kScreenCount; ++i) {
        if (m_windowFlags.ScreenLoaded[i] && m_windows[i]) {
            m_windows[i]->hide();
            // Later, not now: the command that asked for shutdown is still inside a button's event.
            m_windows[i].release()->deleteLater();
        }
    }
    m_desktop.endProcess();
}

void Program::OpenHelpFile() {
    // Without xdg-open a press of Help would do nothing at all, which reads as a broken button.
    if (!m_desktop.openDocument(programLocation(m_app.programFolder, "\\Livrano.pdf")))
        m_desktop.message(QString::fromLatin1(kViewerMissing));
}

Status Program::CreateAircraft() {
    Status built = CreateRepaint(m_app.buildState());
    // A build that stopped once it began writing has not said so: the line still shows its last
    // step, and the progress bar where it stopped.
    if (!built) {
        mainWindow()->Pic_StatusBackground->hide();
        mainWindow()->setStatusText(built);
    }
    return built;
}

Status Program::loadTemplate(const std::string& file) {
    return LoadTemplate(m_app.spec, m_app.surfaces, m_app.frontend, file);
}

void Program::redrawPreview() {
    MainWindow* main = mainWindow();
    if (main == nullptr || m_app.flags.SpecLoading)
        return;
    // With no template loaded there is nothing to show: an earlier template's picture would pass
    // for this one's.
    if (!m_app.surfaces.TemplateSurface24.Ready) {
        main->previewPicture = QImage();
        main->PreviewImage->clear();
        return;
    }
    const std::string text = main->lst_Texture->currentData().toByteArray().toStdString();
    const PreviewScrollRange range = previewScrollRange(m_app.spec, meansEntireTemplate(text));
    {
        // Setting the range may move the value; that must not draw a second time.
        const QSignalBlocker blocker(main->Preview_Scroll);
        // A template higher than wide has nothing to scroll; the square starts at its left edge.
        main->Preview_Scroll->setRange(0, std::max(0, range.maximum));
        main->Preview_Scroll->setPageStep(range.largeChange);
    }
    DrawPreview(m_app.spec, m_app.surfaces, m_frontend, text, main->opt_Alpha->isChecked(),
                main->Preview_Scroll->value());
}

void Program::destroyScreen(Screen which) {
    auto& window = m_windows[static_cast<std::size_t>(which)];
    if (!window)
        return;
    window->hide();
    // Later: the screen may be inside one of its own events.
    window.release()->deleteLater();
}

} // namespace livrano
