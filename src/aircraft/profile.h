// SPDX-License-Identifier: MIT
#pragma once
// INI profile access with the results of the Windows profile functions
// (GetPrivateProfileString, GetPrivateProfileInt, WritePrivateProfileString), over bytes:
// Windows-1252 text, CRLF or LF lines, nothing transcoded.
//
// Reading: section and key names match without regard to case; the first matching section and
// the first matching key in it win; blanks around names and values and one pair of quotation
// marks (double or single) enclosing a value are dropped; ';' comment lines, blank lines and
// lines without '=' are not keys. Writing replaces an existing key in place, adds a new key at
// the end of its section (before the blank lines that follow it) and a new section at the end
// of the file, and keeps every other byte as it was. New lines take the file's own line end (that
// of its first line; CRLF for a file without one) and the line before them is terminated first.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "app/status.h"

namespace livrano {

inline constexpr std::size_t kIniStringChars = 254;     // ReadIniString's limit
inline constexpr std::size_t kIniLongStringChars = 511; // ReadIniLongString's limit

// One section as written: its name (between the brackets, blanks removed) and its bytes, the
// header line and every line up to the next header, line ends included.
struct ProfileSection {
    std::string name;
    std::string text;
};

class ProfileDocument {
public:
    ProfileDocument() = default;
    explicit ProfileDocument(std::string bytes);
    // The file's bytes; a missing or unreadable file gives an empty document.
    static ProfileDocument load(const std::filesystem::path& file);

    // The document as it stands, every byte not touched by a write unchanged. Not thread-safe:
    // after writes the text is joined again on the first call.
    const std::string& bytes() const;

    // The raw value as GetPrivateProfileString returns it, cut to maxChars; nullopt when the
    // section or key is missing.
    std::optional<std::string> find(std::string_view section, std::string_view key,
                                    std::size_t maxChars) const;
    // True when a section of this name is present, even one without any key.
    bool hasSection(std::string_view section) const;
    // Every key of the section that a lookup finds (the first of each name), in file order:
    // its name and its value as written, blanks around them removed, quotation marks kept.
    std::vector<std::pair<std::string, std::string>> keys(std::string_view section) const;
    // Calls visit(key, value) for every key of the section in file order, the value as find()
    // gives it (cut to kIniStringChars). A key written again later in the section is passed only
    // where find() reads it, the first time.
    using KeyVisitor = std::function<void(std::string_view key, std::string_view value)>;
    void forEachKey(std::string_view section, const KeyVisitor& visit) const;
    // ReadIniInt's reading of a value that find() or forEachKey gave.
    static std::int32_t intValue(std::string_view value);
    // ReadIniString: at most 254 characters, trimmed; "" for a missing key or an empty value.
    std::string readString(std::string_view section, std::string_view key) const;
    // ReadIniLongString: the same with at most 511 characters.
    std::string readLongString(std::string_view section, std::string_view key) const;
    // ReadIniInt: GetPrivateProfileInt's reading of the value, 0 when missing or not a number:
    // blanks, an optional sign, then decimal digits up to the first other character. Like
    // Windows, digits beyond the 32-bit range wrap modulo 2^32 ("4294967295" reads as -1).
    std::int32_t readInt(std::string_view section, std::string_view key) const;

    // WritePrivateProfileString on the bytes held here. Names are written without surrounding
    // blanks; a line break inside the value is written as a space so the value stays one line.
    // Does nothing when !writable(section, key).
    void write(std::string_view section, std::string_view key, std::string_view value);
    // True when a key of these names can be written and read back: neither name holds a line
    // break, and the key is not empty and neither holds '=' nor begins with ';' or '['.
    static bool writable(std::string_view section, std::string_view key);

    // Every section in file order, repeated names included; the text before the first header is
    // none (and neither is a byte order mark before it).
    std::vector<ProfileSection> sections() const;
    // Puts `text` (a header line and the lines under it) in place of the first section called
    // `name`, or, with `replace` false or no section of that name, at the end of the document.
    // The text is taken as it is; a last line without a line end gets the document's.
    void putSection(std::string_view name, std::string_view text, bool replace);

    // Writes the bytes to a file beside `file` and renames it into place, so the file is never
    // left half-written. Fails with a message naming the file.
    Status save(const std::filesystem::path& file) const;

private:
    struct Line {
        std::string text; // without its line end
        std::string end;  // "\r\n", "\n", or "" for a last line without one
    };
    struct Section {
        std::string name;        // as written between the brackets, blanks removed
        std::vector<Line> lines; // the header line first; the text before any header has none
        // Upper-case key name -> its first line, so that a lookup does not scan the section: a
        // section of thousands of keys read key by key would otherwise take quadratic time.
        std::unordered_map<std::string, std::size_t> keys;
    };

    static std::vector<Line> splitLines(std::string_view bytes);
    static void indexKeys(Section& section);
    // Gives the document's last line its line end, so that what is added after it starts a line.
    void endLastLine();
    const Section* findSection(std::string_view section) const;
    // Each key a lookup finds, in file order, with its value as written (quotation marks kept).
    void visitKeys(std::string_view section, const KeyVisitor& visit) const;
    void joinLines() const;
    std::string readText(std::string_view section, std::string_view key, std::size_t maxChars) const;

    // Lines before the first header form a first section without a name that no lookup finds.
    std::vector<Section> m_sections;
    std::unordered_map<std::string, std::size_t> m_sectionIndex; // upper-case name -> first section
    std::string m_lineEnd = "\r\n";
    mutable std::string m_bytes;
    mutable bool m_bytesStale = false;
};

// The file-level operations: each loads the file afresh (a missing file reads as empty).
std::string ReadIniString(std::string_view section, std::string_view key, const std::filesystem::path& file);
std::string ReadIniLongString(std::string_view section, std::string_view key,
                              const std::filesystem::path& file);
std::int32_t ReadIniInt(std::string_view section, std::string_view key, const std::filesystem::path& file);
// Creates the file, the section and the key as needed. Fails, touching nothing, when the key
// cannot be written or the file is there but cannot be read. The program ignores the result.
Status WriteIniString(std::string_view section, std::string_view key, std::string_view value,
                      const std::filesystem::path& file);

} // namespace livrano
