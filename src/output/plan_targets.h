// SPDX-License-Identifier: MIT
#pragma once
// What a build writes, and where: its folders, copies, configurations and textures placed on the
// disk as it is. A name that exists in another case is written over under that spelling: on
// Windows a second spelling is the same file, which removing the old one afterwards would take
// away.

#include <filesystem>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "app/status.h"
#include "output/build_plan.h"
#include "output/plan_paths.h"
#include "output/repaint_inputs.h"

namespace livrano {

// A path the build writes, and whether it is a folder (made) or a file (written).
using WrittenPath = std::pair<std::filesystem::path, bool>;

// The places a plan writes to, each remembering the name it was asked for.
class WriteTargets {
public:
    explicit WriteTargets(PlanPaths& paths) : m_paths(paths) {}

    // Where the build writes `name` (Windows-1252) in `folder`: the entry there whatever the case
    // of its name, else the name as given.
    std::filesystem::path target(const std::filesystem::path& folder, const std::string& name);

    // A name as the painter sees it in the window (the extension as typed), whatever the spelling
    // on disk that the build writes to; the file name of a path target did not give.
    std::string shownName(const std::filesystem::path& path) const;

private:
    PlanPaths& m_paths;
    std::unordered_map<std::filesystem::path::string_type, std::string> m_asked; // written: asked for
};

// Places what the plan writes: plan.folders in the order they are made, the destinations of the
// model and flight-model copies (named `sim`), Model.cfg, every texture that is not skipped in
// the aircraft's shared texture folder `shared` or the variation's own, and the extra textures.
// Refused, naming both, when an extra texture is the file of a texture the build composes.
Status placeWrites(const RepaintInputs& repaint, const std::filesystem::path& shared, const std::string& sim,
                   WriteTargets& targets, PlanPaths& paths, BuildPlan& plan);

// Everything the plan writes, folders marked: its folders, the copies and Model.cfg,
// aircraft.cfg and its backup, the textures.
std::vector<WrittenPath> writtenPaths(const BuildPlan& plan);

} // namespace livrano
