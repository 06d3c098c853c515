// SPDX-License-Identifier: MIT
#pragma once
// A hand-written configuration for an invented aircraft, the Corvane C-310 Skylark: three
// textures with sections and model offsets, extra textures and extra fields. It has no fault a
// configuration check would report.

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "aircraft/aircraft_spec_checks.h"

namespace livrano::testkit {

// The plain INI text, CRLF line ends (tests/data/skylark.cfg).
extern const std::string kSkylarkConfiguration;

// The text enciphered as an aircraft configuration file with `key` (the program's by default).
std::string encipherConfiguration(std::string_view plain, std::string_view key = {});

// Counts at their maximum over sections that hold almost nothing (32767 textures of 32767
// sections and offsets, 32767 extra fields), and a last texture of 4,000 sections in one INI
// section: about 3 MB.
std::string hostileConfiguration();

// Writes encipherConfiguration(plain, key) to `file`, creating its folder.
void writeConfiguration(const std::filesystem::path& file, std::string_view plain, std::string_view key = {});

// A configuration text read as the program reads it, with the notes on the values it could not keep.
struct ReadConfiguration {
    AircraftSpec spec;
    ExtraTextureSpec extraTextures;
    ExtraFieldSpec extraFields;
    std::vector<SpecValueNote> notes;
};
ReadConfiguration readConfiguration(const std::string& text);
// What the configuration check finds in `text`, read as readConfiguration reads it.
std::vector<SpecProblem> configurationProblems(const std::string& text);

// The text with the first occurrence of `from` replaced by `to`; fails the calling test when
// `from` is not there, so a variant never silently equals the original.
std::string replaced(std::string text, std::string_view from, std::string_view to);

} // namespace livrano::testkit
