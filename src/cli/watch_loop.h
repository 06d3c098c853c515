// SPDX-License-Identifier: MIT
#pragma once
// build --watch: the painter saves, the textures follow.

#include <filesystem>

#include "output/application.h"
#include "output/build_plan.h"
#include "output/texture_rebuild.h"

namespace livrano::cli {

// Watches the template and, when the aircraft uses one, its alpha companion; after each
// completed save (unchanged for `settleMs`) rebuilds the plan's textures and prints one line
// with the time. Returns 0 on Ctrl-C, 2 when the livery is no longer installed as built.
int watchTemplate(Application& app, const BuildPlan& plan, const std::filesystem::path& templateFile,
                  const PictureShape& shape, int settleMs);

} // namespace livrano::cli
