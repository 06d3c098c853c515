// SPDX-License-Identifier: MIT
#pragma once
// A variation's own copy of the aircraft's model (TextureAssignOnly 0): the model file copied
// into the variation's model folder under its masked name, the folder's Model.cfg, and the new
// texture names written into the copy at the byte positions the aircraft configuration lists.

#include "app/frontend.h"
#include "app/status.h"
#include "output/build_plan.h"
#include "output/file_operations.h"

namespace livrano {

// Returns at once without a planned model copy. Otherwise shows "Renaming Textures in MDL",
// writes the model with the new names patched in into the model folder (which must exist), then
// sets "normal" of section "models" in the folder's Model.cfg to the model's name (keeping the
// rest of an existing file). The copy keeps the model file's length: a name that would end past
// the end of the file fails before anything is written.
Status RenameModelTextures(Frontend& frontend, const BuildPlan& plan,
                           FileOperations& files = systemFileOperations());

} // namespace livrano
