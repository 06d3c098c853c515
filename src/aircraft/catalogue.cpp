// SPDX-License-Identifier: MIT
#include "aircraft/catalogue.h"

#include <algorithm>
#include <charconv>
#include <system_error>

#include "aircraft/configuration_file.h"
#include "aircraft/profile.h"
#include "app/file_names.h"
#include "app/text.h"

namespace livrano {

namespace fs = std::filesystem;

std::vector<fs::path> configurationFiles(const fs::path& programFolder) {
    const fs::path folder = resolveCaseless(programLocation(programFolder, "\\Aircraft Configurations"));
    std::vector<fs::path> files;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        std::error_code typeError;
        if (name.size() > 4 && equalsNoCase(name.substr(name.size() - 4), ".bin") &&
            it->is_regular_file(typeError))
            files.push_back(it->path());
    }
    std::sort(files.begin(), files.end(), [](const fs::path& a, const fs::path& b) {
        const std::string an = a.filename().string();
        const std::string bn = b.filename().string();
        const std::string al = toLower(an);
        const std::string bl = toLower(bn);
        return al != bl ? al < bl : an < bn;
    });
    return files;
}

AircraftCatalogue LoadAircraftCatalogue(const fs::path& programFolder) {
    AircraftCatalogue catalogue;
    for (const fs::path& file : configurationFiles(programFolder)) {
        if (catalogue.Entries.size() == kCatalogueSlots)
            break;
        const ProfileDocument profile(decipherConfiguration(file).value_or(std::string()));
        catalogue.Entries.push_back({trim(profile.readString("Main", "AircraftDisplayName")), file});
    }
    catalogue.CatalogueLastIndex = static_cast<std::int16_t>(static_cast<int>(catalogue.Entries.size()) - 1);
    return catalogue;
}

std::vector<std::string> aircraftLines(const AircraftCatalogue& catalogue) {
    std::vector<std::string> lines;
    lines.reserve(catalogue.Entries.size());
    for (const AircraftConfigEntry& entry : catalogue.Entries)
        lines.push_back(entry.DisplayName);
    return lines;
}

const AircraftConfigEntry* catalogueEntry(const AircraftCatalogue& catalogue, int index) {
    if (index < 0 || static_cast<std::size_t>(index) >= catalogue.Entries.size())
        return nullptr;
    return &catalogue.Entries[static_cast<std::size_t>(index)];
}

std::optional<int> catalogueIndexOfName(const AircraftCatalogue& catalogue, std::string_view displayName) {
    const std::string wanted = trim(displayName);
    if (wanted.empty())
        return std::nullopt;
    std::optional<int> folded;
    for (std::size_t i = 0; i < catalogue.Entries.size(); ++i) {
        const std::string& name = catalogue.Entries[i].DisplayName;
        if (name == wanted)
            return static_cast<int>(i);
        if (!folded && equalsNoCase(name, wanted))
            folded = static_cast<int>(i);
    }
    return folded;
}

std::optional<int> findAircraft(const AircraftCatalogue& catalogue, std::string_view nameOrIndex) {
    if (std::optional<int> byName = catalogueIndexOfName(catalogue, nameOrIndex))
        return byName;
    const std::string text = trim(nameOrIndex);
    int index = -1;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), index);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() ||
        catalogueEntry(catalogue, index) == nullptr)
        return std::nullopt;
    return index;
}

} // namespace livrano
