// SPDX-License-Identifier: MIT
#pragma once
// The installed aircraft configurations: display names the user sees, mapped to their files.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace livrano {

inline constexpr std::size_t kCatalogueSlots = 100;

struct AircraftConfigEntry {
    std::string DisplayName;          // trimmed; empty when the file gave none
    std::filesystem::path ConfigFile; // the enciphered file
};

struct AircraftCatalogue {
    std::vector<AircraftConfigEntry> Entries; // at most kCatalogueSlots, in listing order
    std::int16_t CatalogueLastIndex = 0;      // -1 once built empty
};

// Every regular file of ProgramFolder\Aircraft Configurations (that folder only, found without
// regard to case) whose name ends in ".bin" in any letter case, sorted by name without regard to
// case (names equal but for case in byte order): the catalogue's order, without its limit.
std::vector<std::filesystem::path> configurationFiles(const std::filesystem::path& programFolder);

// Builds the catalogue from the regular files of ProgramFolder\Aircraft Configurations (that
// folder only, found without regard to case) whose names end in ".bin" in any letter case,
// sorted by name without regard to case (names equal but for case in byte order). Each file is
// deciphered in memory with the program's key for "Main"/"AircraftDisplayName"; one that does
// not decipher still takes its slot, with an empty name. Files past the 100th are not stored.
// A missing or empty folder gives an empty catalogue (CatalogueLastIndex -1). Writes nothing.
AircraftCatalogue LoadAircraftCatalogue(const std::filesystem::path& programFolder);

// The aircraft screen's lines: each stored entry's display name, in catalogue order. The first
// line is the one to select; an empty catalogue has none.
std::vector<std::string> aircraftLines(const AircraftCatalogue& catalogue);

// The entry at a catalogue index; nullptr when the index names no stored entry.
const AircraftConfigEntry* catalogueEntry(const AircraftCatalogue& catalogue, int index);

// The index of the first entry with this display name (trimmed before comparing): an exact
// match wins, else the first match without regard to case. nullopt when none matches, and for
// an empty name (which would pick a file that did not decipher).
std::optional<int> catalogueIndexOfName(const AircraftCatalogue& catalogue, std::string_view displayName);

// What a command line names: a display name as above, else a decimal catalogue index of a stored
// entry. A name made of digits is first taken as a display name.
std::optional<int> findAircraft(const AircraftCatalogue& catalogue, std::string_view nameOrIndex);

} // namespace livrano
