// SPDX-License-Identifier: MIT
#pragma once
// What the file system would refuse midway through writing a plan: something else where a
// folder or a file goes, a name longer than the file system takes, more bytes than the disk has
// free. Every plan that writes asks these before anything is written, so that a dry run refuses
// what the run itself would fail at, and the run never stops half done.

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <string_view>

#include "app/status.h"
#include "output/build_plan.h"
#include "output/file_operations.h"

namespace livrano {

// In every message below, `doer` is what writes, as it begins a sentence ("The build").

// Refused when something other than a folder (a file, a link that leads nowhere) has the name of
// a folder to make, or something other than a regular file the name of a file to replace (a
// file is written through its link, so a link to a regular file is one).
Status checkPathKind(const std::filesystem::path& path, bool isFolder, std::string_view doer);

// The longest names the file systems take, asked once for each folder.
class NameLengths {
public:
    // Refused when the name of `path` is longer than the file system of its folder (or of the
    // nearest folder above it that exists) takes; a file's name needs room for the temporary
    // name it is written under first.
    Status check(const std::filesystem::path& path, bool isFolder, std::string_view doer);

private:
    std::map<std::filesystem::path, std::size_t> m_longest; // by folder
};

// The most that rewriting the plan's aircraft.cfg writes: the backup, the original kept the first
// time, and the new file (the clean copy with every carried entry), plus `moreBytes` (the new
// entry, the files written with it).
std::uintmax_t cfgRewriteBytes(const BuildPlan& plan, std::uintmax_t moreBytes);

// Ok when `needed` bytes fit in the space `files` says is free in `folder` (or the nearest folder
// above it that exists), or when the system cannot say; else Refused, saying how much more to
// free. The detail ends with `note` (a full stop, or a clause that begins "; ").
Status checkFreeSpace(FileOperations& files, const std::filesystem::path& folder, std::uintmax_t needed,
                      std::string_view doer, std::string_view note = ".");

// What would stop rewriting the plan's aircraft.cfg midway: something other than a regular file
// in the place of aircraft.cfg or its backup, or too little free space in the aircraft folder
// for cfgRewriteBytes(plan, moreBytes).
Status checkCfgRewrite(const BuildPlan& plan, FileOperations& files, std::uintmax_t moreBytes,
                       std::string_view doer);

// `folder`, or the nearest folder above it that exists.
std::filesystem::path existingFolder(std::filesystem::path folder);

// A size as a painter reads it, rounded up: kilobytes below a megabyte, else megabytes.
std::string sizeText(std::uintmax_t bytes);

} // namespace livrano
