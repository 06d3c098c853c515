// SPDX-License-Identifier: MIT
#include "aircraft/cipher.h"

#include <chrono>
#include <cmath>
#include <optional>

#include "aircraft/blowfish_tables.h"
#include "app/file_bytes.h"

namespace livrano {

namespace fs = std::filesystem;

namespace {

constexpr std::size_t kHeaderBytes = 12; // two random words and the payload length
constexpr std::size_t kBlockBytes = 8;

std::uint32_t getWord(const std::string& buffer, std::size_t offset) {
    const auto byte = [&](std::size_t i) {
        return static_cast<std::uint32_t>(static_cast<unsigned char>(buffer[offset + i]));
    };
    return byte(0) << 24 | byte(1) << 16 | byte(2) << 8 | byte(3);
}

void putWord(std::string& buffer, std::size_t offset, std::uint32_t word) {
    for (std::size_t i = 0; i < 4; ++i)
        buffer[offset + i] = static_cast<char>(word >> (24 - 8 * i) & 0xFF);
}

std::uint32_t getLittleEndian(const std::string& buffer, std::size_t offset) {
    std::uint32_t word = 0;
    for (std::size_t i = 4; i-- > 0;)
        word = word << 8 | static_cast<unsigned char>(buffer[offset + i]);
    return word;
}

void putLittleEndian(std::string& buffer, std::size_t offset, std::uint32_t word) {
    for (std::size_t i = 0; i < 4; ++i)
        buffer[offset + i] = static_cast<char>(word >> (8 * i) & 0xFF);
}

// Reports progress block by block: a percentage is raised when the offset reaches the threshold
// the previous one set, so at most about a hundred events come whatever the buffer's size.
class ProgressSteps {
public:
    ProgressSteps(const clsEncrypt::ProgressHandler& handler, std::size_t total)
        : m_handler(handler), m_total(total) {}

    void blockDone(std::size_t offset) {
        if (offset < m_next)
            return;
        const double share = static_cast<double>(offset) / static_cast<double>(m_total);
        const auto percent = static_cast<std::int32_t>(std::floor(share * 100.0));
        // Rounded half to even, the default rounding mode.
        m_next = static_cast<std::size_t>(
            std::nearbyint((percent + 1) / 100.0 * static_cast<double>(m_total) + 1.0));
        raise(percent);
    }

    // The last block starts before the end, so 100 has not been raised yet.
    void finish() { raise(100); }

private:
    void raise(std::int32_t percent) {
        if (m_handler)
            m_handler(percent);
    }

    const clsEncrypt::ProgressHandler& m_handler;
    std::size_t m_total;
    std::size_t m_next = 0;
};

std::string encodeHex(std::string_view bytes) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string hex;
    hex.reserve(bytes.size() * 2);
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        hex += kDigits[byte >> 4];
        hex += kDigits[byte & 0x0F];
    }
    return hex;
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

// Each pair of characters is read as a hexadecimal number, up to its first character that is
// not a digit (nothing readable gives 0); an odd last character is a pair of its own.
std::string decodeHex(std::string_view hex) {
    std::string bytes;
    bytes.reserve(hex.size() / 2 + 1);
    for (std::size_t i = 0; i < hex.size(); i += 2) {
        int value = 0;
        for (std::size_t j = i; j < i + 2 && j < hex.size(); ++j) {
            const int digit = hexDigit(hex[j]);
            if (digit < 0)
                break;
            value = value * 16 + digit;
        }
        bytes += static_cast<char>(value);
    }
    return bytes;
}

bool fileExists(const fs::path& file) {
    std::error_code ec;
    const std::uintmax_t size = fs::file_size(file, ec);
    return !ec && size != static_cast<std::uintmax_t>(-1);
}

} // namespace

clsEncrypt::clsEncrypt() : m_p(kInitialP), m_s(kInitialS) {
    std::random_device device;
    const auto ticks = std::chrono::steady_clock::now().time_since_epoch().count();
    std::seed_seq seed{device(), device(), static_cast<unsigned>(ticks)};
    m_random.seed(seed);
}

Status clsEncrypt::Key(std::string_view newValue) {
    if (newValue == m_key)
        return Status::Ok();
    if (newValue.empty())
        return Status::Error("The cipher's key cannot be changed to an empty key.");
    m_key = std::string(newValue);

    std::size_t j = 0;
    for (std::uint32_t& p : m_p) {
        std::uint32_t data = 0;
        for (int k = 0; k < 4; ++k) {
            data = data << 8 | static_cast<unsigned char>(m_key[j]);
            j = (j + 1) % m_key.size();
        }
        p ^= data;
    }
    std::uint32_t l = 0;
    std::uint32_t r = 0;
    for (std::size_t i = 0; i < m_p.size(); i += 2) {
        EncryptBlock(l, r);
        m_p[i] = l;
        m_p[i + 1] = r;
    }
    for (auto& box : m_s) {
        for (std::size_t i = 0; i < box.size(); i += 2) {
            EncryptBlock(l, r);
            box[i] = l;
            box[i + 1] = r;
        }
    }
    return Status::Ok();
}

std::uint32_t clsEncrypt::RoundFunction(std::uint32_t x) const {
    return ((m_s[0][x >> 24] + m_s[1][x >> 16 & 0xFF]) ^ m_s[2][x >> 8 & 0xFF]) + m_s[3][x & 0xFF];
}

void clsEncrypt::EncryptBlock(std::uint32_t& l, std::uint32_t& r) const {
    for (std::size_t i = 0; i < 16; i += 2) {
        l ^= m_p[i];
        r ^= RoundFunction(l);
        r ^= m_p[i + 1];
        l ^= RoundFunction(r);
    }
    const std::uint32_t left = r ^ m_p[17];
    r = l ^ m_p[16];
    l = left;
}

void clsEncrypt::DecryptBlock(std::uint32_t& l, std::uint32_t& r) const {
    const std::uint32_t t = r;
    r = m_p[17] ^ l;
    l = m_p[16] ^ t;
    for (std::size_t i = 16; i > 0;) {
        i -= 2;
        l ^= RoundFunction(r);
        r ^= m_p[i + 1];
        r ^= RoundFunction(l);
        l ^= m_p[i];
    }
}

void clsEncrypt::EncryptByte(std::string& buffer, std::string_view key) {
    // Only an empty key after another is refused, and an empty one is never set here.
    if (!key.empty())
        (void)Key(key);
    const std::size_t length = buffer.size();
    const std::size_t total = (length + kHeaderBytes + kBlockBytes - 1) / kBlockBytes * kBlockBytes;
    buffer.insert(0, kHeaderBytes, '\0');
    buffer.resize(total, '\0');
    std::uniform_int_distribution<std::uint32_t> randomValue(0, 2147483647);
    putLittleEndian(buffer, 0, randomValue(m_random));
    putLittleEndian(buffer, 4, randomValue(m_random));
    putLittleEndian(buffer, 8, static_cast<std::uint32_t>(length));

    ProgressSteps progress(m_progress, total);
    std::uint32_t chainL = 0;
    std::uint32_t chainR = 0;
    for (std::size_t offset = 0; offset + kBlockBytes <= total; offset += kBlockBytes) {
        std::uint32_t l = getWord(buffer, offset) ^ chainL;
        std::uint32_t r = getWord(buffer, offset + 4) ^ chainR;
        EncryptBlock(l, r);
        putWord(buffer, offset, l);
        putWord(buffer, offset + 4, r);
        chainL = l;
        chainR = r;
        progress.blockDone(offset);
    }
    progress.finish();
}

bool clsEncrypt::DecryptByte(std::string& buffer, std::string_view key) {
    // Only an empty key after another is refused, and an empty one is never set here.
    if (!key.empty())
        (void)Key(key);
    const std::size_t total = buffer.size();
    ProgressSteps progress(m_progress, total);
    std::uint32_t chainL = 0;
    std::uint32_t chainR = 0;
    // Only whole blocks are deciphered; bytes after the last one stay as they are.
    for (std::size_t offset = 0; offset + kBlockBytes <= total; offset += kBlockBytes) {
        const std::uint32_t readL = getWord(buffer, offset);
        const std::uint32_t readR = getWord(buffer, offset + 4);
        std::uint32_t l = readL;
        std::uint32_t r = readR;
        DecryptBlock(l, r);
        putWord(buffer, offset, l ^ chainL);
        putWord(buffer, offset + 4, r ^ chainR);
        chainL = readL;
        chainR = readR;
        progress.blockDone(offset);
    }
    if (total % kBlockBytes != 0 || total < kHeaderBytes)
        return false;
    // The length field is data like any other: only a value that leaves the header and at most
    // seven padding bytes is believed, which also keeps the payload inside the buffer.
    const std::uint64_t length = getLittleEndian(buffer, 8);
    if (length > total || total - length < kHeaderBytes || total - length > kHeaderBytes + kBlockBytes - 1)
        return false;
    buffer.erase(0, kHeaderBytes);
    buffer.resize(static_cast<std::size_t>(length));
    progress.finish();
    return true;
}

std::string clsEncrypt::EncryptString(std::string_view text, std::string_view key, bool outputInHex) {
    std::string buffer(text);
    EncryptByte(buffer, key);
    return outputInHex ? encodeHex(buffer) : buffer;
}

std::string clsEncrypt::DecryptString(std::string_view text, std::string_view key, bool isTextInHex) {
    std::string buffer = isTextInHex ? decodeHex(text) : std::string(text);
    DecryptByte(buffer, key);
    return buffer;
}

bool clsEncrypt::EncryptFile(const fs::path& inFile, const fs::path& outFile, bool overwrite,
                             std::string_view key) {
    return cipherFile(inFile, outFile, overwrite, key, true);
}

bool clsEncrypt::DecryptFile(const fs::path& inFile, const fs::path& outFile, bool overwrite,
                             std::string_view key) {
    return cipherFile(inFile, outFile, overwrite, key, false);
}

bool clsEncrypt::cipherFile(const fs::path& inFile, const fs::path& outFile, bool overwrite,
                            std::string_view key, bool encipher) {
    if (!fileExists(inFile) || (fileExists(outFile) && !overwrite))
        return false;
    std::optional<std::string> buffer = readFileBytes(inFile);
    if (!buffer || buffer->empty())
        return false;
    if (encipher)
        EncryptByte(*buffer, key);
    else if (!DecryptByte(*buffer, key))
        return false; // a wrong key or damaged data: unreadable bytes are no configuration to write
    return replaceFileBytes(outFile, *buffer).ok();
}

} // namespace livrano
