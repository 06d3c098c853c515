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

// The build driver, carrying out a checked plan: the plan's leftovers removed (saying how many
// in the status line when there were any), "Copying Files", the progress area, the replaced
// livery's files set aside (put back when a step fails before aircraft.cfg is written, deleted
// once it is), the folders (0), the model copy (1, TextureAssignOnly 0), the flight-model copy
// (2, CopyRenameAirFile 1), aircraft.cfg (3, then 8 to 20), the textures (20 to 100), the
// progress area hidden, the aircraft's specification reloaded from the catalogue entry
// AircraftIndex (which clears the choices; the aircraft stays selected), "Your Aircraft Repaint
// has been built" (when textures were left out, its count, and each with its reason as the
// detail) and the sound. `textures`, when given, receives what the texture passes wrote and left
// out. Refused, writing nothing, when aircraft.cfg is no longer the file the plan read.
Status BuildRepaint(const BuildState& state, const BuildPlan& plan,
                    FileOperations& files = systemFileOperations(), TextureBuildReport* textures = nullptr);

// The Create command: takes the build lock, plans the build from the files as they are then
// (and the free space `files` reports) and runs BuildRepaint. A build that may not start (another build holds
// the lock, the plan's checks fail) changes nothing on disk and its reason becomes the status text. `plan`,
// when given, receives the plan.
Status CreateRepaint(const BuildState& state, FileOperations& files = systemFileOperations(),
                     TextureBuildReport* textures = nullptr, BuildPlan* plan = nullptr);

} // namespace livrano
