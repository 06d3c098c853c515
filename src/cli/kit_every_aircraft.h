// SPDX-License-Identifier: MIT
#pragma once
// Kits for every aircraft of a simulator that no configuration describes: `kit --all`, and
// `setup --kits` once the program folder is made.

#include <filesystem>
#include <string>
#include <vector>

namespace livrano::cli {

// One line per aircraft on stdout: kitted, with its name, or not, with the reason. Each kit is
// named after its aircraft and made under the lock on its own, so one that cannot be made stops
// none of the others. The exit status: kDone when every one was made (or there was none), else
// the first refusal's, kFailed when a write failed, kLocked at once when a build holds the lock.
int kitEveryAircraft(const std::filesystem::path& programFolder, bool dryRun,
                     const std::vector<std::string>& include = {},
                     const std::vector<std::string>& exclude = {});

} // namespace livrano::cli
