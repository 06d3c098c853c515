#pragma once
// The file operations a build performs on the simulator's aircraft folder, behind one narrow
// interface so that tests can make any single operation fail. Every operation returns a Status
// whose message names the file and the reason; none throws.

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "app/status.h"

namespace livrano {

// Bytes written at a 0-based position of an existing file.
struct FilePatch {
    std::uint64_t position = 0;
    std::string bytes;
};

class FileOperations {
public:
    virtual ~FileOperations() = default;

    // Creates one folder; its parent must exist. An existing folder is not an error.
    virtual Status createDirectory(const std::filesystem::path& folder) = 0;
    // The whole file into `bytes`.
    virtual Status readFile(const std::filesystem::path& file, std::string& bytes) = 0;
    // Writes the bytes beside `file` and renames them into place: `file` is either left as it was
    // or holds the new bytes, never a part of them.
    virtual Status replaceFile(const std::filesystem::path& file, std::string_view bytes) = 0;
    // Copies `from` over `to` the same way (a copy beside `to`, then one rename).
    virtual Status copyFile(const std::filesystem::path& from, const std::filesystem::path& to) = 0;
    // Writes each patch in place through one open file, in order. Refuses, before writing
    // anything, a patch that would end past the end of the file: the file never changes length.
    virtual Status patchFile(const std::filesystem::path& file, const std::vector<FilePatch>& patches) = 0;
    virtual Status removeFile(const std::filesystem::path& file) = 0;
    // Removes a folder only when it is empty.
    virtual Status removeEmptyDirectory(const std::filesystem::path& folder) = 0;
    // Clears the read-only mark that would stop a delete (hidden and system marks do not).
    virtual Status makeDeletable(const std::filesystem::path& file) = 0;
};

// The operations on the real file system. One instance serves the whole process.
FileOperations& systemFileOperations();

} // namespace livrano
