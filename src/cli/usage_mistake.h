// SPDX-License-Identifier: MIT
#pragma once
// The word of a command line that CLI11 does not know. CLI11 reports a misspelt option only once
// every required option is there and a misspelt tool as "A subcommand is required", so the
// painter hears about what is missing instead of about what was mistyped; this names the word.

#include <optional>
#include <string>

#include <CLI/CLI.hpp>

namespace livrano::cli {

// The number of single-character insertions, removals and replacements from `a` to `b`.
std::size_t editDistance(const std::string& a, const std::string& b);

// The first option or command on the command line that `app` and the commands it leads to do not
// know, as one sentence with the nearest known one when there is one close enough ("Unknown
// option --aircrat; did you mean --aircraft?"); nullopt when every word is known.
std::optional<std::string> unknownWord(const CLI::App& app, int argc, const char* const* argv);

} // namespace livrano::cli
