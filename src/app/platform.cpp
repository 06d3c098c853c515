#include "app/platform.h"

#include <utility>

#ifdef _WIN32
#define WIN32_LEAN_AND_MEAN
#include <io.h>
#include <windows.h>
#else
#include <cerrno>
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
