// SPDX-License-Identifier: MIT
#pragma once
// A save is complete when the file has stopped changing: painting programs write a picture in
// several goes, or write a new file and rename it over the old one. The watcher reports a save
// once the files' size and time have stayed the same for the settle time.

#include <filesystem>
#include <string>
#include <vector>

#include "app/platform.h"

namespace livrano {

class SaveWatcher {
public:
    // Watches `files` (one may be missing) from now on: what they hold now counts as seen.
    SaveWatcher(std::vector<std::filesystem::path> files, int settleMs,
                FileWatcher::Mode mode = FileWatcher::Mode::Notify);

    FileWatcher::Mode mode() const { return m_watcher.mode(); }
    // Blocks until a save of one of the files has completed (true) or interrupted() is set
    // (false). A save that leaves the files as they were last seen is no save.
    bool nextSave();

private:
    std::vector<std::string> stamps() const;

    std::vector<std::filesystem::path> m_files;
    int m_settleMs;
    FileWatcher m_watcher;
    std::vector<std::string> m_seen;
};

} // namespace livrano
