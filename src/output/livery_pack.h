// SPDX-License-Identifier: MIT
#pragma once
// A livery packed to share, in the form painters pass liveries around: its folders and files
// as they lie in the aircraft folder, the aircraft.cfg entry as a [fltsim.X] snippet in
// "fltsim.cfg" (Windows-1252, CRLF) and a "README.txt" that says how to install it.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "app/status.h"
#include "output/build_plan.h"
#include "output/file_operations.h"
#include "output/zip_archive.h"

namespace livrano {

// The members of the zip for the livery of a planLiveryFiles plan of the aircraft named
// `aircraftName` (Windows-1252): each file of the plan's
// removals (folders left out, and "Thumbs.db") under its path from the aircraft folder, then
// "fltsim.cfg" and "README.txt". Fails when a file cannot be read.
Status packLivery(const BuildPlan& plan, const std::string& aircraftName, std::vector<ZipMember>& members);

// Ok when a zip of `bytes` bytes can be written as `zip`: its folder is there, nothing but a
// regular file has its name, the name is not too long for the file system, and the disk has the
// room `files` says is free (the zip written beside an old one before it takes its place).
// Refused otherwise, saying what stands in the way.
Status checkPackTarget(const std::filesystem::path& zip, std::uintmax_t bytes,
                       FileOperations& files = systemFileOperations());

} // namespace livrano
