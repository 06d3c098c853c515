// SPDX-License-Identifier: MIT
// Arbitrary bytes as an enciphered configuration (deciphering must stay inside the buffer and
// trust no length field, also when given as hexadecimal text), and as a payload that must come
// back unchanged from a round trip.

#include <cstdint>
#include <cstdlib>
#include <string>

#include "aircraft/cipher.h"

namespace {

void check(bool condition) {
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static livrano::clsEncrypt cipher; // the same key again leaves the tables as they are
    const std::string input(reinterpret_cast<const char*>(data), size);

    std::string deciphered = input;
    if (cipher.DecryptByte(deciphered, livrano::kProgramKey))
        check(size % 8 == 0 && size >= 16 && size - deciphered.size() >= 12 &&
              size - deciphered.size() <= 19);
    else
        check(deciphered.size() == size);

    std::string buffer = input;
    cipher.EncryptByte(buffer, livrano::kProgramKey);
    check(buffer.size() % 8 == 0 && buffer.size() >= size + 12 && buffer.size() <= size + 19);
    check(cipher.DecryptByte(buffer, livrano::kProgramKey));
    check(buffer == input);

    // The same bytes read as hexadecimal text, and the text path round trip.
    (void)cipher.DecryptString(input, {}, true);
    check(cipher.DecryptString(cipher.EncryptString(input, {}, true), {}, true) == input);
    return 0;
}
