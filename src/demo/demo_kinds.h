// SPDX-License-Identifier: MIT
#pragma once
// The kinds of aircraft a demo installation can hold: the demo's two, and variants of them that
// the aircraft configurations describe but the demo does not show. A texture folder per livery
// or one shared by all (with a patched model copy per livery), a flight-model copy per livery
// or not, extra textures from the shared folder or from a "Texture.<suffix>" folder; and, where
// a quick build matters more than the picture, every size made smaller.

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "app/status.h"
#include "demo/demo_installation.h"

namespace livrano {

struct DemoAircraftKind {
    enum class Design { Skylark, Meridian };
    Design design = Design::Skylark;
    // "" for the demo's aircraft itself. Otherwise a variant: its names (display name, title
    // prefix, aircraft and data folders, configuration and template files) end in the suffix, a
    // name of letters and digits, and it holds only its first installed livery.
    std::string suffix;
    // 0 or 1 in place of the design's; -1 keeps it. The Skylark's design names its textures
    // without masks, and so takes neither a shared texture folder nor a flight-model copy.
    int textureAssignOnly = -1;
    int copyRenameAirFile = -1;
    // When given, the extra textures are copied from "Texture." + this folder ("" is the shared
    // folder), a name of letters and digits; a design without extra textures gets two.
    std::optional<std::string> extraTextureFolder;
    // The template, the textures and their sections this many times smaller: 1, 2, 4, 8 or 16.
    int divisor = 1;
};

// The demo's own two aircraft, as `livrano-cli demo` makes them.
std::vector<DemoAircraftKind> demoAircraftKinds();

// CreateDemoInstallation with these aircraft, in this order, and the unconfigured aircraft only
// `withUnconfigured`. Refused, writing nothing, for a kind it cannot make (a Skylark with a shared
// texture folder or a flight-model copy, a divisor other than those above, names that are not
// plain, two kinds of one name).
Status CreateDemoInstallation(const std::filesystem::path& dir, DemoInstallation& made,
                              const std::vector<DemoAircraftKind>& kinds, bool withUnconfigured = false);

} // namespace livrano
