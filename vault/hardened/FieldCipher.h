#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>

namespace Botan {
class AEAD_Mode;
}

/// Where a sealed value belongs: its section and name in the store and the
/// vault's save generation. A value opens only at the place it was sealed
/// for, so a value moved to another Item or field, or replayed from an older
/// save, is found out.
std::string FieldPlace(std::string_view section, std::string_view name, std::uint64_t generation);

/// Seals and opens values with Twofish-256 in EAX mode (Botan's EAX over our
/// Twofish): a fresh random 16-byte nonce for every seal, a 16-byte tag over
/// the nonce, the place and the sealed bytes. A sealed value is upper-case
/// hex of nonce, cipher text and tag. The key schedule is made once and
/// wiped when the object goes.
class CFieldCipher final {
public:
    static constexpr std::size_t kNonceBytes = 16;
    static constexpr std::size_t kTagBytes = 16;

    /// `key` is the 32-byte vault key.
    explicit CFieldCipher(std::span<const std::uint8_t> key);
    ~CFieldCipher();
    CFieldCipher(const CFieldCipher&) = delete;
    CFieldCipher& operator=(const CFieldCipher&) = delete;

    /// False when the key could not be scheduled; nothing seals or opens then.
    [[nodiscard]] bool IsValid() const { return m_encrypt != nullptr && m_decrypt != nullptr; }

    /// The sealed text of `plain` for `place`; empty on failure.
    std::string Seal(std::string_view plain, std::string_view place);
    /// Opens `sealed` for `place` into `plain`. False, with `plain` empty,
    /// when the text is not a sealed value or anything in it or its place
    /// differs from what was sealed.
    [[nodiscard]] bool Open(std::string_view sealed, std::string_view place, std::string& plain);

    /// As Seal, as bytes: nonce, cipher text and tag.
    std::string SealBytes(std::string_view plain, std::string_view place);
    /// As Open, for what SealBytes gave.
    [[nodiscard]] bool OpenBytes(std::string_view sealed, std::string_view place, std::string& plain);

private:
    std::unique_ptr<Botan::AEAD_Mode> m_encrypt;
    std::unique_ptr<Botan::AEAD_Mode> m_decrypt;
};
