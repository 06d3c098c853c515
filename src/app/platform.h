#pragma once
// The few calls that differ between Windows and POSIX systems live here, and only here.

#include <cstdio>
#include <filesystem>
#include <string>

namespace livrano {

// True when the stream writes to an interactive terminal (progress bars redraw in place).
bool isTerminal(std::FILE* stream);

// An advisory lock on a folder, held until the object is destroyed or the process ends (the
// system drops it with the process, so a killed build never leaves a stale lock). POSIX locks
// the folder itself; Windows cannot lock a folder handle and locks a "Livrano.lock" file in it.
class FolderLock {
public:
    enum class Result { Held, Busy, Failed };

    FolderLock() = default;
    FolderLock(FolderLock&& other) noexcept;
    FolderLock& operator=(FolderLock&& other) noexcept;
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;
    ~FolderLock();

    // Takes the lock without waiting: Held, Busy when another holder keeps it (a shared lock
    // goes with other shared ones), Failed (reason in `error`) when the folder cannot be locked.
    Result tryLock(const std::filesystem::path& folder, bool exclusive, std::string& error);

private:
    void release();
#ifdef _WIN32
    void* m_handle = nullptr;
#else
    int m_fd = -1;
#endif
};

} // namespace livrano
