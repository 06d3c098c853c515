// SPDX-License-Identifier: MIT
#pragma once
// A variation's place inside the installed aircraft, as its build plan names it: its folders,
// its copy of the flight model.

#include "app/frontend.h"
#include "app/status.h"
#include "output/build_plan.h"
#include "output/file_operations.h"

namespace livrano {

// Shows "Creating Aircraft Directories", then makes each of the plan's folders that is missing,
// in order (one level each: the simulator's "Aircraft" folder must exist), each synced into its
// parent. Existing folders are
// kept with their contents. Fails when a folder cannot be made or a file stands where a folder
// should be.
Status CreateAircraftFolders(Frontend& frontend, const BuildPlan& plan,
                             FileOperations& files = systemFileOperations());

// Copies the data folder's flight model to the plan's name for it, replacing a file of that
// name. Fails when the source is missing or the copy fails. Does nothing without a planned copy.
Status CopyAirFile(const BuildPlan& plan, FileOperations& files = systemFileOperations());

} // namespace livrano
