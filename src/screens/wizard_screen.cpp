// SPDX-License-Identifier: MIT
#include "screens/wizard_screen.h"

#include <QKeyEvent>
#include <QLabel>

#include "skin/image_button.h"

namespace livrano {

namespace {

struct ScreenNames {
    const char* window;
    const char* closeTip;
};

// By step, 1 to 6.
const ScreenNames kScreens[] = {
    {"frm_SelectAircraft", "Click to close the Select Aircraft Screen."},
    {"frm_SelectTemplate", "Click to close the Select Template Screen."},
    {"frm_Variation", "Click to close the Variation Entry Screen."},
    {"frm_Folder", "Click to close the Folder Entry Screen."},
    {"frm_TailNumber", "Click to close the Tail Number Entry Screen."},
    {"frm_Callsign", "Click to close the Callsign Selection Screen."},
};

// Labels that show a value rather than a caption.
const char* const kEmphasised[] = {
    "lbl_Title",       "lbl_CurrentTemplate", "lbl_SelectedTemplate",  "lbl_CurrentManufacturer",
    "lbl_CurrentType", "lbl_Example",         "lbl_CurrentTailNumber", "lbl_CurrentCallsign"};

} // namespace

QString WizardScreen::windowName(Screen screen) {
    return QString::fromLatin1(kScreens[static_cast<std::size_t>(screen) - 1].window);
}

WizardScreen::WizardScreen(std::filesystem::path programFolder, Screen screen,
                           ButtonCommandDispatcher& dispatcher)
    : SkinnedWindow(std::move(programFolder), windowName(screen), QSize(400, 300), dispatcher),
      m_screen(screen) {
    setWindowTitle(QStringLiteral("Select Aircraft to Repaint"));
    const bool wide = screen == Screen::TailNumber || screen == Screen::Callsign;
    lbl_Title = addLabel("lbl_Title", QString(), {11, 33, wide ? 346 : 338, 22}, 12, true);
    lbl_Instructions =
        addLabel("lbl_Instructions", QString(), {9, screen == Screen::Folder ? 60 : 59, 383, 44}, 8.25);
    if (step() >= 2)
        lbl_instructions2 = addLabel("lbl_instructions2", QString(), {9, 112, 383, 32}, 8.25);
    const auto tiny = [this](const char* name) {
        auto* button = new TinyButton(this->programFolder(), this);
        button->setObjectName(QString::fromLatin1(name));
        return button;
    };
    btn_Close = tiny("btn_Close");
    btn_Next = tiny("btn_Next");
    if (step() >= 2)
        btn_Previous = tiny("btn_Previous");
    if (step() == 2)
        btn_Select = tiny("btn_Select");
}

int WizardScreen::step() const {
    return static_cast<int>(m_screen);
}

Status WizardScreen::create() {
    if (Status s = applySkin("WizardRegion.dat", "Wizard_Background.bmp"); !s)
        return s;
    styleControls(kNavy);

    const ButtonSetting buttons[] = {
        {btn_Close, {360, 7}, "close", "Close", "enabled", kScreens[step() - 1].closeTip},
        {btn_Previous,
         {161, 253},
         "previous",
         "Previous",
         "enabled",
         "Click to move to the previous Livrano Wizard Screen."},
        {btn_Next,
         {step() == 1 ? 183 : 206, 253},
         "next",
         "Next",
         "disabled",
         "Click to move to the next Livrano Wizard Screen."},
        {btn_Select, {17, 176}, "select", "Empty", "enabled", "Click to select a repaint template."},
    };
    for (const ButtonSetting& b : buttons) {
        if (b.button != nullptr)
            setUpButton(b);
    }
    for (const char* name : kEmphasised) {
        if (auto* label = findChild<QLabel*>(QString::fromLatin1(name), Qt::FindDirectChildrenOnly))
            setControlColours(*label, kNavy);
    }
    return Status::Ok();
}

void WizardScreen::setEnterHandler(std::function<void()> handler, bool swallow) {
    m_enter = std::move(handler);
    m_swallowEnter = swallow;
    installEventFilter(this);
    for (QWidget* child : findChildren<QWidget*>())
        child->installEventFilter(this);
}

void WizardScreen::showEvent(QShowEvent* event) {
    SkinnedWindow::showEvent(event);
    if (m_activated)
        m_activated();
}

bool WizardScreen::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && m_enter) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            m_enter();
            return m_swallowEnter;
        }
    }
    return SkinnedWindow::eventFilter(watched, event);
}

} // namespace livrano
