// SPDX-License-Identifier: MIT
#pragma once
// What a setup leaves in the program folder about itself: the version of the program that last laid
// the folder out and the checksum of every installed file as it wrote it. "Changed here" means
// "differs from what a setup wrote", and a program that finds an older version knows the folder
// holds an older version's files. The format is `sha256sum`'s, whose comment line carries the
// version, so that a painter can check the files with `sha256sum -c`.

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace livrano {

// The manifest's name in the program folder.
inline constexpr const char* kSetupManifest = "Livrano.sha256";

struct SetupManifest {
    std::string version;                          // empty: written before versions were recorded
    std::map<std::string, std::string> checksums; // relative path with '/' -> SHA-256 in hex
};

// The manifest in `programFolder`; nullopt when it has none (no setup laid that folder out) or it
// cannot be read. Lines that are neither the version nor a checksum are passed over.
std::optional<SetupManifest> readSetupManifest(const std::filesystem::path& programFolder);

// The manifest's text: the version line, then "CHECKSUM  PATH" for each file, by path.
std::string setupManifestText(const SetupManifest& manifest);

// Below, at or above zero as version `a` is older than, the same as or newer than `b`: dotted
// numbers compared number by number, a missing number counting as 0; an empty version is older
// than every other.
int compareVersions(std::string_view a, std::string_view b);

} // namespace livrano
