// Known answers, key schedule and key text rules of the block cipher.

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <memory>

#include "CipherTestHelpers.h"

using namespace cipher_test;

namespace {

const std::string kZeroKeyBlock = "9F589F5CF6122C32B6BFEC2F2AE8C35A";

std::string EncryptHexKey(const std::string& keyHex, const Bytes& plain, int keyBits = 0) {
    if (keyBits == 0) keyBits = static_cast<int>(keyHex.size() * 4);
    auto key = std::make_unique<keyInstance>();
    cipherInstance cipher{};
    EXPECT_EQ(makeKey(key.get(), DIR_ENCRYPT, keyBits, keyHex.c_str()), 1);
    EXPECT_EQ(cipherInit(&cipher, MODE_ECB, nullptr), 1);
    Bytes out(plain.size());
    const int bits = static_cast<int>(plain.size() * 8);
    EXPECT_EQ(blockEncrypt(&cipher, key.get(), plain.data(), bits, out.data()), bits);
    return ToHex(out);
}

struct ChainRow {
    int step;
    const char* key;
    const char* plain;
    const char* cipher;
};

// Runs the published iterated chain for one key length and checks the
// listed steps along the way.
void RunChain(size_t keyBytes, const std::vector<ChainRow>& rows) {
    Bytes key(keyBytes, 0);
    Bytes plain(16, 0);
    size_t next = 0;
    for (int step = 1; step <= 49; ++step) {
        const std::string cipherHex = EncryptHexKey(ToHex(key), plain);
        if (next < rows.size() && rows[next].step == step) {
            SCOPED_TRACE(step);
            EXPECT_EQ(ToHex(key), rows[next].key);
            EXPECT_EQ(ToHex(plain), rows[next].plain);
            EXPECT_EQ(cipherHex, rows[next].cipher);
            ++next;
        }
        Bytes nextKey = plain;
        nextKey.insert(nextKey.end(), key.begin(), key.end());
        nextKey.resize(keyBytes);
        key = nextKey;
        plain = FromHex(cipherHex);
    }
    EXPECT_EQ(next, rows.size());
}

}  // namespace

TEST(TwofishTest, KnownAnswersForAllKeyLengths) {
    const Bytes zero(16, 0);
    EXPECT_EQ(EncryptHexKey(std::string(32, '0'), zero), kZeroKeyBlock);
    EXPECT_EQ(EncryptHexKey("0123456789ABCDEFFEDCBA98765432100011223344556677", zero),
              "CFD1D2E5A9BE9CDF501F13B892BD2248");
    EXPECT_EQ(
        EncryptHexKey("0123456789ABCDEFFEDCBA987654321000112233445566778899AABBCCDDEEFF", zero),
        "37527BE0052334B89F0CFCCAE87CFA20");
}

TEST(TwofishTest, IteratedChainsForAllKeyLengths) {
    RunChain(16, {{1, "00000000000000000000000000000000", "00000000000000000000000000000000",
                   "9F589F5CF6122C32B6BFEC2F2AE8C35A"},
                  {2, "00000000000000000000000000000000", "9F589F5CF6122C32B6BFEC2F2AE8C35A",
                   "D491DB16E7B1C39E86CB086B789F5419"},
                  {3, "9F589F5CF6122C32B6BFEC2F2AE8C35A", "D491DB16E7B1C39E86CB086B789F5419",
                   "019F9809DE1711858FAAC3A3BA20FBC3"},
                  {49, "BCA724A54533C6987E14AA827952F921", "6B459286F3FFD28D49F15B1581B08E42",
                   "5D9D4EEFFA9151575524F115815A12E0"}});
    RunChain(24, {{1, "000000000000000000000000000000000000000000000000",
                   "00000000000000000000000000000000", "EFA71F788965BD4453F860178FC19101"},
                  {49, "FB66522C332FCC4C042ABE32FA9E902FDEA4F3DA75EC7A8E",
                   "F0AB73301125FA21EF70BE5385FB76B6", "E75449212BEEF9F4A390BD860A640941"}});
    RunChain(32, {{1, "0000000000000000000000000000000000000000000000000000000000000000",
                   "00000000000000000000000000000000", "57FF739D4DC92C1BD7FC01700CC8216F"},
                  {49, "248A7F3528B168ACFDD1386E3F51E30C2E2158BC3E5FC714C1EEECA0EA696D48",
                   "431058F4DBC7F734DA4F02F04CC4F459", "37FE26FF1CF66175F5DDF4C33B97A205"}});
}

TEST(TwofishTest, KeyTextRules) {
    auto key = std::make_unique<keyInstance>();
    std::memset(key.get(), 0xAB, sizeof(keyInstance));
    // Without key text the record is only prepared.
    EXPECT_EQ(makeKey(key.get(), DIR_DECRYPT, 128, nullptr), 1);
    EXPECT_EQ(key->direction, DIR_DECRYPT);
    EXPECT_EQ(key->keyLen, 128);
    EXPECT_EQ(key->numRounds, 16);
    EXPECT_EQ(key->keyMaterial[64], '\0');
    for (std::uint32_t word : key->key32) EXPECT_EQ(word, 0u);
    EXPECT_EQ(key->subKeys[0], 0xABABABABu);
    EXPECT_EQ(makeKey(key.get(), DIR_ENCRYPT, 128, ""), 1);
    EXPECT_EQ(key->subKeys[0], 0xABABABABu);
    // Lengths round up to whole 64-bit halves.
    EXPECT_EQ(makeKey(key.get(), DIR_ENCRYPT, 100, nullptr), 1);
    EXPECT_EQ(key->keyLen, 128);

    const std::string thirtyTwo = "0123456789abcdefFEDCBA9876543210";
    EXPECT_EQ(makeKey(key.get(), DIR_ENCRYPT, 128, thirtyTwo.substr(0, 31).c_str()), BAD_KEY_MAT);
    EXPECT_EQ(makeKey(key.get(), DIR_ENCRYPT, 128, "0123456789abcdeX0000000000000000"),
              BAD_KEY_MAT);
    EXPECT_EQ(key->keyMaterial[15], 'X');  // the failing character was copied too

    // Bytes fill the words little-endian, high nibble first.
    ASSERT_EQ(makeKey(key.get(), DIR_ENCRYPT, 128, thirtyTwo.c_str()), 1);
    EXPECT_EQ(key->key32[0], 0x67452301u);
    EXPECT_EQ(key->key32[3], 0x10325476u);
    EXPECT_EQ(std::string(key->keyMaterial, 32), thirtyTwo);
    // Characters after the first 32 are ignored; case does not matter.
    const Bytes plain(16, 0x5A);
    const std::string expected = EncryptHexKey(thirtyTwo, plain);
    EXPECT_EQ(EncryptHexKey(thirtyTwo + "7", plain, 128), expected);
    EXPECT_EQ(EncryptHexKey(thirtyTwo + "xyz", plain, 128), expected);
    EXPECT_EQ(EncryptHexKey("0123456789ABCDEFfedcba9876543210", plain), expected);
}

TEST(TwofishTest, UnusableKeyLengthsAndDirectionsLeaveTheScheduledKeyAlone) {
    const std::string keyText(64, '7');
    struct Row {
        std::uint8_t direction;
        int keyLen;
        int result;
        int roundedLen;
    };
    const Row rows[] = {{DIR_ENCRYPT, INT_MAX, BAD_KEY_MAT, 0},
                        {DIR_ENCRYPT, INT_MAX - 62, BAD_KEY_MAT, 0},
                        {DIR_ENCRYPT, INT_MIN, BAD_KEY_MAT, 0},
                        {DIR_ENCRYPT, 0, BAD_KEY_MAT, 0},
                        {DIR_ENCRYPT, 1, BAD_KEY_MAT, 0},
                        {DIR_ENCRYPT, 64, BAD_KEY_MAT, 0},
                        {DIR_ENCRYPT, 257, BAD_KEY_MAT, 0},
                        {2, 128, BAD_KEY_DIR, 0},
                        {DIR_DECRYPT, 65, 1, 128},
                        {DIR_ENCRYPT, 129, 1, 192},
                        {DIR_ENCRYPT, 256, 1, 256}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.keyLen);
        auto key = std::make_unique<keyInstance>();
        ASSERT_EQ(makeKey(key.get(), DIR_ENCRYPT, 128, keyText.c_str()), 1);
        const Bytes before = Snapshot(*key);
        for (const char* text : {keyText.c_str(), static_cast<const char*>(nullptr)}) {
            EXPECT_EQ(makeKey(key.get(), row.direction, row.keyLen, text), row.result);
            if (row.result != 1) {
                EXPECT_EQ(Snapshot(*key), before);
            }
        }
        if (row.result == 1) {
            EXPECT_EQ(key->keyLen, row.roundedLen);
        }
    }
    EXPECT_EQ(makeKey(nullptr, DIR_ENCRYPT, 128, nullptr), BAD_KEY_INSTANCE);
    // A record whose length was never set is not scheduled.
    auto blank = std::make_unique<keyInstance>();
    EXPECT_EQ(reKey(blank.get()), BAD_KEY_INSTANCE);
}

TEST(TwofishTest, IvTextRules) {
    cipherInstance cipher{};
    EXPECT_EQ(cipherInit(&cipher, MODE_ECB, "not hex at all, not even close!!"), 1);
    EXPECT_EQ(cipher.mode, MODE_ECB);
    EXPECT_EQ(cipherInit(&cipher, MODE_CBC, "00112233445566778899aabbccddeefG"), BAD_IV_MAT);
    EXPECT_EQ(cipherInit(&cipher, MODE_CBC, "0011"), BAD_IV_MAT);
    ASSERT_EQ(cipherInit(&cipher, MODE_CBC, "00112233445566778899aabbccddeeff"), 1);
    EXPECT_EQ(cipher.mode, MODE_CBC);
    EXPECT_EQ(cipher.iv32[0], 0x33221100u);
    EXPECT_EQ(ToHex(cipher.IV, 16), "00112233445566778899AABBCCDDEEFF");

    // A refused call leaves mode, chain value and register as they were.
    const Bytes before = Snapshot(cipher);
    const std::pair<std::uint8_t, const char*> refused[] = {
        {MODE_CFB1, "ffeeddccbbaa9988776655443322110X"},
        {MODE_CFB1, "ffeedd"},
        {0, nullptr},
        {4, "ffeeddccbbaa99887766554433221100"},
        {255, nullptr}};
    for (const auto& [mode, iv] : refused) {
        SCOPED_TRACE(static_cast<int>(mode));
        EXPECT_EQ(cipherInit(&cipher, mode, iv), mode == MODE_CFB1 ? BAD_IV_MAT : BAD_CIPHER_MODE);
        EXPECT_EQ(Snapshot(cipher), before);
    }
    EXPECT_EQ(cipherInit(nullptr, MODE_ECB, nullptr), BAD_CIPHER_STATE);
}

TEST(TwofishTest, SelfTestFillsTheCallersBuffers) {
    std::uint8_t plain[16], cipherText[16], check[16];
    std::memset(plain, 0x11, sizeof plain);
    std::memset(check, 0x22, sizeof check);
    EXPECT_EQ(CipherSelfTest(plain, cipherText, check), 0);
    EXPECT_EQ(ToHex(plain, 16), std::string(32, '0'));
    EXPECT_EQ(ToHex(check, 16), std::string(32, '0'));
    EXPECT_EQ(ToHex(cipherText, 16), kZeroKeyBlock);
}
