// SPDX-License-Identifier: MIT
#pragma once
// The texture pipeline's files as unsigned bytes, over the program's whole-file functions (so a
// file is never left half-written either).

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <span>
#include <vector>

#include "app/file_bytes.h"

namespace livrano {

// The whole file, or nullopt when it is missing or cannot be read.
std::optional<std::vector<std::uint8_t>> readByteFile(const std::filesystem::path& path);

// Replaces the file's content with the bytes (replaceFileBytes through `steps`). False when the
// folder is missing or any step fails; an earlier file then stays as it was.
bool writeByteFile(const std::filesystem::path& path, std::span<const std::uint8_t> bytes,
                   FileSteps& steps = systemFileSteps());

// Calls `use` with the bytes of a whole regular file, mapped into memory instead of copied, so
// that a large bitmap is read without a copy of it and without pages cleared only to be
// overwritten. False, without calling it, when the file cannot be read.
bool withFileBytes(const std::filesystem::path& path,
                   const std::function<void(std::span<const std::uint8_t>)>& use);

} // namespace livrano
