// SPDX-License-Identifier: MIT
#include "cli/folder_snapshot.h"

#include <system_error>

namespace livrano::cli {

namespace fs = std::filesystem;

FolderSnapshot::FolderSnapshot(const std::vector<fs::path>& roots) {
    for (const fs::path& root : roots) {
        std::error_code ec;
        for (fs::recursive_directory_iterator it(root, ec), end; !ec && it != end; it.increment(ec)) {
            std::error_code statEc;
            Entry e;
            e.folder = it->is_directory(statEc);
            if (!e.folder) {
                e.size = it->file_size(statEc);
                e.time = it->last_write_time(statEc);
            }
            m_entries[it->path()] = e;
        }
    }
}

FolderSnapshot::Changes FolderSnapshot::changesTo(const FolderSnapshot& after) const {
    Changes changes;
    for (const auto& [path, now] : after.m_entries) {
        const auto before = m_entries.find(path);
        const bool isNew = before == m_entries.end() || before->second.folder != now.folder;
        if (now.folder) {
            if (isNew)
                changes.createdFolders.push_back(path);
        } else if (isNew || before->second.size != now.size || before->second.time != now.time) {
            changes.writtenFiles.push_back(path);
        }
    }
    for (const auto& [path, entry] : m_entries) {
        if (after.m_entries.count(path) == 0)
            changes.removed.push_back(path);
    }
    return changes;
}

} // namespace livrano::cli
