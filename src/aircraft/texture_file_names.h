// SPDX-License-Identifier: MIT
#pragma once
// Every texture a build makes leaves three files in TempBitmaps: name + "_c.bmp" (its colour),
// name + "_a.bmp" (its alpha) and name + ".bmp" (the converted texture). Where two textures'
// files meet, the later one's overwrites the earlier one's; the build and config show judge the
// meetings by this one rule.

#include <cstddef>
#include <string>
#include <vector>

namespace livrano {

struct TextureFileClash {
    std::size_t earlier = 0; // index into the names
    std::size_t later = 0;
    bool sameName = false; // two textures of one name: the later one's texture is installed
    std::string message;   // one sentence naming both textures and the file
};

// The meetings among the textures' files, names compared without regard to case, in time
// linear in the names. A file of another kind ("WING_c" converted is "WING"'s colour) would
// install a plain bitmap as a texture; a name given again is reported once, against the first
// texture of that name, with sameName set, and so is a file it meets: against the first texture
// of the name that file belongs to.
std::vector<TextureFileClash> textureFileClashes(const std::vector<std::string>& names);

} // namespace livrano
