// SPDX-License-Identifier: MIT
#include "screens/wizard.h"

#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>

#include <string>

#include "aircraft/aircraft_spec_loader.h"
#include "aircraft/catalogue.h"
#include "app/file_names.h"
#include "app/text.h"
#include "screens/callsign_screen.h"
#include "screens/core_text.h"
#include "screens/entry_screen.h"
#include "screens/main_window.h"
#include "screens/program.h"
#include "screens/select_aircraft_screen.h"
#include "screens/select_template_screen.h"
#include "skin/image_button.h"

namespace livrano {

namespace {

// The window texts are the program's designed texts, kept word for word with their misspellings
// ("presing", "displyed", "informaiton"); each literal stays whole on one line so that a search finds it.
const char* const kNextTip = "Click to move to the next Livrano Wizard Screen.";
const char* const kPreviousTip = "Click to move to the previous Livrano Wizard Screen.";
const char* const kEntry1 =
    "You may change your entry at any time by entering a new value in the box provided below.  Press Next to continue or Close to Cancel.";
const char* const kEntry2 =
    "You may change your entry at any time by entering a new value in the box provided below.  To close the wizard, press the Close button.";

// What an opener writes per screen; [0] single-edit mode, [1] wizard mode.
struct StepTexts {
    const char* shortName; // the single-edit Close command is "close_" + this
    const char* title[2];
    const char* instructions[2];
    const char* instructions2[2];
    const char* closeTip; // btn_Previous as the screen's Close
    const char* nextTip;  // single-edit mode
    const char* what;     // the value, in a refusal
};

const StepTexts kSteps[] = {
    {"selectaircraft",
     {"Select Aircraft to Repaint", "Wizard Step 1: Select Aircraft to Repaint"},
     {"Select the aircraft you would like to work on from the list below.  To select the aircraft click on it and press the Next Button or double-click on the desired aircraft.  To cancel the Select Aircraft Repaint screen, press the Close Button.",
      "Select the aircraft you would like to work on from the list below.  To select the aircraft click on it and press the Next Button or double-click on the desired aircraft to continue.  To stop the wizard, press the Close button."},
     {nullptr, nullptr},
     nullptr,
     "Click to select the highlighted aircraft and close the Select Aircraft Repaint Livrano Screen.",
     "aircraft"},
    {"selecttemplate",
     {"Select Repaint Template", "Wizard Step 2: Select Repaint Template"},
     {"Press the Button below to select the desired repaint template.  The currently selected template is displayed next to the button.  When a template has been loaded, the Circle will display a completed check mark.",
      nullptr},
     {"You may change your selection at any time by presing the selection button again.  Press Next to continue or Close to Cancel.",
      "You may change your selection at any time by presing the selection button again.  To close the wizard, press the Close button."},
     "Click to cancel the Select Repaint Template Livrano Screen.",
     "Click to confirm the selected repaint template and close the Select Repaint Template Livrano Screen.",
     "template file name"},
    {"variation",
     {"Enter Aircraft Variation", "Wizard Step 3: Enter Aircraft Variation"},
     {"Enter the aircraft variation name to be displayed in Flight Simulator for this aircraft repaint, in the space provided below.  The current information is displyed in the variation input box.",
      nullptr},
     {kEntry1, kEntry2},
     "Click to cancel the Enter Variation Livrano Screen.",
     "Click to confirm the entered variation and close the Enter Variation Livrano Screen.",
     "variation"},
    {"folder",
     {"Enter Aircraft Folder", "Wizard Step 4: Enter Aircraft Folder"},
     {"Enter the folder extension to use in the space provided below.  This informaiton will be used for saving the aircraft repaint.  An example of the folder name with your input will be shown below.",
      nullptr},
     {kEntry1, kEntry2},
     "Click to cancel the Enter Aircraft Folder Livrano Screen.",
     "Click to confirm the entered folder and close the Enter Aircraft Folder Livrano Screen.",
     "folder extension"},
    {"tailnumber",
     {"Enter Aircraft Tail Number", "Wizard Step 5: Enter Aircraft Tail Number"},
     {"Enter the tail number for this aircraft repaint, in the space provided below.  This is the number that Flight Simulator will use for the default version of the tail number when this repaint is selected in Flight Simulator.",
      nullptr},
     {kEntry1, kEntry2},
     "Click to cancel the Enter Tail Number Livrano Screen.",
     "Click to confirm the entered tail number and close the Enter Tail Number Livrano Screen.",
     "tail number"},
    {"callsign",
     {"Select Aircraft Callsign", "Wizard Step 6: Select Aircraft Callsign"},
     {"Select the default callsign to use for this aircraft repaint in Flight Simulator, from the list provided below.  If you do not desire to use a callsign, select the *NONE* option from the top of the list.  Confirm selection with the next button.",
      nullptr},
     {"You may change your selection at any time by selecting a new value in the box provided below.  Press Next to continue or Close to Cancel.",
      "You may change your selection at any time by selecting a new value in the box provided below.  To close the wizard, press the Close button."},
     "Click to cancel the Enter Callsign Livrano Screen.",
     "Click to confirm the entered Callsign and close the Enter Callsign Livrano Screen.",
     "callsign"},
};

const StepTexts& textsOf(Screen screen) {
    return kSteps[static_cast<std::size_t>(screen) - 1];
}

Screen stepAfter(Screen screen, int by) {
    return static_cast<Screen>(static_cast<int>(screen) + by);
}

// The pending and confirmed fields of a text step.
struct EntryFields {
    std::string RepaintSettings::*pending;
    std::string RepaintSettings::*confirmed;
};

EntryFields fieldsOf(Screen screen) {
    switch (screen) {
    case Screen::Variation:
        return {&RepaintSettings::PendingVariation, &RepaintSettings::Variation};
    case Screen::Folder:
        return {&RepaintSettings::PendingFolderExtension, &RepaintSettings::FolderExtension};
    default:
        return {&RepaintSettings::PendingTailNumber, &RepaintSettings::TailNumber};
    }
}

QString folderExample(const std::string& extension) {
    return QStringLiteral("Texture.") + fromCore(trim(extension));
}

} // namespace

Status Wizard::show(Screen screen, bool wizard) {
    WizardScreen* s = m_program.ensureScreen(screen);
    if (s == nullptr)
        return Status::Error("The screen's skin files cannot be read.");
    const StepTexts& t = textsOf(screen);
    const int mode = wizard ? 1 : 0;
    const RepaintSettings& settings = m_program.settings();
    s->lbl_Title->setText(QString::fromLatin1(t.title[mode]));
    s->lbl_Instructions->setText(
        QString::fromLatin1(t.instructions[mode] ? t.instructions[mode] : t.instructions[0]));
    if (s->lbl_instructions2 != nullptr)
        s->lbl_instructions2->setText(QString::fromLatin1(t.instructions2[mode]));
    if (s->btn_Previous != nullptr) {
        s->btn_Previous->set_button_type(wizard ? QStringLiteral("previous")
                                                : "close_" + QLatin1String(t.shortName));
        s->btn_Previous->set_form_name(s);
        s->btn_Previous->set_picture(wizard ? QStringLiteral("Previous") : QStringLiteral("Close"));
        s->btn_Previous->set_state(QStringLiteral("enabled"));
        s->btn_Previous->set_ToolTip(QString::fromLatin1(wizard ? kPreviousTip : t.closeTip));
    }
    // Steps 2 to 5 may go on at once when their item was confirmed before.
    const std::string* confirmed = screen == Screen::SelectTemplate ? &settings.TemplateTitle
                                   : screen == Screen::SelectAircraft || screen == Screen::Callsign
                                       ? nullptr
                                       : &(settings.*fieldsOf(screen).confirmed);
    s->btn_Next->set_button_type(QStringLiteral("next"));
    s->btn_Next->set_form_name(s);
    s->btn_Next->set_picture(QStringLiteral("Next"));
    s->btn_Next->set_state(confirmed != nullptr && !trim(*confirmed).empty() ? QStringLiteral("enabled")
                                                                             : QStringLiteral("disabled"));
    s->btn_Next->set_ToolTip(QString::fromLatin1(wizard ? kNextTip : t.nextTip));
    s->btn_Close->setVisible(wizard || screen == Screen::SelectAircraft);

    if (auto* entry = dynamic_cast<EntryScreen*>(s)) {
        const std::string& pending = settings.*fieldsOf(screen).pending;
        if (screen == Screen::Variation) {
            entry->lbl_Info->setText(fromCore(trim(m_program.spec().Manufacturer)));
            entry->lbl_CurrentType->setText(fromCore(trim(m_program.spec().AircraftType)));
        } else if (screen == Screen::TailNumber) {
            entry->lbl_Info->setText(fromCore(settings.TailNumber));
        }
        const bool keepEmpty = screen == Screen::TailNumber;
        entry->txt_Entry->setText(trim(pending).empty() && !keepEmpty ? entry->placeholder()
                                                                      : fromCore(pending));
    }
    ShowScreenCentred(*s);
    // An empty catalogue says so once the screen is on show, not from inside its showing: a window
    // destroyed before Qt has finished showing it stays the modal window after it is gone, and the
    // main window would never take a click again.
    if (screen == Screen::SelectAircraft &&
        static_cast<SelectAircraftScreen*>(s)->lst_SelectAircraft->currentRow() < 0) {
        m_program.desktop().message(QStringLiteral(
            "Cannot continue! There are no aircraft configurations present. Aircraft configurations are installed with your main aircraft setup applications."));
        m_program.destroyScreen(Screen::SelectAircraft);
    }
    return Status::Ok();
}

void Wizard::showRefusal(const Status& why) {
    // At start-up the callsign list is filled before the main window exists.
    if (MainWindow* main = m_program.mainWindow())
        main->setStatusText(why);
}

Status Wizard::refused(const Status& why) {
    showRefusal(why);
    return why;
}

void Wizard::ShowScreenCentred(WizardScreen& screen) {
    const MainWindow* main = m_program.mainWindow();
    screen.move(main->width() / 2 - screen.width() / 2 + main->x(),
                main->height() / 2 - screen.height() / 2 + main->y());
    screen.setWindowModality(Qt::ApplicationModal);
    screen.show();
    screen.raise();
    screen.activateWindow();
}

Status Wizard::finishConfirm(Screen screen, bool wizard) {
    m_program.screen(screen)->hide();
    m_program.desktop().playSound(programLocation(m_program.programFolder(), "\\Media\\Next.wav"));
    m_program.mainWindow()->UpdateStatusLine();
    if (wizard && screen != Screen::Callsign)
        return show(stepAfter(screen, 1), true);
    return Status::Ok();
}

void Wizard::confirmFromScreen(Screen screen, bool byEnter) {
    // A failed confirm has ended where it failed, and the window shows nothing for it, as for
    // Next's: a refusal is in the status line already, and with no button pressed there is no
    // button to take its recovery look. The screen stays open unless the step after it failed.
    (void)confirm(screen, byEnter);
}

Status Wizard::confirm(Screen screen, bool byEnter) {
    switch (screen) {
    case Screen::SelectAircraft:
        return ConfirmAircraft();
    case Screen::SelectTemplate:
        return ConfirmTemplate();
    case Screen::Callsign:
        return ConfirmCallsign(byEnter);
    default:
        return confirmEntry(screen);
    }
}

Status Wizard::ConfirmAircraft() {
    const AircraftCatalogue& catalogue = m_program.catalogue();
    auto* screen = static_cast<SelectAircraftScreen*>(m_program.screen(Screen::SelectAircraft));
    const QListWidgetItem* line = screen->lst_SelectAircraft->currentItem();
    if (line == nullptr)
        return Status::Ok();
    const std::string wanted = toUpper(trim(toCoreOrEmpty(line->text())));
    MainWindow* main = m_program.mainWindow();
    // Every entry of the name, not only the first: each loads in its turn.
    for (int i = 0; i <= catalogue.CatalogueLastIndex; ++i) {
        if (i >= static_cast<int>(kCatalogueSlots) || i >= static_cast<int>(catalogue.Entries.size()))
            return Status::Error("The catalogue has no entry " + std::to_string(i) + ".");
        const AircraftConfigEntry entry = catalogue.Entries[static_cast<std::size_t>(i)];
        if (toUpper(trim(entry.DisplayName)) != wanted)
            continue;
        if (Status s = m_program.chooseAircraft(i); !s)
            return s;
        main->btn_SelectAircraft->set_picture(QStringLiteral("Check"));
        main->lbl_CurrentAircraft->setText(fromCore(m_program.settings().AircraftName));
        for (std::size_t b = 1; b < main->stepButtons().size(); ++b)
            main->stepButtons()[b]->set_state(QStringLiteral("enabled"));
        if (Status s = finishConfirm(Screen::SelectAircraft, m_program.windowFlags().WizardActive); !s)
            return s;
    }
    return Status::Ok();
}

Status Wizard::ConfirmTemplate() {
    RepaintSettings& s = m_program.settings();
    s.TemplateTitle = s.PendingTemplateTitle;
    s.TemplatePath = s.PendingTemplatePath;
    auto* screen = static_cast<SelectTemplateScreen*>(m_program.screen(Screen::SelectTemplate));
    // The template's names are the file system's own, not typed text.
    screen->lbl_CurrentTemplate->setText(QFile::decodeName(QByteArray::fromStdString(s.TemplateTitle)));
    MainWindow* main = m_program.mainWindow();
    // The check mark says that a template is loaded: it waits for the load, and a template that
    // does not load leaves it clear (the one before it is gone all the same).
    main->btn_SelectTemplate->set_picture(QStringLiteral("Empty"));
    main->lbl_CurrentTemplate->setText(QFile::decodeName(QByteArray::fromStdString(s.PendingTemplateTitle)));
    const bool wizard = m_program.windowFlags().WizardActive;
    const Status loaded = m_program.loadTemplate(trim(s.TemplatePath));
    if (loaded)
        main->btn_SelectTemplate->set_picture(QStringLiteral("Check"));
    if (Status finished = finishConfirm(Screen::SelectTemplate, false); !finished)
        return finished;
    // A template that cannot be read says so until the next step is confirmed.
    if (!loaded)
        main->setStatusText(loaded);
    return wizard ? show(Screen::Variation, true) : Status::Ok();
}

Status Wizard::confirmEntry(Screen screen) {
    RepaintSettings& settings = m_program.settings();
    auto* entry = static_cast<EntryScreen*>(m_program.screen(screen));
    MainWindow* main = m_program.mainWindow();
    std::string text;
    if (Status s = toCore(textsOf(screen).what, entry->txt_Entry->text(), text); !s)
        return refused(s);
    const EntryFields fields = fieldsOf(screen);
    settings.*fields.pending = text;
    settings.*fields.confirmed = settings.*fields.pending;
    const std::size_t step = static_cast<std::size_t>(screen) - 1;
    main->stepButtons()[step]->set_picture(QStringLiteral("Check"));
    const std::string& value = settings.*fields.confirmed;
    main->currentLabels()[step]->setText(screen == Screen::Folder ? folderExample(value) : fromCore(value));
    return finishConfirm(screen, m_program.windowFlags().WizardActive);
}

Status Wizard::ConfirmCallsign(bool byEnter) {
    RepaintSettings& settings = m_program.settings();
    auto* screen = static_cast<CallsignScreen*>(m_program.screen(Screen::Callsign));
    MainWindow* main = m_program.mainWindow();
    std::string text;
    if (Status s = toCore("callsign", screen->lst_Callsign->currentText(), text); !s)
        return refused(s);
    settings.PendingCallsign = text;
    settings.Callsign = settings.PendingCallsign;
    main->btn_Callsign->set_picture(QStringLiteral("Check"));
    main->lbl_CurrentCallsign->setText(fromCore(settings.Callsign));
    const bool wizard = m_program.windowFlags().WizardActive;
    m_program.windowFlags().WizardActive = false;
    if (Status s = finishConfirm(Screen::Callsign, false); !s)
        return s;
    if (wizard && !byEnter)
        main->btn_CreateAircraft->set_state(QStringLiteral("enabled"));
    return Status::Ok();
}

void Wizard::close(Screen screen) {
    m_program.windowFlags().WizardActive = false;
    m_program.screen(screen)->hide();
}

Status Wizard::previous(Screen screen) {
    m_program.windowFlags().WizardActive = true;
    m_program.screen(screen)->hide();
    return show(stepAfter(screen, -1), true);
}

void Wizard::SelectTemplate() {
    const std::filesystem::path folder = m_program.programFolder();
    const std::filesystem::path templates = resolveCaseless(programLocation(folder, "\\Templates"));
    std::error_code ec;
    const std::filesystem::path start = std::filesystem::is_directory(templates, ec) ? templates : folder;
    const std::optional<QString> chosen =
        m_program.desktop().openFile(QString::fromStdString(start.string()),
                                     QStringLiteral("Livrano Template Files "), QStringLiteral("*.bmp"));
    if (!chosen)
        return;
    const QString title = QFileInfo(*chosen).fileName();
    RepaintSettings& s = m_program.settings();
    s.PendingTemplateTitle = QFile::encodeName(title).toStdString();
    s.PendingTemplatePath = QFile::encodeName(*chosen).toStdString();
    auto* screen = static_cast<SelectTemplateScreen*>(m_program.screen(Screen::SelectTemplate));
    screen->lbl_CurrentTemplate->setText(title);
    screen->lbl_SelectedTemplate->setText(title);
    screen->btn_Next->set_state(QStringLiteral("enabled"));
}

void Wizard::connectScreen(WizardScreen& screen) {
    switch (screen.screen()) {
    case Screen::SelectAircraft:
        connectAircraftList(static_cast<SelectAircraftScreen&>(screen));
        break;
    case Screen::SelectTemplate:
        screen.setEnterHandler(
            [this] {
                if (!trim(m_program.settings().PendingTemplateTitle).empty())
                    confirmFromScreen(Screen::SelectTemplate, true);
            },
            false);
        break;
    case Screen::Callsign:
        connectCallsignList(static_cast<CallsignScreen&>(screen));
        break;
    default:
        connectEntryBox(static_cast<EntryScreen&>(screen));
        break;
    }
}

void Wizard::connectAircraftList(SelectAircraftScreen& s) {
    QObject::connect(s.lst_SelectAircraft, &QListWidget::currentRowChanged, &s,
                     [&s] { s.btn_Next->set_state(QStringLiteral("enabled")); });
    QObject::connect(s.lst_SelectAircraft, &QListWidget::itemDoubleClicked, &s,
                     [this] { confirmFromScreen(Screen::SelectAircraft, false); });
    s.setEnterHandler([this] { confirmFromScreen(Screen::SelectAircraft, true); }, true);
    s.setActivationHandler([&s, &settings = m_program.settings()] {
        QListWidget* list = s.lst_SelectAircraft;
        const std::string chosen = toUpper(trim(settings.AircraftName));
        for (int i = 0; i < list->count(); ++i) {
            if (chosen.empty() || toUpper(trim(toCoreOrEmpty(list->item(i)->text()))) == chosen) {
                list->setCurrentRow(chosen.empty() ? 0 : i);
                s.btn_Next->set_state(QStringLiteral("enabled"));
                break;
            }
        }
        list->setFocus();
    });
}

void Wizard::connectCallsignList(CallsignScreen& s) {
    QObject::connect(s.lst_Callsign, &QComboBox::currentIndexChanged, &s, [this] { callsignSelected(); });
    s.setEnterHandler([this] { confirmFromScreen(Screen::Callsign, true); }, true);
    s.setActivationHandler([this, &s, &settings = m_program.settings()] {
        const std::string c = toUpper(trim(settings.Callsign));
        s.lbl_CurrentCallsign->setText(c.empty() || c == kNoCallsign ? QStringLiteral("NONE")
                                                                     : fromCore(settings.Callsign));
        selectCallsignLine(0);
        s.btn_Next->set_state(QStringLiteral("enabled"));
        int found = -1;
        for (int i = 0; i < s.lst_Callsign->count() && found < 0; ++i) {
            if (toUpper(trim(toCoreOrEmpty(s.lst_Callsign->itemText(i)))) == c)
                found = i;
        }
        if (found < 0 && !c.empty()) {
            s.lst_Callsign->addItem(fromCore(c));
            found = s.lst_Callsign->count() - 1;
        }
        if (found >= 0)
            selectCallsignLine(found);
        // The box takes the focus with its whole text selected, as the text steps' boxes do, so
        // that typing replaces "*NONE*" rather than adding to it.
        s.lst_Callsign->setFocus();
        s.lst_Callsign->lineEdit()->selectAll();
    });
}

void Wizard::connectEntryBox(EntryScreen& s) {
    const Screen which = s.screen();
    s.setChangeHandler([this, &s, &settings = m_program.settings(), which](const QString& text) {
        std::string& pending = settings.*fieldsOf(which).pending;
        MainWindow* main = m_program.mainWindow();
        if (Status refusal = toCore(textsOf(which).what, text, pending); !refusal) {
            showRefusal(refusal);
            m_refusedStep = which;
            m_refusal = main->lbl_Status->text();
        } else if (m_refusedStep == which) {
            m_refusedStep.reset();
            // Only while the refusal is still on show: a later text has its own reason to stay.
            if (main->lbl_Status->text() == m_refusal)
                main->UpdateStatusLine();
        }
        s.btn_Next->set_state(QStringLiteral("enabled"));
        if (which == Screen::Folder)
            s.lbl_Info->setText(QStringLiteral("Texture.") + fromCore(trim(toCoreOrEmpty(text))));
    });
    s.setEnterHandler([this, which] { confirmFromScreen(which, true); }, true);
    s.setActivationHandler([&s] {
        s.txt_Entry->setFocus();
        s.selectTrimmedText();
    });
}

void Wizard::callsignSelected() {
    auto* s = static_cast<CallsignScreen*>(m_program.screen(Screen::Callsign));
    s->btn_Next->set_state(QStringLiteral("enabled"));
    if (Status refusal =
            toCore("callsign", s->lst_Callsign->currentText(), m_program.settings().PendingCallsign);
        !refusal)
        showRefusal(refusal);
}

void Wizard::selectCallsignLine(int line) {
    auto* s = static_cast<CallsignScreen*>(m_program.screen(Screen::Callsign));
    // Selecting the line already selected is a selection all the same, and it puts the line back
    // in the box: text typed there and never confirmed must not outlive a reset or a reopening.
    if (s->lst_Callsign->currentIndex() == line) {
        s->lst_Callsign->setEditText(s->lst_Callsign->itemText(line));
        callsignSelected();
    } else {
        s->lst_Callsign->setCurrentIndex(line);
    }
}

void Wizard::resetScreens() {
    if (auto* s = static_cast<SelectTemplateScreen*>(m_program.screen(Screen::SelectTemplate))) {
        s->lbl_CurrentTemplate->setText(QString::fromLatin1(SelectTemplateScreen::kNoTemplate));
        s->lbl_SelectedTemplate->setText(QString::fromLatin1(SelectTemplateScreen::kNoTemplate));
    }
    if (auto* s = static_cast<EntryScreen*>(m_program.screen(Screen::Variation)))
        s->txt_Entry->setText(s->placeholder());
    if (auto* s = static_cast<EntryScreen*>(m_program.screen(Screen::Folder))) {
        s->lbl_Info->setText(QStringLiteral("Texture.Aircraft Folder"));
        s->txt_Entry->setText(s->placeholder());
    }
    if (auto* s = static_cast<EntryScreen*>(m_program.screen(Screen::TailNumber))) {
        s->lbl_Info->setText(QStringLiteral("No Current Tail Number"));
        s->txt_Entry->setText(s->placeholder());
    }
    if (auto* s = static_cast<CallsignScreen*>(m_program.screen(Screen::Callsign))) {
        s->lbl_CurrentCallsign->setText(QStringLiteral("No Current Callsign"));
        selectCallsignLine(0);
    }
}

} // namespace livrano
