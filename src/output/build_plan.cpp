// SPDX-License-Identifier: MIT
#include "output/build_plan.h"

#include <utility>

#include "app/text.h"
#include "output/aircraft_cfg.h"
#include "output/file_system_limits.h"
#include "output/plan_configurations.h"
#include "output/plan_limits.h"
#include "output/plan_names.h"
#include "output/plan_owners.h"
#include "output/plan_paths.h"
#include "output/plan_removals.h"
#include "output/plan_targets.h"
#include "output/variation_layout.h"

namespace livrano {

namespace fs = std::filesystem;

namespace {

// Runs the parts of a plan in order and holds what they hand on to each other: the folders found
// on the way, the new flight model's name, the paths looked up, where the build writes, and who
// owns what. Each part decides one thing: the names (plan_names), the aircraft.cfg entries
// (plan_configurations), who owns a path (plan_owners), what goes (plan_removals), what is
// written where (plan_targets), what the file system allows (plan_limits).
class Planner {
public:
    Planner(const RepaintInputs& repaint, BuildPlan& plan, FileOperations& files)
        : m_repaint(repaint), m_spec(repaint.spec), m_plan(plan), m_files(files) {}

    Status plan() {
        for (auto step : {&Planner::folders, &Planner::variationId, &Planner::model, &Planner::air,
                          &Planner::textures, &Planner::extras, &Planner::fields, &Planner::aircraftCfg,
                          &Planner::targets, &Planner::owners, &Planner::writable, &Planner::room})
            if (Status s = (this->*step)(); !s)
                return s;
        return Status::Ok();
    }

    // The aircraft's folders and configurations as they are, for work on its liveries.
    Status configurations() {
        for (auto step : {&Planner::folders, &Planner::extras, &Planner::fields, &Planner::readCfgs})
            if (Status s = (this->*step)(); !s)
                return s;
        return Status::Ok();
    }

    // One installed livery and the files that go with it. `protectAll` keeps every other
    // livery's files (taking the livery out); otherwise only the aircraft's own liveries' are
    // kept (the files a livery brings along when it is shared).
    Status livery(std::string_view title, bool protectAll) {
        BuildPlan& p = m_plan;
        if (Status s = configurations(); !s)
            return s;
        if (protectAll) {
            if (Status s = checkInstalledCfgWritable(p.installedCfg); !s)
                return s;
        }
        p.writesEntry = false;
        std::vector<FltsimEntry> own;
        if (Status s = takeLivery(m_repaint, title, p, own); !s)
            return s;
        numberEntries(p);
        std::vector<FltsimEntry> kept = std::move(p.entries);
        p.entries = protectAll ? kept : own;
        indexOwned();
        planRemovals(m_repaint, m_shared, m_owners, m_paths, p);
        p.entries = std::move(kept);
        return Status::Ok();
    }

private:
    // The aircraft's folder, its data folder and its shared texture folder.
    Status folders() {
        if (Status s = planFolders(m_repaint, m_plan); !s)
            return s;
        m_shared = existingEntry(m_plan.aircraftFolder, "Texture");
        return Status::Ok();
    }

    Status variationId() { return planVariationId(m_repaint, m_plan); }
    Status model() { return planModel(m_repaint, m_plan); }
    Status air() { return planAir(m_repaint, m_plan, m_sim); }
    Status textures() { return planTextures(m_repaint, m_plan); }
    Status extras() { return planExtras(m_repaint, m_shared, m_paths, m_plan, m_extrasFolder); }
    Status fields() { return checkExtraFields(m_repaint); }
    Status readCfgs() { return readConfigurations(m_repaint, m_plan); }

    // The new entry among the installed ones, and what the livery it replaces leaves.
    Status aircraftCfg() {
        if (Status s = readConfigurations(m_repaint, m_plan); !s)
            return s;
        if (m_spec.CopyRenameAirFile == 0)
            m_sim = trim(m_spec.BaseAirName);
        if (Status s = planEntry(m_repaint, m_sim, m_plan); !s)
            return s;
        numberEntries(m_plan);
        indexOwned();
        if (m_plan.replaced)
            planRemovals(m_repaint, m_shared, m_owners, m_paths, m_plan);
        return Status::Ok();
    }

    // The places of what the build writes; what it writes over is no longer among the removals.
    Status targets() {
        if (Status s = placeWrites(m_repaint, m_shared, m_sim, m_targets, m_paths, m_plan); !s)
            return s;
        keepWrittenOver(m_paths, m_plan);
        return Status::Ok();
    }

    // The owners of what the build may not write or remove, for the plan's entries as they stand.
    void indexOwned() { m_owners.index(ownedPaths(m_repaint, m_plan, m_shared, m_extrasFolder, m_paths)); }

    // Nothing the build writes may be another livery's or the aircraft's own.
    Status owners() { return checkOwners(writtenPaths(m_plan), m_owners, m_targets); }
    Status writable() { return checkWritable(writtenPaths(m_plan)); }
    Status room() { return checkRoom(m_plan, m_spec, m_files); }

    const RepaintInputs m_repaint;
    const AircraftSpec& m_spec;
    BuildPlan& m_plan;
    FileOperations& m_files; // asked only how much space is free
    fs::path m_shared;       // "Texture"
    fs::path m_extrasFolder; // where the extra textures come from
    std::string m_sim;       // the new entry's flight model
    PlanPaths m_paths;
    WriteTargets m_targets{m_paths};
    OwnerIndex m_owners{m_paths};
};

// The plan is handed over only when the whole of it holds: a refused plan leaves the caller's as it was.
template <typename Step>
Status planWith(const RepaintInputs& repaint, BuildPlan& plan, Step step,
                FileOperations& files = systemFileOperations()) {
    BuildPlan planned;
    Planner planner(repaint, planned, files);
    if (Status s = step(planner); !s)
        return s;
    plan = std::move(planned);
    return Status::Ok();
}

} // namespace

Status planConfigurations(const RepaintInputs& repaint, BuildPlan& plan) {
    return planWith(repaint, plan, [](Planner& planner) { return planner.configurations(); });
}

Status planLiveryRemoval(const RepaintInputs& repaint, std::string_view title, BuildPlan& plan,
                         FileOperations& files) {
    BuildPlan planned;
    if (Status s =
            planWith(repaint, planned, [title](Planner& planner) { return planner.livery(title, true); });
        !s)
        return s;
    // The entry goes first, and its rewrite must not stop midway.
    if (Status s = checkCfgRewrite(planned, files, 0, "Taking the livery out"); !s)
        return s;
    plan = std::move(planned);
    return Status::Ok();
}

Status planLiveryFiles(const RepaintInputs& repaint, std::string_view title, BuildPlan& plan) {
    return planWith(repaint, plan, [title](Planner& planner) { return planner.livery(title, false); });
}

Status planBuild(const RepaintInputs& repaint, const BitmapSurfaces& surfaces, BuildPlan& plan,
                 FileOperations& files) {
    // Every texture is cut from the template: without one the build would install a livery
    // with none of them.
    if (!surfaces.TemplateSurface24.Ready)
        return Status::Refused("No template is loaded: choose a template that reads as a BMP file.");
    return planWith(
        repaint, plan, [](Planner& planner) { return planner.plan(); }, files);
}

} // namespace livrano
