// SPDX-License-Identifier: MIT
#include "output/program_setup.h"

#include <algorithm>
#include <optional>
#include <system_error>

#include "app/checksum.h"
#include "app/code_page.h"
#include "app/file_bytes.h"
#include "app/file_names.h"
#include "app/program_folder.h"
#include "livrano_version.h"
#include "output/build_lock.h"
#include "output/setup_manifest.h"

namespace livrano {

namespace fs = std::filesystem;

namespace {

const char* const kEmptyFolders[] = {"Templates", "TempBitmaps", "Aircraft Configurations"};

// The installed file a painter is most likely to change (an airline of their own): when they
// have, they keep theirs and the new list is put beside it, for them to take what they want.
constexpr std::string_view kAirlineList = "Data/airlines.cfg";

// The installed files, relative with '/': the airline list, the skin files and the manual.
std::vector<std::string> sharedFiles(const fs::path& shared) {
    std::vector<std::string> files = {std::string(kAirlineList)};
    std::error_code ec;
    std::vector<std::string> media;
    for (fs::directory_iterator it(shared / "Media", ec), end; !ec && it != end; it.increment(ec)) {
        if (it->is_regular_file(ec))
            media.push_back("Media/" + it->path().filename().string());
    }
    std::sort(media.begin(), media.end());
    files.insert(files.end(), media.begin(), media.end());
    if (fs::is_regular_file(shared / "Livrano.pdf", ec))
        files.push_back("Livrano.pdf");
    return files;
}

struct Planned {
    std::string relative; // empty for airlines.cfg.new, which the manifest does not list
    std::string bytes;    // the installed file's
    std::string checksum; // of bytes
    SetupFile file;
};

SetupFile::Action actionFor(const std::optional<std::string>& existing, const std::string& checksum,
                            const SetupManifest& manifest, const std::string& relative) {
    if (!existing)
        return SetupFile::Action::Write;
    const std::string now = sha256Hex(*existing);
    if (now == checksum)
        return SetupFile::Action::Current;
    const auto written = manifest.checksums.find(relative);
    return written != manifest.checksums.end() && written->second == now ? SetupFile::Action::Refresh
                                                                         : SetupFile::Action::Keep;
}

// What to do with each installed file, from the files and the manifest as they are now; with
// `offerNew`, a kept airline list gets the installed one beside it.
Status plan(const fs::path& shared, const fs::path& programFolder, const SetupManifest& manifest,
            bool offerNew, std::vector<Planned>& planned) {
    planned.clear();
    for (const std::string& relative : sharedFiles(shared)) {
        std::optional<std::string> bytes = readFileBytes(shared / relative);
        if (!bytes)
            return Status::Refused("Cannot read the installed file " + utf8FromPath(shared / relative) + ".");
        const fs::path target = resolveCaseless(programLocation(programFolder, relative));
        const std::string checksum = sha256Hex(*bytes);
        const SetupFile::Action action = actionFor(readFileBytes(target), checksum, manifest, relative);
        planned.push_back({relative, *bytes, checksum, {target, action}});
        if (offerNew && relative == kAirlineList && action == SetupFile::Action::Keep) {
            fs::path beside = target;
            beside += ".new";
            const bool there = readFileBytes(beside) == bytes;
            planned.push_back({"",
                               std::move(*bytes),
                               checksum,
                               {beside, there ? SetupFile::Action::Current : SetupFile::Action::Write}});
        }
    }
    return Status::Ok();
}

void describe(const std::vector<Planned>& planned, ProgramSetup& result) {
    for (const Planned& p : planned) {
        result.files.push_back(p.file);
        if (p.relative.empty())
            result.newAirlineList = p.file.path;
    }
}

bool writes(const Planned& p) {
    return p.file.action == SetupFile::Action::Write || p.file.action == SetupFile::Action::Refresh;
}

// Every new file is on the disk beside its place before the first one takes it: a failure while
// writing (a full disk, a folder that cannot be written to) leaves all of them as they were. Only
// a failed rename leaves some new and some old, each whole.
Status writePlanned(FileOperations& files, const std::vector<Planned>& planned) {
    std::vector<StagedFile> staged;
    Status s = Status::Ok();
    for (const Planned& p : planned) {
        if (!writes(p))
            continue;
        if (s = files.makeFolder(p.file.path.parent_path()); !s)
            break;
        staged.emplace_back();
        if (s = stageFileBytes(p.file.path, p.bytes, files, staged.back()); !s) {
            staged.pop_back();
            break;
        }
    }
    std::size_t committed = 0;
    for (; s && committed < staged.size(); ++committed)
        s = commitStagedFile(staged[committed], files);
    for (std::size_t i = committed; i < staged.size(); ++i)
        discardStagedFile(staged[i], files);
    return s;
}

// The files, then the manifest naming this version: until it is written, the folder counts as
// the older version's, and the next refresh finds the files already in place current.
Status carryOut(FileOperations& files, const fs::path& programFolder, const std::vector<Planned>& planned,
                SetupManifest manifest, ProgramSetup& result) {
    if (Status s = writePlanned(files, planned); !s)
        return s;
    describe(planned, result);
    for (const Planned& p : planned) {
        // A kept file keeps the checksum of what a setup last wrote there, so that it stays
        // the user's until it is changed back.
        if (!p.relative.empty() && p.file.action != SetupFile::Action::Keep)
            manifest.checksums[p.relative] = p.checksum;
    }
    manifest.version = LIVRANO_VERSION;
    return files.replaceFile(programFolder / kSetupManifest, setupManifestText(manifest));
}

std::vector<fs::path> missingFolders(const fs::path& programFolder) {
    std::vector<fs::path> folders = {programFolder, programFolder / "Data", programFolder / "Media"};
    for (const char* folder : kEmptyFolders)
        folders.push_back(programFolder / folder);
    std::vector<fs::path> missing;
    std::error_code ec;
    for (const fs::path& folder : folders) {
        const fs::path found = resolveCaseless(folder);
        if (!fs::is_directory(found, ec))
            missing.push_back(found);
    }
    return missing;
}

Status recordSetup(const fs::path& programFolder, fs::path& record) {
    record = lastSetupRecord();
    if (record.empty())
        return Status::Error(
            "There is no folder to record the setup in: neither XDG_CONFIG_HOME nor HOME is set.");
    std::error_code ec;
    fs::create_directories(record.parent_path(), ec);
    return replaceFileBytes(record, fs::absolute(programFolder, ec).string() + "\n");
}

// The whole setup but its record as the last one.
Status layOut(const fs::path& shared, const fs::path& simulator, bool dryRun, bool offerNew,
              ProgramSetup& result) {
    result = ProgramSetup();
    std::error_code ec;
    const fs::path aircraft = resolveCaseless(simulator / "Aircraft");
    if (!fs::is_directory(aircraft, ec))
        return Status::Refused(
            "\"" + utf8FromPath(simulator) +
            "\" is not a simulator's folder: it has no Aircraft folder. Nothing was written.");
    if (!fs::is_regular_file(shared / "Data" / "airlines.cfg", ec))
        return Status::Refused("The installed files are missing from \"" + utf8FromPath(shared) +
                               "\". Please reinstall Livrano.");
    result.programFolder = resolveCaseless(simulator / "Corvane Software" / "Livrano");
    const std::vector<fs::path> folders = missingFolders(result.programFolder);
    std::vector<Planned> planned;
    if (dryRun) {
        result.folders = folders;
        Status s = plan(shared, result.programFolder,
                        readSetupManifest(result.programFolder).value_or(SetupManifest()), offerNew, planned);
        describe(planned, result);
        return s;
    }

    // The lock is on the folder itself, which must exist first.
    fs::create_directories(result.programFolder, ec);
    BuildLock lock;
    if (Status s = lock.acquireProgramFolder(result.programFolder); !s)
        return s;
    const SetupManifest manifest = readSetupManifest(result.programFolder).value_or(SetupManifest());
    if (Status s = plan(shared, result.programFolder, manifest, offerNew, planned); !s)
        return s;
    for (const fs::path& folder : folders) {
        if (fs::create_directories(folder, ec); ec)
            return Status::Error("Cannot make the folder " + utf8FromPath(folder) + ": " + ec.message() +
                                 ".");
        result.folders.push_back(folder);
    }
    return carryOut(systemFileOperations(), result.programFolder, planned, manifest, result);
}

// The folder needs a refresh: a setup laid it out (it has a manifest) for an older version.
std::optional<SetupManifest> olderSetup(const fs::path& programFolder) {
    std::optional<SetupManifest> manifest = readSetupManifest(programFolder);
    if (manifest && compareVersions(manifest->version, LIVRANO_VERSION) < 0)
        return manifest;
    return std::nullopt;
}

} // namespace

Status setUpProgramFolder(const fs::path& shared, const fs::path& simulator, bool dryRun,
                          ProgramSetup& result) {
    if (Status s = layOut(shared, simulator, dryRun, true, result); !s || dryRun)
        return s;
    return recordSetup(result.programFolder, result.record);
}

Status completeProgramFolder(const fs::path& shared, const fs::path& simulator, ProgramSetup& result) {
    return layOut(shared, simulator, false, false, result);
}

Status refreshProgramFolder(const fs::path& shared, const fs::path& programFolder, bool dryRun,
                            FileOperations& files, ProgramRefresh& result) {
    result = ProgramRefresh();
    std::error_code ec;
    std::optional<SetupManifest> older = olderSetup(programFolder);
    // Run from a build tree or a Windows-style installation, the program folder is the installed files.
    if (!older || fs::equivalent(shared, programFolder, ec))
        return Status::Ok();
    result.needed = true;
    result.fromVersion = older->version;
    result.setup.programFolder = programFolder;
    std::vector<Planned> planned;
    if (dryRun) {
        Status s = plan(shared, programFolder, *older, true, planned);
        describe(planned, result.setup);
        return s;
    }
    BuildLock lock;
    if (Status s = lock.acquireProgramFolder(programFolder); !s)
        return s;
    // Decided under the lock: another program may have refreshed the folder since it was looked at.
    if (older = olderSetup(programFolder); !older) {
        result.needed = false;
        return Status::Ok();
    }
    if (Status s = plan(shared, programFolder, *older, true, planned); !s)
        return s;
    return carryOut(files, programFolder, planned, *older, result.setup);
}

ProgramRefresh::Note ProgramRefresh::note(const Status& outcome, bool dryRun) const {
    if (!needed)
        return {};
    const std::string version = std::string(" for Livrano ") + LIVRANO_VERSION;
    if (!outcome)
        return {"Program folder not refreshed" + version + "; going on with it as it is",
                outcome.message() + " The next start tries again."};
    int replaced = 0, added = 0, kept = 0;
    for (const SetupFile& file : setup.files) {
        if (file.path == setup.newAirlineList)
            continue;
        replaced += file.action == SetupFile::Action::Refresh;
        added += file.action == SetupFile::Action::Write;
        kept += file.action == SetupFile::Action::Keep;
    }
    Note note{(dryRun ? "Program folder would be refreshed" : "Program folder refreshed") + version,
              "set up by " +
                  (fromVersion.empty() ? std::string("an earlier Livrano") : "Livrano " + fromVersion) +
                  "; files: " + std::to_string(replaced) + " replaced, " + std::to_string(added) +
                  " added, " + std::to_string(kept) + " kept as changed here"};
    if (!setup.newAirlineList.empty())
        note.message +=
            dryRun ? "; your airlines.cfg would be kept, the new one put beside it as airlines.cfg.new"
                   : "; your airlines.cfg is kept, the new one is airlines.cfg.new";
    return note;
}

} // namespace livrano
