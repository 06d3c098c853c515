// SPDX-License-Identifier: MIT
#pragma once
// Locations and file names. Every location is the program folder joined with a Windows-style
// relative part ("\Data\airlines.cfg"). The simulator's folders may sit on a case-sensitive file
// system (Linux, Wine, Proton), so existing names are found without regard to case.

#include <filesystem>
#include <string_view>

#include "app/status.h"

namespace livrano {

// programFolder followed by a relative part whose backslashes (and slashes) separate folders;
// ".." is resolved lexically, as the Windows file functions do.
std::filesystem::path programLocation(const std::filesystem::path& programFolder, std::string_view relative);

// The path as it exists on disk, each component matched without regard to case when the exact
// name is missing. Components that match nothing are kept as given, so the result is also the
// path to create. An exact match always wins over a case-folded one.
std::filesystem::path resolveCaseless(const std::filesystem::path& path);

// Refuses a name that would leave its folder or that Windows file systems refuse: empty, "." or
// "..", path separators, drive colons, the characters < > " | ? *, control characters, a trailing
// dot or blank, or a device name (CON, NUL, COM1...). `what` names the value in the message.
Status checkSafeFileName(std::string_view what, std::string_view name);

} // namespace livrano
