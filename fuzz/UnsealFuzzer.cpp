// Unseals arbitrary sealed text under arbitrary passwords, and checks that
// sealing and unsealing give back any text without zero bytes.

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz/FuzzCheck.h"
#include "vault/PasswordSealer.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const std::string password = input.ConsumeRandomLengthString(24);
    const std::string sealed = input.ConsumeRemainingBytesAsString();
    constexpr std::size_t kBlock = CPasswordSealer::kBlockSize;

    CPasswordSealer sealer;
    const std::string plain = sealer.UnsealText(sealed, password);
    const std::size_t pieces = (sealed.size() + 2 * kBlock - 1) / (2 * kBlock);
    Require(plain.size() <= pieces * kBlock, "each sealed piece gives at most one block");
    Require(plain.find('\0') == std::string::npos, "unsealed text stops at zero bytes");
    if (password.size() > kBlock) {
        Require(plain.empty(), "a password too long for a key unseals nothing");
        Require(sealer.SealText(password, "x", 0).empty(), "nor seals anything");
        return 0;
    }
    if (sealed.size() == 2 * kBlock) {
        Require(sealer.DecryptBlockHex(sealed, password) == plain,
                "one piece decrypts as a one-piece text unseals");
    }

    std::string text = sealed;
    text.erase(std::remove(text.begin(), text.end(), '\0'), text.end());
    const std::string resealed = sealer.SealText(password, text, 0);
    const std::size_t blocks = std::max<std::size_t>(1, (text.size() + kBlock - 1) / kBlock);
    Require(resealed.size() == 2 * kBlock * blocks, "sealed text has 32 digits a block");
    Require(CPasswordSealer::IsHexText(resealed), "sealed text is hexadecimal");
    Require(sealer.UnsealText(resealed, password) == text, "unsealing undoes sealing");
    return 0;
}
