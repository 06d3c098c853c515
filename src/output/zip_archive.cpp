// SPDX-License-Identifier: MIT
#include "output/zip_archive.h"

#include <algorithm>

#include <zip.h>

namespace livrano {

namespace {

constexpr std::uint32_t kUnixFileType = 0170000;
constexpr std::uint32_t kUnixLink = 0120000;
constexpr std::uint32_t kWindowsReparsePoint = 0x400;

std::string zipError(zip_error_t* error) {
    return zip_error_strerror(error);
}

Status damaged(const std::string& reason) {
    return Status::Refused("The zip archive is damaged or not a zip archive: " + reason + ".");
}

// The archive's entries, named and typed, and the sum of their compressed sizes.
Status listEntries(zip_t* zip, zip_uint64_t count, std::vector<ZipEntry>& entries,
                   std::uint64_t& compressed) {
    for (zip_uint64_t i = 0; i < count; ++i) {
        zip_stat_t stat;
        zip_stat_init(&stat);
        const char* raw = zip_get_name(zip, i, ZIP_FL_ENC_RAW);
        const char* name = zip_get_name(zip, i, ZIP_FL_ENC_STRICT);
        if (raw == nullptr || name == nullptr || zip_stat_index(zip, i, 0, &stat) != 0)
            return damaged(zip_strerror(zip));
        if ((stat.valid & ZIP_STAT_ENCRYPTION_METHOD) && stat.encryption_method != ZIP_EM_NONE)
            return Status::Refused("The zip archive's entry \"" + std::string(name) +
                                   "\" is encrypted; only plain archives can be installed.");
        ZipEntry entry;
        entry.rawName = raw;
        entry.name = name;
        entry.folder = entry.name.ends_with('/');
        zip_uint8_t system = 0;
        zip_uint32_t attributes = 0;
        if (zip_file_get_external_attributes(zip, i, 0, &system, &attributes) == 0) {
            entry.link = (system == ZIP_OPSYS_UNIX && ((attributes >> 16) & kUnixFileType) == kUnixLink) ||
                         (attributes & kWindowsReparsePoint) != 0;
        }
        compressed += (stat.valid & ZIP_STAT_COMP_SIZE) ? stat.comp_size : 0;
        entries.push_back(std::move(entry));
    }
    return Status::Ok();
}

// Inflates every entry to learn its size, refusing the archive as soon as the whole grows past
// the limits against its `compressed` bytes.
Status measureEntries(zip_t* zip, std::vector<ZipEntry>& entries, std::uint64_t compressed,
                      const ZipLimits& limits) {
    std::uint64_t inflated = 0;
    std::vector<char> buffer(1 << 16);
    for (std::size_t i = 0; i < entries.size(); ++i) {
        zip_file_t* file = zip_fopen_index(zip, i, 0);
        if (file == nullptr)
            return damaged("\"" + entries[i].name + "\": " + zip_strerror(zip));
        zip_int64_t n = 0;
        while ((n = zip_fread(file, buffer.data(), buffer.size())) > 0) {
            inflated += static_cast<std::uint64_t>(n);
            entries[i].size += static_cast<std::uint64_t>(n);
            const bool tooLarge = inflated > limits.inflatedBytes;
            const bool tooRich = inflated > limits.ratioGrace &&
                                 inflated > limits.ratio * std::max<std::uint64_t>(compressed, 1);
            if (tooLarge || tooRich) {
                zip_fclose(file);
                return Status::Refused("The zip archive inflates to more than " +
                                       (tooLarge ? std::to_string(limits.inflatedBytes) + " bytes"
                                                 : std::to_string(limits.ratio) + " times its " +
                                                       std::to_string(compressed) + " compressed bytes") +
                                       "; it is refused as a possible zip bomb.");
            }
        }
        const std::string reason = n < 0 ? zip_file_strerror(file) : "";
        zip_fclose(file);
        if (n < 0)
            return damaged("\"" + entries[i].name + "\": " + reason);
    }
    return Status::Ok();
}

} // namespace

struct ZipReader::Archive {
    // Discards the archive's handle without writing: the archive is only ever read.
    struct Discard {
        void operator()(zip_t* handle) const { zip_discard(handle); }
    };
    std::string bytes;
    std::unique_ptr<zip_t, Discard> zip;
};

ZipReader::ZipReader() = default;
ZipReader::~ZipReader() = default;

Status ZipReader::open(std::string bytes, const ZipLimits& limits) {
    m_entries.clear();
    m_archive = std::make_unique<Archive>();
    m_archive->bytes = std::move(bytes);
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* source =
        zip_source_buffer_create(m_archive->bytes.data(), m_archive->bytes.size(), 0, &error);
    if (source != nullptr)
        m_archive->zip.reset(zip_open_from_source(source, ZIP_CHECKCONS | ZIP_RDONLY, &error));
    if (m_archive->zip == nullptr) {
        if (source != nullptr)
            zip_source_free(source);
        Status s = damaged(zipError(&error));
        zip_error_fini(&error);
        m_archive.reset();
        return s;
    }
    zip_error_fini(&error);
    zip_t* zip = m_archive->zip.get();
    const zip_int64_t count = zip_get_num_entries(zip, 0);
    if (count < 0 || static_cast<std::uint64_t>(count) > limits.entries)
        return Status::Refused("The zip archive holds " + std::to_string(count) + " entries; more than " +
                               std::to_string(limits.entries) + " are refused.");

    // The compressed bytes can overlap (entries sharing one stream is a known bomb), so they
    // never count for more than the archive itself.
    std::uint64_t compressed = 0;
    std::vector<ZipEntry> entries;
    if (Status s = listEntries(zip, static_cast<zip_uint64_t>(count), entries, compressed); !s)
        return s;
    compressed = std::min<std::uint64_t>(compressed, m_archive->bytes.size());
    if (Status s = measureEntries(zip, entries, compressed, limits); !s)
        return s;
    m_entries = std::move(entries);
    return Status::Ok();
}

Status ZipReader::read(std::size_t index, std::string& bytes) const {
    if (!m_archive || index >= m_entries.size())
        return Status::Error("No such entry in the zip archive.");
    zip_file_t* file = zip_fopen_index(m_archive->zip.get(), index, 0);
    if (file == nullptr)
        return damaged(zip_strerror(m_archive->zip.get()));
    bytes.assign(m_entries[index].size, '\0');
    const zip_int64_t n = zip_fread(file, bytes.data(), bytes.size());
    zip_fclose(file);
    if (n < 0 || static_cast<std::uint64_t>(n) != bytes.size())
        return Status::Error("The zip archive's entry \"" + m_entries[index].name +
                             "\" reads differently the second time.");
    return Status::Ok();
}

Status makeZip(const std::vector<ZipMember>& members, std::string& zipBytes) {
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* target = zip_source_buffer_create(nullptr, 0, 0, &error);
    zip_t* zip = target != nullptr ? zip_open_from_source(target, ZIP_TRUNCATE, &error) : nullptr;
    if (zip == nullptr) {
        Status s = Status::Error("Cannot make a zip archive: " + zipError(&error) + ".");
        if (target != nullptr)
            zip_source_free(target);
        zip_error_fini(&error);
        return s;
    }
    zip_error_fini(&error);
    zip_source_keep(target); // its bytes are read after the archive is closed
    auto fail = [&](const std::string& what) {
        Status s = Status::Error("Cannot make a zip archive: " + what + ": " + zip_strerror(zip) + ".");
        zip_discard(zip);
        zip_source_free(target);
        return s;
    };
    for (const ZipMember& m : members) {
        zip_source_t* source = zip_source_buffer(zip, m.bytes.data(), m.bytes.size(), 0);
        if (source == nullptr)
            return fail(m.name);
        const zip_int64_t index = zip_file_add(zip, m.name.c_str(), source, ZIP_FL_ENC_UTF_8);
        if (index < 0) {
            zip_source_free(source);
            return fail(m.name);
        }
        zip_set_file_compression(zip, static_cast<zip_uint64_t>(index), ZIP_CM_DEFLATE, 9);
    }
    if (zip_close(zip) != 0)
        return fail("writing");
    zip_stat_t stat;
    zip_stat_init(&stat);
    bool read = zip_source_stat(target, &stat) == 0 && zip_source_open(target) == 0;
    if (read) {
        zipBytes.assign(stat.size, '\0');
        read = zip_source_read(target, zipBytes.data(), stat.size) == static_cast<zip_int64_t>(stat.size);
        zip_source_close(target);
    }
    zip_source_free(target);
    if (!read)
        return Status::Error("Cannot make a zip archive: its bytes cannot be read back.");
    return Status::Ok();
}

} // namespace livrano
