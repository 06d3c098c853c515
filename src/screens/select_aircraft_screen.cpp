// SPDX-License-Identifier: MIT
#include "screens/select_aircraft_screen.h"

#include <QListWidget>

#include "screens/core_text.h"

namespace livrano {

SelectAircraftScreen::SelectAircraftScreen(std::filesystem::path programFolder,
                                           ButtonCommandDispatcher& dispatcher)
    : WizardScreen(std::move(programFolder), Screen::SelectAircraft, dispatcher) {
    addLabel("Label2", QStringLiteral("Select Aircraft"), {11, 105, 103, 17}, 9, true);
    lst_SelectAircraft = new QListWidget(this);
    lst_SelectAircraft->setObjectName(QStringLiteral("lst_SelectAircraft"));
    lst_SelectAircraft->setGeometry(11, 124, 378, 116);
}

void SelectAircraftScreen::fill(const std::vector<std::string>& displayNames) {
    lst_SelectAircraft->clear();
    for (const std::string& name : displayNames)
        lst_SelectAircraft->addItem(fromCore(name));
    if (lst_SelectAircraft->count() > 0)
        lst_SelectAircraft->setCurrentRow(0);
}

} // namespace livrano
