// SPDX-License-Identifier: MIT
#include "output/livery_list.h"

#include <algorithm>
#include <optional>
#include <system_error>

#include "aircraft/profile.h"
#include "app/file_bytes.h"
#include "app/text.h"
#include "output/aircraft_cfg.h"
#include "output/variation_layout.h"

namespace livrano {

namespace fs = std::filesystem;

Status listLiveries(const RepaintInputs& repaint, std::vector<LiveryListing>& liveries) {
    const fs::path aircraft = aircraftFolderPath(repaint);
    const fs::path installed = existingEntry(aircraft, "Aircraft.cfg");
    std::error_code ec;
    liveries.clear();
    if (!fs::exists(installed, ec))
        return Status::Ok();
    const std::optional<std::string> bytes = readFileBytes(installed);
    if (!bytes)
        return Status::Refused("The aircraft's " + installed.string() + " cannot be read.");
    std::string text;
    if (Status s = installedCfgText(installed, *bytes, text); !s)
        return s;
    std::vector<FltsimEntry> entries;
    std::vector<ProfileSection> untitled;
    if (Status s =
            readFltsimEntries(ProfileDocument(std::move(text)), repaint.extraFields, entries, untitled);
        !s)
        return s;
    // Without a clean copy, or with one whose entries cannot be read, no livery counts as the
    // aircraft's own: the listing of the installed file is worth having all the same.
    std::vector<FltsimEntry> own;
    const std::optional<std::string> clean =
        readFileBytes(existingEntry(dataFolderPath(repaint), "Aircraft.cfg"));
    if (clean && !readFltsimEntries(ProfileDocument(*clean), repaint.extraFields, own, untitled))
        own.clear();

    for (FltsimEntry& e : entries) {
        LiveryListing listing;
        auto add = [&](const char* role, const std::string& name) {
            const fs::path path = existingEntry(aircraft, name);
            listing.files.push_back({role, path, fs::exists(path, ec)});
        };
        add("texture", e.texture.empty() ? "Texture" : "Texture." + e.texture);
        add("model", e.model.empty() ? "Model" : "Model." + e.model);
        if (!e.sim.empty())
            add("flight model", e.sim + ".air");
        const std::string title = toUpper(e.title);
        listing.own = std::any_of(own.begin(), own.end(),
                                  [&](const FltsimEntry& o) { return toUpper(o.title) == title; });
        listing.entry = std::move(e);
        liveries.push_back(std::move(listing));
    }
    return Status::Ok();
}

} // namespace livrano
