// Sealing texts into hexadecimal form and back, and the one-block routine
// the tester uses.

#include <gtest/gtest.h>

#include <algorithm>

#include "vault/PasswordSealer.h"
#include "vault/SealingKey.h"

namespace {

const std::string kZeroKeyBlock = "9F589F5CF6122C32B6BFEC2F2AE8C35A";

bool OnlyUpperHex(const std::string& text) {
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F'); });
}

class PasswordSealerTest : public ::testing::Test {
  protected:
    CPasswordSealer sealer;
};

}  // namespace

TEST_F(PasswordSealerTest, SealedLengthsAndPadding) {
    const std::string key = "master key";
    const std::pair<size_t, size_t> lengths[] = {
        // plain, sealed
        {0, 32}, {1, 32}, {16, 32}, {17, 64}, {32, 64}, {33, 96}, {300, 608}};
    for (const auto& [plainLength, sealedLength] : lengths) {
        SCOPED_TRACE(plainLength);
        std::string text;
        for (size_t i = 0; i < plainLength; ++i) text += static_cast<char>('a' + i % 26);
        const std::string sealed = sealer.SealText(key, text, 0);
        EXPECT_EQ(sealed.size(), sealedLength);
        EXPECT_TRUE(OnlyUpperHex(sealed));
        EXPECT_EQ(sealer.UnsealText(sealed, key), text);
    }
    // The tail of 17 bytes is one byte and fifteen zero bytes.
    const std::string seventeen = "0123456789abcdefX";
    EXPECT_EQ(sealer.SealText(key, seventeen, 0).substr(32), sealer.SealText(key, "X", 0));
}

TEST_F(PasswordSealerTest, CheckValueKeyLimitsAndWrongKey) {
    const std::string password = "0123456789abcdef";
    const std::string check = sealer.SealText(password, password, 0);
    EXPECT_EQ(check.size(), 32u);
    EXPECT_EQ(sealer.UnsealText(check, password), password);
    // A key of 17 bytes cannot seal, not even the empty text.
    EXPECT_EQ(sealer.SealText(password + "g", password + "g", 0), "");
    EXPECT_EQ(sealer.SealText(password + "g", "", 0), "");
    EXPECT_EQ(sealer.UnsealText(check, password + "g"), "");
    EXPECT_EQ(sealer.DecryptBlockHex(check, password + "g"), "");
    // A wrong key gives some text, not an error.
    const std::string sealed = sealer.SealText("right", "a secret note", 0);
    const std::string wrong = sealer.UnsealText(sealed, "wrong");
    EXPECT_NE(wrong, "a secret note");
    EXPECT_LE(wrong.size(), 16u);
}

TEST_F(PasswordSealerTest, UnsealingOddPieces) {
    const std::string sealed = sealer.SealText("key", "first piece here second piece", 0);
    ASSERT_EQ(sealed.size(), 64u);
    // A short tail contributes nothing; the full pieces still decrypt.
    EXPECT_EQ(sealer.UnsealText(sealed.substr(0, 40), "key"), "first piece here");
    EXPECT_EQ(sealer.UnsealText(sealed + "ABC", "key"), "first piece here second piece");
    EXPECT_EQ(sealer.UnsealText("", "key"), "");
    EXPECT_EQ(sealer.DecryptBlockHex(sealed.substr(0, 31), "key"), "");
    EXPECT_EQ(sealer.DecryptBlockHex(sealed.substr(32), "key"), " second piece");
}

TEST_F(PasswordSealerTest, HexTextAndEncryptBlockInBothModes) {
    for (const char* hex : {"", "0aF9bC"}) EXPECT_TRUE(CPasswordSealer::IsHexText(hex)) << hex;
    for (const char* bad : {"ABC", "ABCG", "AB C"}) EXPECT_FALSE(CPasswordSealer::IsHexText(bad));

    ASSERT_TRUE(sealer.EncryptBlock("", "", 0));
    EXPECT_EQ(sealer.CipherBlockToHex(), kZeroKeyBlock);
    // Short hex keys are zero-filled; lower case means the same.
    ASSERT_TRUE(sealer.EncryptBlock("00", std::string(32, '0'), 1));
    EXPECT_EQ(sealer.CipherBlockToHex(), kZeroKeyBlock);
    ASSERT_TRUE(sealer.EncryptBlock("0123456789ABCDEF", "00FF", 1));
    const std::string upper = sealer.CipherBlockToHex();
    ASSERT_TRUE(sealer.EncryptBlock("0123456789abcdef", "00ff", 1));
    EXPECT_EQ(sealer.CipherBlockToHex(), upper);
    // The check block holds the decrypted data as text.
    ASSERT_TRUE(sealer.EncryptBlock("key", "hello tester", 0));
    EXPECT_EQ(sealer.CheckBlockText(), "hello tester");
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(sealer.PlainBlock())), "hello tester");
    EXPECT_EQ(sealer.CipherBlockToHex(), sealer.SealText("key", "hello tester", 0));

    EXPECT_FALSE(sealer.EncryptBlock(std::string(17, 'k'), "", 0));
    EXPECT_FALSE(sealer.EncryptBlock("", std::string(17, 'd'), 0));
    EXPECT_FALSE(sealer.EncryptBlock(std::string(34, '0'), "", 1));
    EXPECT_FALSE(sealer.EncryptBlock("0G", "", 1));
    EXPECT_FALSE(sealer.EncryptBlock("", "000", 1));
    // Hex mode seals 32-digit pieces.
    EXPECT_EQ(sealer.SealText("", std::string(64, '0'), 1), kZeroKeyBlock + kZeroKeyBlock);
    EXPECT_EQ(sealer.SealText("", std::string(33, '0'), 1), "");  // odd tail
}

TEST_F(PasswordSealerTest, SharedKeyMatchesPerCallKeyAndLeavesNoPlainText) {
    CSealingKey key("shared");
    ASSERT_TRUE(key.IsValid());
    const std::string text = "a text of more than sixteen bytes";
    const std::string sealed = sealer.SealText(key, text);
    EXPECT_EQ(sealed, sealer.SealText("shared", text, 0));
    // Sealing and unsealing alternate on one key record.
    EXPECT_EQ(sealer.UnsealText(key, sealed), text);
    EXPECT_EQ(sealer.SealText(key, text), sealed);
    for (size_t i = 0; i < 17; ++i) {
        EXPECT_EQ(sealer.PlainBlock()[i], 0);
        EXPECT_EQ(sealer.CheckBlock()[i], 0);
    }
    EXPECT_FALSE(CSealingKey(std::string(17, 'x')).IsValid());
    EXPECT_TRUE(CSealingKey(std::string(32, 'a'), true).IsValid());
    EXPECT_FALSE(CSealingKey("abc", true).IsValid());
}
