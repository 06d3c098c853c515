#pragma once
// What a writer that read a file earlier checks before it replaces it: that nobody else saved it
// meanwhile (an editor open on it), so that the bytes it composed from are still the file's.

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace livrano {

struct FileStamp {
    bool exists = false;
    std::uintmax_t size = 0;
    std::filesystem::file_time_type time{};
    std::string hash; // SHA-256 of the bytes read

    bool operator==(const FileStamp&) const = default;
};

// The stamp of `file` whose bytes, just read, are `bytes`: its size and modification time as
// they are now, and the hash of the bytes.
FileStamp stampOf(const std::filesystem::path& file, std::string_view bytes);

// The stamp of `file` as it is now, reading it; a missing or unreadable file has exists false.
FileStamp stampOf(const std::filesystem::path& file);

} // namespace livrano
