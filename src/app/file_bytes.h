// SPDX-License-Identifier: MIT
#pragma once
// Whole files as bytes, and replacing a file so that it is never left half-written, not even by
// a power cut.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "app/status.h"

namespace livrano {

// The file's bytes into `bytes`. A failure (`bytes` unchanged) has the reason as its message, a
// phrase in the system's words where the system refused ("it is missing", "Permission denied").
Status readFileBytes(const std::filesystem::path& file, std::string& bytes);

// The same where only whether the file could be read matters.
std::optional<std::string> readFileBytes(const std::filesystem::path& file);

// Calls `use` with the bytes of a whole regular file, read into one buffer that is not cleared
// first. Fails, without calling it and with the reason as readFileBytes gives it, when the file
// cannot be read or changed while it was read (another size or time after than before, a short
// read): a file an editor is saving is refused as a half-written one is, never a signal.
Status withFileBytes(const std::filesystem::path& file,
                     const std::function<void(std::span<const std::uint8_t>)>& use);

// The system calls a replacement is made of, one each, so that a test can watch their order or
// make one of them fail. Every failure's message is a phrase (no capital, no full stop) that
// names the file and the reason.
class FileSteps {
public:
    virtual ~FileSteps() = default;

    // Creates `file` holding the bytes, with `permissions` when given (set before any byte is
    // written, so a private file's bytes are never readable by others).
    virtual Status writeFile(const std::filesystem::path& file, std::string_view bytes,
                             std::optional<std::filesystem::perms> permissions) = 0;
    // The file's bytes on the disk, not only in the system's cache.
    virtual Status syncFile(const std::filesystem::path& file) = 0;
    // `from` takes the place of `to` in one step; both lie in one folder.
    virtual Status renameFile(const std::filesystem::path& from, const std::filesystem::path& to) = 0;
    // The folder's entries (a file created or renamed in it) on the disk.
    virtual Status syncFolder(const std::filesystem::path& folder) = 0;
    // Deletes a file; a folder or a missing file is a failure.
    virtual Status removeFile(const std::filesystem::path& file) = 0;
};

// The steps on the real file system.
FileSteps& systemFileSteps();
// The same without the two syncs, for files the program makes again whenever it needs them (the
// intermediate bitmaps): losing them to a power cut loses nothing.
FileSteps& unsyncedFileSteps();

// Replaces `file` with the bytes: writes them to a new file in the same folder, syncs it, renames
// it over `file` and syncs the folder, so that a reader, and the disk after a power cut, has
// either the old content or the new, never a part. A symbolic link is followed to its final
// target, which is replaced the same way. The new file gets `permissions` when given, else those
// of the file it replaces. Refuses, writing nothing, a `file` that exists but is not a regular
// file (a folder, a device, a pipe). When a step before the rename fails, the old file is
// untouched and no temporary file is left behind; the message names the file.
Status replaceFileBytes(const std::filesystem::path& file, std::string_view bytes,
                        FileSteps& steps = systemFileSteps(),
                        std::optional<std::filesystem::perms> permissions = std::nullopt);

// The two halves of replaceFileBytes, for work that replaces several files and wants every new
// one on the disk before the first takes its place. A staged file is the new bytes, written and
// synced beside the final target of `file`, which is untouched; the refusals and permissions are
// replaceFileBytes's, and a failed stage leaves no temporary file behind.
struct StagedFile {
    std::filesystem::path temporary;
    std::filesystem::path target;
};
Status stageFileBytes(const std::filesystem::path& file, std::string_view bytes, FileSteps& steps,
                      StagedFile& staged, std::optional<std::filesystem::perms> permissions = std::nullopt);
// Renames the staged file over its target and syncs the folder; a failed rename removes it.
Status commitStagedFile(const StagedFile& staged, FileSteps& steps);
// Removes a staged file that is not to take its target's place (a missing one is no failure).
void discardStagedFile(const StagedFile& staged, FileSteps& steps);

// The same for the unsigned bytes of pictures and textures.
Status replaceFileBytes(const std::filesystem::path& file, std::span<const std::uint8_t> bytes,
                        FileSteps& steps = systemFileSteps(),
                        std::optional<std::filesystem::perms> permissions = std::nullopt);

// The name of the file that `name` was to replace when it is one of replaceFileBytes's temporary
// files ("<name>.livrano-<n>.tmp", left behind only by a process killed midway); else nullopt.
std::optional<std::string> temporaryFileTarget(std::string_view name);

// How many characters a replacement's temporary file's name has at most beyond the name of the
// file it replaces: a file whose name is that much short of the file system's limit can be replaced.
std::size_t temporaryNameExtra();

// Copies `from` over `to` by replaceFileBytes; `to` keeps its own permissions.
Status copyFileBytes(const std::filesystem::path& from, const std::filesystem::path& to,
                     FileSteps& steps = systemFileSteps());

} // namespace livrano
