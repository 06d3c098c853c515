// SPDX-License-Identifier: MIT
#include "cli/output_file.h"

#include <system_error>

namespace livrano::cli {

namespace fs = std::filesystem;

std::optional<std::string> outputRefusal(const fs::path& output, const std::vector<fs::path>& inputs,
                                         bool force) {
    const std::string quoted = "\"" + output.string() + "\"";
    std::error_code ec;
    for (const fs::path& input : inputs) {
        std::error_code missing;
        if (fs::absolute(input, ec).lexically_normal() == fs::absolute(output, ec).lexically_normal() ||
            fs::equivalent(input, output, missing))
            return quoted + " is also an input of this command; choose another output.";
    }
    if (fs::exists(fs::symlink_status(output, ec)) && !force)
        return quoted + " exists already; add --force to replace it.";
    return std::nullopt;
}

} // namespace livrano::cli
