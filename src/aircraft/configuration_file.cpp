// SPDX-License-Identifier: MIT
#include "aircraft/configuration_file.h"

#include "aircraft/profile.h"
#include "app/code_page.h"
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

Status usableConfiguration(const std::filesystem::path& file, const std::optional<std::string>& plain) {
    bool hasMain = false;
    if (plain)
        ProfileDocument(*plain).forEachKey("Main",
                                           [&](std::string_view, std::string_view) { hasMain = true; });
    if (hasMain)
        return Status::Ok();
    return Status::Refused(
        "The aircraft configuration \"" + utf8FromPath(file) + "\" cannot be used: " +
        (plain ? "it holds no [Main] values." : "it is damaged, cut short or enciphered with another key."));
}

} // namespace livrano
