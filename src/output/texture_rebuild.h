// SPDX-License-Identifier: MIT
#pragma once
// The painter's loop: after a build, each completed save of the template rebuilds the livery's
// textures alone (its entry, folders and model stay as built). Each rebuild takes the build lock
// for itself only, so other builds and commands may run between saves.

#include <string>

#include "app/frontend.h"
#include "output/build_plan.h"
#include "output/file_operations.h"
#include "output/repaint_inputs.h"
#include "texture/texture_composition.h"

namespace livrano {

// What the pictures looked like when they were last built from.
struct PictureShape {
    int width = 0;
    int height = 0;
    bool alpha = false; // the alpha companion was loaded
    int alphaWidth = 0;
    int alphaHeight = 0;
};

// The shape of the template surfaces as they are loaded now.
PictureShape loadedPictureShape(const BitmapSurfaces& surfaces);

struct TextureRebuild {
    enum class Outcome {
        Rebuilt,    // `report` says what was written and left out
        Unreadable, // the pictures cannot be used as they are now; the last good textures stay
        Busy,       // another build holds the lock; nothing was done
        LiveryGone, // aircraft.cfg no longer lists the livery as it was built
    };
    Outcome outcome = Outcome::Rebuilt;
    std::string message; // why, for every outcome but Rebuilt
    TextureBuildReport report;
};

// Under the build lock: checks that the installed aircraft.cfg still lists the plan's livery
// with the texture and model values it was built with, loads the template (and its companion)
// again, refuses pictures that cannot be read or whose shape differs from `shape` (a save still
// being written), and rebuilds the plan's textures, each replacing the old one whole. Extra
// textures are not copied again. The template is loaded into `surfaces`. What an interrupted run
// left is finished first, and the textures put in place, through `files`.
TextureRebuild RebuildTextures(const RepaintInputs& repaint, BitmapSurfaces& surfaces, Frontend& frontend,
                               const BuildPlan& plan, const std::string& templatePath,
                               const PictureShape& shape, FileOperations& files = systemFileOperations());

} // namespace livrano
