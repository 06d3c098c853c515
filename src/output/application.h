// SPDX-License-Identifier: MIT
#pragma once
// The one application object: owns the shared state for the whole run. It is the composition
// root: the windows and the CLI make one and hand each operation the parts it reads and changes.
// There are no hidden globals.

#include <filesystem>

#include "aircraft/aircraft_spec.h"
#include "aircraft/aircraft_spec_loader.h"
#include "aircraft/catalogue.h"
#include "app/airline_list.h"
#include "app/frontend.h"
#include "app/repaint_settings.h"
#include "app/state_flags.h"
#include "output/build_state.h"
#include "output/repaint_inputs.h"
#include "texture/bitmap_surfaces.h"

namespace livrano {

struct Application {
    Application(std::filesystem::path folder, Frontend& port)
        : programFolder(std::move(folder)), frontend(port) {}
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    std::filesystem::path programFolder; // no trailing separator
    Frontend& frontend;
    // The texture format the loads of this run give every texture: DXT3 when set, else 32-bit
    // with alpha (the window keeps it with its "Create Plane in DXT3 Format" check box).
    bool dxt3Textures = false;

    RepaintSettings settings;
    StateFlags flags;
    AircraftSpec spec;
    ExtraTextureSpec extraTextures;
    ExtraFieldSpec extraFields;
    AircraftCatalogue catalogue;
    AirlineList airlines;
    BitmapSurfaces surfaces;

    // The parts a plan and the names of a repaint are made from, read only. Asked for by name, so
    // that a call shows which parts it hands on.
    RepaintInputs repaintInputs() const {
        return {programFolder, settings, spec, extraTextures, extraFields};
    }
    // Makes catalogue entry `index` the chosen aircraft, as loadCatalogueAircraft does.
    Status chooseAircraft(int index) {
        return loadCatalogueAircraft(catalogue, index, dxt3Textures, spec, extraTextures, extraFields,
                                     settings, flags, frontend);
    }
    // The parts a build reads and changes: all but the airline list.
    BuildState buildState() {
        return {programFolder, frontend,      dxt3Textures, settings,  flags,
                spec,          extraTextures, extraFields,  catalogue, surfaces};
    }
};

} // namespace livrano
