// SPDX-License-Identifier: MIT
#pragma once
// The build of one repaint, from the user's confirmed choices to an installed variation: what
// the Create command runs. Each step reports through the frontend with the program's status
// texts and progress values; a failing step ends the build there, leaving its status text and
// the progress area shown, and the returned Status names the step and the reason.

#include "app/status.h"
#include "output/build_plan.h"
#include "output/build_state.h"
#include "output/file_operations.h"
#include "texture/texture_composition.h"

namespace livrano {

// The build driver, carrying out a checked plan: "Copying Files", the progress area, the work
// journal written (work_journal.h), the folders (0), the model copy (1, TextureAssignOnly 0),
// the flight-model copy (2, CopyRenameAirFile 1), aircraft.cfg composed and backed up (3, then 8
// to 20), the textures (20 to 100), aircraft.cfg put in place, the replaced livery's files that
// the new one does not write over removed, the progress area hidden, the aircraft's
// specification reloaded from the catalogue entry AircraftIndex (which clears the choices; the
// aircraft stays selected), "Your Aircraft Repaint has been built" (when textures were left out,
// its count, and each with its reason as the detail) and the sound. A step that fails before
// aircraft.cfg is in place takes away the files and folders the build added; files it replaced
// in place stay replaced, each whole. `textures`, when given, receives what the texture passes
// wrote and left out. Refused, writing nothing, when aircraft.cfg is no longer the file the plan
// read.
Status BuildRepaint(const BuildState& state, const BuildPlan& plan,
                    FileOperations& files = systemFileOperations(), TextureBuildReport* textures = nullptr);

// The Create command: takes the build lock, finishes what an interrupted run left in the
// aircraft folder (its one-line summary in the status line, and why not all of it as the
// detail), plans the build from the files as they are then (and the free space `files` reports)
// and runs BuildRepaint. A build that may not start (another build holds the lock, the plan's
// checks fail) changes nothing on disk and its reason becomes the status text. `plan`, when
// given, receives the plan.
Status CreateRepaint(const BuildState& state, FileOperations& files = systemFileOperations(),
                     TextureBuildReport* textures = nullptr, BuildPlan* plan = nullptr);

} // namespace livrano
