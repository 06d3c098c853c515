// SPDX-License-Identifier: MIT
#include "output/livery_pack.h"

#include <optional>
#include <system_error>

#include "app/code_page.h"
#include "app/file_bytes.h"
#include "app/text.h"
#include "output/file_system_limits.h"
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

Status checkPackTarget(const fs::path& zip, std::uintmax_t bytes, FileOperations& files) {
    const char* const doer = "Packing";
    std::error_code ec;
    const fs::path target = fs::absolute(zip, ec);
    if (ec || !fs::is_directory(target.parent_path(), ec))
        return Status::Refused("There is no folder " + utf8FromPath(target.parent_path()) +
                               " to write the zip in: make it, or choose another place for the zip.");
    if (Status s = checkPathKind(target, false, doer); !s)
        return s;
    if (Status s = NameLengths().check(target, false, doer); !s)
        return s;
    return checkFreeSpace(files, target.parent_path(), bytes, doer);
}

} // namespace livrano
