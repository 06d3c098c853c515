// SPDX-License-Identifier: MIT
#pragma once
// frm_SelectTemplate, step 2: the Select button opens the template file dialog; the labels show
// the picked and the confirmed template.

#include "screens/wizard_screen.h"

namespace livrano {

class SelectTemplateScreen : public WizardScreen {
public:
    SelectTemplateScreen(std::filesystem::path programFolder, ButtonCommandDispatcher& dispatcher);

    // Both labels' text for no template.
    static constexpr const char* kNoTemplate = "No Template Currently Selected";

    QLabel* lbl_CurrentTemplate;
    QLabel* lbl_SelectedTemplate;
};

} // namespace livrano
