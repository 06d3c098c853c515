// SPDX-License-Identifier: MIT
#pragma once
// Where one variation's files live and what they are called. Every value from the aircraft
// specification or the user's choices is trimmed first. Existing folders and files are found
// whatever the case of their names, so a name that differs only in case from one on disk always
// means that one.

#include <filesystem>
#include <string>
#include <string_view>

#include "app/status.h"
#include "output/repaint_inputs.h"

namespace livrano {

// ProgramFolder + "\..\..\Aircraft\" + AircraftDirectory.
std::filesystem::path aircraftFolderPath(const RepaintInputs& repaint);
// ProgramFolder + "\Data." + DataPath.
std::filesystem::path dataFolderPath(const RepaintInputs& repaint);
// The folder extension as the user typed it, trimmed.
std::string folderExtension(const RepaintInputs& repaint);
// VariationId: the folder extension trimmed and in upper case.
std::string variationId(const RepaintInputs& repaint);

// True when the build copies extra textures into the variation's "Texture." + extension folder.
bool copiesExtraTextures(const RepaintInputs& repaint);

// folder / name, as it exists on disk when some case of it does, else as given.
std::filesystem::path existingEntry(const std::filesystem::path& folder, std::string_view name);
// MaskedName of base, mask, NumIdentifierCharacters and id, trimmed, into `name`; fails with a
// message naming `what` when the mask has no "*" or the base name is too short for it.
Status variationName(const RepaintInputs& repaint, std::string_view what, std::string_view base,
                     std::string_view mask, std::string_view id, std::string& name);
// The variation's model file name without ".mdl" (model mask), flight-model name without ".air"
// (air mask), and the name of texture `index` without ".bmp": the base name itself when the
// aircraft gives every variation its own texture folder (TextureAssignOnly 1), the masked name
// otherwise. `index` must be below repaint.spec.Textures.size().
Status modelName(const RepaintInputs& repaint, std::string_view id, std::string& name);
Status airName(const RepaintInputs& repaint, std::string_view id, std::string& name);
Status variationTextureName(const RepaintInputs& repaint, std::size_t index, std::string_view id,
                            std::string& name);

} // namespace livrano
