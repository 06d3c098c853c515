// SPDX-License-Identifier: MIT
#include "output/aircraft_folders.h"

#include <system_error>

#include "app/text.h"

namespace livrano {

namespace fs = std::filesystem;

Status CreateAircraftFolders(Frontend& frontend, const BuildPlan& plan, FileOperations& files) {
    frontend.setStatusText("Creating Aircraft Directories");
    for (const fs::path& folder : plan.folders) {
        if (Status s = files.makeFolder(folder); !s)
            return s;
    }
    return Status::Ok();
}

Status CopyAirFile(const BuildPlan& plan, FileOperations& files) {
    if (!plan.air)
        return Status::Ok();
    return files.copyFile(plan.air->source, plan.air->destination);
}

// The replaced variation is out of aircraft.cfg already: a file or folder that will not go is
// only clutter, and the rest still goes.
void RemoveVariationFiles(const BuildPlan& plan, FileOperations& files) {
    for (const fs::path& path : plan.removals) {
        std::error_code ec;
        if (fs::is_directory(path, ec)) {
            (void)files.removeEmptyDirectory(path);
            continue;
        }
        // A hidden, system or read-only thumbnail cache would otherwise keep its folder alive.
        if (equalsNoCase(path.filename().string(), "Thumbs.db"))
            (void)files.makeDeletable(path);
        (void)files.removeFile(path);
    }
}

} // namespace livrano
