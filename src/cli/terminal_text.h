// SPDX-License-Identifier: MIT
#pragma once
// A terminal takes control characters as commands: a name in a configuration or a path holding
// an escape sequence could set the window's title or clear the screen. Every name and message
// the CLI prints goes through here, its control characters shown as escapes.

#include <cstdio>
#include <string>
#include <string_view>

namespace livrano::cli {

// `utf8` as it is, but every control character other than the line end shown as an escape
// ("\t", "\r", "\x1b", "\u009b" for the C1 controls) and every byte that is not part of a UTF-8
// character as "\xNN", so that the result is UTF-8. Backslashes and printable characters stay.
std::string terminalText(std::string_view utf8);

// std::fprintf of the format and its arguments to `out`, the whole text through terminalText.
[[gnu::format(printf, 2, 3)]] void say(std::FILE* out, const char* format, ...);

} // namespace livrano::cli
