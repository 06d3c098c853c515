#pragma once
// The files of the livery a build replaces, kept until the build no longer needs them: moved
// aside into a folder of the program's own inside the aircraft folder before the build writes
// anything, put back when the build fails while aircraft.cfg still lists the old livery, and
// deleted once aircraft.cfg names the new one. A failed build thus leaves the old livery whole.

#include <filesystem>
#include <utility>
#include <vector>

#include "app/status.h"
#include "output/build_plan.h"
#include "output/file_operations.h"

namespace livrano {

class SetAsideFiles {
public:
    explicit SetAsideFiles(FileOperations& files) : m_files(files) {}

    // Moves each file among the plan's removals into plan.asideFolder, at its place relative to
    // the aircraft folder. Fails, with every file back in its place, when one cannot be moved.
    Status setAside(const BuildPlan& plan);
    // Moves the files back, over what the build wrote in their place, and removes the aside
    // folder. Fails, naming the folder where the files that could not go back wait, when one cannot.
    Status putBack();
    // Deletes the files set aside and the aside folder, then each of the plan's removal folders
    // that is empty. Every failure is passed over.
    void drop(const BuildPlan& plan);

private:
    // Makes `folder` and each missing one above it, up to the aside folder.
    Status makeFolders(const std::filesystem::path& folder);
    void removeFolders();

    FileOperations& m_files;
    std::filesystem::path m_aside;
    std::vector<std::pair<std::filesystem::path, std::filesystem::path>> m_moved; // from, to
    std::vector<std::filesystem::path> m_folders; // made in the aside folder, parents first
};

} // namespace livrano
