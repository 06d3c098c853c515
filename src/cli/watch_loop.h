// SPDX-License-Identifier: MIT
#pragma once
// build --watch: the painter saves, the textures follow.

#include <filesystem>

#include "app/frontend.h"
#include "output/build_plan.h"
#include "output/repaint_inputs.h"
#include "output/texture_rebuild.h"
#include "texture/bitmap_surfaces.h"

namespace livrano::cli {

// Watches the template and, when the aircraft uses one, its alpha companion; after each
// completed save (unchanged for `settleMs`) rebuilds the plan's textures through `surfaces`
// and prints one line with the time. Returns 0 on Ctrl-C, 2 when the livery is no longer
// installed as built.
int watchTemplate(const RepaintInputs& repaint, BitmapSurfaces& surfaces, Frontend& frontend,
                  const BuildPlan& plan, const std::filesystem::path& templateFile, const PictureShape& shape,
                  int settleMs);

} // namespace livrano::cli
