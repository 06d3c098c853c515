// SPDX-License-Identifier: MIT
#pragma once
// frm_Callsign, step 6: the airline callsigns, "*NONE*" first; a callsign may also be typed.

#include "screens/wizard_screen.h"

class QComboBox;

namespace livrano {

class CallsignScreen : public WizardScreen {
public:
    CallsignScreen(std::filesystem::path programFolder, ButtonCommandDispatcher& dispatcher);

    // The list's lines in order; the first selected.
    void fill(const std::vector<std::string>& lines);

    QLabel* lbl_CurrentCallsign;
    QComboBox* lst_Callsign;
};

} // namespace livrano
