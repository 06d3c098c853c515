// SPDX-License-Identifier: MIT
#pragma once
// A fresh folder under the system's temporary folder, removed with everything in it.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <map>
#include <span>
#include <string>
#include <string_view>
#include <tuple>

namespace livrano::testkit {

class TempDir {
public:
    // In `under`, an existing folder.
    explicit TempDir(const std::filesystem::path& under = std::filesystem::temp_directory_path());
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return m_path; }
    std::filesystem::path operator/(std::string_view name) const { return m_path / name; }

private:
    std::filesystem::path m_path;
};

// Whole-file helpers for tests: bytes in, bytes out; a missing file reads as "".
void writeFile(const std::filesystem::path& file, std::string_view bytes);
void writeFile(const std::filesystem::path& file, std::span<const std::uint8_t> bytes);
std::string readFile(const std::filesystem::path& file);
// The number of entries directly in `folder`.
std::ptrdiff_t entryCount(const std::filesystem::path& folder);

// Every entry under `folder` by its relative name: its type, its permissions and a file's bytes.
using Snapshot =
    std::map<std::string, std::tuple<std::filesystem::file_type, std::filesystem::perms, std::string>>;
Snapshot snapshot(const std::filesystem::path& folder);

// A file of tests/data: known answers and sample texts kept out of the test code.
std::filesystem::path testData(std::string_view name);

} // namespace livrano::testkit
