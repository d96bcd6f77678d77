#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

class CSealingKey;

/// Seals texts into upper-case hexadecimal text and back: each 16-byte
/// piece of a text, zero-padded, encrypted with Twofish (128-bit key, ECB)
/// under the key text's bytes. Owns the three one-block work buffers that
/// the Twofish tester and the About self-test read. Not reentrant.
class CPasswordSealer final {
public:
    static constexpr std::size_t kBlockSize = 16;

    CPasswordSealer() = default;
    ~CPasswordSealer();
    CPasswordSealer(const CPasswordSealer&) = delete;
    CPasswordSealer& operator=(const CPasswordSealer&) = delete;

    /// Encrypts one block from `data` under `key` into the cipher block and
    /// decrypts it again into the check block. `hexMode` 0 reads both as
    /// text (at most 16 bytes), otherwise as hex digits (at most 32).
    bool EncryptBlock(const std::string& key, const std::string& data, int hexMode);
    /// The cipher block as 32 upper-case hex digits.
    std::string CipherBlockToHex() const;
    /// True for even-length texts of the digits 0-9 and A-F in either case.
    static bool IsHexText(std::string_view text);

    /// The sealed text of `text` under `key`, or the empty text on failure.
    std::string SealText(const std::string& key, const std::string& text, int hexMode);
    /// As above with a key scheduled once for many calls.
    std::string SealText(CSealingKey& key, std::string_view text);

    /// The plain text (at most 16 bytes) of one 32-digit piece under
    /// `password`, or the empty text.
    std::string DecryptBlockHex(const std::string& piece, const std::string& password);
    /// The plain text of a sealed text under `password`; bad pieces add nothing.
    std::string UnsealText(const std::string& sealed, const std::string& password);
    /// As above with a key scheduled once for many calls.
    std::string UnsealText(CSealingKey& key, std::string_view sealed);
    /// Unseals `sealed` strictly: true only when it is whole 32-digit pieces
    /// whose plain bytes are a text followed by nothing but zero bytes.
    /// `text` gets the text and `padding` the number of zero bytes after it.
    /// A wrong key passes for a piece about once in 256 tries per padding byte.
    bool UnsealPadded(CSealingKey& key, std::string_view sealed, std::string& text,
                      std::size_t& padding);

    /// The block buffers: 16 bytes each, plain and check followed by a zero byte.
    std::uint8_t* PlainBlock() { return m_plainBlock.data(); }
    std::uint8_t* CipherBlock() { return m_cipherBlock.data(); }
    std::uint8_t* CheckBlock() { return m_checkBlock.data(); }
    const std::uint8_t* PlainBlock() const { return m_plainBlock.data(); }
    const std::uint8_t* CipherBlock() const { return m_cipherBlock.data(); }
    const std::uint8_t* CheckBlock() const { return m_checkBlock.data(); }
    /// The check block read as text: its bytes up to the first zero byte.
    std::string CheckBlockText() const;

private:
    bool FillPlainBlock(std::string_view piece, bool hexMode);
    bool DecryptPiece(CSealingKey& key, std::string_view piece);
    void WipePlainBlocks();

    std::array<std::uint8_t, kBlockSize + 1> m_plainBlock{};
    std::array<std::uint8_t, kBlockSize> m_cipherBlock{};
    std::array<std::uint8_t, kBlockSize + 1> m_checkBlock{};
};
