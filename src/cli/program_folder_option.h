// SPDX-License-Identifier: MIT
#pragma once
// The --program-folder option that every command working in a program folder takes, and the
// program folder it leads to.

#include <filesystem>
#include <optional>
#include <string>

#include <CLI/CLI.hpp>

namespace livrano::cli {

// Adds --program-folder DIR to `command`, stored in `folder` when given.
void addProgramFolderOption(CLI::App& command, std::optional<std::string>& folder);

// The program folder, absolute (findProgramFolder, with `option` first). When there is none,
// prints, as `command`, which command makes one, and returns nullopt.
std::optional<std::filesystem::path> programFolderOrAdvice(const std::optional<std::string>& option,
                                                           const char* command);

} // namespace livrano::cli
