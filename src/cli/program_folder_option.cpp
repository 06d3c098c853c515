// SPDX-License-Identifier: MIT
#include "cli/program_folder_option.h"

#include <cstdio>
#include <system_error>

#include "app/program_folder.h"
#include "cli/terminal_text.h"
#include "output/program_setup.h"

namespace livrano::cli {

namespace fs = std::filesystem;

void addProgramFolderOption(CLI::App& command, std::optional<std::string>& folder) {
    command
        .add_option(
            "--program-folder", folder,
            "the program folder (default: LIVRANO_PROGRAM_FOLDER, else the executable's folder when it holds Data/airlines.cfg, else the one the last setup made)")
        ->type_name("DIR");
}

namespace {

void refreshFromInstalledFiles(const fs::path& programFolder, const char* command, bool dryRun) {
    const std::optional<fs::path> shared = findSharedFiles(executableFolder(nullptr));
    if (!shared)
        return;
    ProgramRefresh refresh;
    const Status s = refreshProgramFolder(*shared, programFolder, dryRun, systemFileOperations(), refresh);
    // On stderr, in one line: stdout may be a listing a script reads.
    if (const ProgramRefresh::Note note = refresh.note(s, dryRun); !note.message.empty())
        say(stderr, "livrano-cli %s: %s (%s)\n", command, note.message.c_str(), note.detail.c_str());
}

} // namespace

std::optional<fs::path> programFolderOrAdvice(const std::optional<std::string>& option, const char* command,
                                              bool dryRun) {
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
    const fs::path folder = fs::absolute(*found, ec);
    refreshFromInstalledFiles(folder, command, dryRun);
    return folder;
}

} // namespace livrano::cli
