// SPDX-License-Identifier: MIT
#include "screens/command_dispatcher.h"

#include <functional>

#include "screens/main_window.h"
#include "screens/program.h"
#include "screens/wizard.h"
#include "screens/wizard_screen.h"

namespace livrano {

namespace {

struct Command {
    QString window;
    QString command;
    std::function<Status(Program&)> action;
};

Status run(Program& program, const std::vector<Command>& table, const QString& formName,
           const QString& buttonType) {
    const QString command = buttonType.toLower();
    for (const Command& c : table) {
        if (formName == c.window && command == c.command)
            return c.action(program);
    }
    return Status::Ok();
}

// The main window's item buttons, each with the screen it edits alone.
const std::pair<const char*, Screen> kItems[] = {
    {"selectaircraft", Screen::SelectAircraft}, {"selecttemplate", Screen::SelectTemplate},
    {"variation", Screen::Variation},           {"folder", Screen::Folder},
    {"tailnumber", Screen::TailNumber},         {"callsign", Screen::Callsign},
};

std::vector<Command> makeSmallButtons() {
    const QString main = QStringLiteral("frm_Main");
    std::vector<Command> table = {
        {main, "close", [](Program& p) { return p.ShutDownApplication(), Status::Ok(); }}};
    // The loops copy the screen out of the pair: clang before 16 cannot capture a structured binding.
    for (const auto& [command, item] : kItems) {
        const Screen screen = item;
        table.push_back({main, command, [screen](Program& p) {
                             p.windowFlags().WizardActive = false;
                             return p.wizard().show(screen, false);
                         }});
    }
    table.push_back({main, "help", [](Program& p) { return p.OpenHelpFile(), Status::Ok(); }});
    for (const auto& [command, item] : kItems) {
        const Screen screen = item;
        const QString window = WizardScreen::windowName(screen);
        const auto close = [screen](Program& p) { return p.wizard().close(screen), Status::Ok(); };
        table.push_back({window, "close", close});
        table.push_back({window, "close_" + QLatin1String(command), close});
        if (screen == Screen::SelectTemplate)
            table.push_back(
                {window, "select", [](Program& p) { return p.wizard().SelectTemplate(), Status::Ok(); }});
        if (screen != Screen::SelectAircraft)
            table.push_back(
                {window, "previous", [screen](Program& p) { return p.wizard().previous(screen); }});
        table.push_back({window, "next", [screen](Program& p) { return p.wizard().confirm(screen); }});
    }
    return table;
}

const std::vector<Command> kLargeButtons = {
    {"frm_Main", "wizard",
     [](Program& p) {
         p.windowFlags().WizardActive = true;
         p.mainWindow()->UpdateStatusLine();
         return p.wizard().show(Screen::SelectAircraft, true);
     }},
    {"frm_Main", "create", [](Program& p) { return p.CreateAircraft(); }},
};

} // namespace

Status CommandDispatcher::smallButton(const QString& formName, const QString& buttonType) {
    static const std::vector<Command> table = makeSmallButtons();
    return run(m_program, table, formName, buttonType);
}

Status CommandDispatcher::largeButton(const QString& formName, const QString& buttonType) {
    return run(m_program, kLargeButtons, formName, buttonType);
}

} // namespace livrano
