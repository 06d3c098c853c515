// SPDX-License-Identifier: MIT
#pragma once
// What a command killed midway leaves in an aircraft folder, found and finished or taken away by
// the next command that writes there, under the build lock and before it plans: the temporary
// files of a replacement ("<name>.livrano-<n>.tmp", in the aircraft's folders and in
// TempBitmaps), the folders in which an earlier version of the program set a replaced livery's
// files aside ("Livrano.replaced*"), and the work a journal describes (see work_journal.h).

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "app/status.h"
#include "output/file_operations.h"
#include "output/work_journal.h"

namespace livrano {

struct InterruptedWork {
    std::filesystem::path aircraftFolder;
    std::vector<std::filesystem::path> temporaries;
    std::vector<std::filesystem::path> setAside; // "Livrano.replaced*" folders
    std::optional<WorkJournal> journal;
    bool committed = false; // aircraft.cfg is the one the journal's work put in place

    bool empty() const { return temporaries.empty() && setAside.empty() && !journal; }
    // One line for the painter: what was found and what finishing it does ("" when empty).
    // `done` says it in the past tense, else as what would be done.
    std::string summary(bool done) const;
};

// Looks for what an interrupted run left in `aircraftFolder` (and in the program folder's
// TempBitmaps). Writes nothing; folders that cannot be listed hold nothing.
InterruptedWork findInterruptedWork(const std::filesystem::path& aircraftFolder,
                                    const std::filesystem::path& programFolder);

// Finishes what was found: removes the temporary files; puts each file set aside back where
// nothing has taken its place, removes the rest and the folder; completes journalled work that
// reached aircraft.cfg (completeWork) and takes away the rest (undoWork). What cannot be removed
// is passed over, so that one stubborn file never blocks every later command; the result then
// fails, naming the first such file and how many there were, and the journal stays for the next
// command to try again.
Status finishInterruptedWork(const InterruptedWork& work, FileOperations& files);

// Whether aircraft.cfg in `aircraftFolder` is the file journalled work puts in place, and not the
// file it replaced (work that leaves aircraft.cfg as it was counts as not done).
bool workCommitted(const std::filesystem::path& aircraftFolder, const WorkJournal& journal);

// Finishes journalled work by what aircraft.cfg holds now: completeWork when it is the file the work
// puts in place, undoWork when not. For work that stops at a failure: a replacement of aircraft.cfg
// can fail after its rename (syncing the folder), with the new file in place.
Status settleWork(const std::filesystem::path& aircraftFolder, const WorkJournal& journal,
                  FileOperations& files);

// Removes what journalled work removes once aircraft.cfg names its result (files, then folders
// once empty), then closes the journal. Fails as finishInterruptedWork does, the journal kept.
Status completeWork(const std::filesystem::path& aircraftFolder, const WorkJournal& journal,
                    FileOperations& files);

// Takes away what journalled work added, files first, then folders once empty, then closes the
// journal: the work stopped before aircraft.cfg named its result. Fails as finishInterruptedWork does.
Status undoWork(const std::filesystem::path& aircraftFolder, const WorkJournal& journal,
                FileOperations& files);

} // namespace livrano
