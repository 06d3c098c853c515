// SPDX-License-Identifier: MIT
#pragma once
// A complete demo installation made by the program itself, for trying the build without a
// simulator: the simulator's root with Aircraft/, the program folder two levels below it
// ("Corvane Software/Livrano") with its airline list, enciphered aircraft configurations, data
// copies, TempBitmaps and painted templates, and two installed aircraft with two liveries each.
// A third aircraft is installed without anything of Livrano's.
// One aircraft gives every livery a texture folder of its own (TextureAssignOnly 1) and copies
// extra textures; the other shares one texture folder and patches a model copy per livery (0).

#include <filesystem>
#include <string>
#include <vector>

#include "app/status.h"

namespace livrano {

struct DemoAircraft {
    std::string displayName;
    std::filesystem::path templateFile; // the painted template; its "_a.bmp" companion beside it
    std::filesystem::path aircraftFolder;
};

// An aircraft installed as its maker ships it, with nothing of Livrano's yet: no aircraft
// configuration, template or data copy, so nothing can be built on it before a paint kit is made.
struct DemoUnconfiguredAircraft {
    std::string displayName;
    std::filesystem::path aircraftFolder;
};

struct DemoInstallation {
    std::filesystem::path programFolder;
    std::vector<DemoAircraft> aircraft; // ready to build on their templates
    std::vector<DemoUnconfiguredAircraft> unconfigured;
};

// Writes the installation into `dir` (created when missing; files of an earlier demo there are
// replaced, other files are left alone), with a third aircraft, unconfigured (demo_unconfigured.h).
// Fails with a message naming the file that could not be written, and, writing nothing, when a
// build or setup is at work in it (Locked).
Status CreateDemoInstallation(const std::filesystem::path& dir, DemoInstallation& made);

} // namespace livrano
