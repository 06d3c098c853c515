// SPDX-License-Identifier: MIT
#include "output/kit_source.h"

#include <fnmatch.h>

#include <algorithm>
#include <system_error>

#include "aircraft/profile.h"
#include "app/caseless_folder.h"
#include "app/code_page.h"
#include "app/file_bytes.h"
#include "app/file_names.h"
#include "app/text.h"
#include "output/aircraft_cfg.h"

namespace livrano {

namespace fs = std::filesystem;

namespace {

bool matches(const std::vector<std::string>& globs, const std::string& name) {
    return std::any_of(globs.begin(), globs.end(), [&](const std::string& glob) {
        return fnmatch(glob.c_str(), name.c_str(), FNM_CASEFOLD) == 0;
    });
}

bool isTextureFile(const std::string& upperName) {
    return upperName.ends_with(".BMP") || upperName.ends_with(".DDS");
}

bool isLightMap(const std::string& upperStem) {
    return upperStem.ends_with("_L") || upperStem.ends_with("_LM");
}

// Whether the painter paints this file (else a new livery copies it unchanged).
bool painted(const KitChoices& choices, const std::string& name) {
    const std::string upper = toUpper(name);
    if (!isTextureFile(upper) || matches(choices.exclude, name))
        return false;
    if (!choices.include.empty())
        return matches(choices.include, name);
    return !isLightMap(upper.substr(0, upper.size() - 4));
}

Status chooseLivery(const fs::path& cfg, const std::string& text, const KitChoices& choices,
                    FltsimEntry& livery) {
    std::vector<FltsimEntry> entries;
    std::vector<ProfileSection> others;
    if (Status s = readFltsimEntries(ProfileDocument(text), ExtraFieldSpec{}, entries, others); !s)
        return s;
    if (entries.empty())
        return Status::Refused(cfg.string() + " has no livery: no [fltsim.N] section with a title.");
    if (!choices.liveryTitle) {
        livery = entries.front();
        return Status::Ok();
    }
    for (const FltsimEntry& e : entries)
        if (equalsNoCase(trim(e.title), trim(*choices.liveryTitle))) {
            livery = e;
            return Status::Ok();
        }
    std::string titles;
    for (const FltsimEntry& e : entries)
        titles += "\n  " + utf8FromWindows1252(e.title);
    return Status::Refused(cfg.string() + " has no livery titled \"" +
                               utf8FromWindows1252(*choices.liveryTitle) + "\".",
                           "Its liveries:" + titles);
}

Status readTexture(const fs::path& file, KitTexture& texture) {
    Status decoded = Status::Ok();
    const Status read = withFileBytes(
        file, [&](std::span<const std::uint8_t> bytes) { decoded = decodeTexture(bytes, texture.decoded); });
    const Status& failed = read ? decoded : read;
    if (!failed)
        return Status::Refused("The texture " + file.string() + " cannot be read: " + failed.message(),
                               "Leave it out with --exclude to copy it unchanged instead.");
    texture.hasAlpha = usesAlpha(texture.decoded.image);
    return Status::Ok();
}

} // namespace

Status readKitSource(const fs::path& aircraftFolder, const KitChoices& choices, KitSource& source) {
    source = {};
    source.aircraftFolder = aircraftFolder;
    source.aircraftDirectory = windows1252FromPath(aircraftFolder.filename()).value_or("");
    const fs::path cfg = resolveCaseless(aircraftFolder / "aircraft.cfg");
    std::error_code ec;
    if (!fs::is_regular_file(cfg, ec))
        return Status::Refused(aircraftFolder.string() +
                               " holds no aircraft.cfg: it is not an installed aircraft.");
    std::string bytes;
    if (Status s = readFileBytes(cfg, bytes); !s)
        return Status::Refused("The aircraft's " + cfg.string() + " cannot be read: " + s.message());
    if (Status s = installedCfgText(cfg, bytes, source.installedCfg); !s)
        return s;
    if (Status s = chooseLivery(cfg, source.installedCfg, choices, source.livery); !s)
        return s;

    const std::string suffix = trim(source.livery.texture);
    source.textureFolder =
        CaselessFolder(aircraftFolder).find(suffix.empty() ? "texture" : "texture." + suffix);
    if (!fs::is_directory(source.textureFolder, ec))
        return Status::Refused("The livery \"" + utf8FromWindows1252(source.livery.title) +
                               "\" has no texture folder " + source.textureFolder.string() + ".");
    std::vector<std::string> names;
    for (fs::directory_iterator it(source.textureFolder, ec), end; !ec && it != end; it.increment(ec))
        if (std::error_code fileEc; it->is_regular_file(fileEc))
            if (std::optional<std::string> name = windows1252FromPath(it->path().filename()))
                names.push_back(*name);
    std::sort(names.begin(), names.end(),
              [](const std::string& a, const std::string& b) { return toUpper(a) < toUpper(b); });
    for (const std::string& name : names) {
        if (!painted(choices, name)) {
            source.extras.push_back(name);
            continue;
        }
        KitTexture& t = source.textures.emplace_back();
        t.fileName = name;
        t.stem = name.substr(0, name.size() - 4);
        t.dds = toUpper(name).ends_with(".DDS");
        if (Status s = readTexture(source.textureFolder / pathFromWindows1252(name), t); !s)
            return s;
    }
    if (source.textures.empty())
        return Status::Refused("The texture folder " + source.textureFolder.string() +
                                   " holds no texture to paint.",
                               names.empty() ? "It is empty." : "Name the textures with --include.");
    return Status::Ok();
}

} // namespace livrano
