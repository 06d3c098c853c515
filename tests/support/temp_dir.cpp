// SPDX-License-Identifier: MIT
#include "support/temp_dir.h"

#include <atomic>
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>
#include <stdexcept>

namespace livrano::testkit {

namespace fs = std::filesystem;

TempDir::TempDir(const fs::path& under) {
    static std::atomic<unsigned> counter{0};
    std::random_device rd;
    for (int attempt = 0; attempt < 100; ++attempt) {
        fs::path candidate =
            under / ("livrano-test-" + std::to_string(rd()) + "-" + std::to_string(counter++));
        if (fs::create_directory(candidate)) {
            m_path = candidate;
            return;
        }
    }
    throw std::runtime_error("cannot create a temporary folder");
}

TempDir::~TempDir() {
    std::error_code ec;
    fs::remove_all(m_path, ec);
}

void writeFile(const fs::path& file, std::string_view bytes) {
    fs::create_directories(file.parent_path());
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

void writeFile(const fs::path& file, std::span<const std::uint8_t> bytes) {
    writeFile(file, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

std::string readFile(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return std::move(bytes).str();
}

std::ptrdiff_t entryCount(const fs::path& folder) {
    return std::distance(fs::directory_iterator(folder), fs::directory_iterator());
}

Snapshot snapshot(const fs::path& folder) {
    Snapshot entries;
    for (const fs::directory_entry& e : fs::recursive_directory_iterator(folder)) {
        const fs::file_status s = e.symlink_status();
        entries[e.path().lexically_relative(folder).string()] = {
            s.type(), s.permissions(), fs::is_regular_file(s) ? readFile(e.path()) : ""};
    }
    return entries;
}

fs::path testData(std::string_view name) {
    return fs::path(LIVRANO_TEST_DATA_DIR) / name;
}

} // namespace livrano::testkit
