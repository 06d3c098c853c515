// SPDX-License-Identifier: MIT
#pragma once
// The sub-commands of livrano-cli. main.cpp lists them in one table; each command's file gives
// the function that declares its options on the command's parser and returns how to run it.

#include <functional>

#include <CLI/CLI.hpp>

namespace livrano::cli {

// Runs the command once the whole command line has parsed; returns the process exit status.
using CommandRun = std::function<int()>;

struct Command {
    const char* name;    // first word on the command line, e.g. "config"
    const char* summary; // one line, for the list of commands
    // Declares the command's options, arguments and help footer on `command` (already named and
    // described); what it returns may only be called after a successful parse.
    CommandRun (*define)(CLI::App& command);
};

CommandRun defineBuildCommand(CLI::App& command);
CommandRun defineConfigCommand(CLI::App& command);
CommandRun defineConvertCommand(CLI::App& command);
CommandRun defineDemoCommand(CLI::App& command);
CommandRun defineInspectCommand(CLI::App& command);
CommandRun defineInstallLiveryCommand(CLI::App& command);
CommandRun defineKitCommand(CLI::App& command);
CommandRun defineListCommand(CLI::App& command);
CommandRun definePackCommand(CLI::App& command);
CommandRun defineRemoveCommand(CLI::App& command);
CommandRun defineRestoreCommand(CLI::App& command);
CommandRun defineSetupCommand(CLI::App& command);

} // namespace livrano::cli
