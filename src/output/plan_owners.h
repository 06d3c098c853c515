// SPDX-License-Identifier: MIT
#pragma once
// What is not the build's to write or remove: the folders and files of the other liveries, and
// the aircraft's own textures, flight model and extra textures. A plan lists them once and looks
// every path it writes or removes up in them.

#include <cstddef>
#include <filesystem>
#include <string>
#include <unordered_map>
#include <vector>

#include "app/status.h"
#include "output/build_plan.h"
#include "output/plan_paths.h"
#include "output/plan_targets.h"
#include "output/repaint_inputs.h"

namespace livrano {

struct Owned {
    std::filesystem::path path;
    bool folder;       // everything in it is owned too
    std::string owner; // in full, for a message's detail
    std::string brief; // the same for a short message
};

// What the aircraft owns (its textures in its shared texture folder `shared`, its flight model,
// and when the build copies extra textures, their folder `extras` and files), then what each of
// plan.entries owns: its texture folder, its flight model, and with a patched model its model
// folder and the textures its model value names in `shared`.
std::vector<Owned> ownedPaths(const RepaintInputs& repaint, const BuildPlan& plan,
                              const std::filesystem::path& shared, const std::filesystem::path& extras,
                              PlanPaths& paths);

// Every path is looked up, never compared with every owned one: an aircraft's thousands of
// textures would otherwise take minutes to plan.
class OwnerIndex {
public:
    explicit OwnerIndex(PlanPaths& paths) : m_paths(paths) {}

    // Replaces what is owned.
    void index(std::vector<Owned> owned);

    // The first owner of the path, or of the folder it is in when that folder is owned whole;
    // null when nothing owns it.
    const Owned* ownerOf(const std::filesystem::path& path, bool isFolder) const;

private:
    PlanPaths& m_paths;
    std::vector<Owned> m_owned;
    std::unordered_map<std::string, std::size_t> m_ownedAt;       // path key: first owner
    std::unordered_map<std::string, std::size_t> m_ownedFolderAt; // the same, folders owned whole
};

// Refused, naming the owner and the path as the painter typed it (targets), when the build
// would write something in `written` that is owned.
Status checkOwners(const std::vector<WrittenPath>& written, const OwnerIndex& owners,
                   const WriteTargets& targets);

} // namespace livrano
