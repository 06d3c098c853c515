// SPDX-License-Identifier: MIT
#include "output/program_setup.h"

#include <algorithm>
#include <map>
#include <optional>
#include <sstream>
#include <system_error>

#include "app/checksum.h"
#include "app/code_page.h"
#include "app/file_bytes.h"
#include "app/file_names.h"
#include "app/program_folder.h"
#include "output/build_lock.h"

namespace livrano {

namespace fs = std::filesystem;

namespace {

const char* const kEmptyFolders[] = {"Templates", "TempBitmaps", "Aircraft Configurations"};

using Manifest = std::map<std::string, std::string>; // relative path with '/' -> checksum

Manifest readManifest(const fs::path& programFolder) {
    Manifest manifest;
    std::istringstream lines(readFileBytes(programFolder / kSetupManifest).value_or(""));
    for (std::string line; std::getline(lines, line);) {
        // "CHECKSUM  RELATIVE/PATH"
        if (line.size() > 66 && line.compare(64, 2, "  ") == 0)
            manifest[line.substr(66)] = line.substr(0, 64);
    }
    return manifest;
}

std::string manifestText(const Manifest& manifest) {
    std::string text;
    for (const auto& [path, checksum] : manifest)
        text.append(checksum).append("  ").append(path).append("\n");
    return text;
}

// The installed files, relative with '/': the airline list, the skin files and the manual.
std::vector<std::string> sharedFiles(const fs::path& shared) {
    std::vector<std::string> files = {"Data/airlines.cfg"};
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
    std::string relative;
    std::string bytes;    // the installed file's
    std::string checksum; // of bytes
    SetupFile file;
};

// What to do with each installed file, from the files and the manifest as they are now.
Status plan(const fs::path& shared, const fs::path& programFolder, const Manifest& manifest,
            std::vector<Planned>& planned) {
    planned.clear();
    for (const std::string& relative : sharedFiles(shared)) {
        std::optional<std::string> bytes = readFileBytes(shared / relative);
        if (!bytes)
            return Status::Refused("Cannot read the installed file " + utf8FromPath(shared / relative) + ".");
        const fs::path target = resolveCaseless(programLocation(programFolder, relative));
        const std::optional<std::string> existing = readFileBytes(target);
        const std::string checksum = sha256Hex(*bytes);
        SetupFile::Action action = SetupFile::Action::Write;
        if (existing) {
            const std::string now = sha256Hex(*existing);
            const auto written = manifest.find(relative);
            action = now == checksum                                       ? SetupFile::Action::Current
                     : written != manifest.end() && written->second == now ? SetupFile::Action::Refresh
                                                                           : SetupFile::Action::Keep;
        }
        planned.push_back({relative, std::move(*bytes), checksum, {target, action}});
    }
    return Status::Ok();
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
Status layOut(const fs::path& shared, const fs::path& simulator, bool dryRun, ProgramSetup& result) {
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
        Status s = plan(shared, result.programFolder, readManifest(result.programFolder), planned);
        for (const Planned& p : planned)
            result.files.push_back(p.file);
        return s;
    }

    // The lock is on the folder itself, which must exist first.
    fs::create_directories(result.programFolder, ec);
    BuildLock lock;
    if (Status s = lock.acquireProgramFolder(result.programFolder); !s)
        return s;
    Manifest manifest = readManifest(result.programFolder);
    if (Status s = plan(shared, result.programFolder, manifest, planned); !s)
        return s;
    for (const fs::path& folder : folders) {
        if (fs::create_directories(folder, ec); ec)
            return Status::Error("Cannot make the folder " + utf8FromPath(folder) + ": " + ec.message() +
                                 ".");
        result.folders.push_back(folder);
    }
    Status written = Status::Ok();
    for (const Planned& p : planned) {
        if (p.file.action == SetupFile::Action::Write || p.file.action == SetupFile::Action::Refresh) {
            written = replaceFileBytes(p.file.path, p.bytes);
            if (!written)
                break;
        }
        // A kept file keeps the checksum of what a setup last wrote there, so that it stays
        // the user's until it is changed back.
        if (p.file.action != SetupFile::Action::Keep)
            manifest[p.relative] = p.checksum;
        result.files.push_back(p.file);
    }
    if (Status s = replaceFileBytes(result.programFolder / kSetupManifest, manifestText(manifest)); !s)
        return s;
    return written;
}

} // namespace

Status setUpProgramFolder(const fs::path& shared, const fs::path& simulator, bool dryRun,
                          ProgramSetup& result) {
    if (Status s = layOut(shared, simulator, dryRun, result); !s || dryRun)
        return s;
    return recordSetup(result.programFolder, result.record);
}

Status completeProgramFolder(const fs::path& shared, const fs::path& simulator, ProgramSetup& result) {
    return layOut(shared, simulator, false, result);
}

} // namespace livrano
