#pragma once
// Reading an enciphered aircraft configuration. The plain text is produced in memory only: it is
// never written next to the enciphered file, so no file of the user's is replaced or removed and
// no plain copy is left behind when the program stops half-way.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "aircraft/cipher.h"

namespace livrano {

// The configuration's plain INI text, deciphered with `key`. nullopt when the file is missing,
// unreadable, empty, or does not decipher to a valid container (wrong key, damaged or cut file):
// such a file reads as a configuration without any key.
std::optional<std::string> decipherConfiguration(const std::filesystem::path& file,
                                                 std::string_view key = kProgramKey);

} // namespace livrano
