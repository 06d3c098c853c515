// SPDX-License-Identifier: MIT
#include "screens/select_template_screen.h"

#include <QLabel>

namespace livrano {

SelectTemplateScreen::SelectTemplateScreen(std::filesystem::path programFolder,
                                           ButtonCommandDispatcher& dispatcher)
    : WizardScreen(std::move(programFolder), Screen::SelectTemplate, dispatcher) {
    addLabel("Label1", QStringLiteral("Current Template:"), {58, 148, 119, 20}, 9, true);
    lbl_CurrentTemplate =
        addLabel("lbl_CurrentTemplate", QString::fromLatin1(kNoTemplate), {58, 169, 331, 21});
    addLabel("Label3", QStringLiteral("Selected Template:"), {58, 194, 119, 20}, 9, true);
    lbl_SelectedTemplate =
        addLabel("lbl_SelectedTemplate", QString::fromLatin1(kNoTemplate), {58, 215, 331, 21});
}

} // namespace livrano
