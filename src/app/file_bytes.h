#pragma once
// Whole files as bytes. Configurations, lists and models are small; they are read at once.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "app/status.h"

namespace livrano {

// The file's bytes; nullopt when it is missing, is not a regular file or cannot be read.
std::optional<std::string> readFileBytes(const std::filesystem::path& file);

// Writes the bytes to a new file beside `file` and renames it over `file`, so a reader never
// sees a half-written file and an interrupted write leaves the old file as it was. Fails with a
// message naming the file; the temporary file is removed on failure.
Status writeFileReplacing(const std::filesystem::path& file, std::string_view bytes);

} // namespace livrano
