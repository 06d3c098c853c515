// SPDX-License-Identifier: MIT
#pragma once
// What an aircraft's liveries are, as a painter asks before taking one out or sharing it: each
// entry of the installed aircraft.cfg with the folders and files it names and whether they
// are there.

#include <filesystem>
#include <string>
#include <vector>

#include "app/status.h"
#include "output/fltsim_entry.h"
#include "output/repaint_inputs.h"

namespace livrano {

struct LiveryFile {
    std::string role;           // "texture", "model" or "flight model"
    std::filesystem::path path; // as found on disk whatever its case
    bool exists = false;
};

struct LiveryListing {
    FltsimEntry entry;
    std::vector<LiveryFile> files; // the texture folder, the model folder, the flight model
    bool own = false;              // one of the aircraft's own liveries (in its clean copy)
};

// Every titled entry of the loaded aircraft's installed aircraft.cfg, in file order. The texture
// folder is "Texture." + texture, or the shared "Texture" when the value is empty; the model
// folder "Model." + model, or "Model"; the flight model sim + ".air" when sim is set. A missing
// aircraft.cfg lists nothing. Fails when the installed file cannot be read.
Status listLiveries(const RepaintInputs& repaint, std::vector<LiveryListing>& liveries);

} // namespace livrano
