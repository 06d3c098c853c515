// SPDX-License-Identifier: MIT
#pragma once
// The names a build gives what it writes, each derived once from the aircraft's specification
// and the user's choices (trimmed, masked), checked to be a safe file name, and checked against
// the names it could collide with. Each function fills its part of the plan and refuses, with a
// message that names the value at fault, what the build could not write as named.

#include <filesystem>
#include <string>

#include "app/status.h"
#include "output/build_plan.h"
#include "output/plan_paths.h"
#include "output/repaint_inputs.h"

namespace livrano {

// plan.aircraftFolder and plan.dataFolder. Refused when AircraftDirectory or DataPath is not a
// safe folder name.
Status planFolders(const RepaintInputs& repaint, BuildPlan& plan);

// plan.extension and plan.id. Refused when the extension is not a safe name, or (TextureAssignOnly
// 0) is not NumIdentifierCharacters long, as the model names the textures by it.
Status planVariationId(const RepaintInputs& repaint, BuildPlan& plan);

// With TextureAssignOnly 0: plan.model's source in the data folder, plan.modelName and the texture
// names patched into the copy. Precondition: plan.id and plan.dataFolder are set. Refused when a
// name is unsafe, the model is missing, or a texture name would lie before its start or end past
// its end.
Status planModel(const RepaintInputs& repaint, BuildPlan& plan);

// With CopyRenameAirFile 1: plan.air's source in the data folder and its new name `sim`.
// Refused when a name is unsafe or the flight model is missing.
Status planAir(const RepaintInputs& repaint, BuildPlan& plan, std::string& sim);

// plan.textures.textures: one job for each listed texture, named for the variation (skipped,
// under its base name, when TextureAssignOnly gives it no name). Refused when a name is unsafe or
// two textures' files in TempBitmaps would meet; two of one name are a warning.
Status planTextures(const RepaintInputs& repaint, BuildPlan& plan);

// With CopyExtraTextures 1: the folder the extra textures come from (`folder`: BaseTextureFolder's,
// or the shared texture folder `shared` when it is blank) and plan.textures.extras, found there.
// Refused when a name is unsafe.
Status planExtras(const RepaintInputs& repaint, const std::filesystem::path& shared, PlanPaths& paths,
                  BuildPlan& plan, std::filesystem::path& folder);

// With CopyExtraFields 1: refused, naming the first, when an extra field name cannot be a key of
// the entries the build writes.
Status checkExtraFields(const RepaintInputs& repaint);

} // namespace livrano
