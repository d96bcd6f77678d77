// The hardened vault's building blocks: Argon2id as published, our Twofish
// inside Botan's EAX, and sealed values that open only unchanged and only
// at their own place.
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "tests/vault/CipherTestHelpers.h"
#include "vault/hardened/FieldCipher.h"
#include "vault/hardened/KeyDerivation.h"
#include "vault/hardened/TwofishBlockCipher.h"

using cipher_test::Bytes;
using cipher_test::FromHex;
using cipher_test::ToHex;

TEST(HardenedCryptoTest, Argon2idGivesThePublishedTag) {
    // RFC 9106, section 5.3.
    const std::string password(32, '\x01');
    const Bytes salt(16, 0x02), secret(8, 0x03), ad(12, 0x04);
    std::array<std::uint8_t, 32> tag{};
    ASSERT_TRUE(DeriveKeyArgon2id(password, salt, {32, 3, 4}, tag, secret, ad));
    EXPECT_EQ(ToHex(tag.data(), tag.size()),
              "0D640DF58D78766C08C037A34A8B53C9D01EF0452D75B65EB52520E96B01E659");
}

TEST(HardenedCryptoTest, HostileOrWeakParametersAreRefused) {
    std::array<std::uint8_t, 32> key{};
    const Bytes salt(16, 0x02);
    for (const KdfParams params : {KdfParams{0, 3, 1}, KdfParams{64, 0, 1}, KdfParams{64, 3, 0},
                                   KdfParams{64, 1000000, 1}, KdfParams{64U << 20, 1, 1}}) {
        key.fill(0xAA);
        EXPECT_FALSE(DeriveKeyArgon2id("pw", salt, params, key));
        EXPECT_EQ(key, (std::array<std::uint8_t, 32>{}));
    }
    EXPECT_TRUE(IsAcceptableKdf(kDefaultKdfParams));
}

TEST(HardenedCryptoTest, OurTwofishUnderBotanKeepsTheKnownAnswer) {
    const Bytes key = FromHex("248A7F3528B168ACFDD1386E3F51E30C2E2158BC3E5FC714C1EEECA0EA696D48");
    const Bytes plain = FromHex("431058F4DBC7F734DA4F02F04CC4F459");
    CTwofishBlockCipher cipher;
    cipher.set_key(key.data(), key.size());
    Bytes out(16), back(16);
    cipher.encrypt_n(plain.data(), out.data(), 1);
    EXPECT_EQ(ToHex(out), "37FE26FF1CF66175F5DDF4C33B97A205");
    cipher.decrypt_n(out.data(), back.data(), 1);
    EXPECT_EQ(back, plain);
}

class FieldCipherTest : public ::testing::Test {
protected:
    std::array<std::uint8_t, kVaultKeyBytes> m_key{1, 2, 3};
    CFieldCipher m_cipher{m_key};
    const std::string m_place = FieldPlace("List", "Pwd3", 7);
};

TEST_F(FieldCipherTest, ValuesRoundTripWithAFreshNonceEachTime) {
    for (const std::string& plain : {std::string(), std::string("a"), std::string(300, 'x'),
                                    std::string("ab\0cd\xC3\xA9", 7)}) {
        const std::string first = m_cipher.Seal(plain, m_place);
        const std::string second = m_cipher.Seal(plain, m_place);
        EXPECT_NE(first, second);
        for (const std::string& sealed : {first, second}) {
            std::string opened;
            ASSERT_TRUE(m_cipher.Open(sealed, m_place, opened));
            EXPECT_EQ(opened, plain);
        }
    }
}

TEST_F(FieldCipherTest, EveryTamperingIsFoundOut) {
    const std::string sealed = m_cipher.Seal("hunter2", m_place);
    const std::string other = m_cipher.Seal("letmein", FieldPlace("List", "Pwd4", 7));
    std::vector<std::pair<std::string, std::string>> tampered = {
        {other, m_place},                                  // swapped in from another Item
        {sealed, FieldPlace("List", "Pwd4", 7)},           // moved to another Item
        {sealed, FieldPlace("List", "Note3", 7)},          // moved to another field
        {sealed, FieldPlace("Kept", "Pwd3", 7)},           // moved to another section
        {sealed, FieldPlace("List", "Pwd3", 8)},           // replayed after a later save
        {sealed.substr(0, sealed.size() - 2), m_place},    // truncated
        {sealed + "00", m_place},                          // extended
        {sealed.substr(0, 2 * CFieldCipher::kNonceBytes), m_place},
        {"not hex at all", m_place},
    };
    for (std::size_t i = 0; i < sealed.size(); ++i) {
        std::string flipped = sealed;
        flipped[i] = flipped[i] == '0' ? '1' : '0';
        tampered.emplace_back(flipped, m_place);
    }
    for (const auto& [value, place] : tampered) {
        std::string opened = "stale";
        EXPECT_FALSE(m_cipher.Open(value, place, opened)) << value;
        EXPECT_TRUE(opened.empty());
    }
    std::array<std::uint8_t, kVaultKeyBytes> otherKey{1, 2, 4};
    CFieldCipher wrongKey(otherKey);
    std::string opened;
    EXPECT_FALSE(wrongKey.Open(sealed, m_place, opened));
}
