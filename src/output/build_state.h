// SPDX-License-Identifier: MIT
#pragma once
// What the build driver reads and changes of the shared state. A build plans from the choices,
// writes the files and textures, reports through the frontend, and then loads the aircraft it
// built afresh from the catalogue, which replaces the aircraft's records and clears the choices:
// so it needs nearly all of the state, and taking these by name keeps the rest (the airline list)
// out of its reach and makes what it changes visible at its signature.

#include <filesystem>

#include "aircraft/aircraft_spec.h"
#include "aircraft/catalogue.h"
#include "app/frontend.h"
#include "app/repaint_settings.h"
#include "app/state_flags.h"
#include "output/repaint_inputs.h"
#include "texture/bitmap_surfaces.h"

namespace livrano {

struct BuildState {
    const std::filesystem::path& programFolder;
    Frontend& frontend;
    bool dxt3Textures; // the texture format of the reloaded aircraft
    RepaintSettings& settings;
    StateFlags& flags;
    AircraftSpec& spec;
    ExtraTextureSpec& extraTextures;
    ExtraFieldSpec& extraFields;
    const AircraftCatalogue& catalogue;
    BitmapSurfaces& surfaces;

    // The parts of these that planning and naming read.
    RepaintInputs repaintInputs() const {
        return {programFolder, settings, spec, extraTextures, extraFields};
    }
};

} // namespace livrano
