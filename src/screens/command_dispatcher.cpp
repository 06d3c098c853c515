#include "screens/command_dispatcher.h"

#include <functional>

#include "screens/main_window.h"
#include "screens/program.h"

namespace livrano {

namespace {

struct Command {
    const char* window;
    const char* command;
    std::function<Status(Program&)> action;
};

Status run(Program& program, const std::vector<Command>& table, const QString& formName,
           const QString& buttonType) {
    const QString command = buttonType.toLower();
    for (const Command& c : table) {
        if (formName == QLatin1String(c.window) && command == QLatin1String(c.command))
            return c.action(program);
    }
    return Status::Ok();
}

// An item button of the main window edits its one item outside the wizard.
Status editOneItem(Program& program) {
    program.app().flags.WizardActive = false;
    return Status::Ok();
}

const std::vector<Command>& smallButtons() {
    static const std::vector<Command> table = {
        {"frm_Main", "close", [](Program& p) { return p.ShutDownApplication(), Status::Ok(); }},
        {"frm_Main", "selectaircraft", editOneItem},
        {"frm_Main", "selecttemplate", editOneItem},
        {"frm_Main", "variation", editOneItem},
        {"frm_Main", "folder", editOneItem},
        {"frm_Main", "tailnumber", editOneItem},
        {"frm_Main", "callsign", editOneItem},
        {"frm_Main", "help", [](Program& p) { return p.OpenHelpFile(), Status::Ok(); }},
    };
    return table;
}

const std::vector<Command>& largeButtons() {
    static const std::vector<Command> table = {
        {"frm_Main", "wizard",
         [](Program& p) {
             p.app().flags.WizardActive = true;
             p.mainWindow()->UpdateStatusLine();
             return Status::Ok();
         }},
        {"frm_Main", "create", [](Program& p) { return p.CreateAircraft(); }},
    };
    return table;
}

} // namespace

Status CommandDispatcher::smallButton(const QString& formName, const QString& buttonType) {
    return run(m_program, smallButtons(), formName, buttonType);
}

Status CommandDispatcher::largeButton(const QString& formName, const QString& buttonType) {
    return run(m_program, largeButtons(), formName, buttonType);
}

} // namespace livrano
