// SPDX-License-Identifier: MIT
#pragma once
// A note a writing command leaves in the aircraft folder while it works ("Livrano.journal"):
// what it adds, what it will remove, and the aircraft.cfg it puts in place. Should the command
// be killed or lose its power midway, the next command reads the note and knows whether the
// work reached aircraft.cfg, so that it can finish the work or take it away.

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "app/status.h"
#include "output/file_operations.h"

namespace livrano {

struct WorkJournal {
    // The SHA-256 of the aircraft.cfg the work puts in place; empty until it is composed.
    std::string cfgHash;
    // Files and folders that were not there before the work, folders before what goes in them.
    std::vector<std::filesystem::path> added;
    // Files, then folders, that go once aircraft.cfg is in place.
    std::vector<std::filesystem::path> removals;
    // The SHA-256 of the aircraft.cfg it replaces, where the two may be alike (a livery built
    // again as it was): aircraft.cfg then cannot tell whether the work reached it.
    std::string cfgBefore;
};

// Where the journal of the aircraft in `aircraftFolder` lies.
std::filesystem::path journalFile(const std::filesystem::path& aircraftFolder);

// Writes the journal, on the disk before the call returns, so that it is there before anything it
// names. The paths must lie in `aircraftFolder`; they are kept relative to it.
Status writeJournal(const std::filesystem::path& aircraftFolder, const WorkJournal& journal,
                    FileOperations& files);

// Reads the journal; nullopt when there is none. Paths come back whole, and only those that lie
// in `aircraftFolder` (a damaged note names nothing outside it); a note that cannot be read
// holds nothing.
std::optional<WorkJournal> readJournal(const std::filesystem::path& aircraftFolder);

// Removes the journal once the work it describes is done; a missing one is no failure.
Status closeJournal(const std::filesystem::path& aircraftFolder, FileOperations& files);

} // namespace livrano
