#include "app/file_bytes.h"

#include <fstream>
#include <iterator>
#include <random>
#include <system_error>

#include "app/code_page.h"

namespace livrano {

namespace fs = std::filesystem;

std::optional<std::string> readFileBytes(const fs::path& file) {
    std::error_code ec;
    if (!fs::is_regular_file(file, ec))
        return std::nullopt;
    std::ifstream in(file, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad())
        return std::nullopt;
    return bytes;
}

namespace {

// A name in the same folder that no other writer picks: the rename is then atomic on one file system.
fs::path siblingTemporary(const fs::path& file) {
    static std::mt19937 generator{std::random_device{}()};
    fs::path temporary = file;
    temporary += ".livrano-" + std::to_string(generator()) + ".tmp";
    return temporary;
}

Status failure(const fs::path& file, const std::string& reason) {
    return Status::Error("Could not write \"" + utf8FromPath(file) + "\": " + reason + ".");
}

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

Status replaceFileBytes(const fs::path& file, std::string_view bytes) {
    const std::optional<fs::path> target = finalTarget(file);
    if (!target)
        return failure(file, "its symbolic links do not end at a file");
    std::error_code missing; // a file that is not there yet is simply created
    const fs::file_status existing = fs::status(*target, missing);
    // A device or a pipe would be replaced by a plain file, a folder cannot be.
    if (fs::exists(existing) && !fs::is_regular_file(existing))
        return failure(file, "it is not a regular file");
    const fs::path temporary = siblingTemporary(*target);
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!out)
            return failure(file, "the folder cannot be written to");
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        // Closing flushes the last buffer: a full disk may refuse it only here.
        out.close();
        if (!out) {
            std::error_code ignored;
            fs::remove(temporary, ignored);
            return failure(file, "the disk refused the data");
        }
    }
    // The replacement keeps the permissions of the file it replaces (a private 0600 stays private).
    std::error_code ec;
    if (fs::exists(existing))
        fs::permissions(temporary, existing.permissions(), fs::perm_options::replace, ec);
    if (!ec)
        fs::rename(temporary, *target, ec);
    if (ec) {
        std::error_code ignored;
        fs::remove(temporary, ignored);
        return failure(file, ec.message());
    }
    return Status::Ok();
}

} // namespace livrano
