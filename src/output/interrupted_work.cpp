// SPDX-License-Identifier: MIT
#include "output/interrupted_work.h"

#include <algorithm>
#include <system_error>

#include "app/checksum.h"
#include "app/file_bytes.h"
#include "app/file_names.h"
#include "app/text.h"

namespace livrano {

namespace fs = std::filesystem;

namespace {

bool isTemporary(const fs::directory_entry& entry) {
    std::error_code ec;
    return temporaryFileTarget(entry.path().filename().string()) && entry.is_regular_file(ec) &&
           !entry.is_symlink(ec);
}

// What could not be removed, passed over: the first failure and how many there were.
class Leftover {
public:
    void note(Status status) {
        if (status)
            return;
        if (m_count++ == 0)
            m_first = std::move(status);
    }
    Status result() const {
        if (m_count == 0)
            return Status::Ok();
        return Status::Error(std::to_string(m_count) +
                                 (m_count == 1 ? " file or folder" : " files or folders") +
                                 " of an interrupted run could not be removed.",
                             m_first.text());
    }

private:
    std::size_t m_count = 0;
    Status m_first = Status::Ok();
};

// Removes files (each that exists), then folders once empty, deepest first.
void removeAll(const std::vector<fs::path>& paths, FileOperations& files, Leftover& left) {
    std::error_code ec;
    for (const fs::path& path : paths) {
        const fs::file_status status = fs::symlink_status(path, ec);
        if (!fs::exists(status) || fs::is_directory(status))
            continue;
        // A hidden, system or read-only thumbnail cache would otherwise keep its folder alive.
        if (equalsNoCase(path.filename().string(), "Thumbs.db"))
            left.note(files.makeDeletable(path));
        left.note(files.removeFile(path));
    }
    for (auto it = paths.rbegin(); it != paths.rend(); ++it) {
        // A folder with a painter's file in it stays, and is no failure.
        if (fs::is_directory(fs::symlink_status(*it, ec)) && fs::is_empty(*it, ec))
            left.note(files.removeEmptyDirectory(*it));
    }
}

// The journal stays while something could not be removed (a temporary file in a folder it names
// among them): the next command tries again.
Status removeThenClose(const fs::path& aircraftFolder, const std::vector<fs::path>& paths,
                       FileOperations& files, Leftover& left) {
    removeAll(paths, files, left);
    if (Status s = left.result(); !s)
        return s;
    if (Status s = closeJournal(aircraftFolder, files); !s)
        return s;
    // The aircraft folder the work made held the journal until now.
    std::error_code ec;
    if (std::find(paths.begin(), paths.end(), aircraftFolder) != paths.end() &&
        fs::is_empty(aircraftFolder, ec))
        left.note(files.removeEmptyDirectory(aircraftFolder));
    return left.result();
}

// The files an older build moved aside go back where nothing took their place; the others are
// the replaced livery's, no longer named by aircraft.cfg.
void finishSetAside(const fs::path& aircraftFolder, const fs::path& aside, FileOperations& files,
                    Leftover& left) {
    std::error_code ec;
    std::vector<fs::path> folders = {aside};
    std::vector<fs::path> gone;
    for (fs::recursive_directory_iterator it(aside, ec), end; !ec && it != end; it.increment(ec)) {
        if (it->is_directory(ec) && !it->is_symlink(ec)) {
            folders.push_back(it->path());
            continue;
        }
        const fs::path home = aircraftFolder / it->path().lexically_relative(aside);
        if (!fs::exists(fs::symlink_status(home, ec)) && fs::is_directory(home.parent_path(), ec))
            left.note(files.moveFile(it->path(), home));
        else
            gone.push_back(it->path());
    }
    gone.insert(gone.end(), folders.begin(), folders.end());
    removeAll(gone, files, left);
}

std::string count(std::size_t n, const char* one, const char* many) {
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

} // namespace

std::string InterruptedWork::summary(bool done) const {
    if (empty())
        return {};
    auto verb = [done](const char* past, const char* present) { return std::string(done ? past : present); };
    std::vector<std::string> parts;
    if (!temporaries.empty())
        parts.push_back(verb("removed ", "remove ") +
                        count(temporaries.size(), "temporary file", "temporary files"));
    if (!setAside.empty())
        parts.push_back(verb("put back or removed ", "put back or remove ") + "the files set aside in " +
                        count(setAside.size(), "folder", "folders"));
    if (journal && committed)
        parts.push_back(verb("finished ", "finish ") + "its removals (" +
                        count(journal->removals.size(), "file or folder", "files or folders") + ")");
    else if (journal)
        parts.push_back(verb("took away ", "take away ") + "what it added (" +
                        count(journal->added.size(), "file or folder", "files or folders") + ")");
    std::string line = verb("Finished", "Would finish") + " what an interrupted run left in " +
                       aircraftFolder.filename().string() + ": ";
    for (std::size_t i = 0; i < parts.size(); ++i)
        line += (i == 0 ? "" : "; ") + parts[i];
    return line;
}

InterruptedWork findInterruptedWork(const fs::path& aircraftFolder, const fs::path& programFolder) {
    InterruptedWork work;
    work.aircraftFolder = aircraftFolder;
    std::error_code ec;
    // Links are not followed: what lies behind one is another folder's, not this aircraft's.
    for (fs::recursive_directory_iterator it(aircraftFolder, ec), end; !ec && it != end; it.increment(ec)) {
        if (it.depth() == 0 && it->path().filename().string().starts_with("Livrano.replaced") &&
            it->is_directory(ec) && !it->is_symlink(ec)) {
            work.setAside.push_back(it->path());
            it.disable_recursion_pending();
        } else if (isTemporary(*it)) {
            work.temporaries.push_back(it->path());
        }
    }
    const fs::path temp = resolveCaseless(programLocation(programFolder, "\\TempBitmaps"));
    for (fs::directory_iterator it(temp, ec), end; !ec && it != end; it.increment(ec))
        if (isTemporary(*it))
            work.temporaries.push_back(it->path());
    std::sort(work.temporaries.begin(), work.temporaries.end());
    std::sort(work.setAside.begin(), work.setAside.end());
    work.journal = readJournal(aircraftFolder);
    work.committed = work.journal && workCommitted(aircraftFolder, *work.journal);
    return work;
}

bool workCommitted(const fs::path& aircraftFolder, const WorkJournal& journal) {
    // Work whose aircraft.cfg is the one it replaced counts as not done: taking away what it added
    // leaves what was there, which that same aircraft.cfg named.
    if (journal.cfgHash.empty() || journal.cfgHash == journal.cfgBefore)
        return false;
    const std::optional<std::string> cfg = readFileBytes(resolveCaseless(aircraftFolder / "aircraft.cfg"));
    return cfg && sha256Hex(*cfg) == journal.cfgHash;
}

Status settleWork(const fs::path& aircraftFolder, const WorkJournal& journal, FileOperations& files) {
    return workCommitted(aircraftFolder, journal) ? completeWork(aircraftFolder, journal, files)
                                                  : undoWork(aircraftFolder, journal, files);
}

Status finishInterruptedWork(const InterruptedWork& work, FileOperations& files) {
    Leftover left;
    removeAll(work.temporaries, files, left);
    for (const fs::path& aside : work.setAside)
        finishSetAside(work.aircraftFolder, aside, files, left);
    if (work.journal)
        return removeThenClose(work.aircraftFolder,
                               work.committed ? work.journal->removals : work.journal->added, files, left);
    return left.result();
}

Status completeWork(const fs::path& aircraftFolder, const WorkJournal& journal, FileOperations& files) {
    Leftover left;
    return removeThenClose(aircraftFolder, journal.removals, files, left);
}

Status undoWork(const fs::path& aircraftFolder, const WorkJournal& journal, FileOperations& files) {
    Leftover left;
    return removeThenClose(aircraftFolder, journal.added, files, left);
}

} // namespace livrano
