// SPDX-License-Identifier: MIT
#include "output/livery_install.h"

#include <algorithm>
#include <map>
#include <set>
#include <system_error>

#include "app/checksum.h"
#include "app/code_page.h"
#include "app/file_names.h"
#include "app/text.h"
#include "output/aircraft_cfg.h"
#include "output/file_system_limits.h"
#include "output/fltsim_snippet.h"
#include "output/interrupted_work.h"
#include "output/variation_layout.h"
#include "output/work_journal.h"

namespace livrano {

namespace fs = std::filesystem;

namespace {

// Text files this large are no aircraft.cfg snippet.
constexpr std::uint64_t kMaxSnippetBytes = 1 << 20;

struct Member {
    std::size_t index = 0;
    std::string name;               // as the zip names it, UTF-8, for messages
    std::vector<std::string> parts; // Windows-1252 names, outermost first
    bool folder = false;
};

bool startsNoCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && equalsNoCase(text.substr(0, prefix.size()), prefix);
}

bool endsNoCase(std::string_view text, std::string_view suffix) {
    return text.size() >= suffix.size() && equalsNoCase(text.substr(text.size() - suffix.size()), suffix);
}

// A folder the simulator reads a livery from.
bool liveryFolder(std::string_view name) {
    return equalsNoCase(name, "Texture") || startsNoCase(name, "Texture.") || startsNoCase(name, "Model.");
}

Status refused(const std::string& name, const std::string& why) {
    return Status::Refused("The zip's entry \"" + name + "\" " + why + "; nothing was installed.");
}

Status readMember(const ZipEntry& entry, std::size_t index, Member& member) {
    member.index = index;
    member.name = entry.name;
    member.folder = entry.folder;
    if (entry.link)
        return refused(entry.name, "is a link, which could lead out of the aircraft folder");
    if (entry.rawName.find('\\') != std::string::npos)
        return refused(entry.name, "holds a backslash, which could lead out of the aircraft folder");
    if (entry.name.starts_with('/'))
        return refused(entry.name, "is an absolute path");
    std::string bytes;
    if (!windows1252FromUtf8("name", entry.name, bytes))
        return refused(entry.name,
                       "is in an encoding the program cannot read into the simulator's Windows-1252 names");
    std::string_view rest = bytes;
    if (member.folder)
        rest.remove_suffix(1);
    for (std::size_t start = 0;;) {
        const std::size_t slash = rest.find('/', start);
        member.parts.emplace_back(
            rest.substr(start, slash == std::string_view::npos ? slash : slash - start));
        if (slash == std::string_view::npos)
            break;
        start = slash + 1;
    }
    for (const std::string& part : member.parts) {
        if (part == "..")
            return refused(entry.name, "leads out of the aircraft folder (\"..\")");
        if (part.size() >= 2 && part[1] == ':')
            return refused(entry.name, "names a drive");
        if (Status s = checkSafeFileName("name", part); !s)
            return refused(entry.name, "cannot be a file name: " + s.text());
    }
    return Status::Ok();
}

// A flight model beside aircraft.cfg, or what is in a livery folder; the rest is left out.
bool installs(const Member& m) {
    const std::string& first = m.parts.front();
    if (m.parts.size() == 1 && !m.folder)
        return endsNoCase(first, ".air");
    return liveryFolder(first);
}

std::string joined(const std::vector<std::string>& parts, std::size_t count) {
    std::string name;
    for (std::size_t i = 0; i < count; ++i)
        name += (i == 0 ? "" : "/") + parts[i];
    return name;
}

// What the zip brings, as the plan places it: the upper-case names of its files and of its top
// folders, and the members that hold an [fltsim.X] section.
struct Brought {
    std::vector<const Member*> snippets;
    std::set<std::string> names;
    std::set<std::string> topFolders;
    std::map<std::string, std::string> folders; // every folder a file goes in: upper case, as spelt
};

// The zip's members, checked; a zip made by zipping the livery's own folder is taken as the
// folder's content.
Status readMembers(const ZipReader& zip, std::vector<Member>& members) {
    for (std::size_t i = 0; i < zip.entries().size(); ++i) {
        Member m;
        if (Status s = readMember(zip.entries()[i], i, m); !s)
            return s;
        members.push_back(std::move(m));
    }
    if (!members.empty() && !liveryFolder(members.front().parts.front())) {
        const std::string outer = members.front().parts.front();
        const bool wrapped = std::all_of(members.begin(), members.end(), [&](const Member& m) {
            return equalsNoCase(m.parts.front(), outer) && (m.parts.size() > 1 || m.folder);
        });
        if (wrapped) {
            std::erase_if(members, [](const Member& m) { return m.parts.size() == 1; });
            for (Member& m : members)
                m.parts.erase(m.parts.begin());
        }
    }
    return Status::Ok();
}

// Something is there, be it a link that leads nowhere: writing through it would put the file
// wherever the link points.
bool present(const fs::path& path) {
    std::error_code ec;
    return fs::exists(fs::symlink_status(path, ec));
}

// Windows, and the simulator on it, takes names that differ only in case for one folder; on Linux
// they would be two, and the livery would read from one of them only.
Status checkCaseTwins(const Member& m, Brought& brought) {
    const std::size_t depth = m.folder ? m.parts.size() : m.parts.size() - 1;
    for (std::size_t k = 1; k <= depth; ++k) {
        const std::string name = joined(m.parts, k);
        const auto [at, added] = brought.folders.emplace(toUpper(name), name);
        if (!added && at->second != name)
            return refused(m.name, "differs only in case from the folder \"" +
                                       utf8FromWindows1252(at->second) +
                                       "\", which Windows takes for the same folder");
    }
    return Status::Ok();
}

// Places each member in the aircraft folder: the files and new folders of `planned`, the members
// left out, and what the zip brings. Refuses a member that would overwrite anything or take
// another livery's folder.
Status placeMembers(const ZipReader& zip, const std::vector<Member>& members, InstallPlan& planned,
                    Brought& brought) {
    const fs::path& aircraft = planned.cfg.aircraftFolder;
    for (const Member& m : members) {
        const std::string& first = m.parts.front();
        const bool air = m.parts.size() == 1 && !m.folder;
        const std::uint64_t size = zip.entries()[m.index].size;
        if (!m.folder && size <= kMaxSnippetBytes &&
            (endsNoCase(first, ".cfg") || endsNoCase(first, ".txt") || endsNoCase(first, ".ini"))) {
            std::string text;
            if (Status s = zip.read(m.index, text); !s)
                return s;
            if (holdsFltsimSection(text))
                brought.snippets.push_back(&m);
        }
        if (!installs(m)) {
            planned.leftOut.push_back(m.name);
            continue;
        }
        if (Status s = checkCaseTwins(m, brought); !s)
            return s;
        if (!m.folder && !brought.names.insert(toUpper(joined(m.parts, m.parts.size()))).second)
            return refused(m.name, "is in the zip twice");
        std::error_code ec;
        // Only the shared texture folder is there already; every other folder is new.
        const bool shared = equalsNoCase(first, "Texture");
        fs::path path = shared ? existingEntry(aircraft, first) : aircraft / pathFromWindows1252(first);
        if (!air && brought.topFolders.insert(toUpper(first)).second) {
            if (!shared && present(existingEntry(aircraft, first)))
                return refused(m.name,
                               "would overwrite the folder " + existingEntry(aircraft, first).string());
            for (const FltsimEntry& e : planned.cfg.entries) {
                if ((!e.texture.empty() && equalsNoCase(first, "Texture." + e.texture)) ||
                    (!shared && !e.model.empty() && equalsNoCase(first, "Model." + e.model)))
                    return refused(m.name,
                                   "is the folder of the livery \"" + utf8FromWindows1252(e.title) + "\"");
            }
        }
        for (std::size_t k = 1; k < m.parts.size(); ++k)
            path /= pathFromWindows1252(m.parts[k]);
        const fs::path found = existingEntry(path.parent_path(), m.parts.back());
        if (present(found) && !(shared && m.parts.size() == 1))
            return refused(m.name, "would overwrite " + found.string());
        for (fs::path folder = m.folder ? path : path.parent_path(); folder != aircraft;
             folder = folder.parent_path()) {
            if (!fs::exists(folder, ec) &&
                std::find(planned.folders.begin(), planned.folders.end(), folder) == planned.folders.end())
                planned.folders.push_back(folder);
        }
        if (!m.folder)
            planned.files.push_back({m.index, path});
    }
    return Status::Ok();
}

// The entry's section goes into aircraft.cfg as it stands, so it must hold what a build would
// write there: values that read back as they are, and no control character anywhere (a comment or
// a key repeated further down, which no reader reads, is written too).
Status checkEntryValues(const FltsimEntry& entry) {
    const bool control = std::any_of(entry.section.begin(), entry.section.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return (byte < 0x20 && c != '\t' && c != '\r' && c != '\n') || byte == 0x7F;
    });
    if (control)
        return Status::Refused(
            "The livery's [fltsim.X] section holds a control character, which would break aircraft.cfg; nothing was installed.");
    const ProfileDocument section(entry.section);
    const std::string name = "fltsim." + std::to_string(entry.number);
    for (const auto& [key, written] : section.keys(name)) {
        // As a reader takes it, enclosing quotation marks dropped, but whole.
        if (Status s = checkFltsimValue(key, section.find(name, key, written.size()).value_or("")); !s)
            return s;
    }
    return Status::Ok();
}

// The entry must find its files, or the simulator shows a livery without them; and the names it
// gives them must stay in the aircraft folder, as the names a build writes do.
Status checkEntryFiles(const FltsimEntry& entry, const fs::path& aircraft, const Brought& brought) {
    const std::pair<const char*, std::string> names[] = {
        {"texture folder (texture=)", entry.texture.empty() ? "" : "Texture." + entry.texture},
        {"model folder (model=)", entry.model.empty() ? "" : "Model." + entry.model},
        {"flight model (sim=)", entry.sim.empty() ? "" : entry.sim + ".air"}};
    for (const auto& [what, name] : names) {
        if (Status s = name.empty() ? Status::Ok() : checkSafeFileName(what, name); !s)
            return s;
    }
    std::error_code ec;
    auto named = [&](const std::string& what, const std::string& name, bool folder) -> Status {
        const bool inZip =
            folder ? brought.topFolders.count(toUpper(name)) != 0 : brought.names.count(toUpper(name)) != 0;
        if (inZip || fs::exists(existingEntry(aircraft, name), ec))
            return Status::Ok();
        return Status::Refused("The livery's entry names the " + what + " " + utf8FromWindows1252(name) +
                               ", which neither the zip nor the aircraft has; nothing was installed.");
    };
    if (!entry.texture.empty()) {
        if (brought.topFolders.count(toUpper("Texture." + entry.texture)) == 0)
            return Status::Refused("The livery's entry names the texture folder Texture." +
                                   utf8FromWindows1252(entry.texture) +
                                   ", which the zip does not hold; nothing was installed.");
    }
    if (!entry.model.empty()) {
        if (Status s = named("model folder", "Model." + entry.model, true); !s)
            return s;
    }
    if (!entry.sim.empty()) {
        if (Status s = named("flight model", entry.sim + ".air", false); !s)
            return s;
    }
    return Status::Ok();
}

// What `remove` takes away with the livery, found as it finds it: the files directly in the
// livery's own texture folder, or its textures in the shared one; where each livery has a model
// of its own, the model folder's Model.cfg and model file; a flight-model copy. Names in upper case.
struct TakenAway {
    std::string textureFolder; // empty when the livery's textures are in the shared folder
    std::set<std::string> sharedTextures;
    std::string modelFolder;
    std::set<std::string> modelFiles;
    std::set<std::string> air; // by its model value, and the one its entry flies
};

TakenAway takenAway(const RepaintInputs& repaint, const FltsimEntry& entry) {
    const AircraftSpec& spec = repaint.spec;
    const std::string id = toUpper(entry.model);
    TakenAway taken;
    std::string name;
    if (!entry.texture.empty()) {
        taken.textureFolder = toUpper("Texture." + entry.texture);
    } else {
        for (const TextureSpec& t : spec.Textures) {
            if (variationName(repaint, "texture", t.BaseTextureName, t.ReplaceMask, id, name))
                taken.sharedTextures.insert(toUpper(name + textureFileExtension(t)));
        }
    }
    if (spec.TextureAssignOnly == 0 && !entry.model.empty()) {
        taken.modelFolder = toUpper("Model." + entry.model);
        taken.modelFiles.insert("MODEL.CFG");
        if (modelName(repaint, id, name))
            taken.modelFiles.insert(toUpper(name + ".mdl"));
    }
    if (spec.CopyRenameAirFile == 1 && airName(repaint, id, name))
        taken.air.insert(toUpper(name + ".air"));
    if (spec.CopyRenameAirFile == 1 && !trim(entry.sim).empty())
        taken.air.insert(toUpper(trim(entry.sim) + ".air"));
    return taken;
}

// Whatever the zip puts where `remove` would not look stays behind when the livery is taken out:
// in another livery's folder, or the aircraft's own, or beside the livery's files.
Status checkTakenAway(const std::vector<Member>& members, const TakenAway& taken) {
    for (const Member& m : members) {
        if (!installs(m))
            continue;
        const std::string first = toUpper(m.parts.front());
        const std::string last = toUpper(m.parts.back());
        const bool top = m.parts.size() == 1;
        const bool inFolder = m.parts.size() == 2 && !m.folder;
        bool named = true;
        bool taking = false;
        if (top && !m.folder) {
            taking = taken.air.count(last) != 0;
        } else if (!taken.textureFolder.empty() ? first == taken.textureFolder : first == "TEXTURE") {
            taking =
                top || (inFolder && (!taken.textureFolder.empty() || taken.sharedTextures.count(last) != 0));
        } else if (!taken.modelFolder.empty() && first == taken.modelFolder) {
            taking = top || (inFolder && taken.modelFiles.count(last) != 0);
        } else {
            named = false;
        }
        if (!named)
            return refused(
                m.name,
                "is in a folder that is not the livery's own, so removing the livery would leave it behind");
        if (!taking)
            return refused(
                m.name,
                "would stay behind when the livery is removed: only the files directly in its texture folder, its textures in the shared one, its model file, Model.cfg and flight model go with it");
    }
    return Status::Ok();
}

// What the file system would refuse midway, found before anything is written: a dry run refuses
// what the install itself would fail at.
Status checkWritable(const InstallPlan& planned, const ZipReader& zip, FileOperations& files) {
    const char* const doer = "Installing the livery";
    NameLengths lengths;
    for (const fs::path& folder : planned.folders) {
        if (Status s = checkPathKind(folder, true, doer); !s)
            return s;
        if (Status s = lengths.check(folder, true, doer); !s)
            return s;
    }
    std::uintmax_t bytes = planned.cfg.entry.section.size();
    for (const InstalledFile& f : planned.files) {
        if (Status s = lengths.check(f.destination, false, doer); !s)
            return s;
        bytes += zip.entries()[f.zipIndex].size;
    }
    return checkCfgRewrite(planned.cfg, files, bytes, doer);
}

// The one [fltsim.X] section of the zip, read as aircraft.cfg holds it.
Status readEntry(const RepaintInputs& repaint, const ZipReader& zip, const Brought& brought,
                 FltsimEntry& entry) {
    const std::vector<const Member*>& snippets = brought.snippets;
    if (snippets.size() != 1)
        return Status::Refused(
            snippets.empty()
                ? std::string(
                      "The zip holds no text file with an [fltsim.X] section for aircraft.cfg; nothing was installed.")
                : "The zip holds " + std::to_string(snippets.size()) +
                      " text files with an [fltsim.X] section; it must hold one. Nothing was installed.");
    std::string text;
    if (Status s = zip.read(snippets.front()->index, text); !s)
        return s;
    if (Status s = readFltsimSnippet(repaint.extraFields, text, entry); !s)
        return s;
    return checkEntryValues(entry);
}

} // namespace

Status planLiveryInstall(const RepaintInputs& repaint, const ZipReader& zip, InstallPlan& plan,
                         FileOperations& files) {
    InstallPlan planned;
    if (Status s = planConfigurations(repaint, planned.cfg); !s)
        return s;
    if (Status s = checkInstalledCfgWritable(planned.cfg.installedCfg); !s)
        return s;
    std::vector<Member> members;
    if (Status s = readMembers(zip, members); !s)
        return s;
    Brought brought;
    if (Status s = placeMembers(zip, members, planned, brought); !s)
        return s;
    if (planned.files.empty())
        return Status::Refused(
            "The zip holds no texture folder (Texture.XXX), model folder or flight model to install; nothing was installed.");
    FltsimEntry& entry = planned.cfg.entry;
    if (Status s = readEntry(repaint, zip, brought, entry); !s)
        return s;
    for (const FltsimEntry& e : planned.cfg.entries) {
        if (equalsNoCase(trim(e.title), trim(entry.title)))
            return Status::Refused("A livery titled \"" + utf8FromWindows1252(e.title) +
                                   "\" is installed already; nothing was installed.");
    }
    if (Status s = checkRoomForLivery(planned.cfg.entries.size()); !s)
        return s;
    if (Status s = checkEntryFiles(entry, planned.cfg.aircraftFolder, brought); !s)
        return s;
    if (Status s = checkTakenAway(members, takenAway(repaint, entry)); !s)
        return s;
    // An aircraft whose folder is gone gets it back, as a build would make it.
    std::error_code ec;
    if (!fs::exists(planned.cfg.aircraftFolder, ec))
        planned.folders.push_back(planned.cfg.aircraftFolder);
    if (Status s = checkWritable(planned, zip, files); !s)
        return s;
    std::sort(planned.folders.begin(), planned.folders.end());
    // The livery's section goes in as the painter wrote it, as every carried entry does.
    BuildPlan& cfg = planned.cfg;
    cfg.entries.push_back(entry);
    cfg.numbers = fltsimNumbers(cfg.entries, cfg.others);
    cfg.numbers.pop_back();
    cfg.entryNumber = cfg.numbers.back();
    cfg.writesEntry = false;
    plan = std::move(planned);
    return Status::Ok();
}

Status InstallLivery(const ExtraFieldSpec& extraFields, Frontend& frontend, const ZipReader& zip,
                     const InstallPlan& plan, FileOperations& files) {
    // The journal is on the disk before the first file, so that the next command takes away an
    // install killed before aircraft.cfg names the livery, and leaves one killed after it.
    const fs::path& aircraft = plan.cfg.aircraftFolder;
    WorkJournal journal;
    journal.added = plan.folders;
    for (const InstalledFile& f : plan.files)
        journal.added.push_back(f.destination);
    // A failure takes the install away, unless aircraft.cfg names the livery already (its
    // replacement failing after the rename): the install is then finished instead.
    auto undo = [&](const Status& why) {
        const Status undone = settleWork(aircraft, journal, files);
        return undone ? why : Status::Error(why.message() + " " + undone.message(), why.detail());
    };
    Status step = files.makeFolder(aircraft);
    if (step)
        step = writeJournal(aircraft, journal, files);
    for (std::size_t i = 0; step && i < plan.folders.size(); ++i)
        step = files.createDirectory(plan.folders[i]);
    for (std::size_t i = 0; step && i < plan.files.size(); ++i) {
        std::string bytes;
        step = zip.read(plan.files[i].zipIndex, bytes);
        if (step)
            step = files.replaceFile(plan.files[i].destination, bytes);
    }
    std::string cfgBytes;
    if (step)
        step = ComposeAircraftCfg(extraFields, frontend, plan.cfg, cfgBytes, files);
    if (step) {
        journal.cfgHash = sha256Hex(cfgBytes);
        step = writeJournal(aircraft, journal, files);
    }
    if (step)
        step = CommitAircraftCfg(plan.cfg, cfgBytes, files);
    if (!step)
        return undo(step);
    // Installed: a journal that cannot be closed names only the livery's files, which the next
    // command keeps since aircraft.cfg is the one it names.
    (void)closeJournal(aircraft, files);
    return Status::Ok();
}

} // namespace livrano
