// SPDX-License-Identifier: MIT
#pragma once
// The rule every command follows before it writes a file the user named: an existing file is
// replaced only when asked (--force), and never one the same command reads.

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace livrano::cli {

// Why `output` must not be written, as a message for the user; nullopt when it may be. Refused:
// an output that is one of `inputs` (by any name or link, or spelt the same), and an existing
// output when `force` is false.
std::optional<std::string> outputRefusal(const std::filesystem::path& output,
                                         const std::vector<std::filesystem::path>& inputs, bool force);

} // namespace livrano::cli
