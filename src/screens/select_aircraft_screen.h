// SPDX-License-Identifier: MIT
#pragma once
// frm_SelectAircraft, step 1: the installed aircraft by display name.

#include "screens/wizard_screen.h"

class QListWidget;

namespace livrano {

class SelectAircraftScreen : public WizardScreen {
public:
    SelectAircraftScreen(std::filesystem::path programFolder, ButtonCommandDispatcher& dispatcher);

    // One line per catalogue entry, in catalogue order; the first line selected.
    void fill(const std::vector<std::string>& displayNames);

    QListWidget* lst_SelectAircraft;
};

} // namespace livrano
