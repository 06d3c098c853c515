// SPDX-License-Identifier: MIT
#pragma once
// The simulator's files hold Windows-1252 text, and so do the names inside the program: one byte
// is one character, so lengths, cuts and upper-casing work on bytes. Text enters from the user
// (UTF-8 command-line arguments, or a GUI QString as toUtf8()) and is converted here, at that
// boundary; names become paths here too, in the platform's own encoding of the same characters.
// Messages are UTF-8: a name or a path that goes into one is converted here.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "app/status.h"

namespace livrano {

// The UTF-8 text as Windows-1252 bytes into `out`. Fails, leaving `out` alone, for text the code
// page cannot hold (the message names the first such character and its code point, e.g. "ā"
// (U+0101)) and for bytes that are not UTF-8. `what` names the value in the message.
Status windows1252FromUtf8(std::string_view what, std::string_view utf8, std::string& out);

// A file's text as Windows-1252 bytes into `out`: text saved as UTF-16 behind its byte-order mark
// (FF FE little-endian, FE FF big-endian) is converted, any other bytes are copied as they are.
// Fails, leaving `out` alone, for a character the code page cannot hold (named as
// windows1252FromUtf8 names it) and for UTF-16 that is cut short or holds an unpaired surrogate.
Status windows1252FromSavedText(std::string_view what, std::string_view bytes, std::string& out);

// The UTF-8 character starting at byte `at`, advancing past it; nullopt, leaving `at`, for a
// malformed, overlong or surrogate sequence.
std::optional<char32_t> nextCodePoint(std::string_view text, std::size_t& at);

// Whether the bytes are UTF-8 text (no malformed, overlong or surrogate sequence).
bool isUtf8(std::string_view text);

// Windows-1252 text as UTF-8, for a terminal or a QString::fromUtf8. Never fails: the five bytes
// the code page leaves undefined stand for the control characters of the same number, as on Windows.
std::string utf8FromWindows1252(std::string_view text);

// A path as UTF-8 text, for a message (the platform's own spelling may be another code page).
std::string utf8FromPath(const std::filesystem::path& path);

// The most characters of a name that a short message (the window's status line) shows.
constexpr std::size_t kShortNameChars = 32;

// A UTF-8 name for a short message: whole when it has at most kShortNameChars characters,
// otherwise its first kShortNameChars - 1 and "…". The full name goes into the message's detail.
std::string shortName(std::string_view utf8);

// The file or folder name spelt by the Windows-1252 name, in the platform's encoding.
std::filesystem::path pathFromWindows1252(std::string_view name);

// A name found on disk as Windows-1252 text; nullopt when it holds a character the code page
// cannot hold (no name the program forms can then match it).
std::optional<std::string> windows1252FromPath(const std::filesystem::path& name);

} // namespace livrano
