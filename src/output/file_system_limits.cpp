// SPDX-License-Identifier: MIT
#include "output/file_system_limits.h"

#include <cctype>
#include <system_error>

#include "app/code_page.h"
#include "app/file_bytes.h"
#include "app/platform.h"

namespace livrano {

namespace fs = std::filesystem;

namespace {

// The doer in the middle of a sentence.
std::string lowered(std::string_view doer) {
    std::string text(doer);
    if (!text.empty())
        text[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(text[0])));
    return text;
}

} // namespace

Status checkPathKind(const fs::path& path, bool isFolder, std::string_view doer) {
    std::error_code ec;
    const fs::file_status status = fs::status(path, ec);
    // A link that leads nowhere is no folder, and making one there fails; a file is written
    // through its link, to whatever the link leads to.
    const bool there = fs::exists(isFolder ? fs::symlink_status(path, ec) : status);
    if (!there || (isFolder ? fs::is_directory(status) : fs::is_regular_file(status)))
        return Status::Ok();
    const std::string name = shortName(utf8FromPath(path.filename()));
    if (isFolder)
        return Status::Refused(name + " is not a folder, and " + lowered(doer) +
                                   " makes a folder of that name: move it.",
                               std::string(doer) + " would make the folder " + utf8FromPath(path) +
                                   ", but something that is not a folder has its name.");
    return Status::Refused(name + " is not a regular file, and " + lowered(doer) +
                               " would replace it: move it.",
                           std::string(doer) + " would replace " + utf8FromPath(path) +
                               ", which is not a regular file; move it out of the way.");
}

Status NameLengths::check(const fs::path& path, bool isFolder, std::string_view doer) {
    const fs::path folder = path.parent_path();
    auto [limit, added] = m_longest.try_emplace(folder, 0);
    if (added)
        limit->second = longestFileName(existingFolder(folder));
    const std::size_t length = path.filename().native().size() + (isFolder ? 0 : temporaryNameExtra());
    if (length <= limit->second)
        return Status::Ok();
    return Status::Refused(
        "The name \"" + shortName(utf8FromPath(path.filename())) +
            "\" is too long for the file system: shorten it.",
        "The name \"" + utf8FromPath(path.filename()) + "\" is too long for the file system of " +
            utf8FromPath(folder) + ": it takes names of at most " + std::to_string(limit->second) +
            " characters, and " + lowered(doer) + " needs " + std::to_string(length) + ".");
}

std::uintmax_t cfgRewriteBytes(const BuildPlan& plan, std::uintmax_t moreBytes) {
    std::error_code ec;
    std::uintmax_t installed = fs::file_size(plan.installedCfg, ec);
    if (ec)
        installed = 0;
    const std::uintmax_t original = fs::exists(plan.originalCfg, ec) ? 0 : installed;
    return installed + original + installed + plan.dataBytes.size() + moreBytes;
}

Status checkFreeSpace(FileOperations& files, const fs::path& folder, std::uintmax_t needed,
                      std::string_view doer, std::string_view note) {
    std::uintmax_t free = 0;
    // A system that cannot say lets the writing find out.
    if (!files.availableSpace(existingFolder(folder), free) || needed <= free)
        return Status::Ok();
    return Status::Refused("Too little free space for " + lowered(doer) + ": free " +
                               sizeText(needed - free) + " more on the disk.",
                           std::string(doer) + " writes up to " + sizeText(needed) + " into " +
                               utf8FromPath(folder) + ", and its disk has " + sizeText(free) + " free" +
                               std::string(note));
}

Status checkCfgRewrite(const BuildPlan& plan, FileOperations& files, std::uintmax_t moreBytes,
                       std::string_view doer) {
    for (const fs::path& file : {plan.installedCfg, plan.backupCfg}) {
        if (Status s = checkPathKind(file, false, doer); !s)
            return s;
    }
    return checkFreeSpace(files, plan.aircraftFolder, cfgRewriteBytes(plan, moreBytes), doer);
}

fs::path existingFolder(fs::path folder) {
    std::error_code ec;
    while (folder.has_relative_path() && !fs::is_directory(folder, ec))
        folder = folder.parent_path();
    return folder;
}

std::string sizeText(std::uintmax_t bytes) {
    constexpr std::uintmax_t kKilo = 1024;
    if (bytes < kKilo * kKilo)
        return std::to_string((bytes + kKilo - 1) / kKilo) + " KB";
    const std::uintmax_t tenths = (bytes * 10 + kKilo * kKilo - 1) / (kKilo * kKilo);
    return std::to_string(tenths / 10) + "." + std::to_string(tenths % 10) + " MB";
}

} // namespace livrano
