// SPDX-License-Identifier: MIT
#pragma once
// A livery packed to share, in the form painters pass liveries around: its folders and files
// as they lie in the aircraft folder, the aircraft.cfg entry as a [fltsim.X] snippet in
// "fltsim.cfg" (Windows-1252, CRLF) and a "README.txt" that says how to install it.

#include <string>
#include <vector>

#include "app/status.h"
#include "output/build_plan.h"
#include "output/zip_archive.h"

namespace livrano {

// The members of the zip for the livery of a planLiveryFiles plan of the aircraft named
// `aircraftName` (Windows-1252): each file of the plan's
// removals (folders left out, and "Thumbs.db") under its path from the aircraft folder, then
// "fltsim.cfg" and "README.txt". Fails when a file cannot be read.
Status packLivery(const BuildPlan& plan, const std::string& aircraftName, std::vector<ZipMember>& members);

} // namespace livrano
