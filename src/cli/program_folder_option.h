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
// prints, as `command`, which command makes one, and returns nullopt. A program folder an older
// version set up is first refreshed from the installed files (refreshProgramFolder; with `dryRun`
// only said), in one line on stderr; a refresh that cannot be done is said and the command goes
// on with the folder as it is.
std::optional<std::filesystem::path> programFolderOrAdvice(const std::optional<std::string>& option,
                                                           const char* command, bool dryRun = false);

} // namespace livrano::cli
