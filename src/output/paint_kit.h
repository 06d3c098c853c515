// SPDX-License-Identifier: MIT
#pragma once
// Making paint kits as a command does: under the program folder's lock, one aircraft or every
// aircraft of the simulator that no configuration describes yet.

#include <filesystem>
#include <vector>

#include "app/status.h"
#include "output/file_operations.h"
#include "output/kit_plan.h"

namespace livrano {

// Takes the program folder's lock (Locked, writing nothing, while a build or setup holds it),
// plans the kit under it and, unless `dryRun`, composes and writes its files. `plan` holds the
// decisions once planning succeeded.
Status makeKit(const KitRequest& request, bool dryRun, KitPlan& plan,
               FileOperations& operations = systemFileOperations());

// The folders of the simulator's Aircraft folder that hold an aircraft.cfg and that no
// configuration's AircraftDirectory names, in name order without regard to case.
std::vector<std::filesystem::path> aircraftWithoutConfiguration(const std::filesystem::path& programFolder);

} // namespace livrano
