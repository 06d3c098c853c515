#pragma once
// Whole-file reading and writing for the texture pipeline. A file is never left half-written:
// the bytes go to a file beside it, which then replaces it by renaming.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <vector>

namespace livrano {

// The whole file, or nullopt when it cannot be opened or read.
std::optional<std::vector<std::uint8_t>> readFileBytes(const std::filesystem::path& path);

// Writes the bytes as the file's whole new content, replacing any earlier file. False when the
// folder is missing or any write fails; the earlier file then stays as it was.
bool writeFileReplacing(const std::filesystem::path& path, std::span<const std::uint8_t> bytes);

// Copies a file over the destination (which it replaces) by the same rule.
bool copyFileReplacing(const std::filesystem::path& from, const std::filesystem::path& to);

} // namespace livrano
