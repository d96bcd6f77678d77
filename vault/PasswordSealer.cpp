#include "vault/PasswordSealer.h"

#include <algorithm>
#include <cstring>

#include "vault/HexText.h"
#include "vault/ItemList.h"
#include "vault/SealingKey.h"

namespace {

constexpr std::size_t kSealedPiece = 32;

// Bytes of a block read as text: up to the first zero byte.
std::size_t TextLength(const std::uint8_t* block, std::size_t size) {
    const auto* end = std::find(block, block + size, std::uint8_t{0});
    return static_cast<std::size_t>(end - block);
}

// A digit of stored sealed text, computed in 8 bits as the stored form
// is always upper case; other characters simply give some value.
std::uint8_t StoredDigit(char c) {
    const auto code = static_cast<std::uint8_t>(c);
    return static_cast<std::uint8_t>(code >= 'A' ? code - 'A' + 10 : code - '0');
}

}  // namespace

CPasswordSealer::~CPasswordSealer() {
    explicit_bzero(m_plainBlock.data(), m_plainBlock.size());
    explicit_bzero(m_cipherBlock.data(), m_cipherBlock.size());
    explicit_bzero(m_checkBlock.data(), m_checkBlock.size());
}

bool CPasswordSealer::IsHexText(std::string_view text) { return IsHexDigitText(text); }

void CPasswordSealer::WipePlainBlocks() {
    explicit_bzero(m_plainBlock.data(), m_plainBlock.size());
    explicit_bzero(m_checkBlock.data(), m_checkBlock.size());
}

bool CPasswordSealer::FillPlainBlock(std::string_view piece, bool hexMode) {
    m_plainBlock.fill(0);
    if (hexMode) {
        if (piece.size() > 2 * kBlockSize || !IsHexDigitText(piece)) return false;
        ReadHexBytes(piece, m_plainBlock.data());
    } else {
        if (piece.size() > kBlockSize) return false;
        if (!piece.empty()) std::memcpy(m_plainBlock.data(), piece.data(), piece.size());
    }
    return true;
}

bool CPasswordSealer::EncryptBlock(const std::string& key, const std::string& data, int hexMode) {
    m_plainBlock.fill(0);
    m_checkBlock.fill(0);
    CSealingKey sealingKey(key, hexMode != 0);
    if (!sealingKey.IsValid() || !FillPlainBlock(data, hexMode != 0)) return false;
    return sealingKey.EncryptBlock(m_plainBlock.data(), m_cipherBlock.data()) &&
           sealingKey.DecryptBlock(m_cipherBlock.data(), m_checkBlock.data());
}

std::string CPasswordSealer::CipherBlockToHex() const {
    std::string hex;
    hex.reserve(2 * kBlockSize);
    AppendHexBytes(m_cipherBlock.data(), m_cipherBlock.size(), hex);
    return hex;
}

std::string CPasswordSealer::CheckBlockText() const {
    const auto* bytes = reinterpret_cast<const char*>(m_checkBlock.data());
    return std::string(bytes, TextLength(m_checkBlock.data(), m_checkBlock.size()));
}

std::string CPasswordSealer::SealText(const std::string& key, const std::string& text,
                                      int hexMode) {
    CSealingKey sealingKey(key, hexMode != 0);
    return SealText(sealingKey, text);
}

std::string CPasswordSealer::SealText(CSealingKey& key, std::string_view text) {
    if (!key.IsValid()) return {};
    const bool hexMode = key.IsHexMode();
    const std::size_t pieceLength = hexMode ? 2 * kBlockSize : kBlockSize;
    const std::size_t pieces =
        std::max<std::size_t>(1, (text.size() + pieceLength - 1) / pieceLength);
    std::string sealed;
    sealed.reserve(pieces * kSealedPiece);
    // Pieces are read in place: no copy of the plain text is made.
    std::size_t start = 0;
    bool ok = true;
    do {
        const std::size_t length = std::min(pieceLength, text.size() - start);
        ok = FillPlainBlock(text.substr(start, length), hexMode) &&
             key.EncryptBlock(m_plainBlock.data(), m_cipherBlock.data());
        if (ok) AppendHexBytes(m_cipherBlock.data(), m_cipherBlock.size(), sealed);
        start += length;
    } while (ok && start < text.size());
    WipePlainBlocks();
    if (!ok) return {};
    return sealed;
}

bool CPasswordSealer::DecryptPiece(CSealingKey& key, std::string_view piece) {
    if (piece.size() != kSealedPiece) return false;
    m_plainBlock.fill(0);
    m_cipherBlock.fill(0);
    m_checkBlock.fill(0);
    for (std::size_t i = 0; i < kBlockSize; ++i) {
        m_cipherBlock[i] = static_cast<std::uint8_t>(16 * StoredDigit(piece[2 * i]) +
                                                     StoredDigit(piece[2 * i + 1]));
    }
    return key.DecryptBlock(m_cipherBlock.data(), m_checkBlock.data());
}

std::string CPasswordSealer::DecryptBlockHex(const std::string& piece,
                                             const std::string& password) {
    CSealingKey key(password);
    std::string plain;
    if (DecryptPiece(key, piece)) {
        plain.assign(reinterpret_cast<const char*>(m_checkBlock.data()),
                     TextLength(m_checkBlock.data(), kBlockSize));
    }
    WipePlainBlocks();
    return plain;
}

std::string CPasswordSealer::UnsealText(const std::string& sealed, const std::string& password) {
    CSealingKey key(password);
    return UnsealText(key, sealed);
}

std::string CPasswordSealer::UnsealText(CSealingKey& key, std::string_view sealed) {
    // Room for every piece up front, so the plain text is never moved and
    // no stale copy is left behind in freed memory.
    const std::size_t pieces =
        std::max<std::size_t>(1, (sealed.size() + kSealedPiece - 1) / kSealedPiece);
    std::string plain;
    plain.reserve(pieces * kBlockSize);
    std::size_t start = 0;
    do {
        const std::size_t length = std::min(kSealedPiece, sealed.size() - start);
        if (DecryptPiece(key, sealed.substr(start, length))) {
            plain.append(reinterpret_cast<const char*>(m_checkBlock.data()),
                         TextLength(m_checkBlock.data(), kBlockSize));
        }
        start += length;
    } while (start < sealed.size());
    WipePlainBlocks();
    return plain;
}

bool CPasswordSealer::UnsealPadded(CSealingKey& key, std::string_view sealed, std::string& text,
                                   std::size_t& padding) {
    WipeString(text);
    padding = 0;
    if (sealed.empty() || sealed.size() % kSealedPiece != 0) return false;
    text.reserve(sealed.size() / 2);
    bool ok = true;
    for (std::size_t start = 0; ok && start < sealed.size(); start += kSealedPiece) {
        ok = IsHexDigitText(sealed.substr(start, kSealedPiece)) &&
             DecryptPiece(key, sealed.substr(start, kSealedPiece));
        for (std::size_t i = 0; ok && i < kBlockSize; ++i) {
            const auto byte = static_cast<char>(m_checkBlock[i]);
            if (byte == 0) {
                ++padding;
            } else if (padding != 0) {
                ok = false;  // a zero byte inside the text: not ours
            } else {
                text.push_back(byte);
            }
        }
    }
    WipePlainBlocks();
    if (!ok) {
        WipeString(text);
        padding = 0;
    }
    return ok;
}
