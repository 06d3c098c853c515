// SPDX-License-Identifier: MIT
#include "output/plan_targets.h"

#include <system_error>

#include "app/code_page.h"
#include "output/plan_report.h"
#include "output/variation_layout.h"

namespace livrano {

namespace fs = std::filesystem;

fs::path WriteTargets::target(const fs::path& folder, const std::string& name) {
    std::error_code ec;
    if (!fs::exists(folder, ec))
        return folder / pathFromWindows1252(name);
    fs::path found = m_paths.entryIn(folder, name);
    if (found.filename() != pathFromWindows1252(name))
        m_asked[found.native()] = name;
    return found;
}

std::string WriteTargets::shownName(const fs::path& path) const {
    const auto asked = m_asked.find(path.native());
    return asked != m_asked.end() ? utf8FromWindows1252(asked->second) : utf8FromPath(path.filename());
}

namespace {

// The extra textures are copied last: one that is a composed texture's file would silently put
// the aircraft's own file over the new texture.
Status checkExtrasNotComposed(PlanPaths& paths, const TextureJobs& jobs) {
    std::unordered_map<std::string, const TextureJob*> composed;
    for (const TextureJob& built : jobs.textures)
        if (built.skipped.empty())
            composed.emplace(paths.key(built.destination), &built);
    for (const ExtraTextureJob& job : jobs.extras) {
        if (const auto built = composed.find(paths.key(job.destination)); built != composed.end())
            return Status::Refused("An extra texture is a texture the build composes: remove " +
                                       shortQuoted(job.name) + ".",
                                   "The extra texture \"" + utf8FromWindows1252(job.name) +
                                       "\" is the texture \"" + utf8FromWindows1252(built->second->name) +
                                       "\" that the build composes; remove it from the extra textures.");
    }
    return Status::Ok();
}

} // namespace

Status placeWrites(const RepaintInputs& repaint, const fs::path& shared, const std::string& sim,
                   WriteTargets& targets, PlanPaths& paths, BuildPlan& plan) {
    const auto assignOnly = repaint.spec.TextureAssignOnly;
    const fs::path ownTextures = targets.target(plan.aircraftFolder, "Texture." + plan.extension);
    plan.folders.push_back(plan.aircraftFolder);
    if (assignOnly == 0) {
        const fs::path models = targets.target(plan.aircraftFolder, "Model." + plan.id);
        plan.folders.push_back(shared);
        plan.folders.push_back(models);
        // The extra textures go to the variation's own folder whatever the kind of aircraft.
        if (copiesExtraTextures(repaint))
            plan.folders.push_back(ownTextures);
        plan.model->destination = targets.target(models, plan.modelName + ".mdl");
        plan.modelCfg = targets.target(models, "Model.cfg");
    } else if (assignOnly == 1) {
        plan.folders.push_back(ownTextures);
    }
    if (plan.air)
        plan.air->destination = targets.target(plan.aircraftFolder, sim + ".air");
    for (TextureJob& job : plan.textures.textures) {
        if (job.skipped.empty())
            job.destination =
                targets.target(assignOnly == 0 ? shared : ownTextures,
                               job.name + textureFileExtension(repaint.spec.Textures[job.index]));
    }
    for (ExtraTextureJob& job : plan.textures.extras)
        job.destination = targets.target(ownTextures, job.name);
    return checkExtrasNotComposed(paths, plan.textures);
}

std::vector<WrittenPath> writtenPaths(const BuildPlan& plan) {
    std::vector<WrittenPath> written;
    for (const fs::path& folder : plan.folders)
        written.push_back({folder, true});
    for (const std::optional<PlannedCopy>& copy : {plan.model, plan.air})
        if (copy)
            written.push_back({copy->destination, false});
    if (plan.model)
        written.push_back({plan.modelCfg, false});
    written.push_back({plan.installedCfg, false});
    written.push_back({plan.backupCfg, false});
    for (const TextureJob& job : plan.textures.textures)
        if (job.skipped.empty())
            written.push_back({job.destination, false});
    for (const ExtraTextureJob& job : plan.textures.extras)
        written.push_back({job.destination, false});
    return written;
}

} // namespace livrano
