// SPDX-License-Identifier: MIT
#pragma once
// Blowfish (64-bit blocks, 16 rounds) in CBC mode with a zero IV over the configuration
// container: 8 random bytes, the payload length L (32-bit little-endian), the payload, zero
// padding to a multiple of 8. Block halves are read and written big-endian.
// Buffers are bytes held in std::string.

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <random>
#include <string>
#include <string_view>

#include "app/status.h"

namespace livrano {

// The key with which every aircraft configuration is enciphered.
inline constexpr std::string_view kProgramKey = "PaLeWiNgRoOsTeR30927";

class clsEncrypt {
public:
    clsEncrypt(); // tables hold the standard initial values (digits of pi); the key is empty

    // Raised during EncryptByte and DecryptByte with whole percentages that rise block by block
    // (at most once for each percent), ending with 100 when the operation succeeds.
    using ProgressHandler = std::function<void(std::int32_t percent)>;
    void setProgressHandler(ProgressHandler handler) { m_progress = std::move(handler); }

    // Sets the key: nothing happens when it equals the key last set; otherwise the key schedule
    // runs on the tables as they stand. An empty key after another key is refused.
    Status Key(std::string_view newValue);

    // The block primitive on one block's two halves (the published test vectors use it).
    void EncryptBlock(std::uint32_t& l, std::uint32_t& r) const;
    void DecryptBlock(std::uint32_t& l, std::uint32_t& r) const;

    // Each takes an optional key that, when not empty, is set first.
    void EncryptByte(std::string& buffer, std::string_view key = {});
    // Deciphers in place and cuts the buffer to its payload. When the length field is out of
    // range (wrong key, damaged data) the buffer keeps its full deciphered length and the result
    // is false; a length that is not a multiple of 8 or below 12 deciphers what it can and gives
    // false. The program itself ignores the result.
    bool DecryptByte(std::string& buffer, std::string_view key = {});
    std::string EncryptString(std::string_view text, std::string_view key = {}, bool outputInHex = false);
    std::string DecryptString(std::string_view text, std::string_view key = {}, bool isTextInHex = false);
    // Whole files: false when the input is missing or empty, the output exists and overwrite is
    // false, reading or writing fails, or (DecryptFile) the input does not decipher to a valid
    // container; nothing is written then.
    bool EncryptFile(const std::filesystem::path& inFile, const std::filesystem::path& outFile,
                     bool overwrite, std::string_view key = {});
    bool DecryptFile(const std::filesystem::path& inFile, const std::filesystem::path& outFile,
                     bool overwrite, std::string_view key = {});

private:
    std::uint32_t RoundFunction(std::uint32_t x) const; // Blowfish's F, additions modulo 2^32
    bool cipherFile(const std::filesystem::path& inFile, const std::filesystem::path& outFile, bool overwrite,
                    std::string_view key, bool encipher);

    std::array<std::uint32_t, 18> m_p{};
    std::array<std::array<std::uint32_t, 256>, 4> m_s{};
    std::string m_key;
    ProgressHandler m_progress;
    std::mt19937 m_random; // the first block's values; they are ignored when deciphering
};

} // namespace livrano
