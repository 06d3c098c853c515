// SPDX-License-Identifier: MIT
#include "output/file_operations.h"

#include <optional>
#include <system_error>

#include "app/code_page.h"
#include "app/file_bytes.h"
#include "app/platform.h"

namespace livrano {

namespace fs = std::filesystem;

namespace {

Status failure(std::string_view what, const fs::path& file, const std::string& reason) {
    return Status::Error("Cannot " + std::string(what) + " \"" + utf8FromPath(file) + "\": " + reason + ".");
}

Status failure(std::string_view what, const fs::path& file, const std::error_code& ec) {
    return failure(what, file, ec.message());
}

class SystemFileOperations final : public FileOperations {
public:
    Status createDirectory(const fs::path& folder) override {
        std::error_code ec;
        if (fs::is_directory(folder, ec))
            return Status::Ok();
        if (fs::exists(folder, ec))
            return failure("create the folder", folder, "a file of that name is in the way");
        fs::create_directory(folder, ec);
        if (ec)
            return failure("create the folder", folder, ec);
        return Status::Ok();
    }

    Status readFile(const fs::path& file, std::string& bytes) override {
        if (Status read = readFileBytes(file, bytes); !read)
            return failure("read", file, read.message());
        return Status::Ok();
    }

    Status writeFile(const fs::path& file, std::string_view bytes,
                     std::optional<fs::perms> permissions) override {
        return systemFileSteps().writeFile(file, bytes, permissions);
    }
    Status syncFile(const fs::path& file) override { return systemFileSteps().syncFile(file); }
    Status renameFile(const fs::path& from, const fs::path& to) override {
        return systemFileSteps().renameFile(from, to);
    }
    Status syncFolder(const fs::path& folder) override { return systemFileSteps().syncFolder(folder); }
    Status removeFile(const fs::path& file) override { return systemFileSteps().removeFile(file); }

    Status removeEmptyDirectory(const fs::path& folder) override {
        std::error_code ec;
        if (!fs::is_directory(folder, ec))
            return failure("remove the folder", folder, "it is not a folder");
        if (!fs::is_empty(folder, ec) || ec)
            return failure("remove the folder", folder, ec ? ec.message() : "it is not empty");
        fs::remove(folder, ec);
        if (ec)
            return failure("remove the folder", folder, ec);
        return Status::Ok();
    }

    Status makeDeletable(const fs::path& file) override {
        std::error_code ec;
        fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write, fs::perm_options::add, ec);
        if (ec)
            return failure("change the attributes of", file, ec);
        return Status::Ok();
    }

    Status moveFile(const fs::path& from, const fs::path& to) override {
        if (Status s = renameOver(from, to); !s)
            return failure("move", from, s.message());
        return Status::Ok();
    }

    Status availableSpace(const fs::path& folder, std::uintmax_t& bytes) override {
        std::error_code ec;
        const fs::space_info space = fs::space(folder, ec);
        if (ec)
            return failure("find the free space of", folder, ec);
        bytes = space.available;
        return Status::Ok();
    }
};

} // namespace

Status FileOperations::makeFolder(const fs::path& folder) {
    std::error_code ec;
    if (fs::is_directory(folder, ec))
        return Status::Ok();
    if (Status s = createDirectory(folder); !s)
        return s;
    if (Status s = syncFolder(folder.parent_path()); !s)
        return failure("keep the new folder", folder, s.message());
    return Status::Ok();
}

Status FileOperations::replaceFile(const fs::path& file, std::string_view bytes) {
    return replaceFileBytes(file, bytes, *this);
}

Status FileOperations::copyFile(const fs::path& from, const fs::path& to) {
    std::string bytes;
    if (Status s = readFile(from, bytes); !s)
        return s;
    return replaceFileBytes(to, bytes, *this);
}

Status FileOperations::backUpFile(const fs::path& from, const fs::path& to) {
    std::string bytes;
    if (Status s = readFile(from, bytes); !s)
        return s;
    std::error_code ec;
    const fs::file_status original = fs::status(from, ec);
    if (ec)
        return failure("back up", from, ec);
    return replaceFileBytes(to, bytes, *this, original.permissions());
}

FileOperations& systemFileOperations() {
    static SystemFileOperations operations;
    return operations;
}

} // namespace livrano
