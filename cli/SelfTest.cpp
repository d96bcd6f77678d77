#include "cli/SelfTest.h"

#include <array>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "vault/PasswordSealer.h"
#include "vault/Twofish.h"

namespace {

constexpr int kBlockBits = 128;
constexpr std::size_t kBlockBytes = 16;
using Block = std::array<std::uint8_t, kBlockBytes>;

// The published known answers: encrypting the all-zero block.
struct ZeroBlockVector {
    const char* key;
    const char* cipherText;
};
constexpr ZeroBlockVector kZeroBlockVectors[] = {
    {"00000000000000000000000000000000", "9F589F5CF6122C32B6BFEC2F2AE8C35A"},
    {"0123456789ABCDEFFEDCBA98765432100011223344556677", "CFD1D2E5A9BE9CDF501F13B892BD2248"},
    {"0123456789ABCDEFFEDCBA987654321000112233445566778899AABBCCDDEEFF",
     "37527BE0052334B89F0CFCCAE87CFA20"},
};

// The published iterated chain: key and plaintext start at zero; after
// each step the next key is (plaintext, key) cut to the key length and the
// next plaintext is the ciphertext. The given steps are checked on the way.
struct ChainStep {
    int keyBits;
    int step;
    const char* key;
    const char* plainText;
    const char* cipherText;
};
constexpr ChainStep kChainSteps[] = {
    {128, 2, "00000000000000000000000000000000", "9F589F5CF6122C32B6BFEC2F2AE8C35A",
     "D491DB16E7B1C39E86CB086B789F5419"},
    {128, 3, "9F589F5CF6122C32B6BFEC2F2AE8C35A", "D491DB16E7B1C39E86CB086B789F5419",
     "019F9809DE1711858FAAC3A3BA20FBC3"},
    {128, 49, "BCA724A54533C6987E14AA827952F921", "6B459286F3FFD28D49F15B1581B08E42",
     "5D9D4EEFFA9151575524F115815A12E0"},
    {192, 1, "000000000000000000000000000000000000000000000000", "00000000000000000000000000000000",
     "EFA71F788965BD4453F860178FC19101"},
    {192, 49, "FB66522C332FCC4C042ABE32FA9E902FDEA4F3DA75EC7A8E",
     "F0AB73301125FA21EF70BE5385FB76B6", "E75449212BEEF9F4A390BD860A640941"},
    {256, 1, "0000000000000000000000000000000000000000000000000000000000000000",
     "00000000000000000000000000000000", "57FF739D4DC92C1BD7FC01700CC8216F"},
    {256, 49, "248A7F3528B168ACFDD1386E3F51E30C2E2158BC3E5FC714C1EEECA0EA696D48",
     "431058F4DBC7F734DA4F02F04CC4F459", "37FE26FF1CF66175F5DDF4C33B97A205"},
};
constexpr int kChainLength = 49;

std::string ToHex(const std::uint8_t* bytes, std::size_t count) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string hex;
    for (std::size_t i = 0; i < count; ++i) {
        hex += kDigits[bytes[i] >> 4];
        hex += kDigits[bytes[i] & 0x0F];
    }
    return hex;
}

Block FromHex(const std::string& hex) {
    Block block{};
    for (std::size_t i = 0; i < block.size() && 2 * i + 1 < hex.size(); ++i) {
        block[i] = static_cast<std::uint8_t>(std::stoul(hex.substr(2 * i, 2), nullptr, 16));
    }
    return block;
}

// Encrypts `plain` under the hex key and checks that decrypting gives it back.
bool Encrypt(const std::string& keyHex, const Block& plain, Block& cipherText) {
    keyInstance key{};
    cipherInstance cipher{};
    const int keyBits = static_cast<int>(keyHex.size() * 4);
    if (makeKey(&key, DIR_ENCRYPT, keyBits, keyHex.c_str()) != 1 ||
        cipherInit(&cipher, MODE_ECB, nullptr) != 1 ||
        blockEncrypt(&cipher, &key, plain.data(), kBlockBits, cipherText.data()) != kBlockBits) {
        return false;
    }
    keyInstance decryptKey{};
    Block back{};
    return makeKey(&decryptKey, DIR_DECRYPT, keyBits, keyHex.c_str()) == 1 &&
           blockDecrypt(&cipher, &decryptKey, cipherText.data(), kBlockBits, back.data()) ==
               kBlockBits &&
           back == plain;
}

bool Report(const std::string& name, bool passed) {
    std::printf("%-40s %s\n", name.c_str(), passed ? "passed" : "FAILED");
    return passed;
}

// Runs the chain of one key length and checks every listed step.
bool RunChain(int keyBits) {
    const std::size_t keyBytes = static_cast<std::size_t>(keyBits) / 8;
    std::vector<std::uint8_t> key(keyBytes, 0);
    Block plain{};
    bool passed = true;
    for (int step = 1; step <= kChainLength; ++step) {
        const std::string keyHex = ToHex(key.data(), key.size());
        Block cipherText{};
        const bool encrypted = Encrypt(keyHex, plain, cipherText);
        for (const ChainStep& expected : kChainSteps) {
            if (expected.keyBits != keyBits || expected.step != step) continue;
            passed =
                Report(
                    "chain " + std::to_string(keyBits) + "-bit key, step " + std::to_string(step),
                    encrypted && keyHex == expected.key &&
                        ToHex(plain.data(), plain.size()) == expected.plainText &&
                        ToHex(cipherText.data(), cipherText.size()) == expected.cipherText) &&
                passed;
        }
        // The plaintext followed by the key, cut to the key length.
        std::vector<std::uint8_t> next(keyBytes);
        for (std::size_t i = 0; i < keyBytes; ++i) {
            next[i] = i < kBlockBytes ? plain[i] : key[i - kBlockBytes];
        }
        key = next;
        plain = cipherText;
    }
    return passed;
}

}  // namespace

ExitStatus RunSelfTest(CPasswordSealer& sealer) {
    bool passed =
        Report("cipher self-test",
               CipherSelfTest(sealer.PlainBlock(), sealer.CipherBlock(), sealer.CheckBlock()) == 0);
    for (const ZeroBlockVector& vector : kZeroBlockVectors) {
        const std::string key = vector.key;
        Block cipherText{};
        const bool ok =
            Encrypt(key, Block{}, cipherText) && cipherText == FromHex(vector.cipherText);
        passed = Report("zero block, " + std::to_string(key.size() * 4) + "-bit key", ok) && passed;
    }
    for (const int keyBits : {128, 192, 256}) passed = RunChain(keyBits) && passed;
    std::printf("%s\n", passed ? "All checks passed." : "The self-test FAILED.");
    return passed ? ExitStatus::Ok : ExitStatus::Failed;
}
