// SPDX-License-Identifier: MIT
#include "output/paint_kit.h"

#include <algorithm>
#include <system_error>

#include "app/code_page.h"
#include "app/file_names.h"
#include "app/text.h"
#include "output/build_lock.h"
#include "output/kit_files.h"

namespace livrano {

namespace fs = std::filesystem;

Status makeKit(const KitRequest& request, bool dryRun, KitPlan& plan, FileOperations& operations) {
    BuildLock lock;
    if (!dryRun)
        if (Status s = lock.acquireProgramFolder(request.programFolder); !s)
            return s;
    if (Status s = planKit(request, installedConfigurations(request.programFolder), plan); !s)
        return s;
    if (dryRun)
        return Status::Ok();
    KitFiles files;
    if (Status s = composeKitFiles(plan, files); !s)
        return s;
    return writeKitFiles(plan, files, operations);
}

std::vector<fs::path> aircraftWithoutConfiguration(const fs::path& programFolder) {
    std::vector<std::string> described;
    for (const InstalledConfiguration& c : installedConfigurations(programFolder))
        described.push_back(toUpper(trim(c.aircraftDirectory)));
    std::vector<fs::path> folders;
    std::error_code ec;
    for (const fs::directory_entry& e : fs::directory_iterator(simulatorAircraftFolder(programFolder), ec)) {
        std::error_code typeEc;
        if (!e.is_directory(typeEc) ||
            !fs::is_regular_file(resolveCaseless(e.path() / "aircraft.cfg"), typeEc))
            continue;
        const std::optional<std::string> name = windows1252FromPath(e.path().filename());
        if (name && std::find(described.begin(), described.end(), toUpper(*name)) == described.end())
            folders.push_back(e.path());
    }
    std::sort(folders.begin(), folders.end(), [](const fs::path& a, const fs::path& b) {
        return toUpper(a.filename().string()) < toUpper(b.filename().string());
    });
    return folders;
}

} // namespace livrano
