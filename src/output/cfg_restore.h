// SPDX-License-Identifier: MIT
#pragma once
// Undoing a build's change to aircraft.cfg: the file kept before it goes back into place.

#include <filesystem>
#include <string>

#include "app/status.h"
#include "output/file_operations.h"
#include "output/repaint_inputs.h"

namespace livrano {

// Reads the file a restore puts back into `bytes`: Aircraft.bak, or with `original` the file as it
// was before the program first changed it (kOriginalAircraftCfg); `kept` is its path. Refused,
// naming it, when it is missing or unreadable, or when it is empty or lists no livery (no
// [fltsim.N] entry with a title): put in place, it would leave the simulator no livery to list.
Status readKeptAircraftCfg(const RepaintInputs& repaint, bool original, std::filesystem::path& kept,
                           std::string& bytes, FileOperations& files = systemFileOperations());

// Puts the kept file (readKeptAircraftCfg) back as aircraft.cfg; the current file becomes
// Aircraft.bak, so restoring the backup twice gives the file back. Call it under the build lock.
// Refused, changing nothing, for the reasons of readKeptAircraftCfg, when aircraft.cfg is
// read-only or cannot be read. Fails when a write fails, with aircraft.cfg whole and as it was and
// Aircraft.bak given its own bytes back (or, when that write fails too, a copy of aircraft.cfg,
// which the message says) -- unless only the last step, the sync of the folder, failed: both files
// then hold their new bytes.
Status RestoreAircraftCfg(const RepaintInputs& repaint, bool original,
                          FileOperations& files = systemFileOperations());

} // namespace livrano
