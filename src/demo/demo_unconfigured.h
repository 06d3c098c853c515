// SPDX-License-Identifier: MIT
#pragma once
// The demo's aircraft without a configuration, the Corvane CK-20 Kestrel: installed in the
// simulator's Aircraft folder as its maker ships it (aircraft.cfg with two factory liveries, the
// model and its Model.cfg, the flight model, a texture folder per livery with a light map and a
// texture.cfg), and nothing of Livrano's: no aircraft configuration, template or data copy. A
// painter makes a paint kit from it. Its textures are stored in the formats the other demo
// aircraft do not use (demo_texture_files.h); the model names each "NAME.bmp", and the simulator
// finds a "NAME.dds" under that name too.

#include <cstdint>
#include <filesystem>
#include <vector>

#include "demo/demo_texture_files.h"
#include "texture/rgba_image.h"

namespace livrano {

inline constexpr char kUnconfiguredDisplayName[] = "Corvane CK-20 Kestrel";
inline constexpr char kUnconfiguredFolder[] = "Kestrel"; // in the simulator's Aircraft folder

struct DemoShippedTexture {
    std::filesystem::path file; // relative to the aircraft folder: "texture.1/CK20_FUSE.bmp"
    DemoTextureStorage storage;
    // As painted, top-down: what the file holds but for its format's losses. Opaque (alpha 255)
    // where the format keeps no alpha, 0 or 255 where it keeps one bit.
    RgbaImage picture;
};

struct DemoShippedFile {
    std::filesystem::path file; // relative to the aircraft folder
    std::vector<std::uint8_t> bytes;
};

// Every texture of both liveries, the light maps among them.
std::vector<DemoShippedTexture> unconfiguredTextures();

// Every file of the aircraft, its textures stored from unconfiguredTextures().
std::vector<DemoShippedFile> unconfiguredAircraftFiles();

} // namespace livrano
