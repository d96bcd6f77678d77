#include "vault/hardened/FieldCipher.h"

#include <array>
#include <cstring>
#include <exception>

#include <botan/eax.h>
#include <botan/system_rng.h>

#include "vault/HexText.h"
#include "vault/hardened/TwofishBlockCipher.h"

namespace {

constexpr std::string_view kPlaceWord = "Keynest sealed value 2";

// Clears a secure_vector's bytes before its own release clears them again:
// the plain text is copied out and must not stay behind in spare capacity.
void Scrub(Botan::secure_vector<std::uint8_t>& buffer) {
    if (!buffer.empty()) explicit_bzero(buffer.data(), buffer.size());
    buffer.clear();
}

}  // namespace

std::string FieldPlace(std::string_view section, std::string_view name, std::uint64_t generation) {
    std::string place(kPlaceWord);
    place += '\0';
    place += section;
    place += '\0';
    place += name;
    place += '\0';
    for (int shift = 56; shift >= 0; shift -= 8) place += static_cast<char>((generation >> shift) & 0xFF);
    return place;
}

CFieldCipher::CFieldCipher(std::span<const std::uint8_t> key) {
    try {
        auto encrypt = std::make_unique<Botan::EAX_Encryption>(new CTwofishBlockCipher, kTagBytes);
        auto decrypt = std::make_unique<Botan::EAX_Decryption>(new CTwofishBlockCipher, kTagBytes);
        encrypt->set_key(key.data(), key.size());
        decrypt->set_key(key.data(), key.size());
        m_encrypt = std::move(encrypt);
        m_decrypt = std::move(decrypt);
    } catch (const std::exception&) {
        m_encrypt.reset();
        m_decrypt.reset();
    }
}

CFieldCipher::~CFieldCipher() {
    if (m_encrypt) m_encrypt->clear();
    if (m_decrypt) m_decrypt->clear();
}

std::string CFieldCipher::SealBytes(std::string_view plain, std::string_view place) {
    if (!IsValid()) return {};
    try {
        std::array<std::uint8_t, kNonceBytes> nonce{};
        Botan::system_rng().randomize(nonce.data(), nonce.size());
        Botan::secure_vector<std::uint8_t> buffer(plain.begin(), plain.end());
        // Botan's EAX keeps the last message's nonce state until reset.
        m_encrypt->reset();
        m_encrypt->set_associated_data(reinterpret_cast<const std::uint8_t*>(place.data()), place.size());
        m_encrypt->start(nonce.data(), nonce.size());
        m_encrypt->finish(buffer);
        std::string sealed(reinterpret_cast<const char*>(nonce.data()), nonce.size());
        sealed.append(reinterpret_cast<const char*>(buffer.data()), buffer.size());
        return sealed;
    } catch (const std::exception&) {
        return {};
    }
}

bool CFieldCipher::OpenBytes(std::string_view sealed, std::string_view place, std::string& plain) {
    plain.clear();
    if (!IsValid() || sealed.size() < kNonceBytes + kTagBytes) return false;
    Botan::secure_vector<std::uint8_t> bytes(sealed.begin(), sealed.end());
    try {
        m_decrypt->reset();
        m_decrypt->set_associated_data(reinterpret_cast<const std::uint8_t*>(place.data()), place.size());
        m_decrypt->start(bytes.data(), kNonceBytes);
        m_decrypt->finish(bytes, kNonceBytes);  // throws when the tag does not match
    } catch (const std::exception&) {
        Scrub(bytes);
        return false;
    }
    plain.assign(reinterpret_cast<const char*>(bytes.data()) + kNonceBytes, bytes.size() - kNonceBytes);
    Scrub(bytes);
    return true;
}

std::string CFieldCipher::Seal(std::string_view plain, std::string_view place) {
    const std::string sealed = SealBytes(plain, place);
    std::string hex;
    AppendHexBytes(reinterpret_cast<const std::uint8_t*>(sealed.data()), sealed.size(), hex);
    return hex;
}

bool CFieldCipher::Open(std::string_view sealed, std::string_view place, std::string& plain) {
    plain.clear();
    if (sealed.size() < 2 * (kNonceBytes + kTagBytes) || !IsHexDigitText(sealed)) return false;
    std::string bytes(sealed.size() / 2, '\0');
    ReadHexBytes(sealed, reinterpret_cast<std::uint8_t*>(bytes.data()));
    return OpenBytes(bytes, place, plain);
}
