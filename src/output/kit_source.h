// SPDX-License-Identifier: MIT
#pragma once
// What a paint kit is made from: an aircraft as its maker installed it in the simulator, read
// and never changed. Its aircraft.cfg, one of its factory liveries, and that livery's texture
// folder: the textures the painter paints (decoded) and the files a new livery copies unchanged.

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "app/status.h"
#include "output/fltsim_entry.h"
#include "texture/texture_reader.h"

namespace livrano {

// Which livery and which of its files. Globs are matched against file names without regard to
// case ("*" and "?"). Without `include`, every .bmp and .dds file is a texture to paint but the
// light maps ("*_L.*", "*_LM.*"), which are painted with the lights, not the livery.
struct KitChoices {
    std::optional<std::string> liveryTitle; // Windows-1252; none: the first factory livery
    std::vector<std::string> include;
    std::vector<std::string> exclude;
};

struct KitTexture {
    std::string fileName; // Windows-1252, as the folder spells it
    std::string stem;     // the name without its extension
    bool dds = false;
    bool hasAlpha = false; // some texel is not opaque
    DecodedTexture decoded;
};

struct KitSource {
    std::filesystem::path aircraftFolder;
    std::string aircraftDirectory; // the folder's name, Windows-1252
    std::string installedCfg;      // aircraft.cfg as installed, as the program reads it (Windows-1252)
    FltsimEntry livery;            // the chosen factory livery
    std::filesystem::path textureFolder;
    std::vector<KitTexture> textures; // by file name, without regard to case
    std::vector<std::string> extras;  // the other files of the texture folder, by name
};

// Reads the aircraft in `aircraftFolder`. Refused, naming what is wrong, for an aircraft.cfg
// that is missing or has no titled [fltsim.N] entry, a --livery title it does not hold, a texture
// folder that is missing or has no texture to paint, and a texture that cannot be decoded.
Status readKitSource(const std::filesystem::path& aircraftFolder, const KitChoices& choices,
                     KitSource& source);

} // namespace livrano
