// SPDX-License-Identifier: MIT
#pragma once
// The readable listing of an aircraft specification that "livrano-cli config show" prints:
// what a configuration author sees of the configuration once the program has read it.

#include <string>
#include <vector>

#include "aircraft/aircraft_spec.h"
#include "aircraft/aircraft_spec_checks.h"

namespace livrano::cli {

struct SpecReportInput {
    std::string source; // what was read, e.g. the file's path and how it was deciphered
    const AircraftSpec& spec;
    const ExtraTextureSpec& extraTextures;
    const ExtraFieldSpec& extraFields;
    const std::vector<SpecProblem>& problems;
};

// The whole listing, lines ending in "\n": the aircraft, model and flight model, each texture
// with its sections and model offsets, the extra textures and fields, and then the problems
// (or a line saying there are none). With `colour`, headings and verdicts carry ANSI colours.
std::string formatSpecReport(const SpecReportInput& input, bool colour);

} // namespace livrano::cli
