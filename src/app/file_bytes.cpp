#include "app/file_bytes.h"

#include <fstream>
#include <iterator>
#include <random>
#include <system_error>

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
    return Status::Error("Could not write \"" + file.string() + "\": " + reason + ".");
}

} // namespace

Status replaceFileBytes(const fs::path& file, std::string_view bytes) {
    const fs::path temporary = siblingTemporary(file);
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
    std::error_code ec;
    fs::rename(temporary, file, ec);
    if (ec) {
        std::error_code ignored;
        fs::remove(temporary, ignored);
        return failure(file, ec.message());
    }
    return Status::Ok();
}

} // namespace livrano
