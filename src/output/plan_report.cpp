// SPDX-License-Identifier: MIT
#include "output/plan_report.h"

#include "app/code_page.h"

namespace livrano {

std::string shortQuoted(std::string_view windows1252) {
    return "\"" + shortName(utf8FromWindows1252(windows1252)) + "\"";
}

Status missingSource(std::string_view what, const std::filesystem::path& file) {
    const std::string_view brief = what.substr(0, what.find(" ("));
    return Status::Refused("The aircraft's " + std::string(brief) + " " +
                               shortName(utf8FromPath(file.filename())) +
                               " is missing: install the aircraft's configuration again.",
                           "The aircraft's " + std::string(what) + " " + utf8FromPath(file) +
                               " is missing or not a file; install the aircraft's configuration again.");
}

} // namespace livrano
