#include "output/file_operations.h"

#include <fstream>
#include <optional>
#include <system_error>

#include "app/code_page.h"
#include "app/file_bytes.h"

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
        std::optional<std::string> read = readFileBytes(file);
        if (!read)
            return failure("read", file, "it is missing, not a file, or unreadable");
        bytes = std::move(*read);
        return Status::Ok();
    }

    Status replaceFile(const fs::path& file, std::string_view bytes) override {
        return replaceFileBytes(file, bytes);
    }

    Status copyFile(const fs::path& from, const fs::path& to) override {
        // Through the whole-file replacement, so a copy keeps links and permissions as a write does.
        const std::optional<std::string> bytes = readFileBytes(from);
        if (!bytes)
            return failure("copy", from, "it is missing, not a file, or unreadable");
        return replaceFileBytes(to, *bytes);
    }

    Status patchFile(const fs::path& file, const std::vector<FilePatch>& patches) override {
        std::error_code ec;
        const std::uintmax_t size = fs::file_size(file, ec);
        if (ec)
            return failure("patch", file, ec);
        for (const FilePatch& p : patches) {
            if (p.position > size || p.bytes.size() > size - p.position)
                return failure("patch", file,
                               "writing " + std::to_string(p.bytes.size()) + " bytes at byte " +
                                   std::to_string(p.position + 1) + " would pass its end at byte " +
                                   std::to_string(size));
        }
        std::fstream io(file, std::ios::binary | std::ios::in | std::ios::out);
        if (!io)
            return failure("patch", file, "it cannot be opened for writing");
        for (const FilePatch& p : patches) {
            io.seekp(static_cast<std::streamoff>(p.position));
            io.write(p.bytes.data(), static_cast<std::streamsize>(p.bytes.size()));
        }
        io.flush();
        if (!io)
            return failure("patch", file, "writing failed");
        return Status::Ok();
    }

    Status removeFile(const fs::path& file) override {
        std::error_code ec;
        if (fs::is_directory(file, ec))
            return failure("delete", file, "it is a folder");
        if (!fs::remove(file, ec) && !ec)
            return failure("delete", file, "it does not exist");
        if (ec)
            return failure("delete", file, ec);
        return Status::Ok();
    }

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
};

} // namespace

FileOperations& systemFileOperations() {
    static SystemFileOperations operations;
    return operations;
}

} // namespace livrano
