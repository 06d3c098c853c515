// SPDX-License-Identifier: MIT
#pragma once
// The file operations a build performs on the simulator's aircraft folder, behind one narrow
// interface so that tests can watch them or make any single one fail: the steps of every
// replacement (write, sync, rename, folder sync) and a few more. Every operation returns a Status
// whose message names the file and the reason; none throws.

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "app/file_bytes.h"
#include "app/status.h"

namespace livrano {

// Bytes put at a 0-based position of a file's bytes.
struct FilePatch {
    std::uint64_t position = 0;
    std::string bytes;
};

class FileOperations : public FileSteps {
public:
    // Creates one folder; its parent must exist. An existing folder is not an error.
    virtual Status createDirectory(const std::filesystem::path& folder) = 0;
    // The whole file into `bytes`.
    virtual Status readFile(const std::filesystem::path& file, std::string& bytes) = 0;
    // Removes a folder only when it is empty.
    virtual Status removeEmptyDirectory(const std::filesystem::path& folder) = 0;
    // Clears the read-only mark that would stop a delete (hidden and system marks do not).
    virtual Status makeDeletable(const std::filesystem::path& file) = 0;
    // Moves a file to another folder of the same file system in one step, replacing a file there.
    virtual Status moveFile(const std::filesystem::path& from, const std::filesystem::path& to) = 0;
    // The bytes that may still be written on the file system of `folder`, an existing folder.
    virtual Status availableSpace(const std::filesystem::path& folder, std::uintmax_t& bytes) = 0;

    // A missing folder is created and its parent synced, so that the new folder's name is on the
    // disk before files go into it; an existing folder is left alone.
    Status makeFolder(const std::filesystem::path& folder);
    // replaceFileBytes through these steps: `file` holds either its old bytes or the new ones.
    Status replaceFile(const std::filesystem::path& file, std::string_view bytes);
    // Reads `from` and replaces `to` with its bytes the same way; `to` keeps its own permissions.
    Status copyFile(const std::filesystem::path& from, const std::filesystem::path& to);
    // The same for a copy that stands for `from` (a backup): it gets `from`'s permissions.
    Status backUpFile(const std::filesystem::path& from, const std::filesystem::path& to);
};

// The operations on the real file system. One instance serves the whole process.
FileOperations& systemFileOperations();

} // namespace livrano
