// SPDX-License-Identifier: MIT
#pragma once
// Text rules shared by every module. Text is Windows-1252 bytes; nothing is transcoded.

#include <string>
#include <string_view>

namespace livrano {

// Removes leading and trailing spaces (only spaces, as the stored fixed-width texts were padded).
std::string trim(std::string_view text);
// Upper case in Windows-1252: ASCII letters and the accented letters of the code page.
std::string toUpper(std::string_view text);
std::string toLower(std::string_view text);
// Equality without regard to letter case, by the same folding as toUpper.
bool equalsNoCase(std::string_view a, std::string_view b);
// Keeps at most capacity characters (bytes).
std::string cutTo(std::string_view text, std::size_t capacity);
// The index written with at least two digits: 0 -> "00", 7 -> "07", 123 -> "123".
std::string twoDigits(int index);

} // namespace livrano
