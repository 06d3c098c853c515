#include "app/file_stamp.h"

#include <optional>
#include <system_error>

#include "app/checksum.h"
#include "app/file_bytes.h"

namespace livrano {

namespace fs = std::filesystem;

FileStamp stampOf(const fs::path& file, std::string_view bytes) {
    FileStamp stamp;
    std::error_code ec;
    stamp.size = fs::file_size(file, ec);
    if (ec)
        return stamp;
    stamp.time = fs::last_write_time(file, ec);
    if (ec)
        return stamp;
    stamp.exists = true;
    stamp.hash = sha256Hex(bytes);
    return stamp;
}

FileStamp stampOf(const fs::path& file) {
    const std::optional<std::string> bytes = readFileBytes(file);
    return bytes ? stampOf(file, *bytes) : FileStamp();
}

} // namespace livrano
