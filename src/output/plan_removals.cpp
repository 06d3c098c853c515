// SPDX-License-Identifier: MIT
#include "output/plan_removals.h"

#include <algorithm>
#include <string>
#include <string_view>
#include <system_error>
#include <unordered_set>

#include "app/file_bytes.h"
#include "app/file_names.h"
#include "app/text.h"
#include "output/plan_targets.h"
#include "output/variation_layout.h"

namespace livrano {

namespace fs = std::filesystem;

namespace {

// The removals of one replaced livery, each checked as it is found.
class Removals {
public:
    Removals(const RepaintInputs& repaint, const OwnerIndex& owners, PlanPaths& paths, BuildPlan& plan)
        : m_repaint(repaint), m_owners(owners), m_paths(paths), m_plan(plan),
          m_id(toUpper(trim(plan.replaced->model))) {}

    // `name` in `folder`, when it is a regular file that nothing else owns.
    void file(const fs::path& folder, const std::string& name) {
        std::error_code ec;
        const fs::path path = m_paths.entryIn(folder, name);
        if (checkSafeFileName("name", name) && fs::is_regular_file(path, ec) &&
            !m_owners.ownerOf(path, false))
            m_plan.removals.push_back(path);
    }

    // The file the livery's identifier names by the mask rule, as its build named it.
    void masked(const fs::path& folder, std::string_view base, std::string_view mask, const char* ext) {
        std::string name;
        if (variationName(m_repaint, "file", base, mask, m_id, name))
            file(folder, name + ext);
    }

    // A folder of the aircraft's, after what `contents` removes in it. A folder that is a link is
    // left whole, the link and what it leads to: nothing is removed through it.
    template <typename Contents> void folder(const std::string& name, Contents contents) {
        std::error_code ec;
        const fs::path path = existingEntry(m_plan.aircraftFolder, name);
        if (checkSafeFileName("name", name) && fs::is_directory(fs::symlink_status(path, ec)) &&
            !m_owners.ownerOf(path, true)) {
            contents(path);
            m_plan.removals.push_back(path);
        }
    }

    // Every file in a texture folder that nothing else owns. A temporary file is an interrupted
    // run's, finished or removed apart.
    void filesIn(const fs::path& path) {
        std::error_code ec;
        for (fs::directory_iterator it(path, ec), end; !ec && it != end; it.increment(ec)) {
            std::error_code kind;
            if (!it->is_directory(kind) && !m_owners.ownerOf(it->path(), false) &&
                !temporaryFileTarget(it->path().filename().string()))
                m_plan.removals.push_back(it->path());
        }
    }

    // A livery with a texture folder of its own has no model value to name its flight model by;
    // the one its entry flies is its own as well, unless another livery or the aircraft flies it.
    void flownModel() {
        const std::string sim = trim(m_plan.replaced->sim);
        const fs::path flown = m_paths.entryIn(m_plan.aircraftFolder, sim + ".air");
        if (!sim.empty() && std::none_of(m_plan.removals.begin(), m_plan.removals.end(),
                                         [&](const fs::path& r) { return m_paths.same(r, flown); }))
            file(m_plan.aircraftFolder, sim + ".air");
    }

private:
    const RepaintInputs& m_repaint;
    const OwnerIndex& m_owners;
    PlanPaths& m_paths;
    BuildPlan& m_plan;
    const std::string m_id; // the livery's model value, upper case, as its identifier
};

} // namespace

// Names in the livery's model folder are rebuilt with its model value as the identifier, as such
// a livery keeps its upper-case identifier there.
void planRemovals(const RepaintInputs& repaint, const fs::path& shared, const OwnerIndex& owners,
                  PlanPaths& paths, BuildPlan& plan) {
    const AircraftSpec& spec = repaint.spec;
    const std::string oldModel = trim(plan.replaced->model);
    const std::string oldTexture = trim(plan.replaced->texture);
    bool textureInUse = false;
    bool modelInUse = false;
    for (const FltsimEntry& e : plan.entries) {
        textureInUse = textureInUse || (!oldTexture.empty() && equalsNoCase(trim(e.texture), oldTexture));
        modelInUse = modelInUse || equalsNoCase(trim(e.model), oldModel);
    }
    Removals removals(repaint, owners, paths, plan);
    if (!oldTexture.empty()) {
        if (!textureInUse)
            removals.folder("Texture." + oldTexture, [&](const fs::path& path) { removals.filesIn(path); });
    } else if (!modelInUse) {
        for (const TextureSpec& t : spec.Textures)
            removals.masked(shared, t.BaseTextureName, t.ReplaceMask, textureFileExtension(t));
    }
    if (!modelInUse && spec.TextureAssignOnly == 0) {
        removals.folder("Model." + oldModel, [&](const fs::path& path) {
            removals.file(path, "Model.cfg");
            removals.masked(path, spec.BaseModelName, spec.ReplaceMask, ".mdl");
        });
    }
    if (spec.CopyRenameAirFile != 1)
        return;
    if (!modelInUse)
        removals.masked(plan.aircraftFolder, spec.BaseAirName, spec.ReplaceAirMask, ".air");
    removals.flownModel();
}

// A removal that the build writes again (a texture, the model, a folder) stays: it is replaced in
// place. The rest goes after the build has succeeded.
void keepWrittenOver(PlanPaths& paths, BuildPlan& plan) {
    std::unordered_set<std::string> writes;
    for (const auto& [path, isFolder] : writtenPaths(plan))
        writes.insert(paths.key(path));
    std::erase_if(plan.removals, [&](const fs::path& path) { return writes.count(paths.key(path)) != 0; });
}

} // namespace livrano
