// SPDX-License-Identifier: MIT
#include "cli/program_folder_option.h"

#include <cstdio>
#include <system_error>

#include "app/program_folder.h"
#include "cli/terminal_text.h"

namespace livrano::cli {

namespace fs = std::filesystem;

void addProgramFolderOption(CLI::App& command, std::optional<std::string>& folder) {
    command
        .add_option(
            "--program-folder", folder,
            "the program folder (default: LIVRANO_PROGRAM_FOLDER, else the executable's folder when it holds Data/airlines.cfg, else the one the last setup made)")
        ->type_name("DIR");
}

std::optional<fs::path> programFolderOrAdvice(const std::optional<std::string>& option, const char* command) {
    const std::optional<fs::path> found = findProgramFolder(
        option ? std::optional<fs::path>(*option) : std::nullopt, executableFolder(nullptr));
    if (!found) {
        say(stderr,
            "livrano-cli %s: there is no program folder yet. Run \"livrano-cli setup SIMULATOR_FOLDER\" once (the folder that holds the simulator's Aircraft folder), or give --program-folder.\n",
            command);
        return std::nullopt;
    }
    // Absolute, so that nothing depends on the directory the command was started in.
    std::error_code ec;
    return fs::absolute(*found, ec);
}

} // namespace livrano::cli
