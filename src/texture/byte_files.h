#pragma once
// The texture pipeline's files as unsigned bytes, over the program's whole-file functions (so a
// file is never left half-written either).

#include <cstdint>
#include <filesystem>
#include <functional>
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

// Calls `use` with the bytes of a whole regular file, mapped into memory instead of copied, so
// that a large bitmap is read without a copy of it and without pages cleared only to be
// overwritten. False, without calling it, when the file cannot be read.
bool withFileBytes(const std::filesystem::path& path,
                   const std::function<void(std::span<const std::uint8_t>)>& use);

} // namespace livrano
