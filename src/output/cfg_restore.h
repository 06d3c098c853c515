// SPDX-License-Identifier: MIT
#pragma once
// Undoing a build's change to aircraft.cfg: the file kept before it goes back into place.

#include "app/status.h"
#include "output/file_operations.h"
#include "output/repaint_inputs.h"

namespace livrano {

// Puts Aircraft.bak back as aircraft.cfg, or with `original` the file as it was before the
// program first changed it (kOriginalAircraftCfg); the current file becomes Aircraft.bak, so
// restoring the backup twice gives the file back. Call it under the build lock. Fails when the
// kept file is missing or unreadable or aircraft.cfg is read-only, changing nothing, or when a write fails,
// with aircraft.cfg as it was.
Status RestoreAircraftCfg(const RepaintInputs& repaint, bool original,
                          FileOperations& files = systemFileOperations());

} // namespace livrano
