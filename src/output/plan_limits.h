// SPDX-License-Identifier: MIT
#pragma once
// What the file system would refuse midway through a build, asked of the whole plan before
// anything is moved or written: a dry run then refuses what the build itself would stop at.

#include <vector>

#include "aircraft/aircraft_spec.h"
#include "app/status.h"
#include "output/build_plan.h"
#include "output/file_operations.h"
#include "output/plan_targets.h"

namespace livrano {

// Refused when something else has the place of a folder or file in `written`
// (checkPathKind), or a name is longer than its file system takes (NameLengths).
Status checkWritable(const std::vector<WrittenPath>& written);

// Refused when what the build writes into the aircraft folder (aircraft.cfg with its backup and
// original, the copies, the finished textures of `spec`, the extra textures) does not fit in the
// space `files` says is free there.
Status checkRoom(const BuildPlan& plan, const AircraftSpec& spec, FileOperations& files);

} // namespace livrano
