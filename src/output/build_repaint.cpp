// SPDX-License-Identifier: MIT
#include "output/build_repaint.h"

#include <string>
#include <vector>

#include "aircraft/aircraft_spec_loader.h"
#include "aircraft/catalogue.h"
#include "app/checksum.h"
#include "app/file_names.h"
#include "output/aircraft_cfg.h"
#include "output/aircraft_folders.h"
#include "output/build_lock.h"
#include "output/interrupted_work.h"
#include "output/model_textures.h"
#include "output/variation_layout.h"
#include "output/work_journal.h"

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

// What the build adds (the folders and files that are not there yet), what it removes once
// aircraft.cfg names the new livery, and the aircraft.cfg it replaces.
WorkJournal journalOf(const BuildPlan& plan) {
    WorkJournal journal;
    std::error_code ec;
    auto note = [&](const std::filesystem::path& path) {
        if (!path.empty() && !std::filesystem::exists(std::filesystem::symlink_status(path, ec)))
            journal.added.push_back(path);
    };
    for (const std::filesystem::path& folder : plan.folders)
        note(folder);
    for (const std::optional<PlannedCopy>& copy : {plan.model, plan.air})
        if (copy)
            note(copy->destination);
    if (plan.model)
        note(plan.modelCfg);
    for (const TextureJob& job : plan.textures.textures)
        if (job.skipped.empty())
            note(job.destination);
    for (const ExtraTextureJob& job : plan.textures.extras)
        note(job.destination);
    journal.removals = plan.removals;
    journal.cfgBefore = plan.installedStamp.hash;
    return journal;
}

} // namespace

Status BuildRepaint(const BuildState& state, const BuildPlan& plan, FileOperations& files,
                    TextureBuildReport* textures) {
    // A livery saved into aircraft.cfg since the plan read it would be lost, and the files of a
    // replaced livery removed under an entry that stays.
    if (Status s = checkInstalledCfgUnchanged(plan); !s)
        return refused(state.frontend, s);
    Frontend& ui = state.frontend;
    ui.setStatusText("Copying Files");
    ui.showProgressArea();
    // The journal is on the disk before the first file: a build killed at any point is finished
    // or taken away by the next command. Until aircraft.cfg names the new livery (a replacement
    // failing after its rename counts), a failing step takes away what the build added; what it
    // replaced in place is whole, old or new, and aircraft.cfg still names it.
    WorkJournal journal = journalOf(plan);
    Status journalled = files.makeFolder(plan.aircraftFolder);
    if (journalled)
        journalled = writeJournal(plan.aircraftFolder, journal, files);
    if (!journalled) {
        (void)undoWork(plan.aircraftFolder, journal, files); // at most the empty aircraft folder
        return stoppedAt("Copying Files", journalled);
    }
    auto failed = [&](const char* step, const Status& reason) {
        const Status undone = settleWork(plan.aircraftFolder, journal, files);
        return stoppedAt(step, undone ? reason
                                      : Status::Error(reason.message() + " " + undone.message(),
                                                      reason.detail() + "\n" + undone.detail()));
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

    // The new aircraft.cfg is composed here, in its place among the steps, but put in place only
    // once the textures are: a build stopped in the texture pass leaves aircraft.cfg naming
    // the old livery, whose files are each the old one or its whole replacement.
    const char* const cfgStep = "Writing Aircraft Configuration File";
    ui.setProgress(3);
    std::string cfgBytes;
    if (Status s = ComposeAircraftCfg(state.extraFields, ui, plan, cfgBytes, files); !s)
        return failed(cfgStep, s);
    journal.cfgHash = sha256Hex(cfgBytes);
    if (Status s = writeJournal(plan.aircraftFolder, journal, files); !s)
        return failed(cfgStep, s);

    ui.setProgress(20);
    TextureBuildReport report = BuildTextures(state.spec, state.surfaces, state.frontend, state.programFolder,
                                              plan.textures, {}, files);
    if (Status s = CommitAircraftCfg(plan, cfgBytes, files); !s) {
        ui.setStatusText(cfgStep);
        return failed(cfgStep, s);
    }
    // aircraft.cfg names the new livery: what only the old one used can go. What cannot stays in
    // the journal, for the next command to try again: the livery is built all the same.
    (void)completeWork(plan.aircraftFolder, journal, files);
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
    const RepaintInputs repaint = state.repaintInputs();
    BuildLock lock;
    if (Status s = lock.acquire(repaint); !s)
        return refused(state.frontend, s);
    // What a killed build, removal or install left is finished or taken away first: the plan
    // must not take it for a livery's files.
    const InterruptedWork interrupted = findInterruptedWork(aircraftFolderPath(repaint), state.programFolder);
    if (!interrupted.empty()) {
        const Status finished = finishInterruptedWork(interrupted, files);
        state.frontend.setStatus(interrupted.summary(true), finished ? std::string() : finished.text());
    }
    BuildPlan planned;
    if (Status s = planBuild(repaint, state.surfaces, planned, files); !s)
        return refused(state.frontend, s);
    Status built = BuildRepaint(state, planned, files, textures);
    if (plan != nullptr)
        *plan = std::move(planned);
    return built;
}

} // namespace livrano
