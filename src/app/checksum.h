// SPDX-License-Identifier: MIT
#pragma once
// Checksums of whole files, as `sha256sum` prints them, so that a user can check a list of them.

#include <string>
#include <string_view>

namespace livrano {

// The SHA-256 of the bytes as 64 lower-case hexadecimal digits.
std::string sha256Hex(std::string_view bytes);

} // namespace livrano
