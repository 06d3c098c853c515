// SPDX-License-Identifier: MIT
#pragma once
// Paths as a plan compares them: names found in a folder whatever their case, and two paths the
// same when they name one file on Windows, their links followed. A plan looks up thousands of
// names, so each folder is listed once and resolved once; what is cached is the disk as it was
// when first asked, which holds for one plan made under the build lock.

#include <filesystem>
#include <string>
#include <unordered_map>

#include "app/caseless_folder.h"

namespace livrano {

class PlanPaths {
public:
    // existingEntry(folder, name) (`name` Windows-1252), the folder listed on the first call only.
    std::filesystem::path entryIn(const std::filesystem::path& folder, const std::string& name);

    // What two paths that name one file on Windows have in common, their links followed: a
    // folder linked to another livery's folder is that folder, and what the build would write or
    // remove through the link is that livery's. A name in a folder is resolved again only when it
    // is a link itself.
    std::string key(const std::filesystem::path& path);

    bool same(const std::filesystem::path& a, const std::filesystem::path& b) { return key(a) == key(b); }

private:
    std::unordered_map<std::filesystem::path::string_type, CaselessFolder> m_folders;
    std::unordered_map<std::filesystem::path::string_type, std::filesystem::path>
        m_resolved; // links followed
};

} // namespace livrano
