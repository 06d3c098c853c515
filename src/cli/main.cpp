// livrano-cli: the program's work without a window, for painters, aircraft makers and scripts.

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "cli/command.h"
#include "cli/exit_status.h"

namespace livrano::cli {

namespace {
std::vector<Command>& registry() {
    static std::vector<Command> commands;
    return commands;
}
} // namespace

CommandRegistration::CommandRegistration(const Command& command) {
    registry().push_back(command);
}

const std::vector<Command>& registeredCommands() {
    return registry();
}

namespace {

void printUsage(std::FILE* out) {
    std::vector<Command> sorted = registeredCommands();
    std::sort(sorted.begin(), sorted.end(),
              [](const Command& a, const Command& b) { return std::strcmp(a.name, b.name) < 0; });
    std::fprintf(out, "Usage: livrano-cli COMMAND [ARGUMENTS]\n\nCommands:\n");
    for (const Command& c : sorted)
        std::fprintf(out, "  %-8s %s\n           %s\n", c.name, c.usage, c.summary);
    std::fprintf(out, "\nlivrano-cli help prints this list; livrano-cli help COMMAND (or COMMAND --help)\n"
                      "explains one command.\n");
}

void printCommandHelp(const Command& c, std::FILE* out) {
    if (c.help != nullptr) {
        c.help(out);
        return;
    }
    std::fprintf(
        out, "Usage: livrano-cli %s %s\n\n%s%s.\n", c.name, c.usage,
        std::string(1, static_cast<char>(std::toupper(static_cast<unsigned char>(c.summary[0])))).c_str(),
        c.summary + 1);
}

const Command* findCommand(const std::string& name) {
    for (const Command& c : registeredCommands()) {
        if (name == c.name)
            return &c;
    }
    return nullptr;
}

} // namespace
} // namespace livrano::cli

int main(int argc, char** argv) {
    using namespace livrano::cli;
    if (argc < 2) {
        printUsage(stderr);
        return kUnusableInput;
    }
    const std::string name = argv[1];
    const bool helpAsked = name == "help" || name == "--help" || name == "-h";
    const std::string topic = helpAsked && argc > 2 ? argv[2] : helpAsked ? "" : name;
    if (topic.empty()) {
        printUsage(stdout);
        return kDone;
    }
    if (const Command* c = findCommand(topic)) {
        const std::string first = argc > 2 ? argv[2] : "";
        if (helpAsked || first == "--help" || first == "-h") {
            printCommandHelp(*c, stdout);
            return kDone;
        }
        return c->run(std::vector<std::string>(argv + 2, argv + argc));
    }
    std::fprintf(stderr, "livrano-cli: unknown command \"%s\"\n\n", topic.c_str());
    printUsage(stderr);
    return kUnusableInput;
}
