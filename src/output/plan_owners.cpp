// SPDX-License-Identifier: MIT
#include "output/plan_owners.h"

#include <algorithm>

#include "app/code_page.h"
#include "app/text.h"
#include "output/plan_report.h"
#include "output/variation_layout.h"

namespace livrano {

namespace fs = std::filesystem;

namespace {

void addAircraftOwn(const RepaintInputs& repaint, const BuildPlan& plan, const fs::path& shared,
                    const fs::path& extras, PlanPaths& paths, std::vector<Owned>& owned) {
    const std::string aircraftOwn = "the aircraft's own textures";
    for (const TextureSpec& t : repaint.spec.Textures)
        owned.push_back({paths.entryIn(shared, trim(t.BaseTextureName) + textureFileExtension(t)), false,
                         aircraftOwn, aircraftOwn});
    const std::string flightModel = "the aircraft's own flight model";
    owned.push_back({existingEntry(plan.aircraftFolder, trim(repaint.spec.BaseAirName) + ".air"), false,
                     flightModel, flightModel});
    if (repaint.extraTextures.CopyExtraTextures != 1)
        return;
    const std::string brief = "the aircraft's own extra textures";
    const std::string inFull = brief + " (BaseTextureFolder)";
    if (!paths.same(extras, shared))
        owned.push_back({extras, true, inFull, brief});
    for (const ExtraTextureJob& job : plan.textures.extras)
        owned.push_back({job.source, false, inFull, brief});
}

void addLivery(const RepaintInputs& repaint, const FltsimEntry& e, const fs::path& aircraftFolder,
               const fs::path& shared, PlanPaths& paths, std::vector<Owned>& owned) {
    const std::string owner = "the livery \"" + utf8FromWindows1252(e.title) + "\"";
    const std::string brief = shortQuoted(e.title);
    if (!trim(e.texture).empty())
        owned.push_back({existingEntry(aircraftFolder, "Texture." + trim(e.texture)), true, owner, brief});
    if (!trim(e.sim).empty())
        owned.push_back({existingEntry(aircraftFolder, trim(e.sim) + ".air"), false, owner, brief});
    if (repaint.spec.TextureAssignOnly != 0 || trim(e.model).empty())
        return;
    owned.push_back({existingEntry(aircraftFolder, "Model." + trim(e.model)), true, owner, brief});
    for (const TextureSpec& t : repaint.spec.Textures) {
        std::string name;
        if (variationName(repaint, "texture", t.BaseTextureName, t.ReplaceMask, toUpper(trim(e.model)), name))
            owned.push_back({paths.entryIn(shared, name + textureFileExtension(t)), false, owner, brief});
    }
}

} // namespace

std::vector<Owned> ownedPaths(const RepaintInputs& repaint, const BuildPlan& plan, const fs::path& shared,
                              const fs::path& extras, PlanPaths& paths) {
    std::vector<Owned> owned;
    addAircraftOwn(repaint, plan, shared, extras, paths, owned);
    for (const FltsimEntry& e : plan.entries)
        addLivery(repaint, e, plan.aircraftFolder, shared, paths, owned);
    return owned;
}

void OwnerIndex::index(std::vector<Owned> owned) {
    m_owned = std::move(owned);
    m_ownedAt.clear();
    m_ownedFolderAt.clear();
    for (std::size_t i = 0; i < m_owned.size(); ++i) {
        const std::string key = m_paths.key(m_owned[i].path);
        m_ownedAt.emplace(key, i);
        if (m_owned[i].folder)
            m_ownedFolderAt.emplace(key, i);
    }
}

const Owned* OwnerIndex::ownerOf(const fs::path& path, bool isFolder) const {
    std::size_t first = m_owned.size();
    if (const auto at = m_ownedAt.find(m_paths.key(path)); at != m_ownedAt.end())
        first = at->second;
    if (!isFolder) {
        if (const auto at = m_ownedFolderAt.find(m_paths.key(path.parent_path()));
            at != m_ownedFolderAt.end())
            first = std::min(first, at->second);
    }
    return first < m_owned.size() ? &m_owned[first] : nullptr;
}

Status checkOwners(const std::vector<WrittenPath>& written, const OwnerIndex& owners,
                   const WriteTargets& targets) {
    for (const auto& [path, isFolder] : written) {
        if (const Owned* o = owners.ownerOf(path, isFolder)) {
            const std::string shown = targets.shownName(path);
            const std::string spelled = utf8FromPath(path.filename());
            return Status::Refused(
                shortName(shown) + " belongs to " + o->brief + ": choose another extension.",
                "The build would write " + utf8FromPath(path) + (shown == spelled ? "" : " (" + shown + ")") +
                    ", which belongs to " + o->owner + ".");
        }
    }
    return Status::Ok();
}

} // namespace livrano
