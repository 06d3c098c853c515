// SPDX-License-Identifier: MIT
#pragma once
// Stand-ins for a demo aircraft's model and flight model: not models a simulator could fly, but
// files with what the program reads in them, the texture names at the offsets a configuration
// gives.

#include <cstdint>
#include <string>
#include <vector>

namespace livrano {

struct ModelTextureName {
    std::string fileName;              // as the model names it: "C310_FUSE.bmp"
    std::vector<std::int32_t> offsets; // where it starts, counted from 1 as configurations count
};

// A model file of 24576 bytes: an MDL header, filler, and each name NUL-terminated at each of its
// offsets. Precondition: every name and its NUL lie within the file.
std::string demoModelFile(const std::vector<ModelTextureName>& names);

// A flight-model file that names `name` in its first line.
std::string demoAirFile(const std::string& name);

} // namespace livrano
