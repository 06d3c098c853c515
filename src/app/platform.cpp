// SPDX-License-Identifier: MIT
#include "app/platform.h"

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstddef>
#include <new>
#include <system_error>
#include <thread>
#include <utility>

#ifdef _WIN32
#define WIN32_LEAN_AND_MEAN
#include <io.h>
#include <windows.h>
#else
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <unistd.h>
#endif
#ifdef __linux__
#include <sys/inotify.h>
#endif

namespace livrano {

namespace fs = std::filesystem;

namespace {

volatile std::sig_atomic_t g_interrupted = 0;
#ifndef _WIN32
// The handler writes a byte here so that a wait on the watcher's descriptor wakes at once,
// whenever the signal arrives; a flag alone could be set just before the wait begins.
int g_wake[2] = {-1, -1};
#endif

extern "C" void onInterrupt(int) {
    g_interrupted = 1;
#ifndef _WIN32
    if (g_wake[1] >= 0) {
        const char byte = 0;
        [[maybe_unused]] const ssize_t n = write(g_wake[1], &byte, 1);
    }
#endif
}

Status busy(const fs::path& folder) {
    return Status::Locked("another holder keeps the lock on " + folder.string());
}

} // namespace

std::string fileStamp(const fs::path& file) {
    std::error_code ec;
    const std::uintmax_t size = fs::file_size(file, ec);
    if (ec)
        return "-";
    const auto time = fs::last_write_time(file, ec).time_since_epoch().count();
    return ec ? "-" : std::to_string(size) + "@" + std::to_string(time);
}

void catchInterrupts() {
#ifdef _WIN32
    std::signal(SIGINT, onInterrupt);
    std::signal(SIGTERM, onInterrupt);
#else
    if (g_wake[0] < 0 && pipe(g_wake) == 0) {
        for (int fd : g_wake) {
            fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK);
            fcntl(fd, F_SETFD, FD_CLOEXEC);
        }
    }
    struct sigaction action {};
    action.sa_handler = onInterrupt;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
#endif
}

void ignoreClosedPipes() {
#ifndef _WIN32
    struct sigaction action {};
    action.sa_handler = SIG_IGN;
    sigemptyset(&action.sa_mask);
    sigaction(SIGPIPE, &action, nullptr);
#endif
}

bool interrupted() {
    return g_interrupted != 0;
}

UnclearedBytes unclearedBytes(std::size_t size) {
    constexpr std::size_t kLargePage = std::size_t{2} << 20;
    const std::size_t alignment = size >= kLargePage ? kLargePage : alignof(std::max_align_t);
    // Whole large pages: the last one is then a large page too, not 511 small ones.
    const std::size_t room = (std::max<std::size_t>(size, 1) + alignment - 1) / alignment * alignment;
    auto* bytes = static_cast<std::uint8_t*>(::operator new (room, std::align_val_t{alignment}));
#ifdef MADV_HUGEPAGE
    if (alignment == kLargePage)
        madvise(bytes, room, MADV_HUGEPAGE);
#endif
    return UnclearedBytes(bytes, FreeUnclearedBytes{alignment});
}

void FreeUnclearedBytes::operator()(std::uint8_t* bytes) const {
    ::operator delete (bytes, std::align_val_t{alignment});
}

FileWatcher::FileWatcher(std::vector<fs::path> files, Mode mode) : m_files(std::move(files)), m_mode(mode) {
#ifdef __linux__
    if (m_mode == Mode::Notify) {
        m_fd = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
        // The folders are watched, not the files: a save that writes a new file and renames it
        // over the old one leaves a watch on the old file's inode blind.
        const std::uint32_t events = IN_CLOSE_WRITE | IN_MODIFY | IN_ATTRIB | IN_CREATE | IN_DELETE |
                                     IN_MOVED_FROM | IN_MOVED_TO | IN_DELETE_SELF | IN_MOVE_SELF;
        for (const fs::path& file : m_files) {
            const fs::path folder = file.parent_path().empty() ? fs::path(".") : file.parent_path();
            if (m_fd >= 0 && inotify_add_watch(m_fd, folder.c_str(), events) < 0) {
                close(m_fd);
                m_fd = -1;
            }
        }
    }
#endif
    if (m_fd < 0)
        m_mode = Mode::Poll;
    for (const fs::path& file : m_files)
        m_stamps.push_back(fileStamp(file));
}

FileWatcher::~FileWatcher() {
#ifndef _WIN32
    if (m_fd >= 0)
        close(m_fd);
#endif
}

bool FileWatcher::pollOnce() {
    bool changed = false;
    for (std::size_t i = 0; i < m_files.size(); ++i) {
        std::string stamp = fileStamp(m_files[i]);
        changed = changed || stamp != m_stamps[i];
        m_stamps[i] = std::move(stamp);
    }
    return changed;
}

bool FileWatcher::wait(int timeoutMs) {
    using Clock = std::chrono::steady_clock;
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(std::max(timeoutMs, 0));
    // Four looks a second: a few stat calls each, nothing a painter's machine notices.
    constexpr auto kPollStep = std::chrono::milliseconds(250);
    while (!interrupted()) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (m_mode == Mode::Poll) {
            if (pollOnce())
                return true;
            if (left.count() <= 0)
                return false;
            std::this_thread::sleep_for(std::min<std::chrono::milliseconds>(left, kPollStep));
            continue;
        }
#ifdef __linux__
        if (left.count() < 0)
            return false;
        pollfd fds[2] = {{m_fd, POLLIN, 0}, {g_wake[0], POLLIN, 0}};
        const int ready = poll(fds, g_wake[0] >= 0 ? 2 : 1, static_cast<int>(left.count()));
        if (ready == 0)
            return false;
        if (ready < 0 && errno != EINTR)
            return false;
        alignas(inotify_event) char buffer[4096];
        bool seen = false;
        for (ssize_t n; (n = read(m_fd, buffer, sizeof buffer)) > 0;) {
            for (ssize_t at = 0; at < n;) {
                const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
                at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
                const std::string name = event->len > 0 ? event->name : "";
                seen = seen || (event->mask & IN_Q_OVERFLOW) != 0 ||
                       std::any_of(m_files.begin(), m_files.end(), [&](const fs::path& file) {
                           return name.empty() || file.filename() == name;
                       });
            }
        }
        if (seen)
            return true;
#endif
    }
    return false;
}

bool takesEscapeSequences(std::FILE* stream) {
#ifdef _WIN32
    return _isatty(_fileno(stream)) != 0;
#else
    // An editor's shell buffer or a serial console says TERM=dumb: "\033[K" would show as text.
    const char* term = std::getenv("TERM");
    return isatty(fileno(stream)) != 0 && term != nullptr && *term != '\0' && std::strcmp(term, "dumb") != 0;
#endif
}

FolderLock::FolderLock(FolderLock&& other) noexcept {
    *this = std::move(other);
}

FolderLock& FolderLock::operator=(FolderLock&& other) noexcept {
    if (this != &other) {
        release();
#ifdef _WIN32
        m_handle = std::exchange(other.m_handle, nullptr);
#else
        m_fd = std::exchange(other.m_fd, -1);
#endif
    }
    return *this;
}

FolderLock::~FolderLock() {
    release();
}

#ifdef _WIN32

namespace {

std::string windowsError(DWORD code) {
    return "error " + std::to_string(code);
}

// Flushes what the system holds of the file or folder opened with `flags`.
bool flush(const std::filesystem::path& path, DWORD flags, DWORD& code) {
    HANDLE h =
        CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, flags, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        code = GetLastError();
        return false;
    }
    const bool flushed = FlushFileBuffers(h) != 0;
    code = flushed ? 0 : GetLastError();
    CloseHandle(h);
    return flushed;
}

} // namespace

Status syncFile(const std::filesystem::path& file) {
    DWORD code = 0;
    if (flush(file, FILE_ATTRIBUTE_NORMAL, code))
        return Status::Ok();
    return Status::Error(windowsError(code));
}

Status syncFolder(const std::filesystem::path& folder) {
    DWORD code = 0;
    if (flush(folder.empty() ? std::filesystem::path(".") : folder, FILE_FLAG_BACKUP_SEMANTICS, code) ||
        code == ERROR_ACCESS_DENIED || code == ERROR_INVALID_FUNCTION)
        return Status::Ok();
    return Status::Error(windowsError(code));
}

Status renameOver(const std::filesystem::path& from, const std::filesystem::path& to) {
    if (MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return Status::Ok();
    return Status::Error(windowsError(GetLastError()));
}

std::size_t longestFileName(const std::filesystem::path& folder) {
    std::error_code ec;
    const std::wstring root = std::filesystem::absolute(folder, ec).root_path().wstring();
    DWORD longest = 0;
    if (GetVolumeInformationW(root.c_str(), nullptr, 0, nullptr, &longest, nullptr, nullptr, 0) &&
        longest > 0)
        return longest;
    return 255;
}

void FolderLock::release() {
    if (m_handle != nullptr)
        CloseHandle(m_handle); // closing the handle releases its lock
    m_handle = nullptr;
}

Status FolderLock::tryLock(const std::filesystem::path& folder, bool exclusive) {
    release();
    const std::wstring file = (folder / L"Livrano.lock").wstring();
    HANDLE h = CreateFileW(file.c_str(), GENERIC_READ | GENERIC_WRITE,
                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                           FILE_ATTRIBUTE_HIDDEN, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return Status::Error("cannot open " + std::filesystem::path(file).string() + " (error " +
                             std::to_string(GetLastError()) + ")");
    OVERLAPPED whole{};
    const DWORD flags = LOCKFILE_FAIL_IMMEDIATELY | (exclusive ? LOCKFILE_EXCLUSIVE_LOCK : 0);
    if (!LockFileEx(h, flags, 0, 1, 0, &whole)) {
        const DWORD code = GetLastError();
        CloseHandle(h);
        if (code == ERROR_LOCK_VIOLATION || code == ERROR_IO_PENDING)
            return busy(folder);
        return Status::Error("cannot lock " + std::filesystem::path(file).string() + " (error " +
                             std::to_string(code) + ")");
    }
    m_handle = h;
    return Status::Ok();
}

#else

namespace {

Status syncOpened(const std::filesystem::path& path, int flags) {
    // Read-only: a copy may carry the permissions of a read-only original, and fsync needs no more.
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | flags);
    if (fd < 0)
        return Status::Error(std::strerror(errno));
    int result = 0;
    do
        result = fsync(fd);
    while (result != 0 && errno == EINTR);
    const int code = errno;
    close(fd);
    if (result != 0)
        return Status::Error(std::strerror(code));
    return Status::Ok();
}

} // namespace

Status syncFile(const std::filesystem::path& file) {
    return syncOpened(file, 0);
}

Status syncFolder(const std::filesystem::path& folder) {
    // A bare file name's folder is the current one.
    return syncOpened(folder.empty() ? std::filesystem::path(".") : folder, O_DIRECTORY);
}

Status renameOver(const std::filesystem::path& from, const std::filesystem::path& to) {
    if (std::rename(from.c_str(), to.c_str()) == 0)
        return Status::Ok();
    return Status::Error(std::strerror(errno));
}

std::size_t longestFileName(const std::filesystem::path& folder) {
    const long longest = pathconf(folder.empty() ? "." : folder.c_str(), _PC_NAME_MAX);
    return longest > 0 ? static_cast<std::size_t>(longest) : 255;
}

void FolderLock::release() {
    if (m_fd >= 0)
        close(m_fd); // closing the descriptor releases its lock
    m_fd = -1;
}

Status FolderLock::tryLock(const std::filesystem::path& folder, bool exclusive) {
    release();
    const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return Status::Error("cannot open " + folder.string() + ": " + std::strerror(errno));
    if (flock(fd, (exclusive ? LOCK_EX : LOCK_SH) | LOCK_NB) != 0) {
        const int code = errno;
        close(fd);
        if (code == EWOULDBLOCK)
            return busy(folder);
        return Status::Error("cannot lock " + folder.string() + ": " + std::strerror(code));
    }
    m_fd = fd;
    return Status::Ok();
}

#endif

} // namespace livrano
