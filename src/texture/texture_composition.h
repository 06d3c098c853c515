#pragma once
// Composes every texture of the aircraft from the loaded template, has each converted into the
// simulator's texture file and moves the finished files into the aircraft's texture folders;
// then copies the aircraft's extra textures into the variation's texture folder.

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "app/application.h"
#include "app/status.h"

namespace livrano {

// What a build of the textures left in the aircraft folder, and what it had to leave out.
struct TextureBuildReport {
    std::vector<std::filesystem::path> written; // finished textures and copied extra textures
    std::vector<std::string> skipped;           // one sentence per texture or file left out
};

// The three passes: compose and convert (progress 20..75, "Working Texture - " + name, the
// preview after each composed texture), move ("Moving New Textures", 75..80), and, when the
// aircraft copies extra textures, copy them ("Copying File - " + name, 80..100). A texture that
// fails at any step is skipped and the others still arrive; the report says which and why.
// With `overlap`, a texture's conversion runs on its own thread while the next texture is
// composed; the files, texts, progress values and report are those of a build without it. Off
// by default: the encoding already keeps every core busy, and on a two-core machine the overlap
// measured slower (make bench compares the two, docs/performance.md).
TextureBuildReport BuildTextures(Application& app, bool overlap = false);

// The stem of every file of texture `index`: with TextureAssignOnly 1 its base name, with 0 the
// base name masked with the variation's identifier. nullopt (and the reason in `why`) when it
// cannot be derived.
std::optional<std::string> textureName(const Application& app, std::size_t index, std::string* why = nullptr);

// Composes the colour of texture `index` on WorkSurface24 and shows it in the preview. The result
// is that of the last section's copy (with no sections: whether the surface was created).
bool ComposeTexture24(Application& app, std::size_t index);

// Composes the alpha of texture `index` on WorkSurface8 (sections copied only with AlphaLoaded).
bool ComposeAlpha8(Application& app, std::size_t index);

// Moves TempBitmaps\name.bmp into the aircraft's shared texture folder (TextureAssignOnly 0) or
// the variation's own (1), replacing a file there; the source is deleted only after the copy.
Status MoveTexture(const Application& app, const std::string& name, std::filesystem::path* written = nullptr);

} // namespace livrano
