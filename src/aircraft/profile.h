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
// of the file, and keeps every other byte as it was.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "app/status.h"

namespace livrano {

inline constexpr std::size_t kIniStringChars = 254;     // ReadIniString's limit
inline constexpr std::size_t kIniLongStringChars = 511; // ReadIniLongString's limit

class ProfileDocument {
public:
    ProfileDocument() = default;
    explicit ProfileDocument(std::string bytes);
    // The file's bytes; a missing or unreadable file gives an empty document.
    static ProfileDocument load(const std::filesystem::path& file);

    const std::string& bytes() const { return m_bytes; }

    // The raw value as GetPrivateProfileString returns it, cut to maxChars; nullopt when the
    // section or key is missing.
    std::optional<std::string> find(std::string_view section, std::string_view key, std::size_t maxChars) const;
    // ReadIniString: at most 254 characters, trimmed; "" for a missing key or an empty value.
    std::string readString(std::string_view section, std::string_view key) const;
    // ReadIniLongString: the same with at most 511 characters.
    std::string readLongString(std::string_view section, std::string_view key) const;
    // ReadIniInt: GetPrivateProfileInt's reading of the value, 0 when missing or not a number.
    std::int32_t readInt(std::string_view section, std::string_view key) const;

    // WritePrivateProfileString on the bytes held here.
    void write(std::string_view section, std::string_view key, std::string_view value);

    // Writes the bytes to a file beside `file` and renames it into place, so the file is never
    // left half-written. Fails with a message naming the file.
    Status save(const std::filesystem::path& file) const;

private:
    std::string m_bytes;
};

// The file-level operations: each loads the file afresh (a missing file reads as empty).
std::string ReadIniString(std::string_view section, std::string_view key, const std::filesystem::path& file);
std::string ReadIniLongString(std::string_view section, std::string_view key, const std::filesystem::path& file);
std::int32_t ReadIniInt(std::string_view section, std::string_view key, const std::filesystem::path& file);
// Creates the file, the section and the key as needed. The program itself ignores the result.
Status WriteIniString(std::string_view section, std::string_view key, std::string_view value,
                      const std::filesystem::path& file);

} // namespace livrano
