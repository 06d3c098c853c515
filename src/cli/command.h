#pragma once
// The sub-commands of livrano-cli. Each command's file registers itself with a static
// CommandRegistration, so adding a command touches no other file.

#include <cstdio>
#include <string>
#include <vector>

namespace livrano::cli {

struct Command {
    const char* name;    // first word on the command line, e.g. "config"
    const char* usage;   // argument synopsis shown by "livrano-cli help"
    const char* summary; // one line
    // Arguments after the command name; returns the process exit status.
    int (*run)(const std::vector<std::string>& args);
    // The command's full help, for "help NAME" and "NAME --help"; without one its usage and
    // summary serve.
    void (*help)(std::FILE* out) = nullptr;
};

struct CommandRegistration {
    explicit CommandRegistration(const Command& command);
};

const std::vector<Command>& registeredCommands();

} // namespace livrano::cli
