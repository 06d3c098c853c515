// SPDX-License-Identifier: MIT
#include "output/cfg_restore.h"

#include <optional>
#include <system_error>
#include <vector>

#include "aircraft/profile.h"
#include "app/code_page.h"
#include "app/file_bytes.h"
#include "output/aircraft_cfg.h"
#include "output/variation_layout.h"

namespace livrano {

namespace fs = std::filesystem;

namespace {

// The steps of one replacement, passed on to `files`, noting whether the rename was made: from
// then on the file holds the new bytes, even when the sync of the folder after it fails.
class WatchedSteps final : public FileSteps {
public:
    explicit WatchedSteps(FileSteps& steps) : m_steps(steps) {}

    Status writeFile(const fs::path& file, std::string_view bytes,
                     std::optional<fs::perms> permissions) override {
        return m_steps.writeFile(file, bytes, permissions);
    }
    Status syncFile(const fs::path& file) override { return m_steps.syncFile(file); }
    Status renameFile(const fs::path& from, const fs::path& to) override {
        Status s = m_steps.renameFile(from, to);
        renamed = renamed || s.ok();
        return s;
    }
    Status syncFolder(const fs::path& folder) override { return m_steps.syncFolder(folder); }
    Status removeFile(const fs::path& file) override { return m_steps.removeFile(file); }

    bool renamed = false;

private:
    FileSteps& m_steps;
};

// FileOperations::replaceFile, telling in `replaced` whether `file` holds the bytes, whatever the result.
Status replaceWatched(FileOperations& files, const fs::path& file, std::string_view bytes, bool& replaced) {
    WatchedSteps steps(files);
    Status s = replaceFileBytes(file, bytes, steps);
    replaced = steps.renamed;
    return s;
}

} // namespace

Status readKeptAircraftCfg(const RepaintInputs& repaint, bool original, fs::path& kept, std::string& bytes,
                           FileOperations& files) {
    const fs::path aircraft = aircraftFolderPath(repaint);
    kept = existingEntry(aircraft, original ? kOriginalAircraftCfg : "Aircraft.bak");
    const std::string name = utf8FromPath(kept);
    std::error_code ec;
    if (!fs::exists(kept, ec))
        return Status::Refused("There is no " + name + " to restore.");
    if (Status s = files.readFile(kept, bytes); !s)
        return Status::Refused(s.message(), s.detail());
    const std::string why = "An aircraft.cfg without a [fltsim.N] entry gives the simulator no livery of the "
                            "aircraft to list. Nothing was changed.";
    if (bytes.empty())
        return Status::Refused(name + " is empty: it is not restored.", why);
    std::string text;
    std::vector<FltsimEntry> entries;
    std::vector<ProfileSection> others;
    if (Status s = installedCfgText(kept, bytes, text); !s)
        return Status::Refused(name + " cannot be restored: " + s.message(), s.detail());
    if (Status s = readFltsimEntries(ProfileDocument(std::move(text)), repaint.extraFields, entries, others);
        !s)
        return Status::Refused(name + " cannot be restored: " + s.message(), s.detail());
    if (entries.empty())
        return Status::Refused(name + " lists no livery: it is not restored.", why);
    return Status::Ok();
}

Status RestoreAircraftCfg(const RepaintInputs& repaint, bool original, FileOperations& files) {
    const fs::path aircraft = aircraftFolderPath(repaint);
    const fs::path installed = existingEntry(aircraft, "Aircraft.cfg");
    const fs::path backup = existingEntry(aircraft, "Aircraft.bak");
    fs::path kept;
    std::string keptBytes;
    if (Status s = readKeptAircraftCfg(repaint, original, kept, keptBytes, files); !s)
        return s;
    if (Status s = checkInstalledCfgWritable(installed); !s)
        return s;
    std::error_code ec;
    if (!fs::exists(installed, ec))
        return files.replaceFile(installed, keptBytes);
    std::string current;
    if (Status s = files.readFile(installed, current); !s)
        return Status::Refused(s.message(), s.detail());
    // What Aircraft.bak gets back should aircraft.cfg keep its bytes after all.
    std::optional<std::string> backupBytes;
    if (!original) {
        backupBytes = keptBytes;
    } else if (fs::exists(backup, ec)) {
        if (Status s = files.readFile(backup, backupBytes.emplace()); !s)
            return Status::Refused(s.message(), s.detail());
    }

    // The current file goes to Aircraft.bak before aircraft.cfg changes, in one step, last: its
    // bytes are on the disk at every moment, whatever fails.
    bool backedUp = false;
    bool restored = false;
    Status status = replaceWatched(files, backup, current, backedUp);
    if (status)
        status = replaceWatched(files, installed, keptBytes, restored);
    if (status || restored || !backedUp)
        return status;
    const Status back = backupBytes ? files.replaceFile(backup, *backupBytes) : files.removeFile(backup);
    if (back)
        return status;
    const std::string detail = status.detail().empty() ? "" : status.detail() + "\n";
    return Status::Error(
        status.message(),
        detail + "Aircraft.bak could not be given its bytes back and holds a copy of aircraft.cfg: " +
            back.text());
}

} // namespace livrano
