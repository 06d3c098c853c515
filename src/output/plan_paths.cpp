// SPDX-License-Identifier: MIT
#include "output/plan_paths.h"

#include <system_error>

#include "app/text.h"

namespace livrano {

namespace fs = std::filesystem;

fs::path PlanPaths::entryIn(const fs::path& folder, const std::string& name) {
    auto listed = m_folders.find(folder.native());
    if (listed == m_folders.end())
        listed = m_folders.emplace(folder.native(), CaselessFolder(folder)).first;
    return listed->second.find(name);
}

std::string PlanPaths::key(const fs::path& path) {
    std::error_code ec;
    const fs::path parent = path.parent_path();
    auto [at, added] = m_resolved.try_emplace(parent.native());
    if (added) {
        at->second = fs::weakly_canonical(parent, ec);
        if (ec)
            at->second = parent;
    }
    fs::path resolved = at->second / path.filename();
    if (fs::is_symlink(fs::symlink_status(resolved, ec))) {
        fs::path target = fs::weakly_canonical(resolved, ec);
        if (!ec)
            resolved = std::move(target);
    }
    return toUpper(resolved.lexically_normal().generic_string());
}

} // namespace livrano
