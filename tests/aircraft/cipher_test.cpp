// SPDX-License-Identifier: MIT
#include "aircraft/cipher.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "app/text.h"
#include "support/data_rows.h"
#include "support/temp_dir.h"

namespace livrano {
namespace {

using testkit::readFile;
using testkit::TempDir;
using testkit::writeFile;

std::string fromHex(std::string_view hex) {
    std::string bytes;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
        bytes += static_cast<char>(std::stoi(std::string(hex.substr(i, 2)), nullptr, 16));
    return bytes;
}

// A block written as 16 hex digits: its two halves, big-endian.
std::array<std::uint32_t, 2> halves(const std::string& hex) {
    return {static_cast<std::uint32_t>(std::stoul(hex.substr(0, 8), nullptr, 16)),
            static_cast<std::uint32_t>(std::stoul(hex.substr(8, 8), nullptr, 16))};
}

TEST(BlowfishBlock, PublishedVectors) {
    for (const std::vector<std::string>& v : testkit::dataRows("blowfish.txt", "ecb")) {
        const std::string &key = v[0], &plain = v[1], &cipher = v[2];
        clsEncrypt c;
        ASSERT_TRUE(c.Key(fromHex(key)).ok());
        std::array<std::uint32_t, 2> block = halves(plain);
        c.EncryptBlock(block[0], block[1]);
        EXPECT_EQ(block, halves(cipher)) << "key " << key;
        c.DecryptBlock(block[0], block[1]);
        EXPECT_EQ(block, halves(plain)) << "key " << key;
    }
}

// The same key again changes nothing, but another key runs the schedule on the current tables; an
// empty key is nothing to do while the key is empty, and refused once there is one.
TEST(BlowfishKey, SameKeyAgainChangesNothingAnotherRunsOnTheCurrentTablesEmptyIsRefused) {
    clsEncrypt c;
    const auto encryptZeroBlock = [](const clsEncrypt& cipher) {
        std::array<std::uint32_t, 2> block{};
        cipher.EncryptBlock(block[0], block[1]);
        return block;
    };
    const auto initial = encryptZeroBlock(c);
    EXPECT_TRUE(c.Key("").ok());
    EXPECT_EQ(encryptZeroBlock(c), initial);
    ASSERT_TRUE(c.Key("abc").ok());
    const auto reference = encryptZeroBlock(c);
    ASSERT_TRUE(c.Key("abc").ok());
    EXPECT_EQ(encryptZeroBlock(c), reference);
    EXPECT_FALSE(c.Key("").ok());
    EXPECT_EQ(encryptZeroBlock(c), reference);
    // Back to the same text by way of another key: the schedule ran twice more on changed tables.
    ASSERT_TRUE(c.Key("xyz").ok());
    ASSERT_TRUE(c.Key("abc").ok());
    EXPECT_NE(encryptZeroBlock(c), reference);
}

// CBC over the block primitive with a zero IV, written out here to check the container's layout
// apart from EncryptByte and DecryptByte, and to build containers that claim what they like.
std::string chain(std::string bytes, bool encrypt) {
    clsEncrypt c;
    EXPECT_TRUE(c.Key(kProgramKey).ok());
    std::array<std::uint32_t, 2> previous{};
    for (std::size_t o = 0; o + 8 <= bytes.size(); o += 8) {
        std::array<std::uint32_t, 2> block{};
        for (std::size_t i = 0; i < 8; ++i)
            block[i / 4] = block[i / 4] << 8 | static_cast<unsigned char>(bytes[o + i]);
        const std::array<std::uint32_t, 2> read = block;
        if (encrypt) {
            block = {block[0] ^ previous[0], block[1] ^ previous[1]};
            c.EncryptBlock(block[0], block[1]);
            previous = block;
        } else {
            c.DecryptBlock(block[0], block[1]);
            block = {block[0] ^ previous[0], block[1] ^ previous[1]};
            previous = read;
        }
        for (std::size_t i = 0; i < 8; ++i)
            bytes[o + i] = static_cast<char>(block[i / 4] >> (24 - 8 * (i % 4)));
    }
    return bytes;
}

std::string payloadOf(std::size_t size) {
    std::string payload;
    for (std::size_t i = 0; i < size; ++i)
        payload += static_cast<char>((i * 37 + 11) & 0xFF);
    return payload;
}

// Each size is laid out as the container says, with a fresh random first block, and reads back.
TEST(BlowfishContainer, SizesLayoutAndRoundTrip) {
    const std::pair<std::size_t, std::size_t> sizes[] = {{0, 16},  {1, 16},  {4, 16},  {5, 24},
                                                         {12, 24}, {13, 32}, {20, 32}, {21, 40}};
    for (const auto& [payload, container] : sizes) {
        clsEncrypt cipher;
        std::string buffer = payloadOf(payload);
        cipher.EncryptByte(buffer, kProgramKey);
        ASSERT_EQ(buffer.size(), container) << payload;
        std::string again = payloadOf(payload);
        cipher.EncryptByte(again, kProgramKey);
        EXPECT_NE(again, buffer) << payload;
        EXPECT_TRUE(clsEncrypt().DecryptByte(again, kProgramKey)) << payload;
        EXPECT_EQ(again, payloadOf(payload));

        const std::string plain = chain(buffer, false);
        EXPECT_EQ(plain[3] & 0x80, 0) << "first random value within 0..2147483647";
        EXPECT_EQ(plain[7] & 0x80, 0) << "second random value within 0..2147483647";
        EXPECT_EQ(plain.substr(8, 4), std::string({static_cast<char>(payload), 0, 0, 0}));
        EXPECT_EQ(plain.substr(12, payload), payloadOf(payload));
        EXPECT_EQ(plain.substr(12 + payload), std::string(container - 12 - payload, '\0'));
    }
}

TEST(BlowfishContainer, LengthFieldIsBelievedOnlyWithinTheSizeCheck) {
    for (const std::vector<std::string>& row : testkit::dataRows("blowfish.txt", "container")) {
        const auto claimed = static_cast<std::uint32_t>(std::stoul(row[0], nullptr, 0));
        std::string plain(std::stoul(row[1]), 'p');
        for (std::size_t i = 0; i < 4; ++i)
            plain[8 + i] = static_cast<char>(claimed >> (8 * i));
        std::string buffer = chain(plain, true);
        clsEncrypt cipher;
        const bool accepted = row[2] == "1";
        EXPECT_EQ(cipher.DecryptByte(buffer, kProgramKey), accepted) << row[0] << " in " << row[1];
        EXPECT_EQ(buffer, accepted ? plain.substr(12, claimed) : plain) << row[0] << " in " << row[1];
    }
}

TEST(BlowfishContainer, EveryTruncationDeciphersWithinItsBuffer) {
    clsEncrypt c;
    std::string whole = payloadOf(37);
    c.EncryptByte(whole, kProgramKey);
    ASSERT_EQ(whole.size(), 56u);
    for (std::size_t length = 0; length <= whole.size(); ++length) {
        std::string buffer = whole.substr(0, length);
        const bool ok = c.DecryptByte(buffer, kProgramKey);
        EXPECT_EQ(ok, length == whole.size()) << length;
        if (!ok) {
            // Whole blocks deciphered as far as they go, the rest as it was.
            const std::size_t blocks = length / 8 * 8;
            EXPECT_EQ(buffer.size(), length);
            EXPECT_EQ(buffer.substr(0, blocks), chain(whole.substr(0, blocks), false));
            EXPECT_EQ(buffer.substr(blocks), whole.substr(blocks, length - blocks));
        }
    }
}

// Every percentage raised while enciphering and deciphering a payload, as the data file lists
// them: whole parts of offset / length, thresholds rounded half to even.
TEST(BlowfishProgress, KnownSequences) {
    for (const std::vector<std::string>& row : testkit::dataRows("blowfish.txt", "progress")) {
        const std::size_t payload = std::stoul(row[0]);
        std::vector<std::int32_t> expected;
        for (std::size_t i = 1; i < row.size(); ++i)
            expected.push_back(std::stoi(row[i]));
        std::vector<std::int32_t> seen;
        clsEncrypt cipher;
        cipher.setProgressHandler([&](std::int32_t percent) { seen.push_back(percent); });
        std::string buffer = payloadOf(payload);
        cipher.EncryptByte(buffer, kProgramKey);
        EXPECT_EQ(seen, expected) << payload;
        seen.clear();
        ASSERT_TRUE(cipher.DecryptByte(buffer));
        EXPECT_EQ(seen, expected) << payload;
    }
}

// Text and files: nothing in the program uses them yet, but they must read back what they wrote.
TEST(BlowfishText, HexStringsRoundTripInEitherCase) {
    clsEncrypt c;
    const std::string text = "Caput Draconis \xE9\xFF";
    const std::string hex = c.EncryptString(text, kProgramKey, true);
    EXPECT_EQ(hex.find_first_not_of("0123456789ABCDEF"), std::string::npos) << hex;
    EXPECT_EQ(c.DecryptString(hex, {}, true), text);
    EXPECT_EQ(c.DecryptString(toLower(hex), {}, true), text);
    EXPECT_EQ(c.DecryptString(c.EncryptString(text, "other key")), text);
}

TEST(BlowfishFile, RoundTripNeverReplacingUnasked) {
    const TempDir dir;
    const auto plain = dir / "plain.cfg";
    const auto sealed = dir / "aircraft.bin";
    const auto back = dir / "back.cfg";
    const std::string text = "[fltsim.0]\r\ntitle=House\r\n";
    writeFile(plain, text);
    clsEncrypt c;
    writeFile(dir / "empty.cfg", "");
    EXPECT_FALSE(c.EncryptFile(dir / "missing.cfg", sealed, true, kProgramKey));
    EXPECT_FALSE(c.EncryptFile(dir / "empty.cfg", sealed, true, kProgramKey)); // nothing to seal
    ASSERT_TRUE(c.EncryptFile(plain, sealed, false, kProgramKey));
    writeFile(back, "keep me");
    EXPECT_FALSE(c.DecryptFile(sealed, back, false, kProgramKey));
    EXPECT_EQ(readFile(back), "keep me");
    ASSERT_TRUE(c.DecryptFile(sealed, back, true, kProgramKey));
    EXPECT_EQ(readFile(back), text);
    // A wrong key fails the size check: a failure, and nothing replaced.
    EXPECT_FALSE(clsEncrypt().DecryptFile(sealed, back, true, "not the key"));
    EXPECT_EQ(readFile(back), text);
}

} // namespace
} // namespace livrano
