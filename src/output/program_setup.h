// SPDX-License-Identifier: MIT
#pragma once
// A program folder inside a simulator, laid out from the installed read-only files: how a Linux
// installation (programs in bin/, files in share/livrano/) gets the Windows program folder that
// lies two levels below the simulator's root. A manifest of checksums records what the setup
// wrote, so that a later setup (after an upgrade) refreshes only the files nobody has changed.

#include <filesystem>
#include <string>
#include <vector>

#include "app/status.h"

namespace livrano {

// The manifest in the program folder, in `sha256sum` format.
inline constexpr const char* kSetupManifest = "Livrano.sha256";

struct SetupFile {
    enum class Action {
        Write,   // missing: written
        Refresh, // as the last setup wrote it, and the installed file differs: replaced
        Keep,    // changed since a setup wrote it, or never written by one: left as it is
        Current, // already the installed file's bytes
    };
    std::filesystem::path path; // in the program folder
    Action action;
};

struct ProgramSetup {
    std::filesystem::path programFolder;        // simulator/Corvane Software/Livrano
    std::vector<std::filesystem::path> folders; // folders that were (dry run: would be) made
    std::vector<SetupFile> files;               // every installed file, in order
    std::filesystem::path record;               // where the setup was recorded; empty on a dry run
};

// Lays out `simulator`/Corvane Software/Livrano from `shared` (Data/airlines.cfg, the files of
// Media/, Livrano.pdf), with empty Templates, TempBitmaps and Aircraft Configurations, writes the
// manifest and records the program folder as the last setup (lastSetupRecord). Every file is
// written whole (beside, then renamed). The program folder's build lock is held throughout; the
// decisions are made under it. With `dryRun` nothing is written or locked and `result` says what
// would be done. Refuses, writing nothing, a simulator without an Aircraft folder and a `shared`
// folder without Data/airlines.cfg; after a failed write, what was written stays, and the
// manifest lists it.
Status setUpProgramFolder(const std::filesystem::path& shared, const std::filesystem::path& simulator,
                          bool dryRun, ProgramSetup& result);

// The same lay-out for a program folder made another way (the demo's), so that the window opens on
// it: the installed files it lacks are copied and the manifest written, as setUpProgramFolder
// does, but it is not recorded as the last setup, which stays the painter's own simulator.
Status completeProgramFolder(const std::filesystem::path& shared, const std::filesystem::path& simulator,
                             ProgramSetup& result);

} // namespace livrano
