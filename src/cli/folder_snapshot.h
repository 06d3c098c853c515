// SPDX-License-Identifier: MIT
#pragma once
// What a command changed on disk: every file and folder under some roots, with each file's size
// and time of last change, taken before and after the work and compared.

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace livrano::cli {

class FolderSnapshot {
public:
    // Records everything under each root (a missing root records nothing).
    explicit FolderSnapshot(const std::vector<std::filesystem::path>& roots);

    struct Changes {
        std::vector<std::filesystem::path> createdFolders;
        std::vector<std::filesystem::path> writtenFiles; // new, or changed in size or time
        std::vector<std::filesystem::path> removed;      // files and folders no longer there
    };
    // What differs in `after` from this snapshot, each list in path order.
    Changes changesTo(const FolderSnapshot& after) const;

private:
    struct Entry {
        bool folder = false;
        std::uintmax_t size = 0;
        std::filesystem::file_time_type time{};
    };
    std::map<std::filesystem::path, Entry> m_entries;
};

} // namespace livrano::cli
