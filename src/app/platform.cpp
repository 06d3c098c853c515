#include "app/platform.h"

#include <utility>

#ifdef _WIN32
#define WIN32_LEAN_AND_MEAN
#include <io.h>
#include <windows.h>
#else
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

namespace livrano {

bool isTerminal(std::FILE* stream) {
#ifdef _WIN32
    return _isatty(_fileno(stream)) != 0;
#else
    return isatty(fileno(stream)) != 0;
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

bool syncFile(const std::filesystem::path& file, std::string& error) {
    DWORD code = 0;
    if (flush(file, FILE_ATTRIBUTE_NORMAL, code))
        return true;
    error = windowsError(code);
    return false;
}

bool syncFolder(const std::filesystem::path& folder, std::string& error) {
    DWORD code = 0;
    if (flush(folder.empty() ? std::filesystem::path(".") : folder, FILE_FLAG_BACKUP_SEMANTICS, code) ||
        code == ERROR_ACCESS_DENIED || code == ERROR_INVALID_FUNCTION)
        return true;
    error = windowsError(code);
    return false;
}

bool renameOver(const std::filesystem::path& from, const std::filesystem::path& to, std::string& error) {
    if (MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return true;
    error = windowsError(GetLastError());
    return false;
}

void FolderLock::release() {
    if (m_handle != nullptr)
        CloseHandle(m_handle); // closing the handle releases its lock
    m_handle = nullptr;
}

FolderLock::Result FolderLock::tryLock(const std::filesystem::path& folder, bool exclusive,
                                       std::string& error) {
    release();
    const std::wstring file = (folder / L"Livrano.lock").wstring();
    HANDLE h = CreateFileW(file.c_str(), GENERIC_READ | GENERIC_WRITE,
                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                           FILE_ATTRIBUTE_HIDDEN, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        error = "cannot open " + std::filesystem::path(file).string() + " (error " +
                std::to_string(GetLastError()) + ")";
        return Result::Failed;
    }
    OVERLAPPED whole{};
    const DWORD flags = LOCKFILE_FAIL_IMMEDIATELY | (exclusive ? LOCKFILE_EXCLUSIVE_LOCK : 0);
    if (!LockFileEx(h, flags, 0, 1, 0, &whole)) {
        const DWORD code = GetLastError();
        CloseHandle(h);
        if (code == ERROR_LOCK_VIOLATION || code == ERROR_IO_PENDING)
            return Result::Busy;
        error =
            "cannot lock " + std::filesystem::path(file).string() + " (error " + std::to_string(code) + ")";
        return Result::Failed;
    }
    m_handle = h;
    return Result::Held;
}

#else

namespace {

bool syncOpened(const std::filesystem::path& path, int flags, std::string& error) {
    // Read-only: a copy may carry the permissions of a read-only original, and fsync needs no more.
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | flags);
    if (fd < 0) {
        error = std::strerror(errno);
        return false;
    }
    int result = 0;
    do
        result = fsync(fd);
    while (result != 0 && errno == EINTR);
    const int code = errno;
    close(fd);
    if (result != 0) {
        error = std::strerror(code);
        return false;
    }
    return true;
}

} // namespace

bool syncFile(const std::filesystem::path& file, std::string& error) {
    return syncOpened(file, 0, error);
}

bool syncFolder(const std::filesystem::path& folder, std::string& error) {
    // A bare file name's folder is the current one.
    return syncOpened(folder.empty() ? std::filesystem::path(".") : folder, O_DIRECTORY, error);
}

bool renameOver(const std::filesystem::path& from, const std::filesystem::path& to, std::string& error) {
    if (std::rename(from.c_str(), to.c_str()) == 0)
        return true;
    error = std::strerror(errno);
    return false;
}

void FolderLock::release() {
    if (m_fd >= 0)
        close(m_fd); // closing the descriptor releases its lock
    m_fd = -1;
}

FolderLock::Result FolderLock::tryLock(const std::filesystem::path& folder, bool exclusive,
                                       std::string& error) {
    release();
    const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        error = "cannot open " + folder.string() + ": " + std::strerror(errno);
        return Result::Failed;
    }
    if (flock(fd, (exclusive ? LOCK_EX : LOCK_SH) | LOCK_NB) != 0) {
        const int code = errno;
        close(fd);
        if (code == EWOULDBLOCK)
            return Result::Busy;
        error = "cannot lock " + folder.string() + ": " + std::strerror(code);
        return Result::Failed;
    }
    m_fd = fd;
    return Result::Held;
}

#endif

} // namespace livrano
