// SPDX-License-Identifier: MIT
#include "output/zip_archive.h"

#include <algorithm>
#include <cstdint>
#include <system_error>

#include <zip.h>

#include "app/code_page.h"

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

// `a` + `b`, held at the largest value instead of wrapping: a hostile archive's sizes may
// add up past 64 bits.
std::uint64_t saturatingSum(std::uint64_t a, std::uint64_t b) {
    return b > UINT64_MAX - a ? UINT64_MAX : a + b;
}

// What the central directory says of the archive, before any entry is inflated.
struct Declared {
    std::vector<std::uint64_t> sizes; // each entry's inflated size
    std::uint64_t inflated = 0;       // their sum
    std::uint64_t compressed = 0;     // the sum of the compressed sizes
};

// The archive's entries, named and typed, and the sizes their directory declares.
Status listEntries(zip_t* zip, zip_uint64_t count, std::vector<ZipEntry>& entries, Declared& declared) {
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
        // Every size is checked against the one declared, so an entry must declare one.
        if (!(stat.valid & ZIP_STAT_SIZE) || !(stat.valid & ZIP_STAT_COMP_SIZE))
            return damaged("\"" + entry.name + "\" declares no size");
        declared.sizes.push_back(stat.size);
        declared.inflated = saturatingSum(declared.inflated, stat.size);
        declared.compressed = saturatingSum(declared.compressed, stat.comp_size);
        entries.push_back(std::move(entry));
    }
    return Status::Ok();
}

// inflated > ratio * compressed, without the product wrapping.
bool beyondRatio(std::uint64_t inflated, std::uint64_t compressed, std::uint64_t ratio) {
    compressed = std::max<std::uint64_t>(compressed, 1);
    return ratio == 0 || (compressed <= UINT64_MAX / ratio && inflated > ratio * compressed);
}

// Whether `inflated` bytes from `compressed` ones pass the limits: the refusal when they do not.
Status withinLimits(const char* verb, std::uint64_t inflated, std::uint64_t compressed,
                    const ZipLimits& limits) {
    const bool tooLarge = inflated > limits.inflatedBytes;
    const bool tooRich = inflated > limits.ratioGrace && beyondRatio(inflated, compressed, limits.ratio);
    if (!tooLarge && !tooRich)
        return Status::Ok();
    if (tooLarge)
        return Status::Refused("The zip archive " + std::string(verb) + " more than " +
                               std::to_string(limits.inflatedBytes) + " bytes; it is refused as too large.");
    return Status::Refused("The zip archive " + std::string(verb) + " more than " +
                           std::to_string(limits.ratio) + " times its " + std::to_string(compressed) +
                           " compressed bytes; it is refused as a possible zip bomb.");
}

// Inflates entry `index` to count its bytes, refusing it as soon as it passes the size its
// directory declares (a stream that lies about its size is not inflated to its end) and the
// archive as soon as the bytes so far pass the limits; `inflated` is the count before the entry.
Status measureEntry(zip_t* zip, std::size_t index, std::uint64_t declared, ZipEntry& entry,
                    std::uint64_t& inflated, std::uint64_t compressed, const ZipLimits& limits) {
    zip_file_t* file = zip_fopen_index(zip, index, 0);
    if (file == nullptr)
        return damaged("\"" + entry.name + "\": " + zip_strerror(zip));
    std::vector<char> buffer(1 << 16);
    zip_int64_t n = 0;
    Status status = Status::Ok();
    while (status && (n = zip_fread(file, buffer.data(), buffer.size())) > 0) {
        inflated += static_cast<std::uint64_t>(n);
        entry.size += static_cast<std::uint64_t>(n);
        status = withinLimits("inflates to", inflated, compressed, limits);
        if (status && entry.size > declared)
            status = damaged("\"" + entry.name + "\" inflates past the " + std::to_string(declared) +
                             " bytes it declares");
    }
    if (status && n < 0)
        status = damaged("\"" + entry.name + "\": " + zip_file_strerror(file));
    else if (status && entry.size != declared)
        status = damaged("\"" + entry.name + "\" inflates to " + std::to_string(entry.size) +
                         " bytes, not the " + std::to_string(declared) + " it declares");
    zip_fclose(file);
    return status;
}

} // namespace

struct ZipReader::Archive {
    // Discards the archive's handle without writing: the archive is only ever read.
    struct Discard {
        void operator()(zip_t* handle) const { zip_discard(handle); }
    };
    std::string bytes;      // an archive opened from memory; one opened from a file is read there
    std::uint64_t size = 0; // the archive's own bytes
    std::unique_ptr<zip_t, Discard> zip;
};

ZipReader::ZipReader() = default;
ZipReader::~ZipReader() = default;

Status ZipReader::open(std::string bytes, const ZipLimits& limits) {
    auto archive = std::make_unique<Archive>();
    archive->bytes = std::move(bytes);
    archive->size = archive->bytes.size();
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* source = zip_source_buffer_create(archive->bytes.data(), archive->bytes.size(), 0, &error);
    return openSource(source, error, std::move(archive), limits);
}

Status ZipReader::openFile(const std::filesystem::path& file, const ZipLimits& limits) {
    auto archive = std::make_unique<Archive>();
    std::error_code ec;
    const bool regular = std::filesystem::is_regular_file(file, ec);
    archive->size = regular ? std::filesystem::file_size(file, ec) : 0;
    if (!regular || ec) {
        m_entries.clear();
        m_archive.reset();
        return Status::Refused("The zip " + utf8FromPath(file) + " cannot be read.");
    }
    zip_error_t error;
    zip_error_init(&error);
#ifdef _WIN32
    zip_source_t* source = zip_source_win32w_create(file.c_str(), 0, -1, &error);
#else
    zip_source_t* source = zip_source_file_create(file.c_str(), 0, -1, &error);
#endif
    return openSource(source, error, std::move(archive), limits);
}

Status ZipReader::openSource(zip_source_t* source, zip_error_t& error, std::unique_ptr<Archive> archive,
                             const ZipLimits& limits) {
    m_entries.clear();
    m_archive.reset();
    if (source != nullptr)
        archive->zip.reset(zip_open_from_source(source, ZIP_CHECKCONS | ZIP_RDONLY, &error));
    if (archive->zip == nullptr) {
        if (source != nullptr)
            zip_source_free(source);
        Status s = damaged(zipError(&error));
        zip_error_fini(&error);
        return s;
    }
    zip_error_fini(&error);
    zip_t* zip = archive->zip.get();
    const zip_int64_t count = zip_get_num_entries(zip, 0);
    if (count < 0 || static_cast<std::uint64_t>(count) > limits.entries)
        return Status::Refused("The zip archive holds " + std::to_string(count) + " entries; more than " +
                               std::to_string(limits.entries) + " are refused.");

    std::vector<ZipEntry> entries;
    Declared declared;
    if (Status s = listEntries(zip, static_cast<zip_uint64_t>(count), entries, declared); !s)
        return s;
    // The compressed bytes can overlap (entries sharing one stream is a known bomb), so they
    // never count for more than the archive itself.
    const std::uint64_t compressed = std::min<std::uint64_t>(declared.compressed, archive->size);
    // What the directory declares is refused before a byte is inflated; what it hides (a size
    // that lies) is caught while inflating.
    if (Status s = withinLimits("declares", declared.inflated, compressed, limits); !s)
        return s;
    std::uint64_t inflated = 0;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (Status s = measureEntry(zip, i, declared.sizes[i], entries[i], inflated, compressed, limits); !s)
            return s;
    }
    m_archive = std::move(archive);
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
    // One byte more must not come: the archive's file may have changed since it was opened.
    char more = 0;
    const zip_int64_t beyond = n >= 0 ? zip_fread(file, &more, 1) : 0;
    zip_fclose(file);
    if (n < 0 || static_cast<std::uint64_t>(n) != bytes.size() || beyond != 0)
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
