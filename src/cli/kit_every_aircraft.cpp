// SPDX-License-Identifier: MIT
#include "cli/kit_every_aircraft.h"

#include "app/code_page.h"
#include "cli/exit_status.h"
#include "cli/livery_cli.h"
#include "cli/terminal_text.h"
#include "output/paint_kit.h"

namespace livrano::cli {

namespace fs = std::filesystem;

int kitEveryAircraft(const fs::path& programFolder, bool dryRun, const std::vector<std::string>& include,
                     const std::vector<std::string>& exclude) {
    const std::vector<fs::path> folders = aircraftWithoutConfiguration(programFolder);
    if (folders.empty()) {
        say(stdout, "Every aircraft of the simulator has a configuration: no kit to make.\n");
        return kDone;
    }
    say(stdout, "%s for %zu aircraft without a configuration:\n", dryRun ? "Kits to make" : "Making kits",
        folders.size());
    int worst = kDone;
    for (const fs::path& folder : folders) {
        KitRequest request;
        request.programFolder = programFolder;
        request.aircraftFolder = folder;
        request.choices.include = include;
        request.choices.exclude = exclude;
        KitPlan plan;
        const Status status = makeKit(request, dryRun, plan);
        if (status.kind() == Status::Kind::Locked)
            return failed("livrano-cli kit", status);
        if (status)
            say(stdout, "  %-10s %s as \"%s\" (%zu texture%s)\n", dryRun ? "would kit" : "kitted",
                folder.filename().string().c_str(), utf8FromWindows1252(plan.displayName).c_str(),
                plan.source.textures.size(), plan.source.textures.size() == 1 ? "" : "s");
        else
            say(stdout, "  %-10s %s: %s\n", "not kitted", folder.filename().string().c_str(),
                status.message().c_str());
        // The first refusal's status, unless a write failed: that one matters most.
        if (const int code = exitStatus(status); code != kDone && (worst == kDone || code == kFailed))
            worst = code;
    }
    return worst;
}

} // namespace livrano::cli
