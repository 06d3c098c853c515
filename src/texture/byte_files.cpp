// SPDX-License-Identifier: MIT
#include "texture/byte_files.h"

#include <string_view>

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include "app/file_bytes.h"

namespace livrano {

namespace fs = std::filesystem;

std::optional<std::vector<std::uint8_t>> readByteFile(const fs::path& path) {
    const std::optional<std::string> text = readFileBytes(path);
    if (!text)
        return std::nullopt;
    return std::vector<std::uint8_t>(text->begin(), text->end());
}

bool writeByteFile(const fs::path& path, std::span<const std::uint8_t> bytes, FileSteps& steps) {
    return replaceFileBytes(path, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()),
                            steps)
        .ok();
}

bool withFileBytes(const fs::path& path, const std::function<void(std::span<const std::uint8_t>)>& use) {
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat info {};
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        close(fd);
        return false;
    }
    const auto size = static_cast<std::size_t>(info.st_size);
    void* mapped = size == 0 ? nullptr : mmap(nullptr, size, PROT_READ, MAP_PRIVATE | MAP_POPULATE, fd, 0);
    close(fd);
    if (mapped == MAP_FAILED)
        return false;
    try {
        use(std::span<const std::uint8_t>(static_cast<const std::uint8_t*>(mapped), size));
    } catch (...) {
        munmap(mapped, size);
        throw;
    }
    if (mapped != nullptr)
        munmap(mapped, size);
    return true;
}

} // namespace livrano
