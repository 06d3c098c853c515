// SPDX-License-Identifier: MIT
#pragma once
// The first start of a Linux installation, which has no program folder yet: the simulator's
// folder is asked for once and the program folder is made inside it, as `livrano-cli setup` does.

#include <filesystem>
#include <optional>

#include "screens/desktop.h"

namespace livrano {

// Asks through `desktop` for the simulator's folder (the dialog starts in a Wine or Steam prefix
// of the home folder when there is one) and sets up its program folder from the files installed
// beside `executable`, then offers kits (offerKits); a folder the setup fails on is asked again
// after a message saying why. The
// program folder made; nullopt when the user cancels, or when the installed files are missing
// (after a message).
// Once the program folder is made: offers (a yes/no question naming how many) a paint kit for
// every aircraft of the simulator without a configuration, makes them with progress, and says
// how many were made and why any was not. Nothing is asked when every aircraft has one.
void offerKits(const std::filesystem::path& programFolder, const Desktop& desktop);

std::optional<std::filesystem::path> setUpOnFirstStart(const std::filesystem::path& executable,
                                                       const Desktop& desktop);

} // namespace livrano
