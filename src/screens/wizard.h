// SPDX-License-Identifier: MIT
#pragma once
// The six screen openers, their confirm steps and the template file dialog: how the painter
// walks from "Wizard" to "Create", or edits one item from the main window.
//
// A screen is shown application-modal without a nested event loop: an opener returns as soon
// as its screen is up, so the step after a confirm runs at once (the aircraft confirm step's
// later matches included), in the order the nested displays would have run them, only without
// waiting for the screens opened in between to close.

#include <QString>

#include <optional>

#include "app/status.h"
#include "screens/window_flags.h"

namespace livrano {

class CallsignScreen;
class EntryScreen;
class Program;
class SelectAircraftScreen;
class WizardScreen;

class Wizard {
public:
    explicit Wizard(Program& program) : m_program(program) {}

    // Prepares a screen for wizard mode (wizard true) or single-edit mode, fills its fields and
    // shows it centred on the main window. Fails when the screen cannot be created.
    Status show(Screen screen, bool wizard);

    // The confirm step of a screen (Next, Enter, the aircraft list's double-click). byEnter
    // matters on the callsign screen, where only Next enables Create itself. A refused input
    // (text with no Windows-1252 form) puts its reason in the status line and confirms nothing.
    Status confirm(Screen screen, bool byEnter = false);

    // Leaves a screen without confirming: the wizard is over.
    void close(Screen screen);

    // Previous: the step before, in wizard mode.
    Status previous(Screen screen);

    // SelectTemplate: the file dialog, and a pick recorded as the pending template.
    void SelectTemplate();

    // Hooks a newly created screen's own events (activation, Enter, list and box changes) to the
    // program's state.
    void connectScreen(WizardScreen& screen);

    // The wizard screens' part of the empty state.
    void resetScreens();

private:
    // connectScreen's part for each kind of screen.
    void connectAircraftList(SelectAircraftScreen& screen);
    void connectCallsignList(CallsignScreen& screen);
    void connectEntryBox(EntryScreen& screen);

    // The confirm step run by the screen's own events (Enter, the aircraft list's double-click)
    // rather than by a button.
    void confirmFromScreen(Screen screen, bool byEnter);
    Status ConfirmAircraft();
    Status confirmEntry(Screen screen);
    Status ConfirmTemplate();
    Status ConfirmCallsign(bool byEnter);
    // Hides the confirmed screen, plays the sound, updates the status line and, with `wizard`,
    // shows the next step: fails when that screen cannot be shown.
    Status finishConfirm(Screen screen, bool wizard);
    void ShowScreenCentred(WizardScreen& screen);
    // Puts a refusal's reason in the status line.
    void showRefusal(const Status& why);
    // The same, handing the refusal on.
    Status refused(const Status& why);
    void callsignSelected();
    void selectCallsignLine(int line);

    Program& m_program;
    // The text step whose typed text the status line refuses, and the refusal as shown: it
    // leaves the status line when the text is acceptable again.
    std::optional<Screen> m_refusedStep;
    QString m_refusal;
};

} // namespace livrano
