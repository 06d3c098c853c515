#include "aircraft/cipher.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "support/temp_dir.h"

namespace livrano {
namespace {

using testing::readFile;
using testing::TempDir;
using testing::writeFile;

std::string fromHex(std::string_view hex) {
    std::string bytes;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
        bytes += static_cast<char>(std::stoi(std::string(hex.substr(i, 2)), nullptr, 16));
    return bytes;
}

std::uint32_t word(std::string_view hex) {
    return static_cast<std::uint32_t>(std::stoul(std::string(hex), nullptr, 16));
}

struct Vector {
    const char* key;
    const char* plain;
    const char* cipher;
};

// Eric Young's ECB set: 8-byte keys, block halves big-endian.
const Vector kEcbVectors[] = {
    {"0000000000000000", "0000000000000000", "4EF997456198DD78"},
    {"FFFFFFFFFFFFFFFF", "FFFFFFFFFFFFFFFF", "51866FD5B85ECB8A"},
    {"3000000000000000", "1000000000000001", "7D856F9A613063F2"},
    {"1111111111111111", "1111111111111111", "2466DD878B963C9D"},
    {"0123456789ABCDEF", "1111111111111111", "61F9C3802281B096"},
    {"1111111111111111", "0123456789ABCDEF", "7D0CC630AFDA1EC7"},
    {"0000000000000000", "0000000000000000", "4EF997456198DD78"},
    {"FEDCBA9876543210", "0123456789ABCDEF", "0ACEAB0FC6A0A28D"},
    {"7CA110454A1A6E57", "01A1D6D039776742", "59C68245EB05282B"},
    {"0131D9619DC1376E", "5CD54CA83DEF57DA", "B1B8CC0B250F09A0"},
    {"07A1133E4A0B2686", "0248D43806F67172", "1730E5778BEA1DA4"},
    {"3849674C2602319E", "51454B582DDF440A", "A25E7856CF2651EB"},
    {"04B915BA43FEB5B6", "42FD443059577FA2", "353882B109CE8F1A"},
    {"0113B970FD34F2CE", "059B5E0851CF143A", "48F4D0884C379918"},
    {"0170F175468FB5E6", "0756D8E0774761D2", "432193B78951FC98"},
    {"43297FAD38E373FE", "762514B829BF486A", "13F04154D69D1AE5"},
    {"07A7137045DA2A16", "3BDD119049372802", "2EEDDA93FFD39C79"},
    {"04689104C2FD3B2F", "26955F6835AF609A", "D887E0393C2DA6E3"},
    {"37D06BB516CB7546", "164D5E404F275232", "5F99D04F5B163969"},
    {"1F08260D1AC2465E", "6B056E18759F5CCA", "4A057A3B24D3977B"},
    {"584023641ABA6176", "004BD6EF09176062", "452031C1E4FADA8E"},
    {"025816164629B007", "480D39006EE762F2", "7555AE39F59B87BD"},
    {"49793EBC79B3258F", "437540C8698F3CFA", "53C55F9CB49FC019"},
    {"4FB05E1515AB73A7", "072D43A077075292", "7A8E7BFA937E89A3"},
    {"49E95D6D4CA229BF", "02FE55778117F12A", "CF9C5D7A4986ADB5"},
    {"018310DC409B26D6", "1D9D5C5018F728C2", "D1ABB290658BC778"},
    {"1C587F1C13924FEF", "305532286D6F295A", "55CB3774D13EF201"},
    {"0101010101010101", "0123456789ABCDEF", "FA34EC4847B268B2"},
    {"1F1F1F1F0E0E0E0E", "0123456789ABCDEF", "A790795108EA3CAE"},
    {"E0FEE0FEF1FEF1FE", "0123456789ABCDEF", "C39E072D9FAC631D"},
    {"0000000000000000", "FFFFFFFFFFFFFFFF", "014933E0CDAFF6E4"},
    {"FFFFFFFFFFFFFFFF", "0000000000000000", "F21E9A77B71C49BC"},
    {"0123456789ABCDEF", "0000000000000000", "245946885754369A"},
    {"FEDCBA9876543210", "FFFFFFFFFFFFFFFF", "6B5C5A9C5D9E0A5A"},
};

// Eric Young's variable-key set: the first 1 to 24 bytes of one key, one plaintext.
const char* const kVariableKey = "F0E1D2C3B4A5968778695A4B3C2D1E0F0011223344556677";
const char* const kVariableKeyCiphers[] = {
    "F9AD597C49DB005E", "E91D21C1D961A6D6", "E9C2B70A1BC65CF3", "BE1E639408640F05", "B39E44481BDB1E6E",
    "9457AA83B1928C0D", "8BB77032F960629D", "E87A244E2CC85E82", "15750E7A4F4EC577", "122BA70B3AB64AE0",
    "3A833C9AFFC537F6", "9409DA87A90F6BF2", "884F80625060B8B4", "1F85031C19E11968", "79D9373A714CA34F",
    "93142887EE3BE15C", "03429E838CE2D14B", "A4299E27469FF67B", "AFD5AED1C1BC96A8", "10851C0E3858DA9F",
    "E6F51ED79B9DB21F", "64A6E14AFD36B46F", "80C7D7D45A5479AD", "05044B62FA52D080",
};

void expectVector(const std::string& key, std::string_view plain, std::string_view cipher) {
    clsEncrypt c;
    ASSERT_TRUE(c.Key(key).ok());
    std::uint32_t l = word(plain.substr(0, 8));
    std::uint32_t r = word(plain.substr(8, 8));
    c.EncryptBlock(l, r);
    EXPECT_EQ(l, word(cipher.substr(0, 8))) << "key " << ::testing::PrintToString(key);
    EXPECT_EQ(r, word(cipher.substr(8, 8))) << "key " << ::testing::PrintToString(key);
    c.DecryptBlock(l, r);
    EXPECT_EQ(l, word(plain.substr(0, 8)));
    EXPECT_EQ(r, word(plain.substr(8, 8)));
}

TEST(BlowfishBlock, EcbVectors) {
    for (const Vector& v : kEcbVectors)
        expectVector(fromHex(v.key), v.plain, v.cipher);
}

TEST(BlowfishBlock, VariableKeyVectors) {
    const std::string key = fromHex(kVariableKey);
    for (std::size_t length = 1; length <= 24; ++length)
        expectVector(key.substr(0, length), "FEDCBA9876543210", kVariableKeyCiphers[length - 1]);
}

std::pair<std::uint32_t, std::uint32_t> encryptZeroBlock(const clsEncrypt& c) {
    std::uint32_t l = 0;
    std::uint32_t r = 0;
    c.EncryptBlock(l, r);
    return {l, r};
}

TEST(BlowfishKey, SameKeyAgainChangesNothingButAnotherKeyRunsOnTheCurrentTables) {
    clsEncrypt once;
    ASSERT_TRUE(once.Key("abc").ok());
    const auto reference = encryptZeroBlock(once);
    ASSERT_TRUE(once.Key("abc").ok());
    EXPECT_EQ(encryptZeroBlock(once), reference);

    // Back to the same text by way of another key: the schedule ran twice more on changed tables.
    clsEncrypt detour;
    ASSERT_TRUE(detour.Key("abc").ok());
    ASSERT_TRUE(detour.Key("xyz").ok());
    ASSERT_TRUE(detour.Key("abc").ok());
    EXPECT_NE(encryptZeroBlock(detour), reference);
}

TEST(BlowfishKey, EmptyKeyRules) {
    clsEncrypt fresh;
    const auto initial = encryptZeroBlock(fresh);
    EXPECT_TRUE(fresh.Key("").ok()); // the key is still empty: nothing to do
    EXPECT_EQ(encryptZeroBlock(fresh), initial);

    ASSERT_TRUE(fresh.Key("k").ok());
    const auto keyed = encryptZeroBlock(fresh);
    const Status refused = fresh.Key("");
    EXPECT_FALSE(refused.ok());
    EXPECT_FALSE(refused.message().empty());
    EXPECT_EQ(encryptZeroBlock(fresh), keyed);
}

// CBC over the block primitive with a zero IV, written out here to check the container's layout
// apart from EncryptByte and DecryptByte, and to build containers that claim what they like.
std::string chain(std::string bytes, std::string_view key, bool encrypt) {
    clsEncrypt c;
    EXPECT_TRUE(c.Key(key).ok());
    std::uint32_t chainL = 0, chainR = 0;
    for (std::size_t o = 0; o + 8 <= bytes.size(); o += 8) {
        std::uint32_t l = 0, r = 0;
        for (std::size_t i = 0; i < 4; ++i) {
            l = l << 8 | static_cast<unsigned char>(bytes[o + i]);
            r = r << 8 | static_cast<unsigned char>(bytes[o + 4 + i]);
        }
        const std::uint32_t readL = l, readR = r;
        if (encrypt) {
            l ^= chainL;
            r ^= chainR;
            c.EncryptBlock(l, r);
            chainL = l;
            chainR = r;
        } else {
            c.DecryptBlock(l, r);
            l ^= chainL;
            r ^= chainR;
            chainL = readL;
            chainR = readR;
        }
        for (std::size_t i = 0; i < 4; ++i) {
            bytes[o + i] = static_cast<char>(l >> (24 - 8 * i));
            bytes[o + 4 + i] = static_cast<char>(r >> (24 - 8 * i));
        }
    }
    return bytes;
}

std::string decipherContainer(const std::string& file, std::string_view key) {
    return chain(file, key, false);
}

std::string payloadOf(std::size_t size) {
    std::string payload;
    for (std::size_t i = 0; i < size; ++i)
        payload += static_cast<char>((i * 37 + 11) & 0xFF);
    return payload;
}

TEST(BlowfishContainer, SizesAndLayout) {
    struct SizeCase {
        std::size_t payload;
        std::size_t container;
    };
    const SizeCase cases[] = {{0, 16}, {1, 16}, {4, 16}, {5, 24}, {12, 24}, {13, 32}, {20, 32}, {21, 40}};
    for (const SizeCase& c : cases) {
        clsEncrypt cipher;
        std::string buffer = payloadOf(c.payload);
        cipher.EncryptByte(buffer, kProgramKey);
        ASSERT_EQ(buffer.size(), c.container) << c.payload;

        const std::string plain = decipherContainer(buffer, kProgramKey);
        EXPECT_EQ(plain[3] & 0x80, 0) << "first random value within 0..2147483647";
        EXPECT_EQ(plain[7] & 0x80, 0) << "second random value within 0..2147483647";
        EXPECT_EQ(plain.substr(8, 4), std::string({static_cast<char>(c.payload), 0, 0, 0}));
        EXPECT_EQ(plain.substr(12, c.payload), payloadOf(c.payload));
        EXPECT_EQ(plain.substr(12 + c.payload), std::string(c.container - 12 - c.payload, '\0'));
    }
}

TEST(BlowfishContainer, RoundTripsEveryPayloadSizeWithAFreshFirstBlock) {
    clsEncrypt encrypter;
    clsEncrypt decrypter;
    for (std::size_t size = 0; size <= 40; ++size) {
        std::string first = payloadOf(size);
        std::string second = first;
        encrypter.EncryptByte(first, kProgramKey);
        encrypter.EncryptByte(second, kProgramKey);
        EXPECT_NE(first, second) << size; // the random first block differs
        for (std::string* buffer : {&first, &second}) {
            EXPECT_TRUE(decrypter.DecryptByte(*buffer, kProgramKey)) << size;
            EXPECT_EQ(*buffer, payloadOf(size)) << size;
        }
    }
}

TEST(BlowfishContainer, LengthFieldIsBelievedOnlyWithinTheSizeCheck) {
    struct LengthCase {
        std::uint32_t claimed;
        std::size_t total;
        bool accepted;
    };
    const LengthCase cases[] = {
        {4, 16, true},
        {0, 16, true},
        {5, 16, false},
        {0, 24, false},
        {5, 24, true},
        {4, 24, false},
        {12, 24, true},
        {13, 24, false},
        {0xFFFFFFFFu, 16, false},
        {0x80000000u, 24, false},
        {0xFFFFFFF8u, 32, false},
    };
    for (const LengthCase& c : cases) {
        std::string plain(c.total, 'p');
        for (std::size_t i = 0; i < 4; ++i)
            plain[8 + i] = static_cast<char>(c.claimed >> (8 * i));
        std::string buffer = chain(plain, kProgramKey, true);
        clsEncrypt cipher;
        EXPECT_EQ(cipher.DecryptByte(buffer, kProgramKey), c.accepted) << c.claimed << " in " << c.total;
        EXPECT_EQ(buffer, c.accepted ? plain.substr(12, c.claimed) : plain) << c.claimed << " in " << c.total;
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
            EXPECT_EQ(buffer.substr(0, blocks), decipherContainer(whole.substr(0, blocks), kProgramKey));
            EXPECT_EQ(buffer.substr(blocks), whole.substr(blocks, length - blocks));
        }
    }
}

TEST(BlowfishProgress, ThresholdSequence) {
    struct ProgressCase {
        std::size_t payload;
        std::vector<std::int32_t> expected;
    };
    const ProgressCase cases[] = {
        {0, {0, 50, 100}},      // 16 bytes: blocks at 0 and 8
        {12, {0, 33, 66, 100}}, // 24 bytes: 8/24 = 33.3 %, 16/24 = 66.7 %
    };
    for (const ProgressCase& c : cases) {
        std::vector<std::int32_t> seen;
        clsEncrypt cipher;
        cipher.setProgressHandler([&](std::int32_t percent) { seen.push_back(percent); });
        std::string buffer = payloadOf(c.payload);
        cipher.EncryptByte(buffer, kProgramKey);
        EXPECT_EQ(seen, c.expected) << c.payload;
        seen.clear();
        ASSERT_TRUE(cipher.DecryptByte(buffer));
        EXPECT_EQ(seen, c.expected) << c.payload;
    }
}

TEST(BlowfishProgress, RisesOncePerPercentOnLargeBuffers) {
    for (const std::size_t size : {100u, 799u, 5000u, 123457u}) {
        std::vector<std::int32_t> seen;
        clsEncrypt cipher;
        cipher.setProgressHandler([&](std::int32_t percent) { seen.push_back(percent); });
        std::string buffer = payloadOf(size);
        cipher.EncryptByte(buffer, kProgramKey);
        ASSERT_FALSE(seen.empty());
        EXPECT_EQ(seen.front(), 0);
        EXPECT_EQ(seen.back(), 100);
        for (std::size_t i = 1; i < seen.size(); ++i)
            EXPECT_LT(seen[i - 1], seen[i]) << size;
        EXPECT_LE(seen.size(), 101u);
        if (size > 5000) {
            EXPECT_EQ(seen.size(), 101u) << "every percentage of a large buffer is reported";
        }
    }
}

TEST(BlowfishText, HexStringsRoundTrip) {
    clsEncrypt c;
    const std::string text = "Caput Draconis \xE9\xFF";
    const std::string hex = c.EncryptString(text, kProgramKey, true);
    EXPECT_EQ(hex.size(), 2 * 32u);
    EXPECT_EQ(hex.find_first_not_of("0123456789ABCDEF"), std::string::npos) << hex;
    EXPECT_EQ(c.DecryptString(hex, {}, true), text);
    std::string lower = hex;
    for (char& ch : lower)
        ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    EXPECT_EQ(c.DecryptString(lower, {}, true), text);

    const std::string raw = c.EncryptString(text, "other key");
    EXPECT_EQ(raw.size(), 32u);
    EXPECT_EQ(c.DecryptString(raw), text);
}

TEST(BlowfishFile, RulesForFiles) {
    const TempDir dir;
    const auto plain = dir / "plain.cfg";
    const auto sealed = dir / "aircraft.bin";
    const auto back = dir / "back.cfg";
    const std::string text = "[fltsim.0]\r\ntitle=House\r\n";
    writeFile(plain, text);
    clsEncrypt c;

    EXPECT_FALSE(c.EncryptFile(dir / "missing.cfg", sealed, true, kProgramKey));
    EXPECT_FALSE(std::filesystem::exists(sealed));
    ASSERT_TRUE(c.EncryptFile(plain, sealed, false, kProgramKey));
    EXPECT_EQ(readFile(sealed).size(), 40u);
    ASSERT_TRUE(c.DecryptFile(sealed, back, false, kProgramKey));
    EXPECT_EQ(readFile(back), text);

    // An existing output is left alone unless overwriting is asked for.
    writeFile(back, "keep me");
    EXPECT_FALSE(c.DecryptFile(sealed, back, false, kProgramKey));
    EXPECT_FALSE(c.EncryptFile(plain, back, false, kProgramKey));
    EXPECT_EQ(readFile(back), "keep me");
    EXPECT_TRUE(c.DecryptFile(sealed, back, true, kProgramKey));
    EXPECT_EQ(readFile(back), text);

    // An empty input is a fault and writes nothing.
    writeFile(dir / "empty.bin", "");
    EXPECT_FALSE(c.DecryptFile(dir / "empty.bin", dir / "empty.cfg", true, kProgramKey));
    EXPECT_FALSE(c.EncryptFile(dir / "empty.bin", dir / "empty.cfg", true, kProgramKey));
    EXPECT_FALSE(std::filesystem::exists(dir / "empty.cfg"));

    // A wrong key still writes the deciphered bytes, whole.
    clsEncrypt other;
    EXPECT_TRUE(other.DecryptFile(sealed, dir / "garbled.cfg", false, "not the key"));
    EXPECT_EQ(readFile(dir / "garbled.cfg").size(), 40u);
    EXPECT_NE(readFile(dir / "garbled.cfg").find("title"), 12u);
}

} // namespace
} // namespace livrano
