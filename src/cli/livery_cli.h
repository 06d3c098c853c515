// SPDX-License-Identifier: MIT
#pragma once
// What the commands that work on an aircraft's installed liveries share: their options, the
// choice of the aircraft, and the exit status of each outcome.

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

#include "app/status.h"
#include "cli/exit_status.h"
#include "output/application.h"
#include "output/build_lock.h"

namespace livrano::cli {

// The options every such command takes.
struct AircraftOptions {
    std::string aircraft;
    std::optional<std::string> programFolder;
    bool dryRun = false;
};

// Adds --aircraft (required unless `optional`), --program-folder and, for a command that
// `writes` (and so takes the build lock), --dry-run; the footer is `about`, then the exit status
// of each outcome the command can have.
void addAircraftOptions(CLI::App& command, AircraftOptions& options, const std::string& about,
                        bool optional = false, bool writes = true);

// Loads the catalogue into `app` and the named aircraft's specification (the name as typed,
// UTF-8, or a catalogue index). Prints why not, and the installed aircraft, as `command`.
bool loadAircraft(Application& app, const char* command, const std::string& name);

// Loads the aircraft that `options` names, found through the program folder they choose, into a
// fresh Application without a frontend to show, and runs `work` on its repaint inputs and its
// frontend; `command` is the command's name ("remove"). When there is no program folder or no such
// aircraft, prints why and gives kUnusableInput without running `work`; otherwise gives what
// `work` gives.
int onAircraft(const AircraftOptions& options, const char* command,
               const std::function<int(const RepaintInputs&, Frontend&)>& work);

// Prints the failure as `command` and returns its exit status.
int failed(const char* command, const Status& status);

// Takes the build lock for the loaded aircraft; prints why not and gives the exit status. Then
// finishes what an interrupted run left in the aircraft folder, saying so in one line (with
// `dryRun`, says what finishing it would do and leaves it).
std::optional<int> takeLock(BuildLock& lock, const RepaintInputs& repaint, const char* command, bool dryRun);

} // namespace livrano::cli
