// SPDX-License-Identifier: MIT
#pragma once
// The first start of a Linux installation, which has no program folder yet: the simulator's
// folder is asked for once and the program folder is made inside it, as `livrano-cli setup` does.

#include <filesystem>
#include <optional>

#include "screens/desktop.h"

namespace livrano {

// Asks through `desktop` for the simulator's folder and sets up its program folder from the files
// installed beside `executable`. The program folder made; nullopt when the user cancels or the
// setup fails (after a message saying why).
std::optional<std::filesystem::path> setUpOnFirstStart(const std::filesystem::path& executable,
                                                       const Desktop& desktop);

} // namespace livrano
