// SPDX-License-Identifier: MIT
#pragma once
// The few calls that differ between Windows and POSIX systems live here, and only here.

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/status.h"

namespace livrano {

// True when the stream writes to an interactive terminal that takes escape sequences (progress
// bars redraw in place, colours show): not one whose TERM is "dumb" or unset.
bool takesEscapeSequences(std::FILE* stream);

// syncFile, syncFolder and renameOver fail with the system's reason alone as the message
// ("Permission denied"): the caller names the step and the file.

// The bytes written to the file reach the disk before this returns (fsync; FlushFileBuffers on
// Windows, where the file must be writable). Fails when the file cannot be opened or the system
// refuses.
Status syncFile(const std::filesystem::path& file);

// The folder's entries (a file created, renamed or removed in it) reach the disk before this
// returns. Windows may refuse to flush a folder; its renames are written through instead
// (renameOver), so a refusal there is no failure. An empty path is the current folder.
Status syncFolder(const std::filesystem::path& folder);

// Renames `from` over `to`, which it replaces in one step (both lie on one file system, in one
// folder or two); on Windows the rename is written through to the disk.
Status renameOver(const std::filesystem::path& from, const std::filesystem::path& to);

// The longest file name the folder's file system takes, counted as the system's own path
// characters count (bytes on POSIX, UTF-16 units on Windows); the folder must exist. 255, the
// usual limit, when the system does not say.
std::size_t longestFileName(const std::filesystem::path& folder);

// An advisory lock on a folder, held until the object is destroyed or the process ends (the
// system drops it with the process, so a killed build never leaves a stale lock). POSIX locks
// the folder itself; Windows cannot lock a folder handle and locks a "Livrano.lock" file in it.
class FolderLock {
public:
    FolderLock() = default;
    FolderLock(FolderLock&& other) noexcept;
    FolderLock& operator=(FolderLock&& other) noexcept;
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;
    ~FolderLock();

    // Takes the lock without waiting: Ok when held, Locked when another holder keeps it (a shared
    // lock goes with other shared ones), Failed when the folder cannot be locked, its message
    // naming the folder and the reason.
    Status tryLock(const std::filesystem::path& folder, bool exclusive);

private:
    void release();
#ifdef _WIN32
    void* m_handle = nullptr;
#else
    int m_fd = -1;
#endif
};

// Ctrl-C and a termination request set a flag instead of ending the process, so that work in
// progress (a texture being replaced) finishes first; FileWatcher::wait returns at once on one.
void catchInterrupts();
bool interrupted();

// Room for `size` bytes that are all written before any is read, so not cleared first. A fresh
// buffer of many megabytes costs a page fault per 4 KiB touched, and on a virtual machine the
// faults cost more than the copy that fills it: a buffer of 2 MiB or more is aligned to, and asks
// Linux for, large pages (a hint: without them it is an ordinary allocation).
struct FreeUnclearedBytes {
    std::size_t alignment = 0;
    void operator()(std::uint8_t* bytes) const;
};
using UnclearedBytes = std::unique_ptr<std::uint8_t[], FreeUnclearedBytes>;
UnclearedBytes unclearedBytes(std::size_t size);

// A write to a pipe whose reader has gone (`livrano-cli build | head -1`) fails instead of ending
// the process: output nobody reads must never stop a build halfway. Windows has no such signal.
void ignoreClosedPipes();

// A file's size and time as one text ("-" when it is missing): equal stamps, no change seen.
std::string fileStamp(const std::filesystem::path& file);

// Waits, without using the processor, for a sign that one of a few files has changed: written,
// replaced by a rename, created or removed. Linux asks inotify about the files' folders; other
// systems, or a Linux without inotify to spare, compare the files' size and time a few times a
// second. A sign is a hint: callers compare the files themselves.
class FileWatcher {
public:
    enum class Mode { Notify, Poll };

    // Notify falls back to Poll when the folders cannot be watched; mode() says which it is.
    explicit FileWatcher(std::vector<std::filesystem::path> files, Mode mode = Mode::Notify);
    FileWatcher(const FileWatcher&) = delete;
    FileWatcher& operator=(const FileWatcher&) = delete;
    ~FileWatcher();

    Mode mode() const { return m_mode; }
    // Returns true as soon as one of the files may have changed, false after `timeoutMs` without
    // a sign or at once when interrupted() is set.
    bool wait(int timeoutMs);

private:
    bool pollOnce();

    std::vector<std::filesystem::path> m_files;
    Mode m_mode;
    std::vector<std::string> m_stamps; // Poll: what the files looked like at the last look
    int m_fd = -1;                     // Notify: the inotify descriptor
};

} // namespace livrano
