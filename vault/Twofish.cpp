#include "vault/Twofish.h"

#include <array>
#include <bit>
#include <cstring>
#include <utility>

namespace {

using std::uint32_t;
using std::uint8_t;
using ByteTable = std::array<uint8_t, 256>;
using WordTable = std::array<uint32_t, 256>;

// The four 4-bit tables of each byte permutation.
constexpr uint8_t kQ0Nibbles[4][16] = {
    {0x8, 0x1, 0x7, 0xD, 0x6, 0xF, 0x3, 0x2, 0x0, 0xB, 0x5, 0x9, 0xE, 0xC, 0xA, 0x4},
    {0xE, 0xC, 0xB, 0x8, 0x1, 0x2, 0x3, 0x5, 0xF, 0x4, 0xA, 0x6, 0x7, 0x0, 0x9, 0xD},
    {0xB, 0xA, 0x5, 0xE, 0x6, 0xD, 0x9, 0x0, 0xC, 0x8, 0xF, 0x3, 0x2, 0x4, 0x7, 0x1},
    {0xD, 0x7, 0xF, 0x4, 0x1, 0x2, 0x6, 0xE, 0x9, 0xB, 0x3, 0x0, 0x8, 0x5, 0xC, 0xA}};
constexpr uint8_t kQ1Nibbles[4][16] = {
    {0x2, 0x8, 0xB, 0xD, 0xF, 0x7, 0x6, 0xE, 0x3, 0x1, 0x9, 0x4, 0x0, 0xA, 0xC, 0x5},
    {0x1, 0xE, 0x2, 0xB, 0x4, 0xC, 0x3, 0x7, 0x6, 0xD, 0xA, 0x5, 0xF, 0x9, 0x0, 0x8},
    {0x4, 0xC, 0x7, 0x5, 0x1, 0x6, 0x9, 0xA, 0x0, 0xE, 0xD, 0x8, 0x2, 0xB, 0x3, 0xF},
    {0xB, 0x9, 0x5, 0x1, 0xC, 0x3, 0xD, 0xE, 0x6, 0x4, 0x7, 0xF, 0x2, 0x0, 0x8, 0xA}};

constexpr unsigned Ror4(unsigned nibble) { return ((nibble >> 1) | (nibble << 3)) & 15u; }

constexpr ByteTable MakeQ(const uint8_t (&t)[4][16]) {
    ByteTable q{};
    for (unsigned x = 0; x < 256; ++x) {
        const unsigned a0 = x >> 4;
        const unsigned b0 = x & 15u;
        const unsigned a1 = a0 ^ b0;
        const unsigned b1 = (a0 ^ Ror4(b0) ^ (8u * a0)) & 15u;
        const unsigned a2 = t[0][a1];
        const unsigned b2 = t[1][b1];
        const unsigned a3 = a2 ^ b2;
        const unsigned b3 = (a2 ^ Ror4(b2) ^ (8u * a2)) & 15u;
        const unsigned a4 = t[2][a3];
        const unsigned b4 = t[3][b3];
        q[x] = static_cast<uint8_t>(16u * b4 + a4);
    }
    return q;
}

constexpr ByteTable kQ0 = MakeQ(kQ0Nibbles);
constexpr ByteTable kQ1 = MakeQ(kQ1Nibbles);
static_assert(kQ0[0] == 0xA9 && kQ0[1] == 0x67 && kQ0[2] == 0xB3 && kQ0[3] == 0xE8);
static_assert(kQ1[0] == 0x75 && kQ1[1] == 0xF3 && kQ1[2] == 0xC6 && kQ1[3] == 0xF4);

// Multiplication in GF(2^8) modulo the given field polynomial.
constexpr uint8_t GfMul(unsigned a, unsigned b, unsigned poly) {
    unsigned product = 0;
    while (b != 0) {
        if (b & 1u) product ^= a;
        a <<= 1;
        if (a & 0x100u) a ^= poly;
        b >>= 1;
    }
    return static_cast<uint8_t>(product);
}

constexpr unsigned kMdsPoly = 0x169;
constexpr unsigned kRsPoly = 0x14D;

constexpr uint8_t kMdsMatrix[4][4] = {{0x01, 0xEF, 0x5B, 0x5B},
                                      {0x5B, 0xEF, 0xEF, 0x01},
                                      {0xEF, 0x5B, 0x01, 0xEF},
                                      {0xEF, 0x01, 0xEF, 0x5B}};

constexpr uint8_t kRsMatrix[4][8] = {{0x01, 0xA4, 0x55, 0x87, 0x5A, 0x58, 0xDB, 0x9E},
                                     {0xA4, 0x56, 0x82, 0xF3, 0x1E, 0xC6, 0x68, 0xE5},
                                     {0x02, 0xA1, 0xFC, 0xC1, 0x47, 0xAE, 0x3D, 0x19},
                                     {0xA4, 0x55, 0x87, 0x5A, 0x58, 0xDB, 0x9E, 0x03}};

// The q applied to byte positions 0-3 in the last stage of h, which the
// MDS tables take in.
constexpr const ByteTable* kQOutput[4] = {&kQ1, &kQ0, &kQ1, &kQ0};

// Table s maps a byte b to MDS column s times the last-stage q of byte
// position s applied to b. Computed by the compiler, so every thread sees
// finished tables without any run-time initialisation.
constexpr std::array<WordTable, 4> MakeMdsTables() {
    std::array<WordTable, 4> tables{};
    for (unsigned s = 0; s < 4; ++s) {
        for (unsigned b = 0; b < 256; ++b) {
            const unsigned y = (*kQOutput[s])[b];
            uint32_t word = 0;
            for (unsigned row = 0; row < 4; ++row) {
                word |= static_cast<uint32_t>(GfMul(kMdsMatrix[row][s], y, kMdsPoly)) << (8 * row);
            }
            tables[s][b] = word;
        }
    }
    return tables;
}

constexpr std::array<WordTable, 4> kMds = MakeMdsTables();

// Table c maps a byte to column c of the Reed-Solomon matrix times it, so
// an S-box key word is eight lookups.
constexpr std::array<WordTable, 8> MakeRsTables() {
    std::array<WordTable, 8> tables{};
    for (unsigned column = 0; column < 8; ++column) {
        for (unsigned b = 0; b < 256; ++b) {
            uint32_t word = 0;
            for (unsigned row = 0; row < 4; ++row) {
                word |= static_cast<uint32_t>(GfMul(kRsMatrix[row][column], b, kRsPoly))
                        << (8 * row);
            }
            tables[column][b] = word;
        }
    }
    return tables;
}

constexpr std::array<WordTable, 8> kRs = MakeRsTables();

constexpr uint8_t ByteOf(uint32_t word, unsigned index) {
    return static_cast<uint8_t>(word >> (8 * index));
}

uint32_t LoadLe(const uint8_t* bytes) {
    return static_cast<uint32_t>(bytes[0]) | (static_cast<uint32_t>(bytes[1]) << 8) |
           (static_cast<uint32_t>(bytes[2]) << 16) | (static_cast<uint32_t>(bytes[3]) << 24);
}

void StoreLe(uint32_t word, uint8_t* bytes) {
    bytes[0] = ByteOf(word, 0);
    bytes[1] = ByteOf(word, 1);
    bytes[2] = ByteOf(word, 2);
    bytes[3] = ByteOf(word, 3);
}

// The stages of h before the MDS tables for a key word list of `Halves`
// words: byte position s of the input goes through the q chain of that
// position, XOR-ed with byte s of each list word. The last q is left to
// the MDS tables.
template <int Halves>
inline void HStages(uint32_t& y0, uint32_t& y1, uint32_t& y2, uint32_t& y3, const uint32_t* list) {
    if constexpr (Halves == 4) {
        y0 = kQ1[y0] ^ ByteOf(list[3], 0);
        y1 = kQ0[y1] ^ ByteOf(list[3], 1);
        y2 = kQ0[y2] ^ ByteOf(list[3], 2);
        y3 = kQ1[y3] ^ ByteOf(list[3], 3);
    }
    if constexpr (Halves >= 3) {
        y0 = kQ1[y0] ^ ByteOf(list[2], 0);
        y1 = kQ1[y1] ^ ByteOf(list[2], 1);
        y2 = kQ0[y2] ^ ByteOf(list[2], 2);
        y3 = kQ0[y3] ^ ByteOf(list[2], 3);
    }
    y0 = kQ0[kQ0[y0] ^ ByteOf(list[1], 0)] ^ ByteOf(list[0], 0);
    y1 = kQ0[kQ1[y1] ^ ByteOf(list[1], 1)] ^ ByteOf(list[0], 1);
    y2 = kQ1[kQ0[y2] ^ ByteOf(list[1], 2)] ^ ByteOf(list[0], 2);
    y3 = kQ1[kQ1[y3] ^ ByteOf(list[1], 3)] ^ ByteOf(list[0], 3);
}

// h of the key schedule for the byte x repeated four times.
template <int Halves>
inline uint32_t HFunction(uint32_t x, const uint32_t* list) {
    uint32_t y0 = x, y1 = x, y2 = x, y3 = x;
    HStages<Halves>(y0, y1, y2, y3, list);
    return (kMds[0][y0] ^ kMds[1][y1]) ^ (kMds[2][y2] ^ kMds[3][y3]);
}

// One S-box key word: the Reed-Solomon code of the eight bytes of a key half.
uint32_t ReedSolomon(uint32_t even, uint32_t odd) {
    return (kRs[0][ByteOf(even, 0)] ^ kRs[1][ByteOf(even, 1)]) ^
           (kRs[2][ByteOf(even, 2)] ^ kRs[3][ByteOf(even, 3)]) ^
           (kRs[4][ByteOf(odd, 0)] ^ kRs[5][ByteOf(odd, 1)]) ^
           (kRs[6][ByteOf(odd, 2)] ^ kRs[7][ByteOf(odd, 3)]);
}

// Subkeys and fused S-box tables for a key of `Halves` 64-bit halves.
template <int Halves>
void ScheduleHalves(keyInstance* key, const uint32_t* even, const uint32_t* odd) {
    // Round pairs go straight to their place for the record's direction.
    const bool encrypting = key->direction == DIR_ENCRYPT;
    for (uint32_t i = 0; i < 20; ++i) {
        const uint32_t a = HFunction<Halves>(2 * i, even);
        const uint32_t b = std::rotl(HFunction<Halves>(2 * i + 1, odd), 8);
        uint32_t slot = 2 * i;
        if (i >= 4 && !encrypting) slot = 8 + 2 * (15 - (i - 4));
        key->subKeys[slot] = a + b;
        key->subKeys[slot + 1] = std::rotl(a + 2 * b, 9);
    }
    const uint32_t* sboxKeys = key->sboxKeys;
    for (uint32_t b = 0; b < 256; ++b) {
        uint32_t y0 = b, y1 = b, y2 = b, y3 = b;
        HStages<Halves>(y0, y1, y2, y3, sboxKeys);
        key->sBox8x32[0][b] = kMds[0][y0];
        key->sBox8x32[1][b] = kMds[1][y1];
        key->sBox8x32[2][b] = kMds[2][y2];
        key->sBox8x32[3][b] = kMds[3][y3];
    }
}

// Round-subkey pairs are kept so that both block loops walk them upwards:
// in encryption order pair p serves round p, in decryption order pair p
// serves round 15 - p.
void ReverseRoundSubkeys(keyInstance* key, uint8_t newDirection) {
    uint32_t* rounds = key->subKeys + 8;
    for (int pair = 0; pair < 8; ++pair) {
        const int mirror = 15 - pair;
        std::swap(rounds[2 * pair], rounds[2 * mirror]);
        std::swap(rounds[2 * pair + 1], rounds[2 * mirror + 1]);
    }
    key->direction = newDirection;
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Reads bits/4 hex digits into words, two digits per byte with the high
// nibble first and bytes filling the words little-endian. Each character
// examined is first copied to `copy` when given. Stops at the first
// character that is not a digit, the terminator included.
bool ParseHexWords(int bits, uint32_t* words, const char* text, char* copy) {
    for (int i = 0; i < bits / 32; ++i) words[i] = 0;
    for (int i = 0; i < bits / 4; ++i) {
        const char c = text[i];
        if (copy) copy[i] = c;
        const int value = HexValue(c);
        if (value < 0) return false;
        words[i / 8] |= static_cast<uint32_t>(value) << (4 * ((i ^ 1) % 8));
    }
    return true;
}

// g of the round function on a word, and on the word rotated left by 8.
// The byte indices are taken from a 64-bit copy: GCC then reads byte 1
// straight from the high-byte register instead of adding a zero-extending
// move after it, which is one cycle off every round's critical path.
inline uint32_t G0(const uint32_t (*s)[256], uint32_t word) {
    const std::uint64_t x = word;
    return (s[0][x & 0xFF] ^ s[1][(x >> 8) & 0xFF]) ^ (s[2][(x >> 16) & 0xFF] ^ s[3][x >> 24]);
}
inline uint32_t G1(const uint32_t (*s)[256], uint32_t word) {
    const std::uint64_t x = word;
    return (s[0][x >> 24] ^ s[1][x & 0xFF]) ^ (s[2][(x >> 8) & 0xFF] ^ s[3][(x >> 16) & 0xFF]);
}

// The four words of a block between the whitening steps.
struct BlockWords {
    uint32_t w0, w1, w2, w3;
};

// Input whitening, the 16 rounds and output whitening on one block, with
// the round subkeys in encryption order. Two rounds per step, so the
// halves never need swapping.
inline BlockWords EncryptWords(const keyInstance* key, BlockWords in) {
    const uint32_t(*s)[256] = key->sBox8x32;
    const uint32_t* k = key->subKeys;
    uint32_t x0 = in.w0 ^ k[0];
    uint32_t x1 = in.w1 ^ k[1];
    uint32_t x2 = in.w2 ^ k[2];
    uint32_t x3 = in.w3 ^ k[3];
    const uint32_t* round = k + 8;
#pragma GCC unroll 8
    for (int step = 0; step < 8; ++step, round += 4) {
        uint32_t t0 = G0(s, x0);
        uint32_t t1 = G1(s, x1);
        x2 = std::rotr(x2 ^ (t1 + (t0 + round[0])), 1);
        x3 = std::rotl(x3, 1) ^ (2 * t1 + (t0 + round[1]));
        t0 = G0(s, x2);
        t1 = G1(s, x3);
        x0 = std::rotr(x0 ^ (t1 + (t0 + round[2])), 1);
        x1 = std::rotl(x1, 1) ^ (2 * t1 + (t0 + round[3]));
    }
    return {x2 ^ k[4], x3 ^ k[5], x0 ^ k[6], x1 ^ k[7]};
}

// The inverse of EncryptWords, with the round subkeys in decryption order.
inline BlockWords DecryptWords(const keyInstance* key, BlockWords in) {
    const uint32_t(*s)[256] = key->sBox8x32;
    const uint32_t* k = key->subKeys;
    uint32_t x2 = in.w0 ^ k[4];
    uint32_t x3 = in.w1 ^ k[5];
    uint32_t x0 = in.w2 ^ k[6];
    uint32_t x1 = in.w3 ^ k[7];
    const uint32_t* round = k + 8;
#pragma GCC unroll 8
    for (int step = 0; step < 8; ++step, round += 4) {
        uint32_t t0 = G0(s, x2);
        uint32_t t1 = G1(s, x3);
        x0 = std::rotl(x0, 1) ^ (t1 + (t0 + round[0]));
        x1 = std::rotr(x1 ^ (2 * t1 + (t0 + round[1])), 1);
        t0 = G0(s, x0);
        t1 = G1(s, x1);
        x2 = std::rotl(x2, 1) ^ (t1 + (t0 + round[2]));
        x3 = std::rotr(x3 ^ (2 * t1 + (t0 + round[3])), 1);
    }
    return {x0 ^ k[0], x1 ^ k[1], x2 ^ k[2], x3 ^ k[3]};
}

inline BlockWords LoadBlock(const uint8_t* bytes) {
    return {LoadLe(bytes), LoadLe(bytes + 4), LoadLe(bytes + 8), LoadLe(bytes + 12)};
}

inline void StoreBlock(const BlockWords& block, uint8_t* bytes) {
    StoreLe(block.w0, bytes);
    StoreLe(block.w1, bytes + 4);
    StoreLe(block.w2, bytes + 8);
    StoreLe(block.w3, bytes + 12);
}

// One-bit cipher feedback over `bits` bits, the register in cipher->IV.
int Cfb1(cipherInstance* cipher, keyInstance* key, const uint8_t* input, int bits,
         uint8_t* outBuffer, bool decrypting) {
    cipher->mode = MODE_ECB;
    uint8_t stream[16];
    for (int n = 0; n < bits; ++n) {
        blockEncrypt(cipher, key, cipher->IV, 128, stream);
        const unsigned keyBit = stream[0] >> 7;
        const int index = n / 8;
        const unsigned shift = 7u - static_cast<unsigned>(n % 8);
        const unsigned inBit = (static_cast<unsigned>(input[index]) >> shift) & 1u;
        const unsigned outBit = inBit ^ keyBit;
        outBuffer[index] =
            static_cast<uint8_t>((outBuffer[index] & ~(1u << shift)) | (outBit << shift));
        const unsigned feedback = decrypting ? inBit : outBit;
        for (int i = 0; i < 15; ++i) {
            cipher->IV[i] = static_cast<uint8_t>((cipher->IV[i] << 1) | (cipher->IV[i + 1] >> 7));
        }
        cipher->IV[15] =
            static_cast<uint8_t>((static_cast<unsigned>(cipher->IV[15]) << 1) | feedback);
    }
    explicit_bzero(stream, sizeof stream);
    cipher->mode = MODE_CFB1;
    return bits;
}

// The result a block operation gives up with before touching anything, or
// 0 when its mode and length are usable: one-bit feedback takes any count
// of bits, ECB and CBC whole blocks only.
int CheckBlockCall(const cipherInstance* cipher, int inputLen) {
    const uint8_t mode = cipher->mode;
    if (mode != MODE_ECB && mode != MODE_CBC && mode != MODE_CFB1) return BAD_CIPHER_STATE;
    if (inputLen < 0 || (mode != MODE_CFB1 && inputLen % 128 != 0)) return BAD_INPUT_LEN;
    return 0;
}

}  // namespace

int makeKey(keyInstance* key, uint8_t direction, int keyLen, const char* keyMaterial) {
    if (key == nullptr) return BAD_KEY_INSTANCE;
    if (direction != DIR_ENCRYPT && direction != DIR_DECRYPT) return BAD_KEY_DIR;
    // Only lengths that round up to 128, 192 or 256 bits can be scheduled;
    // checked before any arithmetic, so no length can overflow.
    if (keyLen <= 64 || keyLen > 256) return BAD_KEY_MAT;
    const int rounded = (keyLen + 63) / 64 * 64;
    key->direction = direction;
    key->keyLen = rounded;
    key->numRounds = 16;  // every usable length has sixteen rounds
    for (uint32_t& word : key->key32) word = 0;
    key->keyMaterial[64] = '\0';
    if (keyMaterial == nullptr || keyMaterial[0] == '\0') return 1;
    if (!ParseHexWords(rounded, key->key32, keyMaterial, key->keyMaterial)) return BAD_KEY_MAT;
    return reKey(key);
}

int cipherInit(cipherInstance* cipher, uint8_t mode, const char* IV) {
    if (cipher == nullptr) return BAD_CIPHER_STATE;
    if (mode != MODE_ECB && mode != MODE_CBC && mode != MODE_CFB1) return BAD_CIPHER_MODE;
    // The IV is read into a copy first, so a bad text leaves the record's
    // chain value and register as they were.
    if (mode != MODE_ECB && IV != nullptr) {
        uint32_t words[4];
        if (!ParseHexWords(128, words, IV, nullptr)) return BAD_IV_MAT;
        for (unsigned i = 0; i < 4; ++i) {
            cipher->iv32[i] = words[i];
            StoreLe(words[i], cipher->IV + 4 * i);
        }
    }
    cipher->mode = mode;
    return 1;
}

int reKey(keyInstance* key) {
    if (key == nullptr) return BAD_KEY_INSTANCE;
    const int halves = key->keyLen / 64;
    if (key->keyLen % 64 != 0 || halves < 2 || halves > 4) return BAD_KEY_INSTANCE;

    uint32_t even[4] = {};
    uint32_t odd[4] = {};
    for (int i = 0; i < halves; ++i) {
        even[i] = key->key32[2 * i];
        odd[i] = key->key32[2 * i + 1];
        key->sboxKeys[halves - 1 - i] = ReedSolomon(even[i], odd[i]);
    }
    for (int i = halves; i < 4; ++i) key->sboxKeys[i] = 0;
    if (halves == 2) {
        ScheduleHalves<2>(key, even, odd);
    } else if (halves == 3) {
        ScheduleHalves<3>(key, even, odd);
    } else {
        ScheduleHalves<4>(key, even, odd);
    }
    if (key->direction != DIR_ENCRYPT) key->direction = DIR_DECRYPT;

    explicit_bzero(even, sizeof even);
    explicit_bzero(odd, sizeof odd);
    return 1;
}

int blockEncrypt(cipherInstance* cipher, keyInstance* key, const uint8_t* input, int inputLen,
                 uint8_t* outBuffer) {
    // The program's only use: one block in ECB with the key already in
    // encryption order. Kept apart so it pays for no mode or length logic.
    if (inputLen == 128 && cipher->mode == MODE_ECB && key->direction == DIR_ENCRYPT) {
        StoreBlock(EncryptWords(key, LoadBlock(input)), outBuffer);
        return inputLen;
    }
    if (const int error = CheckBlockCall(cipher, inputLen); error != 0) return error;
    if (cipher->mode == MODE_CFB1) return Cfb1(cipher, key, input, inputLen, outBuffer, false);
    if (key->direction != DIR_ENCRYPT) ReverseRoundSubkeys(key, DIR_ENCRYPT);

    const bool chained = cipher->mode == MODE_CBC;
    BlockWords chain{};
    if (chained) chain = {cipher->iv32[0], cipher->iv32[1], cipher->iv32[2], cipher->iv32[3]};
    for (int done = 0; done < inputLen; done += 128, input += 16, outBuffer += 16) {
        BlockWords block = LoadBlock(input);
        if (chained) {
            block.w0 ^= chain.w0;
            block.w1 ^= chain.w1;
            block.w2 ^= chain.w2;
            block.w3 ^= chain.w3;
        }
        block = EncryptWords(key, block);
        StoreBlock(block, outBuffer);
        chain = block;
    }
    if (chained) {
        cipher->iv32[0] = chain.w0;
        cipher->iv32[1] = chain.w1;
        cipher->iv32[2] = chain.w2;
        cipher->iv32[3] = chain.w3;
    }
    return inputLen;
}

int blockDecrypt(cipherInstance* cipher, keyInstance* key, const uint8_t* input, int inputLen,
                 uint8_t* outBuffer) {
    if (inputLen == 128 && cipher->mode == MODE_ECB && key->direction == DIR_DECRYPT) {
        StoreBlock(DecryptWords(key, LoadBlock(input)), outBuffer);
        return inputLen;
    }
    if (const int error = CheckBlockCall(cipher, inputLen); error != 0) return error;
    // One-bit feedback only ever encrypts the register, so it leaves the
    // record in encryption order.
    if (cipher->mode == MODE_CFB1) return Cfb1(cipher, key, input, inputLen, outBuffer, true);
    if (key->direction != DIR_DECRYPT) ReverseRoundSubkeys(key, DIR_DECRYPT);

    const bool chained = cipher->mode == MODE_CBC;
    BlockWords chain{};
    if (chained) chain = {cipher->iv32[0], cipher->iv32[1], cipher->iv32[2], cipher->iv32[3]};
    for (int done = 0; done < inputLen; done += 128, input += 16, outBuffer += 16) {
        const BlockWords cipherBlock = LoadBlock(input);
        BlockWords block = DecryptWords(key, cipherBlock);
        if (chained) {
            block.w0 ^= chain.w0;
            block.w1 ^= chain.w1;
            block.w2 ^= chain.w2;
            block.w3 ^= chain.w3;
            chain = cipherBlock;
        }
        StoreBlock(block, outBuffer);
    }
    if (chained) {
        cipher->iv32[0] = chain.w0;
        cipher->iv32[1] = chain.w1;
        cipher->iv32[2] = chain.w2;
        cipher->iv32[3] = chain.w3;
    }
    return inputLen;
}

int CipherSelfTest(uint8_t* plain, uint8_t* cipherText, uint8_t* check) {
    keyInstance key;
    cipherInstance cipher;
    int result = 1;
    if (makeKey(&key, DIR_ENCRYPT, 128, nullptr) == 1 &&
        cipherInit(&cipher, MODE_ECB, nullptr) == 1) {
        for (uint32_t& word : key.key32) word = 0;
        reKey(&key);
        std::memset(plain, 0, 16);
        if (blockEncrypt(&cipher, &key, plain, 128, cipherText) == 128 &&
            blockDecrypt(&cipher, &key, cipherText, 128, check) == 128 &&
            std::memcmp(check, plain, 16) == 0) {
            result = 0;
        }
    }
    explicit_bzero(&key, sizeof key);
    explicit_bzero(&cipher, sizeof cipher);
    return result;
}
