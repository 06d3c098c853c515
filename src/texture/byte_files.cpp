#include "texture/byte_files.h"

#include <string_view>

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

} // namespace livrano
