// SPDX-License-Identifier: MIT
#include "app/save_watcher.h"

namespace livrano {

namespace fs = std::filesystem;

SaveWatcher::SaveWatcher(std::vector<fs::path> files, int settleMs, FileWatcher::Mode mode)
    : m_files(files), m_settleMs(settleMs), m_watcher(std::move(files), mode), m_seen(stamps()) {}

std::vector<std::string> SaveWatcher::stamps() const {
    std::vector<std::string> result;
    for (const fs::path& file : m_files)
        result.push_back(fileStamp(file));
    return result;
}

bool SaveWatcher::nextSave() {
    // An hour between looks when nothing stirs: the watcher wakes on a change or an interrupt.
    constexpr int kIdleMs = 3600 * 1000;
    while (!interrupted()) {
        std::vector<std::string> now = stamps();
        if (now == m_seen) {
            m_watcher.wait(kIdleMs);
            continue;
        }
        // Settled when a whole settle time passes without a sign and without a difference.
        if (!m_watcher.wait(m_settleMs) && !interrupted() && stamps() == now) {
            m_seen = std::move(now);
            return true;
        }
    }
    return false;
}

} // namespace livrano
