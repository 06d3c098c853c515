// SPDX-License-Identifier: MIT
#pragma once
// How a plan words what it refuses: a short message that fits the window's status line, with
// each name quoted and shortened, and a detail that names it whole, for the CLI and the log.

#include <filesystem>
#include <string>
#include <string_view>

#include "app/status.h"

namespace livrano {

// A Windows-1252 name in a short message: quoted, and shortened when long.
std::string shortQuoted(std::string_view windows1252);

// Refused: the aircraft's `what` `file` (the model or the flight model it copies) is missing.
// `what` may end in a parenthesis naming the configuration's key, which only the detail keeps.
Status missingSource(std::string_view what, const std::filesystem::path& file);

} // namespace livrano
