// SPDX-License-Identifier: MIT
#include "app/text.h"

#include <cstdio>

namespace livrano {

namespace {

unsigned char upperByte(unsigned char c) {
    if (c >= 'a' && c <= 'z')
        return static_cast<unsigned char>(c - 32);
    // Windows-1252: à..þ map to À..Þ except the division sign; š, œ, ž, ÿ have their capitals
    // elsewhere in the code page.
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7)
        return static_cast<unsigned char>(c - 32);
    switch (c) {
    case 0x9A:
        return 0x8A;
    case 0x9C:
        return 0x8C;
    case 0x9E:
        return 0x8E;
    case 0xFF:
        return 0x9F;
    default:
        return c;
    }
}

unsigned char lowerByte(unsigned char c) {
    if (c >= 'A' && c <= 'Z')
        return static_cast<unsigned char>(c + 32);
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7)
        return static_cast<unsigned char>(c + 32);
    switch (c) {
    case 0x8A:
        return 0x9A;
    case 0x8C:
        return 0x9C;
    case 0x8E:
        return 0x9E;
    case 0x9F:
        return 0xFF;
    default:
        return c;
    }
}

} // namespace

std::string trim(std::string_view text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    const auto last = text.find_last_not_of(' ');
    return std::string(text.substr(first, last - first + 1));
}

std::string toUpper(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        c = static_cast<char>(upperByte(static_cast<unsigned char>(c)));
    return out;
}

std::string toLower(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        c = static_cast<char>(lowerByte(static_cast<unsigned char>(c)));
    return out;
}

bool equalsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (upperByte(static_cast<unsigned char>(a[i])) != upperByte(static_cast<unsigned char>(b[i])))
            return false;
    }
    return true;
}

std::string cutTo(std::string_view text, std::size_t capacity) {
    return std::string(text.substr(0, capacity));
}

std::string twoDigits(int index) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%02d", index);
    return buf;
}

} // namespace livrano
