// SPDX-License-Identifier: MIT
#pragma once
// A paint kit for an installed aircraft that has no configuration: what a maker's setup would
// install for it, made from the aircraft itself. A configuration in "Aircraft Configurations"
// (each livery in a texture folder of its own, the factory's texture names, model and flight
// model unchanged), the clean copy of aircraft.cfg in "Data.<DataPath>", and in "Templates" the
// factory textures packed into one template, its alpha companion and a guide naming each texture.
// Every decision is made here, before anything is written.

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "aircraft/aircraft_spec.h"
#include "app/status.h"
#include "output/kit_source.h"
#include "texture/template_packing.h"

namespace livrano {

// The key in [Main] that marks a configuration the kit made, so that --force replaces only those.
inline constexpr const char* kKitMarkKey = "LivranoKit";
// Pixels between two textures on a kit's template.
inline constexpr int kKitGutter = 16;

struct KitRequest {
    std::filesystem::path programFolder;
    std::filesystem::path aircraftFolder;
    std::optional<std::string>
        name; // UTF-8; none: the livery's manufacturer and type, else the folder's name
    KitChoices choices;
    bool force = false; // replace a kit made earlier for this aircraft folder
};

struct KitPlan {
    KitSource source;
    std::string displayName; // Windows-1252
    std::string dataPath;
    std::filesystem::path configFile;
    std::filesystem::path dataFolder;
    std::filesystem::path templateFile;
    std::filesystem::path alphaFile; // empty when no texture has alpha
    std::filesystem::path guideFile;
    // Another file holding the kit being replaced (--force under a new name): removed once the new
    // configuration is in place.
    std::optional<std::filesystem::path> replacedConfig;
    // Templates already at the template's names: the painter may have painted on them, so they are
    // moved aside to these names ("<NAME> Template (kept N).bmp"), never overwritten.
    std::vector<std::pair<std::filesystem::path, std::filesystem::path>> keptAside;
    TemplateLayout layout; // places in the order of source.textures
    AircraftSpec spec;
    ExtraTextureSpec extraTextures;
};

// What the configurations already installed say about themselves.
struct InstalledConfiguration {
    std::filesystem::path file;
    std::string displayName; // trimmed, Windows-1252
    std::string aircraftDirectory;
    std::string dataPath;
    bool kit = false; // made by the kit
};
std::vector<InstalledConfiguration> installedConfigurations(const std::filesystem::path& programFolder);

// The simulator's Aircraft folder of a program folder (two levels below the simulator's root).
std::filesystem::path simulatorAircraftFolder(const std::filesystem::path& programFolder);

// The display name a kit of this livery gets when none is asked for: the livery's manufacturer and
// type, else the aircraft folder's name; characters a file name cannot hold become '-'.
std::string defaultKitName(const KitSource& source);

// Plans the kit. Refused, with the reason and nothing decided, for an aircraft folder outside the
// simulator's Aircraft folder, an aircraft readKitSource refuses, a name that is not a usable file
// name, a name (display name, trimmed, in any case, or file name) another configuration uses
// unless --force and it is this aircraft's kit, a kit of this aircraft made earlier without
// --force, a full catalogue, and a template beyond the template reader's limits (naming the
// textures to leave out).
Status planKit(const KitRequest& request, const std::vector<InstalledConfiguration>& installed,
               KitPlan& plan);

} // namespace livrano
