// SPDX-License-Identifier: MIT
#pragma once
// A program folder inside a simulator, laid out from the installed read-only files: how a Linux
// installation (programs in bin/, files in share/livrano/) gets the Windows program folder that
// lies two levels below the simulator's root. The manifest (setup_manifest.h) records what the
// setup wrote and for which version, so that a later setup, or the start of a newer program,
// refreshes only the files nobody has changed.

#include <filesystem>
#include <string>
#include <vector>

#include "app/status.h"
#include "output/file_operations.h"

namespace livrano {

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
    std::vector<SetupFile> files;               // every installed file, in order, and airlines.cfg.new
    std::filesystem::path newAirlineList;       // airlines.cfg.new, written beside a kept list; or empty
    std::vector<std::filesystem::path> folders; // folders that were (dry run: would be) made
    std::filesystem::path record;               // where the setup was recorded; empty on a dry run
};

// Lays out `simulator`/Corvane Software/Livrano from `shared` (Data/airlines.cfg, the files of
// Media/, Livrano.pdf), with empty Templates, TempBitmaps and Aircraft Configurations, writes the
// manifest and records the program folder as the last setup (lastSetupRecord). An airline list
// changed here is kept, and the installed one goes beside it as airlines.cfg.new. The program
// folder's build lock is held throughout; the decisions are made under it. With `dryRun` nothing
// is written or locked and `result` says what would be done. Refuses, writing nothing, a
// simulator without an Aircraft folder and a `shared` folder without Data/airlines.cfg. Every
// new file is written beside its place before the first one takes it, so a failed write leaves
// the files as they were.
Status setUpProgramFolder(const std::filesystem::path& shared, const std::filesystem::path& simulator,
                          bool dryRun, ProgramSetup& result);

// The same lay-out for a program folder made another way (the demo's), so that the window opens on
// it: the installed files it lacks are copied and the manifest written, as setUpProgramFolder
// does, but it is not recorded as the last setup, which stays the painter's own simulator, and
// the folder's own airline list gets no airlines.cfg.new.
Status completeProgramFolder(const std::filesystem::path& shared, const std::filesystem::path& simulator,
                             ProgramSetup& result);

struct ProgramRefresh {
    bool needed = false;     // the folder holds an older version's files
    std::string fromVersion; // the version that laid it out; empty: one that did not record it
    ProgramSetup setup;      // what was, or would be, done

    // What the painter is told of the refresh that ended with `outcome` (with `dryRun`, the one
    // to be done): a message short enough for the window's status line, and its detail (the
    // versions and files, or why it was not done). Both empty when none was needed.
    struct Note {
        std::string message;
        std::string detail;
    };
    Note note(const Status& outcome, bool dryRun) const;
};

// Run at start, before the airline list is read: a program folder a setup of an older version
// laid out gets this version's installed files from `shared` as setUpProgramFolder gives them,
// and then a manifest naming this version, so that the next start has nothing to do. Only the
// installed files are touched, never configurations, templates or Data.* folders. A folder
// without a manifest (no setup made it), one this version or a newer one laid out, and `shared`
// itself are left alone (`result.needed` false). Takes the program folder's lock and decides
// under it: Locked, writing nothing, when a build holds it. With `dryRun` nothing is written or
// locked. After a failed write every file is whole and the manifest still names the old version,
// so the next start refreshes again; the folder stays usable as it is meanwhile.
Status refreshProgramFolder(const std::filesystem::path& shared, const std::filesystem::path& programFolder,
                            bool dryRun, FileOperations& files, ProgramRefresh& result);

} // namespace livrano
