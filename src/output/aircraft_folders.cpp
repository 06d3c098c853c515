// SPDX-License-Identifier: MIT
#include "output/aircraft_folders.h"

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

} // namespace livrano
