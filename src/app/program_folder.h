// SPDX-License-Identifier: MIT
#pragma once
// Where the program folder is. Installed the Windows way, the program folder is the executable's
// own folder inside the simulator. Installed the Linux way, the programs live in bin/ with their
// read-only files in share/livrano/, and `livrano-cli setup` makes the program folder inside the
// simulator and records it as the last setup.

#include <filesystem>
#include <optional>

namespace livrano {

// The folder of the running executable; argv0 serves where the platform cannot tell.
std::filesystem::path executableFolder(const char* argv0);

// The program folder, the first of: `given` (a --program-folder option), LIVRANO_PROGRAM_FOLDER
// when set and not empty, the executable's folder when it holds Data/airlines.cfg, the program
// folder a build tree makes beside its binaries (program/), the folder the last setup recorded
// when it still holds Data/airlines.cfg. Nullopt when none applies.
std::optional<std::filesystem::path> findProgramFolder(const std::optional<std::filesystem::path>& given,
                                                       const std::filesystem::path& executable);

// The read-only files a setup copies (Data/airlines.cfg, Media/, Livrano.pdf): share/livrano
// beside an installed bin/, else the build tree's program folder, else the executable's own
// folder; the first that holds Data/airlines.cfg. Nullopt when none does.
std::optional<std::filesystem::path> findSharedFiles(const std::filesystem::path& executable);

// The one-line file that records the last setup: $XDG_CONFIG_HOME/livrano/program-folder, with
// ~/.config for an unset XDG_CONFIG_HOME. Empty when neither is known.
std::filesystem::path lastSetupRecord();

} // namespace livrano
