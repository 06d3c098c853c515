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

Status writeFileReplacing(const fs::path& file, std::string_view bytes) {
    const std::string shown = "\"" + file.string() + "\"";
    // A name of our own beside the target: same folder, so the rename stays on one file system.
    std::random_device rd;
    const fs::path temp =
        file.parent_path() / (file.filename().string() + ".livrano-" + std::to_string(rd()) + ".tmp");
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        if (!out)
            return Status::Error("Cannot write " + shown + ": the folder cannot be written to.");
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.flush();
        if (!out) {
            out.close();
            std::error_code ignored;
            fs::remove(temp, ignored);
            return Status::Error("Cannot write " + shown + ": writing failed (is the disk full?).");
        }
    }
    std::error_code ec;
    fs::rename(temp, file, ec);
    if (ec) {
        std::error_code ignored;
        fs::remove(temp, ignored);
        return Status::Error("Cannot write " + shown + ": " + ec.message() + ".");
    }
    return Status::Ok();
}

} // namespace livrano
