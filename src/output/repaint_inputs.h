// SPDX-License-Identifier: MIT
#pragma once
// What planning and naming a repaint read of the shared state: where the program is, the loaded
// aircraft's records and the user's choices. Read only: whoever takes these cannot reach the
// window, the template or the catalogue, nor change a choice.

#include <filesystem>

#include "aircraft/aircraft_spec.h"
#include "app/repaint_settings.h"

namespace livrano {

struct RepaintInputs {
    const std::filesystem::path& programFolder;
    const RepaintSettings& settings;
    const AircraftSpec& spec;
    const ExtraTextureSpec& extraTextures;
    const ExtraFieldSpec& extraFields;
};

} // namespace livrano
