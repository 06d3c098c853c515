#include "aircraft/configuration_file.h"

#include "app/file_bytes.h"

namespace livrano {

std::optional<std::string> decipherConfiguration(const std::filesystem::path& file, std::string_view key) {
    std::optional<std::string> bytes = readFileBytes(file);
    if (!bytes || bytes->empty())
        return std::nullopt;
    clsEncrypt cipher;
    if (!cipher.Key(key).ok() || !cipher.DecryptByte(*bytes))
        return std::nullopt;
    return bytes;
}

} // namespace livrano
