// SPDX-License-Identifier: MIT
#include "output/livery_install.h"

#include <algorithm>
#include <set>
#include <system_error>

#include "app/code_page.h"
#include "app/file_names.h"
#include "app/text.h"
#include "output/aircraft_cfg.h"
#include "output/fltsim_snippet.h"
#include "output/variation_layout.h"

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

// Places each member in the aircraft folder: the files and new folders of `planned`, the members
// left out, and what the zip brings. Refuses a member that would overwrite anything or take
// another livery's folder.
Status placeMembers(const ZipReader& zip, const std::vector<Member>& members, InstallPlan& planned,
                    Brought& brought) {
    const fs::path& aircraft = planned.cfg.aircraftFolder;
    for (const Member& m : members) {
        const std::string& first = m.parts.front();
        const bool air = m.parts.size() == 1 && !m.folder && endsNoCase(first, ".air");
        const std::uint64_t size = zip.entries()[m.index].size;
        if (!m.folder && size <= kMaxSnippetBytes &&
            (endsNoCase(first, ".cfg") || endsNoCase(first, ".txt") || endsNoCase(first, ".ini"))) {
            std::string text;
            if (Status s = zip.read(m.index, text); !s)
                return s;
            if (holdsFltsimSection(text))
                brought.snippets.push_back(&m);
        }
        if (!air && !(liveryFolder(first) && (m.parts.size() > 1 || m.folder))) {
            planned.leftOut.push_back(m.name);
            continue;
        }
        if (!brought.names.insert(toUpper(joined(m.parts, m.parts.size()))).second)
            return refused(m.name, "is in the zip twice");
        std::error_code ec;
        // Only the shared texture folder is there already; every other folder is new.
        const bool shared = equalsNoCase(first, "Texture");
        fs::path path = shared ? existingEntry(aircraft, first) : aircraft / pathFromWindows1252(first);
        if (!air && brought.topFolders.insert(toUpper(first)).second) {
            if (!shared && fs::exists(existingEntry(aircraft, first), ec))
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
        if (fs::exists(found, ec) && !(shared && m.parts.size() == 1))
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

// The entry must find its files, or the simulator shows a livery without them.
Status checkEntryFiles(const FltsimEntry& entry, const fs::path& aircraft, const Brought& brought) {
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

} // namespace

Status planLiveryInstall(const RepaintInputs& repaint, const ZipReader& zip, InstallPlan& plan) {
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
    const std::vector<const Member*>& snippets = brought.snippets;
    if (planned.files.empty())
        return Status::Refused(
            "The zip holds no texture folder (Texture.XXX), model folder or flight model to install; nothing was installed.");
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
    FltsimEntry& entry = planned.cfg.entry;
    if (Status s = readFltsimSnippet(repaint.extraFields, text, entry); !s)
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
    std::vector<fs::path> made;
    std::vector<fs::path> written;
    // Taking the install back is best effort: the failure that stopped it is the one to report.
    auto undo = [&](Status why) {
        for (auto it = written.rbegin(); it != written.rend(); ++it)
            (void)files.removeFile(*it);
        for (auto it = made.rbegin(); it != made.rend(); ++it)
            (void)files.removeEmptyDirectory(*it);
        return why;
    };
    for (const fs::path& folder : plan.folders) {
        if (Status s = files.createDirectory(folder); !s)
            return undo(s);
        made.push_back(folder);
    }
    for (const InstalledFile& f : plan.files) {
        std::string bytes;
        if (Status s = zip.read(f.zipIndex, bytes); !s)
            return undo(s);
        if (Status s = files.replaceFile(f.destination, bytes); !s)
            return undo(s);
        written.push_back(f.destination);
    }
    if (Status s = WriteAircraftCfg(extraFields, frontend, plan.cfg, files); !s)
        return undo(s);
    return Status::Ok();
}

} // namespace livrano
