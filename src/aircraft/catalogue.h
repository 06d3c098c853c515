#pragma once
// The installed aircraft configurations: display names the user sees, mapped to their files.

#include <cstdint>
#include <filesystem>
#include <string>
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

} // namespace livrano
