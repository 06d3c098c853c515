// SPDX-License-Identifier: MIT
#pragma once
// Zip archives, as painters share liveries, read and written through libzip. A zip from
// elsewhere is hostile input: opening one checks the sizes its directory declares, then inflates
// every entry once, counting the bytes that really come out, and refuses the archive before the
// caller writes anything when it is damaged, too large, or a compression bomb. An archive file is
// read where it lies, never whole: memory holds one entry at a time.

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "app/status.h"

struct zip_source;
struct zip_error;

namespace livrano {

// What an archive may hold before it is refused as too large.
struct ZipLimits {
    std::size_t entries = 10000;
    std::uint64_t inflatedBytes = std::uint64_t(2) << 30; // 2 GiB in all
    std::uint64_t ratio = 200;                            // inflated bytes per compressed byte, in all
    // The ratio counts once this much has come out: a painted livery's large plain areas
    // compress far beyond it (the demo's liveries inflate about 400 times), and below this
    // size inflating costs little, whatever the ratio.
    std::uint64_t ratioGrace = std::uint64_t(64) << 20;
};

struct ZipEntry {
    std::string name;       // UTF-8: flagged UTF-8 names as they are, every other name read as CP437
    std::string rawName;    // the bytes of the archive's own name
    bool folder = false;    // the name ends with "/"
    bool link = false;      // a symbolic link (Unix mode) or a reparse point (Windows attributes)
    std::uint64_t size = 0; // inflated bytes, as counted when the archive was opened (and declared)
};

class ZipReader {
public:
    ZipReader();
    ~ZipReader();
    ZipReader(const ZipReader&) = delete;
    ZipReader& operator=(const ZipReader&) = delete;

    // Opens the archive file, which stays open and is read from while the reader lives, and
    // inflates every entry once. Fails, naming the reason, for a file that cannot be read, a
    // damaged archive (bad structure, a checksum that does not match, an entry that inflates to
    // another size than it declares, an encrypted entry), more than limits.entries entries, more
    // than limits.inflatedBytes inflated bytes, or more than limits.ratioGrace inflated bytes that
    // are beyond limits.ratio times the compressed ones. The sizes the archive declares are
    // checked before anything is inflated, and an inflation stops at the first byte past a limit
    // or past its entry's declared size.
    Status openFile(const std::filesystem::path& file, const ZipLimits& limits = {});
    // The same for an archive held in `bytes` (kept by the reader).
    Status open(std::string bytes, const ZipLimits& limits = {});
    const std::vector<ZipEntry>& entries() const { return m_entries; }
    // Entry `index`'s bytes. Fails when they are not those counted when the archive was opened
    // (its file changed since).
    Status read(std::size_t index, std::string& bytes) const;

private:
    struct Archive;
    // Opens `source` (taken over, even on failure) into `archive`; `error` is libzip's for it.
    Status openSource(zip_source* source, zip_error& error, std::unique_ptr<Archive> archive,
                      const ZipLimits& limits);
    std::unique_ptr<Archive> m_archive;
    std::vector<ZipEntry> m_entries;
};

struct ZipMember {
    std::string name; // UTF-8, "/" between folders; written with the UTF-8 flag when not ASCII
    std::string bytes;
};

// The archive of the members, deflated, in order.
Status makeZip(const std::vector<ZipMember>& members, std::string& zipBytes);

} // namespace livrano
