// CBC and one-bit CFB, each checked against a plain reference built from
// single-block ECB calls, and the calls the cipher refuses.

#include <gtest/gtest.h>

#include <climits>
#include <memory>

#include "CipherTestHelpers.h"

using namespace cipher_test;

namespace {

const char kIvHex[] = "000102030405060708090A0B0C0D0E0F";

class TwofishModesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        m_keyBytes = RandomBytes(m_random, 16);
        ScheduleRaw(*m_key, m_keyBytes, DIR_ENCRYPT);
        ScheduleRaw(*m_referenceKey, m_keyBytes, DIR_ENCRYPT);
        cipherInit(&m_ecb, MODE_ECB, nullptr);
    }

    Bytes EcbBlock(const std::uint8_t* block) {
        Bytes out(16);
        blockEncrypt(&m_ecb, m_referenceKey.get(), block, 128, out.data());
        return out;
    }

    Bytes CbcReference(const Bytes& plain) {
        Bytes chain = FromHex(kIvHex);
        Bytes out;
        for (size_t start = 0; start < plain.size(); start += 16) {
            Bytes block(16);
            for (size_t i = 0; i < 16; ++i) block[i] = plain[start + i] ^ chain[i];
            chain = EcbBlock(block.data());
            out.insert(out.end(), chain.begin(), chain.end());
        }
        return out;
    }

    // One-bit CFB, most significant bit first, register shifted left.
    Bytes CfbReference(const Bytes& input, int bits, bool decrypting) {
        Bytes reg = FromHex(kIvHex);
        Bytes out(input.size(), 0);
        for (int n = 0; n < bits; ++n) {
            const int shift = 7 - n % 8;
            const int inBit = (input[static_cast<size_t>(n / 8)] >> shift) & 1;
            const int outBit = inBit ^ (EcbBlock(reg.data())[0] >> 7);
            out[static_cast<size_t>(n / 8)] |= static_cast<std::uint8_t>(outBit << shift);
            const int feedback = decrypting ? inBit : outBit;
            for (size_t i = 0; i < 15; ++i) {
                reg[i] = static_cast<std::uint8_t>((reg[i] << 1) | (reg[i + 1] >> 7));
            }
            reg[15] = static_cast<std::uint8_t>((reg[15] << 1) | feedback);
        }
        return out;
    }

    std::mt19937 m_random{7};
    Bytes m_keyBytes;
    std::unique_ptr<keyInstance> m_key = std::make_unique<keyInstance>();
    std::unique_ptr<keyInstance> m_referenceKey = std::make_unique<keyInstance>();
    cipherInstance m_ecb{};
};

}  // namespace

TEST_F(TwofishModesTest, CbcChainsWithinAndAcrossCalls) {
    const Bytes plain = RandomBytes(m_random, 64);
    const Bytes expected = CbcReference(plain);

    cipherInstance whole{};
    ASSERT_EQ(cipherInit(&whole, MODE_CBC, kIvHex), 1);
    Bytes out(64);
    EXPECT_EQ(blockEncrypt(&whole, m_key.get(), plain.data(), 512, out.data()), 512);
    EXPECT_EQ(out, expected);

    // The chain value left behind by one call starts the next.
    cipherInstance pieces{};
    cipherInit(&pieces, MODE_CBC, kIvHex);
    Bytes split(64);
    blockEncrypt(&pieces, m_key.get(), plain.data(), 128, split.data());
    blockEncrypt(&pieces, m_key.get(), plain.data() + 16, 384, split.data() + 16);
    EXPECT_EQ(split, expected);

    cipherInstance back{};
    cipherInit(&back, MODE_CBC, kIvHex);
    Bytes decrypted(64);
    blockDecrypt(&back, m_key.get(), expected.data(), 256, decrypted.data());
    blockDecrypt(&back, m_key.get(), expected.data() + 32, 256, decrypted.data() + 32);
    EXPECT_EQ(decrypted, plain);
}

TEST_F(TwofishModesTest, Cfb1MatchesTheBitwiseReference) {
    const Bytes plain = RandomBytes(m_random, 5);
    for (int bits : {1, 5, 8, 13, 40}) {
        SCOPED_TRACE(bits);
        cipherInstance cipher{};
        ASSERT_EQ(cipherInit(&cipher, MODE_CFB1, kIvHex), 1);
        Bytes out(plain.size(), 0);
        EXPECT_EQ(blockEncrypt(&cipher, m_key.get(), plain.data(), bits, out.data()), bits);
        EXPECT_EQ(cipher.mode, MODE_CFB1);
        EXPECT_EQ(out, CfbReference(plain, bits, false));

        cipherInstance back{};
        cipherInit(&back, MODE_CFB1, kIvHex);
        Bytes decrypted(plain.size(), 0);
        EXPECT_EQ(blockDecrypt(&back, m_key.get(), out.data(), bits, decrypted.data()), bits);
        EXPECT_EQ(back.mode, MODE_CFB1);
        EXPECT_EQ(decrypted, CfbReference(out, bits, true));
        // The bits processed come back as they were; the rest stay zero.
        Bytes expected = plain;
        for (int n = bits; n < 40; ++n) {
            expected[static_cast<size_t>(n / 8)] &= static_cast<std::uint8_t>(~(0x80u >> n % 8));
        }
        EXPECT_EQ(decrypted, expected);
    }
}

TEST_F(TwofishModesTest, RefusedLengthsAndModesTouchNothing) {
    struct Row {
        std::uint8_t mode;
        int bits;
        int result;
    };
    const Row rows[] = {{MODE_ECB, 8, BAD_INPUT_LEN},    {MODE_ECB, 136, BAD_INPUT_LEN},
                        {MODE_ECB, -128, BAD_INPUT_LEN}, {MODE_ECB, INT_MAX, BAD_INPUT_LEN},
                        {MODE_CBC, 64, BAD_INPUT_LEN},   {MODE_CBC, 200, BAD_INPUT_LEN},
                        {MODE_CFB1, -1, BAD_INPUT_LEN},  {0, 128, BAD_CIPHER_STATE},
                        {7, 256, BAD_CIPHER_STATE}};
    for (const Row& row : rows) {
        for (const bool decrypting : {false, true}) {
            SCOPED_TRACE(testing::Message()
                         << int{row.mode} << " " << row.bits << " " << decrypting);
            cipherInstance cipher{};
            if (cipherInit(&cipher, row.mode, kIvHex) != 1) cipher.mode = row.mode;
            // Buffers of exactly the size asked for, so any stray access shows
            // under the address sanitizer.
            const size_t size =
                row.bits > 0 && row.bits < 1024 ? static_cast<size_t>(row.bits + 7) / 8 : 16;
            const Bytes input(size, 0x5A);
            Bytes out(size, 0xEE);
            const Bytes cipherBefore = Snapshot(cipher);
            const Bytes keyBefore = Snapshot(*m_key);
            const int result =
                decrypting ? blockDecrypt(&cipher, m_key.get(), input.data(), row.bits, out.data())
                           : blockEncrypt(&cipher, m_key.get(), input.data(), row.bits, out.data());
            EXPECT_EQ(result, row.result);
            EXPECT_EQ(out, Bytes(size, 0xEE));
            EXPECT_EQ(Snapshot(cipher), cipherBefore);
            EXPECT_EQ(Snapshot(*m_key), keyBefore);
        }
    }
}
