// SPDX-License-Identifier: MIT
#pragma once
// Reading an enciphered aircraft configuration. The plain text is produced in memory only: it is
// never written next to the enciphered file, so no file of the user's is replaced or removed and
// no plain copy is left behind when the program stops half-way.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "aircraft/cipher.h"
#include "app/status.h"

namespace livrano {

// The configuration's plain INI text, deciphered with `key`. nullopt when the file is missing,
// unreadable, empty, or does not decipher to a valid container (wrong key, damaged or cut file):
// such a file reads as a configuration without any key.
std::optional<std::string> decipherConfiguration(const std::filesystem::path& file,
                                                 std::string_view key = kProgramKey);

// Why the configuration at `file` cannot be used at all, with its deciphered text `plain` (nullopt
// when it did not decipher): one message for a file that does not decipher and for one without
// any [Main] value, which would otherwise surface as a blank name much later. Ok otherwise.
Status usableConfiguration(const std::filesystem::path& file, const std::optional<std::string>& plain);

} // namespace livrano
