#pragma once
// Whole files as bytes, and replacing a file so that it is never left half-written.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "app/status.h"

namespace livrano {

// The file's bytes; nullopt when it is missing, not a regular file or cannot be read.
std::optional<std::string> readFileBytes(const std::filesystem::path& file);

// Writes the bytes to a new file in the same folder and renames it over `file`, so a reader
// sees either the old content or the new, never a part. A symbolic link is followed to its final
// target, which is replaced the same way; the replaced file's permissions are kept. Refuses,
// writing nothing, a `file` that exists but is not a regular file (a folder, a device, a pipe).
// On failure the old file is untouched, no temporary file is left behind, and the message names
// the file.
Status replaceFileBytes(const std::filesystem::path& file, std::string_view bytes);

} // namespace livrano
