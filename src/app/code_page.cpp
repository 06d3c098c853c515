// SPDX-License-Identifier: MIT
#include "app/code_page.h"

#include <array>
#include <cstdint>
#include <cstdio>

namespace livrano {

namespace {

// Code points of 0x80..0x9F; the bytes Windows-1252 leaves undefined keep their own number.
constexpr std::array<char32_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char32_t codePoint(unsigned char byte) {
    return byte >= 0x80 && byte <= 0x9F ? kHighControls[byte - 0x80] : byte;
}

std::optional<unsigned char> byteOf(char32_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return static_cast<unsigned char>(c);
    for (std::size_t i = 0; i < kHighControls.size(); ++i) {
        if (kHighControls[i] == c)
            return static_cast<unsigned char>(0x80 + i);
    }
    return std::nullopt;
}

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

} // namespace

std::optional<char32_t> nextCodePoint(std::string_view text, std::size_t& at) {
    const auto lead = static_cast<unsigned char>(text[at]);
    const std::size_t length = lead < 0x80           ? 1
                               : (lead >> 5) == 0x6  ? 2
                               : (lead >> 4) == 0xE  ? 3
                               : (lead >> 3) == 0x1E ? 4
                                                     : 0;
    if (length == 0 || at + length > text.size())
        return std::nullopt;
    char32_t c = length == 1 ? lead : lead & (0x7F >> length);
    for (std::size_t k = 1; k < length; ++k) {
        const auto next = static_cast<unsigned char>(text[at + k]);
        if ((next & 0xC0) != 0x80)
            return std::nullopt;
        c = (c << 6) | (next & 0x3F);
    }
    constexpr char32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (c < kSmallest[length] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
        return std::nullopt;
    at += length;
    return c;
}

Status windows1252FromUtf8(std::string_view what, std::string_view utf8, std::string& out) {
    std::string bytes;
    bytes.reserve(utf8.size());
    for (std::size_t at = 0; at < utf8.size();) {
        const std::size_t start = at;
        const std::optional<char32_t> c = nextCodePoint(utf8, at);
        if (!c)
            return Status::Refused("The " + std::string(what) + " is not UTF-8 text.");
        const std::optional<unsigned char> byte = byteOf(*c);
        if (!byte) {
            char number[16];
            std::snprintf(number, sizeof number, "U+%04X", static_cast<unsigned>(*c));
            const std::string character =
                "\"" + std::string(utf8.substr(start, at - start)) + "\" (" + number + ")";
            return Status::Refused("The " + std::string(what) + " cannot hold " + character +
                                       ": type another character.",
                                   "The " + std::string(what) + " holds the character " + character +
                                       ", which the simulator's files (Windows-1252) cannot hold.");
        }
        bytes += static_cast<char>(*byte);
    }
    out = std::move(bytes);
    return Status::Ok();
}

Status windows1252FromSavedText(std::string_view what, std::string_view bytes, std::string& out) {
    const bool little = bytes.starts_with(std::string_view("\xFF\xFE", 2));
    if (!little && !bytes.starts_with(std::string_view("\xFE\xFF", 2))) {
        out = std::string(bytes);
        return Status::Ok();
    }
    auto unit = [&](std::size_t at) {
        const auto first = static_cast<unsigned char>(bytes[at]);
        const auto second = static_cast<unsigned char>(bytes[at + 1]);
        return static_cast<char32_t>(little ? (second << 8) | first : (first << 8) | second);
    };
    auto broken = [&] { return Status::Refused("The " + std::string(what) + " is not UTF-16 text."); };
    if (bytes.size() % 2 != 0)
        return broken();
    std::string utf8;
    for (std::size_t at = 2; at < bytes.size(); at += 2) {
        char32_t c = unit(at);
        if (c >= 0xD800 && c <= 0xDBFF && at + 3 < bytes.size() && unit(at + 2) >= 0xDC00 &&
            unit(at + 2) <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (unit(at + 2) - 0xDC00);
            at += 2;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            return broken();
        }
        appendUtf8(utf8, c);
    }
    return windows1252FromUtf8(what, utf8, out);
}

bool isUtf8(std::string_view text) {
    for (std::size_t at = 0; at < text.size();) {
        if (!nextCodePoint(text, at))
            return false;
    }
    return true;
}

std::string utf8FromWindows1252(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text)
        appendUtf8(out, codePoint(static_cast<unsigned char>(c)));
    return out;
}

std::string shortName(std::string_view utf8) {
    std::size_t chars = 0;
    for (std::size_t at = 0; at < utf8.size(); ++at) {
        // A character starts at every byte that does not continue one.
        if ((static_cast<unsigned char>(utf8[at]) & 0xC0) != 0x80 && ++chars == kShortNameChars) {
            std::size_t next = at + 1;
            while (next < utf8.size() && (static_cast<unsigned char>(utf8[next]) & 0xC0) == 0x80)
                ++next;
            return next == utf8.size() ? std::string(utf8)
                                       : std::string(utf8.substr(0, at)) + "\xE2\x80\xA6"; // …
        }
    }
    return std::string(utf8);
}

std::string utf8FromPath(const std::filesystem::path& path) {
    const std::u8string utf8 = path.u8string();
    return std::string(utf8.begin(), utf8.end());
}

std::filesystem::path pathFromWindows1252(std::string_view name) {
    const std::string utf8 = utf8FromWindows1252(name);
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

std::optional<std::string> windows1252FromPath(const std::filesystem::path& name) {
    const std::u8string utf8 = name.u8string();
    std::string text;
    if (!windows1252FromUtf8("name",
                             std::string_view(reinterpret_cast<const char*>(utf8.data()), utf8.size()), text))
        return std::nullopt;
    return text;
}

} // namespace livrano
