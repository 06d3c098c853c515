// SPDX-License-Identifier: MIT
#pragma once
// Composes every texture of the aircraft from the loaded template, has each converted into the
// simulator's texture file and moves the finished files into the aircraft's texture folders;
// then copies the aircraft's extra textures into the variation's texture folder.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "aircraft/aircraft_spec.h"
#include "app/file_bytes.h"
#include "app/frontend.h"
#include "app/status.h"
#include "texture/bitmap_surfaces.h"
#include "texture/dxt3_block.h"
#include "texture/dxt3_encoder.h"

namespace livrano {

// One texture of a build, as the build's plan names it. Its files in TempBitmaps are name +
// "_c.bmp" (colour), name + "_a.bmp" (alpha) and name + ".bmp" (converted).
struct TextureJob {
    std::size_t index = 0;             // into AircraftSpec::Textures
    std::string name;                  // the stem; the base name shown when `skipped` is set
    std::string skipped;               // why the texture cannot be built (UTF-8); empty when it can
    std::filesystem::path destination; // where the finished texture goes
};

// One extra texture, copied as it is from the aircraft's own folder to the variation's.
struct ExtraTextureJob {
    std::string name;
    std::filesystem::path source;
    std::filesystem::path destination;
};

// Every texture of the aircraft in order, and the extra textures to copy (none when the
// aircraft copies none).
struct TextureJobs {
    std::vector<TextureJob> textures;
    std::vector<ExtraTextureJob> extras;
};

// What a build of the textures left in the aircraft folder, and what it had to leave out.
struct TextureBuildReport {
    std::vector<std::filesystem::path> written; // finished textures and copied extra textures
    std::vector<std::string> skipped;           // one sentence per texture or file left out
};

struct TextureBuildOptions {
    ColourBlockEncoder encoder = encodeColourBlock; // the colour halves of DXT3 textures
    // 0: every core, a texture's bitmaps saved and converted on other threads while the next
    // texture is composed, itself on every core (two textures in memory at most); 1: all on the
    // calling thread.
    unsigned threads = 0;
};

// The three passes over the jobs: compose and convert (progress 20..75, "Working Texture - " +
// name, the preview after each composed texture), move ("Moving New Textures", 75..80), and copy
// the extra textures ("Copying File - " + name, 80..100). Each texture's bitmaps are saved in
// TempBitmaps and the composed pictures, still in memory, are converted. A texture that fails at
// any step is skipped and the others still arrive; the report says which and why. Of two jobs
// of one name (case ignored) the later one's texture arrives. Whatever the threads, the files
// are the same byte for byte, and the texts, progress values, previews (all on the calling
// thread) and report come in the same order. The finished and extra textures are put in place
// through `steps`, each on the disk before the next step. The textures are those of `spec`,
// composed on `surfaces` from the template loaded there; TempBitmaps is in `programFolder`.
TextureBuildReport BuildTextures(const AircraftSpec& spec, BitmapSurfaces& surfaces, Frontend& frontend,
                                 const std::filesystem::path& programFolder, const TextureJobs& jobs,
                                 const TextureBuildOptions& options = {},
                                 FileSteps& steps = systemFileSteps());

// The size of the finished texture file a build writes for `texture`; 0 when its size or its
// format leaves it out.
std::uintmax_t finishedTextureSize(const TextureSpec& texture);

// Composes the colour of `texture` on WorkSurface24 and shows it in the preview. The result
// is that of the last section's copy (with no sections: whether the surface was created). Each
// section's rows are shared out over `threads` (0: one per core); the frontend is called on the
// calling thread only, and the pixels are the same whatever the number.
bool ComposeTexture24(const TextureSpec& texture, BitmapSurfaces& surfaces, Frontend& frontend,
                      unsigned threads = 1);

// Composes the alpha of `texture` on WorkSurface8 (sections copied only with AlphaLoaded), over
// `threads` as ComposeTexture24.
bool ComposeAlpha8(const TextureSpec& texture, BitmapSurfaces& surfaces, unsigned threads = 1);

// Moves the converted texture to its destination, replacing a file there, whose folder must
// exist (replaceFileBytes through `steps`); the source is deleted only after the copy.
Status MoveTexture(const std::filesystem::path& source, const std::filesystem::path& destination,
                   FileSteps& steps = systemFileSteps());

} // namespace livrano
