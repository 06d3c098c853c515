// SPDX-License-Identifier: MIT
// The commands that write into an aircraft, held against a small model of what it should hold:
// seeded random sequences of them on every kind of aircraft the configurations describe, every
// file operation of one step of each made to fail in turn, and (LIVRANO_SOAK_MINUTES set, as
// `make soak` does) the real livrano-cli killed at random moments. After every step: the list is
// the model's, every file of every listed livery is there and decodes, nothing the step did not
// touch changed by a byte, nothing temporary is left, and the exit status is the model's.

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <limits>
#include <map>
#include <random>
#include <set>
#include <sstream>
#include <thread>

#include "aircraft/catalogue.h"
#include "aircraft/masked_name.h"
#include "aircraft/profile.h"
#include "app/file_bytes.h"
#include "app/headless_frontend.h"
#include "app/text.h"
#include "cli/exit_status.h"
#include "demo/demo_kinds.h"
#include "output/aircraft_cfg.h"
#include "output/build_lock.h"
#include "output/build_repaint.h"
#include "output/cfg_restore.h"
#include "output/interrupted_work.h"
#include "output/livery_install.h"
#include "output/livery_list.h"
#include "output/livery_pack.h"
#include "output/livery_removal.h"
#include "output/repaint_world.h"
#include "output/texture_rebuild.h"
#include "output/variation_layout.h"
#include "support/run_cli.h"
#include "texture/bmp_reader.h"
#include "texture/template_loader.h"
#include "texture/texture_file.h"

namespace livrano {
namespace {

namespace fs = std::filesystem;
using testkit::FailingFileOperations;
using testkit::Snapshot;
using Design = DemoAircraftKind::Design;

// The demo's two aircraft and the two kinds they leave out, one of them with extra textures
// from a Texture.<suffix> folder; each 16 times smaller, so that a build takes milliseconds.
const DemoAircraftKind kKinds[] = {{Design::Skylark, "", -1, -1, std::nullopt, 16},
                                   {Design::Meridian, "", -1, -1, std::nullopt, 16},
                                   {Design::Meridian, "OwnAir", 1, 1, "Base", 16},
                                   {Design::Meridian, "Shared", 0, 0, std::nullopt, 16}};

enum class Command { Build, Remove, Pack, Install, Restore, Rebuild };
const char* const kCommandNames[] = {"build", "remove", "pack", "install", "restore", "texture rebuild"};

struct Step {
    Step(Command c, std::string v = {}, std::string e = {}, int p = 0, std::size_t z = 0)
        : command(c), variation(std::move(v)), extension(std::move(e)), picture(p), zip(z) {}
    Command command;
    std::string variation; // build, remove, pack, texture rebuild: the livery's
    std::string extension; // build
    int picture;           // build, texture rebuild: the template or its repainted copy
    std::size_t zip;       // install
};

struct Livery {
    std::string title;
    std::string key;             // its folder extension in upper case; "" for the aircraft's own files
    std::set<std::string> files; // upper-case paths from the aircraft folder
    bool operator==(const Livery& o) const { return toUpper(title) == toUpper(o.title) && key == o.key; }
};

struct Model {
    std::vector<Livery> cfg;
    std::optional<std::vector<Livery>> bak;
    std::set<std::string> onDisk; // keys whose files are there, listed or not
};

struct Packed {
    Livery livery; // its files, as far as they were there to pack
    fs::path zip;
};

std::string upperPath(const std::string& path) {
    return toUpper(fs::path(path).generic_string());
}

class Aircraft {
public:
    Aircraft(const DemoInstallation& made, std::size_t index) : app(made.programFolder, frontend) {
        const DemoAircraft& demo = made.aircraft[index];
        folder = demo.aircraftFolder;
        app.catalogue = LoadAircraftCatalogue(made.programFolder);
        EXPECT_TRUE(app.chooseAircraft(catalogueIndexOfName(app.catalogue, demo.displayName).value()));
        // The second picture: the template repainted, its alpha the same.
        pictures[0] = demo.templateFile;
        pictures[1] = demo.templateFile.parent_path() / (demo.templateFile.stem().string() + " B.bmp");
        std::string bytes = testkit::readFile(pictures[0]);
        for (std::size_t i = static_cast<unsigned char>(bytes[10]); i < bytes.size(); i += 3)
            bytes[i] = static_cast<char>(255 - static_cast<unsigned char>(bytes[i]));
        testkit::writeFile(pictures[1], bytes);
        fs::copy_file(alphaCompanionPath(pictures[0].string()), alphaCompanionPath(pictures[1].string()));
        model = fromDisk();
        for (const Livery& l : model.cfg)
            if (!l.key.empty())
                liveries.push_back({variationOf(l.title), l.key});
    }

    std::string title(const std::string& variation) const {
        return app.spec.AircraftTitlePrefix + " " + variation;
    }
    std::string variationOf(const std::string& title) const {
        return title.substr(app.spec.AircraftTitlePrefix.size() + 1);
    }

    // The files a livery of `key` has on this aircraft.
    std::set<std::string> filesOf(const std::string& key) const {
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
                files.insert("TEXTURE." + key + "/" + name);
        std::set<std::string> upper;
        for (const std::string& f : files)
            upper.insert(toUpper(f));
        return upper;
    }

    // Every livery key the steps choose from.
    std::set<std::string> keys() const {
        std::set<std::string> keys;
        for (const auto& [variation, extension] : liveries)
            keys.insert(toUpper(extension));
        return keys;
    }

    // Whether `path` (upper case) is a file or folder of the livery of `key`.
    bool owns(const std::string& key, const std::string& path) const {
        if (key.empty())
            return false;
        for (const std::string& own : {"TEXTURE." + key, "MODEL." + key})
            if (path == own || path.starts_with(own + "/"))
                return true;
        return filesOf(key).count(path) != 0;
    }

    // The liveries of an aircraft.cfg, each with the files of its key that are in `there`
    // (upper-case paths), else with those the model knows it by, or all of them.
    std::vector<Livery> read(const fs::path& cfg, const std::set<std::string>* there) const {
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

    // Aircraft.bak's liveries: a step that fails or is killed may have backed aircraft.cfg up.
    std::optional<std::vector<Livery>> backup() const {
        const fs::path bak = existingEntry(folder, "Aircraft.bak");
        return fs::exists(bak) ? std::optional(read(bak, nullptr)) : std::nullopt;
    }

    // The model of what is on disk, as a start or after a run the model cannot foresee.
    Model fromDisk() const {
        Model m;
        std::set<std::string> there;
        for (const auto& [path, entry] : testkit::snapshot(folder))
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

    HeadlessFrontend frontend;
    Application app;
    fs::path folder;
    fs::path pictures[2];
    Model model;
    std::vector<std::pair<std::string, std::string>> liveries; // the variations and keys steps choose from
    std::map<std::string, BuildPlan> plans; // the last build of each title, by upper-case title
    std::vector<Packed> zips;
};

struct Expected {
    int exit = 2; // a refusal changes nothing
    Model after;
    std::set<std::string> touched; // the keys whose files the step may change
};

const Livery* listed(const Model& m, const std::string& title) {
    for (const Livery& l : m.cfg)
        if (toUpper(l.title) == toUpper(title))
            return &l;
    return nullptr;
}

// What the step should do to the model.
Expected predict(const Aircraft& a, const Step& s) {
    const Model& m = a.model;
    Expected e{2, m, {}};
    Model& n = e.after;
    const std::string title = a.title(s.variation);
    const Livery* same = listed(m, title);
    auto drop = [&](const Livery& gone) {
        std::erase(n.cfg, gone);
        if (std::none_of(n.cfg.begin(), n.cfg.end(), [&](const Livery& l) { return l.key == gone.key; }))
            n.onDisk.erase(gone.key);
        e.touched.insert(gone.key);
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
        if (same == nullptr)
            return e;
        n.bak = m.cfg;
        drop(*same);
        e.exit = 0;
        return e;
    case Command::Pack:
        e.exit = same ? 0 : 2;
        return e;
    case Command::Install: {
        const Livery& zipped = a.zips[s.zip].livery;
        // Refused for a title or folder another livery has, files in the way, or nothing to install.
        if (listed(m, zipped.title) || m.onDisk.count(zipped.key) != 0 || zipped.files.empty() ||
            std::any_of(m.cfg.begin(), m.cfg.end(), [&](const Livery& l) { return l.key == zipped.key; }))
            return e;
        add(zipped);
        return e;
    }
    case Command::Restore:
        if (!m.bak)
            return e;
        n.cfg = *m.bak;
        n.bak = m.cfg;
        e.exit = 0;
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

Step randomStep(const Aircraft& a, std::mt19937& rng) {
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
        if (built == nullptr || a.model.onDisk.count(built->key) == 0)
            s.command = Command::Build;
    }
    return s;
}

std::string describe(const Aircraft& a, const Step& s) {
    std::string text = a.app.spec.AircraftDisplayName + ": " + kCommandNames[static_cast<int>(s.command)];
    if (s.command == Command::Install)
        return text + " " + a.zips[s.zip].zip.filename().string();
    if (s.command != Command::Restore)
        text += " \"" + s.variation + "\"";
    return s.command == Command::Build
               ? text + " into " + s.extension + " from picture " + std::to_string(s.picture)
               : text;
}

struct Outcome {
    int exit = 0;
    std::vector<std::string> leftOut;
};

// File operations that fail as `rule` says, and whose syncs skip the disk.
FailingFileOperations quick(FailingFileOperations::Rule rule = [](const std::string&, const std::string&) {
    return false;
}) {
    FailingFileOperations files(std::move(rule));
    files.syncs = false;
    return files;
}

// What every writing command does first, under the build lock: finishes an interrupted run.
void recover(const Aircraft& a, FileOperations& files) {
    (void)finishInterruptedWork(findInterruptedWork(a.folder, a.app.programFolder), files);
}

// Where the next zip a step packs goes: beside the simulator's Aircraft folder.
fs::path zipFile(const Aircraft& a) {
    return a.folder.parent_path().parent_path() /
           (a.folder.filename().string() + " " + std::to_string(a.zips.size()) + ".zip");
}

// The zip of the livery titled `title` is `file`: what install will find in it.
void packed(Aircraft& a, const std::string& title, const fs::path& file) {
    if (const Livery* l = listed(a.model, title))
        a.zips.push_back(
            {{l->title, l->key, a.model.onDisk.count(l->key) ? l->files : std::set<std::string>()}, file});
}

int packStep(Aircraft& a, const Step& s, FileOperations& files) {
    BuildLock lock;
    if (Status st = lock.acquire(a.app); !st)
        return cli::exitStatus(st);
    recover(a, files);
    BuildPlan plan;
    std::vector<ZipMember> members;
    std::string zip;
    Status st = planLiveryFiles(a.app, a.title(s.variation), plan);
    if (st)
        st = packLivery(plan, a.app.settings.AircraftName, members);
    if (st)
        st = makeZip(members, zip);
    const fs::path file = zipFile(a);
    if (st)
        st = files.replaceFile(file, zip);
    if (st)
        packed(a, a.title(s.variation), file);
    return cli::exitStatus(st);
}

int installStep(Aircraft& a, const Step& s, FileOperations& files) {
    ZipReader zip;
    if (Status st = zip.open(testkit::readFile(a.zips[s.zip].zip)); !st)
        return cli::exitStatus(st);
    BuildLock lock;
    Status st = lock.acquire(a.app);
    if (!st)
        return cli::exitStatus(st);
    recover(a, files);
    InstallPlan plan;
    st = planLiveryInstall(a.app, zip, plan);
    if (st)
        st = InstallLivery(a.app.extraFields, a.frontend, zip, plan, files);
    return cli::exitStatus(st);
}

// Runs the step in this process, as its command runs it, through `files`.
Outcome run(Aircraft& a, const Step& s, FileOperations& files) {
    Application& app = a.app;
    const std::string title = a.title(s.variation);
    switch (s.command) {
    case Command::Build: {
        RepaintSettings& r = app.settings;
        r.Variation = s.variation;
        r.FolderExtension = s.extension;
        r.TailNumber = "N" + std::to_string(s.picture);
        r.Callsign = "*NONE*";
        EXPECT_TRUE(LoadTemplate(app.spec, app.surfaces, app.frontend, a.pictures[s.picture].string()));
        TextureBuildReport report;
        BuildPlan plan;
        const Status st = CreateRepaint(app, files, &report, &plan);
        if (st)
            a.plans[toUpper(title)] = plan;
        return {st ? (report.skipped.empty() ? 0 : 1) : cli::exitStatus(st), report.skipped};
    }
    case Command::Remove: {
        LiveryRemoval removal;
        return {cli::exitStatus(RemoveLivery(app, app.frontend, title, false, removal, files)), {}};
    }
    case Command::Pack:
        return {packStep(a, s, files), {}};
    case Command::Install:
        return {installStep(a, s, files), {}};
    case Command::Restore: {
        BuildLock lock;
        Status st = lock.acquire(app);
        if (st) {
            recover(a, files);
            st = RestoreAircraftCfg(app, false, files);
        }
        return {cli::exitStatus(st), {}};
    }
    case Command::Rebuild: {
        EXPECT_TRUE(LoadTemplate(app.spec, app.surfaces, app.frontend, a.pictures[0].string()));
        const TextureRebuild rebuilt =
            RebuildTextures(app, app.surfaces, app.frontend, a.plans.at(toUpper(title)),
                            a.pictures[s.picture].string(), loadedPictureShape(app.surfaces), files);
        using O = TextureRebuild::Outcome;
        const int exit = rebuilt.outcome == O::Rebuilt ? (rebuilt.report.skipped.empty() ? 0 : 1)
                         : rebuilt.outcome == O::Busy  ? 3
                                                       : 2;
        return {exit, rebuilt.report.skipped};
    }
    }
    return {};
}

// The liveries as `list` shows them, and as the model has them: upper-case titles and keys.
std::string listText(const Aircraft& a) {
    std::vector<LiveryListing> list;
    if (Status s = listLiveries(a.app, list); !s)
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

// The first ways the aircraft differs from its model, "" when it holds it. `before` is the
// aircraft folder before the step, which may change the files of the `touched` keys only; files
// of a texture in `leftOut` may be missing; `settled` asks that no leftover be there.
std::string violations(const Aircraft& a, const Snapshot& before, const std::set<std::string>& touched,
                       const std::vector<std::string>& leftOut, bool settled) {
    std::ostringstream out;
    const Model& m = a.model;
    if (const std::string listed = listText(a); listed != listText(m.cfg))
        out << "list:" << listed << "\nmodel:" << listText(m.cfg) << "\n";

    const Snapshot after = testkit::snapshot(a.folder);
    std::map<std::string, std::string> byUpper;
    for (const auto& [path, entry] : after)
        byUpper[upperPath(path)] = path;
    for (const Livery& l : m.cfg) {
        if (m.onDisk.count(l.key) == 0)
            continue;
        for (const std::string& file : l.files) {
            const auto found = byUpper.find(file);
            const bool excused = std::any_of(leftOut.begin(), leftOut.end(), [&](const std::string& why) {
                return toUpper(why).find(fs::path(file).stem().string()) != std::string::npos;
            });
            if (found == byUpper.end()) {
                if (!excused)
                    out << l.title << ": " << file << " is missing\n";
                continue;
            }
            const std::string& bytes = std::get<2>(after.at(found->second));
            const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.data());
            DecodedTexture texture;
            const bool extra = std::any_of(
                a.app.extraTextures.ExtraTextureNames.begin(), a.app.extraTextures.ExtraTextureNames.end(),
                [&](const std::string& n) { return file.ends_with("/" + toUpper(n)); });
            // The demo installs its liveries' textures as plain bitmaps, which the simulator reads too.
            const bool whole = !file.ends_with(".BMP")
                                   ? !bytes.empty()
                                   : (!extra && decodeTexture({data, bytes.size()}, texture).ok()) ||
                                         readBmpFile(a.folder / found->second).has_value();
            if (!whole)
                out << l.title << ": " << file << " does not decode\n";
        }
    }
    auto exempt = [&](const std::string& path) {
        const std::string upper = upperPath(path);
        if (upper == "AIRCRAFT.CFG" || upper == "AIRCRAFT.BAK" || upper == "AIRCRAFT.ORIGINAL" ||
            isLeftover(path))
            return true;
        return std::any_of(touched.begin(), touched.end(),
                           [&](const std::string& k) { return a.owns(k, upper); });
    };
    for (const auto& [path, entry] : before)
        if (!exempt(path) && (after.count(path) == 0 || after.at(path) != entry))
            out << path << " changed, and the step was not to touch it\n";
    for (const auto& [path, entry] : after) {
        if (!exempt(path) && before.count(path) == 0)
            out << path << " appeared, and the step was not to make it\n";
        if (settled && isLeftover(path))
            out << path << " is left over\n";
        for (const std::string& key : a.keys())
            if (settled && m.onDisk.count(key) == 0 && a.owns(key, upperPath(path)))
                out << path << " is left of a livery that is gone\n";
    }
    for (const fs::directory_entry& e : fs::directory_iterator(a.app.programFolder / "TempBitmaps"))
        if (settled && isLeftover(e.path()))
            out << e.path() << " is left over\n";
    return out.str();
}

// Puts a folder back as a snapshot had it, touching only what differs.
void restoreFolder(const fs::path& folder, const Snapshot& snap) {
    const Snapshot now = testkit::snapshot(folder);
    for (auto it = now.rbegin(); it != now.rend(); ++it) // the deepest first
        if (snap.count(it->first) == 0 || std::get<0>(snap.at(it->first)) != std::get<0>(it->second))
            fs::remove_all(folder / it->first);
    for (const auto& [path, entry] : snap) {
        const auto& [type, perms, bytes] = entry;
        if (const auto same = now.find(path); same != now.end() && same->second == entry)
            continue;
        if (type == fs::file_type::directory)
            fs::create_directories(folder / path);
        else
            testkit::writeFile(folder / path, bytes);
        fs::permissions(folder / path, perms);
    }
}

// The aircraft and what the test knows of it, to run a step again from the same start.
struct Start {
    explicit Start(const Aircraft& a)
        : folder(testkit::snapshot(a.folder)), temp(testkit::snapshot(a.app.programFolder / "TempBitmaps")),
          model(a.model), plans(a.plans), zips(a.zips) {}
    void putBack(Aircraft& a) const {
        restoreFolder(a.folder, folder);
        restoreFolder(a.app.programFolder / "TempBitmaps", temp);
        a.model = model;
        a.plans = plans;
        a.zips = zips;
    }
    Snapshot folder, temp;
    Model model;
    std::map<std::string, BuildPlan> plans;
    std::vector<Packed> zips;
};

// Runs `s` once for each of its file operations, that one failing, each time from the same start,
// and then once more with none failing, which the aircraft keeps. Each run must change nothing or
// complete, and the next command's recovery leave nothing over. Gives the number of runs.
int failEachOperation(Aircraft& a, const Step& s, const std::set<std::string>& alsoTouched,
                      const std::string& seed) {
    const Start start(a);
    const std::string cfgBefore = testkit::readFile(existingEntry(a.folder, "Aircraft.cfg"));
    Expected e = predict(a, s);
    e.touched.insert(alsoTouched.begin(), alsoTouched.end());
    const bool writesCfg = s.command != Command::Pack && s.command != Command::Rebuild;
    for (int n = 1;; ++n) {
        start.putBack(a);
        int count = 0;
        FailingFileOperations files =
            quick([&](const std::string&, const std::string&) { return ++count == n; });
        const Outcome o = run(a, s, files);
        const bool cfgChanged = testkit::readFile(existingEntry(a.folder, "Aircraft.cfg")) != cfgBefore;
        const bool completed = files.failures == 0 || (writesCfg ? cfgChanged : o.exit == 0);
        a.model = completed ? e.after : start.model;
        a.model.bak = a.backup();
        std::string found = violations(a, start.folder, e.touched, o.leftOut, false);
        if (completed ? o.exit > 1 : o.exit == 0)
            found += "ended with " + std::to_string(o.exit) +
                     (completed ? ", yet completed\n" : ", yet did not complete\n");
        FailingFileOperations next = quick();
        recover(a, next);
        found += violations(a, start.folder, e.touched, o.leftOut, true);
        const std::string label =
            seed + ", " + describe(a, s) + ", operation " + std::to_string(n) + " (" +
            (files.failures == 0 ? "none" : files.log[static_cast<std::size_t>(n) - 1]) + ") failing";
        EXPECT_EQ(found, "") << label;
        if (files.failures == 0) {
            EXPECT_EQ(o.exit, e.exit) << label;
            return n;
        }
        if (!found.empty()) // the rest would say the same: the step is run once more, whole
            n = std::numeric_limits<int>::max() - 1;
    }
}

// A build killed at its middle file operation: from there on none happens, as after a kill.
std::set<std::string> killMidway(Aircraft& a, const Step& build) {
    const Start start(a);
    FailingFileOperations counting = quick();
    run(a, build, counting);
    start.putBack(a);
    const std::size_t middle = counting.log.size() / 2;
    std::size_t count = 0;
    FailingFileOperations dead =
        quick([&](const std::string&, const std::string&) { return ++count > middle; });
    EXPECT_NE(run(a, build, dead).exit, 0);
    return predict(a, build).touched;
}

// One step of each command on each aircraft, from a start where each does its work: a new
// livery, the same title into its folder, pack, install, remove, the same title into another
// folder, a texture rebuild, and restore after a build killed midway.
int failureMode(std::vector<std::unique_ptr<Aircraft>>& aircraft, const std::string& seed) {
    int runs = 0;
    using C = Command;
    for (std::unique_ptr<Aircraft>& a : aircraft) {
        FailingFileOperations none = quick();
        for (const Step& s : {Step{C::Build, "Alpha", "Kaa"}, Step{C::Build, "Bravo", "kab"},
                              Step{C::Pack, "Bravo"}, Step{C::Remove, "Bravo"}}) {
            a->model = predict(*a, s).after;
            EXPECT_EQ(run(*a, s, none).exit, 0) << describe(*a, s);
        }
        for (const Step& s :
             {Step{C::Build, "Charlie", "KAC"}, Step{C::Build, "Alpha", "Kaa", 1}, Step{C::Pack, "Alpha"},
              Step{C::Install, "", "", 0, 0}, Step{C::Remove, "Charlie"}, Step{C::Build, "Alpha", "KAC"},
              Step{C::Rebuild, "Alpha", "", 1}})
            runs += failEachOperation(*a, s, {}, seed);
        const std::set<std::string> killed = killMidway(*a, {C::Build, "Charlie", "Kaa"});
        runs += failEachOperation(*a, {C::Restore}, killed, seed);
    }
    return runs;
}

// A folder in memory where the system has one: the test's many small files take minutes on a busy
// disk.
fs::path quickFolder() {
    std::error_code ec;
    return fs::is_directory("/dev/shm", ec) ? fs::path("/dev/shm") : fs::temp_directory_path();
}

// An installation of every kind in `dir`, each aircraft with the liveries steps choose from.
std::vector<std::unique_ptr<Aircraft>> installation(const fs::path& dir) {
    DemoInstallation made;
    EXPECT_TRUE(CreateDemoInstallation(dir, made, std::vector(std::begin(kKinds), std::end(kKinds))));
    std::vector<std::unique_ptr<Aircraft>> aircraft;
    for (std::size_t i = 0; i < made.aircraft.size(); ++i) {
        aircraft.push_back(std::make_unique<Aircraft>(made, i));
        for (const char* variation : {"Alpha", "Bravo", "Charlie"})
            for (const char* extension : {"Kaa", "kab", "KAC", "kaa"})
                aircraft.back()->liveries.push_back({variation, extension});
    }
    return aircraft;
}

// Seeded random steps, each held against the model. Gives the number of steps.
int randomMode(std::vector<std::unique_ptr<Aircraft>>& aircraft, std::uint32_t seed, int count) {
    std::mt19937 rng(seed);
    FailingFileOperations none = quick();
    for (int step = 0; step < count; ++step) {
        Aircraft& a = *aircraft[rng() % aircraft.size()];
        const Step s = randomStep(a, rng);
        const Expected e = predict(a, s);
        const Snapshot before = testkit::snapshot(a.folder);
        const Outcome o = run(a, s, none);
        a.model = e.after;
        const std::string label = "LIVRANO_MODEL_SEED=" + std::to_string(seed) + ", step " +
                                  std::to_string(step) + ", " + describe(a, s);
        EXPECT_EQ(o.exit, e.exit) << label;
        const std::string found = violations(a, before, e.touched, o.leftOut, true);
        EXPECT_EQ(found, "") << label;
        if (o.exit != e.exit || !found.empty())
            return step + 1;
    }
    return count;
}

// The step as a painter types it.
std::string commandLine(const Aircraft& a, const Step& s) {
    using testkit::shellQuoted;
    static const char* const kCli[] = {"build", "remove", "pack", "install-livery", "restore", "build"};
    std::string line = std::string(kCli[static_cast<int>(s.command)]) + " --program-folder " +
                       shellQuoted(a.app.programFolder.string()) + " --aircraft " +
                       shellQuoted(a.app.spec.AircraftDisplayName) + " ";
    const std::string title = shellQuoted(a.title(s.variation));
    switch (s.command) {
    case Command::Build:
    case Command::Rebuild:
        return line + "--template " + shellQuoted(a.pictures[s.picture].string()) + " --variation " +
               shellQuoted(s.variation) + " --folder " + shellQuoted(s.extension) + " --tail N" +
               std::to_string(s.picture);
    case Command::Remove:
        return line + "--title " + title;
    case Command::Pack:
        return line + "--title " + title + " " + shellQuoted(zipFile(a).string());
    case Command::Install:
        return line + shellQuoted(a.zips[s.zip].zip.string());
    case Command::Restore:
        return line;
    }
    return line;
}

// The aircraft holds what the step started from or what it makes (the first found): "" when it
// holds one of them, else why not.
std::string startOrEnd(Aircraft& a, const Model& start, const Expected& e, const Snapshot& before,
                       bool settled) {
    std::string wrong;
    for (const Model* m : {&e.after, &start}) {
        a.model = *m;
        a.model.bak = a.backup(); // a killed step may or may not have backed aircraft.cfg up
        wrong = violations(a, before, e.touched, {}, settled);
        if (wrong.empty())
            return wrong;
    }
    return wrong;
}

// Random steps through the real livrano-cli for `minutes`, half of them killed (SIGKILL, from the
// `timeout` that starts it) at a random moment within the command's usual time. After a kill the
// aircraft holds what the step started from or what it makes, and the next command's recovery
// leaves nothing over.
int soakMode(std::vector<std::unique_ptr<Aircraft>>& aircraft, std::uint32_t seed, double minutes) {
    std::mt19937 rng(seed);
    std::map<Command, double> usual; // seconds, of the runs not killed
    std::map<const Aircraft*, std::string> history;
    int steps = 0, kills = 0, found = 0;
    using Clock = std::chrono::steady_clock;
    const auto length =
        std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(60 * minutes));
    for (const Clock::time_point end = Clock::now() + length; Clock::now() < end; ++steps) {
        Aircraft& a = *aircraft[rng() % aircraft.size()];
        Step s = randomStep(a, rng);
        if (s.command == Command::Rebuild)
            s.command = Command::Build;
        const Expected e = predict(a, s);
        const Model start = a.model;
        const Snapshot before = testkit::snapshot(a.folder);
        const fs::path zip = zipFile(a);
        const bool kill = rng() % 2 == 0;
        const double delay = std::uniform_real_distribution<double>(
            0.0, 1.2 * usual.try_emplace(s.command, 0.05).first->second)(rng);
        const Clock::time_point started = Clock::now();
        const testkit::CliRun r =
            testkit::runCli(commandLine(a, s), kill ? "timeout -s KILL " + std::to_string(delay) : "");
        const bool killed = r.exitCode == 128 + 9;
        history[&a] += "\n  step " + std::to_string(steps) + ", " + describe(a, s) + ": " +
                       (killed ? "killed" : std::to_string(r.exitCode));
        std::string wrong;
        if (killed) {
            ++kills;
            wrong = startOrEnd(a, start, e, before, false);
            // The next command; the killed one may hold its lock a moment longer, as it dies.
            testkit::CliRun next;
            for (int tries = 0; tries < 100 && (tries == 0 || next.exitCode == 3); ++tries) {
                if (tries > 0)
                    std::this_thread::sleep_for(std::chrono::milliseconds(20));
                next = testkit::runCli(commandLine(a, {Command::Remove, "No Such Livery"}));
            }
            if (next.exitCode != 2)
                wrong += "the command after the kill ended with " + std::to_string(next.exitCode) + ": " +
                         next.err;
            wrong += startOrEnd(a, start, e, before, true);
        } else {
            usual[s.command] =
                0.8 * usual[s.command] + 0.2 * std::chrono::duration<double>(Clock::now() - started).count();
            if (r.exitCode != e.exit)
                wrong += "ended with " + std::to_string(r.exitCode) + ", not " + std::to_string(e.exit) +
                         ": " + r.err;
            a.model = e.after;
            if (s.command == Command::Pack && r.exitCode == 0)
                packed(a, a.title(s.variation), zip);
            wrong += violations(a, before, e.touched, {}, true);
        }
        if (!wrong.empty()) {
            ++found;
            std::printf("LIVRANO_MODEL_SEED=%u, after%s:\n%s\n", seed, history[&a].c_str(), wrong.c_str());
            a.model = a.fromDisk(); // go on from what is there
        }
        if (history[&a].size() > 1000)
            history[&a].erase(0, history[&a].find('\n', 500));
    }
    std::printf("steps %d, kills %d, violations %d\n", steps, kills, found);
    return found;
}

} // namespace

TEST(WritingCommands, HoldTheModelOnEveryKindOfAircraft) {
    const char* chosen = std::getenv("LIVRANO_MODEL_SEED");
    const std::uint32_t seed =
        chosen ? static_cast<std::uint32_t>(std::stoul(chosen)) : std::random_device()();
    if (const char* minutes = std::getenv("LIVRANO_SOAK_MINUTES")) {
        testkit::TempDir dir(quickFolder());
        std::vector<std::unique_ptr<Aircraft>> aircraft = installation(dir.path());
        EXPECT_EQ(soakMode(aircraft, seed, std::stod(minutes)), 0) << "LIVRANO_MODEL_SEED=" << seed;
        return;
    }
    {
        testkit::TempDir dir(quickFolder());
        std::vector<std::unique_ptr<Aircraft>> aircraft = installation(dir.path());
        std::printf("random steps: %d\n", randomMode(aircraft, seed, 200));
    }
    testkit::TempDir dir(quickFolder());
    std::vector<std::unique_ptr<Aircraft>> aircraft = installation(dir.path());
    std::printf("failure runs: %d\n", failureMode(aircraft, "LIVRANO_MODEL_SEED=" + std::to_string(seed)));
}

} // namespace livrano
