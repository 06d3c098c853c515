#pragma once
// The --program-folder option that every command working in a program folder takes.

#include <optional>
#include <string>

#include <CLI/CLI.hpp>

namespace livrano::cli {

// Adds --program-folder DIR to `command`, stored in `folder` when given.
void addProgramFolderOption(CLI::App& command, std::optional<std::string>& folder);

} // namespace livrano::cli
