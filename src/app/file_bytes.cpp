// SPDX-License-Identifier: MIT
#include "app/file_bytes.h"

#include <cerrno>
#include <fstream>
#include <iterator>
#include <random>
#include <system_error>

#include "app/code_page.h"
#include "app/platform.h"

namespace livrano {

namespace fs = std::filesystem;

namespace {

// Why `file` cannot be opened for reading, as a phrase; empty when it is a regular file. A read's
// failure is its reason alone: each caller names the file as its own message does.
std::string unreadable(const fs::path& file) {
    std::error_code ec;
    const fs::file_status status = fs::status(file, ec);
    if (status.type() == fs::file_type::not_found)
        return "it is missing";
    if (ec)
        return ec.message();
    return fs::is_regular_file(status) ? std::string() : "it is not a file";
}

// The system's reason for the failed call just made, as a phrase.
std::string systemReason() {
    return std::error_code(errno != 0 ? errno : EIO, std::generic_category()).message();
}

} // namespace

Status readFileBytes(const fs::path& file, std::string& bytes) {
    if (const std::string why = unreadable(file); !why.empty())
        return Status::Error(why);
    errno = 0;
    std::ifstream in(file, std::ios::binary);
    if (!in)
        return Status::Error(systemReason());
    std::string read((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad())
        return Status::Error(systemReason());
    bytes = std::move(read);
    return Status::Ok();
}

std::optional<std::string> readFileBytes(const fs::path& file) {
    std::string bytes;
    if (!readFileBytes(file, bytes))
        return std::nullopt;
    return bytes;
}

namespace {

// The file's bytes in one buffer, read rather than mapped: a mapped file that an editor shrinks
// while it is read kills the process with a bus error, where a read only comes up short. The
// stream reads a request this large straight into the buffer, which is not cleared first (a
// 64 MB template would be written twice). Fails when the file cannot be read whole, or changed
// while it was read: a size or time other than before, fewer bytes, or more.
Status readWhole(const fs::path& file, UnclearedBytes& buffer, std::size_t& size) {
    if (const std::string why = unreadable(file); !why.empty())
        return Status::Error(why);
    const std::string before = fileStamp(file);
    errno = 0;
    std::ifstream in(file, std::ios::binary | std::ios::ate);
    const std::streamoff end = in ? static_cast<std::streamoff>(in.tellg()) : -1;
    if (end < 0 || !in.seekg(0))
        return Status::Error(systemReason());
    size = static_cast<std::size_t>(end);
    buffer = unclearedBytes(size);
    in.read(reinterpret_cast<char*>(buffer.get()), static_cast<std::streamsize>(size));
    if (in.bad())
        return Status::Error(systemReason());
    if (static_cast<std::size_t>(in.gcount()) != size || in.peek() != std::ifstream::traits_type::eof() ||
        fileStamp(file) != before)
        return Status::Error("it changed while it was read");
    return Status::Ok();
}

} // namespace

Status withFileBytes(const fs::path& file, const std::function<void(std::span<const std::uint8_t>)>& use) {
    UnclearedBytes buffer;
    std::size_t size = 0;
    if (Status s = readWhole(file, buffer, size); !s)
        return s;
    use(std::span<const std::uint8_t>(buffer.get(), size));
    return Status::Ok();
}

namespace {

constexpr std::string_view kTemporaryMark = ".livrano-";
constexpr std::string_view kTemporaryEnd = ".tmp";

// A name in the same folder that no other writer picks: the rename is then atomic on one file system.
fs::path siblingTemporary(const fs::path& file) {
    static std::mt19937 generator{std::random_device{}()};
    fs::path temporary = file;
    temporary += std::string(kTemporaryMark) + std::to_string(generator()) + std::string(kTemporaryEnd);
    return temporary;
}

Status failure(const fs::path& file, const std::string& reason) {
    return Status::Error("Could not write \"" + utf8FromPath(file) + "\": " + reason + ".");
}

Status stepFailure(const char* what, const fs::path& file, const std::string& reason) {
    return Status::Error("cannot " + std::string(what) + " \"" + utf8FromPath(file) + "\": " + reason);
}

Status outcome(const Status& done, const char* what, const fs::path& file) {
    return done ? Status::Ok() : stepFailure(what, file, done.message());
}

class SystemFileSteps final : public FileSteps {
public:
    explicit SystemFileSteps(bool sync) : m_sync(sync) {}

    Status writeFile(const fs::path& file, std::string_view bytes,
                     std::optional<fs::perms> permissions) override {
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        if (!out)
            return stepFailure("create", file, "the folder cannot be written to");
        std::error_code ec;
        if (permissions)
            fs::permissions(file, *permissions, fs::perm_options::replace, ec);
        if (ec)
            return stepFailure("set the permissions of", file, ec.message());
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        // Closing flushes the last buffer: a full disk may refuse it only here.
        out.close();
        if (!out)
            return stepFailure("write", file, "the disk refused the data");
        return Status::Ok();
    }

    Status syncFile(const fs::path& file) override {
        return m_sync ? outcome(livrano::syncFile(file), "sync", file) : Status::Ok();
    }

    Status renameFile(const fs::path& from, const fs::path& to) override {
        return outcome(renameOver(from, to), "rename", from);
    }

    Status syncFolder(const fs::path& folder) override {
        return m_sync ? outcome(livrano::syncFolder(folder), "sync the folder", folder) : Status::Ok();
    }

    Status removeFile(const fs::path& file) override {
        std::error_code ec;
        if (fs::is_directory(file, ec))
            return stepFailure("delete", file, "it is a folder");
        if (!fs::remove(file, ec) && !ec)
            return stepFailure("delete", file, "it does not exist");
        if (ec)
            return stepFailure("delete", file, ec.message());
        return Status::Ok();
    }

private:
    bool m_sync;
};

// The file a write to `file` must change: a symbolic link's final target (mod folders are often
// linked in, and replacing the link would cut the file off from its owner), else `file` itself.
std::optional<fs::path> finalTarget(const fs::path& file) {
    fs::path target = file;
    // As many links as the kernel follows before it gives up on a loop.
    for (int hop = 0; hop < 40; ++hop) {
        std::error_code ec;
        if (!fs::is_symlink(fs::symlink_status(target, ec)))
            return target;
        const fs::path link = fs::read_symlink(target, ec);
        if (ec)
            return std::nullopt;
        target = link.is_absolute() ? link : target.parent_path() / link;
    }
    return std::nullopt;
}

} // namespace

FileSteps& systemFileSteps() {
    static SystemFileSteps steps(true);
    return steps;
}

FileSteps& unsyncedFileSteps() {
    static SystemFileSteps steps(false);
    return steps;
}

Status stageFileBytes(const fs::path& file, std::string_view bytes, FileSteps& steps, StagedFile& staged,
                      std::optional<fs::perms> permissions) {
    const std::optional<fs::path> target = finalTarget(file);
    if (!target)
        return failure(file, "its symbolic links do not end at a file");
    std::error_code missing; // a file that is not there yet is simply created
    const fs::file_status existing = fs::status(*target, missing);
    // A device or a pipe would be replaced by a plain file, a folder cannot be.
    if (fs::exists(existing) && !fs::is_regular_file(existing))
        return failure(file, "it is not a regular file");
    // The replacement keeps the permissions of the file it replaces (a private 0600 stays private).
    if (!permissions && fs::exists(existing))
        permissions = existing.permissions();
    // The new bytes are on the disk before they take the old ones' place: a power cut leaves the
    // old file or the whole new one.
    staged = {siblingTemporary(*target), *target};
    Status status = steps.writeFile(staged.temporary, bytes, permissions);
    if (status)
        status = steps.syncFile(staged.temporary);
    if (!status) {
        discardStagedFile(staged, steps);
        return failure(file, status.text());
    }
    return Status::Ok();
}

Status commitStagedFile(const StagedFile& staged, FileSteps& steps) {
    if (Status s = steps.renameFile(staged.temporary, staged.target); !s) {
        discardStagedFile(staged, steps);
        return failure(staged.target, s.text());
    }
    // The new name is on the disk before the work goes on.
    if (Status s = steps.syncFolder(staged.target.parent_path()); !s)
        return failure(staged.target, s.text());
    return Status::Ok();
}

void discardStagedFile(const StagedFile& staged, FileSteps& steps) {
    std::error_code ec;
    // The failed step is what to report; a build clears the temporaries left in its folders.
    if (fs::exists(fs::symlink_status(staged.temporary, ec)))
        (void)steps.removeFile(staged.temporary);
}

Status replaceFileBytes(const fs::path& file, std::string_view bytes, FileSteps& steps,
                        std::optional<fs::perms> permissions) {
    StagedFile staged;
    if (Status s = stageFileBytes(file, bytes, steps, staged, permissions); !s)
        return s;
    return commitStagedFile(staged, steps);
}

Status replaceFileBytes(const fs::path& file, std::span<const std::uint8_t> bytes, FileSteps& steps,
                        std::optional<fs::perms> permissions) {
    return replaceFileBytes(file, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()),
                            steps, permissions);
}

std::optional<std::string> temporaryFileTarget(std::string_view name) {
    if (!name.ends_with(kTemporaryEnd))
        return std::nullopt;
    name.remove_suffix(kTemporaryEnd.size());
    const std::size_t mark = name.rfind(kTemporaryMark);
    if (mark == std::string_view::npos || mark == 0)
        return std::nullopt;
    const std::string_view digits = name.substr(mark + kTemporaryMark.size());
    if (digits.empty() || digits.size() > 10 ||
        digits.find_first_not_of("0123456789") != std::string_view::npos)
        return std::nullopt;
    return std::string(name.substr(0, mark));
}

std::size_t temporaryNameExtra() {
    return kTemporaryMark.size() + std::to_string(std::mt19937::max()).size() + kTemporaryEnd.size();
}

Status copyFileBytes(const fs::path& from, const fs::path& to, FileSteps& steps) {
    const std::optional<std::string> bytes = readFileBytes(from);
    if (!bytes)
        return Status::Error("Cannot copy \"" + utf8FromPath(from) +
                             "\": it is missing, not a file, or unreadable.");
    return replaceFileBytes(to, *bytes, steps);
}

} // namespace livrano
