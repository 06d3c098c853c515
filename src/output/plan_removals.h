// SPDX-License-Identifier: MIT
#pragma once
// What goes when a livery is replaced, taken out or shared, and what stays. Only what the
// livery alone uses goes: nothing another livery uses with the same texture or model value,
// nothing another livery or the aircraft owns, nothing through a link, and nothing the build
// writes again (that is replaced in place, so the livery keeps the old file or the new one at
// every moment).

#include <filesystem>

#include "output/build_plan.h"
#include "output/plan_owners.h"
#include "output/plan_paths.h"
#include "output/repaint_inputs.h"

namespace livrano {

// Adds to plan.removals the files and folders of plan.replaced (which must hold a livery) that
// no livery of plan.entries uses and `owners` does not own: its own texture folder with the
// files in it, or its textures in the shared folder `shared`; its model folder; its flight model.
// Files come before the folder they are in.
void planRemovals(const RepaintInputs& repaint, const std::filesystem::path& shared, const OwnerIndex& owners,
                  PlanPaths& paths, BuildPlan& plan);

// Takes out of plan.removals whatever the plan writes (writtenPaths).
void keepWrittenOver(PlanPaths& paths, BuildPlan& plan);

} // namespace livrano
