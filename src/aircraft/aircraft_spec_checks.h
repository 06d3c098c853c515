// SPDX-License-Identifier: MIT
#pragma once
// The faults a configuration author must fix before a build can use the configuration: the
// CLI lists them, and the build or the screens can refuse a configuration with them.

#include <string>
#include <vector>

#include "aircraft/aircraft_spec.h"
#include "aircraft/aircraft_spec_loader.h"
#include "aircraft/profile.h"

namespace livrano {

struct SpecProblem {
    std::string section; // the configuration's section, e.g. "Texture.01"
    std::string key;     // the key or key group at fault, e.g. "Section.02"; empty for the section
    std::string message; // one sentence saying what is wrong and what follows from it
};

// Checks a specification against the profile it was read from (readAircraftSpec with fresh
// extra records, and the notes that reading produced). Finds: values dropped or cut by the
// reading; texture sizes that are not positive multiples of 4; where the build derives names,
// masks without "*", base names too short for their mask position plus NumIdentifierCharacters,
// and a NumIdentifierCharacters below 1; sections that reach outside the template or the
// texture or have no area; textures whose files in TempBitmaps meet (one of them named twice, or
// one's converted file another's colour or alpha); counts whose sections or keys are missing, and
// entries just past a count that nothing reads; where the model is patched (TextureAssignOnly
// 0), model offsets missing or before the first byte; names that cannot be file or folder names.
// The values the reading dropped or cut come first, then the other problems in the order the
// configuration is read.
std::vector<SpecProblem> checkAircraftSpec(const ProfileDocument& profile, const AircraftSpec& spec,
                                           const ExtraTextureSpec& extraTextures,
                                           const ExtraFieldSpec& extraFields,
                                           const std::vector<SpecValueNote>& notes);

} // namespace livrano
