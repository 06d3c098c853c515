// SPDX-License-Identifier: MIT
#include "output/livery_pack.h"

#include <optional>
#include <system_error>

#include "app/code_page.h"
#include "app/file_bytes.h"
#include "app/text.h"
#include "output/fltsim_snippet.h"

namespace livrano {

namespace fs = std::filesystem;

namespace {

std::string readme(const std::string& title, const std::string& aircraft) {
    return "Livery: " + title +
           "\r\n"
           "\r\n"
           "To install it with Livrano:\r\n"
           "  livrano-cli install-livery THIS.zip --aircraft \"" +
           aircraft +
           "\"\r\n"
           "\r\n"
           "To install it by hand:\r\n"
           "  1. Copy the folders and files of this archive (all but fltsim.cfg and README.txt)\r\n"
           "     into the aircraft's folder, beside its aircraft.cfg.\r\n"
           "  2. Add the section in fltsim.cfg to the end of the aircraft's aircraft.cfg, and\r\n"
           "     change the X in its header to the number after the last fltsim section there.\r\n";
}

} // namespace

Status packLivery(const BuildPlan& plan, const std::string& aircraftName, std::vector<ZipMember>& members) {
    if (!plan.replaced)
        return Status::Refused("No livery to pack.");
    std::vector<ZipMember> packed;
    std::error_code ec;
    for (const fs::path& path : plan.removals) {
        if (fs::is_directory(path, ec) || equalsNoCase(path.filename().string(), "Thumbs.db"))
            continue;
        const std::optional<std::string> bytes = readFileBytes(path);
        if (!bytes)
            return Status::Refused("The livery's file " + path.string() + " cannot be read.");
        const std::u8string name = path.lexically_relative(plan.aircraftFolder).generic_u8string();
        packed.push_back({std::string(name.begin(), name.end()), *bytes});
    }
    packed.push_back({"fltsim.cfg", fltsimSnippet(plan.replaced->section)});
    packed.push_back({"README.txt", utf8FromWindows1252(readme(plan.replaced->title, aircraftName))});
    members = std::move(packed);
    return Status::Ok();
}

} // namespace livrano
