#pragma once
// The texture pipeline's files as unsigned bytes, over the program's whole-file functions (so a
// file is never left half-written either).

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <vector>

namespace livrano {

// The whole file, or nullopt when it is missing or cannot be read.
std::optional<std::vector<std::uint8_t>> readByteFile(const std::filesystem::path& path);

// Replaces the file's content with the bytes. False when the folder is missing or any write
// fails; an earlier file then stays as it was.
bool writeByteFile(const std::filesystem::path& path, std::span<const std::uint8_t> bytes);

// Copies a file over the destination (which it replaces) by the same rule.
bool copyFileReplacing(const std::filesystem::path& from, const std::filesystem::path& to);

} // namespace livrano
