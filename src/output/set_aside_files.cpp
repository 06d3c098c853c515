#include "output/set_aside_files.h"

#include <system_error>

#include "app/code_page.h"
#include "app/text.h"

namespace livrano {

namespace fs = std::filesystem;

Status SetAsideFiles::setAside(const BuildPlan& plan) {
    m_aside = plan.asideFolder;
    for (const fs::path& path : plan.removals) {
        std::error_code ec;
        if (fs::is_directory(path, ec))
            continue;
        const fs::path relative = path.lexically_relative(plan.aircraftFolder);
        const fs::path to =
            m_aside / (relative.empty() || *relative.begin() == ".." ? path.filename() : relative);
        Status moved = makeFolders(to.parent_path());
        if (moved)
            moved = m_files.moveFile(path, to);
        if (!moved) {
            const Status back = putBack();
            return Status::Error(moved.message() + (back ? "" : " " + back.message()));
        }
        m_moved.emplace_back(path, to);
    }
    return Status::Ok();
}

Status SetAsideFiles::makeFolders(const fs::path& folder) {
    std::error_code ec;
    if (fs::is_directory(folder, ec))
        return Status::Ok();
    if (folder != m_aside && folder.has_relative_path()) {
        if (Status s = makeFolders(folder.parent_path()); !s)
            return s;
    }
    if (Status s = m_files.createDirectory(folder); !s)
        return s;
    m_folders.push_back(folder);
    return Status::Ok();
}

Status SetAsideFiles::putBack() {
    std::size_t left = 0;
    for (auto it = m_moved.rbegin(); it != m_moved.rend(); ++it) {
        if (!m_files.moveFile(it->second, it->first))
            ++left;
    }
    m_moved.clear();
    removeFolders();
    if (left == 0)
        return Status::Ok();
    return Status::Error(std::to_string(left) +
                         " of the replaced livery's files could not be put back; they are in " +
                         utf8FromPath(m_aside) + ".");
}

void SetAsideFiles::drop(const BuildPlan& plan) {
    // aircraft.cfg names the new livery: what will not go is clutter, never a broken livery.
    for (const auto& [from, to] : m_moved) {
        // A hidden, system or read-only thumbnail cache would otherwise keep its folder alive.
        if (equalsNoCase(to.filename().string(), "Thumbs.db"))
            (void)m_files.makeDeletable(to);
        (void)m_files.removeFile(to);
    }
    m_moved.clear();
    removeFolders();
    for (const fs::path& path : plan.removals) {
        std::error_code ec;
        if (fs::is_directory(path, ec))
            (void)m_files.removeEmptyDirectory(path);
    }
}

void SetAsideFiles::removeFolders() {
    // A folder that will not go still holds a file that could not be moved back or deleted.
    for (auto it = m_folders.rbegin(); it != m_folders.rend(); ++it)
        (void)m_files.removeEmptyDirectory(*it);
    m_folders.clear();
}

} // namespace livrano
