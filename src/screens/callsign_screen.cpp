// SPDX-License-Identifier: MIT
#include "screens/callsign_screen.h"

#include <QComboBox>

#include "screens/core_text.h"

namespace livrano {

CallsignScreen::CallsignScreen(std::filesystem::path programFolder, ButtonCommandDispatcher& dispatcher)
    : WizardScreen(std::move(programFolder), Screen::Callsign, dispatcher) {
    addLabel("Label3", QStringLiteral("Current Callsign:"), {13, 174, 119, 20}, 9.75, true);
    addLabel("Label5", QStringLiteral("Select New:"), {13, 200, 119, 20}, 9.75, true);
    lbl_CurrentCallsign =
        addLabel("lbl_CurrentCallsign", QStringLiteral("No Current Callsign"), {137, 174, 257, 21});
    lst_Callsign = new QComboBox(this);
    lst_Callsign->setObjectName(QStringLiteral("lst_Callsign"));
    lst_Callsign->setGeometry(137, 198, 257, 24);
    lst_Callsign->setEditable(true);
    // A typed callsign is committed as typed; it must not become a list line by itself.
    lst_Callsign->setInsertPolicy(QComboBox::NoInsert);
    // Nor may the list finish what is typed: "bo" is "bo", not the first airline that starts so.
    lst_Callsign->setCompleter(nullptr);
}

void CallsignScreen::fill(const std::vector<std::string>& lines) {
    lst_Callsign->clear();
    for (const std::string& line : lines)
        lst_Callsign->addItem(fromCore(line));
    lst_Callsign->setCurrentIndex(0);
}

} // namespace livrano
