#pragma once
// A variation's own copy of the aircraft's model (TextureAssignOnly 0): the model file copied
// into the variation's model folder under its masked name, the folder's Model.cfg, and the new
// texture names written into the copy at the byte positions the aircraft configuration lists.

#include <vector>

#include "app/application.h"
#include "app/status.h"
#include "output/file_operations.h"

namespace livrano {

// The bytes to write into the model copy for identifier `id`: each texture's masked name plus
// ".bmp" at each of its offsets (1 = the file's first byte), textures and offsets in order. No
// length and no terminating zero. Fails when a name cannot be formed or an offset is below 1.
Status modelPatches(const Application& app, std::string_view id, std::vector<FilePatch>& patches);

// Returns at once when TextureAssignOnly is 1. Otherwise shows "Renaming Textures in MDL",
// copies the data folder's BaseModelName + ".mdl" into the model folder (which must exist) under
// the masked model name, sets "normal" of section "models" in the folder's Model.cfg to that name
// (keeping the rest of an existing file), and patches the copy in place. The copy keeps the model
// file's length: a name that would end past the end of the file fails before anything is patched.
Status RenameModelTextures(Application& app, FileOperations& files = systemFileOperations());

} // namespace livrano
