// SPDX-License-Identifier: MIT
#include "soak/livery_model.h"

#include <algorithm>
#include <sstream>

#include "aircraft/catalogue.h"
#include "aircraft/masked_name.h"
#include "aircraft/profile.h"
#include "app/file_bytes.h"
#include "app/text.h"
#include "demo/demo_kinds.h"
#include "output/aircraft_cfg.h"
#include "output/livery_list.h"
#include "output/variation_layout.h"
#include "texture/bmp_reader.h"
#include "texture/template_loader.h"
#include "texture/texture_reader.h"

namespace livrano::soak {

namespace fs = std::filesystem;

namespace {

std::string upperPath(const std::string& path) {
    return toUpper(fs::path(path).generic_string());
}

const Livery* listed(const Model& m, const std::string& title) {
    for (const Livery& l : m.cfg)
        if (toUpper(l.title) == toUpper(title))
            return &l;
    return nullptr;
}

bool hasKey(const std::vector<Livery>& cfg, const std::string& key) {
    return std::any_of(cfg.begin(), cfg.end(), [&](const Livery& l) { return l.key == key; });
}

// The liveries as `list` shows them, and as the model has them: upper-case titles and keys.
std::string listText(const Aircraft& a) {
    std::vector<LiveryListing> list;
    if (Status s = listLiveries(a.app.repaintInputs(), list); !s)
        return s.text();
    std::string text;
    for (const LiveryListing& l : list)
        text += "\n  " + toUpper(l.entry.title) + " [" +
                toUpper(a.app.spec.TextureAssignOnly == 1 ? l.entry.texture : l.entry.model) + "]";
    return text;
}

std::string listText(const std::vector<Livery>& cfg) {
    std::string text;
    for (const Livery& l : cfg)
        text += "\n  " + toUpper(l.title) + " [" + l.key + "]";
    return text;
}

bool isLeftover(const fs::path& path) {
    const std::string name = path.filename().string();
    return temporaryFileTarget(name) || name == "Livrano.journal" || name.starts_with("Livrano.replaced");
}

// Whether the file at `path`, one of the livery's, is whole: a texture decodes (the demo installs
// its liveries' textures as plain bitmaps, which the simulator reads too), an extra texture reads
// as a bitmap, any other file has bytes.
bool whole(const Aircraft& a, const std::string& file, const fs::path& path, const std::string& bytes) {
    if (!file.ends_with(".BMP"))
        return !bytes.empty();
    const std::vector<std::string>& extras = a.app.extraTextures.ExtraTextureNames;
    const bool extra = std::any_of(extras.begin(), extras.end(),
                                   [&](const std::string& n) { return file.ends_with("/" + toUpper(n)); });
    DecodedTexture texture;
    return (!extra &&
            decodeTexture({reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()}, texture)
                .ok()) ||
           readBmpFile(path).has_value();
}

} // namespace

bool Livery::operator==(const Livery& o) const {
    return toUpper(title) == toUpper(o.title) && key == o.key;
}

Snapshot snapshot(const fs::path& folder) {
    Snapshot entries;
    std::error_code ec;
    for (fs::recursive_directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const fs::file_status s = it->symlink_status(ec);
        entries[it->path().lexically_relative(folder).string()] = {
            s.type(), s.permissions(), fs::is_regular_file(s) ? readFileBytes(it->path()).value_or("") : ""};
    }
    return entries;
}

Aircraft::Aircraft(const fs::path& programFolder, const fs::path& aircraftFolder,
                   const fs::path& templateFile)
    : app(programFolder, frontend), folder(aircraftFolder) {
    // The second picture: the template repainted, its alpha the same.
    pictures[0] = templateFile;
    pictures[1] = templateFile.parent_path() / (templateFile.stem().string() + " B.bmp");
    std::string bytes = readFileBytes(pictures[0]).value_or("");
    for (std::size_t i = bytes.size() > 10 ? static_cast<unsigned char>(bytes[10]) : 0; i < bytes.size();
         i += 3)
        bytes[i] = static_cast<char>(255 - static_cast<unsigned char>(bytes[i]));
    (void)replaceFileBytes(pictures[1], bytes);
    (void)replaceFileBytes(alphaCompanionPath(pictures[1].string()),
                           readFileBytes(alphaCompanionPath(pictures[0].string())).value_or(""));
}

std::string Aircraft::title(const std::string& variation) const {
    return app.spec.AircraftTitlePrefix + " " + variation;
}

std::set<std::string> Aircraft::filesOf(const std::string& key) const {
    const AircraftSpec& s = app.spec;
    auto masked = [&](const std::string& base, const std::string& mask) {
        return MaskedName(base, mask, s.NumIdentifierCharacters, key).value_or(base);
    };
    std::set<std::string> files;
    for (const TextureSpec& t : s.Textures)
        files.insert(s.TextureAssignOnly == 1
                         ? "TEXTURE." + key + "/" + t.BaseTextureName + ".BMP"
                         : "TEXTURE/" + masked(t.BaseTextureName, t.ReplaceMask) + ".BMP");
    if (s.TextureAssignOnly == 0) {
        files.insert("MODEL." + key + "/MODEL.CFG");
        files.insert("MODEL." + key + "/" + masked(s.BaseModelName, s.ReplaceMask) + ".MDL");
    }
    if (s.CopyRenameAirFile == 1)
        files.insert(masked(s.BaseAirName, s.ReplaceAirMask) + ".AIR");
    if (app.extraTextures.CopyExtraTextures == 1)
        for (const std::string& name : app.extraTextures.ExtraTextureNames)
            files.insert("TEXTURE." + key + "/" += name);
    std::set<std::string> upper;
    for (const std::string& f : files)
        upper.insert(toUpper(f));
    return upper;
}

bool Aircraft::owns(const std::string& key, const std::string& path) const {
    if (key.empty())
        return false;
    for (const std::string& own : {"TEXTURE." + key, "MODEL." + key})
        if (path == own || path.starts_with(own + "/"))
            return true;
    return filesOf(key).count(path) != 0;
}

std::set<std::string> Aircraft::keys() const {
    std::set<std::string> keys;
    for (const auto& [variation, extension] : liveries)
        keys.insert(toUpper(extension));
    return keys;
}

// Each livery with the files of its key that are in `there` (upper-case paths), else with those
// the model knows it by, or all of them.
std::vector<Livery> Aircraft::read(const fs::path& cfg, const std::set<std::string>* there) const {
    std::vector<FltsimEntry> entries;
    std::vector<ProfileSection> others;
    std::string text;
    const std::optional<std::string> bytes = readFileBytes(cfg);
    if (bytes && installedCfgText(cfg, *bytes, text))
        (void)readFltsimEntries(ProfileDocument(std::move(text)), app.extraFields, entries, others);
    std::vector<Livery> found;
    for (const FltsimEntry& e : entries) {
        Livery l{e.title, toUpper(trim(app.spec.TextureAssignOnly == 1 ? e.texture : e.model)), {}};
        for (const std::vector<Livery>* known : {&model.cfg, model.bak ? &*model.bak : nullptr})
            for (const Livery& k : known && !there ? *known : std::vector<Livery>())
                if (k == l)
                    l.files = k.files;
        for (const std::string& f :
             l.key.empty() || !l.files.empty() ? std::set<std::string>() : filesOf(l.key))
            if (there == nullptr || there->count(f) != 0)
                l.files.insert(f);
        found.push_back(std::move(l));
    }
    return found;
}

std::optional<std::vector<Livery>> Aircraft::backup() const {
    const fs::path bak = existingEntry(folder, "Aircraft.bak");
    std::error_code ec;
    return fs::exists(bak, ec) ? std::optional(read(bak, nullptr)) : std::nullopt;
}

Model Aircraft::fromDisk() const {
    Model m;
    std::set<std::string> there;
    for (const auto& [path, entry] : snapshot(folder))
        there.insert(upperPath(path));
    m.cfg = read(existingEntry(folder, "Aircraft.cfg"), &there);
    m.bak = backup();
    for (const std::string& key : keys())
        for (const std::string& path : there)
            if (owns(key, path))
                m.onDisk.insert(key);
    for (const Livery& l : m.cfg)
        if (!l.files.empty())
            m.onDisk.insert(l.key);
    return m;
}

fs::path scratchFolder() {
    std::error_code ec;
    return fs::is_directory("/dev/shm", ec) ? fs::path("/dev/shm") : fs::temp_directory_path(ec);
}

std::vector<std::unique_ptr<Aircraft>> makeInstallation(const fs::path& dir, std::string& why) {
    using Design = DemoAircraftKind::Design;
    const std::vector<DemoAircraftKind> kinds = {{Design::Skylark, "", -1, -1, std::nullopt, 16},
                                                 {Design::Meridian, "", -1, -1, std::nullopt, 16},
                                                 {Design::Meridian, "OwnAir", 1, 1, "Base", 16},
                                                 {Design::Meridian, "Shared", 0, 0, std::nullopt, 16}};
    DemoInstallation made;
    std::vector<std::unique_ptr<Aircraft>> aircraft;
    if (Status s = CreateDemoInstallation(dir, made, kinds); !s) {
        why = s.text();
        return aircraft;
    }
    for (const DemoAircraft& demo : made.aircraft) {
        auto a = std::make_unique<Aircraft>(made.programFolder, demo.aircraftFolder, demo.templateFile);
        a->app.catalogue = LoadAircraftCatalogue(made.programFolder);
        if (Status s =
                a->app.chooseAircraft(catalogueIndexOfName(a->app.catalogue, demo.displayName).value_or(-1));
            !s) {
            why = s.text();
            return {};
        }
        a->model = a->fromDisk();
        for (const Livery& l : a->model.cfg)
            if (!l.key.empty())
                a->liveries.push_back({l.title.substr(a->app.spec.AircraftTitlePrefix.size() + 1), l.key});
        for (const char* variation : {"Alpha", "Bravo", "Charlie"})
            for (const char* extension : {"Kaa", "kab", "KAC", "kaa"})
                a->liveries.push_back({variation, extension});
        aircraft.push_back(std::move(a));
    }
    return aircraft;
}

Expected predict(const Aircraft& a, const Step& s) {
    const Model& m = a.model;
    Expected e{2, m, {}};
    Model& n = e.after;
    const std::string title = a.title(s.variation);
    const Livery* same = listed(m, title);
    auto drop = [&](const Livery& gone) {
        n.bak = m.cfg;
        std::erase(n.cfg, gone);
        if (!hasKey(n.cfg, gone.key))
            n.onDisk.erase(gone.key);
        e.touched.insert(gone.key);
        e.exit = 0;
    };
    auto add = [&](Livery livery) {
        n.bak = m.cfg;
        n.onDisk.insert(livery.key);
        e.touched.insert(livery.key);
        n.cfg.push_back(std::move(livery));
        e.exit = 0;
    };
    switch (s.command) {
    case Command::Build: {
        const std::string key = toUpper(s.extension);
        for (const Livery& l : m.cfg)
            if (l.key == key && !(same && l == *same))
                return e; // another livery's folder
        if (same)
            drop(*same);
        add({title, key, a.filesOf(key)});
        return e;
    }
    case Command::Remove:
        if (same)
            drop(*same);
        return e;
    case Command::Pack:
        e.exit = same ? 0 : 2;
        return e;
    case Command::Install: {
        // Refused for a title or folder another livery has, files in the way, or nothing to install.
        const Livery& zipped = a.zips[s.zip].livery;
        if (!listed(m, zipped.title) && m.onDisk.count(zipped.key) == 0 && !zipped.files.empty() &&
            !hasKey(m.cfg, zipped.key))
            add(zipped);
        return e;
    }
    case Command::Restore:
        if (m.bak) {
            n.cfg = *m.bak;
            n.bak = m.cfg;
            e.exit = 0;
        }
        return e;
    case Command::Rebuild: {
        const BuildPlan& plan = a.plans.at(toUpper(title));
        const std::string key =
            toUpper(a.app.spec.TextureAssignOnly == 1 ? plan.entry.texture : plan.entry.model);
        if (same && same->key == key) {
            e.exit = 0;
            e.touched.insert(key);
        }
        return e;
    }
    }
    return e;
}

Step randomStep(const Aircraft& a, std::mt19937& rng, bool rebuild) {
    auto pick = [&](const auto& pool) { return pool[rng() % std::size(pool)]; };
    static const Command kWeighted[] = {Command::Build,   Command::Build,   Command::Build,
                                        Command::Remove,  Command::Remove,  Command::Pack,
                                        Command::Install, Command::Restore, Command::Rebuild};
    Step s{pick(kWeighted), pick(a.liveries).first, pick(a.liveries).second, static_cast<int>(rng() % 2), 0};
    if (s.command == Command::Install && !a.zips.empty())
        s.zip = rng() % a.zips.size();
    else if (s.command == Command::Install)
        s.command = Command::Pack;
    if (s.command == Command::Rebuild) {
        const Livery* built =
            a.plans.count(toUpper(a.title(s.variation))) ? listed(a.model, a.title(s.variation)) : nullptr;
        // A livery whose files are gone (its entry restored) gets its textures from a build.
        if (!rebuild || built == nullptr || a.model.onDisk.count(built->key) == 0)
            s.command = Command::Build;
    }
    return s;
}

std::string describe(const Aircraft& a, const Step& s) {
    static const char* const kNames[] = {"build", "remove", "pack", "install", "restore", "texture rebuild"};
    std::string text = a.app.spec.AircraftDisplayName + ": " + kNames[static_cast<int>(s.command)];
    if (s.command == Command::Install)
        return text + " " + a.zips[s.zip].zip.filename().string();
    if (s.command != Command::Restore)
        text += " \"" + s.variation + "\"";
    return s.command == Command::Build
               ? text + " into " + s.extension + " from picture " + std::to_string(s.picture)
               : text;
}

std::string commandLine(const Aircraft& a, const Step& s) {
    auto quoted = [](const std::string& text) {
        std::string q = "'";
        for (char c : text)
            q += c == '\'' ? std::string("'\\''") : std::string(1, c);
        return q + "'";
    };
    static const char* const kCommands[] = {"build", "remove", "pack", "install-livery", "restore", "build"};
    std::string line = std::string(kCommands[static_cast<int>(s.command)]) + " --program-folder " +
                       quoted(a.app.programFolder.string()) + " --aircraft " +
                       quoted(a.app.spec.AircraftDisplayName) + " ";
    const std::string title = "--title " + quoted(a.title(s.variation));
    switch (s.command) {
    case Command::Build:
    case Command::Rebuild:
        return line + "--template " + quoted(a.pictures[s.picture].string()) + " --variation " +
               quoted(s.variation) + " --folder " + quoted(s.extension) + " --tail N" +
               std::to_string(s.picture);
    case Command::Remove:
        return line + title;
    case Command::Pack:
        return line + title + " " + quoted(zipFile(a).string());
    case Command::Install:
        return line + quoted(a.zips[s.zip].zip.string());
    case Command::Restore:
        return line;
    }
    return line;
}

fs::path zipFile(const Aircraft& a) {
    return a.folder.parent_path().parent_path() /
           (a.folder.filename().string() + " " + std::to_string(a.zips.size()) + ".zip");
}

void packed(Aircraft& a, const std::string& title, const fs::path& zip) {
    if (const Livery* l = listed(a.model, title))
        a.zips.push_back(
            {{l->title, l->key, a.model.onDisk.count(l->key) ? l->files : std::set<std::string>()}, zip});
}

std::string violations(const Aircraft& a, const Snapshot& before, const std::set<std::string>& touched,
                       const std::vector<std::string>& leftOut, bool settled) {
    std::ostringstream out;
    const Model& m = a.model;
    if (const std::string shown = listText(a); shown != listText(m.cfg))
        out << "list:" << shown << "\nmodel:" << listText(m.cfg) << "\n";
    const Snapshot after = snapshot(a.folder);
    std::map<std::string, std::string> byUpper;
    for (const auto& [path, entry] : after)
        byUpper[upperPath(path)] = path;
    for (const Livery& l : m.cfg) {
        for (const std::string& file : m.onDisk.count(l.key) ? l.files : std::set<std::string>()) {
            const auto found = byUpper.find(file);
            const bool excused = std::any_of(leftOut.begin(), leftOut.end(), [&](const std::string& why) {
                return toUpper(why).find(fs::path(file).stem().string()) != std::string::npos;
            });
            if (found == byUpper.end() && !excused)
                out << l.title << ": " << file << " is missing\n";
            else if (found != byUpper.end() &&
                     !whole(a, file, a.folder / found->second, std::get<2>(after.at(found->second))))
                out << l.title << ": " << file << " does not decode\n";
        }
    }
    auto exempt = [&](const std::string& path) {
        const std::string upper = upperPath(path);
        return upper == "AIRCRAFT.CFG" || upper == "AIRCRAFT.BAK" || upper == "AIRCRAFT.ORIGINAL" ||
               isLeftover(path) || std::any_of(touched.begin(), touched.end(), [&](const std::string& k) {
                   return a.owns(k, upper);
               });
    };
    for (const auto& [path, entry] : before)
        if (!exempt(path) && (after.count(path) == 0 || after.at(path) != entry))
            out << path << " changed, and the step was not to touch it\n";
    for (const auto& [path, entry] : after) {
        if (!exempt(path) && before.count(path) == 0)
            out << path << " appeared, and the step was not to make it\n";
        if (settled && isLeftover(path))
            out << path << " is left over\n";
        for (const std::string& key : settled ? a.keys() : std::set<std::string>())
            if (m.onDisk.count(key) == 0 && a.owns(key, upperPath(path)))
                out << path << " is left of a livery that is gone\n";
    }
    std::error_code ec;
    for (fs::directory_iterator it(a.app.programFolder / "TempBitmaps", ec), end; settled && !ec && it != end;
         it.increment(ec))
        if (isLeftover(it->path()))
            out << it->path().string() << " is left over\n";
    return out.str();
}

} // namespace livrano::soak
