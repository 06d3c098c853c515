// SPDX-License-Identifier: MIT
#include "output/build_repaint.h"

#include <string>
#include <vector>

#include "aircraft/aircraft_spec_loader.h"
#include "aircraft/catalogue.h"
#include "app/file_names.h"
#include "output/aircraft_cfg.h"
#include "output/aircraft_folders.h"
#include "output/build_lock.h"
#include "output/model_textures.h"
#include "output/set_aside_files.h"

namespace livrano {

namespace {

// The step alone is short enough for a status line; the reason, with its paths, is the detail.
Status stoppedAt(const char* step, const Status& reason) {
    return Status::Error("The build stopped at \"" + std::string(step) + "\".", reason.text());
}

// The textures left out, one line per reason in a row: 32,767 empty textures are one line.
std::string leftOutLines(const std::vector<std::string>& skipped) {
    std::string lines;
    for (std::size_t i = 0; i < skipped.size();) {
        std::size_t run = 1;
        while (i + run < skipped.size() && skipped[i + run] == skipped[i])
            ++run;
        lines += (lines.empty() ? "" : "\n") + skipped[i] +
                 (run > 1 ? " (" + std::to_string(run) + " times)" : "");
        i += run;
    }
    return lines;
}

// A build that may not start says why in the status line.
Status refused(Frontend& ui, Status why) {
    ui.setStatus(why.message(), why.detail());
    return why;
}

} // namespace

Status BuildRepaint(const BuildState& state, const BuildPlan& plan, FileOperations& files,
                    TextureBuildReport* textures) {
    // A livery saved into aircraft.cfg since the plan read it would be lost, and a replaced
    // livery's files set aside under an entry that stays.
    if (Status s = checkInstalledCfgUnchanged(plan); !s)
        return refused(state.frontend, s);
    Frontend& ui = state.frontend;
    std::size_t cleared = 0;
    for (const std::filesystem::path& leftover : plan.leftovers)
        cleared += files.removeFile(leftover) ? 1 : 0;
    if (cleared > 0)
        ui.setStatusText("Removed " + std::to_string(cleared) +
                         (cleared == 1 ? " temporary file" : " temporary files") +
                         " that an interrupted build left behind");
    ui.setStatusText("Copying Files");
    ui.showProgressArea();
    SetAsideFiles replaced(files);
    if (Status s = replaced.setAside(plan); !s)
        return stoppedAt("Setting aside the replaced livery", s);
    // While aircraft.cfg lists the replaced livery, its files go back in place when a step fails.
    auto failed = [&replaced](const char* step, const Status& reason) {
        const Status back = replaced.putBack();
        return stoppedAt(
            step, back ? reason : Status::Error(reason.message() + " " + back.message(), reason.detail()));
    };

    ui.setProgress(0);
    if (Status s = CreateAircraftFolders(ui, plan, files); !s)
        return failed("Creating Aircraft Directories", s);

    ui.setProgress(1);
    if (Status s = RenameModelTextures(ui, plan, files); !s)
        return failed("Renaming Textures in MDL", s);

    ui.setProgress(2);
    if (Status s = CopyAirFile(plan, files); !s)
        return failed("Copying the flight-model file", s);

    ui.setProgress(3);
    if (Status s = WriteAircraftCfg(state.extraFields, ui, plan, files); !s)
        return failed("Writing Aircraft Configuration File", s);
    replaced.drop(plan);

    ui.setProgress(20);
    TextureBuildReport report = BuildTextures(state.spec, state.surfaces, state.frontend, state.programFolder,
                                              plan.textures, {}, files);
    const std::size_t leftOut = report.skipped.size();
    const std::string leftOutDetail = leftOutLines(report.skipped);
    if (textures != nullptr)
        *textures = std::move(report);

    ui.hideProgressArea();
    // The aircraft just built is loaded afresh, which clears the user's choices; it stays selected.
    if (Status s = loadCatalogueAircraft(state.catalogue, state.settings.AircraftIndex, state.dxt3Textures,
                                         state.spec, state.extraTextures, state.extraFields, state.settings,
                                         state.flags, ui);
        !s)
        return stoppedAt("Reloading the aircraft specification", s);
    // A build that left textures out (a full disk can leave out all of them) must not read as whole.
    ui.setStatus(leftOut == 0 ? std::string("Your Aircraft Repaint has been built")
                              : "Your Aircraft Repaint has been built, but " + std::to_string(leftOut) +
                                    (leftOut == 1 ? " texture was" : " textures were") + " left out",
                 leftOutDetail);
    ui.playSound(programLocation(state.programFolder, "\\Media\\Next.wav"));
    return Status::Ok();
}

Status CreateRepaint(const BuildState& state, FileOperations& files, TextureBuildReport* textures,
                     BuildPlan* plan) {
    BuildLock lock;
    if (Status s = lock.acquire(state); !s)
        return refused(state.frontend, s);
    BuildPlan planned;
    if (Status s = planBuild(state, state.surfaces, planned, files); !s)
        return refused(state.frontend, s);
    Status built = BuildRepaint(state, planned, files, textures);
    if (plan != nullptr)
        *plan = std::move(planned);
    return built;
}

} // namespace livrano
