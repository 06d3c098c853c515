// SPDX-License-Identifier: MIT
#pragma once
// The frame the six wizard screens share: a 400 x 300 shaped window titled "Select Aircraft to
// Repaint" with the title and instruction labels and the standard buttons (Close, Next, and
// Previous on steps 2 to 6, Select on step 2). Each screen adds its own controls in its
// constructor; create() then finishes the frame over all of them.

#include <functional>

#include "screens/skinned_window.h"
#include "screens/window_flags.h"

namespace livrano {

class TinyButton;

class WizardScreen : public SkinnedWindow {
public:
    // The window name of a wizard step (Screen::SelectAircraft ... Screen::Callsign).
    static QString windowName(Screen screen);

    WizardScreen(std::filesystem::path programFolder, Screen screen, ButtonCommandDispatcher& dispatcher);

    Screen screen() const { return m_screen; }
    // 1 for the aircraft screen ... 6 for the callsign screen.
    int step() const;

    // The creation steps after the constructor: the skin ("WizardRegion.dat",
    // "Wizard_Background.bmp"), the control colours (list boxes navy), the standard buttons'
    // settings and the emphasised labels' colour. Fails at the first skin file that cannot be read.
    Status create();

    // What Enter runs on any control of the screen (the screen sees every key first); the key is
    // swallowed when `swallow` is set, else it goes on to the control.
    void setEnterHandler(std::function<void()> handler, bool swallow);
    // What runs each time the screen is shown.
    void setActivationHandler(std::function<void()> handler) { m_activated = std::move(handler); }

    QLabel* lbl_Title;
    QLabel* lbl_Instructions;
    QLabel* lbl_instructions2 = nullptr; // steps 2 to 6
    TinyButton* btn_Close;
    TinyButton* btn_Next;
    TinyButton* btn_Previous = nullptr; // steps 2 to 6
    TinyButton* btn_Select = nullptr;   // step 2

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    const Screen m_screen;
    std::function<void()> m_enter;
    bool m_swallowEnter = true;
    std::function<void()> m_activated;
};

} // namespace livrano
