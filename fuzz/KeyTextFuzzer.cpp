// Drives the cipher interface with arbitrary key lengths, directions,
// modes, key and IV texts and block lengths, and the hexadecimal text
// helpers with arbitrary text. Checks each result against the rules of
// the interface and that decryption undoes encryption.

#include <fuzzer/FuzzedDataProvider.h>

#include <cctype>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/FuzzCheck.h"
#include "vault/HexText.h"
#include "vault/Twofish.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

template <typename Record>
Bytes Snapshot(const Record& record) {
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(&record);
    return Bytes(bytes, bytes + sizeof record);
}

// A copy of `text` in a block of exactly its length plus the terminator,
// so that reading one character too far is an address-sanitizer report.
std::unique_ptr<char[]> ExactCopy(const std::string& text) {
    auto copy = std::make_unique<char[]>(text.size() + 1);
    std::memcpy(copy.get(), text.c_str(), text.size() + 1);
    return copy;
}

// True when `text` starts with `digits` hexadecimal digits.
bool StartsWithHex(std::string_view text, std::size_t digits) {
    return text.size() >= digits && IsHexDigitText(text.substr(0, digits));
}

void CheckHexText(const std::string& text) {
    if (!IsHexDigitText(text)) return;
    Bytes bytes(text.size() / 2);
    ReadHexBytes(text, bytes.data());
    std::string back;
    AppendHexBytes(bytes.data(), bytes.size(), back);
    std::string upper = text;
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    Require(back == upper, "hex text reads and writes back the same bytes");
}

// The result makeKey must give; the key text is read up to its first zero byte.
int ExpectedMakeKey(std::uint8_t direction, int keyLen, const char* keyText) {
    if (direction != DIR_ENCRYPT && direction != DIR_DECRYPT) return BAD_KEY_DIR;
    if (keyLen <= 64 || keyLen > 256) return BAD_KEY_MAT;
    if (keyText == nullptr || keyText[0] == '\0') return 1;
    const std::size_t digits = static_cast<std::size_t>((keyLen + 63) / 64 * 16);
    return StartsWithHex(keyText, digits) ? 1 : BAD_KEY_MAT;
}

int ExpectedCipherInit(std::uint8_t mode, const char* ivText) {
    if (mode != MODE_ECB && mode != MODE_CBC && mode != MODE_CFB1) return BAD_CIPHER_MODE;
    if (mode == MODE_ECB || ivText == nullptr) return 1;
    return StartsWithHex(ivText, 32) ? 1 : BAD_IV_MAT;
}

// Encrypts `bits` of `plain` and decrypts them again with a second copy of
// the cipher record; bits outside the count must stay as they were.
void CheckRoundTrip(keyInstance& key, const cipherInstance& cipher, const Bytes& plain, int bits) {
    const bool wholeBlocks = cipher.mode != MODE_CFB1;
    const int expected = bits < 0 || (wholeBlocks && bits % 128 != 0) ? BAD_INPUT_LEN : bits;
    cipherInstance encrypting = cipher;
    cipherInstance decrypting = cipher;
    Bytes sealed(plain.size(), 0xEE);
    const int result = blockEncrypt(&encrypting, &key, plain.data(), bits, sealed.data());
    Require(result == expected, "blockEncrypt gives the length or BAD_INPUT_LEN");
    if (result < 0) {
        Require(sealed == Bytes(plain.size(), 0xEE), "a refused call writes nothing");
        Require(Snapshot(encrypting) == Snapshot(cipher), "a refused call keeps the record");
        return;
    }
    const std::size_t whole = static_cast<std::size_t>(bits / 8);
    for (std::size_t i = whole + (bits % 8 != 0 ? 1 : 0); i < sealed.size(); ++i) {
        Require(sealed[i] == 0xEE, "bytes past the length are not written");
    }
    if (bits % 8 != 0) {
        const auto kept = static_cast<std::uint8_t>(0xFFu >> (bits % 8));
        Require((sealed[whole] & kept) == (0xEE & kept), "bits past the length are not written");
    }
    Bytes back = plain;
    Require(blockDecrypt(&decrypting, &key, sealed.data(), bits, back.data()) == bits,
            "blockDecrypt gives the length");
    Require(back == plain, "decryption undoes encryption");
    if (cipher.mode == MODE_CBC && bits > 0) {
        Require(std::memcmp(encrypting.iv32, decrypting.iv32, sizeof encrypting.iv32) == 0,
                "both directions end on the same chain value");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const std::string keyText = input.ConsumeRandomLengthString(80);
    const std::string ivText = input.ConsumeRandomLengthString(40);
    const bool withKeyText = input.ConsumeBool();
    const bool withIv = input.ConsumeBool();
    const auto direction = input.ConsumeIntegralInRange<std::uint8_t>(0, 2);
    const auto mode = input.ConsumeIntegralInRange<std::uint8_t>(0, 4);
    const int keyLen = input.ConsumeBool() ? input.ConsumeIntegral<int>()
                                           : input.PickValueInArray({128, 192, 256, 100, 64});
    const int lengthKind = input.ConsumeIntegralInRange(0, 2);
    const int anyBits = input.ConsumeIntegral<int>();
    const Bytes plain = input.ConsumeRemainingBytes<std::uint8_t>();
    const int maxBits = static_cast<int>(plain.size() * 8);
    // Whole blocks, any length up to the buffer's, or a negative length.
    int bits = anyBits | INT_MIN;
    if (lengthKind == 0) {
        bits = maxBits / 128 * 128;
    } else if (lengthKind == 1) {
        bits =
            static_cast<int>(static_cast<unsigned>(anyBits) % (static_cast<unsigned>(maxBits) + 1));
    }

    CheckHexText(keyText);
    CheckHexText(ivText);

    const auto keyCopy = ExactCopy(keyText);
    const auto ivCopy = ExactCopy(ivText);
    const char* keyArg = withKeyText ? keyCopy.get() : nullptr;
    const char* ivArg = withIv ? ivCopy.get() : nullptr;

    // Start from a scheduled key, so a refused call would leave one behind.
    auto key = std::make_unique<keyInstance>();
    Require(makeKey(key.get(), DIR_ENCRYPT, 128, "000102030405060708090a0b0c0d0e0f") == 1,
            "a good key schedules");
    const Bytes keyBefore = Snapshot(*key);
    const int keyExpected = ExpectedMakeKey(direction, keyLen, keyArg);
    Require(makeKey(key.get(), direction, keyLen, keyArg) == keyExpected, "makeKey result");
    if (keyExpected != 1) {
        const bool textRead = keyExpected == BAD_KEY_MAT && keyLen > 64 && keyLen <= 256;
        Require(textRead || Snapshot(*key) == keyBefore, "a refused length keeps the record");
        return 0;
    }
    if (keyArg == nullptr || keyArg[0] == '\0') Require(reKey(key.get()) == 1, "reKey schedules");

    cipherInstance cipher{};
    Require(cipherInit(&cipher, MODE_CBC, "ffeeddccbbaa99887766554433221100") == 1,
            "a good IV is taken");
    const Bytes cipherBefore = Snapshot(cipher);
    const int cipherExpected = ExpectedCipherInit(mode, ivArg);
    Require(cipherInit(&cipher, mode, ivArg) == cipherExpected, "cipherInit result");
    if (cipherExpected != 1) {
        Require(Snapshot(cipher) == cipherBefore, "a refused cipherInit keeps the record");
        if (cipherExpected == BAD_CIPHER_MODE) {
            cipher.mode = mode;
            Bytes out(plain.size());
            Require(blockEncrypt(&cipher, key.get(), plain.data(), bits, out.data()) ==
                        BAD_CIPHER_STATE,
                    "an unknown mode in the record is refused");
        }
        return 0;
    }
    CheckRoundTrip(*key, cipher, plain, bits);
    return 0;
}
