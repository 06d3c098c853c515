// SPDX-License-Identifier: MIT
#include "cli/terminal_text.h"

#include <cstdarg>
#include <optional>
#include <vector>

#include "app/code_page.h"

namespace livrano::cli {

std::string terminalText(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t at = 0; at < utf8.size();) {
        const std::size_t start = at;
        const std::optional<char32_t> c = nextCodePoint(utf8, at);
        char escaped[8];
        if (!c) {
            std::snprintf(escaped, sizeof escaped, "\\x%02x", static_cast<unsigned char>(utf8[at++]));
            out += escaped;
        } else if (*c == '\t') {
            out += "\\t";
        } else if (*c == '\r') {
            out += "\\r";
        } else if ((*c < 0x20 && *c != '\n') || *c == 0x7F) {
            std::snprintf(escaped, sizeof escaped, "\\x%02x", static_cast<unsigned>(*c));
            out += escaped;
        } else if (*c >= 0x80 && *c < 0xA0) {
            std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(*c));
            out += escaped;
        } else {
            out.append(utf8.substr(start, at - start));
        }
    }
    return out;
}

void say(std::FILE* out, const char* format, ...) {
    std::va_list args;
    va_start(args, format);
    std::va_list again;
    va_copy(again, args);
    const int length = std::vsnprintf(nullptr, 0, format, args);
    va_end(args);
    std::vector<char> text(static_cast<std::size_t>(length > 0 ? length : 0) + 1);
    std::vsnprintf(text.data(), text.size(), format, again);
    va_end(again);
    const std::string shown = terminalText(std::string_view(text.data(), text.size() - 1));
    std::fwrite(shown.data(), 1, shown.size(), out);
}

} // namespace livrano::cli
